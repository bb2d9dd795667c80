// What one present costs the window host at scale 1 and 2: a frame whose
// cells all changed (drawn and uploaded), a frame of play where a figure
// moves (only its rows drawn and uploaded), a frame like the last one (the
// upload is skipped) and a palette change alone (the whole picture recoloured).
// With no display the host draws on SDL's invisible "dummy" display, which
// still measures drawing and upload in software.
#ifdef WOBBLE_HAVE_SDL
#include "platform/hosts.h"
#include "platform/sdl/sdl_host.h"
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

Host *windowHost() {
    static Host *opened = nullptr;
    static bool tried = false;
    if (!tried) {
        tried = true;
        if (!displayAvailable())
            setenv("SDL_VIDEODRIVER", "dummy", 0);
        std::string error;
        opened = createSdlHost(error);
    }
    return opened;
}

std::vector<Cell> testFrame(int seed) {
    std::vector<Cell> cells(SCREEN_WIDTH * SCREEN_HEIGHT);
    for (size_t i = 0; i < cells.size(); i++)
        cells[i] = Cell{static_cast<uint16_t>((i * 7 + seed) & 255),
                        static_cast<uint16_t>((i / 3 + seed) & 255)};
    return cells;
}

// Sets the window to the scale and says where the host draws.
bool prepare(benchmark::State &state, Host *&h) {
    h = windowHost();
    if (!h) {
        state.SkipWithError("the window host cannot open here");
        return false;
    }
    sdlSetWindowScale(static_cast<int>(state.range(0)));
    state.SetLabel(std::string(SDL_GetCurrentVideoDriver()) + " scale " +
                   std::to_string(sdlPictureScale()));
    return true;
}

} // namespace

static void BM_SdlPresentChangedFrame(benchmark::State &state) {
    Host *h;
    if (!prepare(state, h))
        return;
    const std::vector<Cell> a = testFrame(1), b = testFrame(2);
    const uint64_t uploadsBefore = sdl.texturesUploaded;
    bool flip = false;
    for (auto _ : state) {
        h->present((flip ? a : b).data(), SCREEN_WIDTH, SCREEN_HEIGHT);
        flip = !flip;
    }
    state.counters["uploads"] = static_cast<double>(sdl.texturesUploaded - uploadsBefore);
}
BENCHMARK(BM_SdlPresentChangedFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// A frame of play: a 5 x 6 figure steps one cell along a row, so six rows
// of cells change and only they are drawn and uploaded again.
static void BM_SdlPresentPlayFrame(benchmark::State &state) {
    Host *h;
    if (!prepare(state, h))
        return;
    std::vector<Cell> frame = testFrame(5);
    h->present(frame.data(), SCREEN_WIDTH, SCREEN_HEIGHT);
    int x = 0;
    for (auto _ : state) {
        for (int y = 40; y < 46; y++)
            for (int dx = 0; dx < 6; dx++)
                frame[y * SCREEN_WIDTH + (x + dx) % SCREEN_WIDTH].attr ^=
                    dx == 0 || dx == 5 ? 0x0F : 0;
        x = (x + 1) % 110;
        h->present(frame.data(), SCREEN_WIDTH, SCREEN_HEIGHT);
    }
}
BENCHMARK(BM_SdlPresentPlayFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

static void BM_SdlPresentSameFrame(benchmark::State &state) {
    Host *h;
    if (!prepare(state, h))
        return;
    const std::vector<Cell> a = testFrame(3);
    h->present(a.data(), SCREEN_WIDTH, SCREEN_HEIGHT);
    const uint64_t uploadsBefore = sdl.texturesUploaded;
    for (auto _ : state)
        h->present(a.data(), SCREEN_WIDTH, SCREEN_HEIGHT);
    state.counters["uploads"] = static_cast<double>(sdl.texturesUploaded - uploadsBefore);
}
BENCHMARK(BM_SdlPresentSameFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

static void BM_SdlPaletteChange(benchmark::State &state) {
    Host *h;
    if (!prepare(state, h))
        return;
    const std::vector<Cell> a = testFrame(4);
    h->present(a.data(), SCREEN_WIDTH, SCREEN_HEIGHT);
    uint32_t palette[16];
    h->getPalette(palette);
    for (auto _ : state) {
        palette[0] ^= 0x010101; // a fade step: one entry changes
        h->setPalette(palette);
    }
}
BENCHMARK(BM_SdlPaletteChange)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
#endif
