// The SDL_mixer side of the host's sound calls, on SDL's dummy device (which
// plays in real time into nothing) and on a device that cannot be found.
#ifdef WOBBLE_HAVE_MIXER
#include "platform/audio/mixer_audio.h"
#include "test_support.h"
#include <SDL.h>
#include <SDL_mixer.h>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// A mono 16-bit sine of the given length as a WAV file.
std::string sineWav(int ms) {
    const int rate = 22050;
    const int frames = rate * ms / 1000;
    std::vector<int16_t> samples(frames);
    for (int i = 0; i < frames; i++)
        samples[i] = static_cast<int16_t>(8000 * std::sin(i * 0.05));
    auto u32 = [](uint32_t v) { return std::string(reinterpret_cast<const char *>(&v), 4); };
    auto u16 = [](uint16_t v) { return std::string(reinterpret_cast<const char *>(&v), 2); };
    const uint32_t bytes = frames * 2;
    std::string wav = "RIFF" + u32(36 + bytes) + "WAVEfmt " + u32(16) + u16(1) + u16(1) +
                      u32(rate) + u32(rate * 2) + u16(2) + u16(16) + "data" + u32(bytes);
    wav.append(reinterpret_cast<const char *>(samples.data()), bytes);
    return wav;
}

struct DummyDevice {
    TempDir dir;
    std::string shortSound, longSound;
    DummyDevice() {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        dir.write("short.wav", sineWav(30));
        dir.write("long.wav", sineWav(3000));
        shortSound = dir.file("short.wav");
        longSound = dir.file("long.wav");
        std::string why;
        EXPECT_TRUE(mixerOpen(why)) << why;
    }
    ~DummyDevice() {
        mixerSoundShutdown();
        unsetenv("SDL_AUDIODRIVER");
    }
};

} // namespace

TEST(MixerAudio, PlaysEffectsAndMusicForgetsChannelsTakenByOthersAndShutsDown) {
    DummyDevice device;
    const int missing = mixerSoundOpen(device.dir.file("nothing.ogg").c_str(), 0);
    EXPECT_EQ(missing, 0) << "a missing file leaves the slot empty";
    EXPECT_EQ(mixerSoundPlay(missing), -1);

    const int effect = mixerSoundOpen(device.longSound.c_str(), 0);
    const int other = mixerSoundOpen(device.longSound.c_str(), 0);
    const int music = mixerSoundOpen(device.longSound.c_str(), 1);
    ASSERT_GT(effect, 0);
    ASSERT_GT(other, 0);
    ASSERT_GT(music, 0);
    mixerSoundSetGroup(music, SOUND_GROUP_BGM);

    const int first = mixerSoundPlay(effect);
    ASSERT_GT(first, 0);
    EXPECT_EQ(mixerSoundIsPlaying(first), 1);
    // The mixer channel is given to the next sound once this one stops; the
    // old channel number must not count as playing again.
    Mix_HaltChannel(-1);
    EXPECT_EQ(mixerSoundIsPlaying(first), 0);
    const int second = mixerSoundPlay(other);
    EXPECT_EQ(mixerSoundIsPlaying(second), 1);
    EXPECT_EQ(mixerSoundIsPlaying(first), 0);
    EXPECT_EQ(mixerSoundIsPlaying(0), 0);
    EXPECT_EQ(mixerSoundIsPlaying(-1), 0);

    const int song = mixerSoundPlay(music);
    EXPECT_EQ(mixerSoundIsPlaying(song), 1);
    mixerSoundSetGroupVolume(SOUND_GROUP_BGM, 0.7f);
    EXPECT_EQ(Mix_VolumeMusic(-1), 90);
    mixerSoundSetGroupVolume(SOUND_GROUP_BGM, -0.000000015f);
    EXPECT_EQ(Mix_VolumeMusic(-1), 0) << "just below 0 is silence";
    mixerSoundSetGroupVolume(SOUND_GROUP_BGM, 1.3f);
    EXPECT_EQ(Mix_VolumeMusic(-1), MIX_MAX_VOLUME);
    mixerSoundSetGroupVolume(SOUND_GROUP_FX, 0.5f);
    EXPECT_EQ(Mix_VolumeMusic(-1), MIX_MAX_VOLUME) << "the effects' group leaves the music";

    // Replacing the music: releasing the old stream stops it.
    mixerSoundRelease(music);
    EXPECT_EQ(mixerSoundIsPlaying(song), 0);
    mixerSoundRelease(music);
    EXPECT_EQ(mixerSoundPlay(music), -1);
    const int reopened = mixerSoundOpen(device.shortSound.c_str(), 1);
    EXPECT_EQ(reopened, music) << "released handles are used again";

    // A short effect stops on its own.
    const int blip = mixerSoundOpen(device.shortSound.c_str(), 0);
    ASSERT_GT(blip, 0);
    const int channel = mixerSoundPlay(blip);
    EXPECT_EQ(mixerSoundIsPlaying(channel), 1);
    for (int i = 0; i < 100 && mixerSoundIsPlaying(channel); i++)
        SDL_Delay(10);
    EXPECT_EQ(mixerSoundIsPlaying(channel), 0);

    // After shutdown nothing plays, and every call is harmless.
    const int last = mixerSoundPlay(effect);
    mixerSoundShutdown();
    EXPECT_FALSE(mixerIsOpen());
    EXPECT_EQ(mixerSoundIsPlaying(last), 0);
    EXPECT_EQ(mixerSoundPlay(effect), -1);
    EXPECT_EQ(mixerSoundOpen(device.longSound.c_str(), 0), 0);
    mixerSoundSetGroupVolume(SOUND_GROUP_FX, 0.5f);
    mixerSoundRelease(effect);
}

TEST(MixerAudio, WithoutADeviceEverythingIsSilentAfterOneLine) {
    setenv("SDL_AUDIODRIVER", "no-such-device", 1);
    mixerSoundShutdown();
    std::string why;
    EXPECT_FALSE(mixerOpen(why));
    EXPECT_FALSE(why.empty());
    TempDir dir;
    dir.write("a.wav", sineWav(20));
    mixerSoundShutdown();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(mixerStart());
    const int sound = mixerSoundOpen(dir.file("a.wav").c_str(), 0);
    const int again = mixerSoundOpen(dir.file("a.wav").c_str(), 1);
    mixerSoundSetGroup(sound, SOUND_GROUP_FX);
    const int channel = mixerSoundPlay(sound);
    mixerSoundSetGroupVolume(SOUND_GROUP_BGM, 0.7f);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::vector<int>({sound, again, channel, mixerSoundIsPlaying(channel)}),
              std::vector<int>({0, 0, -1, 0}));
    EXPECT_EQ(err.rfind("wobblewick: no sound device (", 0), 0u) << err;
    EXPECT_EQ(err.find('\n'), err.size() - 1) << "exactly one line: " << err;
    EXPECT_NE(err.find("; playing silently"), std::string::npos);
    mixerSoundShutdown();
    unsetenv("SDL_AUDIODRIVER");
}
#endif
