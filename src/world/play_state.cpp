#include "world/play_state.h"
#include <algorithm>
#include <cstdint>

int32_t score = 0;
int32_t lives = STARTING_LIVES;
int32_t credits = 0;
int32_t levelIndex = 0;
uint32_t lastTurnTime = 0;
int32_t dyingFlag = 0;
int32_t gameOverFlag = 0;
int32_t gameWon = 0;
int32_t levelDoneFlag = 0;
int32_t returnToMenu = 0;

void addScore(int64_t points) {
    score =
        static_cast<int32_t>(std::clamp<int64_t>(int64_t{score} + points, INT32_MIN, INT32_MAX));
}
