// SPDX-License-Identifier: MIT
#include "media/common/image_cache.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <future>
#include <map>
#include <utility>

#include "media/screen.h"

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

// What obtainImage makes of some bytes, without touching shared state, so
// that the prefetching thread can make it too.
struct PreparedImage {
    std::vector<uint8_t> bytes;
    ImageInfo info;
    bool large = false;
    std::shared_ptr<const SpritePixels> decoded;
};

bool prepareImage(const uint8_t* data, size_t length, PreparedImage& prepared) {
    if (!readImageInfo(data, length, prepared.info)) return false;
    prepared.bytes.assign(data, data + length);
    prepared.large = prepared.info.format == ImageFormat::Jpeg &&
                     int64_t{prepared.info.width} * prepared.info.height > kLargeImagePixels;
    if (!prepared.large) {
        auto pixels = std::make_shared<SpritePixels>();
        if (!decodeImage(data, length, *pixels)) return false;
        prepared.decoded = std::move(pixels);
    }
    return true;
}

using PrefetchedImages = std::vector<std::pair<CacheKey, PreparedImage>>;
std::future<PrefetchedImages> prefetching;

std::shared_ptr<ImageSource> insertImage(const CacheKey& key, PreparedImage&& prepared) {
    auto image = std::make_shared<ImageSource>();
    image->bytes = std::move(prepared.bytes);
    image->info = prepared.info;
    image->large = prepared.large;
    image->decoded = std::move(prepared.decoded);
    trimCache();
    cache()[key] = image;
    return image;
}

// Waits for the prefetching thread, if any, and files what it decoded.
void adoptPrefetched() {
    if (!prefetching.valid()) return;
    for (auto& [key, prepared] : prefetching.get()) {
        if (cache().count(key) == 0) insertImage(key, std::move(prepared));
    }
}

}  // namespace

ImageSource::~ImageSource() { forgetDecodedLarge(this); }

void prefetchSpriteImages(std::vector<ImageBytes> images) {
    adoptPrefetched();
#if defined(__EMSCRIPTEN__)
    // A browser's program has the one thread: the pictures are decoded when
    // the first one is asked for.
    constexpr auto launch = std::launch::deferred;
#else
    constexpr auto launch = std::launch::async;
#endif
    prefetching = std::async(launch, [images = std::move(images)] {
        PrefetchedImages prepared;
        for (const ImageBytes& image : images) {
            PreparedImage one;
            if (image.data && image.length > 0 && prepareImage(image.data, image.length, one))
                prepared.emplace_back(CacheKey{image.data, image.length}, std::move(one));
        }
        return prepared;
    });
}

std::shared_ptr<ImageSource> obtainImage(const uint8_t* data, size_t length) {
    if (!data || length == 0) return nullptr;
    adoptPrefetched();
    CacheKey key{data, length};
    auto& images = cache();
    auto found = images.find(key);
    if (found != images.end()) {
        if (std::memcmp(found->second->bytes.data(), data, length) == 0) return found->second;
        images.erase(found);
    }

    PreparedImage prepared;
    if (!prepareImage(data, length, prepared)) return nullptr;
    return insertImage(key, std::move(prepared));
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
    adoptPrefetched();
    for (ImageSource* image : decodedLarge()) image->decoded.reset();
    decodedLarge().clear();
    cache().clear();
}

size_t decodedLargeImageCount() { return decodedLarge().size(); }

}  // namespace media
