// The window host's keys in the game's terms: virtual-key codes both ways,
// the character a press types, and the console's modifier flags.
#ifdef WOBBLE_HAVE_SDL
#include "platform/sdl/sdl_keys.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

// The key a US layout gives each place (SDL's own table is only filled once
// a display is open).
SDL_Keycode usKey(SDL_Scancode s) {
    if (s >= SDL_SCANCODE_A && s <= SDL_SCANCODE_Z)
        return SDLK_a + (s - SDL_SCANCODE_A);
    if (s >= SDL_SCANCODE_1 && s <= SDL_SCANCODE_9)
        return SDLK_1 + (s - SDL_SCANCODE_1);
    switch (s) {
    case SDL_SCANCODE_0:
        return SDLK_0;
    case SDL_SCANCODE_MINUS:
        return '-';
    case SDL_SCANCODE_SLASH:
        return '/';
    case SDL_SCANCODE_RETURN:
        return SDLK_RETURN;
    case SDL_SCANCODE_ESCAPE:
        return SDLK_ESCAPE;
    case SDL_SCANCODE_BACKSPACE:
        return SDLK_BACKSPACE;
    case SDL_SCANCODE_TAB:
        return SDLK_TAB;
    case SDL_SCANCODE_SPACE:
        return SDLK_SPACE;
    default:
        return SDL_SCANCODE_TO_KEYCODE(s);
    }
}

int virtualKeyOfScancode(SDL_Scancode s) {
    return virtualKeyForSdlKey(usKey(s), s);
}

char typed(SDL_Scancode s, uint16_t mods) {
    return characterForSdlKey(usKey(s), s, mods);
}

} // namespace

TEST(SdlKeys, EveryKeyTheGameUsesIsFoundBothWays) {
    std::vector<int> keys = {0x08, 0x09, 0x0D, 0x10, 0x11, 0x12, 0x1B, 0x20, 0x21,
                             0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x2E};
    for (int k = 'A'; k <= 'Z'; k++)
        keys.push_back(k);
    for (int k = '0'; k <= '9'; k++)
        keys.push_back(k);
    for (int k = 0x70; k <= 0x7B; k++)
        keys.push_back(k);
    for (int vk : keys) {
        SDL_Scancode codes[4];
        const int n = scancodesForVirtualKey(vk, codes, 4);
        ASSERT_GE(n, 1) << "no key makes " << std::hex << vk;
        for (int i = 0; i < n; i++)
            EXPECT_EQ(virtualKeyOfScancode(codes[i]), vk)
                << std::hex << vk << " from " << SDL_GetScancodeName(codes[i]);
    }
    // Both Shift keys are Shift, and each is also its own side.
    SDL_Scancode codes[4];
    EXPECT_EQ(scancodesForVirtualKey(0x10, codes, 4), 2);
    EXPECT_EQ(scancodesForVirtualKey(0xA1, codes, 4), 1);
    EXPECT_EQ(codes[0], SDL_SCANCODE_RSHIFT);
    // The keypad is not the digit row, and keypad Enter is Enter.
    EXPECT_EQ(virtualKeyOfScancode(SDL_SCANCODE_KP_1), 0x61);
    EXPECT_EQ(virtualKeyOfScancode(SDL_SCANCODE_KP_ENTER), 0x0D);
    EXPECT_EQ(virtualKeyOfScancode(SDL_SCANCODE_0), '0');
    EXPECT_EQ(virtualKeyOfScancode(SDL_SCANCODE_1), '1');
    // A layout whose letter keys type no Latin letter still has A to Z.
    EXPECT_EQ(virtualKeyForSdlKey(0x430, SDL_SCANCODE_F), 'F');
    // The output never overruns the room given.
    EXPECT_EQ(scancodesForVirtualKey(0x10, codes, 1), 1);
    EXPECT_EQ(scancodesForVirtualKey(0xFF, codes, 4), 0);
}

TEST(SdlKeys, CharactersAsAConsoleTypesThem) {
    EXPECT_EQ(typed(SDL_SCANCODE_T, KMOD_NONE), 't');
    EXPECT_EQ(typed(SDL_SCANCODE_T, KMOD_LSHIFT), 'T');
    EXPECT_EQ(typed(SDL_SCANCODE_T, KMOD_CAPS), 'T');
    EXPECT_EQ(typed(SDL_SCANCODE_T, KMOD_CAPS | KMOD_RSHIFT), 't');
    EXPECT_EQ(typed(SDL_SCANCODE_C, KMOD_LCTRL), 3);
    EXPECT_EQ(typed(SDL_SCANCODE_C, KMOD_LCTRL | KMOD_LALT), 'c');
    EXPECT_EQ(typed(SDL_SCANCODE_1, KMOD_NONE), '1');
    EXPECT_EQ(typed(SDL_SCANCODE_9, KMOD_NONE), '9');
    EXPECT_EQ(typed(SDL_SCANCODE_0, KMOD_NONE), '0');
    EXPECT_EQ(typed(SDL_SCANCODE_1, KMOD_SHIFT), '!');
    EXPECT_EQ(typed(SDL_SCANCODE_0, KMOD_SHIFT), ')');
    EXPECT_EQ(typed(SDL_SCANCODE_MINUS, KMOD_NONE), '-');
    EXPECT_EQ(typed(SDL_SCANCODE_MINUS, KMOD_SHIFT), '_');
    EXPECT_EQ(typed(SDL_SCANCODE_SLASH, KMOD_SHIFT), '?');
    EXPECT_EQ(typed(SDL_SCANCODE_RETURN, KMOD_NONE), 13);
    EXPECT_EQ(typed(SDL_SCANCODE_KP_ENTER, KMOD_NONE), 13);
    EXPECT_EQ(typed(SDL_SCANCODE_BACKSPACE, KMOD_NONE), 8);
    EXPECT_EQ(typed(SDL_SCANCODE_TAB, KMOD_NONE), 9);
    EXPECT_EQ(typed(SDL_SCANCODE_ESCAPE, KMOD_NONE), 27);
    EXPECT_EQ(typed(SDL_SCANCODE_SPACE, KMOD_SHIFT), ' ');
    EXPECT_EQ(typed(SDL_SCANCODE_KP_5, KMOD_NUM), '5');
    EXPECT_EQ(typed(SDL_SCANCODE_KP_0, KMOD_NUM), '0');
    EXPECT_EQ(typed(SDL_SCANCODE_KP_5, KMOD_NONE), 0);
    for (SDL_Scancode s : {SDL_SCANCODE_F1, SDL_SCANCODE_F12, SDL_SCANCODE_LEFT,
                           SDL_SCANCODE_PAGEUP, SDL_SCANCODE_LSHIFT, SDL_SCANCODE_LALT})
        EXPECT_EQ(typed(s, KMOD_NONE), 0) << SDL_GetScancodeName(s);
}

TEST(SdlKeys, ModifierFlags) {
    EXPECT_EQ(controlKeyStateForSdl(KMOD_LCTRL | KMOD_LSHIFT, SDL_SCANCODE_A), 0x18u);
    EXPECT_EQ(controlKeyStateForSdl(KMOD_RALT | KMOD_CAPS, SDL_SCANCODE_A), 0x81u);
    // Arrows and the grey keys are "enhanced"; the keypad's own arrows are not.
    EXPECT_EQ(controlKeyStateForSdl(KMOD_NONE, SDL_SCANCODE_LEFT), 0x100u);
    EXPECT_EQ(controlKeyStateForSdl(KMOD_NONE, SDL_SCANCODE_KP_4), 0u);
}
#endif
