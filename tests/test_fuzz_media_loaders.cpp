// SPDX-License-Identifier: MIT
// Mutated images and sounds fed to the loaders: they must refuse or load,
// never crash or read outside the data (run under ASan and UBSan).
#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "media/screen.h"
#include "media/sound.h"
#include "media/test_hooks.h"
#include "test_media_samples.h"

namespace {

using namespace media;
using samples::Bytes;

constexpr auto kBudgetPerFormat = std::chrono::milliseconds(900);
constexpr int kMaxRounds = 100000;
// Run whatever the time budget, so that a busy machine still feeds inputs.
constexpr int kMinRounds = 200;

Bytes mutate(const Bytes& original, std::mt19937& random) {
    Bytes data = original;
    auto pick = [&](size_t n) { return static_cast<size_t>(random() % std::max<size_t>(n, 1)); };
    int edits = 1 + static_cast<int>(random() % 4);
    for (int e = 0; e < edits && !data.empty(); ++e) {
        switch (random() % 5) {
        case 0:  // bit flips
            for (int i = 0; i < 1 + static_cast<int>(random() % 8); ++i)
                data[pick(data.size())] ^= static_cast<uint8_t>(1u << (random() % 8));
            break;
        case 1:  // truncation
            data.resize(pick(data.size()));
            break;
        case 2: {  // inserted bytes
            size_t at = pick(data.size());
            Bytes extra(1 + pick(16));
            for (auto& b : extra) b = static_cast<uint8_t>(random());
            data.insert(data.begin() + static_cast<long>(at), extra.begin(), extra.end());
            break;
        }
        case 3: {  // a length or size field made huge, zero or odd
            if (data.size() < 4) break;
            size_t at = pick(data.size() - 3);
            static const uint32_t values[] = {0u, 1u, 0x7FFFFFFFu, 0xFFFFFFFFu, 0xFFFFu, 40u};
            uint32_t v = values[random() % 6];
            std::memcpy(data.data() + at, &v, 4);
            break;
        }
        default: {  // a byte run overwritten with random values
            size_t at = pick(data.size());
            for (size_t i = at; i < std::min(data.size(), at + 1 + pick(8)); ++i)
                data[i] = static_cast<uint8_t>(random());
            break;
        }
        }
    }
    return data;
}

// Runs `feed` on mutations of every seed until the time budget is spent.
template <typename Feed>
int fuzz(const std::vector<Bytes>& seeds, uint32_t seed, Feed feed) {
    std::mt19937 random(seed);
    auto end = std::chrono::steady_clock::now() + kBudgetPerFormat;
    int accepted = 0;
    for (int round = 0; round < kMaxRounds && (round < kMinRounds || std::chrono::steady_clock::now() < end); ++round) {
        Bytes data = mutate(seeds[static_cast<size_t>(round) % seeds.size()], random);
        // An exact-size copy, so that any read past the end is caught.
        std::unique_ptr<uint8_t[]> exact(new uint8_t[data.size() + 1]);
        std::memcpy(exact.get(), data.data(), data.size());
        accepted += feed(exact.get(), data.size()) ? 1 : 0;
    }
    return accepted;
}

class FuzzMediaLoaders : public ::testing::Test {
protected:
    void SetUp() override {
        chooseBackend(Backend::Headless);
        initSprites();
        initSound();
    }
    void TearDown() override {
        releaseSound();
        shutdownSprites();
    }

    static bool feedImage(const uint8_t* data, size_t length) {
        if (!loadSpriteFromMemory(1, data, length)) return false;
        clearScreen(0);
        displaySprite(1, -3, -2, 128);
        displaySpriteTinted(1, 1000, 600, 255, 0xFF);
        return true;
    }

    static bool feedSound(const uint8_t* data, size_t length) {
        if (!loadSoundFromMemory(1, data, length, 0)) return false;
        playSound(1, kPlayLooping, -1);
        int16_t out[2 * 2048];
        mixAudio(out, 2048);
        return true;
    }
};

TEST_F(FuzzMediaLoaders, Png) {
    std::vector<uint32_t> argb(12 * 7);
    for (size_t i = 0; i < argb.size(); ++i) argb[i] = static_cast<uint32_t>(i * 0x01030507u) | 0xFF000000u;
    samples::PngOptions palette;
    palette.colourType = PNG_COLOR_TYPE_PALETTE;
    palette.palette = {{0, 0, 0}, {255, 0, 0}};
    palette.paletteAlpha = {0};
    palette.interlaced = true;
    std::vector<Bytes> rows(5, Bytes{0, 1, 1, 0, 1});
    std::vector<Bytes> seeds{samples::makeRgbaPng(12, 7, argb), samples::makePng(5, 5, rows, palette)};
    for (const Bytes& s : seeds) ASSERT_TRUE(feedImage(s.data(), s.size()));
    int accepted = fuzz(seeds, 1, feedImage);
    EXPECT_GT(accepted, 0);
}

TEST_F(FuzzMediaLoaders, Jpeg) {
    std::vector<uint32_t> rgb(24 * 16);
    for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<uint32_t>(i * 0x00020305u);
    std::vector<Bytes> seeds{samples::makeJpeg(24, 16, rgb), samples::makeJpeg(9, 9, rgb, true)};
    for (const Bytes& s : seeds) ASSERT_TRUE(feedImage(s.data(), s.size()));
    int accepted = fuzz(seeds, 2, feedImage);
    EXPECT_GT(accepted, 0);
}

TEST_F(FuzzMediaLoaders, Wave) {
    std::vector<int16_t> tone(2 * 300);
    for (size_t i = 0; i < tone.size(); ++i) tone[i] = static_cast<int16_t>(i * 97);
    samples::WaveOptions wide;
    wide.bits = 24;
    wide.extensible = true;
    wide.listChunk = true;
    samples::WaveOptions mono;
    mono.channels = 1;
    mono.rate = 22050;
    std::vector<Bytes> seeds{samples::makeWave(tone), samples::makeWave(tone, wide), samples::makeWave(tone, mono)};
    for (const Bytes& s : seeds) ASSERT_TRUE(feedSound(s.data(), s.size()));
    int accepted = fuzz(seeds, 3, feedSound);
    EXPECT_GT(accepted, 0);
}

TEST_F(FuzzMediaLoaders, OggVorbis) {
    std::vector<Bytes> seeds{samples::makeOgg(2, 44100, 3000), samples::makeOgg(1, 22050, 1500)};
    for (const Bytes& s : seeds) ASSERT_TRUE(feedSound(s.data(), s.size()));
    int accepted = fuzz(seeds, 4, feedSound);
    EXPECT_GT(accepted, 0);
}

}  // namespace
