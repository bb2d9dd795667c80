// The frame, text and button loop shared by the modal questions. A modal
// question owns the screen until it is answered: it reads the host's events
// itself, so nothing behind it sees the keys or clicks that answer it.
#pragma once
#include "platform/host.h"
#include <vector>

enum ModalColour : uint16_t {
    MODAL_FRAME = 0x1F, // bright white on dark blue
    MODAL_TEXT = 0x1F,
    MODAL_TITLE = 0x70,  // black on grey
    MODAL_BUTTON = 0x17, // grey on dark blue
    MODAL_FOCUS = 0x70,  // black on grey
    MODAL_FIELD = 0x0F,  // bright white on black
};

struct ModalFrame {
    int x, y, width, height;
    std::vector<Cell> saved; // the screen behind the question
};

struct ModalButton {
    const char *label;
    int result;
    char hotkey; // upper-case letter that chooses it, 0 for none
};

ModalFrame modalOpen(int width, int height, const char *caption);
void modalText(const ModalFrame &frame, int column, int row, const char *text, uint16_t attr);
void modalIcon(const ModalFrame &frame, int column, int row, char icon);
// Draws the buttons centred on `row` of the frame and the focus on `focus`.
void modalDrawButtons(const ModalFrame &frame, const ModalButton *buttons, int count, int row,
                      int focus);
// Which button a cell (screen coordinates) lies on, or -1.
int modalButtonAt(const ModalFrame &frame, const ModalButton *buttons, int count, int row,
                  int column, int screenRow);
// Waits for a button to be chosen; Esc gives `escapeResult`.
int modalRunButtons(const ModalFrame &frame, const ModalButton *buttons, int count, int row,
                    int escapeResult);
// Waits for the next event, yielding to the system meanwhile.
HostEvent modalNextEvent();
void modalClose(const ModalFrame &frame);
