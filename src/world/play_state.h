// The counters and flags of a running game, shared by the play loop, the
// object kinds and the HUD.
#pragma once
#include <cstdint>

extern int32_t score;   // 0 at program start and after every game
extern int32_t lives;   // 3 at program start and after every game
extern int32_t credits; // continues, 0-5; kept from game to game
extern int32_t levelIndex;
extern uint32_t lastTurnTime; // game clock at the last world turn
// The player is in its death sequence: no world turn starts meanwhile.
extern int32_t dyingFlag;
extern int32_t gameOverFlag;
// Set when the last level's Ozzle falls, cleared when a game starts: the
// credits page after a won game tells how the story ends.
extern int32_t gameWon;
extern int32_t levelDoneFlag;
extern int32_t returnToMenu;

constexpr int32_t STARTING_LIVES = 3;

// Changes the score by `points`, stopping at the ends of its 32 bits instead
// of wrapping: a long game of big bonuses keeps the best score it reached.
void addScore(int64_t points);
constexpr int32_t MAX_CREDITS = 5;
