// SPDX-License-Identifier: MIT
#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

#include "media/image_decode.h"

namespace media {

namespace {

struct MemoryReader {
    const uint8_t* data;
    size_t length;
    size_t position;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (count > reader->length - reader->position) png_error(png, "truncated");
    std::memcpy(out, reader->data + reader->position, count);
    reader->position += count;
}

// libpng reports through longjmp; warnings are not failures.
void ignoreWarning(png_structp, png_const_charp) {}
void failWithJump(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// Holds the libpng objects so that every exit path frees them.
class PngReader {
public:
    PngReader(const uint8_t* data, size_t length) : reader_{data, length, 0} {
        png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, failWithJump, ignoreWarning);
        if (png_) info_ = png_create_info_struct(png_);
        if (info_) png_set_read_fn(png_, &reader_, readFromMemory);
    }
    ~PngReader() { png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, nullptr); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    bool valid() const { return info_ != nullptr; }
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

private:
    MemoryReader reader_;
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

// Reads the header; with `pixels`, also the whole image in BGRA order.
// Kept free of objects with destructors between setjmp and the jumps.
bool readPng(PngReader& reader, ImageInfo& info, SpritePixels* pixels, std::vector<png_bytep>* rows) {
    png_structp png = reader.png();
    png_infop pngInfo = reader.info();
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
    png_read_info(png, pngInfo);
    png_uint_32 width = png_get_image_width(png, pngInfo);
    png_uint_32 height = png_get_image_height(png, pngInfo);
    if (!imageSizeAcceptable(width, height)) return false;
    info = {ImageFormat::Png, static_cast<int>(width), static_cast<int>(height)};
    if (!pixels) return true;

    // Palette, grey below 8 bits and tRNS become 8-bit RGB(A); 16-bit is cut.
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_bgr(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, pngInfo);
    if (png_get_rowbytes(png, pngInfo) != static_cast<size_t>(width) * 4) return false;
    pixels->width = info.width;
    pixels->height = info.height;
    pixels->argb.assign(static_cast<size_t>(width) * height, 0);
    rows->resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        (*rows)[y] = reinterpret_cast<png_bytep>(pixels->argb.data() + static_cast<size_t>(y) * width);
    png_read_image(png, rows->data());
    png_read_end(png, nullptr);
    return true;
}

}  // namespace

bool readPngInfo(const uint8_t* data, size_t length, ImageInfo& info) {
    PngReader reader(data, length);
    return reader.valid() && readPng(reader, info, nullptr, nullptr);
}

bool decodePng(const uint8_t* data, size_t length, SpritePixels& out) {
    ImageInfo info;
    std::vector<png_bytep> rows;
    PngReader reader(data, length);
    return reader.valid() && readPng(reader, info, &out, &rows);
}

}  // namespace media
