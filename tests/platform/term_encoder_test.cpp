#include "console/console_setup.h"
#include "platform/raster/cp437.h"
#include "platform/raster/rasteriser.h"
#include "platform/term/term_encoder.h"
#include "platform/term/term_glyphs.h"
#include <cstdlib>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

const uint32_t *const standard = standardPalette;

constexpr int W = 116, H = 88;

// Just enough of a terminal to read back what the encoder writes: cursor
// moves, colours, clearing, OSC 4 and UTF-8 text one column per character.
struct Terminal {
    struct Colour {
        int kind = 0; // 0 default, 1 indexed, 2 rgb
        uint32_t value = 0;
        bool operator==(const Colour &) const = default;
    };
    struct Cell {
        char32_t ch = ' ';
        Colour fg, bg;
    };
    int columns, rows;
    std::vector<Cell> cells;
    int row = 0, column = 0;
    int top = 0, bottom = -1; // the scroll region; bottom -1 is the last row
    Colour fg, bg;
    uint32_t palette[256] = {}; // 0x00RRGGBB of each indexed colour
    int syncDepth = 0;
    int bytesSeen = 0;

    Terminal(int c, int r) : columns(c), rows(r), cells(static_cast<size_t>(c * r)) {
        for (int i = 0; i < 256; i++)
            palette[i] = 0x123456; // nothing the encoder would choose
    }

    Cell &at(int r, int c) { return cells[static_cast<size_t>(r * columns + c)]; }

    void put(char32_t ch) {
        if (row >= 0 && row < rows && column >= 0 && column < columns)
            at(row, column) = Cell{ch, fg, bg};
        ASSERT_LT(column, columns) << "wrote past the right edge";
        column = std::min(column + 1, columns - 1);
    }

    // Rows of the scroll region move up (n > 0) or down; blanks come in.
    void scroll(int n) {
        const int last = bottom < 0 ? rows - 1 : bottom;
        std::vector<Cell> old(cells);
        for (int r = top; r <= last; r++)
            for (int c = 0; c < columns; c++) {
                const int from = r + n;
                at(r, c) = from >= top && from <= last
                               ? old[static_cast<size_t>(from * columns + c)]
                               : Cell{' ', Colour{}, bg};
            }
    }

    // Characters from the cursor on move right (n > 0, inserting) or left.
    void slide(int n) {
        std::vector<Cell> line(cells.begin() + row * columns, cells.begin() + (row + 1) * columns);
        for (int c = column; c < columns; c++) {
            const int from = c - n;
            at(row, c) = from >= column && from < columns ? line[static_cast<size_t>(from)]
                                                          : Cell{' ', Colour{}, bg};
        }
    }

    void sgr(const std::vector<int> &p) {
        for (size_t i = 0; i < p.size(); i++) {
            const int v = p[i];
            if (v == 0) {
                fg = bg = Colour{};
            } else if ((v >= 30 && v <= 37) || (v >= 90 && v <= 97)) {
                fg = Colour{1, static_cast<uint32_t>(v >= 90 ? v - 90 + 8 : v - 30)};
            } else if ((v >= 40 && v <= 47) || (v >= 100 && v <= 107)) {
                bg = Colour{1, static_cast<uint32_t>(v >= 100 ? v - 100 + 8 : v - 40)};
            } else if ((v == 38 || v == 48) && i + 1 < p.size()) {
                Colour &c = v == 38 ? fg : bg;
                if (p[i + 1] == 5 && i + 2 < p.size()) {
                    c = Colour{1, static_cast<uint32_t>(p[i + 2])};
                    i += 2;
                } else if (p[i + 1] == 2 && i + 4 < p.size()) {
                    c = Colour{
                        2, static_cast<uint32_t>((p[i + 2] << 16) | (p[i + 3] << 8) | p[i + 4])};
                    i += 4;
                } else {
                    ADD_FAILURE() << "bad extended colour";
                }
            } else {
                ADD_FAILURE() << "unexpected SGR " << v;
            }
        }
    }

    void feed(const std::string &s) {
        bytesSeen += static_cast<int>(s.size());
        size_t i = 0;
        while (i < s.size()) {
            const unsigned char b = static_cast<unsigned char>(s[i]);
            if (b == 0x1B && i + 1 < s.size() && s[i + 1] == '[') {
                size_t j = i + 2;
                std::string params;
                while (j < s.size() && !(s[j] >= 0x40 && s[j] <= 0x7E))
                    params += s[j++];
                ASSERT_LT(j, s.size()) << "unfinished sequence";
                const char final = s[j];
                i = j + 1;
                if (params == "?2026") {
                    syncDepth += final == 'h' ? 1 : -1;
                    continue;
                }
                std::vector<int> p;
                size_t k = 0;
                while (k <= params.size()) {
                    const size_t e = params.find(';', k);
                    const std::string part = params.substr(k, e == std::string::npos ? e : e - k);
                    p.push_back(part.empty() ? 0 : atoi(part.c_str()));
                    if (e == std::string::npos)
                        break;
                    k = e + 1;
                }
                if (final == 'H') {
                    row = (p.size() > 0 && p[0] ? p[0] : 1) - 1;
                    column = (p.size() > 1 && p[1] ? p[1] : 1) - 1;
                } else if (final == 'C') {
                    column += p[0] ? p[0] : 1;
                } else if (final == 'J') {
                    ASSERT_EQ(p[0], 2);
                    for (Cell &c : cells)
                        c = Cell{' ', Colour{}, bg};
                } else if (final == 'm') {
                    sgr(p);
                } else if (final == 'r') {
                    top = p.size() > 1 ? p[0] - 1 : 0;
                    bottom = p.size() > 1 ? p[1] - 1 : -1;
                    row = column = 0;
                } else if (final == 'S' || final == 'T') {
                    scroll((p[0] ? p[0] : 1) * (final == 'S' ? 1 : -1));
                } else if (final == '@' || final == 'P') {
                    slide((p[0] ? p[0] : 1) * (final == '@' ? 1 : -1));
                } else if (final == 'B') {
                    row = std::min(row + (p[0] ? p[0] : 1), rows - 1);
                } else {
                    ADD_FAILURE() << "unexpected sequence " << params << final;
                }
            } else if (b == 0x1B && i + 1 < s.size() && s[i + 1] == ']') {
                const size_t end = s.find('\x07', i);
                ASSERT_NE(end, std::string::npos);
                const std::string body = s.substr(i + 2, end - i - 2);
                unsigned index, r, g, bl;
                ASSERT_EQ(sscanf(body.c_str(), "4;%u;rgb:%x/%x/%x", &index, &r, &g, &bl), 4)
                    << body;
                palette[index] = (r << 16) | (g << 8) | bl;
                i = end + 1;
            } else {
                ASSERT_GE(b, 0x20) << "control byte in text";
                put(readUtf8(s, i));
            }
        }
    }

    // The colour as the eye sees it.
    uint32_t rgb(const Colour &c) const { return c.kind == 1 ? palette[c.value] : c.value; }
};

std::vector<char32_t> codepoints(const std::string &s) {
    std::vector<char32_t> out;
    for (size_t i = 0; i < s.size();)
        out.push_back(readUtf8(s, i));
    return out;
}

// What the colour of a console index must look like on the terminal.
uint32_t expectedColour(const TermScreen &screen, int index, const Terminal &t) {
    if (screen.colourMode == TERM_COLOURS_256)
        return t.palette[termNearest256(screen.palette[index])];
    return colorrefToRgb(screen.palette[index]);
}

// Checks that the terminal shows the frame exactly: every character of both
// columns, the ink of what is not blank, and every background.
void expectShows(Terminal &t, const TermScreen &screen, const std::vector<Cell> &frame) {
    const int cw = screen.cellColumns;
    int wrong = 0;
    for (int y = 0; y < H && wrong < 5; y++)
        for (int x = 0; x < W && wrong < 5; x++) {
            const int row = screen.originRow + y;
            const int column = screen.originColumn + x * cw;
            if (row < 0 || row >= t.rows || column < 0 || column + cw > t.columns)
                continue;
            const Cell cell = frame[static_cast<size_t>(y * W + x)];
            // A full block is a blank with its ink for background.
            const bool solid = (cell.ch & 0xFF) == 0xDB;
            const std::vector<char32_t> glyph =
                codepoints(termGlyph(solid ? ' ' : static_cast<uint8_t>(cell.ch), cw));
            const int background = solid ? cell.attr & 15 : (cell.attr >> 4) & 15;
            for (int k = 0; k < cw; k++) {
                const Terminal::Cell &shown = t.at(row, column + k);
                bool ok = shown.ch == glyph[static_cast<size_t>(k)] &&
                          t.rgb(shown.bg) == expectedColour(screen, background, t);
                if (glyph[static_cast<size_t>(k)] != ' ')
                    ok = ok && t.rgb(shown.fg) == expectedColour(screen, cell.attr & 15, t);
                if (!ok) {
                    ADD_FAILURE() << "cell " << x << "," << y << " column " << k;
                    wrong++;
                }
            }
        }
}

std::vector<Cell> randomFrame(std::mt19937 &rng) {
    std::vector<Cell> frame(W * H);
    for (Cell &c : frame)
        c = Cell{static_cast<uint16_t>(rng() % 256), static_cast<uint16_t>(rng() % 256)};
    return frame;
}

// Changes a few small areas, as moving things do between two frames.
void moveThings(std::vector<Cell> &frame, std::mt19937 &rng) {
    for (int n = 0; n < 6; n++) {
        const int x0 = static_cast<int>(rng() % (W - 6)), y0 = static_cast<int>(rng() % (H - 6));
        const Cell c{static_cast<uint16_t>(rng() % 256), static_cast<uint16_t>(rng() % 256)};
        for (int y = y0; y < y0 + 5; y++)
            for (int x = x0; x < x0 + 5; x++)
                frame[static_cast<size_t>(y * W + x)] = c;
    }
}

TermScreen makeScreen(TermColourMode mode, int cellColumns, int columns, int rows) {
    TermScreen s;
    s.colourMode = mode;
    s.cellColumns = cellColumns;
    s.columns = columns;
    s.rows = rows;
    s.originColumn = (columns - W * cellColumns) / 2;
    s.originRow = (rows - H) / 2;
    std::copy(standard, standard + 16, s.palette);
    return s;
}

void fillCube(Terminal &t) {
    static const int levels[6] = {0, 95, 135, 175, 215, 255};
    for (int i = 16; i < 232; i++) {
        const int n = i - 16;
        t.palette[i] = static_cast<uint32_t>((levels[n / 36] << 16) | (levels[(n / 6) % 6] << 8) |
                                             levels[n % 6]);
    }
    for (int i = 232; i < 256; i++) {
        const uint32_t v = static_cast<uint32_t>(8 + 10 * (i - 232));
        t.palette[i] = (v << 16) | (v << 8) | v;
    }
}

} // namespace

TEST(TermGlyphs, EveryCodeFillsItsColumnsWithVisibleCharacters) {
    for (int cw = 1; cw <= 2; cw++)
        for (int code = 0; code < 256; code++) {
            const std::string &g = termGlyph(static_cast<uint8_t>(code), cw);
            const std::vector<char32_t> cps = codepoints(g);
            ASSERT_EQ(static_cast<int>(cps.size()), cw) << code;
            for (char32_t c : cps)
                EXPECT_TRUE(c >= 0x20 && c != 0x7F && (c < 0x80 || c >= 0xA0)) << code;
        }
    // The symbols below 32 and at 127 are the console's pictures, not control codes.
    EXPECT_EQ(termGlyph(1, 1), "☺");
    EXPECT_EQ(termGlyph(24, 1), "↑");
    EXPECT_EQ(termGlyph(127, 2), "⌂ ");
}

TEST(TermGlyphs, TwoColumnCellsKeepLinesAndBlocksJoined) {
    EXPECT_EQ(termGlyph(0xC4, 2), "──");
    EXPECT_EQ(termGlyph(0xDA, 2), "┌─");
    EXPECT_EQ(termGlyph(0xBF, 2), "┐ ");
    EXPECT_EQ(termGlyph(0xC9, 2), "╔═");
    EXPECT_EQ(termGlyph(0xD6, 2), "╓─"); // the horizontal arm of ╓ is single
    EXPECT_EQ(termGlyph(0xB3, 2), "│ ");
    EXPECT_EQ(termGlyph(0xDB, 2), "██");
    EXPECT_EQ(termGlyph(0xDF, 2), "▀▀");
    EXPECT_EQ(termGlyph(0xDD, 2), "█ "); // left half
    EXPECT_EQ(termGlyph(0xDE, 2), " █"); // right half
    EXPECT_EQ(termGlyph('A', 2), "A ");
    EXPECT_EQ(termGlyph(0, 2), "  ");
    EXPECT_EQ(termGlyph(0xFF, 1), " ");
    EXPECT_EQ(termGlyph(0xDD, 1), "▌");
}

TEST(TermEncoder, TheTerminalAlwaysShowsTheLatestFrameAndPalette) {
    struct Case {
        TermColourMode mode;
        int cw, columns, rows;
    } cases[] = {{TERM_COLOURS_24BIT, 2, 240, 92},
                 {TERM_COLOURS_PALETTE, 2, 232, 88},
                 {TERM_COLOURS_256, 1, 130, 90},
                 {TERM_COLOURS_24BIT, 1, 116, 88}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " columns " << c.cw);
        std::mt19937 rng(7 + c.cw + c.mode);
        Terminal t(c.columns, c.rows);
        fillCube(t);
        TermScreen screen = makeScreen(c.mode, c.cw, c.columns, c.rows);
        std::string out;
        termEncodePalette(screen, standard, out);
        std::vector<Cell> frame = randomFrame(rng);
        termEncodeFrame(screen, frame.data(), W, H, out);
        t.feed(out);
        expectShows(t, screen, frame);
        for (int step = 0; step < 12; step++) {
            out.clear();
            moveThings(frame, rng);
            if (step % 4 == 3) {
                uint32_t palette[16];
                for (uint32_t &p : palette)
                    p = rng() & 0xFFFFFF;
                termEncodePalette(screen, palette, out);
            }
            termEncodeFrame(screen, frame.data(), W, H, out);
            t.feed(out);
            expectShows(t, screen, frame);
            EXPECT_EQ(t.syncDepth, 0);
        }
    }
}

TEST(TermEncoder, OnlyChangedCellsAreWrittenInOneSynchronizedUpdate) {
    std::mt19937 rng(3);
    TermScreen screen = makeScreen(TERM_COLOURS_24BIT, 2, 240, 92);
    std::vector<Cell> frame = randomFrame(rng);
    std::string full;
    termEncodeFrame(screen, frame.data(), W, H, full);
    EXPECT_GT(full.size(), 10000u);

    std::string same;
    termEncodeFrame(screen, frame.data(), W, H, same);
    EXPECT_EQ(same, "") << "an unchanged frame writes nothing at all";

    frame[40 * W + 50] = Cell{'X', 0x1E};
    std::string one;
    termEncodeFrame(screen, frame.data(), W, H, one);
    EXPECT_EQ(one.rfind("\x1b[?2026h", 0), 0u);
    EXPECT_EQ(one.substr(one.size() - 8), "\x1b[?2026l");
    EXPECT_LT(one.size(), 70u);
    EXPECT_NE(one.find("\x1b[43;105H"), std::string::npos) << "cell 50,40 at row 43, column 105";

    // Without diffing the whole picture goes out again.
    std::string again;
    termEncodeFrame(screen, frame.data(), W, H, again, false);
    EXPECT_GT(again.size(), 10000u);
}

TEST(TermEncoder, BlanksNeedNoInkAndRunsNeedNoCursorMoves) {
    TermScreen screen = makeScreen(TERM_COLOURS_PALETTE, 2, 232, 88);
    std::vector<Cell> frame(W * H, Cell{' ', 0x00});
    std::string out;
    termEncodeFrame(screen, frame.data(), W, H, out);
    // A row of blanks with their different inks is one colour, one move, spaces.
    for (int x = 0; x < W; x++)
        frame[static_cast<size_t>(10 * W + x)] =
            Cell{static_cast<uint16_t>(x % 2 ? 0 : 0xFF), static_cast<uint16_t>(0x10 | (x % 16))};
    out.clear();
    termEncodeFrame(screen, frame.data(), W, H, out);
    EXPECT_EQ(out, "\x1b[?2026h\x1b[11H\x1b[0;44m" + std::string(2 * W, ' ') + "\x1b[?2026l");
}

TEST(TermEncoder, FullBlocksArePaintedAsBackground) {
    for (TermColourMode mode : {TERM_COLOURS_PALETTE, TERM_COLOURS_24BIT, TERM_COLOURS_256})
        for (int cw = 1; cw <= 2; cw++) {
            TermScreen screen = makeScreen(mode, cw, W * cw, H);
            Terminal t(W * cw, H);
            fillCube(t);
            std::string out;
            termEncodePalette(screen, standard, out);
            std::vector<Cell> frame(W * H, Cell{' ', 0x00});
            // Blocks of every ink on every background, and a half block among them.
            for (int x = 0; x < W; x++)
                frame[static_cast<size_t>(20 * W + x)] =
                    Cell{static_cast<uint16_t>(x == 50 ? 0xDC : 0xDB),
                         static_cast<uint16_t>(x * 7 % 256)};
            termEncodeFrame(screen, frame.data(), W, H, out);
            t.feed(out);
            expectShows(t, screen, frame);
            EXPECT_EQ(out.find("\u2588"), std::string::npos) << "no block character is written";
            // A row of one block colour on changing backgrounds is one colour and spaces.
            for (int x = 0; x < W; x++)
                frame[static_cast<size_t>(30 * W + x)] =
                    Cell{0xDB, static_cast<uint16_t>((x % 16) << 4 | 12)};
            out.clear();
            termEncodeFrame(screen, frame.data(), W, H, out);
            EXPECT_NE(out.find(std::string(static_cast<size_t>(W * cw), ' ')), std::string::npos);
            t.feed(out);
            expectShows(t, screen, frame);
        }
}

TEST(TermEncoder, APaletteChangeRewritesOnlyWhatItMust) {
    // With the terminal's palette only the changed entries are sent, and no cell.
    TermScreen screen = makeScreen(TERM_COLOURS_PALETTE, 2, 232, 88);
    std::string out;
    termEncodePalette(screen, standard, out);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\x07'), 16) << "all 16 entries at first";
    std::vector<Cell> frame(W * H, Cell{'#', 0x1C});
    termEncodeFrame(screen, frame.data(), W, H, out);

    uint32_t faded[16];
    std::copy(standard, standard + 16, faded);
    faded[1] = 0x400000; // dark blue, darker
    faded[12] = 0x000080;
    out.clear();
    termEncodePalette(screen, faded, out);
    // Console blue (1) is terminal colour 4, console red (12) terminal colour 9.
    EXPECT_EQ(out, "\x1b]4;4;rgb:00/00/40\x07\x1b]4;9;rgb:80/00/00\x07");
    out.clear();
    termEncodeFrame(screen, frame.data(), W, H, out);
    EXPECT_EQ(out, "");

    // With colours in the cells only the cells of changed entries are rewritten.
    screen = makeScreen(TERM_COLOURS_24BIT, 2, 232, 88);
    frame.assign(W * H, Cell{'#', 0x07});
    for (int x = 0; x < 10; x++)
        frame[static_cast<size_t>(x)] = Cell{'#', 0x0E};
    out.clear();
    termEncodeFrame(screen, frame.data(), W, H, out);
    Terminal t(232, 88);
    t.feed(out);
    uint32_t palette[16];
    std::copy(standard, standard + 16, palette);
    palette[14] = 0x0080FF;
    out.clear();
    termEncodePalette(screen, palette, out);
    EXPECT_EQ(out, "");
    termEncodeFrame(screen, frame.data(), W, H, out);
    EXPECT_EQ(std::count(out.begin(), out.end(), '#'), 10);
    t.feed(out);
    expectShows(t, screen, frame);
}

TEST(TermEncoder, AShakenPictureIsClippedAndDrawnWholeAgain) {
    std::mt19937 rng(11);
    TermScreen screen = makeScreen(TERM_COLOURS_24BIT, 2, 232, 88);
    std::vector<Cell> frame = randomFrame(rng);
    std::string out;
    termEncodeFrame(screen, frame.data(), W, H, out);
    Terminal t(232, 88);
    for (int move : {-1, 1, 0}) {
        // The host marks the screen for a full redraw when the picture moves.
        screen.originColumn = move * 2;
        screen.originRow = move;
        screen.shownValid = false;
        out.clear();
        termEncodeFrame(screen, frame.data(), W, H, out);
        t.feed(out);
        expectShows(t, screen, frame);
        if (move == 1) {
            EXPECT_EQ(t.at(0, 0).ch, U' ') << "uncovered edges are cleared";
        }
    }
}

TEST(TermEncoder, AShakenPictureSlidesWithTheTerminalsOwnScrolling) {
    std::mt19937 rng(12);
    for (int cw : {1, 2}) {
        SCOPED_TRACE(cw);
        TermScreen screen = makeScreen(TERM_COLOURS_24BIT, cw, W * cw + 8, H + 4);
        std::vector<Cell> frame = randomFrame(rng);
        std::string out;
        termEncodeFrame(screen, frame.data(), W, H, out);
        Terminal t(W * cw + 8, H + 4);
        t.feed(out);
        const int baseColumn = screen.originColumn, baseRow = screen.originRow;
        // The shake's steps: a cell down and right, a cell up and left, home.
        for (int move : {1, -1, 1, 0}) {
            out.clear();
            ASSERT_TRUE(termEncodeShift(screen, baseColumn + move * cw, baseRow + move, out));
            EXPECT_LE(out.size(), 1024u) << "a shake step costs at most 1 KiB";
            moveThings(frame, rng); // the game goes on meanwhile
            termEncodeFrame(screen, frame.data(), W, H, out);
            t.feed(out);
            expectShows(t, screen, frame);
            // Nothing of the picture is left beside it.
            for (int r = 0; r < t.rows; r++)
                for (int c = 0; c < t.columns; c++) {
                    const bool inside = r >= screen.originRow && r < screen.originRow + H &&
                                        c >= screen.originColumn &&
                                        c < screen.originColumn + W * cw;
                    if (!inside) {
                        ASSERT_EQ(t.at(r, c).ch, U' ') << r << "," << c;
                    }
                }
        }
        // Off the terminal's edge it cannot slide: the host repaints instead.
        out.clear();
        EXPECT_FALSE(termEncodeShift(screen, -cw, baseRow, out));
        EXPECT_TRUE(out.empty());
    }
}

TEST(TermEncoder, ColourTables) {
    // Console order names blue before red; terminals name red first.
    const int expected[16] = {0, 4, 2, 6, 1, 5, 3, 7, 8, 12, 10, 14, 9, 13, 11, 15};
    for (int i = 0; i < 16; i++)
        EXPECT_EQ(termAnsiIndex(i), expected[i]);
    EXPECT_EQ(termNearest256(0x000000), 16);
    EXPECT_EQ(termNearest256(0xFFFFFF), 231);
    EXPECT_EQ(termNearest256(0x808080), 244); // the grey ramp beats the cube
    EXPECT_EQ(termNearest256(0x0000FF), 196); // pure red
    EXPECT_EQ(termNearest256(0x800000), 18);  // dark blue: 0, 0, 135
}
