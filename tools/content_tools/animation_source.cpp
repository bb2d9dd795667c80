#include "content_tools/animation_source.h"
#include "anim/animation.h"
#include "console/surface.h"
#include "content_tools/source_text.h"
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>

namespace {

// Colour letters of the pixel art, in console colour order: black, darkblue,
// darkgreen, darkcyan, darkred, darkmagenta, darkyellow, lightgrey, darkgrey,
// blue, green, cyan, red, magenta, yellow, white. '.' is transparent.
const char *const COLOUR_LETTERS = "kbgcrmyldBGCRMYw";
constexpr int DARK_GREY = 8;
constexpr int FULL_BLOCK = 219, UPPER_HALF = 223, LOWER_HALF = 220;
constexpr AnimationCell BLANK = {0x20, 0, 0};

// The script's background code for a console colour; its foreground code is
// one more.
int scriptCode(int console) {
    for (int code = 0; code < 16; code++)
        if (colourToAttribute(0, static_cast<uint16_t>(code)) == console << 4)
            return code;
    return 0;
}

// The cell for a top and a bottom pixel (console colours, -1 transparent). A
// script's foreground cannot be dark grey (its code would be 16), so dark grey
// is always drawn as the background under the other half block; a transparent
// half beside it shows black.
AnimationCell pixelCell(int top, int bottom) {
    if (top < 0 && bottom < 0)
        return BLANK;
    if (top == bottom)
        return top == DARK_GREY ? AnimationCell{0, 0, scriptCode(DARK_GREY)}
                                : AnimationCell{FULL_BLOCK, scriptCode(top) + 1, 0};
    int half = UPPER_HALF, drawn = top, other = bottom;
    if (top < 0) {
        half = LOWER_HALF;
        drawn = bottom;
        other = -1;
    }
    if (drawn == DARK_GREY)
        return {half == UPPER_HALF ? LOWER_HALF : UPPER_HALF, other < 0 ? 1 : scriptCode(other) + 1,
                scriptCode(DARK_GREY)};
    return {half, scriptCode(drawn) + 1, other < 0 ? 0 : scriptCode(other)};
}

// A pixel frame as console colours, row by row (-1 transparent).
using Pixels = std::vector<std::vector<int>>;

bool parseNumber(const std::string &word, int low, int high, int &value) {
    if (word.empty() || word.size() > 4 ||
        word.find_first_not_of("0123456789") != std::string::npos)
        return false;
    value = atoi(word.c_str());
    return value >= low && value <= high;
}

std::string trimEnd(std::string s) {
    s.erase(s.find_last_not_of(" \t") + 1);
    return s;
}

} // namespace

int compileAnimationSource(const std::string &text, CompiledAnimation &out, std::string &error) {
    std::vector<std::string> lines = splitLines(text);
    // The line break that ends the last line starts no row of a frame.
    if (lines.size() > 1 && lines.back().empty())
        lines.pop_back();
    int width = 0, height = 0, group = -1;
    bool haveCollides = false;
    std::vector<int> collides;
    std::map<char32_t, AnimationCell> keys;
    std::map<std::string, Pixels> pixelFrames;
    std::vector<std::string> names;
    std::vector<std::vector<AnimationCell>> frames;

    for (size_t i = 0; i < lines.size(); i++) {
        const int lineNo = static_cast<int>(i) + 1;
        const std::vector<std::string> words = statementWords(lines[i]);
        if (words.empty())
            continue;
        const std::string &word = words[0];
        if (word == "size") {
            if (width) {
                error = lineError(lineNo, "a second size");
                return 0;
            }
            if (words.size() != 3 || !parseNumber(words[1], 1, ANIM_MAX_SIDE, width) ||
                !parseNumber(words[2], 1, ANIM_MAX_SIDE, height)) {
                error = lineError(lineNo, format("expected 'size WIDTH HEIGHT' in cells, each "
                                                 "1 to %d",
                                                 ANIM_MAX_SIDE));
                return 0;
            }
        } else if (word == "group") {
            if (words.size() != 2 || !parseNumber(words[1], 0, 9, group)) {
                error = lineError(lineNo, "expected 'group N' with N from 0 to 9");
                return 0;
            }
        } else if (word == "collides") {
            haveCollides = true;
            collides.clear();
            for (size_t w = 1; w < words.size(); w++) {
                int g = 0;
                if (words.size() == 2 && words[1] == "none")
                    break;
                if (!parseNumber(words[w], 0, 9, g)) {
                    error = lineError(lineNo, "expected 'collides none' or groups 0 to 9, not '" +
                                                  words[w] + "'");
                    return 0;
                }
                collides.push_back(g);
            }
        } else if (word == "key") {
            int code = 0, fg = -1, bg = -1;
            std::string problem;
            const std::vector<char32_t> key =
                words.size() == 5 ? decode(words[1]) : std::vector<char32_t>{};
            if (key.size() != 1) {
                error = lineError(lineNo, "expected 'key K CHARACTER FOREGROUND BACKGROUND'");
                return 0;
            }
            if (keys.count(key[0])) {
                error = lineError(lineNo, "the key " + describe(key[0]) + " is given twice");
                return 0;
            }
            if (!parseCharacter(words[2], code, problem)) {
                error = lineError(lineNo, problem);
                return 0;
            }
            if (!parseColour(words[3], fg) || !parseColour(words[4], bg) || fg < 0 || bg < 0) {
                error = lineError(lineNo, "unknown colour in '" + trimEnd(lines[i]) + "'");
                return 0;
            }
            if (fg == DARK_GREY) {
                error = lineError(lineNo, "an animation cannot draw dark grey in the "
                                          "foreground; make it the background");
                return 0;
            }
            keys[key[0]] = {code, scriptCode(fg) + 1, scriptCode(bg)};
        } else if (word == "frame") {
            const bool mirrored = words.size() == 4 && words[2] == "mirror";
            const bool cells = words.size() == 3 && words[2] == "cells";
            if (words.size() != 2 && !mirrored && !cells) {
                error = lineError(lineNo, "expected 'frame NAME', 'frame NAME cells' or "
                                          "'frame NAME mirror EARLIER'");
                return 0;
            }
            if (!width) {
                error = lineError(lineNo, "the size must come before the frames");
                return 0;
            }
            if (std::find(names.begin(), names.end(), words[1]) != names.end()) {
                error = lineError(lineNo, "a second frame named '" + words[1] + "'");
                return 0;
            }
            if (static_cast<int>(frames.size()) == ANIM_MAX_FRAMES) {
                error = lineError(lineNo, format("more than %d frames", ANIM_MAX_FRAMES));
                return 0;
            }
            std::vector<AnimationCell> frame(static_cast<size_t>(width) * height, BLANK);
            // The rows follow the frame line, whatever they hold.
            const int rows = cells ? height : mirrored ? 0 : 2 * height;
            if (i + rows >= lines.size()) {
                error = lineError(lineNo, format("the frame needs %d rows after it, the file "
                                                 "ends after %d",
                                                 rows, static_cast<int>(lines.size() - 1 - i)));
                return 0;
            }
            Pixels pixels;
            if (mirrored) {
                auto it = pixelFrames.find(words[3]);
                if (it == pixelFrames.end()) {
                    error = lineError(lineNo, "no pixel frame '" + words[3] + "' before this one");
                    return 0;
                }
                pixels = it->second;
                for (std::vector<int> &row : pixels)
                    std::reverse(row.begin(), row.end());
            }
            for (int r = 0; r < rows; r++) {
                const int rowLine = lineNo + 1 + r;
                const std::vector<char32_t> row = decode(trimEnd(lines[i + 1 + r]));
                if (row.size() > static_cast<size_t>(width) ||
                    (!cells && row.size() != static_cast<size_t>(width))) {
                    error = lineError(rowLine, format("row is %d wide, the animation %d",
                                                      static_cast<int>(row.size()), width));
                    return 0;
                }
                std::vector<int> pixelRow;
                for (size_t c = 0; c < row.size(); c++) {
                    const char *letter = row[c] < 128 && row[c] != 0
                                             ? strchr(COLOUR_LETTERS, static_cast<int>(row[c]))
                                             : nullptr;
                    if (cells && row[c] != ' ' && !keys.count(row[c])) {
                        error = lineError(rowLine, format("column %d: %s is not a key",
                                                          static_cast<int>(c) + 1,
                                                          describe(row[c]).c_str()));
                        return 0;
                    }
                    if (!cells && row[c] != '.' && !letter) {
                        error =
                            lineError(rowLine, format("column %d: %s is not a colour letter "
                                                      "(%s) or '.'",
                                                      static_cast<int>(c) + 1,
                                                      describe(row[c]).c_str(), COLOUR_LETTERS));
                        return 0;
                    }
                    if (cells && row[c] != ' ')
                        frame[static_cast<size_t>(r) * width + c] = keys[row[c]];
                    pixelRow.push_back(letter ? static_cast<int>(letter - COLOUR_LETTERS) : -1);
                }
                if (!cells)
                    pixels.push_back(pixelRow);
            }
            i += rows;
            if (!cells) {
                for (int y = 0; y < height; y++)
                    for (int x = 0; x < width; x++)
                        frame[static_cast<size_t>(y) * width + x] =
                            pixelCell(pixels[2 * y][x], pixels[2 * y + 1][x]);
                pixelFrames[words[1]] = pixels;
            }
            names.push_back(words[1]);
            frames.push_back(frame);
        } else {
            error = lineError(lineNo, "unknown word '" + word +
                                          "' (expected size, group, collides, key or frame; is "
                                          "a frame taller than the size?)");
            return 0;
        }
    }
    if (!width || group < 0 || !haveCollides || frames.empty()) {
        error = "line " + std::to_string(lines.size()) +
                ": an animation needs a size, a group, what it collides with and a frame";
        return 0;
    }
    out.width = width;
    out.height = height;
    out.group = group;
    out.collides = collides;
    out.frames = frames;
    return 1;
}

std::string animationScript(const CompiledAnimation &animation) {
    std::string text = format("(%d,%d)[%d,0]\n", animation.width, animation.height,
                              static_cast<int>(animation.frames.size()));
    for (const std::vector<AnimationCell> &frame : animation.frames) {
        text += std::to_string(animation.group) + "\n:";
        for (int g : animation.collides)
            text += std::to_string(g);
        text += "\n";
        for (int y = 0; y < animation.height; y++) {
            for (int x = 0; x < animation.width; x++) {
                const AnimationCell &c = frame[static_cast<size_t>(y) * animation.width + x];
                text += format(x ? " (%d,%d,%d)" : "(%d,%d,%d)", c.ch, c.fg, c.bg);
            }
            text += "\n";
        }
    }
    return text;
}

int loadAnimationSourceFile(const std::string &path, CompiledAnimation &out, std::string &error) {
    std::string text;
    if (!readWholeFile(path, text, error))
        return 0;
    if (!compileAnimationSource(text, out, error)) {
        error = path + ": " + error;
        return 0;
    }
    return 1;
}

CompiledPicture animationSheet(const CompiledAnimation &animation) {
    const int w = animation.width, h = animation.height, gap = 2;
    const int side = std::max(w, h);
    CompiledPicture sheet;
    sheet.width = gap + 2 * (w + gap) + 2 * (h + gap);
    sheet.height = gap + static_cast<int>(animation.frames.size()) * (side + gap);
    sheet.cells.assign(static_cast<size_t>(sheet.width) * sheet.height, Cell{0xB0, 0x08});
    for (size_t f = 0; f < animation.frames.size(); f++) {
        // Turned by the game's own code, the way the room's turns show it.
        Frame *frame = static_cast<Frame *>(calloc(1, sizeof(Frame)));
        frame->picture = createSurface(w, h);
        for (int i = 0; frame->picture->cells && i < w * h; i++) {
            const AnimationCell &c = animation.frames[f][i];
            frame->picture->cells[i] =
                Cell{static_cast<uint16_t>(c.ch & 0xFF),
                     colourToAttribute(static_cast<uint16_t>(c.fg), static_cast<uint16_t>(c.bg))};
        }
        int left = gap;
        const int top = gap + static_cast<int>(f) * (side + gap);
        for (int turn = 0; turn < ORIENTATIONS; turn++) {
            const Surface *picture = frame->picture;
            for (int y = 0; picture->cells && y < picture->height; y++)
                for (int x = 0; x < picture->width; x++) {
                    const Cell cell = picture->cells[y * picture->width + x];
                    if ((cell.ch & 0xFF) != 0x20)
                        sheet.cells[static_cast<size_t>(top + y) * sheet.width + left + x] = cell;
                }
            left += picture->width + gap;
            Frame *turned = rotateFrame(frame);
            destroyFrame(frame);
            frame = turned;
        }
        destroyFrame(frame);
    }
    return sheet;
}
