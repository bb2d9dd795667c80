#include "platform/raster/rasteriser.h"
#include "platform/web/web_host.h"
#include <algorithm>
#include <cstring>

// The page's side: copies `rows` pixel rows from `pixels` onto the canvas at
// pixel row `top`, resizing the canvas to `width` pixels when it differs.
extern "C" void wobbleDrawRows(const uint32_t *pixels, int width, int top, int rows);

static void markStale(int top, int bottom) {
    web.staleTop = std::min(web.staleTop, top);
    web.staleBottom = std::max(web.staleBottom, bottom);
}

// Only the rows that changed are drawn again: a frame of play changes few.
static void redraw() {
    if (web.staleTop > web.staleBottom || web.width <= 0)
        return;
    const int top = std::max(web.staleTop, 0);
    const int rows = std::min(web.staleBottom, web.height - 1) - top + 1;
    web.staleTop = web.height;
    web.staleBottom = -1;
    if (rows <= 0)
        return;
    // The rasteriser writes 0x00RRGGBB from 0x00BBGGRR entries; handing it the
    // entries with red and blue swapped gives the canvas's byte order R, G, B.
    uint32_t swapped[16];
    for (int i = 0; i < 16; i++)
        swapped[i] = colorrefToRgb(web.palette[i]);
    const int pitch = web.width * CELL_PIXELS;
    uint32_t *band = web.pixels.data() + static_cast<size_t>(top) * CELL_PIXELS * pitch;
    rasteriseCells(web.cells.data() + static_cast<size_t>(top) * web.width, web.width, rows,
                   swapped, band, pitch, 0xFF); // opaque
    wobbleDrawRows(band, pitch, top * CELL_PIXELS, rows * CELL_PIXELS);
}

void webPresent(const Cell *cells, int width, int height) {
    if (!cells || width <= 0 || height <= 0)
        return;
    if (width != web.width || height != web.height) {
        web.width = width;
        web.height = height;
        web.cells.assign(static_cast<size_t>(width) * height, Cell{0, 0});
        web.pixels.assign(static_cast<size_t>(width) * height * CELL_PIXELS * CELL_PIXELS, 0);
        markStale(0, height - 1);
    }
    const size_t rowCells = static_cast<size_t>(width);
    for (int y = 0; y < height; y++) {
        Cell *row = web.cells.data() + y * rowCells;
        const Cell *from = cells + y * rowCells;
        if (memcmp(row, from, rowCells * sizeof(Cell)) != 0) {
            memcpy(row, from, rowCells * sizeof(Cell));
            markStale(y, y);
        }
    }
    redraw();
    web.frames++;
}

// A console palette change recolours the whole picture at once.
void webSetPalette(const uint32_t palette[16]) {
    if (memcmp(web.palette, palette, sizeof web.palette) == 0)
        return;
    memcpy(web.palette, palette, sizeof web.palette);
    markStale(0, web.height - 1);
    redraw();
}

void webGetPalette(uint32_t palette[16]) {
    memcpy(palette, web.palette, sizeof web.palette);
}
