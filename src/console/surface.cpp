#include "console/surface.h"
#include <bit>
#include <cstdlib>
#include <cstring>

BackBuffer *backBuffer = nullptr;
uint64_t framesPresented = 0;

// Colour codes of text pictures: background code k is BG[k]; foreground code k
// (1-15) is FG[k - 1] and 0 means no foreground colour.
static const uint16_t bgTable[16] = {0x00, 0xF0, 0x70, 0x40, 0xC0, 0x10, 0x90, 0x20,
                                     0xA0, 0xD0, 0x50, 0xE0, 0x60, 0xB0, 0x30, 0x80};
static const uint16_t fgTable[16] = {0x0, 0xF, 0x7, 0x4, 0xC, 0x1, 0x9, 0x2,
                                     0xA, 0xD, 0x5, 0xE, 0x6, 0xB, 0x3, 0x8};

BackBuffer *createBackBuffer() {
    BackBuffer *buffer = static_cast<BackBuffer *>(calloc(1, sizeof(BackBuffer)));
    if (!buffer)
        return nullptr;
    buffer->cells = static_cast<Cell *>(calloc(SCREEN_WIDTH * SCREEN_HEIGHT, sizeof(Cell)));
    buffer->title = strdup("Wobblewick!");
    buffer->width = SCREEN_WIDTH;
    buffer->height = SCREEN_HEIGHT;
    return buffer;
}

void freeBackBuffer(BackBuffer *buffer) {
    if (!buffer)
        return;
    free(buffer->cells);
    free(buffer->title);
    free(buffer);
}

Surface *createSurface(int width, int height) {
    Surface *surface = static_cast<Surface *>(calloc(1, sizeof(Surface)));
    if (!surface)
        return nullptr;
    if (width >= 2 && height >= 2) {
        surface->cells = static_cast<Cell *>(malloc(sizeof(Cell) * width * height));
        if (surface->cells) {
            surface->width = static_cast<int16_t>(width);
            surface->height = static_cast<int16_t>(height);
        }
    }
    return surface;
}

void freeSurface(Surface *surface) {
    if (!surface)
        return;
    free(surface->cells);
    free(surface);
}

// The compositor's loops work in runs of eight cells with no branch inside a
// run, so that the compiler turns each run into a few vector instructions: a
// frame is a clear of 10,208 cells and thousands of cells of pictures.
constexpr int RUN = 8;

void clearScreen() {
    if (!backBuffer)
        return;
    const Cell blank = {0x20, bgTable[0]};
    Cell *cells = backBuffer->cells;
    const int count = backBuffer->width * backBuffer->height;
    int i = 0;
    for (; i + RUN <= count; i += RUN)
        for (int k = 0; k < RUN; k++)
            cells[i + k] = blank;
    for (; i < count; i++)
        cells[i] = blank;
}

// Transparency is by character alone: a blank never paints. Cells are taken
// as 32-bit words, whose low byte is the character's on every machine the
// game is built for.
static_assert(std::endian::native == std::endian::little);
static uint32_t paint(uint32_t under, uint32_t over) {
    return (over & 0xFF) == 0x20 ? under : over;
}

static void blitRow(Cell *dst, const Cell *src, int count) {
    int c = 0;
    for (; c + RUN <= count; c += RUN) {
        uint32_t under[RUN], over[RUN];
        memcpy(under, dst + c, sizeof under);
        memcpy(over, src + c, sizeof over);
        for (int k = 0; k < RUN; k++)
            under[k] = paint(under[k], over[k]);
        memcpy(dst + c, under, sizeof under);
    }
    for (; c < count; c++)
        if ((src[c].ch & 0xFF) != 0x20)
            dst[c] = src[c];
}

int blitSurface(const Surface *surface, int16_t x, int16_t y) {
    if (!surface)
        return 0;
    if (!backBuffer || !surface->cells)
        return 1;
    const int bw = backBuffer->width, bh = backBuffer->height;
    if (x > bw || y > bh)
        return 1;
    // Columns outside the screen are cut off once per picture, not per cell.
    const int c0 = x < 0 ? -x : 0;
    const int c1 = surface->width < bw - x ? surface->width : bw - x;
    if (c0 >= c1)
        return 1;
    for (int r = 0; r < surface->height; r++) {
        const int dy = y + r;
        if (dy < 0 || dy >= bh)
            continue;
        blitRow(backBuffer->cells + dy * bw + x + c0, surface->cells + r * surface->width + c0,
                c1 - c0);
    }
    return 1;
}

void presentScreen() {
    if (!backBuffer || !host)
        return;
    host->present(backBuffer->cells, backBuffer->width, backBuffer->height);
    framesPresented++;
}

uint16_t colourToAttribute(uint16_t fg, uint16_t bg) {
    if (fg > 15)
        fg = 15;
    if (bg > 15)
        bg = 15;
    if (fg == 0)
        return bgTable[bg];
    return fgTable[fg - 1] | bgTable[bg];
}
