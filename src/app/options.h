// The program's own options, beside the game's switches: which host, where
// the data lives, the seed, and what the headless host plays and keeps.
#pragma once
#include <cstdint>
#include <string>

struct ProgramOptions {
    std::string host;    // headless, sdl or term; empty picks one
    std::string dataDir; // the data root
    bool seedGiven = false;
    uint32_t seed = 1;
    std::string scriptPath; // input script for the headless host
    std::string framesDir;  // write every presented frame here
    int frameEvery = 1;
    int startLevel = 0; // the game begins at this level of the list (level proofs)
};

// Reads the --options; anything else is left for the switches (and ignored
// when it is neither). Returns false with a message for a malformed option.
bool parseProgramOptions(int argc, char **argv, ProgramOptions &options, std::string &error);
