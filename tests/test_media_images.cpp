// SPDX-License-Identifier: MIT
// PNG and JPEG variants through the decoders, and what they refuse.
#include <gtest/gtest.h>

#include "media/image_decode.h"
#include "test_media_samples.h"

namespace {

using namespace media;
using samples::Bytes;

uint32_t rgbOf(const SpritePixels& p, int x, int y) { return p.argb[static_cast<size_t>(y * p.width + x)] & 0xFFFFFFu; }
uint32_t alphaOf(const SpritePixels& p, int x, int y) { return p.argb[static_cast<size_t>(y * p.width + x)] >> 24; }

TEST(ImageDecodeTest, PaletteWithTransparencyIsExpandedAndKeyedOnBlack) {
    samples::PngOptions options;
    options.colourType = PNG_COLOR_TYPE_PALETTE;
    options.palette = {{0, 0, 0}, {255, 0, 0}, {0, 0, 255}};
    options.paletteAlpha = {255, 0, 128};
    auto png = samples::makePng(3, 1, {Bytes{0, 1, 2}}, options);
    SpritePixels pixels;
    ASSERT_TRUE(decodeImage(png.data(), png.size(), pixels));
    EXPECT_EQ(rgbOf(pixels, 0, 0), 0u);
    EXPECT_EQ(alphaOf(pixels, 0, 0), 0u);
    EXPECT_EQ(rgbOf(pixels, 1, 0), 0xFF0000u);
    EXPECT_EQ(alphaOf(pixels, 1, 0), 255u);
    EXPECT_EQ(rgbOf(pixels, 2, 0), 0x0000FFu);
    EXPECT_EQ(alphaOf(pixels, 2, 0), 255u);
}

TEST(ImageDecodeTest, SixteenBitGreyIsCutToEightBitsOnAllChannels) {
    samples::PngOptions options;
    options.colourType = PNG_COLOR_TYPE_GRAY;
    options.bitDepth = 16;
    auto png = samples::makePng(2, 1, {Bytes{0x12, 0x34, 0x00, 0x00}}, options);
    SpritePixels pixels;
    ASSERT_TRUE(decodeImage(png.data(), png.size(), pixels));
    EXPECT_EQ(rgbOf(pixels, 0, 0), 0x121212u);
    EXPECT_EQ(alphaOf(pixels, 1, 0), 0u);
}

TEST(ImageDecodeTest, InterlacedAndLowBitDepthImagesDecodeWhole) {
    samples::PngOptions options;
    options.colourType = PNG_COLOR_TYPE_RGB;
    options.interlaced = true;
    std::vector<Bytes> rows;
    for (int y = 0; y < 9; ++y) {
        Bytes row;
        for (int x = 0; x < 9; ++x) row.insert(row.end(), {uint8_t(x * 20), uint8_t(y * 20), uint8_t(7)});
        rows.push_back(row);
    }
    auto png = samples::makePng(9, 9, rows, options);
    SpritePixels pixels;
    ASSERT_TRUE(decodeImage(png.data(), png.size(), pixels));
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x) ASSERT_EQ(rgbOf(pixels, x, y), uint32_t(x * 20) << 16 | uint32_t(y * 20) << 8 | 7u);

    samples::PngOptions twoBit;
    twoBit.colourType = PNG_COLOR_TYPE_GRAY;
    twoBit.bitDepth = 2;
    png = samples::makePng(4, 1, {Bytes{0b00011011}}, twoBit);
    ASSERT_TRUE(decodeImage(png.data(), png.size(), pixels));
    EXPECT_EQ(rgbOf(pixels, 0, 0), 0u);
    EXPECT_EQ(rgbOf(pixels, 1, 0), 0x555555u);
    EXPECT_EQ(rgbOf(pixels, 3, 0), 0xFFFFFFu);
}

TEST(ImageDecodeTest, GreyJpegBecomesRgbAndOpaqueSpansSkipBlack) {
    std::vector<uint32_t> grey(16 * 8, 0);
    for (int y = 0; y < 8; ++y)
        for (int x = 8; x < 16; ++x) grey[static_cast<size_t>(y * 16 + x)] = 200;
    auto jpeg = samples::makeJpeg(16, 8, grey, true);
    SpritePixels pixels;
    ASSERT_TRUE(decodeImage(jpeg.data(), jpeg.size(), pixels));
    uint32_t p = rgbOf(pixels, 12, 4);
    EXPECT_EQ(p & 0xFF, (p >> 8) & 0xFF);
    EXPECT_NEAR(static_cast<int>(p & 0xFF), 200, 3);
    EXPECT_EQ(alphaOf(pixels, 1, 1), 0u);
    // Each row: one span over the grey half (ringing may touch its edge).
    ASSERT_EQ(pixels.rowFirstSpan.size(), 9u);
    for (int y = 0; y < 8; ++y) {
        ASSERT_EQ(pixels.rowFirstSpan[static_cast<size_t>(y) + 1] - pixels.rowFirstSpan[static_cast<size_t>(y)], 1u);
        EXPECT_EQ(pixels.spans[static_cast<size_t>(pixels.rowFirstSpan[static_cast<size_t>(y)])].end, 16);
    }
}

TEST(ImageDecodeTest, HeaderReadingGivesSizesAndRefusesForeignOrIncompleteData) {
    auto png = samples::makeRgbaPng(3, 2, std::vector<uint32_t>(6, 0xFFFFFFFFu));
    auto jpeg = samples::makeJpeg(5, 4, std::vector<uint32_t>(20, 0x808080u));
    ImageInfo info;
    ASSERT_TRUE(readImageInfo(png.data(), png.size(), info));
    EXPECT_EQ(info.format, ImageFormat::Png);
    EXPECT_EQ(info.width, 3);
    ASSERT_TRUE(readImageInfo(jpeg.data(), jpeg.size(), info));
    EXPECT_EQ(info.format, ImageFormat::Jpeg);
    EXPECT_EQ(info.height, 4);
    // A JPEG without its end marker is incomplete even when its header reads.
    EXPECT_FALSE(readImageInfo(jpeg.data(), jpeg.size() - 2, info));
    const uint8_t bitmap[] = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0};
    SpritePixels pixels;
    EXPECT_FALSE(decodeImage(bitmap, sizeof bitmap, pixels));
    EXPECT_FALSE(decodeImage(nullptr, 0, pixels));
    for (size_t cut = 8; cut < png.size(); cut += 7) ASSERT_FALSE(decodeImage(png.data(), cut, pixels)) << cut;
    EXPECT_TRUE(pixels.argb.empty());
}

}  // namespace
