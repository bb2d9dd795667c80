// File helpers that need the operating system.
#pragma once
#include <cstdio>

// Replaces `path` with `size` bytes so that a crash at any moment leaves
// either the old file or the new one, never a broken one; an old file's
// permissions carry over. Returns 1 on success.
int replaceFileAtomically(const char *path, const void *data, size_t size);

// Pushes a stream's written bytes through to the disk.
void syncStream(FILE *stream);
