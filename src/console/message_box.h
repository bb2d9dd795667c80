// The modal message box, drawn in the cell grid over whatever the screen
// shows (the editor's text entry is in text_dialog.h).
#pragma once

enum : unsigned {
    MB_OK = 0x0,
    MB_YESNO = 0x4,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONINFORMATION = 0x40,
};
enum { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

// Shows the text (line breaks allowed) under the caption with OK, or Yes and
// No, and waits until one is chosen with Enter, Esc, Tab, the arrows, Y/N or
// the mouse. Returns IDOK, IDYES or IDNO. Nothing else runs meanwhile.
int messageBox(const char *text, const char *caption, unsigned flags);
