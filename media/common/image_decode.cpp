// SPDX-License-Identifier: MIT
#include "media/image_decode.h"

#include <cstring>

namespace media {

ImageFormat detectImageFormat(const uint8_t* data, size_t length) {
    static const uint8_t pngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (!data) return ImageFormat::Unknown;
    if (length >= 8 && std::memcmp(data, pngSignature, 8) == 0) return ImageFormat::Png;
    if (length >= 2 && data[0] == 0xFF && data[1] == 0xD8) return ImageFormat::Jpeg;
    return ImageFormat::Unknown;
}

bool readImageInfo(const uint8_t* data, size_t length, ImageInfo& info) {
    switch (detectImageFormat(data, length)) {
    case ImageFormat::Png: return readPngInfo(data, length, info);
    case ImageFormat::Jpeg: return readJpegInfo(data, length, info);
    default: return false;
    }
}

bool decodeImage(const uint8_t* data, size_t length, SpritePixels& out) {
    bool ok = false;
    switch (detectImageFormat(data, length)) {
    case ImageFormat::Png: ok = decodePng(data, length, out); break;
    case ImageFormat::Jpeg: ok = decodeJpeg(data, length, out); break;
    default: break;
    }
    if (!ok) {
        out = SpritePixels{};
        return false;
    }
    out.applyColourKey();
    return true;
}

}  // namespace media
