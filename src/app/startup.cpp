#include "app/startup.h"
#include "console/console_setup.h"
#include "frontend/attract.h"
#include "frontend/front_end.h"
#include "frontend/menu.h"
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
    menuHook = Menu_Run;
    attractHook = Attract_Run;
    exitHook = releaseBackBuffer;
    probeConsole();
    initSound();
    state->current = STATE_SPLASH;
    FrontEnd_Init();
    // Desktop composition is a console matter; our hosts have nothing to switch off.
    return 1;
}

void shutDown() {
    // The dialog queue, the number text and the picture table, in that order.
    FrontEnd_Shutdown();
    setConsolePalette(savedPalette);
}

void releaseBackBuffer(ScreenState *) {
    freeBackBuffer(backBuffer);
    backBuffer = nullptr;
}
