// Compiles a level source into the game's level files.
//
//   levelc SOURCE.level OUTDIR   writes OUTDIR/<name>.lvl and OUTDIR/<name>.rot
//
// A level source is text, one statement a line, '#' starts a comment:
//   name First         the base name of the files (at most 13 characters)
//   time 90            the bonus time in seconds
//   turns 90 180 -90   the room's turns in order (1 to 10 of 90, -90, 180)
//   player 40 78 right
//   box 20 78          platform, dummy, ozzle: x y
//   soldier 60 77 left doll, ninja: x y and the way they walk first
// Positions are the object's top-left cell in the 85 x 85 room.
#include "platform/files.h"
#include "world/level_writer.h"
#include "world/object_records.h"
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

static int fail(const std::string &where, const std::string &why) {
    fprintf(stderr, "levelc: %s: %s\n", where.c_str(), why.c_str());
    return 1;
}

int main(int argc, char **argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: levelc SOURCE.level OUTDIR\n");
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in)
        return fail(argv[1], "cannot be opened");
    const std::map<std::string, int32_t> kinds = {
        {"player", KIND_PLAYER},     {"box", KIND_BOX},    {"soldier", KIND_SOLDIER},
        {"platform", KIND_PLATFORM}, {"doll", KIND_DOLL},  {"ozzle", KIND_OZZLE},
        {"ninja", KIND_NINJA},       {"dummy", KIND_DUMMY}};
    std::string name, line;
    int32_t time = 0;
    std::vector<int32_t> turns;
    std::vector<LevelRecord> records;
    bool havePlayer = false;
    for (int number = 1; std::getline(in, line); number++) {
        const std::string where = std::string(argv[1]) + ":" + std::to_string(number);
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        std::string word;
        if (!(words >> word))
            continue;
        if (word == "name") {
            if (!(words >> name) || name.size() > 13)
                return fail(where, "a name of 1 to 13 characters is needed");
        } else if (word == "time") {
            if (!(words >> time) || time < 0 || time > 999)
                return fail(where, "the time is 0 to 999 seconds");
        } else if (word == "turns") {
            int32_t angle;
            while (words >> angle) {
                if (angle != 90 && angle != -90 && angle != 180)
                    return fail(where, "a turn is 90, -90 or 180");
                turns.push_back(angle);
            }
            if (turns.empty() || turns.size() > 10)
                return fail(where, "a level has 1 to 10 turns");
        } else if (kinds.count(word)) {
            LevelRecord r{kinds.at(word), 0, 0, 0, 0, 0};
            if (!(words >> r.x >> r.y) || r.x < 0 || r.y < 0 || r.x > 85 || r.y > 85)
                return fail(where, "expected a position inside the room");
            std::string way;
            if (words >> way) {
                if (way != "left" && way != "right")
                    return fail(where, "the way is left or right, not '" + way + "'");
                r.param = way == "right" ? 1 : 0;
            }
            havePlayer = havePlayer || r.kind == KIND_PLAYER;
            records.push_back(r);
        } else {
            return fail(where, "unknown statement '" + word + "'");
        }
    }
    if (name.empty() || !havePlayer || turns.empty())
        return fail(argv[1], "a level needs a name, a player and its turns");
    const int32_t block[10] = {};
    std::vector<uint8_t> lvl =
        encodeLevel(static_cast<int32_t>(turns.size()), time, block, records);
    std::string rot;
    for (int32_t t : turns)
        rot += std::to_string(t) + "\n";
    const std::string base = std::string(argv[2]) + "/" + name;
    if (!replaceFileAtomically((base + ".lvl").c_str(), lvl.data(), lvl.size()) ||
        !replaceFileAtomically((base + ".rot").c_str(), rot.data(), rot.size()))
        return fail(base, "cannot be written");
    return 0;
}
