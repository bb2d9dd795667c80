// The ten sound slots: the music stream and the nine effects.
#pragma once

enum SoundId {
    SOUND_MUSIC = 0,
    SOUND_JUMP = 1,
    SOUND_CREATE = 2,
    SOUND_DESTROY = 3,
    SOUND_SHAKE = 4,
    SOUND_CRASH = 5,
    SOUND_VUP = 6,
    SOUND_VDOWN = 7,
    SOUND_SHUFFLE = 8,
    SOUND_LOSE = 9,
};

constexpr int SOUND_COUNT = 10;
