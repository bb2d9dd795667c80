// The game's text picture form "(w, h) (ch, fg, bg) ...", read from a file.
#include "console/surface_files.h"
#include "platform/files.h"
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

static uint32_t sink;
// The picture lives in a data root of its own, since the game reads nothing
// outside its data.
static std::string root;

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    char pattern[] = "/tmp/fuzz-text-XXXXXX";
    root = mkdtemp(pattern);
    mkdir((root + "/data").c_str(), 0700);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    dataRoot = root;
    FILE *f = fopen((root + "/data/Fuzz.txt").c_str(), "wb");
    if (!f)
        return 0;
    fwrite(data, 1, size, f);
    fclose(f);
    Surface *surface = nullptr;
    if (loadTextSurface("data/Fuzz.txt", &surface) && surface && surface->cells) {
        for (int i = 0; i < surface->width * surface->height; i++)
            if ((sink += surface->cells[i].ch) && surface->cells[i].ch > 0xFF)
                abort(); // only the low byte of a code is the character
    }
    freeSurface(surface);
    return 0;
}
