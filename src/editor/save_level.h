// Saving the level being built: a name is asked for, the level's .lvl file is
// written, and then the level is added to the end of the level list.
#pragma once
#include <cstdint>
#include <string>

constexpr int LEVEL_NAME_BYTES = 60;
// The longest name the level list gives back (its lines are read 15 bytes at a
// time), so the longest the name dialog takes.
constexpr int LEVEL_NAME_LONGEST = 13;

// The last name typed; kept for the run, though the dialog starts empty.
extern char levelName[LEVEL_NAME_BYTES];

// The whole save, on Ctrl+D in the editor. Every outcome is shown in a
// message box; neither file is ever left half written.
void saveLevel();
// Asks for the name. Returns 1 with the level file's path in `path` and the
// level list's new text (the old one with the level added) in `listText`, or
// 0 when the save must stop (already reported).
int nameLevel(char *path, int32_t size, std::string &listText);
// The name dialog: waits for a name and OK, and puts the name in levelName.
void levelNameDialog();
