// The program's own options, beside the game's switches: which host, where
// the data lives, the seed, and what the headless host plays and keeps.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct ProgramOptions {
    std::string host;    // headless, sdl, term or web; empty picks one
    std::string dataDir; // the data root
    bool seedGiven = false;
    uint32_t seed = 1;
    std::string scriptPath; // input script for the headless host
    std::string framesDir;  // write every presented frame here
    int frameEvery = 1;
    int startLevel = 0;      // the game begins at this level of the list (level proofs)
    std::string recordPath;  // write a replay of the session here
    std::string replayPath;  // play this replay back
    bool timedemo = false;   // play the replay as fast as possible and report the speed
    bool checkWorld = false; // check every object's position after every frame
    bool help = false;       // print the switches and options, and where files are
    bool version = false;    // print the version the program was built from
};

// What --help prints: every switch and option, one line each, then the
// places data is read from and written to.
std::string helpText(const std::vector<std::string> &dataPlaces, const std::string &playerFolder);

// Whether an argument shapes the game itself (the switches, the start level,
// the world check) rather than where it runs: a replay keeps these.
bool shapesTheGame(const char *argument);

// Reads the --options; anything else is left for the switches (and ignored
// when it is neither). Returns false with a message for a malformed or
// unknown option.
bool parseProgramOptions(int argc, char **argv, ProgramOptions &options, std::string &error);
