// What a code-page-437 cell looks like in a terminal: the character(s) to
// write for it, one or two terminal columns wide.
#pragma once
#include <cstdint>
#include <string>

// Whether the cell shows nothing but its background (blank, 0 and 255).
bool termGlyphIsBlank(uint8_t code);
// UTF-8 for the cell at one or two columns per cell. At two columns the
// second column continues lines and blocks so that pictures stay joined.
const std::string &termGlyph(uint8_t code, int cellColumns);
