#include "platform/web/web_host.h"
#include "platform/hosts.h"
#include "platform/web/web_storage.h"
#include <cstring>
#include <emscripten.h>

WebHostState web;

// The page's side of the host (web_library.js).
extern "C" {
void wobbleSetTitle(const char *title);
void wobbleMoveCanvas(int x, int y);
int wobbleStepped();
}

// A console buffer holds a bounded number of events; so does this queue.
constexpr size_t MAX_QUEUED_EVENTS = 4096;
// The headless host's clock starts here too, so a stepped run reads the same times.
constexpr uint32_t STEPPED_CLOCK_BASE = 100000;

static uint32_t webNow() {
    if (web.stepped)
        return STEPPED_CLOCK_BASE + static_cast<uint32_t>(web.virtualMs);
    return static_cast<uint32_t>(static_cast<uint64_t>(emscripten_get_now()));
}

static int64_t webCounter() {
    if (web.stepped)
        return static_cast<int64_t>(web.virtualMs) * 1000;
    return static_cast<int64_t>(emscripten_get_now() * 1000.0);
}

static int64_t webCounterFrequency() {
    return 1000000;
}

// The browser draws, takes input and plays sound only while the game waits.
static void sleepInBrowser(uint32_t ms) {
    const double now = emscripten_get_now();
    web.busyMs += now - web.wokeAt;
    emscripten_sleep(ms);
    web.wokeAt = emscripten_get_now();
}

static void webIdle(uint32_t ms) {
    if (!web.stepped) {
        sleepInBrowser(ms);
        return;
    }
    // A stepped clock runs as fast as the page allows, giving the page a turn
    // every 100 virtual ms, and stops where the page said.
    const uint64_t before = web.virtualMs;
    web.virtualMs += ms;
    if (before / 100 != web.virtualMs / 100)
        sleepInBrowser(0);
    while (web.virtualMs >= web.stepLimit)
        sleepInBrowser(5);
}

static int webKeyDown(int virtualKey) {
    if (virtualKey == VK_LBUTTON)
        return (web.mouseButtons & 0x1) ? 1 : 0;
    if (virtualKey == VK_RBUTTON)
        return (web.mouseButtons & 0x2) ? 1 : 0;
    if (virtualKey == VK_MBUTTON)
        return (web.mouseButtons & 0x4) ? 1 : 0;
    return virtualKey >= 0 && virtualKey < 256 && web.held[virtualKey];
}

static int webPendingEvents() {
    return static_cast<int>(web.queue.size());
}

static int webReadEvents(HostEvent *out, int max) {
    int n = 0;
    while (n < max && !web.queue.empty()) {
        out[n++] = web.queue.front();
        web.queue.pop_front();
    }
    return n;
}

static void webSetTitle(const char *title) {
    wobbleSetTitle(title ? title : "");
}

// The page is the window and never moves, so dragging pushes nothing.
static const HostRect fixedRect = {0, 0, 928, 704};

static int webGetWindowRect(HostRect *rect) {
    *rect = fixedRect;
    return 1;
}

static void webMoveWindow(int x, int y) {
    const int dx = x - fixedRect.left, dy = y - fixedRect.top;
    if (dx == web.offsetX && dy == web.offsetY)
        return;
    web.offsetX = dx;
    web.offsetY = dy;
    wobbleMoveCanvas(dx, dy);
}

static const SoundHost webSound = {
    .open = wobbleSoundOpen,
    .release = wobbleSoundRelease,
    .setGroup = wobbleSoundSetGroup,
    .play = wobbleSoundPlay,
    .isPlaying = wobbleSoundIsPlaying,
    .setGroupVolume = wobbleSoundSetGroupVolume,
    .shutdown = wobbleSoundShutdown,
};

static Host webHost = {
    .name = "web",
    .now = webNow,
    .counter = webCounter,
    .counterFrequency = webCounterFrequency,
    .idle = webIdle,
    .keyDown = webKeyDown,
    .pendingEvents = webPendingEvents,
    .readEvents = webReadEvents,
    .present = webPresent,
    .setPalette = webSetPalette,
    .getPalette = webGetPalette,
    .setTitle = webSetTitle,
    .getWindowRect = webGetWindowRect,
    .moveWindow = webMoveWindow,
    .sound = &webSound,
    .shutdown = wobbleSoundShutdown,
};

Host *createWebHost(std::string &) {
    web.stepped = wobbleStepped() != 0;
    web.wokeAt = emscripten_get_now();
    memcpy(web.palette, standardPalette, sizeof web.palette);
    wobbleRestoreFiles();
    return &webHost;
}

static void queueEvent(const HostEvent &event) {
    if (web.queue.size() < MAX_QUEUED_EVENTS)
        web.queue.push_back(event);
}

// What the page hands in.
extern "C" {

EMSCRIPTEN_KEEPALIVE void webKey(int down, int virtualKey, int character, int controlKeyState) {
    if (virtualKey <= 0 || virtualKey > 255)
        return;
    web.held[virtualKey] = down ? 1 : 0;
    HostEvent event = {};
    event.type = HOST_EVENT_KEY;
    event.key.keyDown = down ? 1 : 0;
    event.key.repeatCount = 1;
    event.key.virtualKeyCode = static_cast<uint16_t>(virtualKey);
    event.key.asciiChar = character > 0 && character < 128 ? static_cast<char>(character) : 0;
    event.key.controlKeyState = static_cast<uint32_t>(controlKeyState);
    queueEvent(event);
}

// Every key goes up when the page loses the keyboard, as a window's would.
EMSCRIPTEN_KEEPALIVE void webReleaseKeys() {
    for (int vk = 1; vk < 256; vk++)
        if (web.held[vk])
            webKey(0, vk, 0, 0);
    web.mouseButtons = 0;
}

// A mouse event in cells: flags 0 a button changed, 1 it moved, 4 the wheel
// (its turn in the high word of the buttons, 120 a notch).
EMSCRIPTEN_KEEPALIVE void webMouse(int x, int y, int buttons, int flags) {
    web.mouseX = static_cast<int16_t>(x);
    web.mouseY = static_cast<int16_t>(y);
    if (flags != 4)
        web.mouseButtons = static_cast<uint32_t>(buttons) & 0x7;
    HostEvent event = {};
    event.type = HOST_EVENT_MOUSE;
    event.mouse.x = web.mouseX;
    event.mouse.y = web.mouseY;
    event.mouse.buttonState = static_cast<uint32_t>(buttons);
    event.mouse.eventFlags = static_cast<uint32_t>(flags);
    queueEvent(event);
}

EMSCRIPTEN_KEEPALIVE void webStepTo(double limit) {
    web.stepLimit = static_cast<uint64_t>(limit);
}

EMSCRIPTEN_KEEPALIVE double webVirtualMs() {
    return static_cast<double>(web.virtualMs);
}

EMSCRIPTEN_KEEPALIVE double webBusyMs() {
    return web.busyMs;
}

EMSCRIPTEN_KEEPALIVE double webFramesShown() {
    return static_cast<double>(web.frames);
}

// The latest frame and palette, for the page's tests.
EMSCRIPTEN_KEEPALIVE const Cell *webFrameCells() {
    return web.cells.data();
}
EMSCRIPTEN_KEEPALIVE int webFrameWidth() {
    return web.width;
}
EMSCRIPTEN_KEEPALIVE const uint32_t *webFramePalette() {
    return web.palette;
}
}
