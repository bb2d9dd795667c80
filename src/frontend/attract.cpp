#include "frontend/attract.h"
#include "frontend/front_end.h"
#include "frontend/menu.h"
#include "input/keyboard.h"
#include "input/timers.h"
#include "world/high_score.h"
#include "world/hud.h"
#include "world/play_state.h"
#include <cstdio>
#include <cstring>

// The story's last word, on the credits page after the Ozzle's fall, in the
// blank row between the cast's names and the thanks.
static void drawEpilogue() {
    static const char *const EPILOGUE =
        "The lamps are home, the rooms stand still, and the Ozzle sulks in the cellar.";
    const int column = (SCREEN_WIDTH - static_cast<int>(strlen(EPILOGUE))) / 2;
    drawColouredText(EPILOGUE, column, EPILOGUE_ROW, 0x17); // light grey on dark blue
}

static void drawCentred(const char *text, int row) {
    const int column = (SCREEN_WIDTH - static_cast<int>(strlen(text))) / 2;
    drawColouredText(text, column < 0 ? 0 : column, row, 0x1E); // yellow on dark blue
}

// Under the thanks: a best score that cannot reach its file lasts only as
// long as the program, and the player is told so here.
static void drawUnsavedNote() {
    char line[200];
    snprintf(line, sizeof line, "This best score cannot be saved (%s).", highScoreProblem);
    drawCentred(line, UNSAVED_NOTE_ROW);
    drawCentred("It lasts only until the game ends.", UNSAVED_NOTE_ROW + 1);
}

static void drawHighScorePage() {
    blitSurface(highScorePicture, 0, 0);
    int32_t value = highScore > HIGH_SCORE_CAP ? HIGH_SCORE_CAP : highScore;
    // Six digits right to left, leading zeros included.
    for (int i = 0; i < 6; i++) {
        const int32_t digit = value % 10;
        value /= 10;
        blitSurface(pictureAt(PICTURE_DIGIT_0 + digit),
                    static_cast<int16_t>(ONES_DIGIT_COLUMN - DIGIT_SPACING * i), DIGIT_ROW);
    }
    if (highScoreUnsaved)
        drawUnsavedNote();
}

void Attract_Run(ScreenState *state) {
    state->previous = state->current;
    pumpConsoleInput();
    clearScreen();
    if (showCredits) {
        blitSurface(creditsPicture, 0, 0);
        if (gameWon)
            drawEpilogue();
    } else
        drawHighScorePage();
    presentScreen();
    if (++pageFrames >= PAGE_PASSES) {
        pageFrames = 0;
        showCredits = !showCredits;
    }
    if (anyKeyDown) {
        attractTimer.started = 0;
        state->current = STATE_MENU;
        freeSurface(creditsPicture);
        creditsPicture = nullptr;
        freeSurface(highScorePicture);
        highScorePicture = nullptr;
        closeHighScoreFile();
        clearScreen();
        presentScreen();
        // Arms the menu's key guard, so the key that left is not taken twice.
        menuReturnTime = timeGetTime() - pausedTotal;
        return;
    }
    idleFor(ATTRACT_PASS_IDLE_MS);
}
