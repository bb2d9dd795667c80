#include "console/surface.h"
#include "test_support.h"
#include <gtest/gtest.h>

namespace {

Surface *filled(int w, int h, uint8_t ch, uint16_t attr) {
    Surface *s = createSurface(w, h);
    for (int i = 0; i < w * h; i++)
        s->cells[i] = Cell{ch, attr};
    return s;
}

Cell at(int x, int y) {
    return backBuffer->cells[y * SCREEN_WIDTH + x];
}

} // namespace

// Long rows are painted in runs: the blanks must show through wherever they
// fall in a run or its tail, judged by the character's low byte alone and
// whatever their colour.
TEST(Compositor, BlanksShowThroughAnywhereInALongRowAndPresentHandsTheFrameOn) {
    HeadlessGame game;
    clearScreen();
    Surface *under = filled(21, 2, 'u', 0x07);
    blitSurface(under, 3, 4);
    Surface *over = createSurface(21, 2);
    for (int c = 0; c < 42; c++)
        over->cells[c] = c % 3 == 0 ? Cell{0x0120, 0x4F} : Cell{'o', 0x20};
    EXPECT_EQ(blitSurface(over, 3, 4), 1);
    std::vector<Cell> row;
    for (int c = 0; c < 21; c++)
        row.push_back(c % 3 == 0 ? Cell{'u', 0x07} : Cell{'o', 0x20});
    presentScreen();
    EXPECT_EQ(headless.framesPresented, 1u);
    const auto first = headless.lastFrame.begin() + 4 * SCREEN_WIDTH + 3;
    EXPECT_EQ(std::vector<Cell>(first, first + 21), row);
    EXPECT_EQ(first[21].ch, ' ');
    freeSurface(under);
    freeSurface(over);
}

TEST(Compositor, ClipsAtEveryEdgeWithoutShearing) {
    HeadlessGame game;
    clearScreen();
    Surface *s = createSurface(10, 3);
    for (int r = 0; r < 3; r++)
        for (int c = 0; c < 10; c++)
            s->cells[r * 10 + c] =
                Cell{static_cast<uint16_t>('0' + c), static_cast<uint16_t>(r + 1)};
    blitSurface(s, -2, 0);
    EXPECT_EQ(at(0, 0).ch, '2');
    EXPECT_EQ(at(7, 2).ch, '9');
    EXPECT_EQ(at(8, 0).ch, ' ');
    clearScreen();
    blitSurface(s, 110, 0);
    for (int r = 0; r < 3; r++) {
        EXPECT_EQ(at(110, r).ch, '0');
        EXPECT_EQ(at(115, r).ch, '5');
        EXPECT_EQ(at(115, r).attr, r + 1);
    }
    EXPECT_EQ(at(0, 1).ch, ' ') << "a clipped row must not wrap onto the next";
    clearScreen();
    blitSurface(s, 0, 86);
    EXPECT_EQ(at(0, 86).ch, '0');
    EXPECT_EQ(at(0, 87).attr, 2);
    clearScreen();
    blitSurface(s, 3, -2);
    EXPECT_EQ(at(3, 0).attr, 3);
    freeSurface(s);
}

TEST(Compositor, PicturesPastTheEdgesOrTooSmallDrawNothing) {
    HeadlessGame game;
    clearScreen();
    std::vector<Cell> before(backBuffer->cells, backBuffer->cells + SCREEN_WIDTH * SCREEN_HEIGHT);
    Surface *s = filled(4, 4, '#', 0x0F);
    for (const auto &[x, y] : {std::pair{117, 0}, {0, 89}, {116, 0}, {0, 88}, {-4, 10}})
        EXPECT_EQ(blitSurface(s, x, y), 1) << x << "," << y;
    // A picture less than two cells wide or high has no cells at all.
    Surface *tiny = createSurface(1, 40);
    EXPECT_EQ(tiny->cells, nullptr);
    EXPECT_EQ(blitSurface(tiny, 0, 0), 1);
    EXPECT_EQ(std::vector<Cell>(backBuffer->cells, backBuffer->cells + before.size()), before);
    EXPECT_EQ(blitSurface(nullptr, 0, 0), 0);
    blitSurface(s, 0, 0);
    EXPECT_EQ(at(0, 0).ch, '#');
    freeSurface(s);
    freeSurface(tiny);
}

TEST(Compositor, ColourCodes) {
    EXPECT_EQ(colourToAttribute(0, 0), 0x00);
    EXPECT_EQ(colourToAttribute(2, 0), 0x0F);
    EXPECT_EQ(colourToAttribute(0, 1), 0xF0);
    EXPECT_EQ(colourToAttribute(1, 1), 0xF0);
    EXPECT_EQ(colourToAttribute(20, 20), 0x83);
    EXPECT_EQ(colourToAttribute(2, 5), 0x1F);
    EXPECT_EQ(colourToAttribute(15, 0), 0x03);
    EXPECT_EQ(colourToAttribute(16, 0), 0x03) << "codes past 15 are 15";
}
