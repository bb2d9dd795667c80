// The timedemo: a level's winning input script played by the whole game
// screen in the headless host as fast as the machine allows, drawing
// included. Reports simulated frames per second.
#include "app/states.h"
#include "console/data_path.h"
#include "console/surface.h"
#include "frontend/front_end.h"
#include "input/timers.h"
#include "platform/headless/headless_host.h"
#include "world/play_loop.h"
#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

void scriptEnded() {
    screenState.current = STATE_EXIT;
}

std::string readFile(const std::string &path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A data root that shares the game's data but keeps its own high-score file.
std::string privateDataRoot() {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / "wobble-timedemo";
    fs::remove_all(root);
    fs::create_directories(root / "data");
    for (const auto &entry : fs::directory_iterator(fs::path(WOBBLE_SOURCE_DIR) / "data")) {
        if (entry.path().filename() == "stats")
            fs::copy(entry.path(), root / "data/stats", fs::copy_options::recursive);
        else
            fs::create_directory_symlink(entry.path(), root / "data" / entry.path().filename());
    }
    return root.string();
}

void playLevel(benchmark::State &state, const char *script, int32_t level) {
    HeadlessOptions options;
    std::string error;
    parseInputScript(readFile(std::string(WOBBLE_SOURCE_DIR) + "/tests/levels/" + script),
                     options.script, error);
    dataRoot = privateDataRoot();
    soundOff = 1;
    uint64_t frames = 0;
    for (auto _ : state) {
        host = createHeadlessHost(options);
        hostCloseRequested = scriptEnded;
        backBuffer = createBackBuffer();
        timerMode = TIMER_COUNTER;
        counterFrequency = host->counterFrequency();
        FrontEnd_Init();
        firstLevelIndex = level;
        screenState = ScreenState{STATE_GAME, STATE_GAME};
        playLoop(&screenState);
        frames += headless.framesPresented;
        FrontEnd_Shutdown();
        freeBackBuffer(backBuffer);
        backBuffer = nullptr;
    }
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
    firstLevelIndex = 0;
    hostCloseRequested = nullptr;
    std::filesystem::remove_all(dataRoot);
}

} // namespace

static void BM_TimedemoWake(benchmark::State &state) {
    playLevel(state, "01-wake.script", 0);
}
BENCHMARK(BM_TimedemoWake)->Unit(benchmark::kMillisecond);

static void BM_TimedemoPatrol(benchmark::State &state) {
    playLevel(state, "03-patrol.script", 2);
}
BENCHMARK(BM_TimedemoPatrol)->Unit(benchmark::kMillisecond);
