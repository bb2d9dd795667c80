#include "platform/term/term_input.h"
#include <cstdlib>

// Modifier bits as terminals send them (the parameter minus one).
enum : uint32_t { MOD_SHIFT = 1, MOD_ALT = 2, MOD_CTRL = 4 };
// Kitty event types.
enum { EVENT_PRESS = 1, EVENT_REPEAT = 2, EVENT_RELEASE = 3 };

static const struct {
    uint32_t bit;
    int vk;
} modifierKeys[3] = {{MOD_SHIFT, VK_SHIFT}, {MOD_CTRL, VK_CONTROL}, {MOD_ALT, VK_MENU}};

static bool isModifier(int vk) {
    return vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU;
}

// Whether time `t` has come at `now`, on a clock that wraps.
static bool reached(uint32_t now, uint32_t t) {
    return static_cast<int32_t>(now - t) >= 0;
}

// A printable ASCII character on a US keyboard: its key and whether Shift makes it.
static int keyOfCharacter(unsigned char c, bool &shift) {
    static const char shifted[] = ")!@#$%^&*(";
    static const char plainPunct[] = ";=,-./`[\\]'";
    static const char shiftPunct[] = ":+<_>?~{|}\"";
    static const int punctKeys[] = {VK_OEM_1,      VK_OEM_PLUS, VK_OEM_COMMA, VK_OEM_MINUS,
                                    VK_OEM_PERIOD, VK_OEM_2,    VK_OEM_3,     VK_OEM_4,
                                    VK_OEM_5,      VK_OEM_6,    VK_OEM_7};
    shift = false;
    if (c == ' ')
        return VK_SPACE;
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 'A';
    if (c >= 'A' && c <= 'Z') {
        shift = true;
        return c;
    }
    if (c >= '0' && c <= '9')
        return c;
    for (int i = 0; i < 10; i++)
        if (shifted[i] == c) {
            shift = true;
            return '0' + i;
        }
    for (int i = 0; i < 11; i++) {
        if (plainPunct[i] == c)
            return punctKeys[i];
        if (shiftPunct[i] == c) {
            shift = true;
            return punctKeys[i];
        }
    }
    return 0;
}

static uint32_t controlState(const TermInput &in) {
    uint32_t s = 0;
    if (in.keys[VK_SHIFT].held)
        s |= CONTROL_SHIFT;
    if (in.keys[VK_CONTROL].held)
        s |= CONTROL_LEFT_CTRL;
    if (in.keys[VK_MENU].held)
        s |= CONTROL_LEFT_ALT;
    return s;
}

static void pushKey(TermInput &in, bool down, int vk, char ch) {
    HostEvent e{};
    e.type = HOST_EVENT_KEY;
    e.key.keyDown = down ? 1 : 0;
    e.key.repeatCount = 1;
    e.key.virtualKeyCode = static_cast<uint16_t>(vk);
    e.key.asciiChar = ch;
    e.key.controlKeyState = controlState(in);
    in.events.push_back(e);
}

static void startHeld(TermInput &in, int vk, char ch, uint32_t now) {
    TermHeldKey &k = in.keys[vk];
    k = TermHeldKey{};
    k.held = true;
    k.lastArrival = now;
    k.ch = ch;
}

static void releaseKey(TermInput &in, int vk) {
    TermHeldKey &k = in.keys[vk];
    k.held = false;
    k.releaseAt = 0;
    if (!k.upSent) {
        k.upSent = true;
        pushKey(in, false, vk, k.ch);
    }
}

// Without release events: how long the key stays held after an arrival that
// came `gap` ms after the one before. A lone press is a short tap; while
// autorepeat runs the key is held to a little past the next beat, so a held
// key walks without a break and stops soon after its repeats do.
static uint32_t holdTime(uint32_t gap) {
    if (gap >= TERM_REPEAT_GAP_MS)
        return TERM_TAP_MS;
    const uint32_t t = gap + TERM_REPEAT_SLACK_MS;
    return t < TERM_TAP_MS ? TERM_TAP_MS : t;
}

static void setReleaseAt(TermHeldKey &k, uint32_t at) {
    k.releaseAt = at ? at : 1;
}

// A key arrived from a terminal without release events.
static void legacyKey(TermInput &in, int vk, char ch, uint32_t mods, uint32_t now) {
    // Every key tells which modifiers are down with it.
    for (const auto &m : modifierKeys) {
        TermHeldKey &mk = in.keys[m.vk];
        if (mods & m.bit) {
            if (!mk.held) {
                startHeld(in, m.vk, 0, now);
                pushKey(in, true, m.vk, 0);
            }
        } else if (mk.held && mk.releaseAt) {
            releaseKey(in, m.vk);
        }
    }
    TermHeldKey &k = in.keys[vk];
    // The first repeat comes after the keyboard's repeat delay, long after the
    // press's tap is over: it starts the key again, held from then on.
    const uint32_t gap = k.lastArrival ? now - k.lastArrival : TERM_REPEAT_GAP_MS;
    if (k.held && !k.upSent) {
        k.lastArrival = now;
        k.ch = ch;
    } else {
        startHeld(in, vk, ch, now);
    }
    setReleaseAt(k, now + holdTime(gap));
    pushKey(in, true, vk, ch);
    for (const auto &m : modifierKeys) {
        TermHeldKey &mk = in.keys[m.vk];
        if ((mods & m.bit) && mk.held && !reached(mk.releaseAt, k.releaseAt))
            setReleaseAt(mk, k.releaseAt);
    }
}

// A key event of the kitty protocol: presses, repeats and releases as they happen.
static void kittyKey(TermInput &in, int vk, char ch, int event, uint32_t now) {
    TermHeldKey &k = in.keys[vk];
    if (event == EVENT_RELEASE) {
        if (!k.held || k.upSent)
            return;
        pushKey(in, false, vk, k.ch);
        k.upSent = true;
        // Held until the game has seen it, so that a quick tap still counts.
        setReleaseAt(k, now);
        if (k.seen)
            releaseKey(in, vk);
        return;
    }
    if (event == EVENT_REPEAT && k.held && !k.upSent) {
        k.lastArrival = now;
    } else {
        startHeld(in, vk, ch, now);
    }
    if (ch)
        k.ch = ch;
    pushKey(in, true, vk, ch ? ch : k.ch);
}

// `kittyForm`: the key came as a sequence that the kitty protocol also uses;
// plain bytes never carry releases, whatever protocol was asked for.
static void terminalKey(TermInput &in, int vk, char ch, uint32_t mods, int event, uint32_t now,
                        bool kittyForm = true) {
    if (vk <= 0 || vk > 255)
        return;
    if ((mods & MOD_CTRL) && !(mods & MOD_ALT) && event != EVENT_RELEASE) {
        if (vk == 'C') {
            in.closeRequested = true;
            return;
        }
        if (vk == 'Z') {
            in.suspendRequested = true;
            return;
        }
    }
    if ((mods & MOD_CTRL) && ((vk == 'C') || vk == 'Z') && event == EVENT_RELEASE)
        return;
    if (in.kitty && kittyForm)
        kittyKey(in, vk, ch, event, now);
    else
        legacyKey(in, vk, ch, mods, now);
}

// One byte of plain text (or a control byte), possibly after Esc for Alt.
static void plainByte(TermInput &in, unsigned char b, uint32_t mods, uint32_t now) {
    char ch = static_cast<char>(b);
    int vk = 0;
    if (b == '\r' || b == '\n') {
        vk = VK_RETURN;
        ch = '\r';
    } else if (b == '\t') {
        vk = VK_TAB;
    } else if (b == 0x7F || b == 0x08) {
        vk = VK_BACK;
        ch = 0x08;
    } else if (b == 0x1B) {
        vk = VK_ESCAPE;
    } else if (b == 0) {
        vk = VK_SPACE;
        mods |= MOD_CTRL;
    } else if (b < 0x1B) {
        vk = 'A' + b - 1; // Ctrl+letter
        mods |= MOD_CTRL;
    } else if (b < 0x20) {
        return; // Ctrl with \ ] ^ _: nothing the game uses
    } else {
        bool shift = false;
        vk = keyOfCharacter(b, shift);
        if (shift)
            mods |= MOD_SHIFT;
    }
    if (vk)
        terminalKey(in, vk, ch, mods, EVENT_PRESS, now, false);
}

// Numbers of CSI sequences: fields split by ';', parts of a field by ':'.
struct CsiFields {
    int count = 0;
    int parts[4] = {};
    long value[4][4] = {};
    bool present[4][4] = {};
};

static CsiFields splitFields(const char *p, size_t n) {
    CsiFields f;
    int field = 0, part = 0;
    f.count = n ? 1 : 0;
    if (n)
        f.parts[0] = 1;
    for (size_t i = 0; i < n; i++) {
        const char c = p[i];
        if (c == ';') {
            field++;
            part = 0;
            if (field < 4) {
                f.count = field + 1;
                f.parts[field] = 1;
            }
        } else if (c == ':') {
            part++;
            if (field < 4 && part < 4)
                f.parts[field] = part + 1;
        } else if (c >= '0' && c <= '9' && field < 4 && part < 4) {
            long &v = f.value[field][part];
            if (v < 100000000)
                v = v * 10 + (c - '0');
            f.present[field][part] = true;
        }
    }
    return f;
}

static int kittyCodeToKey(long code) {
    if (code >= 'a' && code <= 'z')
        return static_cast<int>(code - 'a' + 'A');
    switch (code) {
    case 27:
        return VK_ESCAPE;
    case 13:
        return VK_RETURN;
    case 9:
        return VK_TAB;
    case 127:
    case 8:
        return VK_BACK;
    case 57358:
        return VK_CAPITAL;
    case 57414:
        return VK_RETURN;
    case 57409:
        return VK_DECIMAL;
    case 57410:
        return VK_DIVIDE;
    case 57411:
        return VK_MULTIPLY;
    case 57412:
        return VK_SUBTRACT;
    case 57413:
        return VK_ADD;
    case 57415:
        return VK_OEM_PLUS;
    case 57417:
        return VK_LEFT;
    case 57418:
        return VK_RIGHT;
    case 57419:
        return VK_UP;
    case 57420:
        return VK_DOWN;
    case 57421:
        return VK_PRIOR;
    case 57422:
        return VK_NEXT;
    case 57423:
        return VK_HOME;
    case 57424:
        return VK_END;
    case 57425:
        return VK_INSERT;
    case 57426:
        return VK_DELETE;
    case 57441:
    case 57447:
        return VK_SHIFT;
    case 57442:
    case 57448:
        return VK_CONTROL;
    case 57443:
    case 57449:
        return VK_MENU;
    default:
        break;
    }
    if (code >= 57399 && code <= 57408)
        return static_cast<int>(VK_NUMPAD0 + code - 57399);
    if (code >= 57376 && code <= 57387)
        return static_cast<int>(VK_F1 + 12 + code - 57376); // F13 to F24
    if (code > 32 && code < 127) {
        bool shift = false;
        return keyOfCharacter(static_cast<unsigned char>(code), shift);
    }
    if (code == 32)
        return VK_SPACE;
    return 0;
}

static int tildeKey(long number) {
    switch (number) {
    case 1:
    case 7:
        return VK_HOME;
    case 2:
        return VK_INSERT;
    case 3:
        return VK_DELETE;
    case 4:
    case 8:
        return VK_END;
    case 5:
        return VK_PRIOR;
    case 6:
        return VK_NEXT;
    case 11:
    case 12:
    case 13:
    case 14:
    case 15:
        return static_cast<int>(VK_F1 + number - 11);
    case 17:
    case 18:
    case 19:
    case 20:
    case 21:
        return static_cast<int>(VK_F1 + number - 12);
    case 23:
    case 24:
        return static_cast<int>(VK_F1 + number - 13);
    default:
        return 0;
    }
}

static int letterKey(char final) {
    switch (final) {
    case 'A':
        return VK_UP;
    case 'B':
        return VK_DOWN;
    case 'C':
        return VK_RIGHT;
    case 'D':
        return VK_LEFT;
    case 'H':
        return VK_HOME;
    case 'F':
        return VK_END;
    case 'P':
        return VK_F1;
    case 'Q':
        return VK_F1 + 1;
    case 'R':
        return VK_F1 + 2;
    case 'S':
        return VK_F1 + 3;
    case 'M':
        return VK_RETURN; // keypad Enter in application mode
    default:
        return 0;
    }
}

static char characterOfKey(int vk, bool shift) {
    switch (vk) {
    case VK_RETURN:
        return '\r';
    case VK_TAB:
        return '\t';
    case VK_BACK:
        return 0x08;
    case VK_ESCAPE:
        return 0x1B;
    case VK_SPACE:
        return ' ';
    default:
        break;
    }
    if (vk >= 'A' && vk <= 'Z')
        return static_cast<char>(shift ? vk : vk - 'A' + 'a');
    if (vk >= '0' && vk <= '9' && !shift)
        return static_cast<char>(vk);
    return 0;
}

static void mouseEvent(TermInput &in, long b, long x, long y, bool release) {
    HostEvent e{};
    e.type = HOST_EVENT_MOUSE;
    int column = static_cast<int>(x) - 1 - in.originColumn;
    column = column < 0 ? -1 - (-1 - column) / in.cellColumns : column / in.cellColumns;
    int row = static_cast<int>(y) - 1 - in.originRow;
    column = column < 0 ? 0 : column >= in.width ? in.width - 1 : column;
    row = row < 0 ? 0 : row >= in.height ? in.height - 1 : row;
    e.mouse.x = static_cast<int16_t>(column);
    e.mouse.y = static_cast<int16_t>(row);
    const bool moved = column != in.mouseX || row != in.mouseY;
    in.mouseX = column;
    in.mouseY = row;
    if (b & 4)
        e.mouse.controlKeyState |= CONTROL_SHIFT;
    if (b & 8)
        e.mouse.controlKeyState |= CONTROL_LEFT_ALT;
    if (b & 16)
        e.mouse.controlKeyState |= CONTROL_LEFT_CTRL;
    if (b & 64) {
        e.mouse.eventFlags = 4; // wheel
        e.mouse.buttonState = static_cast<uint32_t>((b & 1) ? -120 : 120) << 16;
    } else if (b & 32) {
        e.mouse.eventFlags = 1; // moved
        e.mouse.buttonState = in.mouseButtons;
    } else {
        // Some terminals report no motion when the pointer comes into the
        // window: the game places things where the mouse last moved to, so a
        // click somewhere new is a move there first.
        if (moved) {
            HostEvent m = e;
            m.mouse.eventFlags = 1;
            m.mouse.buttonState = in.mouseButtons;
            in.events.push_back(m);
        }
        static const uint32_t buttonBits[4] = {1, 4, 2, 0}; // left, middle, right
        const uint32_t bit = buttonBits[b & 3];
        if ((b & 3) == 3 || release)
            in.mouseButtons &= (b & 3) == 3 ? 0 : ~bit;
        else
            in.mouseButtons |= bit;
        e.mouse.eventFlags = 0;
        e.mouse.buttonState = in.mouseButtons;
    }
    in.events.push_back(e);
}

static void csiSequence(TermInput &in, const char *p, size_t n, char final, uint32_t now) {
    if (n && p[0] == '?') {
        if (final == 'u')
            in.kittyAnswered = true;
        else if (final == 'c')
            in.deviceAnswered = true;
        return;
    }
    if (n && p[0] == '<') {
        if (final != 'M' && final != 'm')
            return;
        const CsiFields f = splitFields(p + 1, n - 1);
        if (f.count >= 3)
            mouseEvent(in, f.value[0][0], f.value[1][0], f.value[2][0], final == 'm');
        return;
    }
    if (n && (p[0] < '0' || p[0] > ';'))
        return; // other private answers
    if (n == 0 && (final == 'I' || final == 'O')) {
        if (final == 'O')
            termInputReleaseAll(in);
        return;
    }
    const CsiFields f = splitFields(p, n);
    const uint32_t mods = f.count >= 2 && f.value[1][0] > 0 ? f.value[1][0] - 1 : 0;
    const int event =
        f.count >= 2 && f.present[1][1] ? static_cast<int>(f.value[1][1]) : EVENT_PRESS;
    int vk = 0;
    char ch = 0;
    if (final == 'u') {
        const long code = f.value[0][0];
        vk = kittyCodeToKey(code);
        if (f.count >= 3 && f.present[2][0] && f.value[2][0] < 128)
            ch = static_cast<char>(f.value[2][0]); // the text the key typed
        else if ((mods & MOD_SHIFT) && f.present[0][1] && f.value[0][1] < 128)
            ch = static_cast<char>(f.value[0][1]); // its shifted form
        else if (code >= 32 && code < 127 && !(mods & MOD_SHIFT))
            ch = static_cast<char>(code);
        else
            ch = characterOfKey(vk, mods & MOD_SHIFT);
        if ((mods & MOD_CTRL) && vk >= 'A' && vk <= 'Z')
            ch = static_cast<char>(vk - 'A' + 1);
    } else if (final == '~') {
        vk = tildeKey(f.value[0][0]);
    } else if (final == 'Z') {
        terminalKey(in, VK_TAB, '\t', mods | MOD_SHIFT, event, now);
        return;
    } else if (final == 'R' && f.value[0][0] > 1) {
        return; // a cursor position report, not F3
    } else {
        vk = letterKey(final);
    }
    terminalKey(in, vk, ch, mods, event, now);
}

// Length of a UTF-8 sequence from its first byte; 0 for a stray byte.
static size_t utf8Length(unsigned char b) {
    return b < 0x80 ? 1 : b < 0xC2 ? 0 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : b < 0xF5 ? 4 : 0;
}

// Decodes what it can; returns how many bytes it used. With `flush`, a
// sequence cut off at the end is taken as an Esc key and what followed it.
static size_t decode(TermInput &in, uint32_t now, bool flush) {
    const char *p = in.pending.data();
    const size_t n = in.pending.size();
    size_t pos = 0;
    while (pos < n) {
        const unsigned char b = static_cast<unsigned char>(p[pos]);
        if (b != 0x1B) {
            const size_t len = utf8Length(b);
            if (len == 1)
                plainByte(in, b, 0, now);
            else if (len > 1 && pos + len > n && !flush)
                break;            // the rest of the character is still coming
            pos += len ? len : 1; // other characters have no key of their own
            continue;
        }
        if (pos + 1 >= n) {
            if (!flush)
                break;
            plainByte(in, 0x1B, 0, now);
            pos++;
            continue;
        }
        const char intro = p[pos + 1];
        size_t end = 0; // one past the sequence; 0 while it is incomplete
        bool broken = false;
        if (intro == '[') {
            size_t i = pos + 2;
            while (i < n && i - pos < 64) {
                const unsigned char c = static_cast<unsigned char>(p[i]);
                if (c >= 0x40 && c <= 0x7E)
                    break;
                if (c < 0x20 || c > 0x3F) {
                    broken = true;
                    break;
                }
                i++;
            }
            if (!broken && i - pos >= 64)
                broken = true;
            if (!broken && i < n) {
                if (p[i] == 'M' && i == pos + 2) {
                    // An old-style mouse report: three bytes follow.
                    if (i + 3 < n) {
                        const long mb = static_cast<unsigned char>(p[i + 1]) - 32;
                        mouseEvent(in, mb, static_cast<unsigned char>(p[i + 2]) - 32,
                                   static_cast<unsigned char>(p[i + 3]) - 32, false);
                        end = i + 4;
                    }
                } else {
                    csiSequence(in, p + pos + 2, i - pos - 2, p[i], now);
                    end = i + 1;
                }
            }
        } else if (intro == 'O') {
            if (pos + 2 < n) {
                const int vk = letterKey(p[pos + 2]);
                if (vk)
                    terminalKey(in, vk, vk == VK_RETURN ? '\r' : 0, 0, EVENT_PRESS, now, false);
                end = pos + 3;
            }
        } else if (intro == ']' || intro == 'P' || intro == '_' || intro == '^' || intro == 'X') {
            // A string: an answer (palette) or something to skip, up to BEL or ST.
            for (size_t i = pos + 2; i < n; i++) {
                if (p[i] == 0x07) {
                    end = i + 1;
                    break;
                }
                if (p[i] == 0x1B && i + 1 < n && p[i + 1] == '\\') {
                    end = i + 2;
                    break;
                }
            }
            if (!end && n - pos > 1024)
                broken = true;
            if (end && intro == ']' && end - pos > 4 && p[pos + 2] == '4' && p[pos + 3] == ';')
                in.paletteAnswered = true;
        } else if (intro == 0x1B) {
            plainByte(in, 0x1B, 0, now);
            pos++;
            continue;
        } else {
            // Esc before a character: that character with Alt.
            const unsigned char c = static_cast<unsigned char>(intro);
            const size_t len = utf8Length(c);
            if (len == 1)
                plainByte(in, c, MOD_ALT, now);
            if (len > 1 && pos + 1 + len > n && !flush)
                break;
            pos += 1 + (len ? len : 1);
            continue;
        }
        if (broken) {
            pos += 2; // not a sequence after all: drop its start
            continue;
        }
        if (!end) {
            if (!flush)
                break;
            plainByte(in, 0x1B, 0, now);
            pos++;
            continue;
        }
        pos = end;
    }
    return pos;
}

void termInputFeed(TermInput &in, const char *bytes, size_t count, uint32_t now) {
    const bool waiting = !in.pending.empty();
    in.pending.append(bytes, count);
    const size_t used = decode(in, now, false);
    in.pending.erase(0, used);
    if (!in.pending.empty() && (used || !waiting))
        in.pendingSince = now;
    if (in.pending.size() > 4096)
        in.pending.clear(); // nothing sensible is that long
}

void termInputTick(TermInput &in, uint32_t now) {
    if (!in.pending.empty()) {
        const uint32_t wait = in.pending.size() == 1 ? TERM_ESC_WAIT_MS : 500;
        if (reached(now, in.pendingSince + wait)) {
            const size_t used = decode(in, now, true);
            in.pending.erase(0, used);
        }
    }
    // Keys first, then the modifiers that came with them.
    for (int pass = 0; pass < 2; pass++)
        for (int vk = 0; vk < 256; vk++) {
            TermHeldKey &k = in.keys[vk];
            if (!k.held || !k.releaseAt || isModifier(vk) != (pass == 1))
                continue;
            if (reached(now, k.releaseAt) &&
                (k.seen || reached(now, k.releaseAt + TERM_SEEN_GRACE_MS)))
                releaseKey(in, vk);
        }
}

bool termInputKeyHeld(TermInput &in, int vk) {
    if (vk < 0 || vk > 255 || !in.keys[vk].held)
        return false;
    in.keys[vk].seen = true;
    return true;
}

void termInputReleaseAll(TermInput &in) {
    for (int pass = 0; pass < 2; pass++)
        for (int vk = 0; vk < 256; vk++)
            if (in.keys[vk].held && isModifier(vk) == (pass == 1))
                releaseKey(in, vk);
}

int termInputWakeIn(const TermInput &in, uint32_t now) {
    int64_t best = -1;
    auto consider = [&](uint32_t at) {
        const int64_t d = static_cast<int32_t>(at - now);
        const int64_t wait = d < 0 ? 0 : d;
        if (best < 0 || wait < best)
            best = wait;
    };
    if (!in.pending.empty())
        consider(in.pendingSince + (in.pending.size() == 1 ? TERM_ESC_WAIT_MS : 500));
    for (const TermHeldKey &k : in.keys)
        if (k.held && k.releaseAt)
            consider(k.seen ? k.releaseAt : k.releaseAt + TERM_SEEN_GRACE_MS);
    return static_cast<int>(best);
}
