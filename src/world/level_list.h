// The level list, data/levels/Levels.txt: the order of the levels and the
// music of each.
#pragma once
#include <cstdint>

constexpr int MAX_LEVELS = 40;
// Heap strings of 30 bytes; names are read with a 15-byte line read and music
// names with a 20-byte one, so a name keeps at most 13 characters and a music
// name 18 (a longer line spills into the next field).
constexpr int LEVEL_STRING_BYTES = 30;
constexpr int LEVEL_NAME_READ = 15;
constexpr int LEVEL_MUSIC_READ = 20;

struct LevelList {
    int32_t count;
    char *names[MAX_LEVELS];
    char *music[MAX_LEVELS];
};

// Why the last read gave no level: 0 none, or one of these.
enum LevelListProblem : int32_t {
    LEVEL_LIST_OK = 0,
    LEVEL_LIST_MISSING = 1,    // the file does not open
    LEVEL_LIST_EMPTY = 2,      // it lists no level (no count, or a count of 0 or less)
    LEVEL_LIST_NONE_LOADS = 3, // set by the level loader: no level it lists can be loaded
};

extern int32_t levelCount;
extern int32_t levelListProblem;

// Reads the list. A count above 40 keeps the first 40 levels (and the count
// becomes 40); a missing file or one that lists no level gives a list of no
// levels, `levelListProblem` says which, and nothing is ever left undefined.
LevelList readLevelList();
void freeLevelList(LevelList *list);
// The text to show when the last read gave no level, or null when it gave one.
const char *levelListMessage();
