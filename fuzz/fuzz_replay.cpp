// Any bytes as a replay file: the header is read with its limits, and playing
// the stream against a stand-in game never crashes or reads past the end; a
// broken stream ends as a drift.
#include "app/replay/replay.h"
#include "platform/headless/headless_host.h"
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

static std::string path;
struct Stop {};

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    char pattern[] = "/tmp/fuzz-replay-XXXXXX";
    path = std::string(mkdtemp(pattern)) + "/fuzz.rec";
    replayStop = [](int) { throw Stop{}; };
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (FILE *f = fopen(path.c_str(), "wb")) {
        fwrite(data, 1, size, f);
        fclose(f);
    }
    ReplayHeader header;
    std::string error;
    if (!loadReplay(path.c_str(), header, error))
        return 0;
    HeadlessOptions options;
    options.graceMs = UINT32_MAX;
    host = wrapForReplay(createHeadlessHost(options), false);
    hostCloseRequested = [] { throw Stop{}; };
    static Cell cells[SCREEN_WIDTH * SCREEN_HEIGHT];
    try {
        for (int frame = 0; frame < 200; frame++) {
            host->counterFrequency();
            uint32_t palette[16];
            host->getPalette(palette);
            for (int vk = 0; vk < 256; vk++)
                host->keyDown(vk);
            HostEvent events[16];
            if (host->pendingEvents() > 0)
                host->readEvents(events, 16);
            HostRect r;
            host->getWindowRect(&r);
            host->sound->isPlaying(1);
            cells[host->now() % (SCREEN_WIDTH * SCREEN_HEIGHT)].ch++;
            host->counter();
            host->present(cells, SCREEN_WIDTH, SCREEN_HEIGHT);
            host->idle(1);
        }
        host->shutdown();
    } catch (Stop &) {
    }
    hostCloseRequested = nullptr;
    return 0;
}
