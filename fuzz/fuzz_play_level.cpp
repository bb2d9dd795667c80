// Any bytes as a level that is then played for a few seconds of game time on
// the headless host, with the world check on. The first byte is the length of
// the .rot file and the second the number of key steps (one every 100 ms),
// then come those bytes and the rest is the .lvl file, listed twice so that
// finishing it (F9 among the keys) scores its bonus and loads it again.
// Object places are moved into the room first, so that the check watches the
// game and not the file. At the end the pause's quit leaves the game; a game
// that does not leave, an object that leaves the room or is no number, and an
// arithmetic overflow (under the sanitizer) all stop the fuzzer.
#include "app/states.h"
#include "console/surface.h"
#include "frontend/front_end.h"
#include "input/keyboard.h"
#include "input/timers.h"
#include "platform/files.h"
#include "platform/headless/headless_host.h"
#include "world/high_score.h"
#include "world/levels.h"
#include "world/play_loop.h"
#include "world/play_state.h"
#include "world/world_check.h"
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

static std::string root;

constexpr size_t MAX_KEY_STEPS = 48;
constexpr uint32_t STEP_MS = 100;

static void writeFile(const std::string &path, const void *data, size_t size) {
    if (FILE *f = fopen(path.c_str(), "wb")) {
        if (size > 0) // an empty part may have no bytes to point at
            fwrite(data, 1, size, f);
        fclose(f);
    }
}

[[noreturn]] static void worldBroken(int) {
    abort();
}

// The script ends long after the quit; reaching its end means the game did
// not leave when told.
[[noreturn]] static void gameDidNotLeave() {
    fprintf(stderr, "the game went on after the pause's quit\n");
    abort();
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    char pattern[] = "/tmp/fuzz-play-XXXXXX";
    root = mkdtemp(pattern);
    namespace fs = std::filesystem;
    // The shipped pictures and animations, from the repository the fuzzer runs in.
    fs::create_directories(root + "/data/levels");
    fs::copy("data/surfaces", root + "/data/surfaces", fs::copy_options::recursive);
    fs::create_directories(root + "/data/stats");
    const char list[] = "2f\nMystery\nf\nMystery\n";
    writeFile(root + "/data/levels/Levels.txt", list, sizeof list - 1);
    dataRoot = root;
    soundOff = 1;
    worldChecks = true;
    worldCheckFailed = worldBroken;
    hostCloseRequested = gameDidNotLeave;
    HeadlessOptions options;
    host = createHeadlessHost(options);
    backBuffer = createBackBuffer();
    counterFrequency = host->counterFrequency();
    timerMode = TIMER_COUNTER;
    FrontEnd_Init();
    return 0;
}

static float intoRoom(float v) {
    return std::isfinite(v) ? 2.0f + std::fmod(std::fabs(v), 76.0f) : 40.0f;
}

// Every record's place moved into the room; everything else as it came.
static std::vector<uint8_t> levelInRoom(const uint8_t *data, size_t size) {
    std::vector<uint8_t> level(data, data + size);
    for (size_t at = LEVEL_HEADER_BYTES + LEVEL_EDITOR_BLOCK_BYTES;
         at + LEVEL_RECORD_BYTES <= level.size(); at += LEVEL_RECORD_BYTES)
        for (size_t field : {at + 4, at + 8}) {
            float v;
            memcpy(&v, &level[field], sizeof v);
            v = intoRoom(v);
            memcpy(&level[field], &v, sizeof v);
        }
    return level;
}

// A key byte's low three bits choose the key; a walk is held for one to
// four steps, as its top two bits say.
static std::string keyScript(const uint8_t *keys, size_t count) {
    static const char *const taps[] = {"UP", "SPACE", "S", "DOWN", "F9", "F5"};
    std::string script;
    uint32_t t = STEP_MS;
    for (size_t i = 0; i < count; i++, t += STEP_MS) {
        const int choice = keys[i] % 8;
        const std::string at = std::to_string(t);
        if (choice < 2) {
            const std::string key = choice == 0 ? "RIGHT" : "LEFT";
            script += at + " down " + key + "\n" +
                      std::to_string(t + STEP_MS * (1 + keys[i] / 64)) + " up " + key + "\n";
        } else {
            script += at + " tap " + taps[choice - 2] + "\n";
        }
    }
    // Pause, quit to the menu. Keys tapped while the room shakes are not
    // seen, so the pair comes again after any shake could have ended; the
    // end comes only if none of them worked.
    for (int i = 0; i < 8; i++, t += 15 * STEP_MS) {
        script += std::to_string(t + 5 * STEP_MS) + " tap ESCAPE\n";
        script += std::to_string(t + 7 * STEP_MS) + " tap Q\n";
    }
    script += std::to_string(t + 60000) + " end\n";
    return script;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 2)
        return 0;
    const size_t rotSize = std::min<size_t>(data[0], size - 2);
    const size_t keyCount = std::min<size_t>({data[1], size - 2 - rotSize, MAX_KEY_STEPS});
    const uint8_t *rot = data + 2, *keys = rot + rotSize, *lvl = keys + keyCount;
    const std::vector<uint8_t> level = levelInRoom(lvl, size - 2 - rotSize - keyCount);
    writeFile(root + "/data/levels/f.rot", rot, rotSize);
    writeFile(root + "/data/levels/f.lvl", level.data(), level.size());
    writeFile(root + "/data/stats/highScores.txt", "2000", 4);

    HeadlessOptions options;
    std::string error;
    if (!parseInputScript(keyScript(keys, keyCount), options.script, error))
        abort();
    host = createHeadlessHost(options);
    memset(currentKeys, 0, sizeof currentKeys);
    memset(previousKeys, 0, sizeof previousKeys);
    pausedTotal = 0;
    score = 0;
    lives = STARTING_LIVES;
    credits = 0;
    highScore = 0;
    ScreenState state = {STATE_GAME, STATE_GAME};
    playLoop(&state);
    closeHighScoreFile();
    if (state.current == STATE_GAME)
        abort();
    return 0;
}
