// Writing level files: the editor's save and the level compiler share it.
#pragma once
#include <cstdint>
#include <vector>

struct LevelRecord {
    int32_t kind;
    float x, y, x2, y2;
    int32_t param; // facing or walking direction: 1 right, 0 left
};

// The bytes of a .lvl file: the header, the ten-entry turn block the editor
// keeps, then one 28-byte record per object.
std::vector<uint8_t> encodeLevel(int32_t rotationCount, int32_t levelTime,
                                 const int32_t turnBlock[10],
                                 const std::vector<LevelRecord> &records);
