#include "content_tools/png_export.h"
#include "console/surface_files.h"
#include "platform/raster/rasteriser.h"
#include <vector>

// The PNG writer is a third-party single-header library: its own warnings are
// not ours to fix, and its functions stay private to this file.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

// Larger pictures than this are refused rather than allocated.
constexpr int MAX_PNG_SIDE = 16384;

int writePng(const char *path, const uint32_t *pixels, int width, int height) {
    if (!path || !pixels || width <= 0 || height <= 0 || width > MAX_PNG_SIDE ||
        height > MAX_PNG_SIDE)
        return 0;
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0; i < static_cast<size_t>(width) * height; i++) {
        rgb[i * 3] = static_cast<unsigned char>(pixels[i] >> 16);
        rgb[i * 3 + 1] = static_cast<unsigned char>(pixels[i] >> 8);
        rgb[i * 3 + 2] = static_cast<unsigned char>(pixels[i]);
    }
    return stbi_write_png(path, width, height, 3, rgb.data(), width * 3) ? 1 : 0;
}

int writeCellsPng(const char *path, const Cell *cells, int width, int height,
                  const uint32_t palette[16], int scale) {
    if (!cells || !palette || width <= 0 || height <= 0 || width > MAX_PICTURE_SIDE ||
        height > MAX_PICTURE_SIDE || scale < 1 || scale > 16)
        return 0;
    const int pw = width * CELL_PIXELS, ph = height * CELL_PIXELS;
    if (pw * scale > MAX_PNG_SIDE || ph * scale > MAX_PNG_SIDE)
        return 0;
    std::vector<uint32_t> pixels(static_cast<size_t>(pw) * ph);
    rasteriseCells(cells, width, height, palette, pixels.data(), pw);
    if (scale == 1)
        return writePng(path, pixels.data(), pw, ph);
    std::vector<uint32_t> big(static_cast<size_t>(pw) * scale * ph * scale);
    for (int y = 0; y < ph * scale; y++) {
        const uint32_t *src = &pixels[static_cast<size_t>(y / scale) * pw];
        uint32_t *dst = &big[static_cast<size_t>(y) * pw * scale];
        for (int x = 0; x < pw * scale; x++)
            dst[x] = src[x / scale];
    }
    return writePng(path, big.data(), pw * scale, ph * scale);
}
