// Shared set-up for tests: a headless host, scratch folders with data roots,
// levels and pictures of their own, runs of the real program and what the
// headless host saw.
#pragma once
#include "checkout_paths.h"
#include "console/surface.h"
#include "platform/files.h"
#include "platform/headless/headless_host.h"
#include "world/level_writer.h"
#include <string>
#include <utility>
#include <vector>

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
    // A .srf picture of `width` x `height` cells, all `fill`.
    void writeSurface(const std::string &name, int width, int height, Cell fill) const;
};

// Fills `dir` with a data root that shares the game's data but has its own
// high-score file, so runs never change the repository's files.
void makeDataRoot(const TempDir &dir);

// An object of a level file; the far corner is not read by the game.
LevelRecord at(int32_t kind, float x, float y, int32_t param = 0);
// The bytes of a level file; the editor's turn block is filled with noise
// the game must skip.
std::string levelBytes(const std::vector<LevelRecord> &objects, int32_t rotationCount,
                       int32_t time);
// Writes data/levels/NAME.lvl and, unless `turns` is null, NAME.rot.
void writeLevel(const TempDir &dir, const std::string &name,
                const std::vector<LevelRecord> &objects, const char *turns, int32_t time = 60,
                int32_t rotationCount = 1);

// How many levels the game's own level list names.
int shippedLevelCount();

// Runs the program as a separate process and returns its standard output;
// the exit code goes to `exitCode`, standard error to `err` when given.
std::string runProgram(const std::string &arguments, int &exitCode, std::string *err = nullptr);
// The last line of a run's output: the program's report.
std::string lastLine(const std::string &out);
// A whole-number field of the program's report, or -999 when it is missing.
long long reportField(const std::string &out, const std::string &name);

// The characters of one row of a whole-screen frame.
std::string rowText(const std::vector<Cell> &frame, int row);
// Where a text first shows in a frame: column and row, or (-1, -1).
std::pair<int, int> findText(const std::vector<Cell> &frame, const std::string &text);
// Whether any of the frames shows the text somewhere.
bool anyFrameShows(const std::vector<std::vector<Cell>> &frames, const std::string &text);

// The file names (without folders) of the sounds the headless host was asked
// to play, from its call number `from` on.
std::vector<std::string> soundPlays(size_t from = 0);
