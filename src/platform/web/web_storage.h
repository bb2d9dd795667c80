// The player's files (high score, saved levels and their list) in the
// browser's local storage, one entry per file named by its path, so that
// they survive a reload (web_storage.js). Shipped files come with the page
// and are never written back. A page that cannot store says so once.
#pragma once

extern "C" {
// Puts every kept file back into the game's file system; called at start-up,
// once the page's data is in place.
void wobbleRestoreFiles();
// Keeps the file at `path` as it is now.
void wobbleKeepFile(const char *path);
// The same, for the file an open stream writes to.
void wobbleKeepStream(int fd);
}
