// Saving the level being built: a name is asked for, the level is added to the
// end of the level list and its .lvl file is written.
#pragma once
#include <cstdint>

constexpr int LEVEL_NAME_BYTES = 60;
// The longest name the level list gives back (its lines are read 15 bytes at a
// time), so the longest the name dialog takes.
constexpr int LEVEL_NAME_LONGEST = 13;

// The last name typed; kept for the run, though the dialog starts empty.
extern char levelName[LEVEL_NAME_BYTES];

// The whole save, on Ctrl+D in the editor. Every outcome is shown in a
// message box; neither file is ever left half written.
void saveLevel();
// Asks for the name and adds it to the level list. Returns 1 with the level
// file's path in `path`, or 0 when the save must stop (already reported).
int nameLevel(char *path, int32_t size);
// The name dialog: waits for a name and OK, and puts the name in levelName.
void levelNameDialog();
