#include "app/options.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>

static bool readNumber(const char *text, long long low, long long high, long long &out) {
    char *end = nullptr;
    out = strtoll(text, &end, 10);
    return *text && *end == 0 && out >= low && out <= high;
}

struct OptionHelp {
    const char *name; // with "=" when it takes a value
    const char *meaning;
};

static const OptionHelp OPTIONS[] = {
    {"host=NAME", "where the game runs: sdl (a window), term (a terminal), win32 or headless"},
    {"data=DIR", "read the game's data from DIR and keep the player's files there too"},
    {"seed=N", "the seed of every chance decision (0 to 4294967295)"},
    {"script=FILE", "an input script for the headless host (implies --host=headless)"},
    {"frames=DIR", "write every presented frame into DIR as a numbered .srf"},
    {"frame-every=N", "with --frames, only every Nth frame"},
    {"start-level=N", "begin at level N of the list (0 to 39)"},
    {"record=FILE", "record the session into FILE"},
    {"replay=FILE", "play a recorded session back"},
    {"timedemo", "with --replay: as fast as possible, and print the frame rate"},
    {"check-world", "check every object's position after every frame (exit code 4)"},
    {"help", "print this and exit"},
    {"version", "print the version and exit"},
};

// Whether `name` (without the dashes) is an option; `withValue` asks for one that takes "=".
static bool isKnown(const char *name, bool withValue) {
    for (const OptionHelp &o : OPTIONS) {
        const char *eq = strchr(o.name, '=');
        const size_t length = eq ? static_cast<size_t>(eq - o.name) : strlen(o.name);
        if ((eq != nullptr) == withValue && strncmp(name, o.name, length) == 0 && name[length] == 0)
            return true;
    }
    return false;
}

static std::string unknownOption(const char *arg) {
    std::string name(arg, strcspn(arg, "="));
    return "unknown option '" + name + "'; wobblewick --help lists the options";
}

std::string helpText(const std::vector<std::string> &dataPlaces, const std::string &playerFolder) {
    std::string text = "Usage: wobblewick [switches] [options]\n\nSwitches:\n"
                       "  -soundoff, -nosound  play without sound\n"
                       "  -skipsplash          no opening pictures: start at the menu\n"
                       "  -skipmenu            never show the menu: every game starts at once\n"
                       "  -skiptogame          both: start playing at once\n\nOptions:\n";
    for (const OptionHelp &o : OPTIONS) {
        char line[160];
        snprintf(line, sizeof line, "  --%-18s %s\n", o.name, o.meaning);
        text += line;
    }
    text += "\nThe game's data is read from the first of these that holds it:\n";
    for (const std::string &place : dataPlaces)
        text += "  " + place + "\n";
    text +=
        "Your high score, saved levels and screenshots are kept in\n  " +
        (playerFolder.empty() ? std::string("(no home folder: nothing is kept)") : playerFolder) +
        "\n(--data=DIR keeps them in DIR instead).\n";
    return text;
}

bool parseProgramOptions(int argc, char **argv, ProgramOptions &options, std::string &error) {
    for (int i = 1; i < argc; i++) {
        const char *arg = argv[i];
        if (strncmp(arg, "--", 2) != 0)
            continue; // a switch of the game's, or a word it ignores
        const char *eq = strchr(arg, '=');
        if (!eq) {
            if (strcmp(arg, "--timedemo") == 0)
                options.timedemo = true;
            else if (strcmp(arg, "--check-world") == 0)
                options.checkWorld = true;
            else if (strcmp(arg, "--help") == 0)
                options.help = true;
            else if (strcmp(arg, "--version") == 0)
                options.version = true;
            else if (strchr(arg, '=') == nullptr && isKnown(arg + 2, true)) {
                error = std::string(arg) + " needs a value: " + arg + "=...";
                return false;
            } else {
                error = unknownOption(arg);
                return false;
            }
            continue;
        }
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
        } else {
            error = unknownOption(arg);
            return false;
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
