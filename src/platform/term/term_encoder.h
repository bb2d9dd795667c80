// Turning frames into terminal output: each cell becomes one or two terminal
// columns of Unicode text with colours, and only what changed since the last
// frame is written, as one synchronized update.
#pragma once
#include "platform/host.h"
#include <cstdint>
#include <string>
#include <vector>

// How colours reach the terminal. With the palette, cells name one of the 16
// terminal colours and the game's palette is loaded into those entries (OSC
// 4), so a palette change recolours the picture without touching a cell.
// Otherwise every cell carries its colour (24-bit or the nearest of 256) and
// a palette change rewrites the cells that use a changed entry.
enum TermColourMode { TERM_COLOURS_PALETTE, TERM_COLOURS_24BIT, TERM_COLOURS_256 };

// A cell as the terminal shows it: the character and the colour keys of the
// current colour mode (a terminal colour index, 0xRRGGBB, or a 256-colour
// index). A blank's foreground is TERM_ANY_COLOUR: it shows no ink.
struct TermShownCell {
    uint16_t ch;
    uint32_t fg;
    uint32_t bg;
    friend bool operator==(const TermShownCell &, const TermShownCell &) = default;
};
constexpr uint32_t TERM_ANY_COLOUR = 0xFFFFFFFFu;

// The cursor's place (-1: unknown) and the pen's colours.
struct TermPen {
    int row = -1, column = -1;
    uint32_t fg = TERM_ANY_COLOUR, bg = TERM_ANY_COLOUR;
    bool penKnown = false;
};

struct TermScreen {
    int cellColumns = 2; // terminal columns per cell
    TermColourMode colourMode = TERM_COLOURS_24BIT;
    int columns = 0, rows = 0;           // the terminal's size
    int originColumn = 0, originRow = 0; // 0-based terminal position of cell (0, 0)
    uint32_t palette[16] = {};           // the game's palette (0x00BBGGRR)
    // Palette mode: what the terminal's 16 colours hold now.
    uint32_t terminalPalette[16] = {};
    bool terminalPaletteKnown = false;
    // What the terminal shows, row by row; invalid means the next frame
    // clears the terminal and writes every cell.
    std::vector<TermShownCell> shown;
    int shownWidth = 0, shownHeight = 0;
    bool shownValid = false;
    // Where the last frame left the cursor and the pen, so that the next
    // frame starts from there. Anything else that moves the cursor or sets
    // colours clears shownValid, or forgets them as termEncodeShift does.
    TermPen pen;
};

// Appends to `out` what brings the terminal from what it shows to the frame,
// inside synchronized-output brackets; appends nothing when nothing changed.
// With `diff` false every cell is written again.
void termEncodeFrame(TermScreen &screen, const Cell *cells, int width, int height, std::string &out,
                     bool diff = true);
// Moves the picture the terminal shows so that it starts at (column, row),
// with the terminal's own scrolling (a scroll region and SU/SD) and character
// insertion and deletion (ICH/DCH) instead of writing it again: a few hundred
// bytes where a repaint costs tens of thousands. Returns false, appending
// nothing, when the picture shown is not known or either place is not wholly
// on the terminal; the caller then repaints.
bool termEncodeShift(TermScreen &screen, int column, int row, std::string &out);
// Takes a new palette. In palette mode appends the OSC 4 changes of the
// entries that differ; otherwise appends nothing, and the next
// termEncodeFrame rewrites the cells whose colours changed.
void termEncodePalette(TermScreen &screen, const uint32_t palette[16], std::string &out);

// The terminal colour index (ANSI order) of a console colour index: red and
// blue swap places.
int termAnsiIndex(int consoleIndex);
// The nearest colour of the 256-colour cube and grey ramp (16-255) to 0x00BBGGRR.
int termNearest256(uint32_t colorref);
