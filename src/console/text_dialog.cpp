#include "console/text_dialog.h"
#include "console/modal.h"
#include "console/surface.h"
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr uint16_t HINT_COLOUR = 0x17;    // grey on dark blue
constexpr uint16_t REFUSED_COLOUR = 0x1E; // yellow on dark blue
constexpr uint16_t CURSOR_COLOUR = 0x70;
constexpr int FIELD_ROW = 2;
constexpr int HINT_ROW = 4;
constexpr int BUTTON_ROW = 6;
constexpr int FRAME_HEIGHT = 8;

struct DialogLayout {
    ModalFrame frame;
    std::vector<ModalButton> buttons;
    int fieldColumn; // inside the frame
    int fieldWidth;
};

void putCell(int x, int y, uint8_t ch, uint16_t attr) {
    if (!backBuffer || x < 0 || y < 0 || x >= backBuffer->width || y >= backBuffer->height)
        return;
    backBuffer->cells[y * backBuffer->width + x] = Cell{ch, attr};
}

int buttonsWidth(const TextDialog &dialog) {
    int total = 0;
    for (int i = 0; i < dialog.buttonCount; i++)
        total += static_cast<int>(strlen(dialog.buttons[i].label)) + 4 + (i ? 2 : 0);
    return total;
}

// Draws the field: the end of the text when it is longer than the field, and
// a cursor after the last character while the field has the focus.
void drawField(const DialogLayout &layout, const std::string &text, bool focused) {
    const int shown = layout.fieldWidth - 1;
    const size_t first = text.size() > static_cast<size_t>(shown) ? text.size() - shown : 0;
    const int x = layout.frame.x + layout.fieldColumn;
    const int y = layout.frame.y + FIELD_ROW;
    for (int c = 0; c < layout.fieldWidth; c++) {
        const size_t at = first + c;
        if (at < text.size())
            putCell(x + c, y, static_cast<uint8_t>(text[at]), MODAL_FIELD);
        else if (focused && at == text.size())
            putCell(x + c, y, ' ', CURSOR_COLOUR);
        else
            putCell(x + c, y, ' ', MODAL_FIELD);
    }
}

void drawHint(const DialogLayout &layout, const char *hint, bool refused) {
    if (!hint)
        return;
    const int length = static_cast<int>(strlen(hint));
    const int column = std::max(2, (layout.frame.width - length) / 2);
    modalText(layout.frame, column, HINT_ROW, hint, refused ? REFUSED_COLOUR : HINT_COLOUR);
}

bool onField(const DialogLayout &layout, int x, int y) {
    return y == layout.frame.y + FIELD_ROW && x >= layout.frame.x + layout.fieldColumn &&
           x < layout.frame.x + layout.fieldColumn + layout.fieldWidth;
}

// Waits until the key that closed the dialog is up, throwing away what comes
// meanwhile, so the screen behind does not take it as still held.
void waitForRelease(int virtualKey) {
    for (;;) {
        HostEvent dropped[16];
        while (host->readEvents(dropped, 16) > 0) {
        }
        if (!host->keyDown(virtualKey))
            return;
        host->idle(5);
    }
}

} // namespace

int textDialogAccepts(int32_t filter, char ch, int32_t position) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c > 0x7E)
        return 0;
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    const bool digit = c >= '0' && c <= '9';
    switch (filter) {
    case TEXT_DIGITS:
        return digit;
    case TEXT_FILENAME:
        // A letter first: no path tricks, and no digit running into a count
        // written just before the name.
        if (position == 0)
            return letter;
        return letter || digit || c == '-' || c == '_' || c == '.';
    default:
        return 1;
    }
}

int32_t runTextDialog(const TextDialog &dialog, char *text, int32_t size) {
    // Without a screen to ask on, or a button to answer with, nothing is asked.
    if (!host || !dialog.buttons || dialog.buttonCount <= 0 || !text || size <= 0)
        return 0;
    const int maxLength = std::max(0, std::min<int>(dialog.maxLength, size - 1));
    std::string value(text, strnlen(text, static_cast<size_t>(size)));
    if (static_cast<int>(value.size()) > maxLength)
        value.resize(static_cast<size_t>(maxLength));

    DialogLayout layout;
    for (int i = 0; i < dialog.buttonCount; i++)
        layout.buttons.push_back(ModalButton{dialog.buttons[i].label, i, 0});
    layout.fieldWidth = std::max(4, static_cast<int>(dialog.fieldWidth));
    int inner = std::max({layout.fieldWidth, buttonsWidth(dialog),
                          static_cast<int>(strlen(dialog.title ? dialog.title : "")) + 4,
                          dialog.hint ? static_cast<int>(strlen(dialog.hint)) : 0});
    inner = std::min(inner, SCREEN_WIDTH - 6);
    layout.fieldWidth = std::min(layout.fieldWidth, inner);
    layout.frame = modalOpen(inner + 6, FRAME_HEIGHT, dialog.title);
    layout.fieldColumn = (layout.frame.width - layout.fieldWidth) / 2;

    const int count = dialog.buttonCount;
    int focus = 0; // 0 the field, 1..count the buttons
    bool refused = false;
    int chosen = -1;
    int closingKey = -1;
    while (chosen < 0) {
        drawField(layout, value, focus == 0);
        drawHint(layout, dialog.hint, refused);
        modalDrawButtons(layout.frame, layout.buttons.data(), count, BUTTON_ROW, focus - 1);
        presentScreen();

        int pressed = -1;
        int key = -1;
        HostEvent e = modalNextEvent();
        if (e.type == HOST_EVENT_MOUSE) {
            if (e.mouse.eventFlags != 0 || !(e.mouse.buttonState & 1))
                continue;
            pressed = modalButtonAt(layout.frame, layout.buttons.data(), count, BUTTON_ROW,
                                    e.mouse.x, e.mouse.y);
            if (pressed < 0 && onField(layout, e.mouse.x, e.mouse.y))
                focus = 0;
        } else if (e.type == HOST_EVENT_KEY && e.key.keyDown) {
            key = e.key.virtualKeyCode;
            const bool shift = (e.key.controlKeyState & CONTROL_SHIFT) || host->keyDown(VK_SHIFT);
            const char ch = e.key.asciiChar;
            if (key == VK_RETURN) {
                pressed = focus == 0 ? dialog.defaultButton : focus - 1;
            } else if (key == VK_ESCAPE) {
                pressed = dialog.cancelButton;
            } else if (key == VK_TAB) {
                focus = (focus + (shift ? count : 1)) % (count + 1);
            } else if (focus > 0 && (key == VK_LEFT || key == VK_RIGHT)) {
                // The arrows move between the buttons.
                focus = (focus - 1 + (key == VK_RIGHT ? 1 : count - 1)) % count + 1;
            } else if (focus > 0 && key == VK_SPACE) {
                pressed = focus - 1;
            } else if (key == VK_BACK) {
                if (!value.empty())
                    value.pop_back();
                focus = 0;
                refused = false;
            } else if (textDialogAccepts(dialog.filter, ch, static_cast<int32_t>(value.size()))) {
                if (static_cast<int>(value.size()) < maxLength)
                    value += ch;
                focus = 0;
                refused = false;
            }
        }
        if (pressed < 0 || pressed >= count)
            continue;
        if (dialog.needsText && value.empty() && pressed != dialog.cancelButton) {
            refused = true;
            focus = 0;
            continue;
        }
        chosen = pressed;
        closingKey = key;
    }

    memcpy(text, value.c_str(), value.size() + 1);
    if (closingKey >= 0)
        waitForRelease(closingKey);
    modalClose(layout.frame);
    return dialog.buttons[chosen].result;
}
