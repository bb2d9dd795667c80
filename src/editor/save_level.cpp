#include "editor/save_level.h"
#include "console/message_box.h"
#include "editor/editor.h"
#include "platform/host.h"
#include "world/level_list.h"
#include "world/level_writer.h"
#include "world/levels.h"
#include "world/object_access.h"
#include "world/object_list.h"
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

char levelName[LEVEL_NAME_BYTES] = "";

static const char *const LIST_PATH = "data/levels/Levels.txt";
static const char *const LEVEL_FOLDER = "data/levels/";

static void saveError(const std::string &text) {
    messageBox(text.c_str(), "Save Error", MB_ICONEXCLAMATION);
}

// A list that opened but gave no level either says so with a count of 0 or
// less (it can be extended) or holds no count at all (something else that a
// rewrite would destroy).
static bool listSaysNoLevels() {
    FILE *file = openDataFile(LIST_PATH, "rt");
    if (!file)
        return false;
    int count = 0;
    const bool saysNone = fscanf(file, "%d", &count) == 1 && count <= 0;
    fclose(file);
    return saysNone;
}

int nameLevel(char *path, int32_t size, std::string &listText) {
    LevelList list = readLevelList();
    if (levelListProblem == LEVEL_LIST_MISSING ||
        (levelListProblem == LEVEL_LIST_EMPTY && !listSaysNoLevels())) {
        freeLevelList(&list);
        saveError("The level list data/levels/Levels.txt could not be read,\n"
                  "so the level cannot be added to it. Nothing was saved.");
        return 0;
    }
    if (list.count >= MAX_LEVELS) {
        freeLevelList(&list);
        saveError("The level list data/levels/Levels.txt is full (40 levels).\n"
                  "Nothing was saved.");
        return 0;
    }

    levelNameDialog();
    snprintf(path, static_cast<size_t>(size), "%s%s.lvl", LEVEL_FOLDER, levelName);

    // The new level goes at the end, even when a level of that name is listed.
    listText = std::to_string(list.count + 1);
    for (int32_t i = 0; i < list.count; i++) {
        listText += list.names[i];
        listText += '\n';
        listText += list.music[i];
        listText += '\n';
    }
    listText += levelName;
    listText += "\nMystery\n";
    freeLevelList(&list);
    return 1;
}

void saveLevel() {
    if (!objectList) {
        messageBox("Object list is empty! Aborting save.", "Save Error", MB_ICONEXCLAMATION);
        return;
    }
    // Records in list order: the first object placed, then the others from
    // the newest back. The far corners are written as they stand.
    std::vector<LevelRecord> records;
    std::vector<int32_t> ids;
    for (ObjectNode *n = objectList; n; n = n->next) {
        const ObjectBox *box = objectBox(n);
        if (!box)
            continue;
        records.push_back(LevelRecord{n->kind, box->x, box->y, box->x2, box->y2, 0});
        ids.push_back(n->id);
    }

    char path[LEVEL_NAME_BYTES];
    std::string listText;
    if (!nameLevel(path, sizeof path, listText))
        return;

    const std::vector<uint8_t> bytes =
        encodeLevel(recordedTurnCount, editorLevelTime, recordedTurns, records);
    for (size_t i = 0; i < ids.size(); i++)
        printf("Writing object with ID: %i\toffset: 0x%x\n", ids[i],
               static_cast<unsigned>(LEVEL_HEADER_BYTES + LEVEL_EDITOR_BLOCK_BYTES +
                                     i * LEVEL_RECORD_BYTES));
    fflush(stdout);

    // The level file first: whatever stops the save after it, the list never
    // names a level that is not there.
    if (!replaceDataFile(path, bytes.data(), bytes.size())) {
        const int reason = errno;
        perror(path);
        saveError(std::string("The level file ") + path + " could not be written (" +
                  strerror(reason) + ").\nThe level list was not changed.");
        return;
    }
    if (!replaceDataFile(LIST_PATH, listText.data(), listText.size())) {
        const int reason = errno;
        perror(LIST_PATH);
        saveError(std::string("The level file ") + path +
                  " was written, but the level list\ndata/levels/Levels.txt could not be "
                  "rewritten (" +
                  strerror(reason) + "),\nso the game does not know of the level.");
        return;
    }
    messageBox("File saved sucessfully!", "Save", MB_ICONINFORMATION);
}
