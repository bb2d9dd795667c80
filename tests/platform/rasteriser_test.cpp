#include "console/console_setup.h"
#include "content_tools/png_export.h"
#include "platform/raster/rasteriser.h"
#include "test_support.h"
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

namespace {

bool pixelSet(int code, int x, int y) {
    return font8x8[code][y] & (0x80 >> x);
}

int setPixels(int code) {
    int n = 0;
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 8; x++)
            n += pixelSet(code, x, y);
    return n;
}

} // namespace

TEST(Rasteriser, ColourrefsBecomeRgb) {
    EXPECT_EQ(colorrefToRgb(0x00112233), 0x00332211u);
    EXPECT_EQ(colorrefToRgb(0x000000FF), 0x00FF0000u); // red
    EXPECT_EQ(colorrefToRgb(0x00FF0000), 0x000000FFu); // blue
    EXPECT_EQ(colorrefToRgb(0xFF00FF00), 0x0000FF00u); // the top byte is not a colour
}

TEST(Rasteriser, GlyphPixelsTakeTheCellsColoursAndPaletteChangesRecolour) {
    // A 3 x 2 picture drawn into rows wider than it: 'A' yellow on dark blue at (1, 1).
    const int width = 3, height = 2, pitch = width * 8 + 5;
    std::vector<Cell> cells(width * height, Cell{' ', 0x07});
    cells[4] = Cell{'A', 0x1E};
    cells[0] = Cell{0x100 | 'A', 0x1E}; // only the low byte is the character
    cells[5] = Cell{' ', 0xC7};
    uint32_t palette[16];
    for (int i = 0; i < 16; i++)
        palette[i] = 0x00010203 * (i + 1);
    std::vector<uint32_t> pixels(pitch * height * 8, 0xDEADBEEF);
    rasteriseCells(cells.data(), width, height, palette, pixels.data(), pitch);

    const uint32_t fg = colorrefToRgb(palette[0xE]), bg = colorrefToRgb(palette[0x1]);
    ASSERT_GT(setPixels('A'), 8);
    ASSERT_LT(setPixels('A'), 56);
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 8; x++) {
            const uint32_t want = pixelSet('A', x, y) ? fg : bg;
            EXPECT_EQ(pixels[(8 + y) * pitch + 8 + x], want) << x << "," << y;
            EXPECT_EQ(pixels[y * pitch + x], want) << x << "," << y;
        }
    // A blank is all background, a bright one too; the bytes past the picture's
    // width are untouched.
    EXPECT_EQ(pixels[3 * pitch + 20], colorrefToRgb(palette[0]));
    EXPECT_EQ(pixels[8 * pitch + 20], colorrefToRgb(palette[0xC]));
    for (int y = 0; y < height * 8; y++)
        for (int x = width * 8; x < pitch; x++)
            ASSERT_EQ(pixels[y * pitch + x], 0xDEADBEEFu);

    // The same cells with one palette entry changed: only that colour moves.
    std::vector<uint32_t> before = pixels;
    palette[0xE] = 0x0000FF00;
    rasteriseCells(cells.data(), width, height, palette, pixels.data(), pitch);
    int changed = 0;
    for (size_t i = 0; i < pixels.size(); i++)
        if (pixels[i] != before[i]) {
            EXPECT_EQ(before[i], fg);
            EXPECT_EQ(pixels[i], 0x0000FF00u);
            changed++;
        }
    EXPECT_EQ(changed, 2 * setPixels('A'));
}

TEST(Font, EveryCharacterButTheBlanksIsDrawnAndDistinct) {
    for (int code = 0; code < 256; code++) {
        const bool blank = code == 0 || code == 0x20 || code == 0xFF;
        EXPECT_EQ(setPixels(code) == 0, blank) << "code " << code;
    }
    for (int a = 0; a < 256; a++)
        for (int b = a + 1; b < 256; b++) {
            if (setPixels(a) == 0)
                continue;
            EXPECT_NE(memcmp(font8x8[a], font8x8[b], 8), 0) << "codes " << a << " and " << b;
        }
}

TEST(Font, BlocksAndShades) {
    EXPECT_EQ(setPixels(0xDB), 64);
    for (int y = 0; y < 8; y++) {
        EXPECT_EQ(font8x8[0xDC][y], y >= 4 ? 0xFF : 0x00); // lower half
        EXPECT_EQ(font8x8[0xDF][y], y < 4 ? 0xFF : 0x00);  // upper half
        EXPECT_EQ(font8x8[0xDD][y], 0xF0);                 // left half
        EXPECT_EQ(font8x8[0xDE][y], 0x0F);                 // right half
    }
    for (int shade = 0; shade < 3; shade++)
        EXPECT_EQ(setPixels(0xB0 + shade), 16 * (shade + 1));
    // Shades tile: the pattern repeats every four pixels both ways, so a wall
    // of them shows no seams between cells.
    for (int code = 0xB0; code <= 0xB2; code++)
        for (int y = 0; y < 8; y++)
            for (int x = 0; x < 8; x++)
                EXPECT_EQ(pixelSet(code, x, y), pixelSet(code, (x + 4) % 8, (y + 4) % 8));
}

TEST(Font, LineDrawingMeetsItsNeighbours) {
    // The arms of 0xB3-0xDA in the order up, down, left, right:
    // 0 none, 1 single, 2 double.
    static const char *arms[40] = {"1100", "1110", "1120", "2210", "0210", "0120", "2220", "2200",
                                   "0220", "2020", "2010", "1020", "0110", "1001", "1011", "0111",
                                   "1101", "0011", "1111", "1102", "2201", "2002", "0202", "2022",
                                   "0222", "2202", "0022", "2222", "1022", "2011", "0122", "0211",
                                   "2001", "1002", "0102", "0201", "2211", "1122", "1010", "0101"};
    for (int i = 0; i < 40; i++) {
        const int code = 0xB3 + i;
        // The pixels where each edge is crossed: a single line at 3, a double at 2 and 4.
        for (int side = 0; side < 4; side++) {
            int crossing = 0;
            for (int t = 0; t < 8; t++) {
                const int x = side == 2 ? 0 : side == 3 ? 7 : t;
                const int y = side == 0 ? 0 : side == 1 ? 7 : t;
                crossing |= pixelSet(code, x, y) << t;
            }
            const int want = arms[i][side] == '0' ? 0 : arms[i][side] == '1' ? 0x08 : 0x14;
            EXPECT_EQ(crossing, want) << std::hex << "code 0x" << code << " side " << side;
        }
    }
}

TEST(PngExport, ReadsBackAsTheRasterisedCellsEnlarged) {
    TempDir dir;
    const Cell cells[6] = {{'W', 0x1E}, {0xDB, 0x0C}, {0xC9, 0x2F},
                           {'g', 0x70}, {0x03, 0x4F}, {' ', 0x90}};
    ASSERT_EQ(writeCellsPng(dir.file("p.png").c_str(), cells, 3, 2, standardPalette, 3), 1);

    int w = 0, h = 0, channels = 0;
    unsigned char *rgb = stbi_load(dir.file("p.png").c_str(), &w, &h, &channels, 3);
    ASSERT_NE(rgb, nullptr);
    ASSERT_EQ(w, 3 * 8 * 3);
    ASSERT_EQ(h, 2 * 8 * 3);
    std::vector<uint32_t> pixels(24 * 16);
    rasteriseCells(cells, 3, 2, standardPalette, pixels.data(), 24);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            const unsigned char *p = rgb + (y * w + x) * 3;
            const uint32_t got = p[0] << 16 | p[1] << 8 | p[2];
            ASSERT_EQ(got, pixels[(y / 3) * 24 + x / 3]) << x << "," << y;
        }
    stbi_image_free(rgb);
}

TEST(PngExport, RefusesWhatItCannotWrite) {
    TempDir dir;
    const Cell cells[4] = {{'a', 7}, {'b', 7}, {'c', 7}, {'d', 7}};
    EXPECT_EQ(writeCellsPng(dir.file("no/such/dir/p.png").c_str(), cells, 2, 2, standardPalette, 1),
              0);
    EXPECT_EQ(writeCellsPng(dir.file("p.png").c_str(), cells, 2, 2, standardPalette, 0), 0);
    EXPECT_EQ(writeCellsPng(dir.file("p.png").c_str(), cells, 2, 2, standardPalette, 17), 0);
    EXPECT_EQ(writeCellsPng(dir.file("p.png").c_str(), cells, 0, 2, standardPalette, 1), 0);
    EXPECT_EQ(writeCellsPng(dir.file("p.png").c_str(), nullptr, 2, 2, standardPalette, 1), 0);
    const uint32_t pixel = 0x123456;
    EXPECT_EQ(writePng(dir.file("p.png").c_str(), &pixel, 1, 0), 0);
    EXPECT_EQ(writePng(dir.file("p.png").c_str(), &pixel, 1, 1), 1);
}
