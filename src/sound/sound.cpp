#include "sound/sound.h"
#include "frontend/screen_state.h"
#include "input/keyboard.h"
#include "platform/host.h"
#include <cstdio>

int soundTable[SOUND_COUNT];
int channelTable[SOUND_COUNT];

// The game keeps the group volumes itself; the host only hears the changes.
static float groupVolumes[2] = {1.0f, 1.0f};
// The host the sounds were opened on, between initSound and shutdownSound.
static Host *soundHost = nullptr;

static bool soundReady() {
    return host && host == soundHost;
}

// Effects in the order they are opened.
struct EffectFile {
    int id;
    const char *path;
};
static const EffectFile effectFiles[] = {
    {SOUND_JUMP, "data/sfx/jump.ogg"},       {SOUND_CREATE, "data/sfx/create.ogg"},
    {SOUND_DESTROY, "data/sfx/destroy.ogg"}, {SOUND_SHAKE, "data/sfx/Shake.ogg"},
    {SOUND_CRASH, "data/sfx/Crash.ogg"},     {SOUND_VUP, "data/sfx/Vup.ogg"},
    {SOUND_VDOWN, "data/sfx/Vdown.ogg"},     {SOUND_LOSE, "data/sfx/Lose.ogg"},
    {SOUND_SHUFFLE, "data/sfx/Shuffle.ogg"},
};

// The music path lives in a 40-byte buffer: a name of up to 24 characters
// fits, a longer one is cut short and simply finds no file.
static int openMusic(const char *name) {
    char path[40];
    snprintf(path, sizeof path, "data/music/%s.ogg", name ? name : "");
    return host->sound->open(dataPath(path).c_str(), 1);
}

static void startMusic() {
    if (!soundOff)
        channelTable[SOUND_MUSIC] = host->sound->play(soundTable[SOUND_MUSIC]);
}

void initSound() {
    if (!host)
        return;
    for (int i = 0; i < SOUND_COUNT; i++) {
        soundTable[i] = 0;
        channelTable[i] = 0;
    }
    groupVolumes[SOUND_GROUP_BGM] = 1.0f;
    groupVolumes[SOUND_GROUP_FX] = 1.0f;
    soundHost = host;

    soundTable[SOUND_MUSIC] = openMusic("Menu");
    for (const EffectFile &e : effectFiles)
        soundTable[e.id] = host->sound->open(dataPath(e.path).c_str(), 0);
    host->sound->setGroup(soundTable[SOUND_MUSIC], SOUND_GROUP_BGM);
    for (int id = SOUND_JUMP; id < SOUND_COUNT; id++)
        host->sound->setGroup(soundTable[id], SOUND_GROUP_FX);
    startMusic();
    // The music starts a little below the effects.
    if (groupVolumes[SOUND_GROUP_BGM] > 0)
        setSoundGroupVolume(SOUND_GROUP_BGM, groupVolumes[SOUND_GROUP_BGM] - 0.3f);
}

void playSound(int id) {
    if (!soundReady() || soundOff || id < 0 || id >= SOUND_COUNT)
        return;
    channelTable[id] = host->sound->play(soundTable[id]);
}

int soundIsPlaying(int id) {
    if (!soundReady() || id < 0 || id >= SOUND_COUNT)
        return 0;
    return host->sound->isPlaying(channelTable[id]) ? 1 : 0;
}

void playMusic(const char *name) {
    if (!soundReady())
        return;
    host->sound->release(soundTable[SOUND_MUSIC]);
    soundTable[SOUND_MUSIC] = openMusic(name);
    host->sound->setGroup(soundTable[SOUND_MUSIC], SOUND_GROUP_BGM);
    startMusic();
}

// Steps are taken in 32-bit floats, so from 0.7 three steps up reach exactly
// 1.0 and seven steps down end a hair below 0; past either end nothing moves.
void volumeUp() {
    playSound(SOUND_VUP);
    for (int group : {SOUND_GROUP_BGM, SOUND_GROUP_FX})
        if (groupVolumes[group] < 1.0f)
            setSoundGroupVolume(group, groupVolumes[group] + 0.1f);
}

void volumeDown() {
    playSound(SOUND_VDOWN);
    for (int group : {SOUND_GROUP_BGM, SOUND_GROUP_FX})
        if (groupVolumes[group] > 0)
            setSoundGroupVolume(group, groupVolumes[group] - 0.1f);
}

void volumeKeys() {
    if (keyReleased('Z')) {
        playSound(SOUND_VDOWN);
        volumeDown();
    }
    if (keyReleased('X')) {
        playSound(SOUND_VUP);
        volumeUp();
    }
}

float soundGroupVolume(int group) {
    if (group != SOUND_GROUP_BGM && group != SOUND_GROUP_FX)
        return 0;
    return groupVolumes[group];
}

void setSoundGroupVolume(int group, float v) {
    if (group != SOUND_GROUP_BGM && group != SOUND_GROUP_FX)
        return;
    groupVolumes[group] = v;
    if (soundReady())
        host->sound->setGroupVolume(group, v);
}

void shutdownSound() {
    if (!soundReady())
        return;
    // The host closes whatever is still open when it shuts down.
    host->sound->release(soundTable[SOUND_MUSIC]);
    host->sound->release(soundTable[SOUND_JUMP]);
    host->sound->shutdown();
    soundHost = nullptr;
    for (int i = 0; i < SOUND_COUNT; i++) {
        soundTable[i] = 0;
        channelTable[i] = 0;
    }
}
