// The window host: the game in a desktop window drawn from the cell frame
// with the game's own font and palette. Its parts share this state.
#pragma once
#include "platform/host.h"
#include <SDL.h>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

struct SdlHostState {
    SDL_Window *window = nullptr;

    // The latest frame and palette, the picture drawn from them at scale 1,
    // and the rows of cells the window does not show yet (staleTop >
    // staleBottom when it shows them all): a frame of play changes a few
    // rows, and only those are drawn and sent to the display again.
    std::vector<Cell> cells;
    int width = 0;
    int height = 0;
    uint32_t palette[16] = {};
    std::vector<uint32_t> picture;
    int staleTop = 0, staleBottom = -1;
    // The window's pixels (SDL's, valid until the window's size changes) and
    // where the picture stands in them, at which whole-number scale.
    SDL_Surface *surface = nullptr;
    int scale = 1;
    int pictureX = 0, pictureY = 0;
    // The window must be laid out again (new size, full screen, the picture
    // moved); or only shown again (the display lost what it showed).
    bool layoutWanted = true;
    bool redrawWanted = true;
    uint32_t lastShownTicks = 0; // when the whole window was last shown

    // Console events not yet read by the game.
    std::deque<HostEvent> queue;
    uint32_t lastPumpTicks = 0;
    bool pumpedOnce = false;
    // Keys whose press opened or closed full screen are not seen by the game
    // until they go up.
    uint8_t hidden[SDL_NUM_SCANCODES] = {};
    // Virtual keys the game controllers hold.
    uint8_t padKeys[256] = {};
    // The scancodes of each virtual key under the current layout, looked up
    // once: the game asks for all 256 keys every pass.
    SDL_Scancode keyScancodes[256][4] = {};
    uint8_t keyScancodeCount[256] = {};
    bool keyTableValid = false;
    uint32_t mouseButtons = 0;
    int16_t mouseCellX = -1;
    int16_t mouseCellY = -1;
    bool mouseRecheck = false;

    // Where the windowing system lets a program move its window (X11) moving
    // is real; elsewhere (Wayland) the picture moves inside the window.
    bool windowMovable = true;
    HostRect fixedRect = {};
    int pictureOffsetX = 0;
    int pictureOffsetY = 0;

    // Counters for tests and benchmarks: pictures drawn into the window and
    // windows shown.
    uint64_t texturesUploaded = 0;
    uint64_t framesDrawn = 0;
};

extern SdlHostState sdl;

// Events (sdl_events.cpp).
void sdlPumpEvents();
// Pumps unless that was done this millisecond: a pass of the game asks for
// events, keys and the window many times, and each pump asks the display.
void sdlPumpEventsIfDue();
int sdlKeyDown(int virtualKey);
int sdlPendingEvents();
int sdlReadEvents(HostEvent *out, int max);
void sdlQueueEvent(const HostEvent &event);

// Game controllers, plugged in and out at any time (sdl_gamepad.cpp).
void sdlOpenGamepads();
void sdlCloseGamepads();
// Takes the controller events; false for any other event.
bool sdlGamepadEvent(const SDL_Event &e);

// Picture and window (sdl_video.cpp).
bool sdlOpenWindow(std::string &error);
void sdlCloseWindow();
void sdlPresent(const Cell *cells, int width, int height);
void sdlSetPalette(const uint32_t palette[16]);
void sdlGetPalette(uint32_t palette[16]);
void sdlSetTitle(const char *title);
int sdlGetWindowRect(HostRect *rect);
void sdlMoveWindow(int x, int y);
// Draws the picture now if anything changed since it was last drawn.
void sdlRedraw();
void sdlToggleFullScreen();
// From now on moving the window moves the picture inside it (a display that
// does not let programs move windows); the reported rectangle stays put.
void sdlPinWindow();
// Puts a window that was made smaller than the picture back to its size.
void sdlKeepWholePicture();
// The whole-number scale the picture is drawn at, and sizing the window to a scale.
int sdlPictureScale();
void sdlSetWindowScale(int scale);
