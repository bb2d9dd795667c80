#include "app/program.h"
#include "app/options.h"
#include "app/report.h"
#include "app/startup.h"
#include "app/states.h"
#include "console/data_path.h"
#include "platform/headless/headless_host.h"
#include "platform/hosts.h"
#include "world/play_loop.h"
#include <cstdio>
#include <cstdlib>
#include <ctime>

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

static Host *chooseHost(const ProgramOptions &options, std::string &error) {
    std::string name = options.host;
    if (name.empty() && !options.scriptPath.empty())
        name = "headless";
    if (name.empty()) {
        if (displayAvailable())
            name = "sdl";
        else if (outputIsTerminal())
            name = "term";
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
    HeadlessOptions headlessOptions;
    if (!options.scriptPath.empty() &&
        !loadInputScript(options.scriptPath.c_str(), headlessOptions.script, error))
        return nullptr;
    headlessOptions.framesDir = options.framesDir;
    headlessOptions.frameEvery = options.frameEvery;
    return createHeadlessHost(headlessOptions);
}

int wobblewickMain(int argc, char **argv) {
    ProgramOptions options;
    std::string error;
    if (!parseProgramOptions(argc, argv, options, error)) {
        fprintf(stderr, "wobblewick: %s\n", error.c_str());
        return 2;
    }
    dataRoot = options.dataDir;
    firstLevelIndex = options.startLevel;
    host = chooseHost(options, error);
    if (!host) {
        fprintf(stderr, "wobblewick: %s\n", error.c_str());
        return 2;
    }
    // Every chance in the game comes from rand(); a run is repeatable from its seed.
    const bool repeatable = std::string(host->name) == "headless";
    chanceSeed =
        options.seedGiven || repeatable ? options.seed : static_cast<unsigned>(time(nullptr));
    srand(chanceSeed);
    programStartClock = host->now();
    hostCloseRequested = closeProgram;

    clearSwitches();
    if (argc != 1)
        parseSwitches(argv);
    finish(runStates());
}
