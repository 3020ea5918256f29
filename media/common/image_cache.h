// SPDX-License-Identifier: MIT
#pragma once
// Decoded images shared by the sprites loaded from the same data. The game
// loads all its sprites again on every entry into the title screen, so a
// second load of the same bytes costs a comparison, not a decode. Large
// images (the backgrounds) stay compressed and only the two used last are
// kept decoded.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "media/image_decode.h"

namespace media {

// Above this many pixels an image is decoded on first display.
constexpr int64_t kLargeImagePixels = 1024 * 1024;
constexpr size_t kDecodedLargeImagesKept = 2;

struct ImageSource {
    ImageSource() = default;
    ImageSource(const ImageSource&) = delete;
    ImageSource& operator=(const ImageSource&) = delete;
    ~ImageSource();  // leaves the list of decoded large images

    std::vector<uint8_t> bytes;  // a copy: the caller's data need not outlive the load
    ImageInfo info;
    bool large = false;
    std::shared_ptr<const SpritePixels> decoded;  // null while a large image is not decoded
};

// The image for these bytes, decoded or (large) with a checked header; null
// when the data is not a complete PNG or JPEG. Images decoded ahead by
// prefetchSpriteImages (screen.h) are taken from its thread here.
std::shared_ptr<ImageSource> obtainImage(const uint8_t* data, size_t length);
// The decoded pixels, decoding a large image now if needed; null when its
// data turns out to be corrupt.
std::shared_ptr<const SpritePixels> imagePixels(ImageSource& image);
void clearImageCache();
size_t decodedLargeImageCount();

}  // namespace media
