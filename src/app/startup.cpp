#include "app/startup.h"
#include "console/console_setup.h"
#include "frontend/front_end.h"
#include "input/timers.h"
#include "platform/host.h"
#include "sound/sound.h"

int startUp(ScreenState *state) {
    BackBuffer *buffer = nullptr;
    if (!initConsole(&buffer))
        return 0;
    backBuffer = buffer;
    counterFrequency = host->counterFrequency();
    timerMode = counterFrequency > 0 ? TIMER_COUNTER : TIMER_CLOCK;
    exitHook = releaseBackBuffer;
    probeConsole();
    initSound();
    state->current = STATE_SPLASH;
    FrontEnd_Init();
    return 1;
}

void shutDown() {
    FrontEnd_Shutdown();
    setConsolePalette(savedPalette);
}

void releaseBackBuffer(ScreenState *) {
    freeBackBuffer(backBuffer);
    backBuffer = nullptr;
}
