#include "input/keyboard.h"
#include <cstdlib>
#include <cstring>

int32_t currentKeys[256];
int32_t previousKeys[256];
int32_t anyKeyDown;
CellPosition lastMousePos;

void (*onKey)(KeyEventRecord record);
void (*onLeftButton)(MouseEventRecord record);
void (*onMouseMove)(MouseEventRecord record);

// Keys that were down when the screen changed; cleared once each goes up.
static int32_t heldOver[256];

int keyHeld(int virtualKey) {
    return host && host->keyDown(virtualKey) ? 1 : 0;
}

int pollKeyboard() {
    memcpy(previousKeys, currentKeys, sizeof currentKeys);
    for (int code = 0; code < 256; code++) {
        currentKeys[code] = keyHeld(code);
        if (heldOver[code] && !currentKeys[code]) {
            heldOver[code] = 0;
            previousKeys[code] = 0;
        }
    }
    return 0;
}

void settleKeys() {
    for (int code = 0; code < 256; code++) {
        currentKeys[code] = keyHeld(code);
        previousKeys[code] = currentKeys[code];
        heldOver[code] = currentKeys[code];
    }
    anyKeyDown = 0;
    if (!host)
        return;
    HostEvent event;
    while (host->pendingEvents() > 0 && host->readEvents(&event, 1) == 1)
        if (event.type == HOST_EVENT_MOUSE && event.mouse.eventFlags == 1)
            lastMousePos = CellPosition{event.mouse.x, event.mouse.y};
}

int keyReleased(uint16_t code) {
    if (code > 255)
        return 0;
    return currentKeys[code] == 0 && previousKeys[code] == 1;
}

void dispatchMouseEvent(MouseEventRecord record) {
    if (record.eventFlags == 0) {
        if ((record.buttonState & 1) && onLeftButton)
            onLeftButton(record);
    } else if (record.eventFlags == 1) {
        lastMousePos = CellPosition{record.x, record.y};
        if (onMouseMove)
            onMouseMove(record);
    }
}

void pumpConsoleInput() {
    anyKeyDown = 0;
    if (!host)
        return;
    const int waiting = host->pendingEvents();
    if (waiting <= 0)
        return;
    HostEvent *events = static_cast<HostEvent *>(malloc(sizeof(HostEvent) * waiting));
    if (!events)
        return;
    const int read = host->readEvents(events, waiting);
    for (int i = 0; i < read; i++) {
        if (events[i].type == HOST_EVENT_KEY) {
            if (events[i].key.keyDown)
                anyKeyDown = 1;
            if (onKey)
                onKey(events[i].key);
        } else if (events[i].type == HOST_EVENT_MOUSE) {
            dispatchMouseEvent(events[i].mouse);
        }
    }
    free(events);
}
