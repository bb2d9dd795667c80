// Level sources (.level): a level written as text, compiled into the game's
// level files <name>.lvl (the objects and the bonus time) and <name>.rot (the
// room's turns). One statement a line, '#' starts a comment:
//   name First         the base name of the files (at most 13 characters)
//   time 90            the bonus time in seconds
//   turns 90 180 -90   the room's turns in order (1 to 10 of 90, -90, 180)
//   player 40 78 right
//   box 20 78          platform, dummy, ozzle: x y
//   soldier 60 77 left doll, ninja: x y and the way they walk first
// Positions are the object's top-left cell in the 85 x 85 room.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct CompiledLevel {
    std::string name;
    std::vector<uint8_t> lvl;
    std::string rot;
};

// Compiles a level source. Returns 1 with the level, or 0 with a message
// that starts with the line number ("line 7: ...") in `error`.
int compileLevelSource(const std::string &text, CompiledLevel &out, std::string &error);

// Reads and compiles a level source file; the message names the file.
int loadLevelSourceFile(const std::string &path, CompiledLevel &out, std::string &error);
