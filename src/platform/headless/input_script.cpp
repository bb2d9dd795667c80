#include "platform/headless/input_script.h"
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

int virtualKeyFromName(const std::string &raw) {
    std::string name;
    for (char c : raw)
        name += static_cast<char>(toupper(static_cast<unsigned char>(c)));
    if (name.size() == 1 && (isupper(static_cast<unsigned char>(name[0])) ||
                             isdigit(static_cast<unsigned char>(name[0]))))
        return name[0];
    if (name.size() > 2 && name[0] == '0' && name[1] == 'X') {
        char *end = nullptr;
        long code = strtol(name.c_str() + 2, &end, 16);
        if (*end == 0 && code >= 0 && code <= 255)
            return static_cast<int>(code);
        return -1;
    }
    if (name.size() >= 2 && name[0] == 'F' &&
        std::all_of(name.begin() + 1, name.end(), ::isdigit)) {
        int n = atoi(name.c_str() + 1);
        return n >= 1 && n <= 12 ? VK_F1 + n - 1 : -1;
    }
    static const struct {
        const char *name;
        int code;
    } names[] = {{"BACK", VK_BACK},     {"TAB", VK_TAB},     {"RETURN", VK_RETURN},
                 {"ENTER", VK_RETURN},  {"SHIFT", VK_SHIFT}, {"CONTROL", VK_CONTROL},
                 {"CTRL", VK_CONTROL},  {"MENU", VK_MENU},   {"ALT", VK_MENU},
                 {"ESCAPE", VK_ESCAPE}, {"ESC", VK_ESCAPE},  {"SPACE", VK_SPACE},
                 {"PRIOR", VK_PRIOR},   {"NEXT", VK_NEXT},   {"END", VK_END},
                 {"HOME", VK_HOME},     {"LEFT", VK_LEFT},   {"UP", VK_UP},
                 {"RIGHT", VK_RIGHT},   {"DOWN", VK_DOWN},   {"DELETE", VK_DELETE}};
    for (const auto &n : names)
        if (name == n.name)
            return n.code;
    return -1;
}

char characterOfKey(int vk) {
    if (vk >= 'A' && vk <= 'Z')
        return static_cast<char>(vk - 'A' + 'a');
    if (vk >= '0' && vk <= '9')
        return static_cast<char>(vk);
    switch (vk) {
    case VK_BACK:
        return 8;
    case VK_TAB:
        return 9;
    case VK_RETURN:
        return 13;
    case VK_ESCAPE:
        return 27;
    case VK_SPACE:
        return ' ';
    default:
        return 0;
    }
}

// The key that types a character, for "type": letters, digits and a few signs.
static int keyOfCharacter(char c) {
    if (isalpha(static_cast<unsigned char>(c)))
        return toupper(static_cast<unsigned char>(c));
    if (isdigit(static_cast<unsigned char>(c)))
        return c;
    switch (c) {
    case ' ':
        return VK_SPACE;
    case '-':
    case '_':
        return VK_OEM_MINUS;
    case '.':
        return VK_OEM_PERIOD;
    default:
        return 0;
    }
}

static ScriptEvent keyEvent(uint32_t time, int vk, bool down, char ch) {
    ScriptEvent e{};
    e.time = time;
    e.kind = ScriptEvent::KEY;
    e.event.type = HOST_EVENT_KEY;
    e.event.key.keyDown = down ? 1 : 0;
    e.event.key.repeatCount = 1;
    e.event.key.virtualKeyCode = static_cast<uint16_t>(vk);
    e.event.key.asciiChar = ch;
    return e;
}

static ScriptEvent mouseEvent(uint32_t time, int x, int y, uint32_t buttons, uint32_t flags) {
    ScriptEvent e{};
    e.time = time;
    e.kind = ScriptEvent::MOUSE;
    e.event.type = HOST_EVENT_MOUSE;
    e.event.mouse.x = static_cast<int16_t>(x);
    e.event.mouse.y = static_cast<int16_t>(y);
    e.event.mouse.buttonState = buttons;
    e.event.mouse.eventFlags = flags;
    return e;
}

bool parseInputScript(const std::string &text, std::vector<ScriptEvent> &out, std::string &error) {
    std::istringstream in(text);
    std::string line;
    int number = 0;
    std::vector<ScriptEvent> events;
    while (std::getline(in, line)) {
        number++;
        size_t hash = line.find('#');
        if (hash != std::string::npos)
            line.erase(hash);
        std::istringstream words(line);
        std::string timeWord, verb;
        if (!(words >> timeWord))
            continue;
        auto fail = [&](const std::string &why) {
            error = "line " + std::to_string(number) + ": " + why;
            return false;
        };
        char *end = nullptr;
        errno = 0;
        const unsigned long long t = strtoull(timeWord.c_str(), &end, 10);
        if (*end != 0 || !isdigit(static_cast<unsigned char>(timeWord[0])))
            return fail("expected a time in milliseconds, found '" + timeWord + "'");
        // The game's clock has 32 bits; a later time would come round again
        // near the start. A tap or typed text needs room for its key-ups too.
        if (errno == ERANGE || t > MAX_SCRIPT_TIME)
            return fail("the time " + timeWord + " is past the last one a script can use (" +
                        std::to_string(MAX_SCRIPT_TIME) + " ms)");
        if (!(words >> verb))
            return fail("missing an action after the time");
        const uint32_t time = static_cast<uint32_t>(t);
        std::string rest;
        if (verb == "down" || verb == "up" || verb == "tap") {
            std::string key;
            if (!(words >> key))
                return fail("missing a key name");
            int vk = virtualKeyFromName(key);
            if (vk < 0)
                return fail("unknown key '" + key + "'");
            char ch = characterOfKey(vk);
            if (verb != "up")
                events.push_back(keyEvent(time, vk, true, ch));
            if (verb != "down")
                events.push_back(keyEvent(verb == "tap" ? time + 20 : time, vk, false, ch));
        } else if (verb == "type") {
            std::getline(words, rest);
            size_t first = rest.find_first_not_of(' ');
            rest = first == std::string::npos ? "" : rest.substr(first);
            if (rest.empty())
                return fail("nothing to type");
            if (time + 40ull * rest.size() > MAX_SCRIPT_TIME)
                return fail("the typing goes on past the last time a script can use");
            uint32_t at = time;
            for (char c : rest) {
                int vk = keyOfCharacter(c);
                events.push_back(keyEvent(at, vk, true, c));
                events.push_back(keyEvent(at + 20, vk, false, c));
                at += 40;
            }
        } else if (verb == "move" || verb == "click") {
            int x, y;
            if (!(words >> x >> y))
                return fail("expected a column and a row");
            events.push_back(mouseEvent(time, x, y, 0, 1));
            if (verb == "click") {
                events.push_back(mouseEvent(time, x, y, 1, 0));
                events.push_back(mouseEvent(time + 20, x, y, 0, 0));
            }
        } else if (verb == "end") {
            ScriptEvent e{};
            e.time = time;
            e.kind = ScriptEvent::END;
            events.push_back(e);
        } else {
            return fail("unknown action '" + verb + "'");
        }
        std::string extra;
        if (verb != "type" && (words >> extra))
            return fail("unexpected '" + extra + "' at the end of the line");
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const ScriptEvent &a, const ScriptEvent &b) { return a.time < b.time; });
    out = std::move(events);
    return true;
}

bool loadInputScript(const char *path, std::vector<ScriptEvent> &out, std::string &error) {
    // A folder opens as a stream that reads nothing, which would be a script
    // without events.
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        error = std::string(path) + ": is a folder, not an input script";
        return false;
    }
    std::ifstream f(path);
    if (!f) {
        error = std::string(path) + ": cannot be opened";
        return false;
    }
    std::stringstream s;
    s << f.rdbuf();
    if (!parseInputScript(s.str(), out, error)) {
        error = std::string(path) + ": " + error;
        return false;
    }
    return true;
}
