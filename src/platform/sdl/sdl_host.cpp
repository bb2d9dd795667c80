#include "platform/sdl/sdl_host.h"
#include "platform/audio/mixer_audio.h"
#include "platform/hosts.h"
#include <cstdio>
#include <cstdlib>

SdlHostState sdl;

static uint32_t sdlNow() {
    return SDL_GetTicks();
}
static int64_t sdlCounter() {
    return static_cast<int64_t>(SDL_GetPerformanceCounter());
}
static int64_t sdlCounterFrequency() {
    return static_cast<int64_t>(SDL_GetPerformanceFrequency());
}

// Sleeps in short slices so that the window keeps answering (moving, closing)
// while the game waits. A pass of a screen that stands still is mostly this
// wait: it looks at the display once before and once after sleeping, at most.
static void sdlIdle(uint32_t ms) {
    sdlPumpEventsIfDue();
    const uint32_t start = SDL_GetTicks();
    for (;;) {
        const uint32_t waited = SDL_GetTicks() - start;
        if (waited >= ms)
            break;
        SDL_Delay(ms - waited < 10 ? ms - waited : 10);
        sdlPumpEvents();
    }
}

// The window goes at once; SDL itself stays loaded until the process ends a
// moment later. Unloading it would gain nothing (the display connection goes
// with the process), would restart the clock that the exit report still
// reads, and would hide the display libraries' memory from the leak checker.
static void sdlShutdown() {
    sdlCloseGamepads();
    sdlCloseWindow();
    SDL_PumpEvents();
}

// Sound goes through the mixer, which opens the audio device at the first
// sound call and plays silently where there is none.
static Host sdlHost = {
    .name = "sdl",
    .now = sdlNow,
    .counter = sdlCounter,
    .counterFrequency = sdlCounterFrequency,
    .idle = sdlIdle,
    .keyDown = sdlKeyDown,
    .pendingEvents = sdlPendingEvents,
    .readEvents = sdlReadEvents,
    .present = sdlPresent,
    .setPalette = sdlSetPalette,
    .getPalette = sdlGetPalette,
    .setTitle = sdlSetTitle,
    .getWindowRect = sdlGetWindowRect,
    .moveWindow = sdlMoveWindow,
    .sound = &mixerSound,
    .shutdown = sdlShutdown,
};

Host *createSdlHost(std::string &error) {
    if (sdl.window)
        return &sdlHost;
    const char *driver = getenv("SDL_VIDEODRIVER");
    if (!displayAvailable() && !(driver && *driver)) {
        error = "the window host needs a display, and neither DISPLAY nor WAYLAND_DISPLAY is "
                "set: use --host=term in a terminal, or --host=headless";
        return nullptr;
    }
    // Only the display that is named: without this SDL falls back to drivers
    // that open no visible window. SDL_VIDEODRIVER, when set, still decides.
    const char *x = getenv("DISPLAY");
    const char *wayland = getenv("WAYLAND_DISPLAY");
    const bool hasX = x && *x, hasWayland = wayland && *wayland;
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER,
                            hasX ? (hasWayland ? "x11,wayland" : "x11") : "wayland",
                            SDL_HINT_DEFAULT);
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0) {
        error = std::string("the window host cannot reach the display ") +
                (hasX         ? x
                 : hasWayland ? wayland
                              : "") +
                ": " + SDL_GetError();
        return nullptr;
    }
    if (!sdlOpenWindow(error)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS);
        return nullptr;
    }
    sdlOpenGamepads();
    return &sdlHost;
}
