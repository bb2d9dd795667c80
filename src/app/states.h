// The top-level screen state machine.
#pragma once
#include "frontend/screen_state.h"
#include <cstdint>

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
