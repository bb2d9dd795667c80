// TEMPORARY: stands in for the sound system until src/sound/sound.cpp lands,
// so the world code links and its tests run. Delete this file when merging.
// The definitions are weak, so the real ones win if both are ever linked.
#include "sound/sound.h"

__attribute__((weak)) void playSound(int) {}
__attribute__((weak)) int soundIsPlaying(int) {
    return 0;
}
__attribute__((weak)) void playMusic(const char *) {}
__attribute__((weak)) void volumeUp() {}
__attribute__((weak)) void volumeDown() {}
__attribute__((weak)) void volumeKeys() {}
__attribute__((weak)) void initSound() {}
