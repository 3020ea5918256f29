// SPDX-License-Identifier: MIT
#include <memory>

#include "media/common/compositor.h"
#include "media/common/drawing_output.h"
#include "media/common/image_cache.h"
#include "media/common/object_table.h"
#include "media/common/unseen_frames.h"
#include "media/last_frame.h"
#include "media/screen.h"
#include "media/sdl/gpu_screen.h"
#include "media/sprite_pixels.h"
#include "media/test_hooks.h"

namespace media {

namespace {

struct SpriteRecord {
    int width = 0;
    int height = 0;
    // A loaded sprite shares its image with every sprite made from the same
    // data; drawing on it first gives it pixels of its own.
    std::shared_ptr<ImageSource> image;
    std::shared_ptr<SpritePixels> own;
    DrawingOutput output;
};

ObjectTable<SpriteRecord> sprites(64);
uint64_t nextGeneration = 1;
std::vector<DrawCall>* drawLog = nullptr;

SpriteRecord& newSprite(int number, int width, int height) {
    SpriteRecord& record = sprites.obtainSlot(number);
    record.width = width;
    record.height = height;
    record.output = {number, nextGeneration++};
    return record;
}

SpriteRecord* spriteFor(const DrawingOutput& output) {
    SpriteRecord* record = sprites.lookup(output.sprite);
    return record && record->output.generation == output.generation ? record : nullptr;
}

}  // namespace

bool initSprites() { return true; }

void shutdownSprites() {
    sprites.releaseAll();
    clearImageCache();
}

bool loadSpriteFromMemory(int number, const unsigned char* data, size_t length) {
    auto image = obtainImage(data, length);
    if (!image) return false;
    SpriteRecord& record = newSprite(number, image->info.width, image->info.height);
    record.image = std::move(image);
    return true;
}

bool createSprite(int number, int width, int height) {
    if (!imageSizeAcceptable(width, height)) return false;
    auto pixels = std::make_shared<SpritePixels>();
    pixels->width = width;
    pixels->height = height;
    pixels->argb.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    pixels->applyColourKey();
    SpriteRecord& record = newSprite(number, width, height);
    record.own = std::move(pixels);
    return true;
}

bool createSizedSprite(int number, int width, int height) {
    if (!imageSizeAcceptable(width, height)) return false;
    newSprite(number, width, height);
    return true;
}

DrawingOutput* spriteOutput(int number) {
    SpriteRecord* record = sprites.lookup(number);
    return record ? &record->output : nullptr;
}

std::shared_ptr<SpritePixels> openSpritePixels(const DrawingOutput& output) {
    SpriteRecord* record = spriteFor(output);
    if (!record) return nullptr;
    if (!record->own) {
        if (!record->image) return nullptr;
        auto shared = imagePixels(*record->image);
        if (!shared) return nullptr;
        record->own = std::make_shared<SpritePixels>(*shared);
        record->image.reset();
    }
    return record->own;
}

bool isSprite(int number) { return sprites.isPresent(number); }

int spriteWidth(int number) {
    SpriteRecord* record = sprites.lookup(number);
    return record ? record->width : 0;
}

int spriteHeight(int number) {
    SpriteRecord* record = sprites.lookup(number);
    return record ? record->height : 0;
}

int displaySprite(int number, int x, int y, int intensity) {
    return displaySpriteTinted(number, x, y, intensity, kNoTint);
}

int displaySpriteTinted(int number, int x, int y, int intensity, int64_t colour) {
    if (framesUnseen()) return sprites.lookup(number) ? 1 : 0;
    if (drawLog) drawLog->push_back({number, x, y, intensity, colour});
    keepDrawnSprite(number, x, y, intensity, colour);
    SpriteRecord* record = sprites.lookup(number);
    if (!record) return 0;
    // A sprite off the screen costs one rectangle test and no decode.
    if (x >= kScreenWidth || y >= kScreenHeight || int64_t{x} + record->width <= 0 || int64_t{y} + record->height <= 0)
        return 0;
    std::shared_ptr<const SpritePixels> pixels = record->own;
    if (!pixels && record->image) pixels = imagePixels(*record->image);
    if (!pixels) return 0;
    bool tinted = colour != kNoTint;
    if (gpuScreenOpen()) return gpuDrawSprite(pixels, x, y, intensity, tinted, gameColourToArgb(colour)) ? 1 : 0;
    return compositeSprite(*pixels, x, y, intensity, tinted, gameColourToArgb(colour)) ? 1 : 0;
}

int spritesCollide(int number1, int x1, int y1, int number2, int x2, int y2) {
    SpriteRecord* a = sprites.lookup(number1);
    SpriteRecord* b = sprites.lookup(number2);
    if (!a || !b) return 0;
    return int64_t{x2} < int64_t{x1} + a->width && int64_t{x1} < int64_t{x2} + b->width &&
                   int64_t{y1} < int64_t{y2} + b->height && int64_t{y2} < int64_t{y1} + a->height
               ? 1
               : 0;
}

void setDrawLog(std::vector<DrawCall>* log) { drawLog = log; }
size_t decodedLargeImages() { return decodedLargeImageCount(); }

}  // namespace media
