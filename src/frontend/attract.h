// The credits and high-score screen: two pages that take turns, the high
// score written in digit pictures, any key back to the menu.
#pragma once
#include "frontend/screen_state.h"
#include <cstdint>

// The page turns after this many passes.
constexpr int32_t PAGE_PASSES = 1000;
// Each pass rests this long, so a page stays about five seconds as it did
// when a pass took that long to draw.
constexpr uint32_t ATTRACT_PASS_IDLE_MS = 5;
constexpr int32_t HIGH_SCORE_CAP = 999999;
// The six digits stand on this row, the ones digit at the right.
constexpr int16_t DIGIT_ROW = 50;
constexpr int16_t ONES_DIGIT_COLUMN = 87;
constexpr int16_t DIGIT_SPACING = 8;
// After a won game the story's end is told on this row of the credits page.
constexpr int EPILOGUE_ROW = 77;
// A best score that cannot be saved is said on these two rows of the high-score page.
constexpr int UNSAVED_NOTE_ROW = 79;

// One pass: draws and presents the page, and leaves on a key.
void Attract_Run(ScreenState *state);
