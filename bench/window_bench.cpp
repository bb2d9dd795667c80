// What presenting a frame costs the window host, in processor time, at scale 1:
// a frame whose cells changed (upload and draw) and one that did not (the
// upload is skipped). Opens a real window, so it runs only when asked:
//   WOBBLE_BENCH_WINDOW=1 (with a display; bench/run_all.sh starts Xvfb).
#include "platform/hosts.h"
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <vector>
#ifdef WOBBLE_HAVE_SDL
#include "platform/sdl/sdl_host.h"
#endif

namespace {

Host *windowHost(benchmark::State &state) {
    const char *asked = getenv("WOBBLE_BENCH_WINDOW");
    if (!asked || std::string(asked) != "1") {
        state.SkipWithError("set WOBBLE_BENCH_WINDOW=1 to open a window");
        return nullptr;
    }
    std::string error;
    Host *window = createSdlHost(error);
    if (!window) {
        state.SkipWithError(error.c_str());
        return nullptr;
    }
#ifdef WOBBLE_HAVE_SDL
    sdlSetWindowScale(1);
#endif
    return window;
}

// state.range(0): 1 when every frame differs from the one before.
void BM_WindowPresent(benchmark::State &state) {
    Host *window = windowHost(state);
    if (!window)
        return;
    std::vector<Cell> cells(116 * 88, Cell{0xDB, 0x1E});
    const bool changing = state.range(0) != 0;
    window->present(cells.data(), 116, 88);
    size_t n = 0;
    for (auto _ : state) {
        if (changing)
            cells[(n++ * 37) % cells.size()].attr ^= 0x0F;
        window->present(cells.data(), 116, 88);
    }
    state.SetLabel(changing ? "cells changed" : "nothing changed");
}
BENCHMARK(BM_WindowPresent)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

} // namespace
