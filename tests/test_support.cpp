#include "test_support.h"
#include "input/keyboard.h"
#include "input/timers.h"
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>

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
    dataRoot = WOBBLE_SOURCE_DIR;
}

HeadlessGame::~HeadlessGame() {
    freeBackBuffer(backBuffer);
    backBuffer = nullptr;
    host = nullptr;
}

TempDir::TempDir() {
    char pattern[] = "/tmp/wobble-test-XXXXXX";
    path = mkdtemp(pattern);
}

TempDir::~TempDir() {
    std::filesystem::remove_all(path);
}

void TempDir::write(const std::string &name, const std::string &content) const {
    std::filesystem::create_directories(std::filesystem::path(file(name)).parent_path());
    std::ofstream(file(name), std::ios::binary) << content;
}

std::string TempDir::read(const std::string &name) const {
    std::ifstream f(file(name), std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

std::string runProgram(const std::string &arguments, int &exitCode) {
    std::string command = std::string(WOBBLE_BINARY) + " " + arguments + " 2>/dev/null";
    FILE *pipe = popen(command.c_str(), "r");
    std::string out;
    std::array<char, 4096> chunk;
    size_t n;
    while ((n = fread(chunk.data(), 1, chunk.size(), pipe)) > 0)
        out.append(chunk.data(), n);
    int status = pclose(pipe);
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
}

void makeDataRoot(const TempDir &dir) {
    namespace fs = std::filesystem;
    const fs::path source = fs::path(WOBBLE_SOURCE_DIR) / "data";
    fs::create_directories(fs::path(dir.path) / "data");
    for (const auto &entry : fs::directory_iterator(source)) {
        const fs::path target = fs::path(dir.path) / "data" / entry.path().filename();
        if (entry.path().filename() == "stats")
            fs::copy(entry.path(), target, fs::copy_options::recursive);
        else
            fs::create_directory_symlink(entry.path(), target);
    }
}
