// Stopwatches, interruptible waits, and the clocks every timer reads.
#pragma once
#include <cstdint>

constexpr int32_t TIMER_COUNTER = 5426;
constexpr int32_t TIMER_CLOCK = 6162;

extern int32_t timerMode;
extern int64_t counterFrequency;

// Time spent in the pause screen; the game clock leaves it out.
extern uint32_t pausedTotal;

struct Stopwatch {
    int32_t started;
    union {
        int64_t counter;
        double clock;
    } start;
    double elapsed;
};

// The multimedia clock in milliseconds.
uint32_t timeGetTime();
// The game clock: the multimedia clock without the time spent paused.
uint32_t gameClock();
// Gives the processor back for about `ms` milliseconds.
void idleFor(uint32_t ms);

int stopwatchExpired(Stopwatch *sw, double duration);
int waitOrKey(uint32_t duration);
