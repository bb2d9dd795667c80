#include "test_support.h"
#include "console/surface_files.h"
#include "input/keyboard.h"
#include "input/timers.h"
#include "platform/host.h"
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#ifndef _WIN32
#include <sys/wait.h>
#endif

HeadlessGame::HeadlessGame(const std::string &script, uint32_t graceMs) {
    HeadlessOptions options;
    std::string error;
    if (!parseInputScript(script, options.script, error))
        ADD_FAILURE() << error;
    options.graceMs = graceMs;
    host = createHeadlessHost(options);
    hostCloseRequested = nullptr;
    backBuffer = createBackBuffer();
    memset(currentKeys, 0, sizeof currentKeys);
    memset(previousKeys, 0, sizeof previousKeys);
    onKey = nullptr;
    onLeftButton = nullptr;
    onMouseMove = nullptr;
    lastMousePos = {0, 0};
    counterFrequency = host->counterFrequency();
    timerMode = TIMER_COUNTER;
    pausedTotal = 0;
    dataRoot = wobbleSourceDir;
}

HeadlessGame::~HeadlessGame() {
    freeBackBuffer(backBuffer);
    backBuffer = nullptr;
    host = nullptr;
}

TempDir::TempDir() : path(makeTempFolder("wobble-test")) {
    if (path.empty())
        ADD_FAILURE() << "no temporary folder";
}

TempDir::~TempDir() {
    // Never throws: a file still open (Windows keeps those) leaves the folder behind.
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
    if (ec)
        ADD_FAILURE() << "cannot remove " << path << ": " << ec.message();
}

void TempDir::write(const std::string &name, const std::string &content) const {
    std::filesystem::create_directories(std::filesystem::path(file(name)).parent_path());
    // A new file, never the shared (hard-linked) one of a data root written through.
    std::filesystem::remove(file(name));
    std::ofstream(file(name), std::ios::binary) << content;
}

std::string TempDir::read(const std::string &name) const {
    std::ifstream f(file(name), std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

std::string runProgram(const std::string &arguments, int &exitCode, std::string *err) {
    TempDir errDir;
#ifdef _WIN32
    // The Windows shell takes back slashes, and the program's exit code is pclose's result.
    std::string binary = wobbleBinary;
    std::replace(binary.begin(), binary.end(), '/', '\\');
    const std::string command =
        binary + " " + arguments + " 2>" + (err ? errDir.file("err") : std::string("NUL"));
#else
    // The player's folder is a private one, never the real home.
    const std::string command = "XDG_DATA_HOME=" + errDir.file("home") + " " +
                                std::string(wobbleBinary) + " " + arguments + " 2>" +
                                (err ? errDir.file("err") : std::string("/dev/null"));
#endif
    FILE *pipe = popen(command.c_str(), "r");
    std::string out;
    std::array<char, 4096> chunk;
    size_t n;
    while ((n = fread(chunk.data(), 1, chunk.size(), pipe)) > 0)
        out.append(chunk.data(), n);
    int status = pclose(pipe);
#ifdef _WIN32
    exitCode = status;
#else
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    if (err)
        *err = errDir.read("err");
    return out;
}

std::string lastLine(const std::string &out) {
    std::string t = out;
    while (!t.empty() && t.back() == '\n')
        t.pop_back();
    const size_t at = t.rfind('\n');
    return at == std::string::npos ? t : t.substr(at + 1);
}

long long reportField(const std::string &out, const std::string &name) {
    const size_t at = out.rfind("\"" + name + "\":");
    if (at == std::string::npos)
        return -999;
    return strtoll(out.c_str() + at + name.size() + 3, nullptr, 10);
}

void TempDir::writeSurface(const std::string &name, int width, int height, Cell fill) const {
    const std::vector<Cell> cells(static_cast<size_t>(width * height), fill);
    const std::vector<unsigned char> bytes = encodeSurface(cells.data(), width, height);
    write(name, std::string(bytes.begin(), bytes.end()));
}

LevelRecord at(int32_t kind, float x, float y, int32_t param) {
    return LevelRecord{kind, x, y, 0, 0, param};
}

std::string levelBytes(const std::vector<LevelRecord> &objects, int32_t rotationCount,
                       int32_t time) {
    int32_t block[10];
    for (int32_t &b : block)
        b = 0x7f7f7f7f;
    const std::vector<uint8_t> bytes = encodeLevel(rotationCount, time, block, objects);
    return std::string(bytes.begin(), bytes.end());
}

void writeLevel(const TempDir &dir, const std::string &name,
                const std::vector<LevelRecord> &objects, const char *turns, int32_t time,
                int32_t rotationCount) {
    dir.write("data/levels/" + name + ".lvl", levelBytes(objects, rotationCount, time));
    if (turns)
        dir.write("data/levels/" + name + ".rot", turns);
}

std::string rowText(const std::vector<Cell> &frame, int row) {
    std::string text;
    for (int c = 0; c < SCREEN_WIDTH && !frame.empty(); c++)
        text += static_cast<char>(frame[row * SCREEN_WIDTH + c].ch & 0xFF);
    return text;
}

std::pair<int, int> findText(const std::vector<Cell> &frame, const std::string &text) {
    for (int r = 0; r < SCREEN_HEIGHT && !frame.empty(); r++) {
        const size_t at = rowText(frame, r).find(text);
        if (at != std::string::npos)
            return {static_cast<int>(at), r};
    }
    return {-1, -1};
}

bool anyFrameShows(const std::vector<std::vector<Cell>> &frames, const std::string &text) {
    for (const std::vector<Cell> &frame : frames)
        if (findText(frame, text).first >= 0)
            return true;
    return false;
}

std::vector<std::string> soundPlays(size_t from) {
    std::vector<std::string> names;
    for (size_t i = from; i < headless.soundCalls.size(); i++)
        if (headless.soundCalls[i].what == "play") {
            const std::string &path = headless.soundCalls[i].path;
            names.push_back(path.substr(path.rfind('/') + 1));
        }
    return names;
}

int shippedLevelCount() {
    std::ifstream list(std::string(wobbleSourceDir) + "/data/levels/Levels.txt");
    int count = 0;
    list >> count;
    return count;
}

void makeDataRoot(const TempDir &dir) {
    namespace fs = std::filesystem;
    const fs::path source = fs::path(wobbleSourceDir) / "data";
    fs::create_directories(fs::path(dir.path) / "data");
    // Hard links share the game's files cheaply and, unlike symbolic links,
    // stay inside the root; a run that writes replaces files, never edits them.
    for (const auto &entry : fs::directory_iterator(source)) {
        const fs::path target = fs::path(dir.path) / "data" / entry.path().filename();
        std::error_code ec;
        if (entry.path().filename() == "stats" ||
            (fs::copy(entry.path(), target,
                      fs::copy_options::recursive | fs::copy_options::create_hard_links, ec),
             ec))
            fs::copy(entry.path(), target,
                     fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    }
}
