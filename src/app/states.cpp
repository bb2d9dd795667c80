#include "app/states.h"
#include "app/startup.h"
#include "editor/editor.h"
#include "sound/sound.h"
#include "world/play_loop.h"
#include <cstdio>
#include <cstring>

int32_t soundOff;
int32_t skipMenu;
int32_t skipSplash;

void (*menuHook)(ScreenState *state);
void (*attractHook)(ScreenState *state);
void (*exitHook)(ScreenState *state);

ScreenState screenState;

int hasSwitch(char **argv, const char *text) {
    for (char **arg = argv; *arg; arg++)
        if (strcmp(*arg, text) == 0)
            return 1;
    return 0;
}

void clearSwitches() {
    soundOff = 0;
    skipMenu = 0;
    skipSplash = 0;
}

void parseSwitches(char **argv) {
    if (hasSwitch(argv, "-soundoff"))
        soundOff = 1;
    else if (hasSwitch(argv, "-nosound"))
        soundOff = 1;
    if (hasSwitch(argv, "-skipmenu"))
        skipMenu = 1;
    if (hasSwitch(argv, "-skipsplash"))
        skipSplash = 1;
    if (hasSwitch(argv, "-skiptogame")) {
        skipMenu = 1;
        skipSplash = 1;
    }
}

// A screen that this build does not have yet ends the program cleanly
// instead of pretending to be there.
static void screenNotBuilt(ScreenState *state, const char *name) {
    fprintf(stderr, "wobblewick: %s is not built yet; leaving.\n", name);
    state->previous = state->current;
    state->current = STATE_EXIT;
}

int runStates() {
    ScreenState &state = screenState;
    state.previous = STATE_INIT;
    state.current = STATE_INIT;
    for (;;) {
        switch (state.current) {
        case STATE_INIT:
            if (!startUp(&state))
                return 1;
            break;
        case STATE_SPLASH:
            state.previous = state.current;
            if (skipSplash)
                state.current = STATE_MENU;
            else
                screenNotBuilt(&state, "the splash screen");
            break;
        case STATE_MENU:
            state.previous = state.current;
            if (skipMenu)
                state.current = STATE_GAME;
            else
                screenNotBuilt(&state, "the main menu");
            break;
        case STATE_GAME:
            playMusic("Mystery");
            playLoop(&state);
            break;
        case STATE_EXIT:
            if (exitHook)
                exitHook(&state);
            shutDown();
            return 0;
        case STATE_ATTRACT:
            if (attractHook)
                attractHook(&state);
            else
                screenNotBuilt(&state, "the credits and high-score screen");
            break;
        case STATE_EDITOR:
            runEditor(&state);
            break;
        default:
            // No screen ever sets another value; leave rather than spin.
            fprintf(stderr, "wobblewick: unknown screen state %d\n", state.current);
            return 1;
        }
    }
}
