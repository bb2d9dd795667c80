// Any bytes as a level: the first byte says how many of the following bytes
// are the .rot file, the rest is the .lvl file. Loading, turning the room and
// moving what was loaded never crashes or reads out of bounds.
#include "anim/animation_library.h"
#include "objects/collision.h"
#include "objects/world_turn.h"
#include "platform/files.h"
#include "world/levels.h"
#include "world/object_access.h"
#include "world/object_list.h"
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

static std::string root;

static void writeFile(const std::string &path, const uint8_t *data, size_t size) {
    if (FILE *f = fopen(path.c_str(), "wb")) {
        fwrite(data, 1, size, f);
        fclose(f);
    }
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    // The shipped scripts, from the repository the fuzzer runs in.
    loadAnimationLibrary();
    char pattern[] = "/tmp/fuzz-level-XXXXXX";
    root = mkdtemp(pattern);
    mkdir((root + "/data").c_str(), 0700);
    mkdir((root + "/data/levels").c_str(), 0700);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1)
        return 0;
    size_t rotSize = data[0];
    if (rotSize > size - 1)
        rotSize = size - 1;
    writeFile(root + "/data/levels/f.rot", data + 1, rotSize);
    writeFile(root + "/data/levels/f.lvl", data + 1 + rotSize, size - 1 - rotSize);

    dataRoot = root;
    clearObjects();
    clearRotationSequence();
    loadLevel("f");
    for (ObjectNode *n = objectList; n; n = n->next)
        updateObjectBounds(n);
    for (int i = 0; i < rotationSequence.count; i++)
        turnWorld(rotationSequence.angles[i]);
    refreshBorders();
    for (ObjectNode *n = objectList; n; n = n->next)
        if (objectVelocity(n).vx)
            moveObject(n, 20);
    clearObjects();
    return 0;
}
