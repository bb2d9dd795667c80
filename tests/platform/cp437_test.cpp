#include "platform/raster/cp437.h"
#include <gtest/gtest.h>
#include <set>

TEST(Cp437, EveryCodeHasItsOwnCharacterBothWays) {
    std::set<char32_t> seen;
    for (int code = 1; code < 256; code++) {
        EXPECT_TRUE(seen.insert(cp437ToUnicode[code]).second) << "code " << code;
        EXPECT_EQ(unicodeToCp437(cp437ToUnicode[code]), code);
    }
    EXPECT_EQ(cp437ToUnicode[0], U' '); // code 0 shows as a blank
    EXPECT_EQ(unicodeToCp437(U' '), 0x20);
    std::u32string some;
    for (int code : {0x0E, 0x1F, 0x41, 0x80, 0xB0, 0xC5, 0xCE, 0xE1, 0xFE, 0xFF})
        some += cp437ToUnicode[code];
    EXPECT_EQ(some, U"♫▼AÇ░┼╬ß■\u00A0");
    EXPECT_EQ(unicodeToCp437(U'β'), 0xE1);
    EXPECT_EQ(unicodeToCp437(U'€'), -1);
    EXPECT_EQ(unicodeToCp437(U'\t'), -1);
    EXPECT_EQ(unicodeToCp437(0), -1);
}

TEST(Cp437, Utf8RoundTripAndBrokenSequences) {
    std::string text;
    for (int code = 0; code < 256; code++)
        appendUtf8(text, cp437ToUnicode[code]);
    appendUtf8(text, U'\U0001F600');
    size_t pos = 0;
    for (int code = 0; code < 256; code++)
        ASSERT_EQ(readUtf8(text, pos), cp437ToUnicode[code]);
    EXPECT_EQ(readUtf8(text, pos), U'\U0001F600');
    EXPECT_EQ(pos, text.size());

    // Broken input reads as U+FFFD one byte at a time and never past the end.
    const std::string broken[] = {"\x80",        "\xC3",         "\xE2\x96",
                                  "\xC0\x80",    "\xED\xA0\x80", "\xF8\x88\x80\x80\x80",
                                  "\xE2\x41\x41"};
    for (const std::string &b : broken) {
        pos = 0;
        EXPECT_EQ(readUtf8(b, pos), U'\uFFFD') << b.size();
        EXPECT_EQ(pos, 1u);
    }
}
