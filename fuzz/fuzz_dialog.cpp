// Any bytes as a level's story script: loading it, showing every box in turn
// (text written into the picture, portrait placed, drawn on the screen) never
// crashes, reads or writes out of bounds, or leaks.
#include "console/surface.h"
#include "frontend/dialog.h"
#include "input/keyboard.h"
#include "input/timers.h"
#include "platform/files.h"
#include "platform/headless/headless_host.h"
#include <cstdint>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

static std::string root;

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    char pattern[] = "/tmp/fuzz-dialog-XXXXXX";
    root = mkdtemp(pattern);
    mkdir((root + "/data").c_str(), 0700);
    mkdir((root + "/data/levels").c_str(), 0700);
    // The game's own pictures, so that scripts naming them find them.
    char here[4096];
    const std::string source = getenv("WOBBLE_SOURCE")     ? getenv("WOBBLE_SOURCE")
                               : getcwd(here, sizeof here) ? here
                                                           : ".";
    symlink((source + "/data/surfaces").c_str(), (root + "/data/surfaces").c_str());
    HeadlessOptions options;
    host = createHeadlessHost(options);
    backBuffer = createBackBuffer();
    counterFrequency = host->counterFrequency();
    timerMode = TIMER_COUNTER;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    dataRoot = root;
    if (FILE *f = fopen((root + "/data/levels/Fuzz.dlg").c_str(), "wb")) {
        fwrite(data, 1, size, f);
        fclose(f);
    }
    Dialog_LoadScript("data/levels/Fuzz.dlg");
    Dialog_Start();
    // Every box is shown once, then Enter moves on to the next.
    for (int shown = 0; shown < 64 && dialogQueue.count > 0; shown++) {
        clearScreen();
        Dialog_Draw();
        currentKeys[VK_RETURN] = 0;
        previousKeys[VK_RETURN] = 1;
        Dialog_Update();
    }
    previousKeys[VK_RETURN] = 0;
    Dialog_ClearAll();
    return 0;
}
