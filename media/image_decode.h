// SPDX-License-Identifier: MIT
#pragma once
// PNG and JPEG decoding from memory of a known length into sprite pixels.
// Corrupt or truncated data is refused, never read past its end.
#include <cstddef>
#include <cstdint>

#include "media/sprite_pixels.h"

namespace media {

enum class ImageFormat { Unknown, Png, Jpeg };

struct ImageInfo {
    ImageFormat format = ImageFormat::Unknown;
    int width = 0;
    int height = 0;
};

// Largest side and pixel count accepted, so that a forged header cannot make
// us allocate gigabytes.
constexpr int kMaxImageSide = 16384;
constexpr int64_t kMaxImagePixels = 32 * 1024 * 1024;

ImageFormat detectImageFormat(const uint8_t* data, size_t length);
// Reads only the header (and for JPEG checks that the data ends with an end
// marker), so that large images can be decoded later.
bool readImageInfo(const uint8_t* data, size_t length, ImageInfo& info);
// Full decode; the colour key is applied to the result.
bool decodeImage(const uint8_t* data, size_t length, SpritePixels& out);

bool decodePng(const uint8_t* data, size_t length, SpritePixels& out);
bool readPngInfo(const uint8_t* data, size_t length, ImageInfo& info);
bool decodeJpeg(const uint8_t* data, size_t length, SpritePixels& out);
bool readJpegInfo(const uint8_t* data, size_t length, ImageInfo& info);

inline bool imageSizeAcceptable(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
           width * height <= kMaxImagePixels;
}

}  // namespace media
