// The top-level screen state machine.
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

extern void (*menuHook)(ScreenState *state);
extern void (*attractHook)(ScreenState *state);
extern void (*exitHook)(ScreenState *state);

// The state record of the running program (the exit path reads it).
extern ScreenState screenState;
// The exit state's code: 0, or 1 when the program leaves because the menu
// picture is missing.
extern int32_t exitCodeOverride;

int hasSwitch(char **argv, const char *text);
void parseSwitches(char **argv);
void clearSwitches();
int runStates();
