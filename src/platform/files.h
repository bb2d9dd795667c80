// files.h -- where the game's files are, and reading and writing them safely.
// The game itself sees only the calls declared in host.h; the roots and the
// raw helpers below are for the program's start-up, the tools and the tests.
#pragma once
#include "platform/host.h"
#include <cstddef>
#include <string>

// The shipped data: the folder that holds data/. Empty means the working directory.
extern std::string dataRoot;
// The player's own files (high score, saved levels and their list, screenshots).
// Empty: `dataRoot` takes them too (--data, tests). Files there hide the shipped ones.
extern std::string userDataRoot;
// No folder can take the player's files: every write is refused.
extern bool userDataReadOnly;

// Largest file the game reads; nothing it ships comes near.
constexpr long long MAX_DATA_FILE_BYTES = 16LL << 20;

// Replaces `path` with `size` bytes so that a crash at any moment leaves
// either the old file or the new one, never a broken one. Returns 1 on success.
int replaceFileAtomically(const char *path, const void *data, size_t size);

// The folder the running program was started from, or "" when unknown.
std::string executableFolder();
// Whether `path` is a regular file / a directory (following links).
bool isRegularFile(const std::string &path);
bool isDirectory(const std::string &path);
// Makes `path` and its parents; false with errno set when it cannot.
bool makeFolders(const std::string &path);
