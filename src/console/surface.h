// Character-cell pictures, the one back buffer every screen draws into, and
// the compositor that presents it.
#pragma once
#include "platform/host.h"
#include <cstdint>

struct Surface {
    Cell *cells; // width x height cells, row by row, top row first
    int16_t width;
    int16_t height;
};

struct BackBuffer {
    Cell *cells;
    char *title;
    int16_t width;
    int16_t height;
};

extern BackBuffer *backBuffer;
// Frames shown since the program started.
extern uint64_t framesPresented;

// Creates the back buffer (116 x 88 zeroed cells, title "Wobblewick!").
BackBuffer *createBackBuffer();
void freeBackBuffer(BackBuffer *buffer);

// Pictures smaller than 2 cells in either direction have no cells at all.
Surface *createSurface(int width, int height);
void freeSurface(Surface *surface);
void clearScreen();
int blitSurface(const Surface *surface, int16_t x, int16_t y);
void presentScreen();
uint16_t colourToAttribute(uint16_t fg, uint16_t bg);
