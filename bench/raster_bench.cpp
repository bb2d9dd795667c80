// Turning a whole 116 x 88 frame into 928 x 704 pixels, as the window host
// does every frame.
#include "console/console_setup.h"
#include "platform/raster/rasteriser.h"
#include <benchmark/benchmark.h>
#include <vector>

static void BM_RasteriseFullFrame(benchmark::State &state) {
    std::vector<Cell> cells(SCREEN_WIDTH * SCREEN_HEIGHT);
    for (size_t i = 0; i < cells.size(); i++)
        cells[i] = Cell{static_cast<uint16_t>(i * 31 % 256), static_cast<uint16_t>(i * 17 % 256)};
    std::vector<uint32_t> pixels(FRAME_PIXEL_WIDTH * FRAME_PIXEL_HEIGHT);
    for (auto _ : state) {
        rasteriseCells(cells.data(), SCREEN_WIDTH, SCREEN_HEIGHT, standardPalette, pixels.data(),
                       FRAME_PIXEL_WIDTH);
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(cells.size()));
}
BENCHMARK(BM_RasteriseFullFrame);
