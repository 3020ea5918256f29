// SPDX-License-Identifier: MIT
// The status bar's digits, the game's own 1-pixel font, in windows smaller
// and larger than the picture: scaled back to the picture's grid, each digit
// must still look most like itself of the ten glyphs.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "game/rules/catalogue.h"
#include "game/screens/digit_sprites.h"
#include "media/automation.h"
#include "media/presentation.h"
#include "media/screen.h"
#include "media/sdl/video_internal.h"
#include "media/test_hooks.h"
#include "media/window.h"

namespace {

using namespace media;

constexpr int kDigitWidth = 6;
constexpr int kDigitHeight = 11;
constexpr int kFirstX = 503;  // where the score's digits stand
constexpr int kY = 570;
constexpr int kPitch = 8;

using Glyph = std::array<double, kDigitWidth * kDigitHeight>;

class StatusDigits : public ::testing::Test {
protected:
    void SetUp() override {
        chooseBackend(Backend::Sdl);
        setFramePacing(false);
        setRendererChoice(RendererChoice::Software);
        if (!startWindows()) GTEST_SKIP() << "no SDL video driver";
        initSprites();
        game::createDigitSprites();
    }
    void TearDown() override {
        setScaleFilter(ScaleFilter::Auto);
        setRendererChoice(RendererChoice::Auto);
        closeScreen();
        shutdownSprites();
        closeAllWindows();
        chooseBackend(Backend::Headless);
    }

    // The ten digits in a window of that size, and the window's pixels.
    SDL_Surface* showDigits(int width, int height) {
        closeScreen();
        closeAllWindows();
        Window* window = openWindow(0, 0, 0, width, height, " Quandrite", kWindowStyleOverlapped);
        if (!window || openWindowedScreen(window, 0, 0, width, height, 1, 0, 0) != 1) return nullptr;
        clearScreen(0);
        for (int d = 0; d <= 9; ++d) displaySprite(game::sprite::digit(d), kFirstX + kPitch * d, kY, 255);
        if (flipBuffers() != 1) return nullptr;
        return SDL_GetWindowSurface(mainSdlWindow());
    }

    static double brightness(const SDL_Surface* surface, int x, int y) {
        x = std::clamp(x, 0, surface->w - 1);
        y = std::clamp(y, 0, surface->h - 1);
        const auto* row = static_cast<const uint8_t*>(surface->pixels) + static_cast<ptrdiff_t>(y) * surface->pitch;
        uint32_t p = reinterpret_cast<const uint32_t*>(row)[x];
        return ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
    }

    // Digit d as the window shows it, sampled back at the picture's pixel
    // centres (bilinear between the window's pixels).
    static Glyph sampledBack(const SDL_Surface* surface, int d) {
        Glyph g{};
        double sx = static_cast<double>(surface->w) / kScreenWidth,
               sy = static_cast<double>(surface->h) / kScreenHeight;
        for (int gy = 0; gy < kDigitHeight; ++gy)
            for (int gx = 0; gx < kDigitWidth; ++gx) {
                double wx = (kFirstX + kPitch * d + gx + 0.5) * sx - 0.5;
                double wy = (kY + gy + 0.5) * sy - 0.5;
                int x0 = static_cast<int>(std::floor(wx)), y0 = static_cast<int>(std::floor(wy));
                double fx = wx - x0, fy = wy - y0;
                g[static_cast<size_t>(gy * kDigitWidth + gx)] =
                    (1 - fy) * ((1 - fx) * brightness(surface, x0, y0) + fx * brightness(surface, x0 + 1, y0)) +
                    fy * ((1 - fx) * brightness(surface, x0, y0 + 1) + fx * brightness(surface, x0 + 1, y0 + 1));
            }
        return g;
    }

    static double correlation(const Glyph& a, const Glyph& b) {
        double ma = 0, mb = 0;
        for (size_t i = 0; i < a.size(); ++i) ma += a[i], mb += b[i];
        ma /= a.size();
        mb /= b.size();
        double ab = 0, aa = 0, bb = 0;
        for (size_t i = 0; i < a.size(); ++i) {
            ab += (a[i] - ma) * (b[i] - mb);
            aa += (a[i] - ma) * (a[i] - ma);
            bb += (b[i] - mb) * (b[i] - mb);
        }
        return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0;
    }

    // How many of the ten digits look most like themselves, and the least
    // that any digit's shape correlates with its own glyph.
    struct Reading {
        int recognised = 0;
        double weakest = 1;
    };
    Reading read(int width, int height, const std::array<Glyph, 10>& glyphs) {
        Reading reading;
        SDL_Surface* surface = showDigits(width, height);
        EXPECT_NE(surface, nullptr);
        if (!surface) return reading;
        for (int d = 0; d <= 9; ++d) {
            Glyph seen = sampledBack(surface, d);
            int best = 0;
            for (int other = 1; other <= 9; ++other)
                if (correlation(seen, glyphs[other]) > correlation(seen, glyphs[best])) best = other;
            reading.recognised += best == d;
            reading.weakest = std::min(reading.weakest, correlation(seen, glyphs[d]));
        }
        return reading;
    }
};

TEST_F(StatusDigits, StayRecognisableShrunkAndEnlargedByFractions) {
    std::array<Glyph, 10> glyphs{};
    SDL_Surface* unscaled = showDigits(kScreenWidth, kScreenHeight);
    ASSERT_NE(unscaled, nullptr);
    for (int d = 0; d <= 9; ++d) glyphs[static_cast<size_t>(d)] = sampledBack(unscaled, d);

    for (auto [width, height] : {std::pair{800, 500}, std::pair{1600, 900}}) {
        SCOPED_TRACE(testing::Message() << width << " x " << height);
        setScaleFilter(ScaleFilter::Auto);
        Reading smooth = read(width, height, glyphs);
        setScaleFilter(ScaleFilter::Sharp);
        Reading sharp = read(width, height, glyphs);
        EXPECT_EQ(smooth.recognised, 10);
        EXPECT_GT(smooth.weakest, 0.6);
        // Shrunk, the nearest pixel drops whole strokes (800 x 500 reads one
        // digit as another and the weakest correlates at about 0.3).
        if (width < kScreenWidth) {
            EXPECT_GT(smooth.weakest, sharp.weakest + 0.2);
        }
    }
}

}  // namespace
