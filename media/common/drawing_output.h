// SPDX-License-Identifier: MIT
#pragma once
// What a drawing pass writes into: a sprite, named by its number and the
// generation of its record so that a replaced sprite is never written.
#include <cstdint>
#include <memory>

#include "media/sprite_pixels.h"

namespace media {

struct DrawingOutput {
    int sprite = -1;
    uint64_t generation = 0;
};

// The sprite's own pixels (made private first if they are shared), or null.
// The pass holds them, so replacing the sprite meanwhile cannot free them.
std::shared_ptr<SpritePixels> openSpritePixels(const DrawingOutput& output);

}  // namespace media
