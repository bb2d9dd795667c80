// The game's text picture form "(w, h) (ch, fg, bg) ...", read from a file.
#include "console/surface_files.h"
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

static uint32_t sink;
// One temporary file for the whole run, rewritten for every input.
static std::string path;

static void removeTemporaryFile() {
    unlink(path.c_str());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (path.empty()) {
        char pattern[] = "/tmp/wobble-fuzz-text-XXXXXX";
        const int fd = mkstemp(pattern);
        if (fd < 0)
            return 0;
        close(fd);
        path = pattern;
        atexit(removeTemporaryFile);
    }
    FILE *f = fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    fwrite(data, 1, size, f);
    fclose(f);
    Surface *surface = nullptr;
    if (loadTextSurface(path.c_str(), &surface) && surface && surface->cells) {
        for (int i = 0; i < surface->width * surface->height; i++)
            if ((sink += surface->cells[i].ch) && surface->cells[i].ch > 0xFF)
                abort(); // only the low byte of a code is the character
    }
    freeSurface(surface);
    return 0;
}
