#include "platform/term/term_glyphs.h"
#include "platform/raster/cp437.h"
#include <array>

bool termGlyphIsBlank(uint8_t code) {
    return code == 0x00 || code == 0x20 || code == 0xFF;
}

// What fills the second column of a two-column cell. Lines that leave the
// cell to the right go on through it, blocks and shades fill it, the half
// blocks split across the two columns; everything else leaves it blank.
static char32_t secondColumn(uint8_t code) {
    switch (code) {
    case 0xC0:
    case 0xC1:
    case 0xC2:
    case 0xC3:
    case 0xC4:
    case 0xC5:
    case 0xDA:
    case 0xC7:
    case 0xD0:
    case 0xD2:
    case 0xD3:
    case 0xD6:
    case 0xD7:
        return 0x2500; // a single line runs on to the right
    case 0xC6:
    case 0xC8:
    case 0xC9:
    case 0xCA:
    case 0xCB:
    case 0xCC:
    case 0xCD:
    case 0xCE:
    case 0xCF:
    case 0xD1:
    case 0xD4:
    case 0xD5:
    case 0xD8:
        return 0x2550; // a double line runs on to the right
    case 0xB0:
    case 0xB1:
    case 0xB2:
    case 0xDB:
    case 0xDC:
    case 0xDF:
        return cp437ToUnicode[code];
    case 0xDE:
        return 0x2588; // right half: the second column is the solid one
    default:
        return 0x20;
    }
}

static std::array<std::string, 256> buildGlyphs(int cellColumns) {
    std::array<std::string, 256> glyphs;
    for (int code = 0; code < 256; code++) {
        std::string &g = glyphs[code];
        const uint8_t c = static_cast<uint8_t>(code);
        if (termGlyphIsBlank(c))
            g = "";
        else if (cellColumns == 2 && c == 0xDD)
            appendUtf8(g, 0x2588); // left half: the first column is the solid one
        else if (cellColumns == 2 && c == 0xDE)
            g = " ";
        else
            appendUtf8(g, cp437ToUnicode[c]);
        if (termGlyphIsBlank(c))
            g.append(static_cast<size_t>(cellColumns), ' ');
        else if (cellColumns == 2)
            appendUtf8(g, secondColumn(c));
    }
    return glyphs;
}

const std::string &termGlyph(uint8_t code, int cellColumns) {
    static const std::array<std::string, 256> one = buildGlyphs(1);
    static const std::array<std::string, 256> two = buildGlyphs(2);
    return cellColumns == 2 ? two[code] : one[code];
}
