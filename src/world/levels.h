// Level files: data/levels/<name>.lvl (objects and bonus time), .rot (the
// world turns) and .dlg (the story shown at the start), and the level sequence.
#pragma once
#include <cstdint>

constexpr int MAX_ROTATIONS = 10;

// The turns of the running level, taken in order and wrapping.
struct RotationSequence {
    int32_t angles[MAX_ROTATIONS]; // 90, -90 or 180; anything else turns nothing
    int32_t count;
    int32_t index; // the next turn; always below count (0 when empty)
};

struct StartPoint {
    float x, y;
};

extern int32_t levelTime; // bonus time of the loaded level, seconds
extern RotationSequence rotationSequence;
extern StartPoint startPoint;
extern int32_t ozzleLevel;

// .lvl layout (little-endian): count, rotation count, time, 40 bytes the
// editor keeps, then 28-byte records.
constexpr int LEVEL_HEADER_BYTES = 12;
constexpr int LEVEL_EDITOR_BLOCK_BYTES = 40;
constexpr int LEVEL_RECORD_BYTES = 28;
// More objects than this make no level anyone could play (every moving object
// tests every other one each step); the rest of such a file is not read.
constexpr int MAX_LEVEL_OBJECTS = 2000;
// Object positions outside this range are no place in the room: such records
// are skipped, as are those that are not numbers at all.
constexpr float MAX_LEVEL_COORDINATE = 1000.0f;
// The longest bonus time the editor can give a level (five digits); a file
// asking for more is read as this, so the level-end bonus stays in range.
constexpr int32_t MAX_LEVEL_TIME = 99999;

// Empties the rotation sequence (count and index 0).
void clearRotationSequence();
// The angle of the next turn, or 0 when the sequence is empty.
int32_t currentTurnAngle();

// Loads one level into the object list (already cleared) and the level
// globals; appends its turns to the rotation sequence. When the .lvl or the
// .rot does not open the level stays empty with no bonus time. Returns 1
// when loaded.
int loadLevel(const char *name);
// (Re)starts the level at `levelIndex`: list, music, objects, turns,
// `ozzleLevel`. A level that does not load is passed over for the next one.
// Returns 0 when the list holds no level that loads (the objects are then
// cleared; `levelListMessage` says why).
int loadLevelAt();

// The four walls every level gets, 2 cells thick around the 85 x 85 room.
void addBorders();
constexpr float ROOM_SIZE = 85.0f;
