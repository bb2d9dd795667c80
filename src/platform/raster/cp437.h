// Code page 437 and Unicode: the character each code is drawn as, for text
// that people read and write (picture sources, the terminal host).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

extern const char32_t cp437ToUnicode[256];

// The code page 437 code drawn as `c`, or -1 when there is none. A space is
// 0x20; a few look-alikes (Greek beta and mu, the ohm sign) are accepted too.
int unicodeToCp437(char32_t c);

// Appends `c` to `out` as UTF-8.
void appendUtf8(std::string &out, char32_t c);
// Reads one UTF-8 character starting at `text[pos]` and moves `pos` past it.
// A malformed sequence reads as U+FFFD and moves one byte on.
char32_t readUtf8(const std::string &text, size_t &pos);
