// SPDX-License-Identifier: MIT
// jpeglib.h needs size_t and FILE declared before it.
#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include "media/image_decode.h"

namespace media {

namespace {

struct JumpingErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    int warnings;
};

// libjpeg's default error_exit ends the process; we jump back instead.
void jumpOnError(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<JumpingErrorManager*>(cinfo->err);
    std::longjmp(errors->jump, 1);
}

// Level -1 is a warning such as "premature end of data" or "corrupt data":
// the picture would be partly grey, so such an image is refused.
void countWarnings(j_common_ptr cinfo, int level) {
    auto* errors = reinterpret_cast<JumpingErrorManager*>(cinfo->err);
    if (level < 0) ++errors->warnings;
}

class JpegReader {
public:
    JpegReader() {
        cinfo_.err = jpeg_std_error(&errors_.base);
        errors_.base.error_exit = jumpOnError;
        errors_.base.emit_message = countWarnings;
        errors_.warnings = 0;
    }
    ~JpegReader() {
        if (created_) jpeg_destroy_decompress(&cinfo_);
    }
    JpegReader(const JpegReader&) = delete;
    JpegReader& operator=(const JpegReader&) = delete;

    // Kept free of objects with destructors between setjmp and the jumps.
    bool read(const uint8_t* data, size_t length, ImageInfo& info, SpritePixels* pixels) {
        if (setjmp(errors_.jump)) return false;
        jpeg_create_decompress(&cinfo_);
        created_ = true;
        jpeg_mem_src(&cinfo_, data, static_cast<unsigned long>(length));
        if (jpeg_read_header(&cinfo_, TRUE) != JPEG_HEADER_OK) return false;
        if (!imageSizeAcceptable(cinfo_.image_width, cinfo_.image_height)) return false;
        info = {ImageFormat::Jpeg, static_cast<int>(cinfo_.image_width), static_cast<int>(cinfo_.image_height)};
        if (!pixels) return errors_.warnings == 0;

        cinfo_.out_color_space = JCS_EXT_BGRA;
        jpeg_start_decompress(&cinfo_);
        if (cinfo_.output_width != cinfo_.image_width || cinfo_.output_height != cinfo_.image_height ||
            cinfo_.output_components != 4)
            return false;
        pixels->width = info.width;
        pixels->height = info.height;
        pixels->argb.resize(static_cast<size_t>(info.width) * static_cast<size_t>(info.height));
        while (cinfo_.output_scanline < cinfo_.output_height) {
            JSAMPROW row = reinterpret_cast<JSAMPROW>(pixels->argb.data() +
                                                      static_cast<size_t>(cinfo_.output_scanline) * info.width);
            if (jpeg_read_scanlines(&cinfo_, &row, 1) != 1) return false;
        }
        jpeg_finish_decompress(&cinfo_);
        return errors_.warnings == 0;
    }

private:
    jpeg_decompress_struct cinfo_{};
    JumpingErrorManager errors_{};
    bool created_ = false;
};

// A complete JPEG ends with the EOI marker, possibly followed by padding.
bool endsWithEndMarker(const uint8_t* data, size_t length) {
    while (length > 2 && data[length - 1] == 0) --length;
    return length >= 4 && data[length - 2] == 0xFF && data[length - 1] == 0xD9;
}

}  // namespace

bool readJpegInfo(const uint8_t* data, size_t length, ImageInfo& info) {
    if (!data || !endsWithEndMarker(data, length)) return false;
    JpegReader reader;
    return reader.read(data, length, info, nullptr);
}

bool decodeJpeg(const uint8_t* data, size_t length, SpritePixels& out) {
    if (!data || length < 4) return false;
    ImageInfo info;
    JpegReader reader;
    return reader.read(data, length, info, &out);
}

}  // namespace media
