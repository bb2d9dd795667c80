// Pictures as PNG files, drawn with the game's own font, to be looked at.
#pragma once
#include "platform/host.h"
#include <cstdint>

// Writes `width` x `height` pixels of 0x00RRGGBB, row by row, as an RGB PNG.
// Returns 1 on success, 0 when the file cannot be written.
int writePng(const char *path, const uint32_t *pixels, int width, int height);

// Draws the cells with the palette (16 entries 0x00BBGGRR), each pixel
// enlarged to `scale` x `scale` (1-16), and writes the PNG. 1 on success.
int writeCellsPng(const char *path, const Cell *cells, int width, int height,
                  const uint32_t palette[16], int scale);
