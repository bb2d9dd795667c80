// Preparing the screen once at start-up, and the 16-colour palettes.
#pragma once
#include "console/surface.h"
#include <cstdint>

// The host's own palette as found at start-up, put back at shutdown.
extern uint32_t savedPalette[16];

// Creates the back buffer and gives the window its title. 1 when ready.
int initConsole(BackBuffer **out);
// Remembers the host's palette as `savedPalette`.
void probeConsole();
void setConsolePalette(const uint32_t palette[16]);
// Sets the window title (the editor shows the mouse position in it).
void setWindowTitle(const char *title);
