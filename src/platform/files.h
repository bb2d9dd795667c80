// File helpers that need the operating system.
#pragma once
#include <cstdio>
#include <string>

// Replaces `path` with `size` bytes so that a crash at any moment leaves
// either the old file or the new one, never a broken one. Returns 1 on success.
int replaceFileAtomically(const char *path, const void *data, size_t size);

// Pushes a stream's written bytes through to the disk.
void syncStream(FILE *stream);

// Makes a new, empty folder of its own in the system's temporary folder
// (named after `prefix`) and returns its path, or "" when none can be made.
std::string makeTempFolder(const char *prefix);
