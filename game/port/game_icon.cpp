// SPDX-License-Identifier: MIT
#include "game/port/game_icon.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "assets/embedded_assets.h"
#include "game/rules/catalogue.h"
#include "media/image_decode.h"

namespace game {

namespace {

// The player standing, facing the viewer: her whole figure, feet included.
constexpr int kGirlStandingSprite = sprite::playerFrame(1);

bool decodeSprite(int number, media::SpritePixels& out) {
    assets::Blob blob = assets::embeddedSprite(number);
    return blob && media::decodeImage(blob.data, blob.size, out);
}

uint32_t argb(double a, double r, double g, double b) {
    auto c = [](double v) { return static_cast<uint32_t>(std::lround(std::clamp(v, 0.0, 255.0))); };
    return c(a) << 24 | c(r) << 16 | c(g) << 8 | c(b);
}

double light(uint32_t c) { return 0.2126 * ((c >> 16) & 0xFF) + 0.7152 * ((c >> 8) & 0xFF) + 0.0722 * (c & 0xFF); }

// The silver orb drawn at the icon's own size, so its edge is sharp at every
// size instead of a small picture blown up: lit from the top left like the
// orbs of the game, with a highlight, its rim anti-aliased.
void drawOrb(media::IconImage& icon, double cx, double cy, double radius) {
    constexpr int kSub = 4;
    for (int y = 0; y < icon.size; ++y)
        for (int x = 0; x < icon.size; ++x) {
            int inside = 0;
            for (int sy = 0; sy < kSub; ++sy)
                for (int sx = 0; sx < kSub; ++sx)
                    inside += std::hypot(x + (sx + 0.5) / kSub - cx, y + (sy + 0.5) / kSub - cy) < radius;
            if (inside == 0) continue;
            const double dx = (x + 0.5 - cx) / radius, dy = (y + 0.5 - cy) / radius;
            const double nz = std::sqrt(std::max(0.0, 1 - dx * dx - dy * dy));
            const double light = std::clamp(-0.55 * dx - 0.6 * dy + 0.6 * nz, 0.0, 1.0);
            const double shine = std::exp(-((dx + 0.35) * (dx + 0.35) + (dy + 0.4) * (dy + 0.4)) * 14);
            const double k = std::min(1.0, 0.25 + 0.75 * light + 0.5 * shine);
            icon.argb[static_cast<size_t>(y * icon.size + x)] = argb(255.0 * inside / (kSub * kSub), 60 + 170 * k,
                                                                     66 + 166 * k, 96 + 144 * k);
        }
}

// The girl scaled into a box, standing on its bottom edge and centred. She
// grows by whole factors, pixel for pixel; where she must shrink, each icon
// pixel takes the colour most of its area has (not their average), so her
// hair, face, bow and dress stay flat, distinct colours even at 16 pixels.
media::IconImage girlIn(const media::SpritePixels& girl, int box) {
    int left = girl.width, top = girl.height, right = 0, bottom = 0;
    for (int y = 0; y < girl.height; ++y)
        for (int x = 0; x < girl.width; ++x)
            if (girl.argb[static_cast<size_t>(y * girl.width + x)] >> 24) {
                left = std::min(left, x);
                top = std::min(top, y);
                right = std::max(right, x + 1);
                bottom = std::max(bottom, y + 1);
            }
    media::IconImage out = media::blankIcon(box);
    if (right <= left) return out;
    const int w = right - left, h = bottom - top;
    double scale = static_cast<double>(box) / std::max(w, h);
    if (scale >= 1) scale = std::floor(scale);
    const int outW = std::max(1, static_cast<int>(w * scale)), outH = std::max(1, static_cast<int>(h * scale));
    const int ox = (box - outW) / 2, oy = box - outH;
    for (int y = 0; y < outH; ++y)
        for (int x = 0; x < outW; ++x) {
            const int x0 = left + static_cast<int>(x / scale), y0 = top + static_cast<int>(y / scale);
            const int x1 = std::max(x0 + 1, left + static_cast<int>((x + 1) / scale));
            const int y1 = std::max(y0 + 1, top + static_cast<int>((y + 1) / scale));
            std::array<uint32_t, 64> colours{};
            std::array<int, 64> counts{};
            int kinds = 0, covered = 0, all = 0;
            for (int sy = y0; sy < y1 && sy < bottom; ++sy)
                for (int sx = x0; sx < x1 && sx < right; ++sx) {
                    ++all;
                    const uint32_t px = girl.argb[static_cast<size_t>(sy * girl.width + sx)];
                    if (!(px >> 24)) continue;
                    ++covered;
                    int k = 0;
                    while (k < kinds && colours[static_cast<size_t>(k)] != px) ++k;
                    if (k == kinds && kinds < 64) colours[static_cast<size_t>(kinds++)] = px;
                    if (k < 64) ++counts[static_cast<size_t>(k)];
                }
            // Less than a third covered is outside her.
            if (kinds == 0 || covered * 3 < all) continue;
            auto pick = std::max_element(counts.begin(), counts.begin() + kinds) - counts.begin();
            // A hint for small sizes: a dark feature (her eyes, her outline) that
            // holds a quarter of the area wins over the lighter colour around it,
            // so her face and shape do not wash out.
            for (int k = 0; k < kinds; ++k)
                if (counts[static_cast<size_t>(k)] * 4 >= covered &&
                    light(colours[static_cast<size_t>(k)]) < light(colours[static_cast<size_t>(pick)]) - 80)
                    pick = k;
            out.argb[static_cast<size_t>((oy + y) * box + ox + x)] = colours[static_cast<size_t>(pick)];
        }
    return out;
}

}  // namespace

media::IconImage gameIcon(int size) {
    media::SpritePixels girl;
    if (size <= 0 || !decodeSprite(kGirlStandingSprite, girl)) return media::blankIcon(size);
    // Every size is drawn for itself, with a clear margin all round.
    const int margin = std::max(1, static_cast<int>(std::lround(size / 16.0)));
    const int inner = size - 2 * margin;
    media::IconImage icon = media::blankIcon(size);
    drawOrb(icon, size / 2.0, size / 2.0, inner / 2.0);
    media::drawOver(icon, girlIn(girl, inner), margin, margin);
    return icon;
}

}  // namespace game
