// Key snapshots with release edges, and the console event pump with the
// handler slots a screen may fill.
#pragma once
#include "platform/host.h"
#include <cstdint>

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
