#include "image_cache.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <utility>

namespace media {

namespace {

// Keyed by where the data is and how long: the game's images are built into
// the program, so the same asset always comes from the same address. The
// bytes are compared as well, so reused memory cannot give a stale image.
using CacheKey = std::pair<const uint8_t*, size_t>;
constexpr size_t kMaxCachedImages = 512;

// Most recently used first. Never destroyed: images held by sprites leave it
// in their destructors, whatever the order of destruction at exit.
std::deque<ImageSource*>& decodedLarge() {
    static auto& images = *new std::deque<ImageSource*>;
    return images;
}

std::map<CacheKey, std::shared_ptr<ImageSource>>& cache() {
    static std::map<CacheKey, std::shared_ptr<ImageSource>> images;
    return images;
}

void forgetDecodedLarge(ImageSource* image) {
    auto& list = decodedLarge();
    list.erase(std::remove(list.begin(), list.end(), image), list.end());
}

// Drops the images no sprite uses any more once the cache is full.
void trimCache() {
    auto& images = cache();
    if (images.size() < kMaxCachedImages) return;
    for (auto it = images.begin(); it != images.end();) {
        if (it->second.use_count() == 1) {
            it = images.erase(it);
        } else {
            ++it;
        }
    }
}

}  // namespace

ImageSource::~ImageSource() { forgetDecodedLarge(this); }

std::shared_ptr<ImageSource> obtainImage(const uint8_t* data, size_t length) {
    if (!data || length == 0) return nullptr;
    CacheKey key{data, length};
    auto& images = cache();
    auto found = images.find(key);
    if (found != images.end()) {
        if (std::memcmp(found->second->bytes.data(), data, length) == 0) return found->second;
        images.erase(found);
    }

    auto image = std::make_shared<ImageSource>();
    if (!readImageInfo(data, length, image->info)) return nullptr;
    image->bytes.assign(data, data + length);
    image->large = image->info.format == ImageFormat::Jpeg &&
                   int64_t{image->info.width} * image->info.height > kLargeImagePixels;
    if (!image->large) {
        auto pixels = std::make_shared<SpritePixels>();
        if (!decodeImage(data, length, *pixels)) return nullptr;
        image->decoded = std::move(pixels);
    }
    trimCache();
    images[key] = image;
    return image;
}

std::shared_ptr<const SpritePixels> imagePixels(ImageSource& image) {
    if (!image.large) return image.decoded;
    auto& list = decodedLarge();
    if (image.decoded) {
        forgetDecodedLarge(&image);
        list.push_front(&image);
        return image.decoded;
    }
    auto pixels = std::make_shared<SpritePixels>();
    if (!decodeImage(image.bytes.data(), image.bytes.size(), *pixels) || pixels->width != image.info.width ||
        pixels->height != image.info.height)
        return nullptr;
    while (list.size() >= kDecodedLargeImagesKept) {
        list.back()->decoded.reset();
        list.pop_back();
    }
    image.decoded = std::move(pixels);
    list.push_front(&image);
    return image.decoded;
}

void clearImageCache() {
    for (ImageSource* image : decodedLarge()) image->decoded.reset();
    decodedLarge().clear();
    cache().clear();
}

size_t decodedLargeImageCount() { return decodedLarge().size(); }

}  // namespace media
