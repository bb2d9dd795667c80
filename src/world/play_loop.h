// The game screen: sets up a game, runs it frame by frame, and tears it down.
#pragma once
#include "frontend/screen_state.h"

// Frames run whenever more than this many milliseconds have passed.
constexpr uint32_t FRAME_STEP_MS = 10;
// The room turns by itself this long after the last turn.
constexpr uint32_t TURN_INTERVAL_MS = 19000;
// The player's turn key works this long after the last turn.
constexpr uint32_t KEYED_TURN_GUARD_MS = 1000;

// The level a game starts at: 0, the first of the list, unless a level proof
// asks for another.
extern int32_t firstLevelIndex;

// The run's seed. Every level starts its chances afresh from it and the
// level's number, and its first frame, like a game's first, moves nothing:
// a level plays the same from its start however it was reached, so a winning
// input for one level wins it within the whole game too.
extern uint32_t chanceSeed;
// Counts level starts (new levels and restarts by a continue).
extern uint32_t levelStarts;
void startLevelChances();

void playLoop(ScreenState *state);
void updateFrame(float dt);
void updateBounds();
void drawObjects();
bool enemiesLeft();
void advanceLevel();
void checkDeath();
void endSession();
void resetTurnTimer();
