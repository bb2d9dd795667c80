#include "frontend/pause.h"
#include "console/surface.h"
#include "input/keyboard.h"
#include "sound/sound.h"
#include "world/play_state.h"
#include <cstdlib>
#include <cstring>

int32_t pausedFlag = 0;
Stopwatch pauseRedrawTimer;

constexpr double PAUSE_REDRAW_MS = 300.0;
// A pause pass rests this long between looks at the keys.
constexpr uint32_t PAUSE_PASS_IDLE_MS = 5;

void Pause_Check() {
    if (!keyReleased('P') && !keyReleased(VK_ESCAPE))
        return;
    pausedFlag = 1;
    // Without its picture the pause still runs; it then shows the frozen field.
    DialogRecord *pause = static_cast<DialogRecord *>(calloc(1, sizeof(DialogRecord)));
    if (pause)
        Dialog_Create(pause, "data/surfaces/PauseScreen.srf", " ", 3, 3);
    Pause_Run(pause);
}

void Pause_Run(DialogRecord *pause) {
    const uint32_t t0 = timeGetTime();
    Surface *snapshot = createSurface(SCREEN_WIDTH, SCREEN_HEIGHT);
    if (snapshot && snapshot->cells && backBuffer)
        memcpy(snapshot->cells, backBuffer->cells, sizeof(Cell) * SCREEN_WIDTH * SCREEN_HEIGHT);
    // The pause shows itself at once: its first picture never waits for the
    // redraw clock, whatever state that clock was left in.
    bool shown = false;
    while (pausedFlag) {
        volumeKeys();
        if (!shown || stopwatchExpired(&pauseRedrawTimer, PAUSE_REDRAW_MS)) {
            shown = true;
            clearScreen();
            blitSurface(snapshot, 0, 0);
            if (pause) {
                Dialog_RenderText(pause);
                blitSurface(pause->picture, 3, 3);
            }
            presentScreen();
            pauseRedrawTimer.started = 0;
        }
        pollKeyboard();
        if (keyReleased('P') || keyReleased(VK_ESCAPE)) {
            pausedFlag = 0;
        } else if (keyReleased('Q')) {
            Dialog_ClearAll();
            returnToMenu = 1;
            credits = 0;
            pausedFlag = 0;
        } else if (keyReleased('R') && credits != 0) {
            // Counted as the loss of the last life: the death check then
            // spends a credit and starts the level again.
            lives = 0;
            dyingFlag = 1;
            pausedFlag = 0;
        }
        if (pausedFlag)
            idleFor(PAUSE_PASS_IDLE_MS);
    }
    Dialog_Destroy(pause);
    settleKeys();
    pausedTotal += timeGetTime() - t0;
    freeSurface(snapshot);
}
