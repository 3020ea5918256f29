// SPDX-License-Identifier: MIT
#include "media/icon_image.h"

#include <algorithm>
#include <cmath>

namespace media {

namespace {

struct Box {
    int left, top, right, bottom;  // right and bottom one past the last pixel
};

Box visibleBox(const SpritePixels& p) {
    Box b{p.width, p.height, 0, 0};
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (p.argb[static_cast<size_t>(y * p.width + x)] >> 24) {
                b.left = std::min(b.left, x);
                b.top = std::min(b.top, y);
                b.right = std::max(b.right, x + 1);
                b.bottom = std::max(b.bottom, y + 1);
            }
    return b;
}

uint32_t channel(uint32_t pixel, int shift) { return (pixel >> shift) & 0xFFu; }

// Bilinear sample at (fx, fy) in picture coordinates, alpha-weighted.
uint32_t sampleSmooth(const SpritePixels& p, const Box& b, double fx, double fy) {
    fx = std::clamp(fx, static_cast<double>(b.left), b.right - 1.0);
    fy = std::clamp(fy, static_cast<double>(b.top), b.bottom - 1.0);
    int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy);
    int x1 = std::min(x0 + 1, b.right - 1), y1 = std::min(y0 + 1, b.bottom - 1);
    double wx = fx - x0, wy = fy - y0;
    double sum[4] = {0, 0, 0, 0};
    auto add = [&](int x, int y, double w) {
        uint32_t px = p.argb[static_cast<size_t>(y * p.width + x)];
        double a = channel(px, 24) * w;
        sum[0] += a;
        for (int c = 0; c < 3; ++c) sum[c + 1] += channel(px, 16 - 8 * c) * a;
    };
    add(x0, y0, (1 - wx) * (1 - wy));
    add(x1, y0, wx * (1 - wy));
    add(x0, y1, (1 - wx) * wy);
    add(x1, y1, wx * wy);
    if (sum[0] <= 0) return 0;
    uint32_t out = static_cast<uint32_t>(std::lround(sum[0])) << 24;
    for (int c = 0; c < 3; ++c) out |= static_cast<uint32_t>(std::lround(sum[c + 1] / sum[0])) << (16 - 8 * c);
    return out;
}

}  // namespace

IconImage blankIcon(int size) {
    IconImage icon;
    icon.size = std::max(0, size);
    icon.argb.assign(static_cast<size_t>(icon.size) * static_cast<size_t>(icon.size), 0);
    return icon;
}

IconImage fitPicture(const SpritePixels& picture, int box, Scaling scaling) {
    Box b = visibleBox(picture);
    if (b.right <= b.left || box <= 0) return blankIcon(box);
    int w = b.right - b.left, h = b.bottom - b.top;
    double scale = static_cast<double>(box) / std::max(w, h);
    if (scale < 1) {
        // Shrinking averages whole areas, pixel art too, rather than pick pixels.
        IconImage visible = blankIcon(std::max(w, h));
        int offsetX = (visible.size - w) / 2, offsetY = visible.size - h;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                visible.argb[static_cast<size_t>((offsetY + y) * visible.size + offsetX + x)] =
                    picture.argb[static_cast<size_t>((b.top + y) * picture.width + b.left + x)];
        return shrinkIcon(visible, box);
    }
    if (scaling == Scaling::PixelArt) scale = std::floor(scale);
    IconImage icon = blankIcon(box);
    int outW = static_cast<int>(w * scale), outH = static_cast<int>(h * scale);
    int offsetX = (box - outW) / 2, offsetY = box - outH;
    for (int y = 0; y < outH; ++y)
        for (int x = 0; x < outW; ++x) {
            uint32_t px;
            if (scaling == Scaling::PixelArt) {
                int sx = b.left + static_cast<int>(x / scale), sy = b.top + static_cast<int>(y / scale);
                px = picture.argb[static_cast<size_t>(sy * picture.width + sx)];
            } else {
                // Pixel centres map onto pixel centres.
                px = sampleSmooth(picture, b, b.left + (x + 0.5) / scale - 0.5, b.top + (y + 0.5) / scale - 0.5);
            }
            icon.argb[static_cast<size_t>((offsetY + y) * box + offsetX + x)] = px;
        }
    return icon;
}

void drawOver(IconImage& base, const IconImage& top, int x0, int y0) {
    for (int y = 0; y < top.size; ++y)
        for (int x = 0; x < top.size; ++x) {
            int bx = x0 + x, by = y0 + y;
            if (bx < 0 || by < 0 || bx >= base.size || by >= base.size) continue;
            uint32_t src = top.argb[static_cast<size_t>(y * top.size + x)];
            uint32_t& dst = base.argb[static_cast<size_t>(by * base.size + bx)];
            double sa = channel(src, 24) / 255.0, da = channel(dst, 24) / 255.0;
            double oa = sa + da * (1 - sa);
            if (oa <= 0) continue;
            uint32_t out = static_cast<uint32_t>(std::lround(oa * 255)) << 24;
            for (int shift = 16; shift >= 0; shift -= 8) {
                double c = (channel(src, shift) * sa + channel(dst, shift) * da * (1 - sa)) / oa;
                out |= static_cast<uint32_t>(std::lround(c)) << shift;
            }
            dst = out;
        }
}

IconImage shrinkIcon(const IconImage& icon, int size) {
    IconImage out = blankIcon(size);
    if (size <= 0 || icon.size <= 0) return out;
    double step = static_cast<double>(icon.size) / size;
    for (int oy = 0; oy < size; ++oy)
        for (int ox = 0; ox < size; ++ox) {
            // The source area [x0, x1) x [y0, y1), with partial pixels at the borders.
            double x0 = ox * step, x1 = x0 + step, y0 = oy * step, y1 = y0 + step;
            double sum[4] = {0, 0, 0, 0}, area = 0;
            for (int sy = static_cast<int>(y0); sy < std::min<double>(y1, icon.size); ++sy) {
                double wy = std::min<double>(y1, sy + 1) - std::max<double>(y0, sy);
                for (int sx = static_cast<int>(x0); sx < std::min<double>(x1, icon.size); ++sx) {
                    double w = wy * (std::min<double>(x1, sx + 1) - std::max<double>(x0, sx));
                    uint32_t px = icon.argb[static_cast<size_t>(sy * icon.size + sx)];
                    double a = channel(px, 24) * w;
                    sum[0] += a;
                    for (int c = 0; c < 3; ++c) sum[c + 1] += channel(px, 16 - 8 * c) * a;
                    area += w;
                }
            }
            if (sum[0] <= 0 || area <= 0) continue;
            uint32_t px = static_cast<uint32_t>(std::lround(sum[0] / area)) << 24;
            for (int c = 0; c < 3; ++c) px |= static_cast<uint32_t>(std::lround(sum[c + 1] / sum[0])) << (16 - 8 * c);
            out.argb[static_cast<size_t>(oy * size + ox)] = px;
        }
    return out;
}

}  // namespace media
