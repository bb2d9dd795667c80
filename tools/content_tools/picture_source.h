// Pictures written by hand as text ("picture sources"), compiled into the
// cells of a .srf file. The form is described in the README: a size, an
// optional legend of keys, a grid of characters and optional colour grids.
#pragma once
#include "platform/host.h"
#include <string>
#include <vector>

struct Surface;

struct CompiledPicture {
    int width = 0;
    int height = 0;
    std::vector<Cell> cells; // width x height, row by row
};

// Compiles a picture source. Returns 1 with the picture, or 0 with a message
// that starts with the line number ("line 7: ...") in `error`.
int compilePictureSource(const std::string &text, CompiledPicture &out, std::string &error);

// A picture source that compiles back to exactly these cells.
std::string pictureSourceFromCells(const Cell *cells, int width, int height);

// True when the text is the game's own text picture form "(w, h) (ch, fg, bg) ...".
bool isGameTextPicture(const std::string &text);

// Reads a picture from a file in any form: a .srf file, a picture source or
// the game's text picture form. 1 on success, 0 with a message in `error`.
int loadPictureFile(const std::string &path, CompiledPicture &out, std::string &error);
// Reads a picture in the game's own text form from any path, as the game would.
int loadTextPictureFile(const std::string &path, Surface **out);
