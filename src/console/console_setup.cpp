#include "console/console_setup.h"
#include "platform/host.h"
#include <cstring>

uint32_t savedPalette[16];

int initConsole(BackBuffer **out) {
    // Every host gives square cells and the whole grid: the back buffer and
    // the title are all there is to set up.
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
