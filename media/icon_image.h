// SPDX-License-Identifier: MIT
#pragma once
// Square icons (the desktop's and the window's) composed from the game's
// pictures: 0xAARRGGBB pixels with straight (not premultiplied) alpha.
#include <cstdint>
#include <vector>

#include "media/sprite_pixels.h"

namespace media {

struct IconImage {
    int size = 0;
    std::vector<uint32_t> argb;  // size * size pixels, row by row
};

// A transparent icon of the given size.
IconImage blankIcon(int size);
// The visible part of a picture (alpha > 0) scaled to fit a box x box square,
// centred horizontally and standing on the bottom edge. Pixel art keeps
// sharp pixels: it grows by whole factors only and never smoothly.
enum class Scaling { Smooth, PixelArt };
IconImage fitPicture(const SpritePixels& picture, int box, Scaling scaling);
// Draws `top` over `base` with its corner at (x, y), blending by alpha.
void drawOver(IconImage& base, const IconImage& top, int x, int y);
// Area-averaged reduction (alpha-weighted, so transparent pixels do not darken
// the edges); the result is `size` x `size`.
IconImage shrinkIcon(const IconImage& icon, int size);

}  // namespace media
