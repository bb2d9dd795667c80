// The screen the program is on, and the start-up switches the screens read.
#pragma once
#include <cstdint>

struct ScreenState {
    int32_t previous;
    int32_t current;
};

enum : int32_t {
    STATE_SPLASH = 0,
    STATE_INIT = 1,
    STATE_MENU = 2,
    STATE_GAME = 3,
    STATE_EXIT = 5,
    STATE_ATTRACT = 6,
    STATE_EDITOR = 7,
};

// Switch flags, 0 or 1.
extern int32_t soundOff;
extern int32_t skipMenu;
extern int32_t skipSplash;
