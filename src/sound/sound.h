// The sound system: music and effect streams in two volume groups.
#pragma once
#include "sound/sound_ids.h"

void playSound(int id);
int soundIsPlaying(int id);
void playMusic(const char *name);
void volumeUp();
void volumeDown();
void volumeKeys();
void initSound();
// Group volumes by SoundGroupId (host.h). Values below 0 are kept as they are.
float soundGroupVolume(int group);
void setSoundGroupVolume(int group, float v);
// Releases the music and closes the sound system; nothing plays afterwards.
void shutdownSound();
