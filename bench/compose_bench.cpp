// A whole frame as every screen draws it: clear, 30 pictures, present.
#include "console/surface.h"
#include "platform/headless/headless_host.h"
#include <benchmark/benchmark.h>
#include <cstring>
#include <vector>

namespace {

// The headless host and a back buffer for as long as a benchmark runs.
struct HeadlessFrame {
    HeadlessFrame() {
        host = createHeadlessHost(HeadlessOptions{});
        backBuffer = createBackBuffer();
    }
    ~HeadlessFrame() {
        freeBackBuffer(backBuffer);
        backBuffer = nullptr;
        host = nullptr;
    }
};

// Pictures of the sizes a game frame draws: the play field, HUD panels,
// figures and digits, some of them partly off the screen.
std::vector<Surface *> framePictures() {
    std::vector<Surface *> pictures;
    for (int i = 0; i < 30; i++) {
        const int w = i == 0 ? 87 : 4 + (i * 7) % 20, h = i == 0 ? 87 : 3 + (i * 5) % 16;
        Surface *s = createSurface(w, h);
        for (int c = 0; c < w * h; c++)
            s->cells[c] = Cell{static_cast<uint16_t>(c % 3 ? 0xDB : ' '), static_cast<uint16_t>(c)};
        pictures.push_back(s);
    }
    return pictures;
}

void compose(const std::vector<Surface *> &pictures) {
    clearScreen();
    for (int i = 0; i < 30; i++)
        blitSurface(pictures[i], static_cast<int16_t>(i == 0 ? 0 : (i * 37) % 120 - 4),
                    static_cast<int16_t>(i == 0 ? 0 : (i * 23) % 92 - 4));
}

// Clear and a full frame's blits: what every screen does before presenting.
void BM_ComposeFrame(benchmark::State &state) {
    HeadlessFrame frame;
    const std::vector<Surface *> pictures = framePictures();
    for (auto _ : state) {
        compose(pictures);
        benchmark::ClobberMemory();
    }
    for (Surface *s : pictures)
        freeSurface(s);
}
BENCHMARK(BM_ComposeFrame);

// The same, presented to the headless host (which copies the frame).
void BM_ComposeAndPresentFrame(benchmark::State &state) {
    HeadlessFrame frame;
    const std::vector<Surface *> pictures = framePictures();
    for (auto _ : state) {
        compose(pictures);
        presentScreen();
    }
    for (Surface *s : pictures)
        freeSurface(s);
}
BENCHMARK(BM_ComposeAndPresentFrame);

// The floor under composing: one plain copy of a frame's 40 KB of cells.
void BM_PlainFrameCopy(benchmark::State &state) {
    std::vector<Cell> from(SCREEN_WIDTH * SCREEN_HEIGHT, Cell{'x', 7}), to(from.size());
    for (auto _ : state) {
        memcpy(to.data(), from.data(), sizeof(Cell) * from.size());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PlainFrameCopy);

} // namespace
