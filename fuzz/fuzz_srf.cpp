// .srf pictures of any shape: the reader must never read or allocate wildly.
#include "console/surface_files.h"
#include <cstdint>
#include <cstdio>

static uint32_t sink;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    FILE *stream = fmemopen(const_cast<uint8_t *>(data), size, "rb");
    if (!stream)
        return 0;
    Surface *surface = nullptr;
    if (loadSurface(stream, &surface) && surface && surface->cells) {
        // Touch every cell so a short allocation shows.
        for (int i = 0; i < surface->width * surface->height; i++)
            sink += surface->cells[i].ch + surface->cells[i].attr;
    }
    freeSurface(surface);
    return 0;
}
