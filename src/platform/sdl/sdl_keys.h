// SDL keys in the game's terms: Windows virtual-key codes, the character a
// console would report for a key press, and the console's modifier flags.
#pragma once
#include <SDL.h>
#include <cstdint>

// The virtual-key code for a key, 0 when the game has no code for it. Letters
// follow the keyboard layout (the key that types 'a' is 'A'); every other key
// is known by its place on the keyboard.
int virtualKeyForSdlKey(SDL_Keycode key, SDL_Scancode scancode);

// The scancodes that make up a virtual key (the left and right Shift both
// make VK_SHIFT). Returns how many were written, at most `max`.
int scancodesForVirtualKey(int virtualKey, SDL_Scancode *out, int max);

// The character a press of the key types with these modifiers, as a console
// with a US layout reports it: letters in lower or upper case, control
// characters with Ctrl, digits and punctuation with their shifted forms,
// Enter 13, Backspace 8, Tab 9, Escape 27; 0 for keys that type nothing.
char characterForSdlKey(SDL_Keycode key, SDL_Scancode scancode, uint16_t modifiers);

// The console's control-key state flags for SDL modifier bits.
uint32_t controlKeyStateForSdl(uint16_t modifiers, SDL_Scancode scancode);
