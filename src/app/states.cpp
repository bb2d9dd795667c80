#include "app/states.h"
#include "app/startup.h"
#include "editor/editor.h"
#include "frontend/menu.h"
#include "frontend/splash.h"
#include "input/keyboard.h"
#include "sound/sound.h"
#include "world/play_loop.h"
#include <cstdio>
#include <cstring>

void (*menuHook)(ScreenState *state);
void (*attractHook)(ScreenState *state);
void (*exitHook)(ScreenState *state);

ScreenState screenState;
int32_t exitCodeOverride;

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

int runStates() {
    ScreenState &state = screenState;
    state.previous = STATE_INIT;
    state.current = STATE_INIT;
    exitCodeOverride = 0;
    int32_t shown = -1;
    for (;;) {
        // No key pressed on one screen acts on the next. (The credits screen
        // comes back here after every pass: only a change counts.)
        if (state.current != shown)
            settleKeys();
        shown = state.current;
        switch (state.current) {
        case STATE_INIT:
            if (!startUp(&state))
                return 1;
            break;
        case STATE_SPLASH:
            Splash_Run(&state);
            break;
        case STATE_MENU:
            if (Menu_Load(&state)) {
                if (menuHook)
                    menuHook(&state);
                Menu_Unload();
            } else if (state.current == STATE_MENU) {
                // Without its picture the menu would be tried again and again
                // for ever: say so and leave with a failure code instead.
                fprintf(stderr, "wobblewick: the main menu cannot be shown without its picture "
                                "data/surfaces/Menu/Menu.srf; leaving.\n");
                exitCodeOverride = 1;
                state.current = STATE_EXIT;
            }
            break;
        case STATE_GAME:
            playMusic("Mystery");
            playLoop(&state);
            break;
        case STATE_EXIT:
            if (exitHook)
                exitHook(&state);
            shutDown();
            return exitCodeOverride;
        case STATE_ATTRACT:
            if (attractHook)
                attractHook(&state);
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
