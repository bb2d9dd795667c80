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
// level's number. Only a game's first frame is the long one in which nothing
// moves; a level reached by play starts with an ordinary frame.
extern uint32_t chanceSeed;
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
