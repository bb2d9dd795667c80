// The hosts this build can run on. Each returns null with a reason when it
// cannot start here (no display, no terminal).
#pragma once
#include "platform/host.h"
#include <string>

Host *createSdlHost(std::string &error);
Host *createTermHost(std::string &error);
Host *createWin32Host(std::string &error);
// Only in the browser build (web/), which runs nowhere else.
Host *createWebHost(std::string &error);
// Whether a display is present for the window host.
bool displayAvailable();
// Whether standard output is a terminal (on Windows: a console).
bool outputIsTerminal();
// The host that plays in this system's terminal: "term", or "win32" on Windows.
const char *terminalHostName();
