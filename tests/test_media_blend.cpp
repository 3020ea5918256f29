// SPDX-License-Identifier: MIT
// The compositor's wide loops give exactly the one-pixel rounding, for every
// opacity, every length (the tails after the last whole group) and every
// processor variant this machine runs.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "media/common/blend_kernels.h"

namespace {

using namespace media;

uint32_t channelBlend(uint32_t s, uint32_t d, uint32_t a) { return (s * a + d * (255 - a) + 127) / 255; }

uint32_t reference(uint32_t source, uint32_t dest, uint32_t alpha) {
    uint32_t out = 0xFF000000u;
    for (int shift : {0, 8, 16}) out |= channelBlend((source >> shift) & 0xFF, (dest >> shift) & 0xFF, alpha) << shift;
    return out;
}

std::vector<uint32_t> randomPixels(std::mt19937& random, size_t count) {
    std::vector<uint32_t> pixels(count);
    for (uint32_t& p : pixels) p = random();
    return pixels;
}

TEST(BlendKernels, EveryVariantRoundsAsOnePixelForEveryOpacityAndLength) {
    std::mt19937 random(7);
    ASSERT_GE(blendKernelSetCount(), 1);
    for (int set = 0; set < blendKernelSetCount(); ++set) {
        const BlendKernels& kernels = blendKernelSet(set);
        for (uint32_t alpha = 0; alpha <= 255; ++alpha) {
            int count = static_cast<int>(alpha % 37);
            // One pixel past each end stays untouched.
            std::vector<uint32_t> source = randomPixels(random, count + 2);
            std::vector<uint32_t> dest = randomPixels(random, count + 2);
            uint32_t colour = random();
            std::vector<uint32_t> span = dest, flat = dest, black = dest;
            kernels.span(span.data() + 1, source.data() + 1, count, alpha);
            kernels.flat(flat.data() + 1, count, colour, alpha);
            kernels.ontoBlack(black.data() + 1, source.data() + 1, count, alpha);
            for (int i = 0; i < count + 2; ++i) {
                SCOPED_TRACE(testing::Message() << "set " << set << " alpha " << alpha << " pixel " << i);
                bool inside = i >= 1 && i <= count;
                ASSERT_EQ(span[i], inside ? reference(source[i], dest[i], alpha) : dest[i]);
                ASSERT_EQ(flat[i], inside ? reference(colour, dest[i], alpha) : dest[i]);
                ASSERT_EQ(black[i], inside ? reference(source[i], 0, alpha) : dest[i]);
            }
        }
    }
}

TEST(BlendKernels, ExtremeChannelsAndTheFlatColourOverBlack) {
    for (int set = 0; set < blendKernelSetCount(); ++set) {
        const BlendKernels& kernels = blendKernelSet(set);
        std::vector<uint32_t> white(16, 0xFFFFFFFFu), dest(16, 0xFF000000u);
        kernels.span(dest.data(), white.data(), 16, 255);
        EXPECT_EQ(dest[15], 0xFFFFFFFFu) << set;
        kernels.span(dest.data(), white.data(), 16, 0);
        EXPECT_EQ(dest[0], 0xFFFFFFFFu) << set;
        kernels.flat(dest.data(), 16, 0xFF000000u, 128);
        EXPECT_EQ(dest[9], 0xFF7F7F7Fu) << set;
    }
    EXPECT_EQ(scaleColour(0xFFFF8001u, 87), reference(0xFFFF8001u, 0, 87));
}

// The target decides the wide loops: a build that lost them (or took NEON
// where Debian's armhf cannot count on it) would still pass the tests above.
TEST(BlendKernels, TheBuildTakesTheWideLoopsItsTargetHasAndKeepsTheScalarOnes) {
#if defined(__x86_64__)
    const std::string expected = "sse2";
#elif defined(__aarch64__) || defined(__ARM_NEON)
    const std::string expected = "neon";
#else
    const std::string expected = "scalar";
#endif
    EXPECT_EQ(blendKernels().name, expected);
    EXPECT_EQ(blendKernelSet(blendKernelSetCount() - 1).name, std::string("scalar"));
    EXPECT_EQ(blendKernelSetCount(), expected == "scalar" ? 1 : 2);
}

// Whole rows as the compositor blends them: every set's pixels are the scalar
// loops' pixels, bit for bit, including the channels' extremes.
TEST(BlendKernels, EverySetGivesTheScalarPixelsOnWholeRows) {
    const BlendKernels& scalar = blendKernelSet(blendKernelSetCount() - 1);
    std::mt19937 random(25);
    constexpr int kRow = 1020;
    for (int set = 0; set < blendKernelSetCount() - 1; ++set) {
        const BlendKernels& kernels = blendKernelSet(set);
        for (uint32_t alpha = 0; alpha <= 255; ++alpha) {
            std::vector<uint32_t> source = randomPixels(random, kRow), dest = randomPixels(random, kRow);
            for (int i = 0; i < kRow; i += 7) source[i] = (i & 8) ? 0xFFFFFFFFu : 0;
            for (int i = 3; i < kRow; i += 11) dest[i] = (i & 16) ? 0xFFFFFFFFu : 0;
            uint32_t colour = random();
            std::vector<uint32_t> wide = dest, narrow = dest;
            kernels.span(wide.data(), source.data(), kRow, alpha);
            scalar.span(narrow.data(), source.data(), kRow, alpha);
            ASSERT_EQ(wide, narrow) << kernels.name << " span, alpha " << alpha;
            wide = dest, narrow = dest;
            kernels.flat(wide.data(), kRow, colour, alpha);
            scalar.flat(narrow.data(), kRow, colour, alpha);
            ASSERT_EQ(wide, narrow) << kernels.name << " flat, alpha " << alpha;
            kernels.ontoBlack(wide.data(), source.data(), kRow, alpha);
            scalar.ontoBlack(narrow.data(), source.data(), kRow, alpha);
            ASSERT_EQ(wide, narrow) << kernels.name << " onto black, alpha " << alpha;
        }
    }
}

}  // namespace
