// SPDX-License-Identifier: MIT
#include "media/sdl/gpu_screen.h"

#include <unordered_map>
#include <vector>

#include "media/presentation.h"
#include "media/screen.h"

namespace media {

namespace {

struct SpriteTextures {
    std::weak_ptr<const SpritePixels> pixels;
    uint64_t revision = 0;
    SDL_Texture* image = nullptr;
    SDL_Texture* silhouette = nullptr;  // made on the first tinted draw
};

struct GpuScreen {
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* target = nullptr;
    bool drawing = false;  // the target is the renderer's target
    std::unordered_map<const SpritePixels*, SpriteTextures> textures;
    std::vector<uint32_t> readBack;
};

GpuScreen gpu;

void destroy(SpriteTextures& entry) {
    if (entry.image) SDL_DestroyTexture(entry.image);
    if (entry.silhouette) SDL_DestroyTexture(entry.silhouette);
    entry.image = entry.silhouette = nullptr;
}

void dropAllTextures() {
    for (auto& [key, entry] : gpu.textures) destroy(entry);
    gpu.textures.clear();
}

// Sprites whose pixels are gone (a replaced sprite, a background let go by
// the image cache) give their textures back.
void dropOrphans() {
    for (auto it = gpu.textures.begin(); it != gpu.textures.end();)
        if (it->second.pixels.expired()) {
            destroy(it->second);
            it = gpu.textures.erase(it);
        } else {
            ++it;
        }
}

SDL_Texture* upload(const SpritePixels& sprite, const uint32_t* argb) {
    SDL_Texture* texture = SDL_CreateTexture(gpu.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC,
                                             sprite.width, sprite.height);
    if (!texture) return nullptr;
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);
    if (SDL_UpdateTexture(texture, nullptr, argb, sprite.width * 4) != 0) {
        SDL_DestroyTexture(texture);
        return nullptr;
    }
    return texture;
}

// White where the sprite is opaque, transparent elsewhere.
SDL_Texture* uploadSilhouette(const SpritePixels& sprite) {
    std::vector<uint32_t> white(sprite.argb.size());
    for (size_t i = 0; i < white.size(); ++i) white[i] = (sprite.argb[i] >> 24) ? 0xFFFFFFFFu : 0u;
    return upload(sprite, white.data());
}

SpriteTextures* texturesFor(const std::shared_ptr<const SpritePixels>& sprite) {
    auto found = gpu.textures.find(sprite.get());
    if (found != gpu.textures.end() && found->second.pixels.lock() != sprite) {
        destroy(found->second);
        gpu.textures.erase(found);
        found = gpu.textures.end();
    }
    if (found == gpu.textures.end()) {
        dropOrphans();
        found = gpu.textures.emplace(sprite.get(), SpriteTextures{sprite, sprite->revision, nullptr, nullptr}).first;
    }
    SpriteTextures& entry = found->second;
    if (entry.revision != sprite->revision) {
        destroy(entry);
        entry.revision = sprite->revision;
    }
    if (!entry.image) entry.image = upload(*sprite, sprite->argb.data());
    return entry.image ? &entry : nullptr;
}

bool beginDrawing() {
    if (gpu.drawing) return true;
    if (SDL_SetRenderTarget(gpu.renderer, gpu.target) != 0) return false;
    gpu.drawing = true;
    return true;
}

}  // namespace

bool openGpuScreen(SDL_Renderer* renderer) {
    closeGpuScreen();
    if (!renderer) return false;
    gpu.renderer = renderer;
    gpu.target = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, kScreenWidth,
                                   kScreenHeight);
    if (!gpu.target) {
        gpu = GpuScreen{};
        return false;
    }
    SDL_SetTextureScaleMode(gpu.target, SDL_ScaleModeNearest);
    SDL_SetTextureBlendMode(gpu.target, SDL_BLENDMODE_NONE);
    gpuClear(0xFF000000u);
    return true;
}

void closeGpuScreen() {
    dropAllTextures();
    if (gpu.target) SDL_DestroyTexture(gpu.target);
    gpu = GpuScreen{};
}

bool gpuScreenOpen() { return gpu.renderer != nullptr; }

void gpuClear(uint32_t argb) {
    if (!beginDrawing()) return;
    SDL_SetRenderDrawBlendMode(gpu.renderer, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(gpu.renderer, (argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF, 0xFF);
    SDL_RenderClear(gpu.renderer);
}

bool gpuDrawSprite(const std::shared_ptr<const SpritePixels>& sprite, int x, int y, int intensity, bool tinted,
                   uint32_t tint) {
    if (x >= kScreenWidth || y >= kScreenHeight || int64_t{x} + sprite->width <= 0 || int64_t{y} + sprite->height <= 0)
        return false;
    if (intensity <= 0 || sprite->spans.empty() || !beginDrawing()) return true;
    SpriteTextures* entry = texturesFor(sprite);
    if (!entry) return true;
    SDL_Texture* texture = entry->image;
    if (tinted) {
        if (!entry->silhouette) entry->silhouette = uploadSilhouette(*sprite);
        if (!entry->silhouette) return true;
        texture = entry->silhouette;
        SDL_SetTextureColorMod(texture, (tint >> 16) & 0xFF, (tint >> 8) & 0xFF, tint & 0xFF);
    }
    SDL_SetTextureAlphaMod(texture, static_cast<uint8_t>(intensity > 255 ? 255 : intensity));
    SDL_Rect place{x, y, sprite->width, sprite->height};
    SDL_RenderCopy(gpu.renderer, texture, nullptr, &place);
    return true;
}

bool gpuPresent() {
    if (!gpu.renderer) return false;
    beginDrawing();
    gpu.drawing = false;
    if (SDL_SetRenderTarget(gpu.renderer, nullptr) != 0) return false;
    int width = 0, height = 0;
    SDL_GetRendererOutputSize(gpu.renderer, &width, &height);
    PictureRect place = pictureRect(scaleMode(), width, height);
    SDL_Rect inside{place.x, place.y, place.width, place.height};
    SDL_SetRenderDrawColor(gpu.renderer, 0, 0, 0, 0xFF);
    SDL_RenderClear(gpu.renderer);
    SDL_SetTextureScaleMode(gpu.target,
                            smoothScaling(scaleFilter(), place) ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    if (SDL_RenderCopy(gpu.renderer, gpu.target, nullptr, &inside) != 0) return false;
    SDL_RenderPresent(gpu.renderer);
    return true;
}

const uint32_t* gpuPixels() {
    gpu.readBack.assign(static_cast<size_t>(kScreenWidth) * kScreenHeight, 0xFF000000u);
    if (!gpu.renderer) return gpu.readBack.data();
    bool wasDrawing = gpu.drawing;
    beginDrawing();
    SDL_RenderReadPixels(gpu.renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, gpu.readBack.data(), kScreenWidth * 4);
    if (!wasDrawing) {
        SDL_SetRenderTarget(gpu.renderer, nullptr);
        gpu.drawing = false;
    }
    for (uint32_t& pixel : gpu.readBack) pixel |= 0xFF000000u;
    return gpu.readBack.data();
}

void gpuTexturesLost() {
    if (!gpu.renderer) return;
    SDL_Renderer* renderer = gpu.renderer;
    openGpuScreen(renderer);
}

}  // namespace media
