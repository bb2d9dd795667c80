#include "world/level_list.h"
#include "platform/host.h"
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int32_t levelCount = 0;
int32_t levelListProblem = LEVEL_LIST_OK;

static const char *const LEVEL_LIST_PATH = "data/levels/Levels.txt";

// Reads the count as "%d" does (blanks, a sign, digits) and stops right after
// the digits, so the first name starts with whatever follows them. Returns 0
// when there is no number.
static int readCount(FILE *file, int32_t *count) {
    int c;
    do
        c = fgetc(file);
    while (c != EOF && isspace(c));
    int sign = 1;
    if (c == '-' || c == '+') {
        sign = c == '-' ? -1 : 1;
        c = fgetc(file);
    }
    long long value = 0;
    int digits = 0;
    while (c != EOF && isdigit(c)) {
        if (value < INT_MAX)
            value = value * 10 + (c - '0');
        digits++;
        c = fgetc(file);
    }
    if (c != EOF)
        ungetc(c, file);
    if (digits == 0)
        return 0;
    value *= sign;
    *count = value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int32_t>(value);
    return 1;
}

// One line read into `size` bytes, its last character (the line end, when the
// line fitted) removed. At the end of the file the field is empty.
static char *readField(FILE *file, int size) {
    char *text = static_cast<char *>(calloc(LEVEL_STRING_BYTES, 1));
    if (!text)
        return nullptr;
    if (fgets(text, size, file)) {
        const size_t length = strlen(text);
        if (length > 0)
            text[length - 1] = '\0';
    } else {
        text[0] = '\0';
    }
    return text;
}

LevelList readLevelList() {
    LevelList list;
    memset(&list, 0, sizeof list);
    levelListProblem = LEVEL_LIST_OK;
    FILE *file = openDataFile(LEVEL_LIST_PATH, "rt");
    if (!file) {
        levelCount = 0;
        levelListProblem = LEVEL_LIST_MISSING;
        return list;
    }
    int32_t count = 0;
    if (!readCount(file, &count) || count <= 0) {
        fclose(file);
        levelCount = 0;
        levelListProblem = LEVEL_LIST_EMPTY;
        return list;
    }
    if (count > MAX_LEVELS)
        count = MAX_LEVELS;
    levelCount = count;
    list.count = count;
    for (int32_t i = 0; i < count; i++) {
        list.names[i] = readField(file, LEVEL_NAME_READ);
        list.music[i] = readField(file, LEVEL_MUSIC_READ);
    }
    fclose(file);
    return list;
}

void freeLevelList(LevelList *list) {
    for (int i = 0; i < MAX_LEVELS; i++) {
        free(list->names[i]);
        free(list->music[i]);
        list->names[i] = nullptr;
        list->music[i] = nullptr;
    }
    list->count = 0;
}

const char *levelListMessage() {
    switch (levelListProblem) {
    case LEVEL_LIST_MISSING:
        return "The level list data/levels/Levels.txt could not be opened.\n"
               "There is no level to play.";
    case LEVEL_LIST_EMPTY:
        return "The level list data/levels/Levels.txt lists no level.\n"
               "There is no level to play.";
    case LEVEL_LIST_NONE_LOADS:
        return "None of the levels that data/levels/Levels.txt lists can be loaded:\n"
               "each needs its .lvl and .rot file in data/levels/.\n"
               "There is no level to play.";
    default:
        return nullptr;
    }
}
