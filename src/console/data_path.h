// Every path the game names is relative to the data root and may be written
// with back slashes; this is the one place that turns it into a real path.
#pragma once
#include <cstdio>
#include <string>

// The data root: the working directory unless --data names another.
extern std::string dataRoot;

std::string dataPath(const char *path);
FILE *openDataFile(const char *path, const char *mode);
// Opens a file the game only reads; when it does not open, the path and the
// system's reason go to standard error and null is returned.
FILE *openDataFileOrReport(const char *path, const char *mode);
