#include "world/hud.h"
#include "console/surface.h"
#include "frontend/front_end.h"
#include "input/timers.h"
#include "world/high_score.h"
#include "world/levels.h"
#include "world/play_state.h"
#include <algorithm>
#include <cmath>
#include <cstdio>

int32_t bonusTotal;
int32_t bonusElapsed;
uint32_t bonusLastTick;

int drawColouredText(const char *text, int column, int row, uint16_t attr) {
    int written = 0;
    for (; text[written]; written++) {
        const int x = column + written;
        if (!backBuffer || x < 0 || row < 0 || x >= backBuffer->width || row >= backBuffer->height)
            break;
        backBuffer->cells[row * backBuffer->width + x] =
            Cell{static_cast<uint8_t>(text[written]), attr};
    }
    return written;
}

int drawText(const char *text, int column, int row) {
    return drawColouredText(text, column, row, 0x0F);
}

int drawEditorText(const char *text) {
    return drawColouredText(text, 90, 28, 0x02);
}

void resetBonusTimer() {
    bonusTotal = levelTime;
    bonusLastTick = gameClock();
    bonusElapsed = 0;
}

static void drawDigit(int digit, int column, int row) {
    blitSurface(pictureAt(digit), static_cast<int16_t>(column), static_cast<int16_t>(row));
}

static void drawThreeDigits(int32_t value) {
    drawDigit(value / 100, 88, 2);
    drawDigit((value % 100) / 10, 97, 2);
    drawDigit(value % 10, 106, 2);
}

int32_t bonusSecondsShown() {
    int32_t remaining = bonusTotal - bonusElapsed / 1000;
    // A time of 1000 s or more shows 999 until it comes into range, and a
    // frame long enough to run past the end shows 000.
    if (remaining > 999)
        remaining = 999;
    if (remaining < 0)
        remaining = 0;
    return remaining;
}

void drawBonusTimer() {
    if (bonusElapsed / 1000 >= bonusTotal) {
        drawThreeDigits(0);
    } else {
        const uint32_t now = gameClock();
        // A frame after a clock jump of weeks must not wrap the count around.
        bonusElapsed = static_cast<int32_t>(
            std::min<int64_t>(int64_t{bonusElapsed} + (now - bonusLastTick), INT32_MAX));
        drawThreeDigits(bonusSecondsShown());
        bonusLastTick = now;
    }
    drawText("BONUS TIMER", 95, 13);
}

void drawTurnGauge() {
    // Seconds until 20 s after the last turn; below 0 while a turn is held
    // back (the player is dying), and the bar then grows above its top.
    const double r = static_cast<int32_t>(lastTurnTime + 20000 - gameClock()) * 0.001;
    if (r < 19) {
        Surface *segment = pictureAt(PICTURE_ANGER_BAR);
        // Segments for i below -15 would lie above the screen.
        for (int i = 19; i > r && i >= -15; i--)
            blitSurface(segment, 90, static_cast<int16_t>(std::trunc(i * 1.2 + 18)));
    }
    blitSurface(pictureAt(PICTURE_ARROW_BOX), 88, 15);
    int arrow = PICTURE_DIGIT_0;
    switch (currentTurnAngle()) {
    case -90:
        arrow = PICTURE_ARROW_RIGHT;
        break;
    case 90:
        arrow = PICTURE_ARROW_LEFT;
        break;
    case 180:
        arrow = PICTURE_ARROW_UP;
        break;
    }
    blitSurface(pictureAt(arrow), 96, 25);
    blitSurface(pictureAt(PICTURE_CONTROLS), 88, 45);
}

void drawScores() {
    char text[16];
    drawText("SCORE:", 88, 68);
    snprintf(text, sizeof text, "%.10i", score);
    drawText(text, 100, 70);
    drawText("HIGH SCORE:", 88, 75);
    snprintf(text, sizeof text, "%.10i", highScore);
    drawText(text, 100, 77);
    drawText("LIVES:", 88, 82);
    snprintf(text, sizeof text, "%i", lives);
    drawText(text, 95, 84);
    drawText("CREDITS:", 100, 82);
    snprintf(text, sizeof text, "%i", credits);
    drawText(text, 109, 84);
}
