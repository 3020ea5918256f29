// SPDX-License-Identifier: MIT
#include "media/drawing.h"

#include <algorithm>

#include "media/common/compositor.h"
#include "media/common/drawing_output.h"

namespace media {

namespace {

constexpr int64_t kFrontColour = 0xFFFFFF;

// The open pass: the sprite's pixels while drawing, null when none is open.
std::shared_ptr<SpritePixels> pass;

void fill(int x, int y, int width, int height, uint32_t argb) {
    for (int row = y; row < y + height; ++row)
        std::fill_n(pass->argb.data() + static_cast<size_t>(row) * pass->width + x, width, argb);
}

}  // namespace

int64_t rgb(int64_t r, int64_t g, int64_t b) { return r + g * 256 + b * 65536; }

int startDrawing(DrawingOutput* output) {
    stopDrawing();
    if (!output) return 0;
    pass = openSpritePixels(*output);
    return pass ? 1 : 0;
}

// Clipped to the sprite: a stray coordinate must not write outside it.
void plot(int x, int y) {
    if (!pass || x < 0 || y < 0 || x >= pass->width || y >= pass->height) return;
    pass->argb[static_cast<size_t>(y) * pass->width + x] = gameColourToArgb(kFrontColour);
}

void box(int x, int y, int width, int height, int64_t colour) {
    if (!pass) return;
    int64_t left = x, top = y, w = width, h = height;
    if (w < 0) left += w, w = -w;
    if (h < 0) top += h, h = -h;
    if (left < 0) w += left, left = 0;
    if (top < 0) h += top, top = 0;
    w = std::min<int64_t>(w, pass->width - left);
    h = std::min<int64_t>(h, pass->height - top);
    if (w < 1 || h < 1) return;
    fill(static_cast<int>(left), static_cast<int>(top), static_cast<int>(w), static_cast<int>(h),
         gameColourToArgb(colour));
}

void stopDrawing() {
    if (!pass) return;
    pass->applyColourKey();
    pass.reset();
}

}  // namespace media
