#include "input/timers.h"
#include "input/keyboard.h"
#include "platform/host.h"

int32_t timerMode;
int64_t counterFrequency;
uint32_t pausedTotal;

uint32_t timeGetTime() {
    return host->now();
}

uint32_t gameClock() {
    return host->now() - pausedTotal;
}

void idleFor(uint32_t ms) {
    host->idle(ms);
}

static double readClock() {
    return static_cast<double>(host->now());
}

int stopwatchExpired(Stopwatch *sw, double duration) {
    if (!sw->started) {
        if (timerMode == TIMER_COUNTER)
            sw->start.counter = host->counter();
        else
            sw->start.clock = readClock();
        sw->started = 1;
        return 0;
    }
    if (timerMode == TIMER_COUNTER)
        sw->elapsed = static_cast<double>(host->counter() - sw->start.counter) * 1000.0 /
                      static_cast<double>(counterFrequency);
    else
        sw->elapsed = readClock() - sw->start.clock;
    // Started on a clock that now stands behind it (another host, a replay
    // that began anew): it would not expire until that clock caught up, which
    // left the pause screen undrawn for as long. It starts again from now.
    if (sw->elapsed < 0) {
        sw->started = 0;
        return stopwatchExpired(sw, duration);
    }
    return duration <= sw->elapsed ? 1 : 0;
}

// A wait looks at the input this often: a key still ends it at once to the
// eye, and a long wait leaves the processor alone.
constexpr uint32_t WAIT_POLL_MS = 4;

int waitOrKey(uint32_t duration) {
    const uint32_t t0 = timeGetTime();
    // The wait yields between polls instead of spinning, and never sleeps
    // past its end.
    for (uint32_t waited = 0; waited < duration; waited = timeGetTime() - t0) {
        pumpConsoleInput();
        if (anyKeyDown == 1)
            return 1;
        const uint32_t left = duration - waited;
        idleFor(left < WAIT_POLL_MS ? left : WAIT_POLL_MS);
    }
    return 0;
}
