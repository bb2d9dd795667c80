#include "content_tools/level_source.h"
#include "content_tools/source_text.h"
#include "world/level_writer.h"
#include "world/object_records.h"
#include <map>
#include <sstream>

int compileLevelSource(const std::string &text, CompiledLevel &out, std::string &error) {
    const std::map<std::string, int32_t> kinds = {
        {"player", KIND_PLAYER},     {"box", KIND_BOX},    {"soldier", KIND_SOLDIER},
        {"platform", KIND_PLATFORM}, {"doll", KIND_DOLL},  {"ozzle", KIND_OZZLE},
        {"ninja", KIND_NINJA},       {"dummy", KIND_DUMMY}};
    std::istringstream in(text);
    std::string name, line;
    int32_t time = 0;
    std::vector<int32_t> turns;
    std::vector<LevelRecord> records;
    bool havePlayer = false;
    int number = 0;
    auto fail = [&](const std::string &why) {
        error = "line " + std::to_string(number) + ": " + why;
        return 0;
    };
    while (std::getline(in, line)) {
        number++;
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        std::string word;
        if (!(words >> word))
            continue;
        if (word == "name") {
            if (!(words >> name) || name.size() > 13)
                return fail("a name of 1 to 13 characters is needed");
        } else if (word == "time") {
            if (!(words >> time) || time < 0 || time > 999)
                return fail("the time is 0 to 999 seconds");
        } else if (word == "turns") {
            int32_t angle;
            while (words >> angle) {
                if (angle != 90 && angle != -90 && angle != 180)
                    return fail("a turn is 90, -90 or 180");
                turns.push_back(angle);
            }
            if (turns.empty() || turns.size() > 10)
                return fail("a level has 1 to 10 turns");
        } else if (kinds.count(word)) {
            LevelRecord r{kinds.at(word), 0, 0, 0, 0, 0};
            if (!(words >> r.x >> r.y) || r.x < 0 || r.y < 0 || r.x > 85 || r.y > 85)
                return fail("expected a position inside the room");
            std::string way;
            if (words >> way) {
                if (way != "left" && way != "right")
                    return fail("the way is left or right, not '" + way + "'");
                r.param = way == "right" ? 1 : 0;
            }
            havePlayer = havePlayer || r.kind == KIND_PLAYER;
            records.push_back(r);
        } else {
            return fail("unknown statement '" + word + "'");
        }
    }
    if (name.empty() || !havePlayer || turns.empty())
        return fail("a level needs a name, a player and its turns");
    const int32_t block[10] = {};
    out.name = name;
    out.lvl = encodeLevel(static_cast<int32_t>(turns.size()), time, block, records);
    out.rot.clear();
    for (int32_t t : turns)
        out.rot += std::to_string(t) + "\n";
    return 1;
}

int loadLevelSourceFile(const std::string &path, CompiledLevel &out, std::string &error) {
    std::string text;
    if (!readWholeFile(path, text, error))
        return 0;
    if (!compileLevelSource(text, out, error)) {
        error = path + ": " + error;
        return 0;
    }
    return 1;
}
