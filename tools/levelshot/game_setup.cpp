#include "game_setup.h"
#include "app/states.h"
#include "console/surface.h"
#include "content_tools/png_export.h"
#include "frontend/front_end.h"
#include "input/keyboard.h"
#include "input/timers.h"
#include "platform/files.h"
#include <cstring>

bool setUpGame(const std::string &root, const std::string &script, std::string &error) {
    HeadlessOptions options;
    if (!parseInputScript(script, options.script, error))
        return false;
    options.graceMs = 0;
    host = createHeadlessHost(options);
    backBuffer = createBackBuffer();
    memset(currentKeys, 0, sizeof currentKeys);
    memset(previousKeys, 0, sizeof previousKeys);
    counterFrequency = host->counterFrequency();
    timerMode = TIMER_COUNTER;
    pausedTotal = 0;
    dataRoot = root;
    soundOff = 1;
    FrontEnd_Init();
    return true;
}

bool writeBackBufferPng(const std::string &path, int scale) {
    uint32_t palette[16];
    host->getPalette(palette);
    return writeCellsPng(path.c_str(), backBuffer->cells, backBuffer->width, backBuffer->height,
                         palette, scale) == 1;
}
