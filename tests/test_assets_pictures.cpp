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

namespace {

enum class Kind { Rgb, Rgba, Jpeg };

struct Expected {
    Kind kind;
    int w, h;
};

// Tip pictures 501..560: width and height.
const int kTips[60][2] = {
    {192, 21}, {219, 21}, {244, 21}, {331, 21}, {164, 16}, {209, 21}, {256, 23}, {298, 22}, {329, 22}, {305, 22},
    {375, 22}, {307, 22}, {380, 22}, {197, 22}, {189, 22}, {247, 22}, {313, 20}, {388, 22}, {257, 21}, {343, 21},
    {278, 21}, {376, 23}, {236, 21}, {223, 21}, {259, 21}, {186, 21}, {244, 21}, {172, 21}, {415, 21}, {308, 21},
    {193, 21}, {325, 21}, {307, 21}, {150, 21}, {329, 21}, {199, 20}, {254, 21}, {162, 21}, {261, 21}, {200, 21},
    {258, 21}, {176, 21}, {172, 21}, {285, 21}, {326, 23}, {506, 22}, {507, 21}, {228, 21}, {208, 21}, {124, 20},
    {181, 21}, {221, 18}, {278, 22}, {350, 23}, {220, 21}, {184, 21}, {128, 21}, {725, 21}, {264, 21}, {286, 21}};

std::map<int, Expected> catalogue() {
    std::map<int, Expected> c;
    auto range = [&](int first, int last, Expected e) {
        for (int n = first; n <= last; ++n) c[n] = e;
    };
    range(1, 12, {Kind::Rgba, 55, 48});
    c[13] = {Kind::Jpeg, 1920, 1440};
    c[14] = {Kind::Rgb, 48, 429};
    c[15] = {Kind::Rgba, 44, 57};
    c[16] = {Kind::Rgb, 1001, 48};
    c[17] = {Kind::Rgb, 18, 529};
    c[19] = {Kind::Rgba, 941, 10};
    range(30, 55, {Kind::Rgba, 7, 10});
    c[56] = {Kind::Rgb, 9, 2};
    c[57] = {Kind::Rgba, 171, 24};
    c[58] = {Kind::Rgba, 235, 19};
    c[59] = {Kind::Rgba, 361, 19};
    range(62, 63, {Kind::Rgba, 24, 24});
    c[64] = {Kind::Rgba, 6, 10};
    c[65] = {Kind::Rgba, 16, 16};
    c[66] = {Kind::Rgba, 23, 23};
    range(67, 106, {Kind::Rgba, 20, 30});
    range(107, 109, {Kind::Rgb, 48, 48});
    range(110, 113, {Kind::Rgba, 27, 10});
    range(114, 116, {Kind::Rgba, 50, 50});
    c[117] = {Kind::Rgb, 48, 48};
    c[118] = {Kind::Rgba, 27, 10};
    c[119] = {Kind::Rgb, 48, 48};
    c[120] = {Kind::Rgba, 44, 57};
    c[121] = {Kind::Rgba, 16, 16};
    c[122] = {Kind::Rgb, 663, 157};
    range(123, 141, {Kind::Jpeg, 1920, 1440});
    for (int n : {142, 144, 146, 156}) c[n] = {Kind::Rgb, 48, 48};
    for (int n : {143, 145, 147}) c[n] = {Kind::Rgba, 27, 10};
    c[148] = {Kind::Rgba, 189, 50};
    c[149] = {Kind::Rgba, 131, 19};
    range(150, 151, {Kind::Rgb, 1020, 700});
    c[152] = {Kind::Rgba, 121, 19};
    c[153] = {Kind::Rgba, 102, 18};
    c[154] = {Kind::Rgba, 45, 10};
    c[157] = {Kind::Rgba, 184, 19};
    range(158, 162, {Kind::Rgba, 34, 64});
    range(163, 164, {Kind::Rgba, 32, 32});
    for (int t = 0; t < 60; ++t) c[501 + t] = {Kind::Rgba, kTips[t][0], kTips[t][1]};
    range(701, 703, {Kind::Rgba, 24, 24});
    c[704] = {Kind::Rgba, 19, 19};
    c[705] = {Kind::Rgba, 22, 22};
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
        const bool solid = n == 14 || n == 16 || n == 17 || n == 56 || n == 150 || n == 151;
        if (solid) EXPECT_EQ(keyed, 0u);
        else EXPECT_GT(keyed, 0u);
    }
}

}  // namespace
