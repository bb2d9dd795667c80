// Runs the editor screen in-process on a data root of the test's own, with
// scripted mouse and keys, and notes what the editor held when the script ended.
#pragma once
#include "test_support.h"
#include <cstdint>
#include <string>
#include <vector>

struct PlacedObject {
    int32_t kind;
    int32_t id;
    float x, y;
};

struct EditorSnapshot {
    bool closed = false; // the script ended while the editor ran
    std::vector<PlacedObject> objects;
    bool linksValid = true; // every node's prev points back at its predecessor
    int32_t turns[10] = {};
    int32_t turnCursor = -1, turnCount = -1, pendingTurn = 0, levelTime = 0;
    int32_t selectedTool = -1, rotationCount = -1;
    std::vector<Cell> frame; // the last frame presented before the end
    std::string title;       // the last window title
    std::string out;         // what the run printed on standard output
    int32_t previousState = -1, currentState = -1;
};

// Every editor value that lives for the whole run back at its starting value.
void resetEditorSession();

struct EditorBench {
    TempDir dir;
    // A data root sharing the game's pictures, with its own data/levels
    // holding `levelList` as Levels.txt (none when it is null).
    explicit EditorBench(const char *levelList = "1Wake\nMystery\n");
    ~EditorBench();
    // Runs the editor until the script ends (or the editor leaves by itself),
    // keeping every presented frame in `frames`.
    EditorSnapshot run(const std::string &script);
    std::string levels(const std::string &name) const { return dir.file("data/levels/" + name); }
    std::vector<std::vector<Cell>> frames;
};
