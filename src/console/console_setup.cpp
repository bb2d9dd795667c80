#include "console/console_setup.h"
#include "platform/host.h"
#include <cstring>

const uint32_t standardPalette[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                      0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                      0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
uint32_t savedPalette[16];

int initConsole(BackBuffer **out) {
    // Our hosts always give square 8 x 8 cells and a 116 x 88 grid, so the
    // font and size steps of a console have nothing left to do here.
    BackBuffer *buffer = createBackBuffer();
    *out = buffer;
    if (!buffer || !buffer->cells)
        return 0;
    setWindowTitle(buffer->title);
    return 1;
}

void probeConsole() {
    memcpy(savedPalette, standardPalette, sizeof savedPalette);
    if (host)
        host->getPalette(savedPalette);
}

void setConsolePalette(const uint32_t palette[16]) {
    if (host)
        host->setPalette(palette);
}

void setWindowTitle(const char *title) {
    if (host)
        host->setTitle(title);
}
