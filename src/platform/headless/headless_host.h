// The host without screen or sound device: a virtual clock that moves only
// when the game idles, scripted input, and every output kept for the caller.
#pragma once
#include "platform/headless/input_script.h"
#include "platform/host.h"
#include <array>
#include <string>
#include <vector>

struct HeadlessOptions {
    std::vector<ScriptEvent> script;
    // Called with every presented frame and its number, counted from 1.
    void (*onFrame)(const Cell *cells, int width, int height, uint64_t number) = nullptr;
    bool keepFrames = false; // keep every presented frame in memory
    // Without an "end" line the run closes this long after the last event.
    uint32_t graceMs = 5000;
};

struct HeadlessSoundCall {
    uint64_t time;    // virtual ms since start
    std::string what; // open, release, group, play, volume, shutdown
    std::string path; // for open
    int sound;        // the handle, or the group for volume
    float volume;
};

struct HeadlessState {
    uint64_t virtualMs = 0; // since start
    uint32_t clockBase = 100000;
    std::vector<ScriptEvent> script;
    size_t scriptIndex = 0;
    uint64_t closeAt = 0;
    bool closed = false;
    std::array<uint8_t, 256> held{};
    std::vector<HostEvent> queue;
    uint64_t framesPresented = 0;
    std::vector<Cell> lastFrame;
    std::vector<std::vector<Cell>> frames;
    bool keepFrames = false;
    void (*onFrame)(const Cell *cells, int width, int height, uint64_t number) = nullptr;
    std::array<uint32_t, 16> palette{};
    std::vector<std::pair<uint64_t, std::array<uint32_t, 16>>> paletteChanges;
    std::vector<std::string> titles;
    HostRect window{200, 150, 200 + 928, 150 + 704};
    std::vector<HeadlessSoundCall> soundCalls;
    std::vector<std::pair<int, uint64_t>> channels; // sound, virtual ms started
    std::vector<std::string> sounds;                // path by handle - 1
};

extern HeadlessState headless;

// Resets the headless state and returns the host table.
Host *createHeadlessHost(const HeadlessOptions &options);
// Adds events to the script while running (tests that react to the game).
void headlessQueueEvent(const ScriptEvent &event);
// How long a played effect counts as playing: the headless host plays no audio.
constexpr uint32_t HEADLESS_SOUND_MS = 500;
