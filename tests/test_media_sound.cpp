// SPDX-License-Identifier: MIT
// Sound loading and the mixer's voices, heard through the headless mix.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cmath>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "media/common/mixer.h"
#include "media/common/wave.h"
#include "media/sound.h"
#include "media/test_hooks.h"
#include "test_media_samples.h"
#include "test_support.h"

namespace {

using namespace media;
using testing_support::ScopedEnv;

// A ramp that tells every frame apart: left = 100 * (i + 1), right = -left.
std::vector<int16_t> ramp(int frames, int channels) {
    std::vector<int16_t> s;
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c) s.push_back(static_cast<int16_t>(c == 0 ? 100 * (i + 1) : -100 * (i + 1)));
    return s;
}

std::vector<int16_t> mix(size_t frames) {
    std::vector<int16_t> out(frames * 2);
    mixAudio(out.data(), frames);
    return out;
}

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        chooseBackend(Backend::Headless);
        ASSERT_TRUE(initSound());
    }
    void TearDown() override {
        releaseSound();
        chooseBackend(Backend::Sdl);
    }

    static void loadRamp(int number, int frames, const samples::WaveOptions& options = {}) {
        auto wave = samples::makeWave(ramp(frames, options.channels), options);
        ASSERT_TRUE(loadSoundFromMemory(number, wave.data(), wave.size(), 0));
    }
};

TEST_F(SoundTest, WaveVariantsDecodeToTheSameStereoSamples) {
    struct Variant {
        int channels, bits;
        bool extensible, list;
    };
    for (Variant v : {Variant{2, 16, false, false}, Variant{1, 16, false, false}, Variant{2, 24, false, true},
                      Variant{1, 32, true, false}, Variant{2, 16, true, true}}) {
        samples::WaveOptions options;
        options.channels = v.channels;
        options.bits = v.bits;
        options.extensible = v.extensible;
        options.listChunk = v.list;
        loadRamp(1, 50, options);
        ASSERT_EQ(playSound(1, 0, -1), 1);
        auto out = mix(60);
        for (int i = 0; i < 50; ++i) {
            ASSERT_EQ(out[2 * i], 100 * (i + 1)) << v.channels << "ch " << v.bits << " bits, frame " << i;
            ASSERT_EQ(out[2 * i + 1], v.channels == 2 ? -100 * (i + 1) : 100 * (i + 1));
        }
        EXPECT_EQ(out[2 * 55], 0);
        EXPECT_FALSE(soundPlaying(1));
    }
}

TEST_F(SoundTest, MalformedWavesAreRefused) {
    auto good = samples::makeWave(ramp(20, 2));
    auto refused = [](std::vector<uint8_t> data) { return !loadSoundFromMemory(2, data.data(), data.size(), 0); };
    auto noFmt = good;
    noFmt[14] = 'x';  // "fmx "
    EXPECT_TRUE(refused(noFmt));
    auto floatTag = good;
    floatTag[20] = 3;
    EXPECT_TRUE(refused(floatTag));
    auto threeChannels = good;
    threeChannels[22] = 3;
    EXPECT_TRUE(refused(threeChannels));
    auto hugeFmt = good;
    hugeFmt[19] = 0x7F;
    EXPECT_TRUE(refused(hugeFmt));
    EXPECT_TRUE(refused(std::vector<uint8_t>(good.begin(), good.end() - 1)));
    EXPECT_TRUE(refused(std::vector<uint8_t>(good.begin(), good.begin() + 40)));
    EXPECT_FALSE(isSound(2));
    EXPECT_FALSE(refused(good));
}

TEST_F(SoundTest, OtherRatesAreResampledAndTheSizeIsCapped) {
    samples::WaveOptions options;
    options.rate = 22050;
    auto wave = samples::makeWave(ramp(100, 2), options);
    std::vector<int16_t> stereo;
    ASSERT_TRUE(decodeWave(wave.data(), wave.size(), stereo));
    ASSERT_EQ(stereo.size(), 400u);
    EXPECT_EQ(stereo[0], 100);
    EXPECT_EQ(stereo[2], 150);  // halfway between the first two frames
    EXPECT_EQ(stereo[4], 200);

    options.rate = 8000;
    options.channels = 1;
    // 400 s at 8 kHz: 70 MB once at 44.1 kHz stereo, more than the cap.
    wave = samples::makeWave(std::vector<int16_t>(8000 * 400, 1000), options);
    ASSERT_TRUE(decodeWave(wave.data(), wave.size(), stereo));
    EXPECT_EQ(stereo.size() * 2, kMaxDecodedBytes);
}

TEST_F(SoundTest, PlayRestartsLoopsAndStopRewinds) {
    loadRamp(3, 10);
    ASSERT_EQ(playSound(3, 0, -1), 1);
    mix(4);
    // Playing again starts from the beginning at once, not as a second voice;
    // the playback it replaces fades out beside it for a few milliseconds.
    playSound(3, 0, -1);
    auto out = mix(2);
    EXPECT_NEAR(out[0], 100 + 500, 5);
    EXPECT_NEAR(out[2], 200 + 600, 5);
    mix(20);

    playSound(3, kPlayLooping, -1);
    out = mix(25);
    EXPECT_EQ(out[2 * 9], 1000);
    EXPECT_EQ(out[2 * 10], 100);
    EXPECT_EQ(out[2 * 24], 500);
    EXPECT_TRUE(soundPlaying(3));

    stopSound(3);
    EXPECT_FALSE(soundPlaying(3));
    mix(kFadeFrames);
    EXPECT_EQ(mix(3)[0], 0);
    stopSound(3);
    playSound(3, 0, -1);
    EXPECT_EQ(mix(1)[0], 100) << "a stopped sound plays from its beginning";
    mix(20);

    loadRamp(4, 10);
    playSound(3, kPlayLooping, -1);
    playSound(4, kPlayLooping, -1);
    EXPECT_EQ(mix(1)[0], 200);  // two voices add up
    stopSound(-1);
    EXPECT_FALSE(soundPlaying(3));
    EXPECT_FALSE(soundPlaying(4));
    EXPECT_EQ(playSound(9, 0, -1), 0);
}

// The largest difference between neighbouring samples of the left channel.
int largestStep(const std::vector<int16_t>& stereo) {
    int largest = 0;
    for (size_t i = 2; i < stereo.size(); i += 2) largest = std::max(largest, std::abs(stereo[i] - stereo[i - 2]));
    return largest;
}

TEST_F(SoundTest, AStopOrARestartFadesOutInsteadOfEndingInOneSample) {
    // A loud 441 Hz tone: its own largest step is about 1,250.
    std::vector<int16_t> tone;
    for (int i = 0; i < 44100; ++i) {
        auto v = static_cast<int16_t>(std::lround(20000 * std::sin(2 * M_PI * 441 * i / 44100.0)));
        tone.push_back(v);
        tone.push_back(v);
    }
    auto wave = samples::makeWave(tone);
    ASSERT_TRUE(loadSoundFromMemory(5, wave.data(), wave.size(), 0));
    playSound(5, kPlayLooping, -1);
    std::vector<int16_t> played = mix(1025);  // stops near the tone's crest
    const int ownStep = largestStep(played);
    stopSound(5);
    std::vector<int16_t> stopped = played;
    std::vector<int16_t> after = mix(kFadeFrames + 100);
    stopped.insert(stopped.end(), after.begin(), after.end());
    EXPECT_LE(largestStep(stopped), ownStep + 60) << "the stop is no step to silence";
    EXPECT_EQ(after[2 * kFadeFrames], 0) << "and silent within the fade";

    playSound(5, kPlayLooping, -1);
    played = mix(1025);
    playSound(5, kPlayLooping, -1);
    std::vector<int16_t> restarted = played;
    after = mix(kFadeFrames + 100);
    restarted.insert(restarted.end(), after.begin(), after.end());
    EXPECT_LE(largestStep(restarted), 2 * ownStep + 60) << "the old playback fades out beside the new";
    std::printf("largest step of the tone: playing %d, with a stop %d, with a restart %d\n", ownStep,
                largestStep(stopped), largestStep(restarted));
    EXPECT_EQ(after[2 * (kFadeFrames + 50)], tone[2 * (kFadeFrames + 50)]) << "the new one alone, from its start";

    stopSound(5);
    mix(kFadeFrames);

    // The music, a stream, fades out where it is when stopped.
    auto ogg = samples::makeOgg(2, 44100, 44100 / 4, 0.6f);
    ASSERT_TRUE(loadSoundFromMemory(15, ogg.data(), ogg.size(), 0));
    playSound(15, kPlayLooping, -1);
    played = mix(3000);
    const int musicStep = largestStep(played);
    stopSound(15);
    after = mix(kFadeFrames + 100);
    played.insert(played.end(), after.begin(), after.end());
    EXPECT_LE(largestStep(played), musicStep + 60);
    EXPECT_EQ(after[2 * kFadeFrames], 0);
    playSound(15, kPlayLooping, -1);
    std::vector<int16_t> again = mix(2000);
    EXPECT_EQ(std::vector<int16_t>(played.begin(), played.begin() + 200),
              std::vector<int16_t>(again.begin(), again.begin() + 200))
        << "played again from its beginning";
}

TEST_F(SoundTest, VolumeFollowsTheAttenuationTableAndStaysWithTheSound) {
    EXPECT_EQ(volumeAttenuation(100), 0);
    EXPECT_EQ(volumeAttenuation(50), -603);
    EXPECT_EQ(volumeAttenuation(1), -4000);
    EXPECT_EQ(volumeAttenuation(0), -10000);
    EXPECT_EQ(volumeAttenuation(150), 0);

    auto wave = samples::makeWave(std::vector<int16_t>(200, 20000));
    ASSERT_TRUE(loadSoundFromMemory(5, wave.data(), wave.size(), 0));
    ASSERT_TRUE(loadSoundFromMemory(6, wave.data(), wave.size(), 0));
    setSoundVolume(5, 50);
    playSound(5, 0, -1);
    EXPECT_NEAR(mix(1)[0], 20000 * 0.4993, 3);  // 10^(-6.03/20)
    setSoundVolume(5, 150);
    EXPECT_EQ(soundVolume(5), 100);
    EXPECT_EQ(mix(1)[0], 20000);
    setSoundVolume(5, -5);
    EXPECT_EQ(soundVolume(5), 0);
    EXPECT_EQ(mix(1)[0], 0);

    setSoundVolume(-1, 10);
    EXPECT_EQ(soundVolume(5), 10);
    EXPECT_EQ(soundVolume(6), 10);
    playSound(6, 0, 65);
    EXPECT_EQ(soundVolume(6), 65);
    // Playing a number that holds no sound sets no volume, not even -1's "every sound".
    EXPECT_EQ(playSound(-1, 0, 30), 0);
    EXPECT_EQ(playSound(12, 0, 30), 0);
    EXPECT_EQ(soundVolume(5), 10);
    EXPECT_EQ(soundVolume(6), 65);
    // Reloading gives back full volume.
    ASSERT_TRUE(loadSoundFromMemory(5, wave.data(), wave.size(), 0));
    EXPECT_EQ(soundVolume(5), 100);
}

TEST_F(SoundTest, SoundLogRecordsCalls) {
    std::vector<SoundCall> log;
    setSoundLog(&log);
    playSound(7, 1, 65);
    stopSound(-1);
    setSoundLog(nullptr);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].kind, SoundCall::Volume);
    EXPECT_EQ(log[0].value, 65);
    EXPECT_EQ(log[1].kind, SoundCall::Play);
    EXPECT_EQ(log[1].value, 1);
    EXPECT_EQ(log[2].number, -1);
}

TEST_F(SoundTest, OggStreamsLoopWithoutEndingAndStopsWhenNotLooping) {
    const int frames = 44100 / 4;
    auto ogg = samples::makeOgg(2, 44100, frames);
    ASSERT_TRUE(loadSoundFromMemory(15, ogg.data(), ogg.size(), 0));
    playSound(15, kPlayLooping, -1);
    auto first = mix(frames);
    auto again = mix(frames);
    EXPECT_TRUE(soundPlaying(15));
    // The second time round is the same decode: no gap, no offset.
    for (size_t i = 0; i < 2000; ++i) ASSERT_EQ(first[i], again[i]) << i;
    size_t loud = 0;
    for (int16_t s : again) loud += std::abs(s) > 1000;
    EXPECT_GT(loud, again.size() / 2);

    playSound(15, 0, -1);
    mix(frames + 100);
    EXPECT_FALSE(soundPlaying(15));
    auto mono = samples::makeOgg(1, 44100, 4000);
    ASSERT_TRUE(loadSoundFromMemory(16, mono.data(), mono.size(), 0));
    playSound(16, 0, -1);
    auto out = mix(3000);
    EXPECT_EQ(out[2 * 2000], out[2 * 2000 + 1]);
}

TEST_F(SoundTest, OggAtAnotherRateIsDecodedAndResampled) {
    auto ogg = samples::makeOgg(1, 22050, 2205);
    ASSERT_TRUE(loadSoundFromMemory(17, ogg.data(), ogg.size(), 0));
    playSound(17, 0, -1);
    mix(4400);
    EXPECT_TRUE(soundPlaying(17));
    mix(20);
    EXPECT_FALSE(soundPlaying(17));
}

TEST_F(SoundTest, TruncatedOggIsRefusedOrEndsEarlyWithoutHarm) {
    auto ogg = samples::makeOgg(2, 44100, 44100);
    EXPECT_FALSE(loadSoundFromMemory(18, ogg.data(), 100, 0));
    EXPECT_FALSE(loadSoundFromMemory(18, ogg.data(), 0, 0));
    std::vector<uint8_t> half(ogg.begin(), ogg.begin() + static_cast<long>(ogg.size() / 2));
    if (loadSoundFromMemory(18, half.data(), half.size(), 0)) {
        playSound(18, kPlayLooping, -1);
        mix(44100 * 2);
        stopSound(18);
    }
}

TEST(SoundDeviceTest, DummyDevicePlaysSoundsToTheirEnd) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    chooseBackend(Backend::Sdl);
    ASSERT_TRUE(initSound());
    if (!audioDeviceOpen()) GTEST_SKIP() << "no audio driver";
    auto wave = samples::makeWave(std::vector<int16_t>(2 * 4410, 1000));
    ASSERT_TRUE(loadSoundFromMemory(1, wave.data(), wave.size(), 0));
    playSound(1, 0, -1);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (soundPlaying(1) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(soundPlaying(1));
    releaseSound();
}

// The sound server sees a stream of Quandrite's with the game role; a role the
// player set in the environment stays.
TEST(SoundDeviceTest, TheStreamIsNamedAndHasTheGameRole) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    for (const char* chosen : {static_cast<const char*>(nullptr), "music"}) {
        ScopedEnv role("SDL_AUDIO_DEVICE_STREAM_ROLE", chosen);
        chooseBackend(Backend::Sdl);
        ASSERT_TRUE(initSound());
        bool opened = audioDeviceOpen();
        const char* name = SDL_GetHint(SDL_HINT_APP_NAME);
        const char* given = SDL_GetHint(SDL_HINT_AUDIO_DEVICE_STREAM_ROLE);
        releaseSound();
        if (!opened) GTEST_SKIP() << "no audio driver";
        EXPECT_STREQ(name, "Quandrite");
        EXPECT_STREQ(given, chosen ? chosen : "game");
    }
}

// The disk driver writes what the device would play: the mix itself.
constexpr size_t kWanted = 44100;  // samples: a quarter second of stereo

TEST(SoundDeviceTest, DiskDriverReceivesTheMix) {
    testing_support::ScratchDir scratch;
    std::string path = scratch.path() + "/mix.raw";
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv file("SDL_DISKAUDIOFILE", path.c_str());
    chooseBackend(Backend::Sdl);
    ASSERT_TRUE(initSound());
    bool opened = audioDeviceOpen();
    if (opened) {
        auto wave = samples::makeWave(std::vector<int16_t>(2 * 44100, 1234));
        ASSERT_TRUE(loadSoundFromMemory(1, wave.data(), wave.size(), 0));
        setSoundVolume(1, 50);
        playSound(1, kPlayLooping, -1);
        // The driver writes in real time: wait until it has written what is read below.
        auto written = [&path] {
            std::error_code error;
            auto size = std::filesystem::file_size(path, error);
            return error ? 0 : size;
        };
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (written() < kWanted * sizeof(int16_t) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    releaseSound();
    if (!opened) GTEST_SKIP() << "no disk audio driver";

    std::FILE* raw = std::fopen(path.c_str(), "rb");
    ASSERT_NE(raw, nullptr);
    std::vector<int16_t> written(kWanted);
    size_t count = std::fread(written.data(), 2, written.size(), raw);
    std::fclose(raw);
    int expected = (1234 * gainForPercent(50)) >> 15;
    size_t matching = 0;
    for (size_t i = 0; i < count; ++i) matching += written[i] == expected;
    EXPECT_GT(matching, 2000u);
    for (size_t i = 0; i < count; ++i) ASSERT_TRUE(written[i] == 0 || written[i] == expected) << i;
}

}  // namespace
