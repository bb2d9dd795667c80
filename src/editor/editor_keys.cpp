#include "console/message_box.h"
#include "console/surface_files.h"
#include "editor/editor.h"
#include "editor/save_level.h"
#include "input/keyboard.h"
#include "objects/world_turn.h"
#include "world/level_list.h"
#include "world/levels.h"
#include "world/object_list.h"
#include <cstdio>

int32_t editorLevelTime = 0;
int32_t recordedTurns[RECORDED_TURN_SLOTS] = {};
int32_t turnCursor = 0;
int32_t recordedTurnCount = 0;
int32_t pendingTurn = 0;
int32_t editorLevelIndex = 0;

// The turn an entry stands for: 360 plus a remainder of 0, 90, 180 or 270
// degrees, where 270 is the quarter turn the other way.
static int32_t entryAngle(int32_t entry) {
    const int32_t angle = ((entry % 360) + 360) % 360;
    return angle == 270 ? -90 : angle;
}

void stepTurnForward() {
    if (turnCursor >= RECORDED_TURN_SLOTS - 1)
        turnCursor = RECORDED_TURN_SLOTS - 1;
    else if (turnCursor < 0)
        turnCursor = 1;
    else
        turnCursor += 1;
    turnWorld(entryAngle(recordedTurns[turnCursor]));
}

// Undoes the turn at the cursor, then moves back one entry, so Page Up walks
// back over what Page Down showed.
void stepTurnBack() {
    if (turnCursor < 1) {
        turnCursor = 0;
        return;
    }
    if (turnCursor > RECORDED_TURN_SLOTS - 1) {
        turnCursor = RECORDED_TURN_SLOTS - 2;
        return;
    }
    const int32_t angle = entryAngle(recordedTurns[turnCursor]);
    turnWorld(angle == 180 ? 180 : -angle);
    turnCursor -= 1;
}

// Notes the turn seen since the last record at the cursor: 360 plus its
// remainder in degrees (360, 450, 540 or 630). The cursor stays.
void recordTurn() {
    if (turnCursor < 0 || turnCursor >= RECORDED_TURN_SLOTS)
        return;
    recordedTurns[turnCursor] = 360 + ((pendingTurn % 360) + 360) % 360;
    pendingTurn = 0;
    recordedTurnCount += 1;
}

void loadNextLevelIntoEditor() {
    LevelList list = readLevelList();
    if (list.count <= 0) {
        // Nothing to load: keep what is being built and say why.
        messageBox(levelListMessage(), "Wobblewick!", MB_ICONEXCLAMATION);
        return;
    }
    if (editorLevelIndex != 0) {
        clearObjects();
        clearRotationSequence();
        ozzleLevel = 0;
    }
    if (editorLevelIndex >= list.count || editorLevelIndex < 0)
        editorLevelIndex = 0;
    const char *name = list.names[editorLevelIndex];
    if (!loadLevel(name)) {
        char text[160];
        snprintf(text, sizeof text,
                 "The level \"%s\" could not be loaded: it needs data/levels/%s.lvl and "
                 "data/levels/%s.rot.",
                 name, name, name);
        messageBox(text, "Wobblewick!", MB_ICONEXCLAMATION);
    }
    editorLevelIndex += 1;
    freeLevelList(&list);
}

void editorKey(KeyEventRecord record) {
    // A snapshot at every key event, so a key's release shows at its own
    // key-up event.
    pollKeyboard();
    // Characters act when their key goes down: the key-up of a t would
    // otherwise open the time dialog a second time.
    if (record.keyDown) {
        const char ch = record.asciiChar;
        if (ch >= '1' && ch <= '9')
            selectedTool = ch - '1';
        else if (ch == 't')
            editorLevelTime = levelTimeDialog();
    }

    if (keyReleased(VK_RIGHT)) {
        turnWorld(-90);
        pendingTurn -= 90;
    } else if (keyReleased(VK_LEFT)) {
        turnWorld(90);
        pendingTurn += 90;
    } else if (keyReleased(VK_UP) || keyReleased(VK_DOWN)) {
        turnWorld(180);
        pendingTurn += 180;
    } else if (keyReleased(VK_PRIOR)) {
        stepTurnBack();
    } else if (keyReleased(VK_NEXT)) {
        stepTurnForward();
    } else if (keyHeld(VK_CONTROL) && keyReleased('D')) {
        saveLevel();
    } else if (keyReleased('S')) {
        recordTurn();
    }

    if (keyReleased(VK_TAB)) {
        saveScreenshot();
        return;
    }
    if (keyReleased('O'))
        loadNextLevelIntoEditor();
}
