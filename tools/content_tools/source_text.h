// What the text sources of pictures and animations share: lines and words,
// characters decoded from UTF-8, colours by name or digit, legend characters,
// and messages that start with the line number ("line 7: ...").
#pragma once
#include <string>
#include <vector>

// Console colour indices (0 black ... 15 white) by name, for sources and tools.
extern const char *const consoleColourNames[16];

std::string format(const char *fmt, ...) __attribute__((format(printf, 1, 2)));
std::string lineError(int line, const std::string &message);
// The text's lines without their line breaks (a '\r' before one included).
std::vector<std::string> splitLines(const std::string &text);
std::vector<std::string> splitWords(const std::string &line);
// The words of a statement without its comment: a line that starts with '#'
// has none, and a word starting with '#' ends the line, except where a key or
// its character (the second and third words of "key") may itself be '#'.
std::vector<std::string> statementWords(const std::string &line);
// The whole file as bytes; 0 with "PATH: reason" in `error` when it cannot be read.
int readWholeFile(const std::string &path, std::string &text, std::string &error);
std::string lower(std::string s);
// The value of a hex digit, or -1.
int hexDigit(char32_t c);
// A colour by name or by one hex digit; "-" gives -1, "not given here".
bool parseColour(const std::string &word, int &colour);
// The decoded characters of a string; empty strings and bad UTF-8 included.
std::vector<char32_t> decode(const std::string &text);
// A character for a message: 'x' (U+0078).
std::string describe(char32_t c);
// A legend character: one character as written, "space", or a code number
// of two or more digits (decimal, or hex with 0x).
bool parseCharacter(const std::string &word, int &code, std::string &problem);
