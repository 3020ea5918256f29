// SPDX-License-Identifier: MIT
// The compositor's wide loops give exactly the one-pixel rounding, for every
// opacity, every length (the tails after the last whole group) and every
// processor variant this machine runs.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
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

}  // namespace
