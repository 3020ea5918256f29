// SPDX-License-Identifier: MIT
#pragma once
// The GPU path: every sprite is a texture, drawn with SDL's renderer into a
// 1020 x 607 target texture with its opacity as alpha modulation and a flat
// tint as the colour modulation of a white silhouette; the target is then
// scaled to the window as the scale mode says, by nearest pixel.
#include <SDL.h>

#include <cstdint>
#include <memory>

#include "media/sprite_pixels.h"

namespace media {

bool openGpuScreen(SDL_Renderer* renderer);
void closeGpuScreen();
bool gpuScreenOpen();
void gpuClear(uint32_t argb);
// As compositeSprite; the texture is made (or brought up to date after
// drawing on the sprite) on first use.
bool gpuDrawSprite(const std::shared_ptr<const SpritePixels>& sprite, int x, int y, int intensity, bool tinted,
                   uint32_t tint);
bool gpuPresent();
// The last frame drawn, read back from the target (1020 x 607, 0xAARRGGBB).
const uint32_t* gpuPixels();
// SDL lost the textures or the target's contents (a device reset): the
// target is made again, sprite textures when next used.
void gpuTexturesLost();

}  // namespace media
