#include "platform/host.h"

Host *host = nullptr;
void (*hostCloseRequested)() = nullptr;

static int silentOpen(const char *, int) {
    return 0;
}
static void silentRelease(int) {}
static void silentSetGroup(int, int) {}
static int silentPlay(int) {
    return -1;
}
static int silentIsPlaying(int) {
    return 0;
}
static void silentSetGroupVolume(int, float) {}
static void silentShutdown() {}

const SoundHost silentSound = {
    .open = silentOpen,
    .release = silentRelease,
    .setGroup = silentSetGroup,
    .play = silentPlay,
    .isPlaying = silentIsPlaying,
    .setGroupVolume = silentSetGroupVolume,
    .shutdown = silentShutdown,
};
