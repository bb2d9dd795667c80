// Animations written by hand as text ("animation sources", .anim), compiled
// into the game's animation scripts (.anm). The form is described in the
// README: a size, the collision group and the groups it tests against, then
// frames drawn as pixel art (two pixels to a cell, colour letters) or as
// cells (one key a cell), or mirrored from an earlier frame.
#pragma once
#include "content_tools/picture_source.h"
#include <string>
#include <vector>

// One cell as a script writes it: character, foreground and background in
// the script's own colour codes (see colourToAttribute).
struct AnimationCell {
    int ch;
    int fg;
    int bg;
    bool operator==(const AnimationCell &) const = default;
};

struct CompiledAnimation {
    int width = 0;  // cells
    int height = 0; // cells
    int group = 0;  // every frame's collision group
    std::vector<int> collides;
    std::vector<std::vector<AnimationCell>> frames; // width x height each, row by row
};

// Compiles an animation source. Returns 1 with the animation, or 0 with a
// message that starts with the line number ("line 7: ...") in `error`.
int compileAnimationSource(const std::string &text, CompiledAnimation &out, std::string &error);

// The animation script (.anm) the game reads.
std::string animationScript(const CompiledAnimation &animation);

// Reads and compiles an animation source file; the message names the file.
int loadAnimationSourceFile(const std::string &path, CompiledAnimation &out, std::string &error);

// Every frame in a row of its own, as drawn and turned the game's three ways,
// over a shaded ground that shows where the frames are transparent.
CompiledPicture animationSheet(const CompiledAnimation &animation);
