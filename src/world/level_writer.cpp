#include "world/level_writer.h"
#include <cstring>

static void put32(std::vector<uint8_t> &out, uint32_t v) {
    for (int i = 0; i < 4; i++)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

static void putFloat(std::vector<uint8_t> &out, float f) {
    uint32_t v;
    memcpy(&v, &f, 4);
    put32(out, v);
}

std::vector<uint8_t> encodeLevel(int32_t rotationCount, int32_t levelTime,
                                 const int32_t turnBlock[10],
                                 const std::vector<LevelRecord> &records) {
    std::vector<uint8_t> out;
    put32(out, static_cast<uint32_t>(records.size()));
    put32(out, static_cast<uint32_t>(rotationCount));
    put32(out, static_cast<uint32_t>(levelTime));
    for (int i = 0; i < 10; i++)
        put32(out, static_cast<uint32_t>(turnBlock ? turnBlock[i] : 0));
    for (const LevelRecord &r : records) {
        put32(out, static_cast<uint32_t>(r.kind));
        putFloat(out, r.x);
        putFloat(out, r.y);
        putFloat(out, r.x2);
        putFloat(out, r.y2);
        put32(out, static_cast<uint32_t>(r.param));
        put32(out, 0);
    }
    return out;
}
