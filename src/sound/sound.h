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
