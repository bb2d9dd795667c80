// Shared set-up for tests: a headless host and a fresh back buffer.
#pragma once
#include "console/data_path.h"
#include "console/surface.h"
#include "platform/headless/headless_host.h"
#include <string>

// Puts a headless host with the given script in place for one test and
// takes it away again afterwards.
struct HeadlessGame {
    explicit HeadlessGame(const std::string &script = "", uint32_t graceMs = 3600000);
    ~HeadlessGame();
};

// A temporary folder that is removed with everything in it.
struct TempDir {
    TempDir();
    ~TempDir();
    std::string path;
    std::string file(const std::string &name) const { return path + "/" + name; }
    void write(const std::string &name, const std::string &content) const;
    std::string read(const std::string &name) const;
};

// Fills `dir` with a data root that shares the game's data but has its own
// high-score file, so runs never change the repository's files.
void makeDataRoot(const TempDir &dir);

// Runs the program as a separate process and returns its standard output;
// the exit code goes to `exitCode`.
std::string runProgram(const std::string &arguments, int &exitCode);
