#include "frontend/menu.h"
#include "console/console_setup.h"
#include "console/surface_files.h"
#include "input/keyboard.h"
#include "sound/sound.h"
#include "world/high_score.h"

const uint32_t menuPaletteA[16] = {0x000000, 0x800000, 0x455125, 0x808000, 0x000080, 0xFFFFFF,
                                   0x0683FF, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                   0x0000FF, 0x0683FF, 0x00FFFF, 0xFFFFFF};
const uint32_t menuPaletteB[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x0683FF,
                                   0x0683FF, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                   0x0000FF, 0xFFFFFF, 0x00FFFF, 0xFFFFFF};

Surface *menuPicture = nullptr;
uint32_t menuReturnTime = 0;
int32_t showCredits = 1;
int32_t pageFrames = 0;
Stopwatch attractTimer;

enum Interlude { INTERLUDE_NONE, INTERLUDE_START_GAME, INTERLUDE_FAREWELL };

int menuKeyGuard() {
    return timeGetTime() - pausedTotal - menuReturnTime > MENU_KEY_GUARD_MS;
}

int32_t Menu_Load(ScreenState *state) {
    state->previous = state->current;
    if (skipMenu) {
        state->current = STATE_GAME;
        return 0;
    }
    menuPicture = loadSurfaceFile("data\\surfaces\\Menu\\Menu.srf");
    if (!menuPicture)
        return 0;
    blitSurface(menuPicture, 0, 0);
    presentScreen();
    state->previous = state->current;
    return 1;
}

void Menu_Unload() {
    setConsolePalette(standardPalette);
    freeSurface(menuPicture);
    menuPicture = nullptr;
}

// One pass of the menu: the keys, the blink and the idle timer.
static void menuPass(ScreenState *state, Interlude &interlude, int &paletteIndex,
                     uint32_t &lastSwap) {
    pumpConsoleInput();
    pollKeyboard();
    if (keyReleased(VK_RETURN) && menuKeyGuard()) {
        interlude = INTERLUDE_START_GAME;
        setConsolePalette(menuPaletteA);
        state->current = STATE_GAME;
    }
    // Ctrl+E acts while held, without a release and without the guard.
    if (keyHeld('E') && keyHeld(VK_CONTROL)) {
        state->current = STATE_EDITOR;
    } else if (keyReleased('S') && menuKeyGuard()) {
        state->current = STATE_ATTRACT;
        showCredits = 0;
        pageFrames = 0;
    } else if (keyReleased('C') && menuKeyGuard()) {
        state->current = STATE_ATTRACT;
        showCredits = 1;
        pageFrames = 0;
    }
    volumeKeys();
    if (keyReleased(VK_ESCAPE) && menuKeyGuard()) {
        interlude = INTERLUDE_FAREWELL;
        setConsolePalette(menuPaletteB);
        state->current = STATE_EXIT;
    }
    if (anyKeyDown)
        attractTimer.started = 0;
    const uint32_t now = timeGetTime();
    if (now - lastSwap >= MENU_BLINK_MS) {
        // The first swap puts palette A up again: the blink shows after two seconds.
        setConsolePalette(paletteIndex == 0 ? menuPaletteA : menuPaletteB);
        paletteIndex ^= 1;
        lastSwap = now;
    }
    if (stopwatchExpired(&attractTimer, MENU_IDLE_MS)) {
        state->current = STATE_ATTRACT;
        setConsolePalette(standardPalette);
    }
    if (state->current == STATE_ATTRACT)
        loadEndPictures();
}

void Menu_Run(ScreenState *state) {
    Surface *figure = loadSurfaceFile("data\\surfaces\\Menu\\PimnBox2.srf");
    blitSurface(figure, BOX_FIGURE_X, BOX_FIGURE_Y);
    presentScreen();
    freeSurface(figure);
    setConsolePalette(menuPaletteA);
    attractTimer.started = 0;

    Interlude interlude = INTERLUDE_NONE;
    int paletteIndex = 0;
    uint32_t lastSwap = timeGetTime();
    while (state->previous == state->current) {
        menuPass(state, interlude, paletteIndex, lastSwap);
        // Nothing moves on the menu between blinks: the pass gives the
        // processor back instead of polling flat out.
        if (state->previous == state->current)
            idleFor(MENU_PASS_IDLE_MS);
    }
    if (interlude == INTERLUDE_START_GAME)
        Menu_StartGameInterlude();
    else if (interlude == INTERLUDE_FAREWELL)
        Menu_FarewellInterlude();
}
