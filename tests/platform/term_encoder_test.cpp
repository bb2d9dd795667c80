// What the terminal encoder writes: only the cells that changed, in one
// synchronized update; blanks and full blocks as background; palette
// changes as OSC 4 or as rewritten cells; a shaken picture moved with the
// terminal's own scrolling. A real terminal shows the result in term_tmux.sh.
#include "console/console_setup.h"
#include "platform/raster/cp437.h"
#include "platform/term/term_encoder.h"
#include "platform/term/term_glyphs.h"
#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const uint32_t *const standard = standardPalette;

constexpr int W = 116, H = 88;

std::vector<char32_t> codepoints(const std::string &s) {
    std::vector<char32_t> out;
    for (size_t i = 0; i < s.size();)
        out.push_back(readUtf8(s, i));
    return out;
}

// Every character in many colour pairs.
std::vector<Cell> patternFrame() {
    std::vector<Cell> frame(W * H);
    for (size_t i = 0; i < frame.size(); i++)
        frame[i] = Cell{static_cast<uint16_t>(i * 7 % 256), static_cast<uint16_t>(i * 13 % 256)};
    return frame;
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

size_t countOf(const std::string &text, const std::string &part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        n++;
    return n;
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
    // In two columns lines and blocks reach into the second column as far as they join.
    EXPECT_EQ(termGlyph(0xD6, 2), "╓─"); // the horizontal arm of ╓ is single
    EXPECT_EQ(termGlyph(0xBF, 2), "┐ ");
    EXPECT_EQ(termGlyph(0xDD, 2), "█ "); // left half
    EXPECT_EQ(termGlyph(0xDE, 2), " █"); // right half
}

TEST(TermEncoder, OnlyChangedCellsAreWrittenInOneSynchronizedUpdate) {
    TermScreen screen = makeScreen(TERM_COLOURS_24BIT, 2, 240, 92);
    std::vector<Cell> frame = patternFrame();
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
    // A row of blanks with their different inks is one colour, one move, one erase.
    for (int x = 0; x < W; x++)
        frame[static_cast<size_t>(10 * W + x)] =
            Cell{static_cast<uint16_t>(x % 2 ? 0 : 0xFF), static_cast<uint16_t>(0x10 | (x % 16))};
    out.clear();
    termEncodeFrame(screen, frame.data(), W, H, out);
    EXPECT_EQ(out, "\x1b[?2026h\x1b[11H\x1b[44m\x1b[232X\x1b[?2026l");
}

TEST(TermEncoder, ChangesTakeTheShortestWay) {
    TermScreen screen = makeScreen(TERM_COLOURS_PALETTE, 2, 232, 88);
    std::vector<Cell> frame(W * H, Cell{' ', 0x00});
    std::string out;
    termEncodeFrame(screen, frame.data(), W, H, out);
    // A blank between two changed cells is written again rather than
    // stepped over; the next row is a line feed and a step back; an upper
    // half block of black on grey goes out as a lower one of grey on black,
    // which is the pen already.
    frame[5 * W + 10] = Cell{'A', 0x07};
    frame[5 * W + 12] = Cell{'B', 0x07};
    frame[6 * W + 10] = Cell{0xDF, 0x70};
    out.clear();
    termEncodeFrame(screen, frame.data(), W, H, out);
    EXPECT_EQ(out, "\x1b[?2026h\x1b[6;21H\x1b[37mA   B \n\x1b[6D▄▄\x1b[?2026l");
}

TEST(TermEncoder, FullBlocksArePaintedAsBackgroundInEveryColourMode) {
    // A block of light red ink on blue, after a blank screen.
    const std::pair<TermColourMode, const char *> cases[] = {
        {TERM_COLOURS_PALETTE, "\x1b[101m  "},
        {TERM_COLOURS_24BIT, "\x1b[48;2;255;0;0m  "},
        {TERM_COLOURS_256, "\x1b[48;5;196m  "},
    };
    for (const auto &[mode, expected] : cases) {
        TermScreen screen = makeScreen(mode, 2, W * 2, H);
        std::vector<Cell> frame(W * H, Cell{' ', 0x00});
        std::string out;
        termEncodeFrame(screen, frame.data(), W, H, out);
        frame[20 * W + 3] = Cell{0xDB, 0x1C};
        out.clear();
        termEncodeFrame(screen, frame.data(), W, H, out);
        EXPECT_EQ(out, "\x1b[?2026h\x1b[21;7H" + std::string(expected) + "\x1b[?2026l");
    }
    // A row of one block colour on changing backgrounds is one colour and one erase.
    TermScreen screen = makeScreen(TERM_COLOURS_PALETTE, 1, W, H);
    std::vector<Cell> frame(W * H, Cell{' ', 0x00});
    std::string out;
    termEncodeFrame(screen, frame.data(), W, H, out);
    for (int x = 0; x < W; x++)
        frame[static_cast<size_t>(30 * W + x)] =
            Cell{0xDB, static_cast<uint16_t>((x % 16) << 4 | 12)};
    out.clear();
    termEncodeFrame(screen, frame.data(), W, H, out);
    EXPECT_EQ(out, "\x1b[?2026h\x1b[31H\x1b[101m\x1b[116X\x1b[?2026l");
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
    uint32_t palette[16];
    std::copy(standard, standard + 16, palette);
    palette[14] = 0x0080FF;
    out.clear();
    termEncodePalette(screen, palette, out);
    EXPECT_EQ(out, "");
    termEncodeFrame(screen, frame.data(), W, H, out);
    EXPECT_EQ(std::count(out.begin(), out.end(), '#'), 10);
    // The pen keeps its background from the frame before.
    EXPECT_NE(out.find("\x1b[1H\x1b[38;2;255;128;0m# # # "), std::string::npos) << out;
}

TEST(TermEncoder, AShakenPictureOffTheEdgeIsClippedAndDrawnWholeAgain) {
    TermScreen screen = makeScreen(TERM_COLOURS_PALETTE, 2, 232, 88);
    const std::vector<Cell> frame(W * H, Cell{'X', 0x07});
    std::string out;
    termEncodeFrame(screen, frame.data(), W, H, out);
    // A cell up and left: the top row and the left column are off the terminal.
    screen.originColumn = -2;
    screen.originRow = -1;
    screen.shownValid = false;
    out.clear();
    termEncodeFrame(screen, frame.data(), W, H, out);
    EXPECT_EQ(out.rfind("\x1b[?2026h\x1b[0m\x1b[2J\x1b[1H\x1b[0;37;40mX ", 0), 0u)
        << "cleared first";
    EXPECT_EQ(countOf(out, "X "), size_t((W - 1) * (H - 1)));
    // Nothing can slide off the edge: the host repaints instead.
    out.clear();
    EXPECT_FALSE(termEncodeShift(screen, 0, 0, out));
    EXPECT_TRUE(out.empty());
}

TEST(TermEncoder, AShakenPictureSlidesWithTheTerminalsOwnScrolling) {
    TermScreen screen = makeScreen(TERM_COLOURS_24BIT, 2, W * 2 + 8, H + 4);
    const std::vector<Cell> frame = patternFrame();
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
    // The picture shown is unchanged by a slide: the next frame writes nothing.
    out.clear();
    termEncodeFrame(screen, frame.data(), W, H, out);
    EXPECT_EQ(out, "");
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
