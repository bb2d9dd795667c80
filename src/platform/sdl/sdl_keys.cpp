#include "platform/sdl/sdl_keys.h"

namespace {

struct KeyPlace {
    SDL_Scancode scancode;
    int virtualKey;
};

// Keys known by their place on the keyboard. Letters and the digit row are
// handled apart (letters follow the layout, digits are in order).
const KeyPlace keyPlaces[] = {
    {SDL_SCANCODE_BACKSPACE, 0x08},
    {SDL_SCANCODE_TAB, 0x09},
    {SDL_SCANCODE_RETURN, 0x0D},
    {SDL_SCANCODE_KP_ENTER, 0x0D},
    {SDL_SCANCODE_LSHIFT, 0x10},
    {SDL_SCANCODE_RSHIFT, 0x10},
    {SDL_SCANCODE_LCTRL, 0x11},
    {SDL_SCANCODE_RCTRL, 0x11},
    {SDL_SCANCODE_LALT, 0x12},
    {SDL_SCANCODE_RALT, 0x12},
    {SDL_SCANCODE_PAUSE, 0x13},
    {SDL_SCANCODE_CAPSLOCK, 0x14},
    {SDL_SCANCODE_ESCAPE, 0x1B},
    {SDL_SCANCODE_SPACE, 0x20},
    {SDL_SCANCODE_PAGEUP, 0x21},
    {SDL_SCANCODE_PAGEDOWN, 0x22},
    {SDL_SCANCODE_END, 0x23},
    {SDL_SCANCODE_HOME, 0x24},
    {SDL_SCANCODE_LEFT, 0x25},
    {SDL_SCANCODE_UP, 0x26},
    {SDL_SCANCODE_RIGHT, 0x27},
    {SDL_SCANCODE_DOWN, 0x28},
    {SDL_SCANCODE_PRINTSCREEN, 0x2C},
    {SDL_SCANCODE_INSERT, 0x2D},
    {SDL_SCANCODE_DELETE, 0x2E},
    {SDL_SCANCODE_LGUI, 0x5B},
    {SDL_SCANCODE_RGUI, 0x5C},
    {SDL_SCANCODE_APPLICATION, 0x5D},
    {SDL_SCANCODE_KP_0, 0x60},
    {SDL_SCANCODE_KP_1, 0x61},
    {SDL_SCANCODE_KP_2, 0x62},
    {SDL_SCANCODE_KP_3, 0x63},
    {SDL_SCANCODE_KP_4, 0x64},
    {SDL_SCANCODE_KP_5, 0x65},
    {SDL_SCANCODE_KP_6, 0x66},
    {SDL_SCANCODE_KP_7, 0x67},
    {SDL_SCANCODE_KP_8, 0x68},
    {SDL_SCANCODE_KP_9, 0x69},
    {SDL_SCANCODE_KP_MULTIPLY, 0x6A},
    {SDL_SCANCODE_KP_PLUS, 0x6B},
    {SDL_SCANCODE_KP_MINUS, 0x6D},
    {SDL_SCANCODE_KP_PERIOD, 0x6E},
    {SDL_SCANCODE_KP_DIVIDE, 0x6F},
    {SDL_SCANCODE_F1, 0x70},
    {SDL_SCANCODE_F2, 0x71},
    {SDL_SCANCODE_F3, 0x72},
    {SDL_SCANCODE_F4, 0x73},
    {SDL_SCANCODE_F5, 0x74},
    {SDL_SCANCODE_F6, 0x75},
    {SDL_SCANCODE_F7, 0x76},
    {SDL_SCANCODE_F8, 0x77},
    {SDL_SCANCODE_F9, 0x78},
    {SDL_SCANCODE_F10, 0x79},
    {SDL_SCANCODE_F11, 0x7A},
    {SDL_SCANCODE_F12, 0x7B},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x90},
    {SDL_SCANCODE_SCROLLLOCK, 0x91},
    {SDL_SCANCODE_LSHIFT, 0xA0},
    {SDL_SCANCODE_RSHIFT, 0xA1},
    {SDL_SCANCODE_LCTRL, 0xA2},
    {SDL_SCANCODE_RCTRL, 0xA3},
    {SDL_SCANCODE_LALT, 0xA4},
    {SDL_SCANCODE_RALT, 0xA5},
    {SDL_SCANCODE_SEMICOLON, 0xBA},
    {SDL_SCANCODE_EQUALS, 0xBB},
    {SDL_SCANCODE_COMMA, 0xBC},
    {SDL_SCANCODE_MINUS, 0xBD},
    {SDL_SCANCODE_PERIOD, 0xBE},
    {SDL_SCANCODE_SLASH, 0xBF},
    {SDL_SCANCODE_GRAVE, 0xC0},
    {SDL_SCANCODE_LEFTBRACKET, 0xDB},
    {SDL_SCANCODE_BACKSLASH, 0xDC},
    {SDL_SCANCODE_RIGHTBRACKET, 0xDD},
    {SDL_SCANCODE_APOSTROPHE, 0xDE},
    {SDL_SCANCODE_NONUSBACKSLASH, 0xE2},
};

bool isDigitRow(SDL_Scancode s) {
    return s >= SDL_SCANCODE_1 && s <= SDL_SCANCODE_0;
}

// The digit row runs 1 to 9 and then 0.
int digitOf(SDL_Scancode s) {
    return s == SDL_SCANCODE_0 ? 0 : s - SDL_SCANCODE_1 + 1;
}

char shiftedUs(char c) {
    static const char plain[] = "`1234567890-=[]\\;',./";
    static const char shifted[] = "~!@#$%^&*()_+{}|:\"<>?";
    for (int i = 0; plain[i]; i++)
        if (plain[i] == c)
            return shifted[i];
    return c;
}

} // namespace

int virtualKeyForSdlKey(SDL_Keycode key, SDL_Scancode scancode) {
    if (key >= SDLK_a && key <= SDLK_z)
        return 'A' + (key - SDLK_a);
    if (isDigitRow(scancode))
        return '0' + digitOf(scancode);
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z && (key < 32 || key > 126))
        return 'A' + (scancode - SDL_SCANCODE_A); // a layout whose letter is not ASCII
    for (const KeyPlace &p : keyPlaces)
        if (p.scancode == scancode)
            return p.virtualKey;
    return 0;
}

int scancodesForVirtualKey(int virtualKey, SDL_Scancode *out, int max) {
    int n = 0;
    auto add = [&](SDL_Scancode s) {
        if (s != SDL_SCANCODE_UNKNOWN && n < max)
            out[n++] = s;
    };
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        SDL_Scancode s = SDL_GetScancodeFromKey(SDLK_a + (virtualKey - 'A'));
        if (s == SDL_SCANCODE_UNKNOWN) // a layout without the letter: its usual place
            s = static_cast<SDL_Scancode>(SDL_SCANCODE_A + (virtualKey - 'A'));
        add(s);
        return n;
    }
    if (virtualKey >= '0' && virtualKey <= '9') {
        add(virtualKey == '0' ? SDL_SCANCODE_0
                              : static_cast<SDL_Scancode>(SDL_SCANCODE_1 + (virtualKey - '1')));
        return n;
    }
    for (const KeyPlace &p : keyPlaces)
        if (p.virtualKey == virtualKey)
            add(p.scancode);
    return n;
}

char characterForSdlKey(SDL_Keycode key, SDL_Scancode scancode, uint16_t modifiers) {
    const bool shift = modifiers & KMOD_SHIFT;
    const bool ctrl = modifiers & KMOD_CTRL;
    if (key >= SDLK_a && key <= SDLK_z) {
        if (ctrl && !(modifiers & KMOD_ALT))
            return static_cast<char>(1 + (key - SDLK_a));
        const bool upper = shift != static_cast<bool>(modifiers & KMOD_CAPS);
        return static_cast<char>((upper ? 'A' : 'a') + (key - SDLK_a));
    }
    switch (scancode) {
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_KP_ENTER:
        return 13;
    case SDL_SCANCODE_BACKSPACE:
        return 8;
    case SDL_SCANCODE_TAB:
        return 9;
    case SDL_SCANCODE_ESCAPE:
        return 27;
    case SDL_SCANCODE_SPACE:
        return ' ';
    case SDL_SCANCODE_KP_MULTIPLY:
        return '*';
    case SDL_SCANCODE_KP_PLUS:
        return '+';
    case SDL_SCANCODE_KP_MINUS:
        return '-';
    case SDL_SCANCODE_KP_DIVIDE:
        return '/';
    default:
        break;
    }
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_PERIOD) {
        if (!(modifiers & KMOD_NUM))
            return 0; // the keypad moves the cursor then
        if (scancode == SDL_SCANCODE_KP_PERIOD)
            return '.';
        return scancode == SDL_SCANCODE_KP_0 ? '0' : '1' + (scancode - SDL_SCANCODE_KP_1);
    }
    if (isDigitRow(scancode)) {
        const char digit = static_cast<char>('0' + digitOf(scancode));
        return shift ? shiftedUs(digit) : digit;
    }
    // Punctuation: the layout's own unshifted character.
    if (key > 32 && key < 127)
        return shift ? shiftedUs(static_cast<char>(key)) : static_cast<char>(key);
    return 0;
}

uint32_t controlKeyStateForSdl(uint16_t modifiers, SDL_Scancode scancode) {
    uint32_t state = 0;
    if (modifiers & KMOD_RALT)
        state |= 0x0001;
    if (modifiers & KMOD_LALT)
        state |= 0x0002;
    if (modifiers & KMOD_RCTRL)
        state |= 0x0004;
    if (modifiers & KMOD_LCTRL)
        state |= 0x0008;
    if (modifiers & KMOD_SHIFT)
        state |= 0x0010;
    if (modifiers & KMOD_NUM)
        state |= 0x0020;
    if (modifiers & KMOD_SCROLL)
        state |= 0x0040;
    if (modifiers & KMOD_CAPS)
        state |= 0x0080;
    // Keys of the grey block beside the main keyboard are "enhanced".
    switch (scancode) {
    case SDL_SCANCODE_INSERT:
    case SDL_SCANCODE_DELETE:
    case SDL_SCANCODE_HOME:
    case SDL_SCANCODE_END:
    case SDL_SCANCODE_PAGEUP:
    case SDL_SCANCODE_PAGEDOWN:
    case SDL_SCANCODE_LEFT:
    case SDL_SCANCODE_RIGHT:
    case SDL_SCANCODE_UP:
    case SDL_SCANCODE_DOWN:
    case SDL_SCANCODE_RCTRL:
    case SDL_SCANCODE_RALT:
    case SDL_SCANCODE_KP_ENTER:
    case SDL_SCANCODE_KP_DIVIDE:
        state |= 0x0100;
        break;
    default:
        break;
    }
    return state;
}
