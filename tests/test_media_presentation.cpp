// SPDX-License-Identifier: MIT
// Where the picture goes in the window for each scaling mode, and the names
// the command line and the settings use for the choices.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

#include "media/presentation.h"

namespace {

using namespace media;

struct Placement {
    int windowWidth, windowHeight;
    PictureRect stretch, aspect, integer;
};

// 1600 x 900 is wider than the picture's proportions, 3000 x 1800 and
// 800 x 500 are taller; 800 x 500 is smaller than the picture.
const Placement kPlacements[] = {
    {1020, 607, {0, 0, 1020, 607}, {0, 0, 1020, 607}, {0, 0, 1020, 607}},
    {1600, 900, {0, 0, 1600, 900}, {44, 0, 1512, 900}, {290, 146, 1020, 607}},
    {3000, 1800, {0, 0, 3000, 1800}, {0, 7, 3000, 1785}, {480, 293, 2040, 1214}},
    {800, 500, {0, 0, 800, 500}, {0, 12, 800, 476}, {0, 12, 800, 476}},
};

auto tied(const PictureRect& r) { return std::make_tuple(r.x, r.y, r.width, r.height); }

TEST(PictureRect, EachModePlacesAndSizesThePictureInTheWindow) {
    for (const Placement& p : kPlacements) {
        SCOPED_TRACE(testing::Message() << p.windowWidth << " x " << p.windowHeight);
        EXPECT_EQ(tied(pictureRect(ScaleMode::Stretch, p.windowWidth, p.windowHeight)), tied(p.stretch));
        EXPECT_EQ(tied(pictureRect(ScaleMode::Aspect, p.windowWidth, p.windowHeight)), tied(p.aspect));
        EXPECT_EQ(tied(pictureRect(ScaleMode::Integer, p.windowWidth, p.windowHeight)), tied(p.integer));
    }
}

TEST(PictureRect, AspectKeepsTheProportionsAndStaysInsideEveryWindow) {
    for (int width = 1; width <= 4000; width += 37)
        for (int height = 1; height <= 2500; height += 41) {
            PictureRect r = pictureRect(ScaleMode::Aspect, width, height);
            ASSERT_TRUE(r.x >= 0 && r.y >= 0 && r.x + r.width <= width && r.y + r.height <= height)
                << width << " x " << height;
            ASSERT_TRUE(r.width == width || r.height == height) << width << " x " << height;
            // The rounded side is within half a pixel (plus the clamp) of the exact ratio.
            double ratio = 1020.0 / 607.0;
            if (r.height == height) {
                ASSERT_LE(std::abs(r.width - height * ratio), 1.0) << width << " x " << height;
            } else {
                ASSERT_LE(std::abs(r.height - width / ratio), 1.0) << width << " x " << height;
            }
        }
}

TEST(PictureRect, IntegerUsesTheLargestWholeMultipleThatFits) {
    EXPECT_EQ(tied(pictureRect(ScaleMode::Integer, 3059, 1820)), tied(PictureRect{509, 303, 2040, 1214}));
    EXPECT_EQ(tied(pictureRect(ScaleMode::Integer, 3060, 1821)), tied(PictureRect{0, 0, 3060, 1821}));
    EXPECT_EQ(tied(pictureRect(ScaleMode::Integer, 1019, 2000)), tied(pictureRect(ScaleMode::Aspect, 1019, 2000)));
}

TEST(PresentationNames, ParseAndNameEachOtherAndRejectOtherText) {
    for (ScaleMode mode : {ScaleMode::Stretch, ScaleMode::Aspect, ScaleMode::Integer}) {
        ScaleMode parsed = mode == ScaleMode::Stretch ? ScaleMode::Integer : ScaleMode::Stretch;
        ASSERT_TRUE(parseScaleMode(scaleModeName(mode), parsed));
        EXPECT_EQ(parsed, mode);
    }
    for (RendererChoice choice : {RendererChoice::Auto, RendererChoice::Software, RendererChoice::Gpu}) {
        RendererChoice parsed = choice == RendererChoice::Auto ? RendererChoice::Gpu : RendererChoice::Auto;
        ASSERT_TRUE(parseRendererChoice(rendererChoiceName(choice), parsed));
        EXPECT_EQ(parsed, choice);
    }
    EXPECT_STREQ(scaleModeName(ScaleMode::Aspect), "aspect");
    EXPECT_STREQ(rendererChoiceName(RendererChoice::Software), "software");
    ScaleMode mode = ScaleMode::Aspect;
    for (const char* bad : {"", "Stretch", "integer ", "fill"}) EXPECT_FALSE(parseScaleMode(bad, mode)) << bad;
    EXPECT_EQ(mode, ScaleMode::Aspect);
    RendererChoice choice = RendererChoice::Gpu;
    for (const char* bad : {"", "GPU", "opengl", "soft"}) EXPECT_FALSE(parseRendererChoice(bad, choice)) << bad;
    EXPECT_EQ(choice, RendererChoice::Gpu);
}

TEST(ScaleModeCycle, GoesThroughTheThreeModesAndTellsTheObserver) {
    setScaleMode(ScaleMode::Stretch);
    std::vector<ScaleMode> seen;
    setScaleModeObserver([&](ScaleMode mode) { seen.push_back(mode); });
    for (int i = 0; i < 4; ++i) cycleScaleMode();
    setScaleModeObserver(nullptr);
    EXPECT_EQ(seen,
              (std::vector<ScaleMode>{ScaleMode::Aspect, ScaleMode::Integer, ScaleMode::Stretch, ScaleMode::Aspect}));
    EXPECT_EQ(scaleMode(), ScaleMode::Aspect);
    setScaleMode(ScaleMode::Stretch);
}

}  // namespace
