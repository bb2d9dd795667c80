// What the terminal encoder writes: only the cells that changed, in one
// synchronized update, by the cheapest controls (erasing, short moves, swapped
// half blocks, full blocks as background, slides); palette changes as OSC 4 or
// as rewritten cells. That the picture comes out right is term_vt_test.cpp's
// job; these pin the bytes.
#include "console/console_setup.h"
#include "platform/raster/cp437.h"
#include "platform/term/term_encoder.h"
#include "platform/term/term_glyphs.h"
#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr int W = 116, H = 88;

TermScreen makeScreen(TermColourMode mode, int cellColumns, int columns, int rows) {
    TermScreen s;
    s.colourMode = mode;
    s.cellColumns = cellColumns;
    s.columns = columns;
    s.rows = rows;
    s.originColumn = (columns - W * cellColumns) / 2;
    s.originRow = (rows - H) / 2;
    std::copy(standardPalette, standardPalette + 16, s.palette);
    return s;
}

// What the encoder writes for `after` once `before` is shown.
std::string change(TermScreen &s, const std::vector<Cell> &before, const std::vector<Cell> &after) {
    std::string out;
    termEncodeFrame(s, before.data(), W, H, out);
    out.clear();
    termEncodeFrame(s, after.data(), W, H, out);
    return out;
}

} // namespace

TEST(TermGlyphs, EveryCodeFillsItsColumnsWithVisibleCharacters) {
    for (int cw = 1; cw <= 2; cw++)
        for (int code = 0; code < 256; code++) {
            const std::string &g = termGlyph(static_cast<uint8_t>(code), cw);
            int n = 0;
            for (size_t i = 0; i < g.size(); n++) {
                const char32_t c = readUtf8(g, i);
                EXPECT_TRUE(c >= 0x20 && c != 0x7F && (c < 0x80 || c >= 0xA0)) << code;
            }
            EXPECT_EQ(n, cw) << code;
        }
    // The symbols below 32 and at 127 are the console's pictures, not control codes.
    EXPECT_EQ(termGlyph(1, 1), "☺");
    EXPECT_EQ(termGlyph(127, 2), "⌂ ");
}

TEST(TermEncoder, ChangesTakeTheCheapestControls) {
    const std::vector<Cell> blank(W * H, Cell{' ', 0x00});
    struct Case {
        const char *what;
        int cellColumns;
        void (*paint)(std::vector<Cell> &);
        const char *expected;
    } cases[] = {
        {"a row of blanks with different inks is one colour, one move, one erase", 2,
         [](std::vector<Cell> &f) {
             for (int x = 0; x < W; x++)
                 f[10 * W + x] = Cell{uint16_t(x % 2 ? 0 : 0xFF), uint16_t(0x10 | (x % 16))};
         },
         "\x1b[11H\x1b[44m\x1b[232X"},
        // A blank between two changed cells is written again rather than
        // stepped over; the next row is a line feed and a step back; an upper
        // half block of black on grey goes out as a lower one of grey on
        // black, which is the pen already.
        {"short gaps, line feeds, swapped half blocks", 2,
         [](std::vector<Cell> &f) {
             f[5 * W + 10] = Cell{'A', 0x07};
             f[5 * W + 12] = Cell{'B', 0x07};
             f[6 * W + 10] = Cell{0xDF, 0x70};
         },
         "\x1b[6;21H\x1b[37mA   B \n\x1b[6D▄▄"},
        {"a full block is painted as background", 2,
         [](std::vector<Cell> &f) {
             f[20 * W + 3] = Cell{0xDB, 0x1C};
         },
         "\x1b[21;7H\x1b[101m  "},
        {"a row of one block colour on changing backgrounds is one colour and one erase", 1,
         [](std::vector<Cell> &f) {
             for (int x = 0; x < W; x++)
                 f[30 * W + x] = Cell{0xDB, uint16_t((x % 16) << 4 | 12)};
         },
         "\x1b[31H\x1b[101m\x1b[116X"},
    };
    for (const Case &c : cases) {
        TermScreen screen = makeScreen(TERM_COLOURS_PALETTE, c.cellColumns, W * c.cellColumns, H);
        std::vector<Cell> after = blank;
        c.paint(after);
        EXPECT_EQ(change(screen, blank, after),
                  std::string("\x1b[?2026h") + c.expected + "\x1b[?2026l")
            << c.what;
    }
}

TEST(TermEncoder, APaletteChangeRewritesOnlyWhatItMust) {
    // With the terminal's palette only the changed entries are sent, and no cell.
    TermScreen screen = makeScreen(TERM_COLOURS_PALETTE, 2, 232, 88);
    std::string out;
    termEncodePalette(screen, standardPalette, out);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\x07'), 16) << "all 16 entries at first";
    std::vector<Cell> frame(W * H, Cell{'#', 0x1C});
    termEncodeFrame(screen, frame.data(), W, H, out);
    uint32_t palette[16];
    std::copy(standardPalette, standardPalette + 16, palette);
    palette[1] = 0x400000; // dark blue, darker
    palette[12] = 0x000080;
    out.clear();
    termEncodePalette(screen, palette, out);
    // Console blue (1) is terminal colour 4, console red (12) terminal colour 9.
    EXPECT_EQ(out, "\x1b]4;4;rgb:00/00/40\x07\x1b]4;9;rgb:80/00/00\x07");
    out.clear();
    termEncodeFrame(screen, frame.data(), W, H, out);
    EXPECT_EQ(out, "");

    // With colours in the cells only the cells of changed entries are rewritten.
    screen = makeScreen(TERM_COLOURS_24BIT, 2, 232, 88);
    frame.assign(W * H, Cell{'#', 0x07});
    std::fill(frame.begin(), frame.begin() + 10, Cell{'#', 0x0E});
    termEncodeFrame(screen, frame.data(), W, H, out);
    std::copy(standardPalette, standardPalette + 16, palette);
    palette[14] = 0x0080FF;
    out.clear();
    termEncodePalette(screen, palette, out);
    EXPECT_EQ(out, "");
    termEncodeFrame(screen, frame.data(), W, H, out);
    EXPECT_EQ(std::count(out.begin(), out.end(), '#'), 10);
    // The pen keeps its background from the frame before.
    EXPECT_NE(out.find("\x1b[1H\x1b[38;2;255;128;0m# # # "), std::string::npos) << out;
    // Without diffing every cell goes out again.
    out.clear();
    termEncodeFrame(screen, frame.data(), W, H, out, false);
    EXPECT_EQ(std::count(out.begin(), out.end(), '#'), W * H);
}

TEST(TermEncoder, AShakenPictureSlidesWithTheTerminalsOwnScrolling) {
    TermScreen screen = makeScreen(TERM_COLOURS_24BIT, 2, W * 2 + 8, H + 4);
    const std::vector<Cell> frame(W * H, Cell{'X', 0x07});
    std::string out;
    termEncodeFrame(screen, frame.data(), W, H, out);
    // A cell down and right from (4, 2): the rows scroll down in a region over
    // both places, and each row's characters move right at the old left edge.
    out.clear();
    ASSERT_TRUE(termEncodeShift(screen, 6, 3, out));
    std::string rows;
    for (int y = 0; y < H; y++)
        rows += y ? "\n\x1b[2@" : "\x1b[2@";
    EXPECT_EQ(out, "\x1b[?2026h\x1b[0m\x1b[3;91r\x1b[T\x1b[r\x1b[4;5H" + rows + "\x1b[?2026l");
    // And back up and left: scrolled up, characters deleted at the new edge.
    out.clear();
    ASSERT_TRUE(termEncodeShift(screen, 4, 2, out));
    EXPECT_EQ(out.rfind("\x1b[?2026h\x1b[0m\x1b[3;91r\x1b[S\x1b[r\x1b[3;5H\x1b[2P\n", 0), 0u);
    EXPECT_LE(out.size(), 1024u) << "a shake step costs at most 1 KiB";
    // Where a slide leaves the cursor is not known: the next frame moves absolutely.
    std::vector<Cell> after = frame;
    after[H * W - 1] = Cell{'Y', 0x07};
    out.clear();
    termEncodeFrame(screen, after.data(), W, H, out);
    EXPECT_EQ(out.rfind("\x1b[?2026h\x1b[90;235H", 0), 0u) << out;
    // Nothing can slide off the edge: the host repaints instead.
    out.clear();
    EXPECT_FALSE(termEncodeShift(screen, -2, -1, out));
    EXPECT_TRUE(out.empty());
}

TEST(TermEncoder, ColourTables) {
    // Console order names blue before red; terminals name red first.
    const int expected[16] = {0, 4, 2, 6, 1, 5, 3, 7, 8, 12, 10, 14, 9, 13, 11, 15};
    for (int i = 0; i < 16; i++)
        EXPECT_EQ(termAnsiIndex(i), expected[i]);
    EXPECT_EQ(termNearest256(0x000000), 16);
    EXPECT_EQ(termNearest256(0xFFFFFF), 231);
    EXPECT_EQ(termNearest256(0x808080), 244); // the grey ramp beats the cube
    EXPECT_EQ(termNearest256(0xEEEEEE), 255); // the ramp's lightest grey
    EXPECT_EQ(termNearest256(0x0000FF), 196); // pure red
    EXPECT_EQ(termNearest256(0x800000), 18);  // dark blue: 0, 0, 135
}
