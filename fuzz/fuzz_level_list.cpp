// Any bytes as Levels.txt: the list is read into its fixed fields, and
// starting the level it names never uses a name that was not read.
#include "platform/files.h"
#include "world/level_list.h"
#include "world/levels.h"
#include "world/object_list.h"
#include "world/play_state.h"
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>

static std::string root;

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    char pattern[] = "/tmp/fuzz-list-XXXXXX";
    root = mkdtemp(pattern);
    mkdir((root + "/data").c_str(), 0700);
    mkdir((root + "/data/levels").c_str(), 0700);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (FILE *f = fopen((root + "/data/levels/Levels.txt").c_str(), "wb")) {
        fwrite(data, 1, size, f);
        fclose(f);
    }
    dataRoot = root;
    LevelList list = readLevelList();
    size_t total = 0;
    for (int i = 0; i < list.count; i++)
        total += strlen(list.names[i]) + strlen(list.music[i]);
    if (list.count > MAX_LEVELS || (list.count == 0) != (levelListMessage() != nullptr))
        abort();
    freeLevelList(&list);
    levelIndex = static_cast<int32_t>(total % 50);
    loadLevelAt();
    clearObjects();
    return 0;
}
