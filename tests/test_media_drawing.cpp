// SPDX-License-Identifier: MIT
// Drawing passes on sprite pixels, observed through the composed screen.
#include <gtest/gtest.h>

#include "media/drawing.h"
#include "media/screen.h"
#include "media/test_hooks.h"
#include "test_media_samples.h"

namespace {

using namespace media;

constexpr int kSprite = 5;
constexpr int kWidth = 30;
constexpr int kHeight = 20;

class DrawingTest : public ::testing::Test {
protected:
    void SetUp() override {
        chooseBackend(Backend::Headless);
        initSprites();
        ASSERT_TRUE(createSprite(kSprite, kWidth, kHeight));
    }
    void TearDown() override {
        stopDrawing();
        shutdownSprites();
    }

    // Which pixels of the sprite are opaque, read back from the screen.
    static std::vector<std::string> opaqueMap() {
        clearScreen(0);
        displaySpriteTinted(kSprite, 0, 0, 255, rgb(255, 255, 255));
        std::vector<std::string> rows;
        for (int y = 0; y < kHeight; ++y) {
            std::string row;
            for (int x = 0; x < kWidth; ++x) row += (screenPixels()[y * kScreenWidth + x] & 0xFFFFFF) ? '#' : '.';
            rows.push_back(row);
        }
        return rows;
    }

    static bool onlyRectangleSet(int left, int top, int right, int bottom) {
        auto map = opaqueMap();
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                bool inside = x >= left && x < right && y >= top && y < bottom;
                if ((map[static_cast<size_t>(y)][static_cast<size_t>(x)] == '#') != inside) return false;
            }
        return true;
    }

    static void drawBox(int x, int y, int w, int h, int64_t colour = 0xFFFFFF) {
        ASSERT_EQ(startDrawing(spriteOutput(kSprite)), 1);
        box(x, y, w, h, colour);
        stopDrawing();
    }
};

TEST_F(DrawingTest, NewSpriteIsTransparentAndPlotMakesOneWhitePixel) {
    EXPECT_TRUE(onlyRectangleSet(0, 0, 0, 0));
    ASSERT_EQ(startDrawing(spriteOutput(kSprite)), 1);
    plot(3, 4);
    plot(-1, 0);
    plot(kWidth, 0);
    plot(0, kHeight);
    stopDrawing();
    EXPECT_TRUE(onlyRectangleSet(3, 4, 4, 5));
    clearScreen(0);
    displaySprite(kSprite, 0, 0, 255);
    EXPECT_EQ(screenPixels()[4 * kScreenWidth + 3] & 0xFFFFFFu, 0xFFFFFFu);
}

TEST_F(DrawingTest, BoxWithNegativeSizesIsMovedAndFlipped) {
    drawBox(20, 5, -10, 3);
    EXPECT_TRUE(onlyRectangleSet(10, 5, 20, 8));
    drawBox(10, 5, 10, 3, 0);
    drawBox(4, 10, 2, -4);
    EXPECT_TRUE(onlyRectangleSet(4, 6, 6, 10));
}

TEST_F(DrawingTest, BoxIsClippedAtEveryEdge) {
    drawBox(-5, -5, 8, 7);
    EXPECT_TRUE(onlyRectangleSet(0, 0, 3, 2));
    drawBox(0, 0, kWidth, kHeight, 0);
    drawBox(25, 15, 100, 100);
    EXPECT_TRUE(onlyRectangleSet(25, 15, kWidth, kHeight));
    drawBox(0, 0, kWidth, kHeight, 0);
    drawBox(kWidth, 0, 5, 5);
    drawBox(0, kHeight, 5, 5);
    drawBox(-10, 0, 10, 5);
    drawBox(3, 3, 0, 5);
    EXPECT_TRUE(onlyRectangleSet(0, 0, 0, 0));
}

TEST_F(DrawingTest, BlackBoxBecomesTransparentAndColoursAreStored) {
    drawBox(0, 0, 10, 10, rgb(10, 20, 30));
    drawBox(2, 2, 3, 3, rgb(0, 0, 0));
    auto map = opaqueMap();
    EXPECT_EQ(map[1].substr(0, 10), "##########");
    EXPECT_EQ(map[3].substr(0, 10), "##...#####");
    clearScreen(0);
    displaySprite(kSprite, 0, 0, 255);
    // r=10 g=20 b=30 in the game's order shows as 0x0A141E.
    EXPECT_EQ(screenPixels()[0] & 0xFFFFFFu, 0x0A141Eu);
}

TEST_F(DrawingTest, NothingHappensWithoutAPass) {
    EXPECT_EQ(startDrawing(nullptr), 0);
    EXPECT_EQ(spriteOutput(99), nullptr);
    plot(1, 1);
    box(0, 0, 5, 5, 0xFFFFFF);
    stopDrawing();
    EXPECT_TRUE(onlyRectangleSet(0, 0, 0, 0));
}

TEST_F(DrawingTest, ReplacingTheSpriteDuringAPassIsHarmless) {
    ASSERT_EQ(startDrawing(spriteOutput(kSprite)), 1);
    ASSERT_TRUE(createSprite(kSprite, 2, 2));
    box(0, 0, 100, 100, 0xFFFFFF);
    stopDrawing();
    clearScreen(0);
    displaySprite(kSprite, 0, 0, 255);
    EXPECT_EQ(screenPixels()[0] & 0xFFFFFFu, 0u);
}

TEST_F(DrawingTest, RgbAddsItsPartsUnmasked) {
    EXPECT_EQ(rgb(1, 2, 3), 0x030201);
    EXPECT_EQ(rgb(256, 0, 0), 0x100);
}

}  // namespace
