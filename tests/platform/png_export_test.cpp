#include "console/console_setup.h"
#include "platform/raster/png_export.h"
#include "platform/raster/rasteriser.h"
#include "test_support.h"
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
