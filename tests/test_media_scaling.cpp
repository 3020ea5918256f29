// SPDX-License-Identifier: MIT
// The software path's picture in real windows of SDL's offscreen driver: for
// each scale mode and window size, where it lands and how big it is, with
// every window pixel taken from the nearest picture pixel and black outside.
#include <gtest/gtest.h>

#include <SDL.h>

#include "media/automation.h"
#include "media/drawing.h"
#include "media/presentation.h"
#include "media/screen.h"
#include "media/sdl/video_internal.h"
#include "media/test_hooks.h"
#include "media/window.h"

namespace {

using namespace media;

struct Expected {
    int width, height;
    ScaleMode mode;
    PictureRect rect;
};

// Worked out by hand: 1600 x 900 is wider than 1020 : 607, 3000 x 1800 and
// 800 x 500 are taller, 800 x 500 is smaller than the picture.
const Expected kExpected[] = {
    {1020, 607, ScaleMode::Stretch, {0, 0, 1020, 607}},       {1020, 607, ScaleMode::Aspect, {0, 0, 1020, 607}},
    {1020, 607, ScaleMode::Integer, {0, 0, 1020, 607}},       {1600, 900, ScaleMode::Stretch, {0, 0, 1600, 900}},
    {1600, 900, ScaleMode::Aspect, {44, 0, 1512, 900}},       {1600, 900, ScaleMode::Integer, {290, 146, 1020, 607}},
    {3000, 1800, ScaleMode::Stretch, {0, 0, 3000, 1800}},     {3000, 1800, ScaleMode::Aspect, {0, 7, 3000, 1785}},
    {3000, 1800, ScaleMode::Integer, {480, 293, 2040, 1214}}, {800, 500, ScaleMode::Stretch, {0, 0, 800, 500}},
    {800, 500, ScaleMode::Aspect, {0, 12, 800, 476}},         {800, 500, ScaleMode::Integer, {0, 12, 800, 476}},
};

constexpr int kMark = 30;
constexpr int kStripes = 31;

class WindowPicture : public ::testing::Test {
protected:
    void SetUp() override {
        chooseBackend(Backend::Sdl);
        setFramePacing(false);
        setRendererChoice(RendererChoice::Software);
        if (!startWindows()) GTEST_SKIP() << "no SDL video driver";
        initSprites();
        // A picture whose every column and row can be told apart: the
        // colour encodes the picture pixel.
        ASSERT_TRUE(createSprite(kMark, kScreenWidth, kScreenHeight));
        startDrawing(spriteOutput(kMark));
        for (int y = 0; y < kScreenHeight; ++y)
            for (int x = 0; x < kScreenWidth; x += 4) box(x, y, 4, 1, rgb(1 + x / 4, 1 + y % 255, 1 + y / 255));
        stopDrawing();
        // White columns one pixel wide, one apart, on black (which, being
        // transparent in a sprite, leaves the cleared screen's black).
        ASSERT_TRUE(createSprite(kStripes, kScreenWidth, kScreenHeight));
        startDrawing(spriteOutput(kStripes));
        for (int x = 0; x < kScreenWidth; x += 2) box(x, 0, 1, kScreenHeight, rgb(255, 255, 255));
        stopDrawing();
    }
    void TearDown() override {
        setScaleMode(ScaleMode::Stretch);
        setScaleFilter(ScaleFilter::Auto);
        setRendererChoice(RendererChoice::Auto);
        closeScreen();
        shutdownSprites();
        closeAllWindows();
        chooseBackend(Backend::Headless);
    }

    // The picture pixel the window pixel shows, or -1 for black.
    static int64_t shown(const SDL_Surface* surface, int x, int y) {
        const auto* row = reinterpret_cast<const uint8_t*>(surface->pixels) +
                          static_cast<ptrdiff_t>(y) * surface->pitch;
        uint32_t p = reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFFu;
        if (p == 0) return -1;
        int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        return int64_t{(g - 1) + 255 * (b - 1)} * kScreenWidth + (r - 1) * 4;
    }
};

TEST_F(WindowPicture, EachModePlacesAndSizesThePictureAtEveryWindowSize) {
    // The original's nearest-pixel scaling; the smooth filter is tested below.
    setScaleFilter(ScaleFilter::Sharp);
    for (const Expected& e : kExpected) {
        SCOPED_TRACE(testing::Message() << e.width << " x " << e.height << " " << scaleModeName(e.mode));
        Window* window = openWindow(0, 0, 0, e.width, e.height, " Quandrite", kWindowStyleOverlapped);
        ASSERT_NE(window, nullptr);
        ASSERT_EQ(openWindowedScreen(window, 0, 0, e.width, e.height, 1, 0, 0), 1);
        ASSERT_FALSE(screenUsesGpu());
        setScaleMode(e.mode);
        clearScreen(0);
        displaySprite(kMark, 0, 0, 255);
        ASSERT_EQ(flipBuffers(), 1);
        SDL_Surface* surface = SDL_GetWindowSurface(mainSdlWindow());
        ASSERT_NE(surface, nullptr);
        ASSERT_EQ(surface->w, e.width);
        ASSERT_EQ(surface->h, e.height);
        const PictureRect& r = e.rect;
        for (int y = 0; y < e.height; ++y)
            for (int x = 0; x < e.width; ++x) {
                bool inside = x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height;
                int64_t want = -1;
                if (inside) {
                    // The picture pixel whose centre is nearest the window pixel's, by columns of 4.
                    int px = static_cast<int>((int64_t{x - r.x} * kScreenWidth + kScreenWidth / 2) / r.width);
                    int py = static_cast<int>((int64_t{y - r.y} * kScreenHeight + kScreenHeight / 2) / r.height);
                    px = std::min(px, kScreenWidth - 1) / 4 * 4;
                    py = std::min(py, kScreenHeight - 1);
                    want = int64_t{py} * kScreenWidth + px;
                }
                int64_t got = shown(surface, x, y);
                if (inside && r.width % kScreenWidth != 0) {
                    // Scaling by a fraction: the nearest pixel or its neighbour.
                    ASSERT_NE(got, -1) << x << "," << y;
                    ASSERT_LE(std::abs(got / kScreenWidth - want / kScreenWidth), 1) << x << "," << y;
                    ASSERT_LE(std::abs(got % kScreenWidth - want % kScreenWidth), 4) << x << "," << y;
                } else {
                    ASSERT_EQ(got, want) << x << "," << y;
                }
            }
    }
}

// The automatic filter: whole multiples stay sharp, every pixel one of the
// picture's; a fraction blends neighbours, so over 1-pixel stripes of black
// and white the window shows greys that the picture does not have.
TEST_F(WindowPicture, AutoFilterBlendsFractionsAndKeepsWholeMultiplesSharp) {
    ASSERT_EQ(scaleFilter(), ScaleFilter::Auto) << "the default";
    struct Case {
        int width, height;
        ScaleMode mode;
        bool smooth;
    };
    for (const Case& c : {Case{2100, 1300, ScaleMode::Integer, false}, Case{1600, 900, ScaleMode::Stretch, true},
                          Case{800, 500, ScaleMode::Aspect, true}}) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << " " << scaleModeName(c.mode));
        Window* window = openWindow(0, 0, 0, c.width, c.height, " Quandrite", kWindowStyleOverlapped);
        ASSERT_NE(window, nullptr);
        ASSERT_EQ(openWindowedScreen(window, 0, 0, c.width, c.height, 1, 0, 0), 1);
        setScaleMode(c.mode);
        clearScreen(0);
        displaySprite(kStripes, 0, 0, 255);
        ASSERT_EQ(flipBuffers(), 1);
        SDL_Surface* surface = SDL_GetWindowSurface(mainSdlWindow());
        ASSERT_NE(surface, nullptr);
        PictureRect r = pictureRect(c.mode, c.width, c.height);
        EXPECT_EQ(smoothScaling(ScaleFilter::Auto, r), c.smooth);
        int greys = 0;
        int y = r.y + r.height / 2;
        for (int x = r.x; x < r.x + r.width; ++x) {
            const auto* row = reinterpret_cast<const uint8_t*>(surface->pixels) +
                              static_cast<ptrdiff_t>(y) * surface->pitch;
            uint32_t green = (reinterpret_cast<const uint32_t*>(row)[x] >> 8) & 0xFF;
            if (green > 30 && green < 225) ++greys;
        }
        if (c.smooth) EXPECT_GT(greys, r.width / 4);
        else EXPECT_EQ(greys, 0);
        closeScreen();
        closeAllWindows();
    }
}

// Unscaled, the compositor draws in the window's own pixels: what is shown is
// what was composed, with no copy between.
TEST_F(WindowPicture, AnUnscaledFrameIsComposedInTheWindowItself) {
    Window* window = openWindow(0, 0, 0, kScreenWidth, kScreenHeight, " Quandrite", kWindowStyleOverlapped);
    ASSERT_EQ(openWindowedScreen(window, 0, 0, kScreenWidth, kScreenHeight, 1, 0, 0), 1);
    clearScreen(0);
    displaySprite(kMark, 0, 0, 255);
    SDL_Surface* surface = SDL_GetWindowSurface(mainSdlWindow());
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(screenPixels(), static_cast<const uint32_t*>(surface->pixels));
    ASSERT_EQ(flipBuffers(), 1);
    EXPECT_EQ(shown(surface, 1019, 606), 606 * kScreenWidth + 1016);

    // Resized between the clear and the flip: the frame still reaches the window.
    clearScreen(0);
    displaySprite(kMark, 0, 0, 255);
    SDL_SetWindowSize(mainSdlWindow(), 1300, 700);
    while (windowEvent() != 0) {
    }
    ASSERT_EQ(flipBuffers(), 1);
    surface = SDL_GetWindowSurface(mainSdlWindow());
    ASSERT_EQ(surface->w, 1300);
    EXPECT_EQ(shown(surface, 0, 0), 0);
    EXPECT_EQ(screenPixels()[606 * kScreenWidth + 1019] & 0xFFFFFFu, (255u << 16) | (97u << 8) | 3u);
}

}  // namespace
