#include "app/options.h"
#include <cstdlib>
#include <cstring>

static bool readNumber(const char *text, long long low, long long high, long long &out) {
    char *end = nullptr;
    out = strtoll(text, &end, 10);
    return *text && *end == 0 && out >= low && out <= high;
}

bool parseProgramOptions(int argc, char **argv, ProgramOptions &options, std::string &error) {
    for (int i = 1; i < argc; i++) {
        const char *arg = argv[i];
        if (strcmp(arg, "--timedemo") == 0)
            options.timedemo = true;
        if (strcmp(arg, "--check-world") == 0)
            options.checkWorld = true;
        const char *eq = strchr(arg, '=');
        if (strncmp(arg, "--", 2) != 0 || !eq)
            continue;
        std::string name(arg + 2, eq);
        const char *value = eq + 1;
        long long n = 0;
        if (name == "host") {
            options.host = value;
            if (options.host != "headless" && options.host != "sdl" && options.host != "term" &&
                options.host != "web" && options.host != "win32") {
                error =
                    "--host must be headless, sdl, term, web or win32, not '" + options.host + "'";
                return false;
            }
        } else if (name == "data") {
            options.dataDir = value;
        } else if (name == "seed") {
            if (!readNumber(value, 0, 4294967295LL, n)) {
                error =
                    std::string("--seed needs a number from 0 to 4294967295, not '") + value + "'";
                return false;
            }
            options.seed = static_cast<uint32_t>(n);
            options.seedGiven = true;
        } else if (name == "script") {
            options.scriptPath = value;
        } else if (name == "frames") {
            options.framesDir = value;
        } else if (name == "frame-every") {
            if (!readNumber(value, 1, 1000000, n)) {
                error =
                    std::string("--frame-every needs a number of 1 or more, not '") + value + "'";
                return false;
            }
            options.frameEvery = static_cast<int>(n);
        } else if (name == "start-level") {
            if (!readNumber(value, 0, 39, n)) {
                error = std::string("--start-level needs a level number from 0 to 39, not '") +
                        value + "'";
                return false;
            }
            options.startLevel = static_cast<int>(n);
        } else if (name == "record") {
            options.recordPath = value;
        } else if (name == "replay") {
            options.replayPath = value;
        }
    }
    if (!options.recordPath.empty() && !options.replayPath.empty()) {
        error = "--record and --replay cannot be used together";
        return false;
    }
    if (!options.replayPath.empty() && !options.scriptPath.empty()) {
        error = "a replay brings its own input: leave out --script";
        return false;
    }
    if (options.timedemo && options.replayPath.empty()) {
        error = "--timedemo plays a replay: give --replay=FILE";
        return false;
    }
    return true;
}

bool shapesTheGame(const char *argument) {
    return strncmp(argument, "--", 2) != 0 || strncmp(argument, "--start-level=", 14) == 0 ||
           strcmp(argument, "--check-world") == 0;
}
