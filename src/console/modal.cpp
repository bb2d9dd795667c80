#include "console/modal.h"
#include "console/surface.h"
#include "input/keyboard.h"
#include <cstring>

static void putCell(int x, int y, uint8_t ch, uint16_t attr) {
    if (!backBuffer || x < 0 || y < 0 || x >= backBuffer->width || y >= backBuffer->height)
        return;
    backBuffer->cells[y * backBuffer->width + x] = Cell{ch, attr};
}

ModalFrame modalOpen(int width, int height, const char *caption) {
    ModalFrame frame;
    if (width > SCREEN_WIDTH)
        width = SCREEN_WIDTH;
    if (height > SCREEN_HEIGHT)
        height = SCREEN_HEIGHT;
    frame.width = width;
    frame.height = height;
    frame.x = (SCREEN_WIDTH - width) / 2;
    frame.y = (SCREEN_HEIGHT - height) / 2;
    if (!backBuffer)
        return frame;
    frame.saved.assign(backBuffer->cells, backBuffer->cells + SCREEN_WIDTH * SCREEN_HEIGHT);
    for (int r = 0; r < height; r++) {
        for (int c = 0; c < width; c++) {
            uint8_t ch = ' ';
            bool top = r == 0, bottom = r == height - 1, left = c == 0, right = c == width - 1;
            if (top && left)
                ch = 0xC9;
            else if (top && right)
                ch = 0xBB;
            else if (bottom && left)
                ch = 0xC8;
            else if (bottom && right)
                ch = 0xBC;
            else if (top || bottom)
                ch = 0xCD;
            else if (left || right)
                ch = 0xBA;
            putCell(frame.x + c, frame.y + r, ch, MODAL_FRAME);
        }
    }
    if (caption && *caption) {
        int len = static_cast<int>(strlen(caption));
        if (len > width - 4)
            len = width - 4;
        int start = frame.x + (width - len - 2) / 2;
        putCell(start, frame.y, ' ', MODAL_TITLE);
        for (int i = 0; i < len; i++)
            putCell(start + 1 + i, frame.y, static_cast<uint8_t>(caption[i]), MODAL_TITLE);
        putCell(start + len + 1, frame.y, ' ', MODAL_TITLE);
    }
    return frame;
}

void modalText(const ModalFrame &frame, int column, int row, const char *text, uint16_t attr) {
    for (int i = 0; text[i] && column + i < frame.width - 1; i++)
        putCell(frame.x + column + i, frame.y + row, static_cast<uint8_t>(text[i]), attr);
}

void modalIcon(const ModalFrame &frame, int column, int row, char icon) {
    // A small yellow badge: a triangle-ish warning or a round information mark.
    const uint16_t attr = icon == 'i' ? 0x9F : 0xE0;
    putCell(frame.x + column, frame.y + row, icon == 'i' ? 'i' : '!', attr);
    putCell(frame.x + column + 1, frame.y + row, ' ', attr);
    putCell(frame.x + column - 1 + 0, frame.y + row, icon == 'i' ? 0xDE : 0x1E, attr);
}

static int buttonWidth(const ModalButton &b) {
    return static_cast<int>(strlen(b.label)) + 4;
}

static int buttonsStart(const ModalFrame &frame, const ModalButton *buttons, int count) {
    int total = 0;
    for (int i = 0; i < count; i++)
        total += buttonWidth(buttons[i]) + (i ? 2 : 0);
    return frame.x + (frame.width - total) / 2;
}

void modalDrawButtons(const ModalFrame &frame, const ModalButton *buttons, int count, int row,
                      int focus) {
    int x = buttonsStart(frame, buttons, count);
    for (int i = 0; i < count; i++) {
        const uint16_t attr = i == focus ? MODAL_FOCUS : MODAL_BUTTON;
        const int w = buttonWidth(buttons[i]);
        putCell(x, frame.y + row, '[', attr);
        putCell(x + 1, frame.y + row, ' ', attr);
        for (int c = 0; buttons[i].label[c]; c++)
            putCell(x + 2 + c, frame.y + row, static_cast<uint8_t>(buttons[i].label[c]), attr);
        putCell(x + w - 2, frame.y + row, ' ', attr);
        putCell(x + w - 1, frame.y + row, ']', attr);
        x += w + 2;
    }
}

int modalButtonAt(const ModalFrame &frame, const ModalButton *buttons, int count, int row,
                  int column, int screenRow) {
    if (screenRow != frame.y + row)
        return -1;
    int x = buttonsStart(frame, buttons, count);
    for (int i = 0; i < count; i++) {
        const int w = buttonWidth(buttons[i]);
        if (column >= x && column < x + w)
            return i;
        x += w + 2;
    }
    return -1;
}

HostEvent modalNextEvent() {
    HostEvent event;
    while (host->readEvents(&event, 1) != 1)
        host->idle(5);
    return event;
}

int modalRunButtons(const ModalFrame &frame, const ModalButton *buttons, int count, int row,
                    int escapeResult) {
    int focus = 0;
    for (;;) {
        modalDrawButtons(frame, buttons, count, row, focus);
        presentScreen();
        HostEvent e = modalNextEvent();
        if (e.type == HOST_EVENT_MOUSE) {
            if (e.mouse.eventFlags == 0 && (e.mouse.buttonState & 1)) {
                int hit = modalButtonAt(frame, buttons, count, row, e.mouse.x, e.mouse.y);
                if (hit >= 0)
                    return buttons[hit].result;
            }
            continue;
        }
        if (e.type != HOST_EVENT_KEY || !e.key.keyDown)
            continue;
        const int vk = e.key.virtualKeyCode;
        if (vk == VK_RETURN || vk == VK_SPACE) // Enter or Space presses the focused button
            return buttons[focus].result;
        if (vk == VK_ESCAPE)
            return escapeResult;
        if (vk == VK_TAB || vk == VK_RIGHT || vk == VK_DOWN)
            focus = (focus + 1) % count;
        else if (vk == VK_LEFT || vk == VK_UP)
            focus = (focus + count - 1) % count;
        for (int i = 0; i < count; i++)
            if (buttons[i].hotkey && vk == buttons[i].hotkey)
                return buttons[i].result;
    }
}

void modalClose(const ModalFrame &frame) {
    // The key that answered is still down: what lies behind must not take it.
    settleKeys();
    if (!backBuffer || frame.saved.empty())
        return;
    memcpy(backBuffer->cells, frame.saved.data(), frame.saved.size() * sizeof(Cell));
    presentScreen();
}
