// Any bytes as an animation script: loading, turning and looking up frames
// never crashes, reads out of bounds or asks for unbounded memory.
#include "anim/animation.h"
#include "platform/files.h"
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

static std::string root;

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    char pattern[] = "/tmp/fuzz-anm-XXXXXX";
    root = mkdtemp(pattern);
    std::string dir = root + "/data";
    mkdir(dir.c_str(), 0700);
    mkdir((dir + "/surfaces").c_str(), 0700);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    dataRoot = root;
    FILE *f = fopen((root + "/data/surfaces/Fuzz.anm").c_str(), "wb");
    if (!f)
        return 0;
    fwrite(data, 1, size, f);
    fclose(f);

    List set;
    listSetUp(&set, 5, 88, destroyAnimation);
    if (loadAnimation(&set, "Fuzz.anm")) {
        const Animation *a = static_cast<const Animation *>(set.items[0]);
        unsigned sum = 0;
        for (int k = 0; k < ORIENTATIONS; k++)
            for (int i = 0; i < a->frames[k].count; i++) {
                const Frame *frame = static_cast<const Frame *>(a->frames[k].items[i]);
                const Surface *p = frame->picture;
                for (int c = 0; p->cells && c < p->width * p->height; c++)
                    sum += p->cells[c].ch + p->cells[c].attr;
                sum += static_cast<unsigned>(frame->info->width + frame->info->collidesWith.count);
            }
        if (sum == 0xFFFFFFFFu)
            fputc('.', stderr);
    }
    listDestroyAll(&set);
    return 0;
}
