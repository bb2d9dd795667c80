#include "content_tools/picture_source.h"
#include "console/surface_files.h"
#include "content_tools/source_text.h"
#include "platform/files.h"
#include "platform/raster/cp437.h"
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>

namespace {

// A key of the legend: the character and colours it stands for; a colour of
// -1 comes from the colour grids or the defaults.
struct LegendEntry {
    int code;
    int fg;
    int bg;
};

// A grid's rows as written, with the line number of each row.
struct Grid {
    bool present = false;
    std::vector<std::string> rows;
    std::vector<int> lines;
};

bool parseSide(const std::string &word, int &side) {
    if (word.empty() || word.size() > 5 ||
        !std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    side = std::stoi(word);
    return true;
}

// Reads a colour grid into per-cell colours (-1 where the grid says nothing).
bool readColourGrid(const Grid &grid, const char *name, int width, int height,
                    std::vector<int> &colours, std::string &error) {
    colours.assign(static_cast<size_t>(width) * height, -1);
    if (!grid.present)
        return true;
    for (int r = 0; r < height && r < static_cast<int>(grid.rows.size()); r++) {
        const std::vector<char32_t> row = decode(grid.rows[r]);
        if (static_cast<int>(row.size()) > width) {
            error = lineError(grid.lines[r], format("%s row is %d wide, the picture %d", name,
                                                    static_cast<int>(row.size()), width));
            return false;
        }
        for (int c = 0; c < static_cast<int>(row.size()); c++) {
            if (row[c] == ' ' || row[c] == '.')
                continue;
            const int colour = hexDigit(row[c]);
            if (colour < 0) {
                error = lineError(grid.lines[r],
                                  format("column %d: %s is not a colour (0-9, A-F, '.' or space)",
                                         c + 1, describe(row[c]).c_str()));
                return false;
            }
            colours[static_cast<size_t>(r) * width + c] = colour;
        }
    }
    return true;
}

} // namespace

int compilePictureSource(const std::string &text, CompiledPicture &out, std::string &error) {
    const std::vector<std::string> lines = splitLines(text);
    int width = 0, height = 0, sizeLine = 0;
    int defaultFg = 15, defaultBg = 0;
    std::map<char32_t, LegendEntry> legend;
    Grid chars, fgGrid, bgGrid;

    for (size_t i = 0; i < lines.size(); i++) {
        const int lineNo = static_cast<int>(i) + 1;
        const std::vector<std::string> words = statementWords(lines[i]);
        if (words.empty())
            continue;
        const std::string &word = words[0];
        if (word == "size") {
            if (sizeLine) {
                error =
                    lineError(lineNo, format("a second size (the first is on line %d)", sizeLine));
                return 0;
            }
            if (words.size() != 3 || !parseSide(words[1], width) || !parseSide(words[2], height)) {
                error = lineError(lineNo, "expected 'size WIDTH HEIGHT'");
                return 0;
            }
            if (width < 2 || height < 2 || width > MAX_PICTURE_SIDE || height > MAX_PICTURE_SIDE) {
                error = lineError(lineNo, format("size %d x %d: each side must be 2 to %d "
                                                 "(a thinner picture draws nothing)",
                                                 width, height, MAX_PICTURE_SIDE));
                return 0;
            }
            sizeLine = lineNo;
        } else if (word == "default") {
            if (words.size() < 2 || words.size() > 3 || !parseColour(words[1], defaultFg) ||
                (words.size() == 3 && !parseColour(words[2], defaultBg)) || defaultFg < 0 ||
                defaultBg < 0) {
                error = lineError(lineNo, "expected 'default FOREGROUND [BACKGROUND]' with "
                                          "colour names or digits 0-F");
                return 0;
            }
        } else if (word == "key") {
            if (words.size() < 3 || words.size() > 5) {
                error = lineError(lineNo, "expected 'key K CHARACTER [FOREGROUND [BACKGROUND]]'");
                return 0;
            }
            const std::vector<char32_t> key = decode(words[1]);
            if (key.size() != 1) {
                error = lineError(lineNo, "a key is one character, not '" + words[1] + "'");
                return 0;
            }
            if (legend.count(key[0])) {
                error = lineError(lineNo, "the key " + describe(key[0]) + " is given twice");
                return 0;
            }
            LegendEntry entry{0, -1, -1};
            std::string problem;
            if (!parseCharacter(words[2], entry.code, problem)) {
                error = lineError(lineNo, problem);
                return 0;
            }
            if ((words.size() > 3 && !parseColour(words[3], entry.fg)) ||
                (words.size() > 4 && !parseColour(words[4], entry.bg))) {
                error = lineError(lineNo, "unknown colour in '" + lines[i] + "'");
                return 0;
            }
            legend[key[0]] = entry;
        } else if (word == "chars" || word == "fg" || word == "bg") {
            Grid &grid = word == "chars" ? chars : word == "fg" ? fgGrid : bgGrid;
            if (words.size() != 1) {
                error = lineError(lineNo, "'" + word + "' stands alone; its rows follow it");
                return 0;
            }
            if (!sizeLine) {
                error = lineError(lineNo, "the size must come before the " + word + " grid");
                return 0;
            }
            if (grid.present) {
                error = lineError(lineNo, "a second " + word + " grid");
                return 0;
            }
            // The next `height` lines are the grid whatever they hold, except
            // that a line naming another grid ends it early; missing rows are blank.
            grid.present = true;
            for (int r = 0; r < height && i + 1 < lines.size(); r++) {
                const std::string &next = lines[i + 1];
                if (next == "chars" || next == "fg" || next == "bg")
                    break;
                i++;
                grid.rows.push_back(lines[i]);
                grid.lines.push_back(static_cast<int>(i) + 1);
            }
        } else {
            error = lineError(lineNo, "unknown word '" + word +
                                          "' (expected size, default, key, chars, fg or bg; "
                                          "is a grid taller than the size?)");
            return 0;
        }
    }
    if (!sizeLine) {
        error = "line 1: no 'size WIDTH HEIGHT' line";
        return 0;
    }
    if (!chars.present) {
        error = "line " + std::to_string(lines.size()) + ": no 'chars' grid";
        return 0;
    }

    std::vector<int> fgColours, bgColours;
    if (!readColourGrid(fgGrid, "fg", width, height, fgColours, error) ||
        !readColourGrid(bgGrid, "bg", width, height, bgColours, error))
        return 0;

    out.width = width;
    out.height = height;
    out.cells.assign(static_cast<size_t>(width) * height, Cell{0x20, 0});
    for (int r = 0; r < height; r++) {
        std::vector<char32_t> row;
        if (r < static_cast<int>(chars.rows.size()))
            row = decode(chars.rows[r]);
        if (static_cast<int>(row.size()) > width) {
            error = lineError(chars.lines[r], format("row is %d characters wide, the picture %d",
                                                     static_cast<int>(row.size()), width));
            return 0;
        }
        for (int c = 0; c < width; c++) {
            const char32_t ch = c < static_cast<int>(row.size()) ? row[c] : U' ';
            LegendEntry entry{0, -1, -1};
            auto it = legend.find(ch);
            if (it != legend.end()) {
                entry = it->second;
            } else {
                entry.code = unicodeToCp437(ch);
                if (entry.code < 0) {
                    error = lineError(chars.lines[r],
                                      format("column %d: %s is not a code-page-437 character; "
                                             "give it a key",
                                             c + 1, describe(ch).c_str()));
                    return 0;
                }
            }
            const size_t at = static_cast<size_t>(r) * width + c;
            const int fg = entry.fg >= 0        ? entry.fg
                           : fgColours[at] >= 0 ? fgColours[at]
                                                : defaultFg;
            const int bg = entry.bg >= 0        ? entry.bg
                           : bgColours[at] >= 0 ? bgColours[at]
                                                : defaultBg;
            out.cells[at] =
                Cell{static_cast<uint16_t>(entry.code), static_cast<uint16_t>(fg | bg << 4)};
        }
    }
    return 1;
}

std::string pictureSourceFromCells(const Cell *cells, int width, int height) {
    // The commonest colours become the defaults so the colour grids show only
    // what differs from them.
    int fgCount[16] = {}, bgCount[16] = {};
    bool hasZero = false;
    const size_t count = static_cast<size_t>(width) * height;
    for (size_t i = 0; i < count; i++) {
        fgCount[cells[i].attr & 0xF]++;
        bgCount[(cells[i].attr >> 4) & 0xF]++;
        hasZero = hasZero || (cells[i].ch & 0xFF) == 0;
    }
    const int fg = static_cast<int>(std::max_element(fgCount, fgCount + 16) - fgCount);
    const int bg = static_cast<int>(std::max_element(bgCount, bgCount + 16) - bgCount);

    std::string text = format("size %d %d\ndefault %s %s\n", width, height, consoleColourNames[fg],
                              consoleColourNames[bg]);
    // Code 0 draws as a blank but is not a space; it gets a key of its own that
    // no code-page-437 character uses.
    if (hasZero)
        text += "key \u2400 0x00\n";
    std::vector<std::string> rows;
    bool keyed[3] = {};
    for (int r = 0; r < height; r++) {
        std::string row;
        for (int c = 0; c < width; c++) {
            const int code = cells[static_cast<size_t>(r) * width + c].ch & 0xFF;
            appendUtf8(row, code == 0 ? U'\u2400' : cp437ToUnicode[code]);
        }
        // Trailing spaces are spaces again when compiled.
        row.erase(row.find_last_not_of(' ') + 1);
        // A row that reads as the name of a grid would end the grid; its first
        // letter is written with a key instead.
        const char *names[3] = {"chars", "fg", "bg"};
        for (int k = 0; k < 3; k++)
            if (row == names[k]) {
                row.erase(0, 1);
                std::string key;
                appendUtf8(key, U'\u2401' + k);
                row = key + row;
                keyed[k] = true;
            }
        rows.push_back(row);
    }
    for (int k = 0; k < 3; k++)
        if (keyed[k]) {
            text += "key ";
            appendUtf8(text, U'\u2401' + k);
            text += std::string(" ") + "cfb"[k] + "\n";
        }
    text += "chars\n";
    for (const std::string &row : rows)
        text += row + "\n";
    const char *digits = "0123456789ABCDEF";
    for (int layer = 0; layer < 2; layer++) {
        const int shift = layer ? 4 : 0;
        const int usual = layer ? bg : fg;
        if ((layer ? bgCount[bg] : fgCount[fg]) == static_cast<int>(count))
            continue;
        text += layer ? "bg\n" : "fg\n";
        for (int r = 0; r < height; r++) {
            std::string row;
            for (int c = 0; c < width; c++) {
                const int colour = (cells[static_cast<size_t>(r) * width + c].attr >> shift) & 0xF;
                row += colour == usual ? '.' : digits[colour];
            }
            text += row + "\n";
        }
    }
    return text;
}

bool isGameTextPicture(const std::string &text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    return first != std::string::npos && text[first] == '(';
}

int loadTextPictureFile(const std::string &path, Surface **out) {
    // The game's reader opens only what lies inside its data root: for the
    // moment of reading, the picture's own folder is that root.
    const std::filesystem::path absolute = std::filesystem::absolute(path);
    const std::string savedRoot = dataRoot, savedUserRoot = userDataRoot;
    dataRoot = absolute.parent_path().string();
    userDataRoot.clear();
    const int loaded = loadTextSurface(absolute.filename().string().c_str(), out);
    dataRoot = savedRoot;
    userDataRoot = savedUserRoot;
    return loaded;
}

int loadPictureFile(const std::string &path, CompiledPicture &out, std::string &error) {
    std::string bytes;
    if (!readWholeFile(path, bytes, error))
        return 0;

    Surface *surface = nullptr;
    if (bytes.size() >= 2 && (static_cast<unsigned char>(bytes[0]) |
                              static_cast<unsigned char>(bytes[1]) << 8) == SRF_MAGIC) {
        if (!loadSurface(fopen(path.c_str(), "rb"), &surface)) {
            error = path + ": not a readable .srf picture";
            return 0;
        }
    } else if (isGameTextPicture(bytes)) {
        if (!loadTextPictureFile(path, &surface)) {
            error = path + ": the size '(WIDTH, HEIGHT)' cannot be read or is below 1";
            return 0;
        }
    } else {
        if (!compilePictureSource(bytes, out, error)) {
            error = path + ": " + error;
            return 0;
        }
        return 1;
    }
    if (!surface || !surface->cells) {
        freeSurface(surface);
        error = path + ": the picture is smaller than 2 x 2 and has no cells";
        return 0;
    }
    out.width = surface->width;
    out.height = surface->height;
    out.cells.assign(surface->cells, surface->cells + static_cast<size_t>(out.width) * out.height);
    freeSurface(surface);
    return 1;
}
