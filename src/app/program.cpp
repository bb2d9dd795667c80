#include "app/program.h"
#include "app/data_folders.h"
#include "app/options.h"
#include "app/replay/replay.h"
#include "app/report.h"
#include "app/startup.h"
#include "app/states.h"
#include "console/surface_files.h"
#include "platform/files.h"
#include "platform/headless/headless_host.h"
#include "platform/hosts.h"
#include "world/chance.h"
#include "world/play_loop.h"
#include "world/world_check.h"
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>
#include <wobble_version.h>

static bool closing = false;

// Ends the run: the host is put back as it was and the report goes out last.
[[noreturn]] static void finish(int exitCode) {
    fflush(stderr);
    if (host)
        host->shutdown();
    printf("%s\n", exitReport(exitCode).c_str());
    fflush(stdout);
    exit(exitCode);
}

void closeProgram() {
    if (closing)
        finish(0);
    closing = true;
    // The same way out as the exit state; streams still open are flushed by exit().
    screenState.current = STATE_EXIT;
    if (exitHook)
        exitHook(&screenState);
    shutDown();
    finish(0);
}

// --frames: every frameEvery-th presented frame goes to framesDir as a numbered .srf.
static std::string framesDir;
static int frameEvery = 1;

static void writeFrame(const Cell *cells, int width, int height, uint64_t number) {
    if (number % frameEvery != 0)
        return;
    char name[64];
    snprintf(name, sizeof name, "/frame_%06llu.srf", static_cast<unsigned long long>(number));
    std::vector<unsigned char> bytes = encodeSurface(cells, width, height);
    if (FILE *f = fopen((framesDir + name).c_str(), "wb")) {
        fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }
}

static Host *chooseHost(const ProgramOptions &options, std::string &error) {
    std::string name = options.host;
    if (name.empty() && (!options.scriptPath.empty() || options.timedemo))
        name = "headless";
    if (name.empty()) {
        if (displayAvailable())
            name = "sdl";
        else if (outputIsTerminal())
            name = terminalHostName();
        else {
            error = "no display and no terminal here: start with --host=headless (for tests "
                    "and replays), or run from a terminal or a desktop session";
            return nullptr;
        }
    }
    if (name == "sdl")
        return createSdlHost(error);
    if (name == "term")
        return createTermHost(error);
    if (name == "web")
        return createWebHost(error);
    if (name == "win32")
        return createWin32Host(error);
    HeadlessOptions headlessOptions;
    if (!options.scriptPath.empty() &&
        !loadInputScript(options.scriptPath.c_str(), headlessOptions.script, error))
        return nullptr;
    if (!options.framesDir.empty()) {
        framesDir = options.framesDir;
        frameEvery = std::max(1, options.frameEvery);
        headlessOptions.onFrame = writeFrame;
    }
    // A replay's end comes from the recording, not from a script.
    if (!options.replayPath.empty())
        headlessOptions.graceMs = UINT32_MAX;
    return createHeadlessHost(headlessOptions);
}

int wobblewickMain(int argc, char **argv) {
    ProgramOptions options;
    std::string error;
    if (!parseProgramOptions(argc, argv, options, error)) {
        fprintf(stderr, "wobblewick: %s\n", error.c_str());
        return 2;
    }
    // A replay plays with the recording's switches and game options; only
    // where it runs (host, data, --timedemo...) comes from this command line.
    ReplayHeader replay;
    std::vector<char *> replayArgs;
    if (!options.replayPath.empty()) {
        if (!loadReplay(options.replayPath.c_str(), replay, error)) {
            fprintf(stderr, "wobblewick: %s\n", error.c_str());
            return 2;
        }
        replayArgs.push_back(argv[0]);
        for (std::string &a : replay.arguments)
            replayArgs.push_back(a.data());
        for (int i = 1; i < argc; i++)
            if (!shapesTheGame(argv[i]))
                replayArgs.push_back(argv[i]);
        replayArgs.push_back(nullptr);
        argc = static_cast<int>(replayArgs.size()) - 1;
        argv = replayArgs.data();
        options = ProgramOptions{};
        if (!parseProgramOptions(argc, argv, options, error)) {
            fprintf(stderr, "wobblewick: the replay's options: %s\n", error.c_str());
            return 2;
        }
    }
    if (options.version) {
        printf("wobblewick %s\n", WOBBLE_VERSION);
        return 0;
    }
    if (options.help) {
        printf("%s", helpText(dataRootCandidates(options.dataDir), playerFolder()).c_str());
        return 0;
    }
    if (!findDataRoot(options.dataDir, error)) {
        fprintf(stderr, "wobblewick: %s\n", error.c_str());
        return 2;
    }
    // A data folder given by hand is also where the player's files go.
    if (options.dataDir.empty() && options.replayPath.empty())
        setUpPlayerFolder();
    firstLevelIndex = options.startLevel;
    host = chooseHost(options, error);
    if (!host) {
        fprintf(stderr, "wobblewick: %s\n", error.c_str());
        return 2;
    }
    // Every chance in the game comes from chanceNext(); a run is repeatable from its seed.
    const bool repeatable = std::string(host->name) == "headless";
    uint32_t seed =
        options.seedGiven || repeatable ? options.seed : static_cast<uint32_t>(time(nullptr));
    Host *real = host;
    if (!options.recordPath.empty()) {
        ReplayHeader header;
        header.seed = seed;
        header.hostName = host->name;
        for (int i = 1; i < argc; i++)
            if (shapesTheGame(argv[i]))
                header.arguments.push_back(argv[i]);
        gatherReplayFiles(header);
        host = wrapForRecording(host, options.recordPath.c_str(), header, error);
    } else if (!options.replayPath.empty()) {
        seed = replay.seed;
        std::string root;
        if (makeReplayFolder(replay, root, error)) {
            userDataRoot = root;
            host = wrapForReplay(host, options.timedemo);
        } else
            host = nullptr;
        // The kept files are written out (the arguments stay: argv points into them).
        replay.files = {};
    }
    if (!host) {
        real->shutdown();
        fprintf(stderr, "wobblewick: %s\n", error.c_str());
        return 2;
    }
    replayStop = finish;
    worldChecks = options.checkWorld;
    worldCheckFailed = finish;
    chanceSeed = seed;
    chanceSeedWith(seed);
    programStartClock = host->now();
    hostCloseRequested = closeProgram;

    clearSwitches();
    if (argc != 1)
        parseSwitches(argv);
    finish(runStates());
}
