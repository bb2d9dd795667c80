#include "platform/headless/headless_host.h"
#include <algorithm>
#include <cstdio>
#include <iterator>

HeadlessState headless;

// Lets every scripted event whose time has come happen.
static void advance() {
    while (headless.scriptIndex < headless.script.size() &&
           headless.script[headless.scriptIndex].time <= headless.virtualMs) {
        const ScriptEvent &e = headless.script[headless.scriptIndex++];
        if (e.kind == ScriptEvent::END) {
            headless.closeAt = std::min<uint64_t>(headless.closeAt, e.time);
            continue;
        }
        if (e.kind == ScriptEvent::KEY)
            headless.held[e.event.key.virtualKeyCode & 0xFF] = e.event.key.keyDown ? 1 : 0;
        headless.queue.push_back(e.event);
    }
    if (headless.virtualMs >= headless.closeAt && !headless.closed) {
        headless.closed = true;
        if (hostCloseRequested)
            hostCloseRequested();
    }
}

static uint32_t hNow() {
    advance();
    return headless.clockBase + static_cast<uint32_t>(headless.virtualMs);
}

static int64_t hCounter() {
    advance();
    return static_cast<int64_t>(headless.virtualMs) * 1000;
}

static int64_t hFrequency() {
    return 1000000;
}

static void hIdle(uint32_t ms) {
    headless.virtualMs += ms;
    advance();
}

static int hKeyDown(int vk) {
    advance();
    return vk >= 0 && vk < 256 && headless.held[vk];
}

static int hPending() {
    advance();
    return static_cast<int>(headless.queue.size());
}

static int hRead(HostEvent *out, int max) {
    advance();
    int n = std::min<int>(max, static_cast<int>(headless.queue.size()));
    std::copy(headless.queue.begin(), headless.queue.begin() + n, out);
    headless.queue.erase(headless.queue.begin(), headless.queue.begin() + n);
    return n;
}

static void hPresent(const Cell *cells, int width, int height) {
    headless.lastFrame.assign(cells, cells + width * height);
    headless.framesPresented++;
    if (headless.keepFrames)
        headless.frames.push_back(headless.lastFrame);
    if (headless.onFrame)
        headless.onFrame(cells, width, height, headless.framesPresented);
}

static void hSetPalette(const uint32_t palette[16]) {
    std::copy(palette, palette + 16, headless.palette.begin());
    headless.paletteChanges.push_back({headless.virtualMs, headless.palette});
}

static void hGetPalette(uint32_t palette[16]) {
    std::copy(headless.palette.begin(), headless.palette.end(), palette);
}

static void hSetTitle(const char *title) {
    headless.titles.push_back(title ? title : "");
}

static int hGetWindowRect(HostRect *rect) {
    *rect = headless.window;
    return 1;
}

static void hMoveWindow(int x, int y) {
    const int w = headless.window.right - headless.window.left;
    const int h = headless.window.bottom - headless.window.top;
    headless.window = HostRect{x, y, x + w, y + h};
}

static void record(const char *what, int sound, const std::string &path = "", float volume = 0) {
    headless.soundCalls.push_back({headless.virtualMs, what, path, sound, volume});
}

static int hSoundOpen(const char *path, int loop) {
    headless.sounds.push_back(path);
    const int handle = static_cast<int>(headless.sounds.size());
    record(loop ? "open-loop" : "open", handle, path);
    return handle;
}

static void hSoundRelease(int sound) {
    record("release", sound);
}
static void hSoundSetGroup(int sound, int group) {
    record("group", sound, "", float(group));
}

static int hSoundPlay(int sound) {
    if (sound <= 0 || sound > static_cast<int>(headless.sounds.size()))
        return -1;
    const std::string &path = headless.sounds[sound - 1];
    record("play", sound, path);
    headless.channels.push_back({sound, headless.virtualMs});
    return static_cast<int>(headless.channels.size());
}

static int hSoundIsPlaying(int channel) {
    if (channel <= 0 || channel > static_cast<int>(headless.channels.size()))
        return 0;
    return headless.virtualMs - headless.channels[channel - 1].second < HEADLESS_SOUND_MS;
}

static void hSoundVolume(int group, float volume) {
    record("volume", group, "", volume);
}
static void hSoundShutdown() {
    record("shutdown", 0);
}
static void hShutdown() {}

static const SoundHost headlessSound = {
    .open = hSoundOpen,
    .release = hSoundRelease,
    .setGroup = hSoundSetGroup,
    .play = hSoundPlay,
    .isPlaying = hSoundIsPlaying,
    .setGroupVolume = hSoundVolume,
    .shutdown = hSoundShutdown,
};

static Host headlessHost = {
    .name = "headless",
    .now = hNow,
    .counter = hCounter,
    .counterFrequency = hFrequency,
    .idle = hIdle,
    .keyDown = hKeyDown,
    .pendingEvents = hPending,
    .readEvents = hRead,
    .present = hPresent,
    .setPalette = hSetPalette,
    .getPalette = hGetPalette,
    .setTitle = hSetTitle,
    .getWindowRect = hGetWindowRect,
    .moveWindow = hMoveWindow,
    .sound = &headlessSound,
    .shutdown = hShutdown,
};

Host *createHeadlessHost(const HeadlessOptions &options) {
    headless = HeadlessState{};
    headless.script = options.script;
    headless.onFrame = options.onFrame;
    headless.keepFrames = options.keepFrames;
    std::copy(std::begin(standardPalette), std::end(standardPalette), headless.palette.begin());
    uint64_t last = 0;
    bool hasEnd = false;
    for (const ScriptEvent &e : options.script) {
        last = std::max<uint64_t>(last, e.time);
        hasEnd = hasEnd || e.kind == ScriptEvent::END;
    }
    headless.closeAt = hasEnd ? UINT64_MAX : last + options.graceMs;
    return &headlessHost;
}

void headlessQueueEvent(const ScriptEvent &event) {
    auto at = std::upper_bound(
        headless.script.begin() + static_cast<long>(headless.scriptIndex), headless.script.end(),
        event, [](const ScriptEvent &a, const ScriptEvent &b) { return a.time < b.time; });
    headless.script.insert(at, event);
}
