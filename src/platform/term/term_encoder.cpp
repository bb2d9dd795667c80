#include "platform/term/term_encoder.h"
#include "platform/term/term_glyphs.h"
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

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
        if (shown.fg == shown.bg) { // ink on its own colour shows nothing
            shown.ch = 0x20;
            shown.fg = TERM_ANY_COLOUR;
        } else if (ch == 0xDC) { // a lower half block is an upper one the other way round
            shown = TermShownCell{0xDF, shown.bg, shown.fg};
        }
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

// The pen and cursor while one frame is written.
struct Writer : TermPen {
    std::string &out;
    const TermScreen &screen;
    Writer(std::string &o, const TermScreen &s) : out(o), screen(s) {}
};

// CSI n letter, the count left out when it is 1.
static void appendCount(std::string &out, int n, char final) {
    out += "\x1b[";
    if (n != 1)
        appendNumber(out, static_cast<unsigned>(n));
    out += final;
}

// The shortest way from the cursor to (row, column): an absolute position,
// or steps from where the cursor is. A line feed is a plain step down
// (output translation is off), and never scrolls: the cursor is above the
// row it goes to.
static std::string moveSeq(const Writer &w, int row, int column) {
    std::string best = "\x1b[";
    appendNumber(best, static_cast<unsigned>(row + 1));
    if (column > 0) {
        best += ';';
        appendNumber(best, static_cast<unsigned>(column + 1));
    }
    best += 'H';
    if (w.row < 0)
        return best;
    std::string steps;
    const int down = row - w.row;
    if (down > 0 && down <= 3)
        steps.append(static_cast<size_t>(down), '\n');
    else if (down > 0)
        appendCount(steps, down, 'B');
    else if (down < 0)
        appendCount(steps, -down, 'A');
    std::string across = "\r", absolute;
    if (column > 0)
        appendCount(across, column, 'C');
    appendCount(absolute, column + 1, 'G');
    if (absolute.size() < across.size())
        across = absolute;
    if (w.column >= 0) { // known, so steps along the row are possible
        std::string along;
        if (column > w.column)
            appendCount(along, column - w.column, 'C');
        else if (column < w.column && column >= w.column - 3)
            along.append(static_cast<size_t>(w.column - column), '\b');
        else if (column < w.column)
            appendCount(along, w.column - column, 'D');
        if (along.size() < across.size())
            across = along;
    }
    steps += across;
    return steps.size() < best.size() ? steps : best;
}

static void moveTo(Writer &w, int row, int column) {
    if (w.row == row && w.column == column)
        return;
    w.out += moveSeq(w, row, column);
    w.row = row;
    w.column = column;
}

// How many of its two colours a pen must change to write the cell.
static int penChanges(bool known, uint32_t fg, uint32_t bg, const TermShownCell &cell) {
    if (!known)
        return 2;
    return (cell.fg != TERM_ANY_COLOUR && cell.fg != fg) + (cell.bg != bg);
}

static bool isHalfBlock(const TermShownCell &cell) {
    return cell.ch == 0xDC || cell.ch == 0xDF;
}

// The other half block with the colours the other way round: the same picture.
static TermShownCell flipped(const TermShownCell &cell) {
    return TermShownCell{static_cast<uint16_t>(cell.ch ^ 0x03), cell.bg, cell.fg};
}

static void setPen(Writer &w, const TermShownCell &cell) {
    const bool needFg = cell.fg != TERM_ANY_COLOUR && (!w.penKnown || w.fg != cell.fg);
    const bool needBg = !w.penKnown || w.bg != cell.bg;
    if (!needFg && !needBg)
        return;
    w.out += "\x1b[";
    if (!w.penKnown) {
        // Start from plain attributes, so nothing left over (bold, reverse)
        // shows; the ink is then the terminal's own.
        w.out += "0;";
        w.fg = TERM_ANY_COLOUR;
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

// The fewest colour changes that write `n` cells from a pen, each half block
// whichever way round suits.
static int fewestChanges(bool known, uint32_t fg, uint32_t bg, const TermShownCell *cells, int n) {
    if (n == 0)
        return 0;
    int best = 2 * n;
    for (int way = 0; way < (isHalfBlock(cells[0]) ? 2 : 1); way++) {
        const TermShownCell c = way ? flipped(cells[0]) : cells[0];
        best = std::min(best, penChanges(known, fg, bg, c) +
                                  fewestChanges(true, c.fg != TERM_ANY_COLOUR ? c.fg : fg, c.bg,
                                                cells + 1, n - 1));
    }
    return best;
}

// Writes one cell at the cursor. An upper half block is the same picture as
// a lower one with the colours the other way round: whichever suits the pen
// and the `ahead` cells written after it (up to three) is written.
static void writeCell(Writer &w, TermShownCell cell, const TermShownCell *after, int ahead) {
    if (isHalfBlock(cell)) {
        ahead = std::min(ahead, 3);
        auto score = [&](const TermShownCell &c) {
            const int now = penChanges(w.penKnown, w.fg, w.bg, c);
            return 8 * (now + fewestChanges(true, c.fg, c.bg, after, ahead)) + now;
        };
        if (score(flipped(cell)) < score(cell))
            cell = flipped(cell);
    }
    setPen(w, cell);
    const int cw = w.screen.cellColumns;
    w.out += termGlyph(static_cast<uint8_t>(cell.ch), cw);
    w.column += cw;
    if (w.column >= w.screen.columns)
        w.column = -1; // the cursor stays in the last column: position unknown
}

// About how many bytes the pen's colour escape for a cell costs, in the
// cell's cheaper way round.
static int penBytes(const Writer &w, const TermShownCell &cell) {
    int n = penChanges(w.penKnown, w.fg, w.bg, cell);
    if (isHalfBlock(cell))
        n = std::min(n, penChanges(w.penKnown, w.fg, w.bg, flipped(cell)));
    return n == 0 ? 0 : 3 + 3 * n;
}

// Brings the cursor to cell `x` of the row it is on by writing the few
// unchanged cells before it again, when that and the colours cell `x` then
// needs are shorter than moving over them. Returns false, having written
// nothing, when it is not.
static bool rewriteGap(Writer &w, const TermShownCell *cells, int x) {
    const int cw = w.screen.cellColumns;
    const int column = w.screen.originColumn + x * cw;
    if (w.column < 0 || w.column >= column || column - w.column > 4 * cw)
        return false;
    const TermPen before = w;
    const size_t start = w.out.size();
    const int moveSize = static_cast<int>(moveSeq(w, w.row, column).size()) + penBytes(w, cells[x]);
    for (int g = x - (column - w.column) / cw; g < x; g++)
        writeCell(w, cells[g], &cells[g + 1], x - g);
    if (static_cast<int>(w.out.size() - start) + penBytes(w, cells[x]) <= moveSize)
        return true;
    w.out.resize(start);
    static_cast<TermPen &>(w) = before;
    return false;
}

// Erases the blanks from `x` on with the terminal's erase (ECH, which
// fills with the pen's background and leaves the cursor where it is) when
// that and a later step over them are shorter than writing spaces. Returns
// the cell after the last one erased, or `x` when nothing was.
static int eraseBlanks(Writer &w, const TermShownCell *cells, const bool *changed, int x, int end) {
    const TermShownCell blank = cells[x];
    if (blank.fg != TERM_ANY_COLOUR)
        return x;
    int last = x + 1;
    while (last < end && cells[last] == blank)
        last++;
    while (!changed[last - 1])
        last--;
    const int n = (last - x) * w.screen.cellColumns;
    std::string erase, skip;
    appendCount(erase, n, 'X');
    appendCount(skip, n, 'C');
    if (static_cast<int>(erase.size() + skip.size()) >= n)
        return x;
    setPen(w, blank);
    w.out += erase;
    return last;
}

// A figure that walks moves the same cells a step sideways. When that
// saves writing, the terminal slides the stretch itself: it deletes cells
// (DCH) at one end and inserts as many (ICH) at the other, which leaves the
// rest of the line, margins included, where it was; only what still differs
// is written after. The cells the slide opens take the pen's background.
// `shown` (the row as the terminal shows it) and `changed` follow the slide.
static void slideRow(Writer &w, TermShownCell *shown, const TermShownCell *target, bool *changed,
                     int xBegin, int xEnd, int row) {
    const int cw = w.screen.cellColumns;
    auto cost = [cw](const TermShownCell &c) {
        return static_cast<int>(termGlyph(static_cast<uint8_t>(c.ch), cw).size()) + 3;
    };
    // The stretch [s, e) of the new row, from old cells a step of k away,
    // that saves the most: the widest run of cells the slide puts right
    // less those it would spoil.
    int bestGain = 0, bestK = 0, bestS = 0, bestE = 0;
    for (int k : {1, -1, 2, -2}) {
        const int lo = k > 0 ? xBegin + k : xBegin, hi = k > 0 ? xEnd : xEnd + k;
        int sum = 0, s = lo;
        for (int x = lo; x < hi; x++) {
            if (sum <= 0) {
                sum = 0;
                s = x;
            }
            if (shown[x - k] == target[x])
                sum += changed[x] ? cost(target[x]) : 0;
            else
                sum -= changed[x] ? 0 : cost(target[x]);
            if (sum > bestGain) {
                bestGain = sum;
                bestK = k;
                bestS = s;
                bestE = x + 1;
            }
        }
    }
    const int n = std::abs(bestK);
    if (bestGain <= 24 + n * (cw + 6))
        return;
    const TermShownCell opened = w.penKnown ? TermShownCell{0x20, TERM_ANY_COLOUR, w.bg}
                                            : TermShownCell{0xFFFF, 0, 0}; // written again
    auto column = [&](int x) { return w.screen.originColumn + x * cw; };
    if (bestK > 0) {
        moveTo(w, row, column(bestE - n));
        appendCount(w.out, n * cw, 'P');
        moveTo(w, row, column(bestS - n));
        appendCount(w.out, n * cw, '@');
        for (int x = bestE - 1; x >= bestS; x--)
            shown[x] = shown[x - n];
        for (int x = bestS - n; x < bestS; x++)
            shown[x] = opened;
    } else {
        moveTo(w, row, column(bestS));
        appendCount(w.out, n * cw, 'P');
        moveTo(w, row, column(bestE));
        appendCount(w.out, n * cw, '@');
        for (int x = bestS; x < bestE; x++)
            shown[x] = shown[x + n];
        for (int x = bestE; x < bestE + n; x++)
            shown[x] = opened;
    }
    for (int x = xBegin; x < xEnd; x++)
        changed[x] = !(shown[x] == target[x]);
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
    if (screen.shownValid) {
        static_cast<TermPen &>(w) = screen.pen;
    } else {
        // The margins around the picture keep the terminal's own background.
        out += "\x1b[0m\x1b[2J";
    }
    uint32_t keys[16];
    for (int i = 0; i < 16; i++)
        keys[i] = colourKey(screen, i);
    const int cw = screen.cellColumns;
    // The cells wholly on the terminal; those shaken off an edge are drawn
    // in full when they come back.
    int xBegin = 0, xEnd = width;
    while (xBegin < width && screen.originColumn + xBegin * cw < 0)
        xBegin++;
    while (xEnd > xBegin && screen.originColumn + xEnd * cw > screen.columns)
        xEnd--;
    std::vector<TermShownCell> target(static_cast<size_t>(width));
    std::unique_ptr<bool[]> changed(new bool[static_cast<size_t>(width)]);
    for (int y = 0; y < height; y++) {
        const int row = screen.originRow + y;
        TermShownCell *shown = &screen.shown[static_cast<size_t>(y) * width];
        bool any = false;
        for (int x = 0; x < width; x++) {
            target[x] = resolve(keys, cells[static_cast<size_t>(y) * width + x]);
            changed[x] = full || !(shown[x] == target[x]);
            any = any || changed[x];
        }
        if (!any)
            continue;
        if (row >= 0 && row < screen.rows && !full)
            slideRow(w, shown, target.data(), changed.get(), xBegin, xEnd, row);
        std::copy(target.begin(), target.end(), shown);
        if (row < 0 || row >= screen.rows)
            continue;
        for (int x = xBegin; x < xEnd;) {
            if (!changed[x]) {
                x++;
                continue;
            }
            if (w.row != row || !rewriteGap(w, target.data(), x))
                moveTo(w, row, screen.originColumn + x * cw);
            const int after = eraseBlanks(w, target.data(), changed.get(), x, xEnd);
            if (after > x) {
                x = after;
                continue;
            }
            int ahead = 0;
            while (ahead < 3 && x + 1 + ahead < xEnd && changed[x + 1 + ahead])
                ahead++;
            writeCell(w, target[x], &target[x + 1], ahead);
            x++;
        }
    }
    screen.shownValid = true;
    if (out.size() == afterOpen) {
        out.resize(start);
        return;
    }
    out += "\x1b[?2026l";
    screen.pen = w;
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
        // the rows in that column by line feeds, which never scroll here:
        // the picture ends on the terminal.
        out += "\x1b[";
        appendNumber(out, static_cast<unsigned>(row + 1));
        out += ';';
        appendNumber(out, static_cast<unsigned>((dc > 0 ? screen.originColumn : column) + 1));
        out += 'H';
        for (int y = 0; y < height; y++) {
            if (y > 0)
                out += '\n';
            appendCount(out, dc > 0 ? dc : -dc, dc > 0 ? '@' : 'P');
        }
    }
    out += "\x1b[?2026l";
    screen.originColumn = column;
    screen.originRow = row;
    screen.pen = TermPen{};
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
