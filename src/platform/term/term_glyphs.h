// What a code-page-437 cell looks like in a terminal: the character(s) to
// write for it, one or two terminal columns wide.
#pragma once
#include <cstdint>
#include <string>

// The Unicode character shown for a code-page-437 code, with the symbols
// at 1-31 and 127; code 0 shows as a blank.
char32_t termUnicodeOf(uint8_t code);
// Whether the cell shows nothing but its background (blank, 0 and 255).
bool termGlyphIsBlank(uint8_t code);
// UTF-8 for the cell at one or two columns per cell. At two columns the
// second column continues lines and blocks so that pictures stay joined.
const std::string &termGlyph(uint8_t code, int cellColumns);
// Appends one character as UTF-8.
void appendUtf8(std::string &out, char32_t c);
