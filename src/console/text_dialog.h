// A modal question with one line of text to fill in, drawn in the cell grid
// like the message box: a title, an edit field and a row of buttons.
#pragma once
#include <cstdint>

// Which characters the field takes.
enum TextDialogFilter : int32_t {
    TEXT_ANY = 0,      // every printable character
    TEXT_DIGITS = 1,   // 0-9 only
    TEXT_FILENAME = 2, // a letter first, then letters, digits, '-', '_' and '.'
};

struct TextDialogButton {
    const char *label;
    int32_t result;
};

struct TextDialog {
    const char *title;
    const char *hint; // a line under the field, or null
    int32_t fieldWidth;
    int32_t maxLength; // characters the field holds at most
    int32_t filter;
    const TextDialogButton *buttons;
    int32_t buttonCount;
    int32_t defaultButton; // the one Enter presses while the field has the focus
    int32_t cancelButton;  // the one Esc presses, -1 when Esc does nothing
    int32_t needsText;     // buttons other than the cancel one refuse an empty field
};

// Shows the dialog with `text` (size bytes, at least 1) as the field's start
// and waits until a button is chosen: by the mouse, by Enter (the focused
// button, or the default one from the field) or by Esc. Typing edits the field
// (Backspace deletes), Tab and Shift+Tab move the focus between the field and
// the buttons, a click on the field gives it the focus. Returns the button's
// result with the field in `text`. A key that closes the dialog is waited for
// until it is let go, so nothing behind the dialog sees it held. Without a
// host or buttons nothing is shown and 0 is returned.
int32_t runTextDialog(const TextDialog &dialog, char *text, int32_t size);

// Whether the field takes the character as its character number `position`.
int textDialogAccepts(int32_t filter, char ch, int32_t position);
