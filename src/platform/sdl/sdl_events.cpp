#include "platform/raster/rasteriser.h"
#include "platform/sdl/sdl_host.h"
#include "platform/sdl/sdl_keys.h"
#include <algorithm>
#include <cmath>

// A game that stops reading events does not make the queue grow for ever;
// a console's input buffer is bounded too.
constexpr size_t MAX_QUEUED_EVENTS = 4096;
constexpr uint32_t WINDOW_REFRESH_MS = 1000;

void sdlQueueEvent(const HostEvent &event) {
    if (sdl.queue.size() < MAX_QUEUED_EVENTS)
        sdl.queue.push_back(event);
}

static void queueKey(const SDL_KeyboardEvent &key) {
    HostEvent event = {};
    event.type = HOST_EVENT_KEY;
    event.key.keyDown = key.state == SDL_PRESSED ? 1 : 0;
    event.key.repeatCount = 1;
    event.key.virtualKeyCode =
        static_cast<uint16_t>(virtualKeyForSdlKey(key.keysym.sym, key.keysym.scancode));
    event.key.asciiChar = characterForSdlKey(key.keysym.sym, key.keysym.scancode, key.keysym.mod);
    event.key.controlKeyState = controlKeyStateForSdl(key.keysym.mod, key.keysym.scancode);
    sdlQueueEvent(event);
}

static void handleKey(const SDL_KeyboardEvent &key) {
    const SDL_Scancode sc = key.keysym.scancode;
    if (sc < 0 || sc >= SDL_NUM_SCANCODES)
        return;
    if (key.state == SDL_PRESSED) {
        const bool enter = sc == SDL_SCANCODE_RETURN || sc == SDL_SCANCODE_KP_ENTER;
        if (enter && (key.keysym.mod & KMOD_ALT) && !key.repeat && !sdl.hidden[sc]) {
            // Alt+Enter belongs to the window, as it does to a console: the game
            // never sees this Enter, so no menu choice is made by it.
            sdl.hidden[sc] = 1;
            sdlToggleFullScreen();
            return;
        }
        if (sdl.hidden[sc])
            return;
    } else if (sdl.hidden[sc]) {
        sdl.hidden[sc] = 0;
        return;
    }
    queueKey(key);
}

// Window pixels to cells: a cell is 8 picture pixels of `scale` window pixels
// each, counted from where the picture stands in the window.
static void mouseCell(int x, int y, int16_t &cellX, int16_t &cellY) {
    const int side = CELL_PIXELS * std::max(sdl.scale, 1);
    const int cx = static_cast<int>(std::floor(static_cast<double>(x - sdl.pictureX) / side));
    const int cy = static_cast<int>(std::floor(static_cast<double>(y - sdl.pictureY) / side));
    cellX = static_cast<int16_t>(std::clamp(cx, 0, std::max(sdl.width - 1, 0)));
    cellY = static_cast<int16_t>(std::clamp(cy, 0, std::max(sdl.height - 1, 0)));
}

static uint32_t consoleButtons(uint32_t sdlButtons) {
    uint32_t state = 0;
    if (sdlButtons & SDL_BUTTON_LMASK)
        state |= 0x1; // leftmost
    if (sdlButtons & SDL_BUTTON_RMASK)
        state |= 0x2; // rightmost
    if (sdlButtons & SDL_BUTTON_MMASK)
        state |= 0x4; // second from the left
    return state;
}

static void queueMouse(int16_t cellX, int16_t cellY, uint32_t buttons, uint32_t flags) {
    HostEvent event = {};
    event.type = HOST_EVENT_MOUSE;
    event.mouse.x = cellX;
    event.mouse.y = cellY;
    event.mouse.buttonState = buttons;
    event.mouse.controlKeyState = controlKeyStateForSdl(SDL_GetModState(), SDL_SCANCODE_UNKNOWN);
    event.mouse.eventFlags = flags;
    sdlQueueEvent(event);
}

static void handleEvent(const SDL_Event &e) {
    switch (e.type) {
    case SDL_QUIT:
        // The window was closed or the terminal sent Ctrl+C: the game's own
        // way out, which never comes back here.
        if (hostCloseRequested)
            hostCloseRequested();
        break;
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
            sdlKeepWholePicture();
            sdl.mouseRecheck = true;
            sdl.layoutWanted = true;
        }
        sdl.redrawWanted = true;
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        handleKey(e.key);
        break;
    case SDL_KEYMAPCHANGED:
        sdl.keyTableValid = false;
        break;
    case SDL_MOUSEMOTION: {
        int16_t cx, cy;
        mouseCell(e.motion.x, e.motion.y, cx, cy);
        // A console reports a move when the mouse reaches another cell.
        if (cx != sdl.mouseCellX || cy != sdl.mouseCellY) {
            sdl.mouseCellX = cx;
            sdl.mouseCellY = cy;
            queueMouse(cx, cy, sdl.mouseButtons, 1);
        }
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        const uint32_t mask = SDL_BUTTON(e.button.button);
        if (e.type == SDL_MOUSEBUTTONDOWN)
            sdl.mouseButtons |= consoleButtons(mask);
        else
            sdl.mouseButtons &= ~consoleButtons(mask);
        int16_t cx, cy;
        mouseCell(e.button.x, e.button.y, cx, cy);
        queueMouse(cx, cy, sdl.mouseButtons, 0);
        break;
    }
    case SDL_MOUSEWHEEL:
        // The wheel's turn rides in the high word, 120 a notch, as on a console.
        queueMouse(sdl.mouseCellX < 0 ? 0 : sdl.mouseCellX, sdl.mouseCellY < 0 ? 0 : sdl.mouseCellY,
                   sdl.mouseButtons | (static_cast<uint32_t>(e.wheel.y * 120) << 16), 4);
        break;
    default:
        sdlGamepadEvent(e);
        break;
    }
}

// A new scale or full screen puts a mouse that did not move over another cell.
static void recheckMouse() {
    sdl.mouseRecheck = false;
    if (SDL_GetMouseFocus() != sdl.window)
        return;
    int wx, wy;
    SDL_GetMouseState(&wx, &wy);
    int16_t cx, cy;
    mouseCell(wx, wy, cx, cy);
    if (cx != sdl.mouseCellX || cy != sdl.mouseCellY) {
        sdl.mouseCellX = cx;
        sdl.mouseCellY = cy;
        queueMouse(cx, cy, sdl.mouseButtons, 1);
    }
}

void sdlPumpEvents() {
    if (!sdl.window)
        return;
    SDL_Event e;
    while (SDL_PollEvent(&e))
        handleEvent(e);
    sdl.lastPumpTicks = SDL_GetTicks();
    sdl.pumpedOnce = true;
    // A display can lose what a window shows without saying so (another
    // program drew on it, a compositor slipped): the whole window is shown
    // again every so often, so a picture that stands still, as the pause's
    // does, is never lost for long.
    if (sdl.lastPumpTicks - sdl.lastShownTicks >= WINDOW_REFRESH_MS)
        sdl.redrawWanted = true;
    // Laid out first: a mouse that did not move is over another cell of the new layout.
    if (sdl.redrawWanted || sdl.layoutWanted)
        sdlRedraw();
    if (sdl.mouseRecheck)
        recheckMouse();
}

void sdlPumpEventsIfDue() {
    if (!sdl.pumpedOnce || SDL_GetTicks() != sdl.lastPumpTicks)
        sdlPumpEvents();
}

static void fillKeyTable() {
    for (int vk = 0; vk < 256; vk++)
        sdl.keyScancodeCount[vk] =
            static_cast<uint8_t>(scancodesForVirtualKey(vk, sdl.keyScancodes[vk], 4));
    sdl.keyTableValid = true;
}

int sdlKeyDown(int virtualKey) {
    sdlPumpEventsIfDue();
    switch (virtualKey) {
    case 0x01:
        return (SDL_GetMouseState(nullptr, nullptr) & SDL_BUTTON_LMASK) ? 1 : 0;
    case 0x02:
        return (SDL_GetMouseState(nullptr, nullptr) & SDL_BUTTON_RMASK) ? 1 : 0;
    case 0x04:
        return (SDL_GetMouseState(nullptr, nullptr) & SDL_BUTTON_MMASK) ? 1 : 0;
    default:
        break;
    }
    if (virtualKey < 0 || virtualKey > 255)
        return 0;
    if (sdl.padKeys[virtualKey])
        return 1;
    if (!sdl.keyTableValid)
        fillKeyTable();
    const SDL_Scancode *codes = sdl.keyScancodes[virtualKey];
    int numKeys = 0;
    const Uint8 *state = SDL_GetKeyboardState(&numKeys);
    for (int i = 0; i < sdl.keyScancodeCount[virtualKey]; i++)
        if (codes[i] < numKeys && state[codes[i]] && !sdl.hidden[codes[i]])
            return 1;
    return 0;
}

int sdlPendingEvents() {
    sdlPumpEventsIfDue();
    return static_cast<int>(sdl.queue.size());
}

int sdlReadEvents(HostEvent *out, int max) {
    int n = 0;
    while (n < max && !sdl.queue.empty()) {
        out[n++] = sdl.queue.front();
        sdl.queue.pop_front();
    }
    return n;
}
