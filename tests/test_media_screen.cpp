// SPDX-License-Identifier: MIT
// Sprites composed on the back buffer, read back pixel by pixel (headless).
#include <gtest/gtest.h>

#include "media/drawing.h"
#include "media/screen.h"
#include "media/test_hooks.h"
#include "media/window.h"
#include "test_media_samples.h"

namespace {

using namespace media;

uint32_t pixelAt(int x, int y) { return screenPixels()[y * kScreenWidth + x] & 0xFFFFFFu; }

int channel(uint32_t rgb, int shift) { return static_cast<int>((rgb >> shift) & 0xFF); }

class ScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        chooseBackend(Backend::Headless);
        setFramePacing(false);
        startWindows();
        initSprites();
        Window* window = openWindow(0, -1, -1, kScreenWidth, kScreenHeight, " Quandrite", kWindowCentred);
        ASSERT_EQ(openWindowedScreen(window, 0, 0, kScreenWidth, kScreenHeight, 1, 0, 0), 1);
        clearScreen(0);
    }
    void TearDown() override {
        closeScreen();
        shutdownSprites();
        closeAllWindows();
    }

    // A sprite with white pixels at the given places.
    static void makeGlyph(int number, int width, int height, const std::vector<std::pair<int, int>>& points) {
        ASSERT_TRUE(createSprite(number, width, height));
        ASSERT_EQ(startDrawing(spriteOutput(number)), 1);
        for (auto [x, y] : points) plot(x, y);
        stopDrawing();
    }
};

TEST_F(ScreenTest, TintedGlyphShowsExactlyItsPixelsInTheTint) {
    std::vector<std::pair<int, int>> points{{0, 0}, {2, 1}, {5, 10}, {3, 4}};
    makeGlyph(20, 6, 11, points);
    clearScreen(0x102030);
    EXPECT_EQ(displaySpriteTinted(20, 100, 50, 255, 255), 1);
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 6; ++x) {
            bool set = std::find(points.begin(), points.end(), std::make_pair(x, y)) != points.end();
            // Game colour 0x102030 is r=0x30 g=0x20 b=0x10.
            EXPECT_EQ(pixelAt(100 + x, 50 + y), set ? 0xFF0000u : 0x302010u) << x << "," << y;
        }
    EXPECT_EQ(pixelAt(99, 50), 0x302010u);
    EXPECT_EQ(pixelAt(106, 50), 0x302010u);
}

TEST_F(ScreenTest, BlackTintIsAColourAndNoTintKeepsTheSpriteColours) {
    makeGlyph(21, 2, 1, {{0, 0}, {1, 0}});
    clearScreen(rgb(0, 0, 255));
    displaySpriteTinted(21, 10, 10, 255, 0);
    EXPECT_EQ(pixelAt(10, 10), 0x000000u);
    EXPECT_EQ(pixelAt(11, 10), 0x000000u);
    displaySpriteTinted(21, 20, 10, 255, kNoTint);
    EXPECT_EQ(pixelAt(20, 10), 0xFFFFFFu);
    EXPECT_EQ(pixelAt(22, 10), 0x0000FFu);
}

TEST_F(ScreenTest, IntensityBlendsByOpacity) {
    makeGlyph(22, 1, 1, {{0, 0}});
    clearScreen(0);
    displaySprite(22, 5, 5, 128);
    for (int shift : {0, 8, 16}) EXPECT_NEAR(channel(pixelAt(5, 5), shift), 128, 2);
    // Tint over a coloured background: 87/255 of red over blue.
    clearScreen(rgb(0, 0, 200));
    displaySpriteTinted(22, 6, 6, 87, rgb(255, 0, 0));
    uint32_t p = pixelAt(6, 6);
    EXPECT_NEAR(channel(p, 16), 87, 1);
    EXPECT_NEAR(channel(p, 0), 200 * (255 - 87) / 255, 1);
    // Intensity 0 leaves the screen untouched.
    displaySprite(22, 7, 7, 0);
    EXPECT_EQ(pixelAt(7, 7), 0x0000C8u);
}

TEST_F(ScreenTest, BlendRoundsToNearestForEveryOpacityOnWholeSpans) {
    // Nine pixels wide: whole groups of pixels and a remainder are blended.
    ASSERT_TRUE(createSprite(23, 9, 1));
    ASSERT_EQ(startDrawing(spriteOutput(23)), 1);
    box(0, 0, 9, 1, rgb(255, 40, 1));
    stopDrawing();
    auto expected = [](int source, int alpha, int background) {
        return (source * alpha + background * (255 - alpha) + 127) / 255;
    };
    for (int alpha = 1; alpha < 255; alpha += 6)
        for (int background : {0, 1, 77, 128, 254, 255}) {
            clearScreen(rgb(background, background, background));
            displaySprite(23, 0, 0, alpha);
            displaySpriteTinted(23, 0, 1, alpha, rgb(3, 200, 255));
            for (int x = 0; x < 9; ++x) {
                uint32_t own = pixelAt(x, 0), tinted = pixelAt(x, 1);
                ASSERT_EQ(channel(own, 16), expected(255, alpha, background)) << alpha << " over " << background;
                ASSERT_EQ(channel(own, 8), expected(40, alpha, background));
                ASSERT_EQ(channel(own, 0), expected(1, alpha, background));
                ASSERT_EQ(channel(tinted, 16), expected(3, alpha, background));
                ASSERT_EQ(channel(tinted, 8), expected(200, alpha, background));
                ASSERT_EQ(channel(tinted, 0), expected(255, alpha, background));
            }
        }
}

TEST_F(ScreenTest, OffScreenSpritesReturnZeroAndEdgeOverlapsAreClipped) {
    makeGlyph(24, 4, 4, {{0, 0}, {3, 0}, {0, 3}, {3, 3}});
    clearScreen(0);
    EXPECT_EQ(displaySprite(24, -4, 0, 255), 0);
    EXPECT_EQ(displaySprite(24, kScreenWidth, 0, 255), 0);
    EXPECT_EQ(displaySprite(24, 0, -4, 255), 0);
    EXPECT_EQ(displaySprite(24, 0, kScreenHeight, 255), 0);
    EXPECT_EQ(displaySprite(24, 2147483000, 0, 255), 0);
    EXPECT_EQ(displaySprite(99, 0, 0, 255), 0);
    for (int i = 0; i < kScreenWidth * kScreenHeight; ++i) ASSERT_EQ(screenPixels()[i], 0xFF000000u);

    EXPECT_EQ(displaySprite(24, -3, -3, 255), 1);
    EXPECT_EQ(pixelAt(0, 0), 0xFFFFFFu);
    EXPECT_EQ(displaySprite(24, kScreenWidth - 1, kScreenHeight - 1, 255), 1);
    EXPECT_EQ(pixelAt(kScreenWidth - 1, kScreenHeight - 1), 0xFFFFFFu);
    EXPECT_EQ(pixelAt(kScreenWidth - 2, kScreenHeight - 1), 0u);
}

TEST_F(ScreenTest, LoadedPngBlackIsTransparentWhateverItsAlpha) {
    // Opaque black, transparent black, half-transparent red, transparent green.
    auto png = samples::makeRgbaPng(4, 1, {0xFF000000u, 0x00000000u, 0x80FF0000u, 0x0000FF00u});
    ASSERT_TRUE(loadSpriteFromMemory(30, png.data(), png.size()));
    EXPECT_EQ(spriteWidth(30), 4);
    EXPECT_EQ(spriteHeight(30), 1);
    clearScreen(rgb(0, 0, 255));
    displaySprite(30, 0, 0, 255);
    EXPECT_EQ(pixelAt(0, 0), 0x0000FFu);
    EXPECT_EQ(pixelAt(1, 0), 0x0000FFu);
    EXPECT_EQ(pixelAt(2, 0), 0xFF0000u);
    EXPECT_EQ(pixelAt(3, 0), 0x00FF00u);
}

TEST_F(ScreenTest, LoadingUnderANumberInUseReplacesTheSprite) {
    auto small = samples::makeRgbaPng(2, 2, std::vector<uint32_t>(4, 0xFFFF0000u));
    auto large = samples::makeRgbaPng(3, 5, std::vector<uint32_t>(15, 0xFF00FF00u));
    ASSERT_TRUE(loadSpriteFromMemory(31, small.data(), small.size()));
    ASSERT_TRUE(loadSpriteFromMemory(31, large.data(), large.size()));
    EXPECT_EQ(spriteWidth(31), 3);
    EXPECT_EQ(spriteHeight(31), 5);
    displaySprite(31, 0, 0, 255);
    EXPECT_EQ(pixelAt(0, 0), 0x00FF00u);
    // A failed load leaves no sprite behind under a new number...
    auto broken = large;
    broken.resize(broken.size() / 2);
    EXPECT_FALSE(loadSpriteFromMemory(32, broken.data(), broken.size()));
    EXPECT_FALSE(isSprite(32));
    EXPECT_EQ(spriteWidth(32), 0);
}

TEST_F(ScreenTest, ReloadingTheSameBytesSharesPixelsUntilDrawnOn) {
    auto png = samples::makeRgbaPng(2, 1, {0xFFFF0000u, 0xFFFF0000u});
    ASSERT_TRUE(loadSpriteFromMemory(33, png.data(), png.size()));
    ASSERT_TRUE(loadSpriteFromMemory(34, png.data(), png.size()));
    ASSERT_EQ(startDrawing(spriteOutput(34)), 1);
    box(0, 0, 1, 1, 0);
    stopDrawing();
    clearScreen(rgb(0, 0, 255));
    displaySprite(33, 0, 0, 255);
    displaySprite(34, 0, 1, 255);
    EXPECT_EQ(pixelAt(0, 0), 0xFF0000u);
    EXPECT_EQ(pixelAt(0, 1), 0x0000FFu);
    EXPECT_EQ(pixelAt(1, 1), 0xFF0000u);
    // Same address and length but other bytes: not mistaken for the cached
    // image (padding after the end of a PNG is ignored by the decoder).
    auto green = samples::makeRgbaPng(2, 1, {0xFF00FF00u, 0xFF00FF00u});
    std::vector<uint8_t> buffer(std::max(png.size(), green.size()) + 8, 0);
    std::copy(png.begin(), png.end(), buffer.begin());
    ASSERT_TRUE(loadSpriteFromMemory(35, buffer.data(), buffer.size()));
    std::fill(buffer.begin(), buffer.end(), 0);
    std::copy(green.begin(), green.end(), buffer.begin());
    ASSERT_TRUE(loadSpriteFromMemory(36, buffer.data(), buffer.size()));
    displaySprite(35, 0, 2, 255);
    displaySprite(36, 0, 3, 255);
    EXPECT_EQ(pixelAt(0, 2), 0xFF0000u);
    EXPECT_EQ(pixelAt(0, 3), 0x00FF00u);
}

TEST_F(ScreenTest, SpritesCollideOnlyWhenTheyOverlap) {
    ASSERT_TRUE(createSprite(40, 10, 8));
    ASSERT_TRUE(createSprite(41, 4, 4));
    EXPECT_EQ(spritesCollide(40, 0, 0, 41, 10, 0), 0);
    EXPECT_EQ(spritesCollide(40, 0, 0, 41, 9, 0), 1);
    EXPECT_EQ(spritesCollide(40, 0, 0, 41, -4, 0), 0);
    EXPECT_EQ(spritesCollide(40, 0, 0, 41, -3, 7), 1);
    EXPECT_EQ(spritesCollide(40, 0, 0, 41, 0, 8), 0);
    EXPECT_EQ(spritesCollide(40, 0, 0, 41, 0, -4), 0);
    EXPECT_EQ(spritesCollide(40, 0, 0, 99, 0, 0), 0);
}

TEST_F(ScreenTest, ASizedSpriteCollidesAsAPictureButShowsNothing) {
    ASSERT_TRUE(createSizedSprite(42, 1920, 1440));
    ASSERT_TRUE(createSprite(41, 4, 4));
    EXPECT_TRUE(isSprite(42));
    EXPECT_EQ(spriteWidth(42), 1920);
    EXPECT_EQ(spriteHeight(42), 1440);
    EXPECT_EQ(spritesCollide(42, 0, 0, 41, 1919, 1439), 1);
    EXPECT_EQ(spritesCollide(42, 0, 0, 41, 1920, 0), 0);
    EXPECT_EQ(spritesCollide(41, 1916, 0, 42, 0, 0), 1);
    EXPECT_FALSE(createSizedSprite(43, 0, 5));

    clearScreen(0x102030);
    EXPECT_EQ(displaySprite(42, 0, 0, 255), 0);
    EXPECT_EQ(displaySpriteTinted(42, -5, -5, 128, 255), 0);
    for (int i = 0; i < kScreenWidth * kScreenHeight; ++i) ASSERT_EQ(screenPixels()[i] & 0xFFFFFFu, 0x302010u) << i;
    EXPECT_EQ(startDrawing(spriteOutput(42)), 0) << "no pixels to draw on";

    // Made again as a picture, it is one.
    ASSERT_TRUE(createSprite(42, 2, 2));
    ASSERT_EQ(startDrawing(spriteOutput(42)), 1);
    plot(0, 0);
    stopDrawing();
    EXPECT_EQ(displaySprite(42, 10, 10, 255), 1);
    EXPECT_EQ(pixelAt(10, 10), 0xFFFFFFu);
}

TEST_F(ScreenTest, JpegLoadsAndTruncatedJpegIsRefused) {
    std::vector<uint32_t> rgb(16 * 16, 0xC08040u);
    auto jpeg = samples::makeJpeg(16, 16, rgb);
    ASSERT_TRUE(loadSpriteFromMemory(50, jpeg.data(), jpeg.size()));
    displaySprite(50, 0, 0, 255);
    uint32_t p = pixelAt(8, 8);
    EXPECT_NEAR(channel(p, 16), 0xC0, 3);
    EXPECT_NEAR(channel(p, 8), 0x80, 3);
    EXPECT_NEAR(channel(p, 0), 0x40, 3);
    for (size_t cut : {jpeg.size() - 2, jpeg.size() / 2, size_t{300}, size_t{2}}) {
        std::vector<uint8_t> truncated(jpeg.begin(), jpeg.begin() + static_cast<long>(cut));
        EXPECT_FALSE(loadSpriteFromMemory(51, truncated.data(), truncated.size())) << cut;
    }
    EXPECT_FALSE(isSprite(51));
}

TEST_F(ScreenTest, LargeImagesAreDecodedOnDisplayAndAtMostTwoAreKept) {
    const int width = 1280, height = 1024;
    std::vector<uint8_t> jpegs[3];
    for (int i = 0; i < 3; ++i) {
        jpegs[i] = samples::makeJpeg(width, height, std::vector<uint32_t>(width * height, 0x404040u * (i + 1)));
        ASSERT_TRUE(loadSpriteFromMemory(60 + i, jpegs[i].data(), jpegs[i].size()));
        EXPECT_EQ(spriteWidth(60 + i), width);
    }
    EXPECT_EQ(decodedLargeImages(), 0u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(displaySprite(60 + i, -10, -10, 255), 1);
        EXPECT_NEAR(channel(pixelAt(500, 300), 0), 0x40 * (i + 1), 3);
    }
    EXPECT_EQ(decodedLargeImages(), 2u);
}

TEST_F(ScreenTest, PrefetchedImagesLoadAsIfDecodedOnTheSpot) {
    auto red = samples::makeRgbaPng(2, 1, {0xFFFF0000u, 0xFFFF0000u});
    auto broken = red;
    broken.resize(broken.size() / 2);
    const int width = 1280, height = 1024;
    auto large = samples::makeJpeg(width, height, std::vector<uint32_t>(width * height, 0x808080u));
    // Bytes that change after the prefetch must not give the prefetched image.
    auto green = samples::makeRgbaPng(2, 1, {0xFF00FF00u, 0xFF00FF00u});
    std::vector<uint8_t> reused(std::max(red.size(), green.size()) + 8, 0);
    std::copy(red.begin(), red.end(), reused.begin());
    prefetchSpriteImages({{red.data(), red.size()},
                          {broken.data(), broken.size()},
                          {large.data(), large.size()},
                          {reused.data(), reused.size()}});
    std::fill(reused.begin(), reused.end(), 0);
    std::copy(green.begin(), green.end(), reused.begin());

    ASSERT_TRUE(loadSpriteFromMemory(70, red.data(), red.size()));
    EXPECT_FALSE(loadSpriteFromMemory(71, broken.data(), broken.size()));
    ASSERT_TRUE(loadSpriteFromMemory(72, large.data(), large.size()));
    ASSERT_TRUE(loadSpriteFromMemory(73, reused.data(), reused.size()));
    EXPECT_EQ(decodedLargeImages(), 0u);
    clearScreen(rgb(0, 0, 255));
    displaySprite(72, 0, 0, 255);
    displaySprite(70, 0, 0, 255);
    displaySprite(73, 0, 1, 255);
    EXPECT_EQ(pixelAt(0, 0), 0xFF0000u);
    EXPECT_EQ(pixelAt(0, 1), 0x00FF00u);
    EXPECT_NEAR(channel(pixelAt(500, 300), 0), 0x80, 3);
    EXPECT_EQ(decodedLargeImages(), 1u);
}

TEST_F(ScreenTest, FlipCountsFramesAndTellsTheObserver) {
    uint64_t seen = 0;
    setFlipObserver([&](uint64_t frame) { seen = frame; });
    uint64_t before = framesFlipped();
    EXPECT_EQ(flipBuffers(), 1);
    EXPECT_EQ(flipBuffers(), 1);
    EXPECT_EQ(framesFlipped(), before + 2);
    EXPECT_EQ(seen, before + 2);
    setFlipObserver(nullptr);
}

TEST_F(ScreenTest, DrawLogRecordsEveryCall) {
    std::vector<DrawCall> log;
    setDrawLog(&log);
    displaySprite(77, 1, 2, 3);
    displaySpriteTinted(78, 4, 5, 6, 7);
    setDrawLog(nullptr);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].colour, kNoTint);
    EXPECT_EQ(log[1].sprite, 78);
    EXPECT_EQ(log[1].colour, 7);
}

}  // namespace
