#include "platform/sdl/sdl_keys.h"
#include "platform/host.h"

namespace {

struct KeyPlace {
    SDL_Scancode scancode;
    int virtualKey;
};

// Keys known by their place on the keyboard. Letters and the digit row are
// handled apart (letters follow the layout, digits are in order).
const KeyPlace keyPlaces[] = {
    {SDL_SCANCODE_BACKSPACE, VK_BACK},
    {SDL_SCANCODE_TAB, VK_TAB},
    {SDL_SCANCODE_RETURN, VK_RETURN},
    {SDL_SCANCODE_KP_ENTER, VK_RETURN},
    {SDL_SCANCODE_LSHIFT, VK_SHIFT},
    {SDL_SCANCODE_RSHIFT, VK_SHIFT},
    {SDL_SCANCODE_LCTRL, VK_CONTROL},
    {SDL_SCANCODE_RCTRL, VK_CONTROL},
    {SDL_SCANCODE_LALT, VK_MENU},
    {SDL_SCANCODE_RALT, VK_MENU},
    {SDL_SCANCODE_PAUSE, VK_PAUSE},
    {SDL_SCANCODE_CAPSLOCK, VK_CAPITAL},
    {SDL_SCANCODE_ESCAPE, VK_ESCAPE},
    {SDL_SCANCODE_SPACE, VK_SPACE},
    {SDL_SCANCODE_PAGEUP, VK_PRIOR},
    {SDL_SCANCODE_PAGEDOWN, VK_NEXT},
    {SDL_SCANCODE_END, VK_END},
    {SDL_SCANCODE_HOME, VK_HOME},
    {SDL_SCANCODE_LEFT, VK_LEFT},
    {SDL_SCANCODE_UP, VK_UP},
    {SDL_SCANCODE_RIGHT, VK_RIGHT},
    {SDL_SCANCODE_DOWN, VK_DOWN},
    {SDL_SCANCODE_PRINTSCREEN, VK_SNAPSHOT},
    {SDL_SCANCODE_INSERT, VK_INSERT},
    {SDL_SCANCODE_DELETE, VK_DELETE},
    {SDL_SCANCODE_LGUI, VK_LWIN},
    {SDL_SCANCODE_RGUI, VK_RWIN},
    {SDL_SCANCODE_APPLICATION, VK_APPS},
    {SDL_SCANCODE_KP_0, VK_NUMPAD0},
    {SDL_SCANCODE_KP_1, VK_NUMPAD0 + 1},
    {SDL_SCANCODE_KP_2, VK_NUMPAD0 + 2},
    {SDL_SCANCODE_KP_3, VK_NUMPAD0 + 3},
    {SDL_SCANCODE_KP_4, VK_NUMPAD0 + 4},
    {SDL_SCANCODE_KP_5, VK_NUMPAD0 + 5},
    {SDL_SCANCODE_KP_6, VK_NUMPAD0 + 6},
    {SDL_SCANCODE_KP_7, VK_NUMPAD0 + 7},
    {SDL_SCANCODE_KP_8, VK_NUMPAD0 + 8},
    {SDL_SCANCODE_KP_9, VK_NUMPAD0 + 9},
    {SDL_SCANCODE_KP_MULTIPLY, VK_MULTIPLY},
    {SDL_SCANCODE_KP_PLUS, VK_ADD},
    {SDL_SCANCODE_KP_MINUS, VK_SUBTRACT},
    {SDL_SCANCODE_KP_PERIOD, VK_DECIMAL},
    {SDL_SCANCODE_KP_DIVIDE, VK_DIVIDE},
    {SDL_SCANCODE_F1, VK_F1},
    {SDL_SCANCODE_F2, VK_F1 + 1},
    {SDL_SCANCODE_F3, VK_F1 + 2},
    {SDL_SCANCODE_F4, VK_F1 + 3},
    {SDL_SCANCODE_F5, VK_F5},
    {SDL_SCANCODE_F6, VK_F1 + 5},
    {SDL_SCANCODE_F7, VK_F1 + 6},
    {SDL_SCANCODE_F8, VK_F1 + 7},
    {SDL_SCANCODE_F9, VK_F9},
    {SDL_SCANCODE_F10, VK_F1 + 9},
    {SDL_SCANCODE_F11, VK_F1 + 10},
    {SDL_SCANCODE_F12, VK_F12},
    {SDL_SCANCODE_NUMLOCKCLEAR, VK_NUMLOCK},
    {SDL_SCANCODE_SCROLLLOCK, VK_SCROLL},
    {SDL_SCANCODE_LSHIFT, VK_LSHIFT},
    {SDL_SCANCODE_RSHIFT, VK_RSHIFT},
    {SDL_SCANCODE_LCTRL, VK_LCONTROL},
    {SDL_SCANCODE_RCTRL, VK_RCONTROL},
    {SDL_SCANCODE_LALT, VK_LMENU},
    {SDL_SCANCODE_RALT, VK_RMENU},
    {SDL_SCANCODE_SEMICOLON, VK_OEM_1},
    {SDL_SCANCODE_EQUALS, VK_OEM_PLUS},
    {SDL_SCANCODE_COMMA, VK_OEM_COMMA},
    {SDL_SCANCODE_MINUS, VK_OEM_MINUS},
    {SDL_SCANCODE_PERIOD, VK_OEM_PERIOD},
    {SDL_SCANCODE_SLASH, VK_OEM_2},
    {SDL_SCANCODE_GRAVE, VK_OEM_3},
    {SDL_SCANCODE_LEFTBRACKET, VK_OEM_4},
    {SDL_SCANCODE_BACKSLASH, VK_OEM_5},
    {SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6},
    {SDL_SCANCODE_APOSTROPHE, VK_OEM_7},
    {SDL_SCANCODE_NONUSBACKSLASH, VK_OEM_102},
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
        state |= CONTROL_RIGHT_ALT;
    if (modifiers & KMOD_LALT)
        state |= CONTROL_LEFT_ALT;
    if (modifiers & KMOD_RCTRL)
        state |= CONTROL_RIGHT_CTRL;
    if (modifiers & KMOD_LCTRL)
        state |= CONTROL_LEFT_CTRL;
    if (modifiers & KMOD_SHIFT)
        state |= CONTROL_SHIFT;
    if (modifiers & KMOD_NUM)
        state |= CONTROL_NUM_LOCK;
    if (modifiers & KMOD_SCROLL)
        state |= CONTROL_SCROLL_LOCK;
    if (modifiers & KMOD_CAPS)
        state |= CONTROL_CAPS_LOCK;
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
        state |= CONTROL_ENHANCED_KEY;
        break;
    default:
        break;
    }
    return state;
}
