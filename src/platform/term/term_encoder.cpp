#include "platform/term/term_encoder.h"
#include "platform/term/term_glyphs.h"
#include <cstdio>
#include <cstring>

int termAnsiIndex(int consoleIndex) {
    return (consoleIndex & 0xA) | ((consoleIndex & 1) << 2) | ((consoleIndex & 4) >> 2);
}

static uint32_t rgbOf(uint32_t colorref) {
    return ((colorref & 0xFF) << 16) | (colorref & 0xFF00) | ((colorref >> 16) & 0xFF);
}

int termNearest256(uint32_t colorref) {
    const int r = colorref & 0xFF, g = (colorref >> 8) & 0xFF, b = (colorref >> 16) & 0xFF;
    static const int levels[6] = {0, 95, 135, 175, 215, 255};
    auto nearestLevel = [](int v) {
        int best = 0;
        for (int i = 1; i < 6; i++)
            if (std::abs(levels[i] - v) < std::abs(levels[best] - v))
                best = i;
        return best;
    };
    auto distance = [&](int rr, int gg, int bb) {
        return (rr - r) * (rr - r) + (gg - g) * (gg - g) + (bb - b) * (bb - b);
    };
    const int ri = nearestLevel(r), gi = nearestLevel(g), bi = nearestLevel(b);
    const int cube = 16 + 36 * ri + 6 * gi + bi;
    const int cubeDistance = distance(levels[ri], levels[gi], levels[bi]);
    int grey = ((r + g + b) / 3 - 8 + 5) / 10; // the ramp runs 8, 18, ... 238
    grey = grey < 0 ? 0 : grey > 23 ? 23 : grey;
    const int level = 8 + 10 * grey;
    return distance(level, level, level) < cubeDistance ? 232 + grey : cube;
}

static uint32_t colourKey(const TermScreen &screen, int index) {
    switch (screen.colourMode) {
    case TERM_COLOURS_PALETTE:
        return static_cast<uint32_t>(termAnsiIndex(index));
    case TERM_COLOURS_24BIT:
        return rgbOf(screen.palette[index]);
    case TERM_COLOURS_256:
        return static_cast<uint32_t>(termNearest256(screen.palette[index]));
    }
    return 0;
}

// `keys` holds the colour key of each of the 16 colours, worked out once a frame.
static TermShownCell resolve(const uint32_t keys[16], Cell cell) {
    const uint8_t ch = static_cast<uint8_t>(cell.ch & 0xFF);
    TermShownCell shown;
    shown.bg = keys[(cell.attr >> 4) & 15];
    if (termGlyphIsBlank(ch)) {
        shown.ch = 0x20;
        shown.fg = TERM_ANY_COLOUR;
    } else if (ch == 0xDB) {
        // A full block is a blank in its own colour: many terminal fonts
        // draw the block a little short of the cell, and the pictures made of
        // blocks would show a grid of seams.
        shown.ch = 0x20;
        shown.fg = TERM_ANY_COLOUR;
        shown.bg = keys[cell.attr & 15];
    } else {
        shown.ch = ch;
        shown.fg = keys[cell.attr & 15];
    }
    return shown;
}

static void appendNumber(std::string &out, unsigned value) {
    char text[12];
    const int n = snprintf(text, sizeof text, "%u", value);
    out.append(text, static_cast<size_t>(n));
}

static void appendColour(std::string &out, const TermScreen &screen, uint32_t key, bool fg) {
    switch (screen.colourMode) {
    case TERM_COLOURS_PALETTE:
        appendNumber(out, (key < 8 ? (fg ? 30 : 40) : (fg ? 90 - 8 : 100 - 8)) + key);
        break;
    case TERM_COLOURS_24BIT:
        out += fg ? "38;2;" : "48;2;";
        appendNumber(out, key >> 16);
        out += ';';
        appendNumber(out, (key >> 8) & 0xFF);
        out += ';';
        appendNumber(out, key & 0xFF);
        break;
    case TERM_COLOURS_256:
        out += fg ? "38;5;" : "48;5;";
        appendNumber(out, key);
        break;
    }
}

// The pen and cursor while one frame is written; unknown at its start,
// because anything may have been written in between.
struct Writer {
    std::string &out;
    const TermScreen &screen;
    int row = -1, column = -1; // -1: unknown
    uint32_t fg = TERM_ANY_COLOUR, bg = TERM_ANY_COLOUR;
    bool penKnown = false;
};

static void moveTo(Writer &w, int row, int column) {
    if (w.row == row && w.column == column)
        return;
    if (w.row == row && w.column >= 0 && column > w.column) {
        const int n = column - w.column;
        w.out += "\x1b[";
        if (n > 1)
            appendNumber(w.out, static_cast<unsigned>(n));
        w.out += 'C';
    } else {
        w.out += "\x1b[";
        appendNumber(w.out, static_cast<unsigned>(row + 1));
        if (column > 0) {
            w.out += ';';
            appendNumber(w.out, static_cast<unsigned>(column + 1));
        }
        w.out += 'H';
    }
    w.row = row;
    w.column = column;
}

static void setPen(Writer &w, const TermShownCell &cell) {
    const bool needFg = cell.fg != TERM_ANY_COLOUR && (!w.penKnown || w.fg != cell.fg);
    const bool needBg = !w.penKnown || w.bg != cell.bg;
    if (!needFg && !needBg)
        return;
    w.out += "\x1b[";
    if (!w.penKnown) {
        // Start from plain attributes, so nothing left over (bold, reverse) shows.
        w.out += "0;";
    }
    if (needFg) {
        appendColour(w.out, w.screen, cell.fg, true);
        w.fg = cell.fg;
    }
    if (needBg) {
        if (needFg)
            w.out += ';';
        appendColour(w.out, w.screen, cell.bg, false);
        w.bg = cell.bg;
    }
    w.out += 'm';
    w.penKnown = true;
}

void termEncodeFrame(TermScreen &screen, const Cell *cells, int width, int height, std::string &out,
                     bool diff) {
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (screen.shownWidth != width || screen.shownHeight != height ||
        screen.shown.size() != count) {
        screen.shown.assign(count, TermShownCell{});
        screen.shownWidth = width;
        screen.shownHeight = height;
        screen.shownValid = false;
    }
    const bool full = !diff || !screen.shownValid;
    const size_t start = out.size();
    out += "\x1b[?2026h";
    const size_t afterOpen = out.size();
    Writer w{out, screen};
    if (!screen.shownValid) {
        // The margins around the picture keep the terminal's own background.
        out += "\x1b[0m\x1b[2J";
    }
    uint32_t keys[16];
    for (int i = 0; i < 16; i++)
        keys[i] = colourKey(screen, i);
    const int cw = screen.cellColumns;
    for (int y = 0; y < height; y++) {
        const int row = screen.originRow + y;
        const bool rowVisible = row >= 0 && row < screen.rows;
        for (int x = 0; x < width; x++) {
            const size_t i = static_cast<size_t>(y) * width + x;
            const TermShownCell target = resolve(keys, cells[i]);
            if (!full && screen.shown[i] == target)
                continue;
            screen.shown[i] = target;
            const int column = screen.originColumn + x * cw;
            if (!rowVisible || column < 0 || column + cw > screen.columns)
                continue; // shaken off the edge: redrawn in full when it comes back
            moveTo(w, row, column);
            setPen(w, target);
            out += termGlyph(static_cast<uint8_t>(target.ch), cw);
            w.column = column + cw;
            if (w.column >= screen.columns)
                w.column = -1; // the cursor stays in the last column: position unknown
        }
    }
    screen.shownValid = true;
    if (out.size() == afterOpen) {
        out.resize(start);
        return;
    }
    out += "\x1b[?2026l";
}

// CSI n letter, the count left out when it is 1.
static void appendCount(std::string &out, int n, char final) {
    out += "\x1b[";
    if (n != 1)
        appendNumber(out, static_cast<unsigned>(n));
    out += final;
}

bool termEncodeShift(TermScreen &screen, int column, int row, std::string &out) {
    const int width = screen.shownWidth * screen.cellColumns, height = screen.shownHeight;
    auto fits = [&](int c, int r) {
        return c >= 0 && r >= 0 && c + width <= screen.columns && r + height <= screen.rows;
    };
    if (!screen.shownValid || width == 0 || !fits(column, row) ||
        !fits(screen.originColumn, screen.originRow))
        return false;
    const int dr = row - screen.originRow, dc = column - screen.originColumn;
    if (dr == 0 && dc == 0)
        return true;
    // What comes in at the edges takes the terminal's own background.
    out += "\x1b[?2026h\x1b[0m";
    if (dr != 0) {
        // A scroll region over both places; the rows scrolled in are blank.
        const int top = dr > 0 ? screen.originRow : row;
        const int bottom = (dr > 0 ? row : screen.originRow) + height;
        out += "\x1b[";
        appendNumber(out, static_cast<unsigned>(top + 1));
        out += ';';
        appendNumber(out, static_cast<unsigned>(bottom));
        out += 'r';
        appendCount(out, dr > 0 ? dr : -dr, dr > 0 ? 'T' : 'S');
        out += "\x1b[r";
    }
    if (dc != 0) {
        // Each row of the picture slides sideways at its old left edge (to
        // the right) or at its new one (to the left); the cursor goes down
        // the rows in that column.
        out += "\x1b[";
        appendNumber(out, static_cast<unsigned>(row + 1));
        out += ';';
        appendNumber(out, static_cast<unsigned>((dc > 0 ? screen.originColumn : column) + 1));
        out += 'H';
        for (int y = 0; y < height; y++) {
            if (y > 0)
                out += "\x1b[B";
            appendCount(out, dc > 0 ? dc : -dc, dc > 0 ? '@' : 'P');
        }
    }
    out += "\x1b[?2026l";
    screen.originColumn = column;
    screen.originRow = row;
    return true;
}

void termEncodePalette(TermScreen &screen, const uint32_t palette[16], std::string &out) {
    memcpy(screen.palette, palette, sizeof screen.palette);
    if (screen.colourMode != TERM_COLOURS_PALETTE)
        return;
    for (int i = 0; i < 16; i++) {
        if (screen.terminalPaletteKnown && screen.terminalPalette[i] == palette[i])
            continue;
        char text[40];
        const int n =
            snprintf(text, sizeof text, "\x1b]4;%d;rgb:%02x/%02x/%02x\x07", termAnsiIndex(i),
                     palette[i] & 0xFF, (palette[i] >> 8) & 0xFF, (palette[i] >> 16) & 0xFF);
        out.append(text, static_cast<size_t>(n));
        screen.terminalPalette[i] = palette[i];
    }
    screen.terminalPaletteKnown = true;
}
