// Key snapshots with release edges, and the console event pump with the
// handler slots a screen may fill.
#pragma once
#include "platform/host.h"
#include <cstdint>

// Windows virtual-key codes the game uses.
enum VirtualKey : int {
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_DELETE = 0x2E,
    VK_F1 = 0x70,
    VK_F5 = 0x74,
    VK_F9 = 0x78,
    VK_F12 = 0x7B,
};

struct CellPosition {
    int16_t x;
    int16_t y;
};

extern int32_t currentKeys[256];
extern int32_t previousKeys[256];
extern int32_t anyKeyDown;
extern CellPosition lastMousePos;

extern void (*onKey)(KeyEventRecord record);
extern void (*onLeftButton)(MouseEventRecord record);
extern void (*onMouseMove)(MouseEventRecord record);

// Is the key held at this moment (asked of the system, no snapshot).
int keyHeld(int virtualKey);
int pollKeyboard();
int keyReleased(uint16_t code);
// A new screen or a closed dialog starts here: the keys down now count as
// already seen (letting them go later is no release) and the events still
// waiting belong to what came before.
void settleKeys();
void pumpConsoleInput();
void dispatchMouseEvent(MouseEventRecord record);
