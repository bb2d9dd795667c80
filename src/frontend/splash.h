// The splash: the title fading in from black through the red-and-grey
// palettes, held a moment, then the studio logo, then the menu.
#pragma once
#include "frontend/screen_state.h"
#include <array>
#include <cstdint>

constexpr int FADE_STEPS = 14;
constexpr uint32_t FADE_STEP_MS = 50;
constexpr uint32_t TITLE_HOLD_MS = 1500;
constexpr uint32_t LOGO_HOLD_MS = 2000;
// A key that ends the logo still leaves it on screen this long.
constexpr uint32_t LOGO_KEY_LINGER_MS = 100;

// 16 colours 0x00BBGGRR in colour-number order.
using Palette = std::array<uint32_t, 16>;

extern const Palette blackPalette;
// Steps 1 to 14 of the fade (index 0 is step 1), then the title's own palette.
extern const Palette fadePalette[FADE_STEPS];
extern const Palette titlePalette;

void Splash_Run(ScreenState *state);
