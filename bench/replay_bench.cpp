// What the replay costs a frame: the short hash every frame carries and the
// full check of every 60th.
#include "app/replay/replay_format.h"
#include <benchmark/benchmark.h>
#include <vector>

namespace {

std::vector<Cell> sampleFrame() {
    std::vector<Cell> cells(SCREEN_WIDTH * SCREEN_HEIGHT);
    for (size_t i = 0; i < cells.size(); i++)
        cells[i] = Cell{static_cast<uint16_t>(i % 7 ? ' ' : 0xDB), static_cast<uint16_t>(i % 256)};
    return cells;
}

void BM_ReplayFrameHashShort(benchmark::State &state) {
    std::vector<Cell> cells = sampleFrame();
    for (auto _ : state) {
        benchmark::DoNotOptimize(frameHashShort(cells.data(), SCREEN_WIDTH, SCREEN_HEIGHT));
        cells[7].ch++;
    }
}
BENCHMARK(BM_ReplayFrameHashShort);

void BM_ReplayFrameHashFull(benchmark::State &state) {
    std::vector<Cell> cells = sampleFrame();
    for (auto _ : state) {
        benchmark::DoNotOptimize(frameHashFull(cells.data(), SCREEN_WIDTH, SCREEN_HEIGHT));
        cells[7].ch++;
    }
}
BENCHMARK(BM_ReplayFrameHashFull);

} // namespace
