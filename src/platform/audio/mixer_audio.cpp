#include "platform/audio/mixer_audio.h"
#include <SDL.h>
#include <SDL_mixer.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int CHANNEL_COUNT = 32;
// Channel numbers handed to the game carry the mixer channel + 1 in the low
// six bits and a play count above it, so a channel that has since been taken
// by another sound does not count as still playing the old one.
constexpr int MUSIC_SLOT = CHANNEL_COUNT; // the music's own "channel"
constexpr int SLOT_BITS = 6;

enum MixerState { UNTRIED, OPEN, SILENT, CLOSED };

struct MixerSound {
    bool used = false;
    Mix_Chunk *chunk = nullptr;
    Mix_Music *music = nullptr;
    int group = SOUND_GROUP_FX;
};

MixerState state = UNTRIED;
std::vector<MixerSound> sounds; // handle - 1
float groupVolumes[2] = {1.0f, 1.0f};
int playCounts[CHANNEL_COUNT + 1];
Mix_Music *currentMusic = nullptr;

int mixerLevel(float volume) {
    const float v = std::clamp(volume, 0.0f, 1.0f);
    return static_cast<int>(std::lround(v * MIX_MAX_VOLUME));
}

float volumeOf(int group) {
    return group == SOUND_GROUP_BGM || group == SOUND_GROUP_FX ? groupVolumes[group] : 1.0f;
}

MixerSound *soundAt(int handle) {
    if (state != OPEN || handle <= 0 || handle > static_cast<int>(sounds.size()))
        return nullptr;
    MixerSound &s = sounds[handle - 1];
    return s.used ? &s : nullptr;
}

int channelHandle(int slot) {
    playCounts[slot] = (playCounts[slot] + 1) & 0xFFFFFF;
    return (playCounts[slot] << SLOT_BITS) | (slot + 1);
}

// The sound libraries below SDL write their own complaints to standard error
// while looking for a device; the reason comes back through SDL_GetError.
struct QuietStderr {
    int saved = -1;
    QuietStderr() {
        fflush(stderr);
        saved = dup(STDERR_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, STDERR_FILENO);
            close(null);
        }
    }
    ~QuietStderr() {
        if (saved >= 0) {
            fflush(stderr);
            dup2(saved, STDERR_FILENO);
            close(saved);
        }
    }
};

bool ensureOpen() {
    if (state == UNTRIED)
        mixerStart();
    return state == OPEN;
}

} // namespace

bool mixerOpen(std::string &why) {
    if (state == OPEN)
        return true;
    state = SILENT;
    {
        QuietStderr quiet;
        // Signals belong to the hosts: the terminal host puts the terminal back
        // in its own handlers, and SDL's (which only queue a quit event that
        // host never reads) must not take their place. The window host set
        // SDL up, handlers and all, before sound starts.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            why = SDL_GetError();
            return false;
        }
        if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
            why = Mix_GetError();
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return false;
        }
    }
    if ((Mix_Init(MIX_INIT_OGG) & MIX_INIT_OGG) == 0) {
        why = std::string("no Ogg Vorbis decoder: ") + Mix_GetError();
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(CHANNEL_COUNT);
    sounds.clear();
    groupVolumes[SOUND_GROUP_BGM] = 1.0f;
    groupVolumes[SOUND_GROUP_FX] = 1.0f;
    currentMusic = nullptr;
    state = OPEN;
    return true;
}

bool mixerStart() {
    std::string why;
    if (mixerOpen(why))
        return true;
    fprintf(stderr, "wobblewick: no sound device (%s); playing silently\n", why.c_str());
    return false;
}

bool mixerIsOpen() {
    return state == OPEN;
}

int mixerSoundOpen(const char *path, int loop) {
    if (!path || !ensureOpen())
        return 0;
    MixerSound s;
    s.used = true;
    // A looping sound is music: streamed, not decoded whole.
    if (loop)
        s.music = Mix_LoadMUS(path);
    else
        s.chunk = Mix_LoadWAV(path);
    if (!s.music && !s.chunk)
        return 0; // a missing file leaves the slot without a sound, quietly
    if (s.chunk)
        Mix_VolumeChunk(s.chunk, mixerLevel(volumeOf(s.group)));
    auto slot = std::find_if(sounds.begin(), sounds.end(), [](auto &e) { return !e.used; });
    if (slot == sounds.end())
        slot = sounds.insert(sounds.end(), s);
    else
        *slot = s;
    return static_cast<int>(slot - sounds.begin()) + 1;
}

void mixerSoundRelease(int sound) {
    MixerSound *s = soundAt(sound);
    if (!s)
        return;
    // Freeing stops whatever channel is playing it.
    if (s->music) {
        if (s->music == currentMusic)
            currentMusic = nullptr;
        Mix_FreeMusic(s->music);
    }
    if (s->chunk)
        Mix_FreeChunk(s->chunk);
    *s = MixerSound{};
}

void mixerSoundSetGroup(int sound, int group) {
    MixerSound *s = soundAt(sound);
    if (!s)
        return;
    s->group = group;
    if (s->chunk)
        Mix_VolumeChunk(s->chunk, mixerLevel(volumeOf(group)));
    if (s->music && s->music == currentMusic)
        Mix_VolumeMusic(mixerLevel(volumeOf(group)));
}

int mixerSoundPlay(int sound) {
    MixerSound *s = soundAt(sound);
    if (!s)
        return -1;
    if (s->music) {
        Mix_VolumeMusic(mixerLevel(volumeOf(s->group)));
        if (Mix_PlayMusic(s->music, -1) != 0)
            return -1;
        currentMusic = s->music;
        return channelHandle(MUSIC_SLOT);
    }
    const int channel = Mix_PlayChannel(-1, s->chunk, 0);
    if (channel < 0 || channel >= CHANNEL_COUNT)
        return -1;
    return channelHandle(channel);
}

int mixerSoundIsPlaying(int channel) {
    if (state != OPEN || channel <= 0)
        return 0;
    const int slot = (channel & ((1 << SLOT_BITS) - 1)) - 1;
    if (slot < 0 || slot > MUSIC_SLOT || (channel >> SLOT_BITS) != playCounts[slot])
        return 0;
    if (slot == MUSIC_SLOT)
        return currentMusic && Mix_PlayingMusic() ? 1 : 0;
    return Mix_Playing(slot) ? 1 : 0;
}

void mixerSoundSetGroupVolume(int group, float volume) {
    if (group != SOUND_GROUP_BGM && group != SOUND_GROUP_FX)
        return;
    groupVolumes[group] = volume;
    if (state != OPEN)
        return;
    for (MixerSound &s : sounds) {
        if (!s.used || s.group != group)
            continue;
        if (s.chunk)
            Mix_VolumeChunk(s.chunk, mixerLevel(volume));
        if (s.music && s.music == currentMusic)
            Mix_VolumeMusic(mixerLevel(volume));
    }
}

void mixerSoundShutdown() {
    if (state == OPEN) {
        Mix_HaltChannel(-1);
        Mix_HaltMusic();
        for (int handle = 1; handle <= static_cast<int>(sounds.size()); handle++)
            mixerSoundRelease(handle);
        sounds.clear();
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    currentMusic = nullptr;
    state = CLOSED;
}

const SoundHost mixerSound = {
    .open = mixerSoundOpen,
    .release = mixerSoundRelease,
    .setGroup = mixerSoundSetGroup,
    .play = mixerSoundPlay,
    .isPlaying = mixerSoundIsPlaying,
    .setGroupVolume = mixerSoundSetGroupVolume,
    .shutdown = mixerSoundShutdown,
};
