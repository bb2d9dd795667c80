// Where this checkout and its built program are. They are written at configure
// time into a generated source, not into the compile flags, so that every clone
// of the project shares one compiler cache.
#pragma once

extern const char *const wobbleSourceDir;
extern const char *const wobbleBinary;
