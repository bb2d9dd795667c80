// The sound system: one music stream that is replaced at every change, nine
// effects opened once, and two volume groups ("BGM" for the music, "FX" for the
// effects). With `soundOff` everything is opened as usual but nothing plays.
#pragma once
#include "sound/sound_ids.h"

// Host sound handles by SoundId, and the channel of the last play of each.
extern int soundTable[SOUND_COUNT];
extern int channelTable[SOUND_COUNT];

// Opens every sound, starts the menu music and sets the music to 0.7.
void initSound();
void playSound(int id);
// Whether the last play of this sound is still sounding.
int soundIsPlaying(int id);
// Replaces the music; it always starts again from its beginning.
void playMusic(const char *name);
// One step of both group volumes, with the feedback sound.
void volumeUp();
void volumeDown();
// The play loop's volume keys: Z quieter, X louder.
void volumeKeys();
// Group volumes by SoundGroupId (host.h). Values below 0 are kept as they are.
float soundGroupVolume(int group);
void setSoundGroupVolume(int group, float v);
// Releases the music and closes the sound system; nothing plays afterwards.
void shutdownSound();
