// SPDX-License-Identifier: MIT
// The embedded pictures: every sprite number of the catalogue is there, each
// file's own header states the format and size the game is laid out for, and
// the whole file decodes with black as the only transparent colour.
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "assets/embedded_assets.h"
#include "game/rules/catalogue.h"

namespace {

using Kind = game::SpriteFormat;

struct Expected {
    Kind kind;
    int w, h;
};

// The game's catalogue without the sprites the game makes itself.
std::map<int, Expected> catalogue() {
    std::map<int, Expected> c;
    for (const game::SpriteInfo& info : game::kSprites)
        if (info.format != Kind::Made) c[info.number] = {info.format, info.width, info.height};
    return c;
}

uint32_t be32(const unsigned char* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

struct PngHeader {
    uint32_t w = 0, h = 0;
    int depth = -1, colourType = -1, interlace = -1;
    size_t length = 0;  // bytes up to and including the IEND chunk
};

// Reads IHDR and walks the chunk list to find where the file really ends.
bool readPngHeader(const assets::Blob& b, PngHeader& out) {
    static const unsigned char kSig[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (b.size < 33 || std::memcmp(b.data, kSig, 8) != 0 || std::memcmp(b.data + 12, "IHDR", 4) != 0) return false;
    out.w = be32(b.data + 16);
    out.h = be32(b.data + 20);
    out.depth = b.data[24];
    out.colourType = b.data[25];
    out.interlace = b.data[28];
    for (size_t pos = 8; pos + 12 <= b.size;) {
        const size_t next = pos + 12 + be32(b.data + pos);
        if (std::memcmp(b.data + pos + 4, "IEND", 4) == 0) {
            out.length = next;
            return true;
        }
        pos = next;
    }
    return false;
}

struct JpegHeader {
    bool sof0 = false, otherSof = false, endMarker = false;
    int w = 0, h = 0, components = 0, precision = 0;
};

// Walks the marker segments up to the start of scan, then checks the end marker.
JpegHeader readJpegHeader(const assets::Blob& b) {
    JpegHeader j;
    if (b.size < 4 || b.data[0] != 0xFF || b.data[1] != 0xD8) return j;
    for (size_t pos = 2; pos + 4 <= b.size;) {
        if (b.data[pos] != 0xFF) break;
        const int marker = b.data[pos + 1];
        const size_t len = (size_t{b.data[pos + 2]} << 8) | b.data[pos + 3];
        if (marker == 0xC0) {
            j.sof0 = true;
            j.precision = b.data[pos + 4];
            j.h = (b.data[pos + 5] << 8) | b.data[pos + 6];
            j.w = (b.data[pos + 7] << 8) | b.data[pos + 8];
            j.components = b.data[pos + 9];
        } else if (marker >= 0xC1 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            j.otherSof = true;
        }
        if (marker == 0xDA) break;
        pos += 2 + len;
    }
    j.endMarker = b.data[b.size - 2] == 0xFF && b.data[b.size - 1] == 0xD9;
    return j;
}

struct Decoded {
    bool ok = false;
    int w = 0, h = 0, channels = 0;
    std::vector<unsigned char> px;
};

Decoded decodePng(const assets::Blob& b) {
    Decoded d;
    png_image img;
    std::memset(&img, 0, sizeof img);
    img.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&img, b.data, b.size)) return d;
    const bool alpha = (img.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    img.format = alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    d.channels = alpha ? 4 : 3;
    d.w = static_cast<int>(img.width);
    d.h = static_cast<int>(img.height);
    d.px.resize(PNG_IMAGE_SIZE(img));
    d.ok = png_image_finish_read(&img, nullptr, d.px.data(), 0, nullptr) != 0;
    return d;
}

struct JpegErrors {
    jpeg_error_mgr mgr;
    jmp_buf jump;
};

bool decodeJpeg(const assets::Blob& b, int& w, int& h) {
    jpeg_decompress_struct cinfo;
    JpegErrors err;
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = [](j_common_ptr c) { longjmp(reinterpret_cast<JpegErrors*>(c->err)->jump, 1); };
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, b.data, static_cast<unsigned long>(b.size));
    jpeg_read_header(&cinfo, TRUE);
    jpeg_start_decompress(&cinfo);
    std::vector<unsigned char> row(static_cast<size_t>(cinfo.output_width) * cinfo.output_components);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW r = row.data();
        jpeg_read_scanlines(&cinfo, &r, 1);
    }
    w = static_cast<int>(cinfo.output_width);
    h = static_cast<int>(cinfo.output_height);
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

TEST(EmbeddedPictures, HoldExactlyTheCatalogueNumbersInAscendingOrder) {
    std::vector<int> expected;
    for (const auto& [n, e] : catalogue()) expected.push_back(n);
    EXPECT_EQ(assets::embeddedSpriteNumbers(), expected);
    // The game draws these itself; nothing may be embedded under them.
    for (int n : {0, 18, 20, 29, 60, 61, 155, 165, 500, 561, 700, 706})
        EXPECT_FALSE(assets::embeddedSprite(n)) << "sprite " << n;
}

TEST(EmbeddedPictures, PngHeadersMatchTheCatalogueAndTheStoredLength) {
    for (const auto& [n, e] : catalogue()) {
        if (e.kind == Kind::Jpeg) continue;
        SCOPED_TRACE("sprite " + std::to_string(n));
        const assets::Blob b = assets::embeddedSprite(n);
        PngHeader p;
        ASSERT_TRUE(readPngHeader(b, p));
        EXPECT_EQ(p.w, static_cast<uint32_t>(e.w));
        EXPECT_EQ(p.h, static_cast<uint32_t>(e.h));
        EXPECT_EQ(p.depth, 8);
        EXPECT_EQ(p.colourType, e.kind == Kind::Rgb ? 2 : 6);
        EXPECT_EQ(p.interlace, 0);
        EXPECT_EQ(p.length, b.size);
    }
}

TEST(EmbeddedPictures, JpegsAreBaselineThreeComponentsAndDecodeWhole) {
    for (const auto& [n, e] : catalogue()) {
        if (e.kind != Kind::Jpeg) continue;
        SCOPED_TRACE("sprite " + std::to_string(n));
        const assets::Blob b = assets::embeddedSprite(n);
        ASSERT_TRUE(b);
        const JpegHeader j = readJpegHeader(b);
        EXPECT_TRUE(j.sof0);
        EXPECT_FALSE(j.otherSof);
        EXPECT_EQ(j.precision, 8);
        EXPECT_EQ(j.components, 3);
        EXPECT_EQ(j.w, e.w);
        EXPECT_EQ(j.h, e.h);
        EXPECT_TRUE(j.endMarker);
        int w = 0, h = 0;
        EXPECT_TRUE(decodeJpeg(b, w, h));
        EXPECT_EQ(w, e.w);
        EXPECT_EQ(h, e.h);
    }
}

// Black is the colour key: in an RGBA picture a pixel is transparent exactly
// when it is black, and every picture shows something and hides something
// (except the solid strips and backgrounds, which fill their rectangle).
TEST(EmbeddedPictures, PngsDecodeAndUseBlackAsTheOnlyTransparency) {
    for (const auto& [n, e] : catalogue()) {
        if (e.kind == Kind::Jpeg) continue;
        SCOPED_TRACE("sprite " + std::to_string(n));
        const Decoded d = decodePng(assets::embeddedSprite(n));
        ASSERT_TRUE(d.ok);
        ASSERT_EQ(d.w, e.w);
        size_t visible = 0, keyed = 0, mismatched = 0;
        for (size_t i = 0; i + d.channels <= d.px.size(); i += d.channels) {
            const bool black = d.px[i] == 0 && d.px[i + 1] == 0 && d.px[i + 2] == 0;
            black ? ++keyed : ++visible;
            if (d.channels == 4 && black != (d.px[i + 3] == 0)) ++mismatched;
        }
        EXPECT_EQ(mismatched, 0u);
        EXPECT_GT(visible, 0u);
        namespace sprite = game::sprite;
        const bool solid = n == sprite::Wall || n == sprite::BrickStrip || n == sprite::RightBorder ||
                           n == sprite::Underscore || n == sprite::TitleBackground || n == sprite::GameOverBackground;
        if (solid) EXPECT_EQ(keyed, 0u);
        else EXPECT_GT(keyed, 0u);
    }
}

}  // namespace
