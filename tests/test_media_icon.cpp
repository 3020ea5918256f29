// SPDX-License-Identifier: MIT
// The icon composer: cropping, whole-factor growth of pixel art, smooth
// growth, alpha-weighted reduction and blending.
#include <gtest/gtest.h>

#include "media/icon_image.h"

namespace {

using namespace media;

SpritePixels picture(int width, int height, std::vector<uint32_t> argb) {
    SpritePixels p;
    p.width = width;
    p.height = height;
    p.argb = std::move(argb);
    return p;
}

uint32_t at(const IconImage& icon, int x, int y) { return icon.argb[static_cast<size_t>(y * icon.size + x)]; }

constexpr uint32_t kRed = 0xFFFF0000u, kBlue = 0xFF0000FFu;

TEST(IconImageTest, PixelArtIsCroppedAndGrownByWholeFactorsStandingBottomCentre) {
    // A 2 x 1 figure (red, blue) inside a 4 x 3 transparent picture.
    auto p = picture(4, 3, {0, 0, 0, 0, 0, kRed, kBlue, 0, 0, 0, 0, 0});
    IconImage icon = fitPicture(p, 9, Scaling::PixelArt);
    ASSERT_EQ(icon.size, 9);
    // 9 / 2 = 4.5 rounds down to 4: an 8 x 4 figure, centred (x 0..7) on the bottom rows 5..8.
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x) {
            uint32_t expected = (y >= 5 && x < 4) ? kRed : (y >= 5 && x < 8) ? kBlue : 0u;
            ASSERT_EQ(at(icon, x, y), expected) << "at " << x << "," << y;
        }
}

TEST(IconImageTest, SmoothGrowthBlendsNeighboursAndKeepsTheEnds) {
    auto p = picture(2, 1, {kRed, kBlue});
    IconImage icon = fitPicture(p, 8, Scaling::Smooth);
    // An 8 x 4 strip on rows 4..7: the ends keep their colour, the middle mixes both.
    EXPECT_EQ(at(icon, 0, 4), kRed);
    EXPECT_EQ(at(icon, 7, 7), kBlue);
    EXPECT_EQ(at(icon, 0, 3), 0u);
    uint32_t middle = at(icon, 4, 5);
    EXPECT_EQ(middle >> 24, 255u);
    EXPECT_GT((middle >> 16) & 0xFF, 0u);
    EXPECT_GT(middle & 0xFF, 0u);
}

TEST(IconImageTest, ReductionAveragesAreasWithoutDarkeningTransparentEdges) {
    IconImage big = blankIcon(4);
    // Left half opaque red, right half transparent (black with alpha 0).
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 2; ++x) big.argb[static_cast<size_t>(y * 4 + x)] = kRed;
    IconImage small = shrinkIcon(big, 2);
    EXPECT_EQ(at(small, 0, 0), kRed);
    EXPECT_EQ(at(small, 1, 1), 0u);
    IconImage one = shrinkIcon(big, 1);
    // Half covered: half alpha, but still pure red.
    EXPECT_EQ(one.argb[0], 0x80FF0000u);
    // A size that does not divide evenly weighs the partial pixels: 4 -> 3.
    IconImage three = shrinkIcon(big, 3);
    EXPECT_EQ(at(three, 0, 0), kRed);
    EXPECT_EQ(at(three, 1, 0) >> 24, 128u);
    EXPECT_EQ(at(three, 2, 0), 0u);
}

TEST(IconImageTest, ShrinkingAPictureFitsItAndBlendingCoversByAlpha) {
    std::vector<uint32_t> pixels(16, kBlue);
    IconImage fitted = fitPicture(picture(4, 4, pixels), 2, Scaling::PixelArt);
    ASSERT_EQ(fitted.size, 2);
    for (uint32_t px : fitted.argb) EXPECT_EQ(px, kBlue);

    IconImage base = blankIcon(2);
    base.argb.assign(4, kBlue);
    IconImage top = blankIcon(1);
    top.argb[0] = 0x80FF0000u;
    drawOver(base, top, 1, 1);
    drawOver(base, top, 5, -3);  // outside: clipped, nothing changes
    EXPECT_EQ(at(base, 0, 0), kBlue);
    EXPECT_EQ(at(base, 1, 1), 0xFF80007Fu);
    IconImage clear = blankIcon(1);
    drawOver(clear, top, 0, 0);
    EXPECT_EQ(clear.argb[0], 0x80FF0000u);
}

}  // namespace
