// Turns character cells into pixels with the game's own 8 x 8 code-page-437
// font: shared by the window host and the PNG export, so both show the same.
#pragma once
#include "platform/host.h"
#include <cstdint>

constexpr int FRAME_PIXEL_WIDTH = SCREEN_WIDTH * CELL_PIXELS;   // 928
constexpr int FRAME_PIXEL_HEIGHT = SCREEN_HEIGHT * CELL_PIXELS; // 704

// 256 glyphs of 8 rows; bit 7 of a row byte is the leftmost pixel.
extern const uint8_t font8x8[256][8];

// A palette entry 0x00BBGGRR as 0x00RRGGBB.
uint32_t colorrefToRgb(uint32_t colorref);

// Writes (width x 8) x (height x 8) pixels of 0x00RRGGBB into `pixels`, whose
// rows are `pitch` pixels apart. The palette holds 16 entries 0x00BBGGRR.
// `topByte` goes into the top byte of every pixel (an alpha, for a canvas).
void rasteriseCells(const Cell *cells, int width, int height, const uint32_t palette[16],
                    uint32_t *pixels, int pitch, uint32_t topByte = 0);
