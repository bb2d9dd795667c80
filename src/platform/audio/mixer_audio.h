// The host's sound calls on SDL_mixer, for every host that plays real sound.
// Music (a sound opened to loop) streams through the mixer's music channel,
// effects are decoded once and played on any free channel of 32. Group
// "BGM" (0) and "FX" (1) carry the two volumes.
//
// The device opens at the first sound call. Where there is none (a machine
// without sound, CI, a remote session) one line goes to standard error and
// every call does nothing from then on: the game plays silently.
#pragma once
#include "platform/host.h"
#include <string>

// Opens the audio device now; false, with the reason, when it cannot.
bool mixerOpen(std::string &why);
// Opens the device or, when there is none, says so in one line on standard
// error. The first sound call does this by itself; a host may do it earlier.
bool mixerStart();
bool mixerIsOpen();

int mixerSoundOpen(const char *path, int loop);
void mixerSoundRelease(int sound);
void mixerSoundSetGroup(int sound, int group);
int mixerSoundPlay(int sound);
int mixerSoundIsPlaying(int channel);
void mixerSoundSetGroupVolume(int group, float volume);
// Stops and frees everything and closes the device; later calls do nothing
// until the device is opened again with mixerOpen or mixerStart.
void mixerSoundShutdown();

// The seven calls above as a host's sound table.
extern const SoundHost mixerSound;
