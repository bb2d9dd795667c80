#include "app/states.h"
#include "input/keyboard.h"
#include "input/timers.h"
#include "sound/sound.h"
#include "test_support.h"
#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// A headless game with the sound system started, sound on unless asked.
struct SoundGame {
    HeadlessGame game;
    explicit SoundGame(int off = 0, const std::string &script = "") : game(script) {
        soundOff = off;
        initSound();
    }
    ~SoundGame() {
        shutdownSound();
        soundOff = 0;
    }
};

std::vector<std::pair<int, float>> volumesSince(size_t from) {
    std::vector<std::pair<int, float>> volumes;
    for (size_t i = from; i < headless.soundCalls.size(); i++)
        if (headless.soundCalls[i].what == "volume")
            volumes.push_back({headless.soundCalls[i].sound, headless.soundCalls[i].volume});
    return volumes;
}

std::vector<std::string> callsSince(size_t from) {
    std::vector<std::string> calls;
    for (size_t i = from; i < headless.soundCalls.size(); i++)
        calls.push_back(headless.soundCalls[i].what);
    return calls;
}

// The file the music slot holds now.
std::string musicPath() {
    return headless.sounds[soundTable[SOUND_MUSIC] - 1];
}

int countCalls(const char *what) {
    return static_cast<int>(std::ranges::count(callsSince(0), what));
}

} // namespace

TEST(Sound, StartUpOpensEverySoundInItsGroupAndStartsTheMenuMusicQuieter) {
    SoundGame sound;
    int music = 0;
    for (const HeadlessSoundCall &c : headless.soundCalls)
        music += c.what == "group" && c.volume == static_cast<float>(SOUND_GROUP_BGM);
    EXPECT_EQ(countCalls("open") + countCalls("open-loop"), SOUND_COUNT);
    EXPECT_EQ(countCalls("open-loop"), 1) << "only the music loops";
    EXPECT_EQ(music, 1) << "only the music is in the music group";
    EXPECT_TRUE(musicPath().ends_with("data/music/Menu.ogg"));
    // Then the music plays at 0.7; the effects keep the host's own volume of 1.0.
    EXPECT_EQ(soundPlays(), std::vector<std::string>{"Menu.ogg"});
    EXPECT_EQ(volumesSince(0), (std::vector<std::pair<int, float>>{{SOUND_GROUP_BGM, 0.7f}}));
    EXPECT_EQ(soundGroupVolume(SOUND_GROUP_FX), 1.0f);
}

TEST(Sound, VolumeStepsAreFloatStepsThatStopAtTheEnds) {
    SoundGame sound;
    const float up[] = {0.8f, 0.90000004f, 1.0f}; // the top exactly 1.0, not a hair below
    for (float expected : up) {
        volumeUp();
        EXPECT_EQ(soundGroupVolume(SOUND_GROUP_BGM), expected);
    }
    size_t before = headless.soundCalls.size();
    volumeUp();
    EXPECT_EQ(soundGroupVolume(SOUND_GROUP_BGM), 1.0f);
    EXPECT_EQ(soundGroupVolume(SOUND_GROUP_FX), 1.0f);
    EXPECT_EQ(soundPlays(before), std::vector<std::string>{"Vup.ogg"})
        << "at the top a step only plays its feedback sound";
    EXPECT_TRUE(volumesSince(before).empty());

    // Down from 0.7 (a fresh start): seven steps end just below 0, and stay.
    shutdownSound();
    initSound();
    for (int i = 0; i < 7; i++)
        volumeDown();
    const float bottom = soundGroupVolume(SOUND_GROUP_BGM);
    EXPECT_LT(bottom, 0.0f);
    EXPECT_GT(bottom, -0.00000002f);
    before = headless.soundCalls.size();
    volumeDown();
    EXPECT_EQ(soundGroupVolume(SOUND_GROUP_BGM), bottom);
    // The host hears the value as it is; clamping is its business.
    EXPECT_GT(std::ranges::count(volumesSince(0), std::make_pair(int(SOUND_GROUP_BGM), bottom)), 0);
    // The effects went down from 1.0 alongside, ten steps to reach the bottom.
    for (int i = 0; i < 3; i++)
        volumeDown();
    EXPECT_LE(soundGroupVolume(SOUND_GROUP_FX), 0.0f);
    EXPECT_GT(soundGroupVolume(SOUND_GROUP_FX), -0.05f);
}

TEST(Sound, VolumeKeysPlayTheirFeedbackTwiceAndStepOnce) {
    SoundGame sound(0, "10 down Z\n30 up Z\n50 down X\n70 up X\n");
    // Two polls see a key go down and up; then the keys are acted on.
    auto pressAndLetGo = [] {
        for (int i = 0; i < 2; i++) {
            idleFor(20);
            pollKeyboard();
        }
        const size_t before = headless.soundCalls.size();
        volumeKeys();
        return before;
    };
    size_t before = pressAndLetGo();
    EXPECT_EQ(soundPlays(before), (std::vector<std::string>{"Vdown.ogg", "Vdown.ogg"}));
    EXPECT_EQ(volumesSince(before), (std::vector<std::pair<int, float>>{
                                        {SOUND_GROUP_BGM, 0.59999996f}, {SOUND_GROUP_FX, 0.9f}}))
        << "music first, then the effects";
    before = pressAndLetGo();
    EXPECT_EQ(soundPlays(before), (std::vector<std::string>{"Vup.ogg", "Vup.ogg"}));
    EXPECT_EQ(soundGroupVolume(SOUND_GROUP_FX), 1.0f);
}

TEST(Sound, SoundOffOpensEverythingPlaysNothingAndStillChangesVolume) {
    SoundGame sound(1);
    EXPECT_EQ(countCalls("open") + countCalls("open-loop"), 10);
    playSound(SOUND_JUMP);
    playMusic("Mystery");
    volumeUp();
    volumeDown();
    volumeDown();
    EXPECT_EQ(countCalls("play"), 0);
    EXPECT_EQ(countCalls("open-loop"), 2) << "the new music is still opened";
    EXPECT_EQ(soundGroupVolume(SOUND_GROUP_BGM), 0.59999996f);
    EXPECT_FLOAT_EQ(soundGroupVolume(SOUND_GROUP_FX), 0.8f);
    // Start-up's 0.7, one step up (the effects are already at the top), two down.
    EXPECT_EQ(volumesSince(0).size(), 1u + 1u + 2u + 2u);
    EXPECT_EQ(soundIsPlaying(SOUND_SHAKE), 0);
}

TEST(Sound, AskingForTheSameMusicStartsItAgainFromTheTop) {
    SoundGame sound;
    size_t before = headless.soundCalls.size();
    playMusic("Mystery");
    const int first = soundTable[SOUND_MUSIC];
    playMusic("Mystery");
    EXPECT_EQ(callsSince(before),
              (std::vector<std::string>{"release", "open-loop", "group", "play", "release",
                                        "open-loop", "group", "play"}));
    EXPECT_EQ(headless.soundCalls[before + 4].sound, first) << "the old stream goes first";
    EXPECT_NE(soundTable[SOUND_MUSIC], first);
    EXPECT_TRUE(headless.soundCalls.back().path.ends_with("data/music/Mystery.ogg"));
}

TEST(Sound, MusicNamesLongerThanThePathBufferFindNoFile) {
    SoundGame sound;
    const std::string fits(24, 'm');
    playMusic(fits.c_str());
    EXPECT_TRUE(musicPath().ends_with("data/music/" + fits + ".ogg"));
    playMusic(std::string(40, 'm').c_str());
    EXPECT_TRUE(musicPath().ends_with("data/music/" + std::string(28, 'm'))) << musicPath();
    playMusic(nullptr);
    EXPECT_TRUE(musicPath().ends_with("data/music/.ogg"));
}

TEST(Sound, ASoundPlaysOnItsOwnChannelUntilItEnds) {
    SoundGame sound;
    playSound(SOUND_SHAKE);
    idleFor(100);
    playSound(SOUND_CRASH);
    playSound(SOUND_JUMP); // other sounds do not take Shake's channel
    EXPECT_EQ(soundIsPlaying(SOUND_SHAKE), 1);
    idleFor(HEADLESS_SOUND_MS);
    EXPECT_EQ(soundIsPlaying(SOUND_SHAKE) + soundIsPlaying(-1) + soundIsPlaying(SOUND_COUNT), 0);
}

TEST(Sound, BeforeStartUpAndAfterTheFarewellNothingPlays) {
    {
        HeadlessGame game;
        playSound(SOUND_JUMP);
        playMusic("Menu");
        volumeDown();
        playSound(1000);
        EXPECT_TRUE(headless.soundCalls.empty());
    }
    SoundGame sound;
    const int music = soundTable[SOUND_MUSIC];
    const int jump = soundTable[SOUND_JUMP];
    setSoundGroupVolume(SOUND_GROUP_BGM, soundGroupVolume(SOUND_GROUP_BGM) - 0.15f);
    size_t before = headless.soundCalls.size();
    shutdownSound();
    ASSERT_EQ(callsSince(before), (std::vector<std::string>{"release", "release", "shutdown"}));
    EXPECT_EQ(
        std::make_pair(headless.soundCalls[before].sound, headless.soundCalls[before + 1].sound),
        std::make_pair(music, jump));
    before = headless.soundCalls.size();
    playSound(SOUND_LOSE);
    playMusic("Menu");
    volumeUp();
    volumeKeys();
    shutdownSound();
    EXPECT_EQ(headless.soundCalls.size(), before);
    EXPECT_EQ(soundIsPlaying(SOUND_SHAKE), 0);
}
