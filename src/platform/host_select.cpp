#include "platform/hosts.h"
#include <cstdlib>
#include <unistd.h>

bool displayAvailable() {
    const char *x = getenv("DISPLAY");
    const char *wayland = getenv("WAYLAND_DISPLAY");
    return (x && *x) || (wayland && *wayland);
}

bool outputIsTerminal() {
    return isatty(STDOUT_FILENO) && isatty(STDIN_FILENO);
}

#ifdef __EMSCRIPTEN__
Host *createTermHost(std::string &error) {
    error = "a web page has no terminal";
    return nullptr;
}
#else
Host *createWebHost(std::string &error) {
    error = "the web host runs only in the browser build (make web)";
    return nullptr;
}
#endif

#ifndef WOBBLE_HAVE_SDL
Host *createSdlHost(std::string &error) {
    error = "this build has no window host (SDL2 was not found when it was built)";
    return nullptr;
}
#endif
