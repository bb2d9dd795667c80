#include "world/levels.h"
#include "frontend/dialog.h"
#include "sound/sound.h"
#include "world/level_list.h"
#include "world/object_list.h"
#include "world/play_state.h"
#include <cmath>
#include <cstdio>
#include <cstring>

int32_t levelTime = 0;
RotationSequence rotationSequence = {};
StartPoint startPoint = {0, 0};
int32_t ozzleLevel = 0;

// Each path is built in 40 bytes, so a level name holds at most 23 characters.
constexpr int LEVEL_PATH_BYTES = 40;

void clearRotationSequence() {
    rotationSequence.count = 0;
    rotationSequence.index = 0;
}

int32_t currentTurnAngle() {
    if (rotationSequence.count <= 0 || rotationSequence.index < 0 ||
        rotationSequence.index >= rotationSequence.count)
        return 0;
    return rotationSequence.angles[rotationSequence.index];
}

static int32_t readInt32(const uint8_t *p) {
    const uint32_t v = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                       static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
    return static_cast<int32_t>(v);
}

static float readFloat32(const uint8_t *p) {
    const int32_t bits = readInt32(p);
    float value;
    memcpy(&value, &bits, sizeof value);
    return value;
}

static bool isPlace(float value) {
    return std::isfinite(value) && std::fabs(value) <= MAX_LEVEL_COORDINATE;
}

void addBorders() {
    createObject(KIND_BORDER, 0, 0, 2);
    createObject(KIND_BORDER, 0, 0, 3);
    createObject(KIND_BORDER, 83, 0, 1);
    createObject(KIND_BORDER, 0, 83, 0);
}

// Reads up to `wanted` turns (at most what the sequence holds); a .rot with
// fewer values gives fewer turns.
static void readTurns(FILE *rot, int32_t wanted) {
    if (wanted > MAX_ROTATIONS)
        wanted = MAX_ROTATIONS;
    for (int32_t i = 0; i < wanted; i++) {
        int angle = 0;
        if (fscanf(rot, "%d ", &angle) != 1)
            break;
        if (rotationSequence.count < MAX_ROTATIONS)
            rotationSequence.angles[rotationSequence.count++] = angle;
    }
}

static void createFromRecord(const uint8_t *record) {
    const int32_t kind = readInt32(record);
    const float x = readFloat32(record + 4);
    const float y = readFloat32(record + 8);
    const int32_t param = readInt32(record + 20);
    if (!isPlace(x) || !isPlace(y))
        return;
    switch (kind) {
    case KIND_PLAYER:
        createObject(KIND_PLAYER, x, y, param, 0);
        startPoint = StartPoint{x, y};
        break;
    case KIND_SOLDIER:
    case KIND_DOLL:
    case KIND_NINJA:
        createObject(kind, x, y, param);
        break;
    case KIND_BOX:
    case KIND_PLATFORM:
    case KIND_OZZLE:
    case KIND_DUMMY:
        createObject(kind, x, y);
        break;
    default:
        // Missiles and walls are never read from a file; unknown kinds neither.
        break;
    }
}

int loadLevel(const char *name) {
    // A level that does not load gives no bonus for finishing it.
    levelTime = 0;
    char lvlPath[LEVEL_PATH_BYTES], rotPath[LEVEL_PATH_BYTES], dlgPath[LEVEL_PATH_BYTES];
    const int fits =
        snprintf(lvlPath, sizeof lvlPath, "data/levels/%s.lvl", name) < LEVEL_PATH_BYTES &&
        snprintf(rotPath, sizeof rotPath, "data/levels/%s.rot", name) < LEVEL_PATH_BYTES &&
        snprintf(dlgPath, sizeof dlgPath, "data/levels/%s.dlg", name) < LEVEL_PATH_BYTES;
    if (!fits) {
        fprintf(stderr, "Level name too long (at most 23 characters): %s\n", name);
        return 0;
    }

    FILE *lvl = openDataFileOrReport(lvlPath, "rb");
    FILE *rot = lvl ? openDataFileOrReport(rotPath, "rt") : nullptr;
    if (!lvl || !rot) {
        if (lvl)
            fclose(lvl);
        if (rot)
            fclose(rot);
        return 0;
    }

    uint8_t header[LEVEL_HEADER_BYTES];
    if (fread(header, 1, sizeof header, lvl) != sizeof header) {
        fprintf(stderr, "%s: too short to be a level file\n", dataPath(lvlPath).c_str());
        fclose(lvl);
        fclose(rot);
        return 0;
    }
    const int32_t objectCount = readInt32(header);
    readTurns(rot, readInt32(header + 4));

    uint8_t editorBlock[LEVEL_EDITOR_BLOCK_BYTES];
    const bool haveBlock = fread(editorBlock, 1, sizeof editorBlock, lvl) == sizeof editorBlock;
    levelTime = readInt32(header + 8);
    if (levelTime > MAX_LEVEL_TIME) {
        fprintf(stderr,
                "%s: a bonus time of %d s is more than a level can have; it plays as %d s\n",
                dataPath(lvlPath).c_str(), levelTime, MAX_LEVEL_TIME);
        levelTime = MAX_LEVEL_TIME;
    }

    // A count larger than the file, or negative, reads what is there.
    uint8_t record[LEVEL_RECORD_BYTES];
    for (int32_t i = 0; haveBlock && i < objectCount && i < MAX_LEVEL_OBJECTS; i++) {
        if (fread(record, 1, sizeof record, lvl) != sizeof record)
            break;
        createFromRecord(record);
    }
    fclose(lvl);
    fclose(rot);

    addBorders();

    Dialog_LoadScript(dlgPath);
    if (dialogQueue.count > 0)
        Dialog_Start();
    return 1;
}

int loadLevelAt() {
    LevelList list = readLevelList();
    // The list is read anew every time and may have shrunk meanwhile.
    if (levelIndex < 0 || levelIndex >= list.count)
        levelIndex = 0;
    // A level that does not load is passed over (its room would be empty and
    // end at once); when none loads there is no level at all.
    int loaded = 0;
    for (int32_t tried = 0; tried < list.count && !loaded; tried++) {
        if (tried > 0)
            levelIndex = (levelIndex + 1) % list.count;
        playMusic(list.music[levelIndex]);
        clearObjects();
        clearRotationSequence();
        ozzleLevel = 0;
        loaded = loadLevel(list.names[levelIndex]);
    }
    freeLevelList(&list);
    if (!loaded) {
        clearObjects();
        clearRotationSequence();
        ozzleLevel = 0;
        if (levelListProblem == LEVEL_LIST_OK)
            levelListProblem = LEVEL_LIST_NONE_LOADS;
        return 0;
    }

    // The first node is not looked at: in a level it is the first object of
    // the file, and a boss placed first does not make a boss level.
    for (ObjectNode *n = objectList ? objectList->next : nullptr; n; n = n->next)
        if (n->kind == KIND_OZZLE)
            ozzleLevel = 1;
    return 1;
}
