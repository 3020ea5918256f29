// SPDX-License-Identifier: MIT
#pragma once
// The software back buffer: 1020 x 607 opaque 0xAARRGGBB pixels into which
// sprites are blended span by span. It may be the window's own pixels, so
// that an unscaled frame is shown without a copy.
#include <cstdint>

#include "media/sprite_pixels.h"

namespace media {

// r + g*256 + b*65536 (the game's colour order) to opaque 0xAARRGGBB.
inline uint32_t gameColourToArgb(int64_t colour) {
    uint32_t c = static_cast<uint32_t>(colour);
    return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

// The finished picture so far, rows 1020 pixels apart.
uint32_t* backBuffer();
// Where the next frames are composed: 1020 x 607 pixels, rows 1020 pixels
// apart, that stay valid until the next call; null for the buffer of our own.
// Takes effect at the next clear.
void composeInto(uint32_t* pixels);
void clearBackBuffer(uint32_t argb);
// Copies the picture into the buffer of our own and composes there from now
// on, before the pixels given to composeInto go away.
void keepPictureInOwnBuffer();
// Draws the sprite's opaque pixels with opacity intensity/255, in the tint
// colour (0xAARRGGBB) instead of their own when `tinted`. False when the
// sprite lies wholly outside the buffer.
bool compositeSprite(const SpritePixels& sprite, int x, int y, int intensity, bool tinted, uint32_t tint);

}  // namespace media
