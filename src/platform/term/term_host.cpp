#include "platform/hosts.h"

Host *createTermHost(std::string &error) {
    error = "the terminal host is not part of this build yet; use --host=sdl or --host=headless";
    return nullptr;
}
