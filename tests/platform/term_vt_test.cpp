// The encoder's output read back by a small model of a terminal: whatever
// shortcuts the encoder takes (erasing, relative moves, swapped half blocks,
// slides), the screen must end up showing every frame exactly, with the
// margins around the picture untouched.
#include "console/console_setup.h"
#include "platform/raster/cp437.h"
#include "platform/term/term_encoder.h"
#include "platform/term/term_glyphs.h"
#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int W = 116, H = 88;
constexpr uint32_t DEFAULT = 0xFFFFFFFEu; // the terminal's own colour

struct VtCell {
    char32_t ch = ' ';
    uint32_t fg = DEFAULT, bg = DEFAULT;
};

// The controls the encoder may send, as a VT-style terminal takes them.
struct Vt {
    int columns, rows;
    std::vector<VtCell> cells;
    int row = 0, column = 0, top = 0, bottom;
    bool wrapPending = false;
    uint32_t fg = DEFAULT, bg = DEFAULT;

    Vt(int c, int r) : columns(c), rows(r), cells(static_cast<size_t>(c * r)), bottom(r - 1) {}
    std::vector<VtCell>::iterator line(int r) { return cells.begin() + r * columns; }
    VtCell blank() const { return VtCell{' ', DEFAULT, bg}; }

    void scroll(int n) { // n > 0: the region's rows move up
        const auto first = line(top), last = line(bottom + 1);
        const int k = std::min(std::abs(n), bottom + 1 - top) * columns;
        if (n > 0)
            std::fill(std::copy(first + k, last, first), last, blank());
        else
            std::fill(first, std::copy_backward(first, last - k, last), blank());
    }
    void lineFeed() {
        if (row == bottom)
            scroll(1);
        else if (row < rows - 1)
            row++;
    }
    void print(char32_t ch) {
        if (wrapPending) {
            column = 0;
            lineFeed();
        }
        line(row)[column] = VtCell{ch, fg, bg};
        wrapPending = column == columns - 1;
        column += !wrapPending;
    }
    void sgr(const std::vector<int> &p) {
        for (size_t i = 0; i < p.size(); i++) {
            const int v = p[i];
            uint32_t &c = (v >= 40 && v < 50) || v >= 100 ? bg : fg;
            if (v == 0)
                fg = bg = DEFAULT;
            else if (v % 10 == 8 && p.at(i + 1) == 5)
                c = static_cast<uint32_t>(p.at(i + 2)), i += 2;
            else if (v % 10 == 8 && p.at(i + 1) == 2)
                c = static_cast<uint32_t>(p.at(i + 2) << 16 | p.at(i + 3) << 8 | p.at(i + 4)),
                i += 4;
            else if (v % 10 < 8 && ((v >= 30 && v < 50) || (v >= 90 && v < 110)))
                c = static_cast<uint32_t>(v % 10 + (v >= 90 ? 8 : 0));
            else
                ADD_FAILURE() << "SGR " << v;
        }
    }
    void control(char final, const std::vector<int> &p) {
        const int n = p.empty() || p[0] == 0 ? 1 : p[0];
        const auto at = line(row) + column, end = line(row) + columns;
        const int k = std::min(n, columns - column);
        wrapPending = false;
        switch (final) {
        case 'H':
            row = n - 1;
            column = p.size() > 1 ? p[1] - 1 : 0;
            break;
        case 'A':
        case 'B':
            row = std::clamp(row + (final == 'A' ? -n : n), 0, rows - 1);
            break;
        case 'C':
        case 'D':
            column = std::clamp(column + (final == 'D' ? -n : n), 0, columns - 1);
            break;
        case 'G':
            column = n - 1;
            break;
        case 'X':
            std::fill(at, at + k, blank());
            break;
        case '@':
            std::fill(at, std::copy_backward(at, end - k, end), blank());
            break;
        case 'P':
            std::fill(std::copy(at + k, end, at), end, blank());
            break;
        case 'S':
        case 'T':
            scroll(final == 'S' ? n : -n);
            break;
        case 'r':
            top = p.empty() ? 0 : p[0] - 1;
            bottom = p.size() > 1 ? p[1] - 1 : rows - 1;
            row = column = 0;
            break;
        case 'J':
            ASSERT_EQ(n, 2);
            std::fill(cells.begin(), cells.end(), blank());
            break;
        case 'm':
            sgr(p.empty() ? std::vector<int>{0} : p);
            break;
        default:
            ADD_FAILURE() << "control " << final;
        }
    }
    void feed(const std::string &s) {
        for (size_t i = 0; i < s.size();) {
            const unsigned char b = static_cast<unsigned char>(s[i]);
            if (s.compare(i, 4, "\x1b[?2") == 0) { // synchronized output
                i = s.find_first_of("hl", i) + 1;
            } else if (b == 0x1b && s[i + 1] == '[') {
                std::vector<int> p;
                size_t j = i + 2;
                for (; s[j] >= '0' && s[j] <= ';'; j++) {
                    if (p.empty())
                        p.push_back(0);
                    if (s[j] == ';')
                        p.push_back(0);
                    else
                        p.back() = p.back() * 10 + (s[j] - '0');
                }
                control(s[j], p);
                i = j + 1;
            } else if (b == '\r' || b == '\n' || b == '\b') {
                wrapPending = false;
                if (b == '\n')
                    lineFeed();
                else
                    column = b == '\r' ? 0 : std::max(0, column - 1);
                i++;
            } else {
                ASSERT_GE(b, 0x20) << "control byte " << int(b);
                print(readUtf8(s, i));
            }
        }
    }
};
// What a cell looks like, whichever way it was written: blanks show only
// their background, a full block is a blank of its colour, a lower half
// block is an upper one with the colours the other way round.
VtCell looks(VtCell c) {
    if (c.ch == 0x2588)
        c = VtCell{' ', DEFAULT, c.fg};
    if (c.ch == 0x2584)
        c = VtCell{0x2580, c.bg, c.fg};
    if (c.ch == ' ' || c.fg == c.bg)
        c = VtCell{' ', DEFAULT, c.bg};
    return c;
}

uint32_t keyOf(TermColourMode mode, int index) {
    const uint32_t bgr = standardPalette[index];
    if (mode == TERM_COLOURS_PALETTE)
        return static_cast<uint32_t>(termAnsiIndex(index));
    if (mode == TERM_COLOURS_256)
        return static_cast<uint32_t>(termNearest256(bgr));
    return (bgr & 0xFF) << 16 | (bgr & 0xFF00) | (bgr >> 16 & 0xFF);
}

// Compares the whole terminal with the frame at the screen's origin.
void expectShows(Vt &vt, const TermScreen &s, const std::vector<Cell> &frame, const char *when) {
    int wrong = 0;
    for (int r = 0; r < vt.rows; r++)
        for (int c = 0; c < vt.columns; c++) {
            const int y = r - s.originRow, x = (c - s.originColumn) / s.cellColumns;
            VtCell want;
            if (y >= 0 && y < H && c >= s.originColumn && x < W) {
                const Cell cell = frame[static_cast<size_t>(y * W + x)];
                const uint8_t code = static_cast<uint8_t>(cell.ch);
                const std::string &glyph = termGlyph(code, s.cellColumns);
                size_t at = 0;
                for (int k = 0; k <= (c - s.originColumn) % s.cellColumns; k++)
                    want.ch = readUtf8(glyph, at);
                want.fg = keyOf(s.colourMode, cell.attr & 15);
                want.bg = keyOf(s.colourMode, cell.attr >> 4 & 15);
                if (code == 0xDB)
                    want.bg = want.fg;
            }
            const VtCell got = looks(vt.line(r)[c]), expected = looks(want);
            if (got.ch != expected.ch || got.fg != expected.fg || got.bg != expected.bg)
                if (wrong++ < 5)
                    ADD_FAILURE() << when << ": row " << r << " column " << c << " shows U+"
                                  << std::hex << uint32_t(got.ch) << " " << got.fg << "/" << got.bg
                                  << ", not U+" << uint32_t(expected.ch) << " " << expected.fg
                                  << "/" << expected.bg;
        }
}

} // namespace

TEST(TermVt, EveryFrameShowsExactlyAfterItsChangesAndSlides) {
    const Cell inks[] = {{' ', 0x10},  {' ', 0x1F},  {0xDB, 0x4C}, {0xDF, 0x1C},
                         {0xDC, 0xC1}, {0xDC, 0x11}, {'#', 0x07},  {0xC4, 0x1E},
                         {0xDD, 0x2A}, {0xB1, 0x70}, {0xFF, 0x10}, {'a', 0x00}};
    for (TermColourMode mode : {TERM_COLOURS_PALETTE, TERM_COLOURS_24BIT, TERM_COLOURS_256})
        for (int cw = 1; cw <= 2; cw++) {
            std::mt19937 random(static_cast<unsigned>(mode * 2 + cw));
            auto pick = [&](int n) {
                return static_cast<int>(random() % static_cast<unsigned>(n));
            };
            TermScreen s;
            s.colourMode = mode;
            s.cellColumns = cw;
            s.columns = W * cw + 6;
            s.rows = H + 3;
            s.originColumn = 3;
            s.originRow = 1;
            std::copy(standardPalette, standardPalette + 16, s.palette);
            Vt vt(s.columns, s.rows);
            // Bands of blanks and half blocks, as a level looks.
            std::vector<Cell> frame(W * H);
            for (size_t i = 0; i < frame.size(); i++)
                frame[i] = inks[(i / W / 9 + i % W / 23) % std::size(inks)];
            // A figure that walks to and fro, up to the edges.
            std::vector<Cell> figure(12 * 6);
            for (Cell &c : figure)
                c = inks[pick(std::size(inks))];
            int figureX = 50, slides = 0;
            std::string out;
            for (int step = 0; step < 60; step++) {
                out.clear();
                if (step % 10 == 9) { // a slide, and back
                    const int dc = pick(3) - 1, dr = pick(3) - 1;
                    termEncodeShift(s, s.originColumn + dc * cw, s.originRow + dr, out);
                    vt.feed(out);
                    expectShows(vt, s, frame, "after a slide");
                    out.clear();
                    termEncodeShift(s, 3, 1, out);
                }
                // Figures and blank runs of every size move about.
                for (int k = pick(12); k >= 0; k--) {
                    const int y = pick(H), x = pick(W), n = 1 + pick(k % 3 ? 6 : 60);
                    const Cell ink = pick(4) ? inks[pick(std::size(inks))]
                                             : Cell{static_cast<uint16_t>(pick(256)),
                                                    static_cast<uint16_t>(pick(256))};
                    for (int i = x; i < std::min(W, x + n); i++)
                        frame[static_cast<size_t>(y * W + i)] = ink;
                }
                figureX = std::clamp(figureX + pick(5) - 2, 0, W - 12);
                for (int k = 0; k < 6; k++) // and waves its arms
                    figure[pick(12 * 6)] = inks[pick(4)];
                for (int i = 0; i < 12 * 6; i++)
                    frame[static_cast<size_t>((40 + i / 12) * W + figureX + i % 12)] = figure[i];
                termEncodeFrame(s, frame.data(), W, H, out, step != 20);
                for (size_t at = out.find("\x1b["); at != std::string::npos;
                     at = out.find("\x1b[", at + 1))
                    slides += out[out.find_first_not_of("0123456789", at + 2)] == '@';
                vt.feed(out);
                expectShows(vt, s, frame, "after a frame");
                if (HasFailure())
                    return;
            }
            EXPECT_GT(slides, 40) << "the walking figure slides";
            // Shaken a cell off the left and top edges, the rest is drawn again.
            s.originColumn = -cw;
            s.originRow = -1;
            s.shownValid = false;
            out.clear();
            termEncodeFrame(s, frame.data(), W, H, out);
            vt.feed(out);
            expectShows(vt, s, frame, "shaken off the edges");
        }
}
