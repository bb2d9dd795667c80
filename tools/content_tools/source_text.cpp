#include "content_tools/source_text.h"
#include "platform/raster/cp437.h"
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>

const char *const consoleColourNames[16] = {"black",    "darkblue",    "darkgreen",  "darkcyan",
                                            "darkred",  "darkmagenta", "darkyellow", "lightgrey",
                                            "darkgrey", "blue",        "green",      "cyan",
                                            "red",      "magenta",     "yellow",     "white"};

std::string format(const char *fmt, ...) {
    char buffer[256];
    va_list args;
    va_start(args, fmt);
    vsnprintf(buffer, sizeof buffer, fmt, args);
    va_end(args);
    return buffer;
}

std::string lineError(int line, const std::string &message) {
    return "line " + std::to_string(line) + ": " + message;
}

std::vector<std::string> splitWords(const std::string &line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    std::string word;
    while (in >> word)
        words.push_back(word);
    return words;
}

std::vector<std::string> statementWords(const std::string &line) {
    std::vector<std::string> words = splitWords(line);
    if (!words.empty() && words[0][0] == '#')
        words.clear();
    for (size_t w = !words.empty() && words[0] == "key" ? 3 : 1; w < words.size(); w++)
        if (words[w][0] == '#') {
            words.resize(w);
            break;
        }
    return words;
}

int readWholeFile(const std::string &path, std::string &text, std::string &error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": " + strerror(errno);
        return 0;
    }
    std::stringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return 1;
}

std::string lower(std::string s) {
    for (char &c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

int hexDigit(char32_t c) {
    if (c >= '0' && c <= '9')
        return static_cast<int>(c - '0');
    if (c >= 'a' && c <= 'f')
        return static_cast<int>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F')
        return static_cast<int>(c - 'A' + 10);
    return -1;
}

// A colour by name or by one hex digit; "-" means "not given here".
bool parseColour(const std::string &word, int &colour) {
    if (word == "-") {
        colour = -1;
        return true;
    }
    if (word.size() == 1 && hexDigit(static_cast<unsigned char>(word[0])) >= 0) {
        colour = hexDigit(static_cast<unsigned char>(word[0]));
        return true;
    }
    const std::string name = lower(word);
    for (int i = 0; i < 16; i++)
        if (name == consoleColourNames[i]) {
            colour = i;
            return true;
        }
    static const std::map<std::string, int> aliases = {
        {"grey", 7}, {"gray", 7},   {"lightgray", 7}, {"darkgray", 8}, {"brown", 6},
        {"navy", 1}, {"maroon", 4}, {"purple", 5},    {"teal", 3},     {"olive", 6}};
    auto it = aliases.find(name);
    if (it == aliases.end())
        return false;
    colour = it->second;
    return true;
}

// The decoded characters of a string; empty strings and bad UTF-8 included.
std::vector<char32_t> decode(const std::string &text) {
    std::vector<char32_t> chars;
    for (size_t pos = 0; pos < text.size();)
        chars.push_back(readUtf8(text, pos));
    return chars;
}

std::string describe(char32_t c) {
    std::string s;
    if (c >= 0x20 && c != 0xFFFD) {
        s += "'";
        appendUtf8(s, c);
        s += "' ";
    }
    return s + format("(U+%04X)", static_cast<unsigned>(c));
}

// A legend character: one character as written, "space", or a code number
// of two or more digits (decimal, or hex with 0x).
bool parseCharacter(const std::string &word, int &code, std::string &problem) {
    const std::vector<char32_t> chars = decode(word);
    if (chars.size() == 1) {
        code = unicodeToCp437(chars[0]);
        if (code < 0)
            problem = describe(chars[0]) + " is not a code-page-437 character";
        return code >= 0;
    }
    if (lower(word) == "space") {
        code = 0x20;
        return true;
    }
    const bool hex = word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X');
    long value = 0;
    for (size_t i = hex ? 2 : 0; i < word.size(); i++) {
        const int d = hex ? hexDigit(static_cast<unsigned char>(word[i]))
                          : (word[i] >= '0' && word[i] <= '9' ? word[i] - '0' : -1);
        if (d < 0 || value > 255) {
            problem = "'" + word + "' is neither one character nor a code 0-255";
            return false;
        }
        value = value * (hex ? 16 : 10) + d;
    }
    if (value > 255) {
        problem = "'" + word + "' is not a code 0-255";
        return false;
    }
    code = static_cast<int>(value);
    return true;
}

std::vector<std::string> splitLines(const std::string &text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}
