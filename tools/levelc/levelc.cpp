// Compiles a level source into the game's level files.
//
//   levelc SOURCE.level OUTDIR   writes OUTDIR/<name>.lvl and OUTDIR/<name>.rot
//
// The source form is described in content_tools/level_source.h.
#include "content_tools/level_source.h"
#include "platform/files.h"
#include <cstdio>
#include <string>

int main(int argc, char **argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: levelc SOURCE.level OUTDIR\n");
        return 2;
    }
    CompiledLevel level;
    std::string error;
    if (!loadLevelSourceFile(argv[1], level, error)) {
        fprintf(stderr, "levelc: %s\n", error.c_str());
        return 1;
    }
    const std::string base = std::string(argv[2]) + "/" + level.name;
    if (!replaceFileAtomically((base + ".lvl").c_str(), level.lvl.data(), level.lvl.size()) ||
        !replaceFileAtomically((base + ".rot").c_str(), level.rot.data(), level.rot.size())) {
        fprintf(stderr, "levelc: %s: cannot be written\n", base.c_str());
        return 1;
    }
    return 0;
}
