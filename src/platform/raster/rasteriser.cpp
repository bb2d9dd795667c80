#include "platform/raster/rasteriser.h"
#include <cstddef>

uint32_t colorrefToRgb(uint32_t colorref) {
    return ((colorref & 0xFF) << 16) | (colorref & 0xFF00) | ((colorref >> 16) & 0xFF);
}

namespace {

// For every row byte, a mask per pixel: all ones where the pixel is set. A
// pixel is then bg ^ ((fg ^ bg) & mask), with no branch per pixel.
struct RowMasks {
    uint32_t mask[256][8];
};

constexpr RowMasks makeRowMasks() {
    RowMasks masks{};
    for (int bits = 0; bits < 256; bits++)
        for (int x = 0; x < 8; x++)
            masks.mask[bits][x] = (bits & (0x80 >> x)) ? 0xFFFFFFFFu : 0u;
    return masks;
}

constexpr RowMasks rowMasks = makeRowMasks();

} // namespace

void rasteriseCells(const Cell *cells, int width, int height, const uint32_t palette[16],
                    uint32_t *pixels, int pitch, uint32_t topByte) {
    if (!cells || !pixels || !palette || width <= 0 || height <= 0)
        return;
    uint32_t rgb[16];
    for (int i = 0; i < 16; i++)
        rgb[i] = colorrefToRgb(palette[i]) | topByte << 24;
    for (int cy = 0; cy < height; cy++) {
        const Cell *row = cells + static_cast<size_t>(cy) * width;
        uint32_t *top = pixels + static_cast<size_t>(cy) * CELL_PIXELS * pitch;
        for (int cx = 0; cx < width; cx++) {
            const Cell cell = row[cx];
            const uint8_t *glyph = font8x8[cell.ch & 0xFF];
            const uint32_t bg = rgb[(cell.attr >> 4) & 0xF];
            const uint32_t diff = rgb[cell.attr & 0xF] ^ bg;
            uint32_t *out = top + cx * CELL_PIXELS;
            for (int y = 0; y < CELL_PIXELS; y++, out += pitch) {
                const uint32_t *mask = rowMasks.mask[glyph[y]];
                for (int x = 0; x < CELL_PIXELS; x++)
                    out[x] = bg ^ (diff & mask[x]);
            }
        }
    }
}
