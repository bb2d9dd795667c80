// The status strip right of the play field: bonus timer, turn gauge with the
// next turn's arrow, the controls, score, high score, lives and credits.
#pragma once
#include <cstdint>

extern int32_t bonusTotal;     // seconds
extern int32_t bonusElapsed;   // milliseconds of bonus time used
extern uint32_t bonusLastTick; // game clock at the last update

// Writes text in the colour attribute from (column, row) until its end or
// the edge; drawText writes it in bright white.
int drawColouredText(const char *text, int column, int row, uint16_t attr);
int drawText(const char *text, int column, int row);
// The editor's own line: green, at column 90 of row 28.
int drawEditorText(const char *text);
void resetBonusTimer();
void drawBonusTimer();
void drawTurnGauge();
void drawScores();
// The seconds the bonus timer shows, 0 to 999: the strip has three places.
int32_t bonusSecondsShown();
