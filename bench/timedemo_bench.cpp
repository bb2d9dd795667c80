// The timedemo: a level's winning input script played by the whole game
// screen in the headless host as fast as the machine allows, drawing
// included. Reports simulated frames per second.
#include "app/states.h"
#include "checkout_paths.h"
#include "console/surface.h"
#include "frontend/front_end.h"
#include "input/timers.h"
#include "platform/files.h"
#include "platform/headless/headless_host.h"
#include "world/play_loop.h"
#include <algorithm>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

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

// A player's folder of its own, with its own high-score file.
std::string privateUserFolder() {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / "wobble-timedemo";
    fs::remove_all(root);
    fs::create_directories(root / "data");
    fs::copy(fs::path(wobbleSourceDir) / "data/stats", root / "data/stats",
             fs::copy_options::recursive);
    return root.string();
}

void playLevel(benchmark::State &state, const char *script, int32_t level) {
    HeadlessOptions options;
    std::string error;
    parseInputScript(readFile(std::string(wobbleSourceDir) + "/tests/levels/" + script),
                     options.script, error);
    dataRoot = wobbleSourceDir;
    userDataRoot = privateUserFolder();
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
    std::filesystem::remove_all(userDataRoot);
    userDataRoot.clear();
}

// Every level proof under tests/levels ("# expect level=N" names its level),
// one benchmark each, named after the script.
int registerLevels() {
    namespace fs = std::filesystem;
    std::vector<fs::path> scripts;
    for (const auto &e : fs::directory_iterator(fs::path(wobbleSourceDir) / "tests/levels"))
        if (e.path().extension() == ".script")
            scripts.push_back(e.path());
    std::sort(scripts.begin(), scripts.end());
    for (const fs::path &p : scripts) {
        const std::string text = readFile(p.string());
        const size_t at = text.find("# expect level=");
        if (at == std::string::npos)
            continue;
        const int32_t level = std::stoi(text.substr(at + 15));
        const std::string name = p.filename().string();
        benchmark::RegisterBenchmark(
            ("BM_Timedemo/" + p.stem().string()).c_str(),
            [name, level](benchmark::State &state) { playLevel(state, name.c_str(), level); })
            ->Unit(benchmark::kMillisecond);
    }
    return 0;
}

const int registered = registerLevels();

} // namespace
