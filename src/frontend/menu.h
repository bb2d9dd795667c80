// The main menu: one still picture with the box figure stamped on it, single
// keys for the choices, a once-a-second colour blink, and the two interludes
// played over the picture on the way to the game and on the way out.
#pragma once
#include "console/surface.h"
#include "frontend/screen_state.h"
#include "input/timers.h"
#include <cstdint>

// The two menu palettes differ only in colours 2, 5 and 13.
extern const uint32_t menuPaletteA[16];
extern const uint32_t menuPaletteB[16];

extern Surface *menuPicture;
// Game clock when the credits screen last handed back to the menu.
extern uint32_t menuReturnTime;
// Which page the credits screen shows (1 credits, 0 high score) and the
// passes since its last page change.
extern int32_t showCredits;
extern int32_t pageFrames;
// The menu's idle timer; the credits screen clears it when it hands back.
extern Stopwatch attractTimer;

constexpr uint32_t MENU_KEY_GUARD_MS = 350;
constexpr double MENU_IDLE_MS = 30000.0;
constexpr uint32_t MENU_BLINK_MS = 1000;
// A menu pass rests this long: keys are still seen within a few
// milliseconds, and the processor is left alone between blinks.
constexpr uint32_t MENU_PASS_IDLE_MS = 5;
// Where the box figure stands on the menu picture.
constexpr int16_t BOX_FIGURE_X = 30;
constexpr int16_t BOX_FIGURE_Y = 27;

// 1 when the picture is on screen and Menu_Run is to follow.
int32_t Menu_Load(ScreenState *state);
void Menu_Run(ScreenState *state);
void Menu_Unload();
// Whether the menu keys are obeyed (closed for a moment after the credits screen).
int menuKeyGuard();

void Menu_StartGameInterlude();
void Menu_FarewellInterlude();
