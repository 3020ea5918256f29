// SPDX-License-Identifier: MIT
// What the pictures must do for the player, measured on the embedded files as
// the game decodes them: the girl fills the frame that is her hit box, letters
// cannot be mistaken for one another or for digits, the game-over picture is
// bright, and white status-bar digits stay readable on every level picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "assets/embedded_assets.h"
#include "media/image_decode.h"

namespace {

media::SpritePixels decoded(int number) {
    const assets::Blob b = assets::embeddedSprite(number);
    media::SpritePixels px;
    EXPECT_TRUE(b && media::decodeImage(b.data, b.size, px)) << "sprite " << number;
    return px;
}

bool opaque(const media::SpritePixels& p, int x, int y) {
    return x >= 0 && y >= 0 && x < p.width && y < p.height && (p.argb[static_cast<size_t>(y) * p.width + x] >> 24) != 0;
}

// The digit font the game paints itself (sprites 20-29, 6 x 11; X is ink).
const char* const kDigits[10][11] = {
    {"XXXXXX", "X....X", "X....X", "X....X", "X....X", "X....X", "X....X", "X....X", "X....X", "X....X", "XXXXXX"},
    {"XXXX..", "...X..", "...X..", "...X..", "...X..", "...X..", "...X..", "...X..", "...X..", "...X..", "XXXXXX"},
    {"XXXXXX", ".....X", ".....X", ".....X", ".....X", "XXXXXX", "X.....", "X.....", "X.....", "X.....", "XXXXXX"},
    {"XXXXXX", ".....X", ".....X", ".....X", ".....X", "XXXXX.", ".....X", ".....X", ".....X", ".....X", "XXXXXX"},
    {"X.....", "X....X", "X....X", "X....X", "X....X", "X....X", "XXXXXX", ".....X", ".....X", ".....X", ".....X"},
    {".XXXXX", ".X....", ".X....", ".X....", ".X....", ".XXXXX", ".....X", ".....X", ".....X", "X....X", ".XXXXX"},
    {"XX....", "X.....", "X.....", "X.....", "X.....", "X.....", "XXXXXX", "X....X", "X....X", "X....X", "XXXXXX"},
    {"XXXXXX", ".....X", ".....X", ".....X", ".....X", "....X.", "..XX..", "..X...", "..X...", "..X...", "..X..."},
    {".XXXX.", ".X..X.", ".X..X.", ".X..X.", ".X..X.", "XXXXXX", "X....X", "X....X", "X....X", "X....X", "XXXXXX"},
    {"XXXXXX", "X....X", "X....X", "X....X", "XXXXXX", ".....X", ".....X", ".....X", ".....X", ".....X", "....XX"}};

// Glyphs are compared in a 7 x 11 cell from their top left corner, as the
// hiscore panel and the initials entry set them on one baseline grid.
using Cell = std::vector<bool>;
constexpr int kCellW = 7, kCellH = 11;

Cell letterCell(int k) {
    const media::SpritePixels p = decoded(30 + k);
    Cell c(kCellW * kCellH);
    for (int y = 0; y < kCellH; ++y)
        for (int x = 0; x < kCellW; ++x) c[y * kCellW + x] = opaque(p, x, y);
    return c;
}

Cell digitCell(int d) {
    Cell c(kCellW * kCellH);
    for (int y = 0; y < kCellH; ++y)
        for (int x = 0; x < 6; ++x) c[y * kCellW + x] = kDigits[d][y][x] == 'X';
    return c;
}

int differences(const Cell& a, const Cell& b) {
    int n = 0;
    for (size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
    return n;
}

TEST(PictureLooks, TheGirlFillsEveryFrameOfHerHitBox) {
    for (int frame = 1; frame <= 12; ++frame) {
        const media::SpritePixels p = decoded(frame);
        ASSERT_EQ(p.width, 55);
        ASSERT_EQ(p.height, 48);
        int columns = 0, rows = 0;
        for (int x = 0; x < p.width; ++x) {
            bool any = false;
            for (int y = 0; y < p.height && !any; ++y) any = opaque(p, x, y);
            columns += any;
        }
        for (int y = 0; y < p.height; ++y) {
            bool any = false;
            for (int x = 0; x < p.width && !any; ++x) any = opaque(p, x, y);
            rows += any;
        }
        std::printf("girl frame %2d: %d of 55 columns, %d of 48 rows\n", frame, columns, rows);
        EXPECT_GE(columns, 38) << "frame " << frame;
        EXPECT_GE(rows, 44) << "frame " << frame;
    }
}

TEST(PictureLooks, LettersDifferFromEachOtherAndFromTheDigits) {
    std::vector<Cell> letters;
    for (int k = 0; k < 26; ++k) letters.push_back(letterCell(k));
    int worstLetters = 99, worstDigits = 99;
    for (int a = 0; a < 26; ++a) {
        for (int b = a + 1; b < 26; ++b) {
            const int n = differences(letters[a], letters[b]);
            worstLetters = std::min(worstLetters, n);
            EXPECT_GE(n, 8) << static_cast<char>('a' + a) << " and " << static_cast<char>('a' + b);
        }
        for (int d = 0; d < 10; ++d) {
            const int n = differences(letters[a], digitCell(d));
            worstDigits = std::min(worstDigits, n);
            EXPECT_GE(n, 6) << static_cast<char>('a' + a) << " and digit " << d;
        }
    }
    std::printf("fewest differing pixels: %d between two letters, %d between a letter and a digit\n", worstLetters,
                worstDigits);
}

// The game-over screen draws sprite 151 at (0, 0) with intensity 169 over
// black; the screen shows its top 607 rows. Brightness is the mean luma.
TEST(PictureLooks, TheGameOverPictureIsBrightAtItsIntensity) {
    const media::SpritePixels p = decoded(151);
    ASSERT_EQ(p.width, 1020);
    double sum = 0;
    for (int y = 0; y < 607; ++y)
        for (int x = 0; x < p.width; ++x) {
            const uint32_t c = p.argb[static_cast<size_t>(y) * p.width + x];
            sum += 0.2126 * ((c >> 16) & 0xFF) + 0.7152 * ((c >> 8) & 0xFF) + 0.0722 * (c & 0xFF);
        }
    const double mean = sum / (607.0 * p.width) * 169 / 255;
    std::printf("game-over screen: mean brightness %.1f of 255\n", mean);
    EXPECT_GE(mean, 50.0);
}

double linear(double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); }

// The status bar (screen rows 527-606) lies over background rows 527 + playerY
// (playerY 48-430) and columns x - 50 + playerX (playerX 50-947): rows 575-1036
// of the whole width. The grey panel is laid over it at opacity 40. A white
// digit must keep a contrast of 3:1 against the mean light of any digit-sized
// (6 x 11) patch of that band.
TEST(PictureLooks, WhiteStatusBarDigitsStayReadableOnEveryLevelPicture) {
    constexpr int kTop = 575, kBottom = 1037, kBoxW = 6, kBoxH = 11;
    double worstOverall = 99;
    for (int level = 1; level <= 20; ++level) {  // background index, as the levels name them
        const int sprite = level == 1 ? 13 : 121 + level;
        const media::SpritePixels p = decoded(sprite);
        ASSERT_EQ(p.width, 1920);
        ASSERT_GE(p.height, kBottom);
        const int w = p.width, h = kBottom - kTop;
        // Summed-area table of the relative luminance under the panel.
        std::vector<double> sat(static_cast<size_t>(w + 1) * (h + 1), 0.0);
        for (int y = 0; y < h; ++y) {
            double row = 0;
            for (int x = 0; x < w; ++x) {
                const uint32_t c = p.argb[static_cast<size_t>(y + kTop) * w + x];
                auto under = [](uint32_t v) { return linear((v * 215.0 + 149.0 * 40.0) / 255.0 / 255.0); };
                row += 0.2126 * under((c >> 16) & 0xFF) + 0.7152 * under((c >> 8) & 0xFF) + 0.0722 * under(c & 0xFF);
                sat[static_cast<size_t>(y + 1) * (w + 1) + x + 1] = sat[static_cast<size_t>(y) * (w + 1) + x + 1] + row;
            }
        }
        double brightest = 0;
        for (int y = 0; y + kBoxH <= h; ++y)
            for (int x = 0; x + kBoxW <= w; ++x) {
                auto at = [&](int xx, int yy) { return sat[static_cast<size_t>(yy) * (w + 1) + xx]; };
                const double sum = at(x + kBoxW, y + kBoxH) - at(x, y + kBoxH) - at(x + kBoxW, y) + at(x, y);
                brightest = std::max(brightest, sum / (kBoxW * kBoxH));
            }
        const double contrast = 1.05 / (brightest + 0.05);
        worstOverall = std::min(worstOverall, contrast);
        std::printf("background %2d (sprite %d): lowest contrast of white digits under the status bar %.2f:1\n", level,
                    sprite, contrast);
        EXPECT_GE(contrast, 3.0) << "background " << level;
    }
    std::printf("all backgrounds: lowest contrast %.2f:1\n", worstOverall);
}

}  // namespace
