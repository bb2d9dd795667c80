// Writing level files for tests, as the editor writes them.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct LevelObject {
    int32_t kind;
    float x, y;
    int32_t param = 0;
};

inline void putInt(std::string &out, int32_t v) {
    for (int i = 0; i < 4; i++)
        out += static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
}

inline void putFloat(std::string &out, float f) {
    int32_t bits;
    memcpy(&bits, &f, 4);
    putInt(out, bits);
}

inline std::string levelBytes(const std::vector<LevelObject> &objects, int32_t rotationCount,
                              int32_t time, int32_t declaredCount = -1) {
    std::string out;
    putInt(out, declaredCount >= 0 ? declaredCount : static_cast<int32_t>(objects.size()));
    putInt(out, rotationCount);
    putInt(out, time);
    out += std::string(40, '\x7f');
    for (const LevelObject &o : objects) {
        putInt(out, o.kind);
        putFloat(out, o.x);
        putFloat(out, o.y);
        putFloat(out, o.x + 5);
        putFloat(out, o.y + 5);
        putInt(out, o.param);
        putInt(out, 0);
    }
    return out;
}
