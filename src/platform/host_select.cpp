#include "platform/hosts.h"
#include <cstdlib>
#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#ifdef _WIN32
// The console is the Windows program's only screen.
bool displayAvailable() {
    return false;
}

bool outputIsTerminal() {
    DWORD mode;
    return GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
}

const char *terminalHostName() {
    return "win32";
}

Host *createSdlHost(std::string &error) {
    error = "the Windows build has no window host: it plays in the console (--host=win32)";
    return nullptr;
}

Host *createTermHost(std::string &error) {
    error = "the Windows build plays in the console (--host=win32), not through --host=term";
    return nullptr;
}
#else
bool displayAvailable() {
    const char *x = getenv("DISPLAY");
    const char *wayland = getenv("WAYLAND_DISPLAY");
    return (x && *x) || (wayland && *wayland);
}

bool outputIsTerminal() {
    return isatty(STDOUT_FILENO) && isatty(STDIN_FILENO);
}

const char *terminalHostName() {
    return "term";
}

Host *createWin32Host(std::string &error) {
    error = "the Windows console host is only in the Windows build (make windows)";
    return nullptr;
}

#ifdef __EMSCRIPTEN__
Host *createTermHost(std::string &error) {
    error = "a web page has no terminal";
    return nullptr;
}
#endif
#endif

#ifndef __EMSCRIPTEN__
Host *createWebHost(std::string &error) {
    error = "the web host runs only in the browser build (make web)";
    return nullptr;
}
#endif

#if !defined(WOBBLE_HAVE_SDL) && !defined(_WIN32)
Host *createSdlHost(std::string &error) {
    error = "this build has no window host (SDL2 was not found when it was built)";
    return nullptr;
}
#endif
