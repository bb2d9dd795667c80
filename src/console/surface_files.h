// Pictures on disk: the binary .srf file and the hand-written text picture.
#pragma once
#include "console/surface.h"
#include <cstdio>
#include <vector>

constexpr uint16_t SRF_MAGIC = 0xABCD;
constexpr int SRF_HEADER_SIZE = 88;
// Pictures wider or taller than this are refused as broken files: the largest
// picture the game draws is the 116 x 88 screen.
constexpr int MAX_PICTURE_SIDE = 1024;

// Reads a .srf picture from a stream opened "rb" and closes the stream.
// Returns 1 with a surface (possibly empty), 0 when the file is unreadable.
int loadSurface(FILE *stream, Surface **out);
// Reads the text picture form: "(w, h)" then w x h entries " (ch, fg, bg)".
int loadTextSurface(const char *path, Surface **out);
// Writes the back buffer as "screenshot.srf".
int saveScreenshot();

// The bytes of a .srf file for a picture (header and cells).
std::vector<unsigned char> encodeSurface(const Cell *cells, int width, int height);
// Opens, loads and reports in the usual way; null when absent or unreadable.
Surface *loadSurfaceFile(const char *path);
