// TEMPORARY: stands in for the sound system until src/sound/sound.cpp lands,
// so the world code links and its tests run. Delete this file when merging.
// The definitions are weak, so the real ones win if both are ever linked.
#include "platform/host.h"
#include "sound/sound.h"

__attribute__((weak)) void playSound(int) {}
__attribute__((weak)) int soundIsPlaying(int) {
    return 0;
}
__attribute__((weak)) void playMusic(const char *) {}
__attribute__((weak)) void volumeUp() {}
__attribute__((weak)) void volumeDown() {}
__attribute__((weak)) void volumeKeys() {}
// The music group starts at 0.7 as in the real system, and the group calls
// and the shutdown reach the host, so the menu's farewell can be tested.
static float pendingGroupVolume[2] = {0.7f, 1.0f};
__attribute__((weak)) void initSound() {
    pendingGroupVolume[0] = 0.7f;
    pendingGroupVolume[1] = 1.0f;
}
__attribute__((weak)) float soundGroupVolume(int group) {
    return group == 0 || group == 1 ? pendingGroupVolume[group] : 0.0f;
}
__attribute__((weak)) void setSoundGroupVolume(int group, float v) {
    if (group != 0 && group != 1)
        return;
    pendingGroupVolume[group] = v;
    if (host)
        host->soundSetGroupVolume(group, v);
}
__attribute__((weak)) void shutdownSound() {
    if (host)
        host->soundShutdown();
}
