#include "frontend/splash.h"
#include "console/console_setup.h"
#include "console/surface_files.h"
#include "input/timers.h"

// Every fade palette is black at 0, red of two strengths at 4 and 12, and one
// grey everywhere else; the title is drawn for exactly that.
static constexpr Palette fade(uint32_t grey, uint32_t darkRed, uint32_t red) {
    Palette p{};
    for (int i = 1; i < 16; i++)
        p[i] = grey * 0x010101u;
    p[4] = darkRed;
    p[12] = red;
    return p;
}

const Palette blackPalette = {};

// The grey of the first two steps is the same; step 14 already has the
// final reds.
const Palette fadePalette[FADE_STEPS] = {
    fade(0x22, 0x09, 0x12), fade(0x22, 0x12, 0x24), fade(0x33, 0x1B, 0x36), fade(0x44, 0x24, 0x48),
    fade(0x55, 0x2D, 0x5A), fade(0x66, 0x36, 0x6C), fade(0x77, 0x3F, 0x7E), fade(0x88, 0x48, 0x90),
    fade(0x99, 0x51, 0xA2), fade(0xAA, 0x5A, 0xB4), fade(0xBB, 0x63, 0xC6), fade(0xCC, 0x6C, 0xD8),
    fade(0xDD, 0x75, 0xEA), fade(0xEE, 0x80, 0xFF),
};
const Palette titlePalette = fade(0xFF, 0x80, 0xFF);

void Splash_Run(ScreenState *state) {
    state->previous = state->current;
    if (skipSplash) {
        state->current = STATE_MENU;
        return;
    }
    setConsolePalette(blackPalette.data());
    // Drawn while everything is black, so the fade is what shows it.
    Surface *title = loadSurfaceFile("data\\surfaces\\Splash.srf");
    blitSurface(title, 0, 0);
    presentScreen();
    for (int k = 0; k < FADE_STEPS; k++) {
        setConsolePalette(fadePalette[k].data());
        if (waitOrKey(FADE_STEP_MS))
            break;
    }
    setConsolePalette(titlePalette.data());
    waitOrKey(TITLE_HOLD_MS);
    freeSurface(title);
    // Cleared without presenting: the title stays up until the logo replaces it.
    clearScreen();
    setConsolePalette(standardPalette);

    Surface *logo = loadSurfaceFile("data\\surfaces\\Quorvale.srf");
    blitSurface(logo, 0, 0);
    presentScreen();
    if (waitOrKey(LOGO_HOLD_MS))
        idleFor(LOGO_KEY_LINGER_MS);
    freeSurface(logo);
    clearScreen();
    state->current = STATE_MENU;
}
