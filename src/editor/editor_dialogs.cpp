#include "console/text_dialog.h"
#include "editor/editor.h"
#include "editor/save_level.h"
#include <cstdio>
#include <cstdlib>

// Five digits: a bonus of 99999 seconds is already more than anyone needs,
// and the score it gives stays far inside its range.
constexpr int32_t LEVEL_TIME_DIGITS = 5;
constexpr int32_t SET_TIME = 1002;
constexpr int32_t CANCEL = 2;

int32_t levelTimeDialog() {
    static const TextDialogButton buttons[] = {{"Set Level Time", SET_TIME}, {"Cancel", CANCEL}};
    TextDialog dialog{};
    dialog.title = "Enter Level Time";
    dialog.hint = "the bonus time in seconds";
    dialog.fieldWidth = 12;
    dialog.maxLength = LEVEL_TIME_DIGITS;
    dialog.filter = TEXT_DIGITS;
    dialog.buttons = buttons;
    dialog.buttonCount = 2;
    dialog.defaultButton = 0;
    dialog.cancelButton = 1;
    char text[LEVEL_TIME_DIGITS + 1] = "";
    if (runTextDialog(dialog, text, sizeof text) == CANCEL)
        return -1;
    return static_cast<int32_t>(strtoul(text, nullptr, 10));
}

void levelNameDialog() {
    static const TextDialogButton buttons[] = {{"OK", 1}};
    TextDialog dialog{};
    dialog.title = "Filename pureezu!";
    dialog.hint = "a letter, then letters, digits, - _ or . (13 at most)";
    dialog.fieldWidth = LEVEL_NAME_LONGEST + 3;
    dialog.maxLength = LEVEL_NAME_LONGEST;
    dialog.filter = TEXT_FILENAME;
    dialog.buttons = buttons;
    dialog.buttonCount = 1;
    dialog.defaultButton = 0;
    dialog.cancelButton = -1; // OK is the only way out
    dialog.needsText = 1;
    char text[LEVEL_NAME_BYTES] = "";
    runTextDialog(dialog, text, sizeof text);
    snprintf(levelName, sizeof levelName, "%s", text);
}
