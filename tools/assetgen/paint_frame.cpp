// SPDX-License-Identifier: MIT
// The wall of blue tiles, the gold-brick frame and the exit doors.
#include <algorithm>
#include <cmath>

#include "noise.h"
#include "painters.h"

namespace gen {

namespace {

// A bevelled block: lit top and left edges, shaded bottom and right, a
// grain of noise on the face. (x0, y0) .. (x1, y1) inclusive.
void block(Canvas& c, const Noise& n, int x0, int y0, int x1, int y1, Color face, Color light, Color shade, int bevel) {
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const int dl = x - x0, dr = x1 - x, dt = y - y0, db = y1 - y;
            Color col = face;
            const float grain = n.fbm(x * 0.35f, y * 0.35f, 3);
            col = scale(col, 0.92f + 0.16f * grain);
            // A soft vertical sheen across the face.
            const float sheen = 1.0f - std::fabs((y - y0) / std::max(1.0f, static_cast<float>(y1 - y0)) - 0.3f);
            col = mix(col, light, 0.18f * sheen * sheen);
            if (std::min(dt, dl) < bevel && dt <= db && dl <= dr) col = mix(col, light, 0.75f);
            else if (std::min(db, dr) < bevel) col = mix(col, shade, 0.7f);
            c.set(x, y, col, 1.0f);
        }
}

}  // namespace

Canvas paintWall(int w, int h) {
    const Noise n(1414);
    Canvas c(w, h);
    c.fill(rgb(14, 22, 60));  // mortar
    const int tileH = 33;
    for (int row = 0; row * tileH < h; ++row) {
        const int y0 = row * tileH, y1 = std::min(h - 1, y0 + tileH - 2);
        // Rows alternate between one wide tile and two halves, like laid bricks.
        if (row % 2 == 0) {
            block(c, n, 1, y0 + 1, w - 2, y1, rgb(40, 95, 210), rgb(150, 200, 255), rgb(12, 35, 110), 3);
        } else {
            block(c, n, 0, y0 + 1, w / 2 - 2, y1, rgb(34, 84, 196), rgb(140, 190, 255), rgb(12, 35, 110), 3);
            block(c, n, w / 2, y0 + 1, w - 1, y1, rgb(46, 104, 220), rgb(150, 200, 255), rgb(12, 35, 110), 3);
        }
        // A glossy glint near the lit corner of each tile.
        const int tiles = row % 2 == 0 ? 1 : 2;
        for (int t = 0; t < tiles; ++t) {
            const int gx = (t == 0 ? 5 : w / 2 + 4), gy = y0 + 5;
            for (int k = 0; k < 6; ++k) {
                const float a = 1.0f - k / 6.0f;
                const float* p = c.at(gx + k, gy);
                c.set(gx + k, gy, mix({p[0], p[1], p[2]}, rgb(235, 245, 255), 0.8f * a));
                p = c.at(gx, gy + k / 2);
                c.set(gx, gy + k / 2, mix({p[0], p[1], p[2]}, rgb(235, 245, 255), 0.6f * a));
            }
        }
    }
    return c;
}

Canvas paintBrickStrip(int w, int h) {
    const Noise n(2718);
    Canvas c(w, h);
    c.fill(rgb(70, 44, 14));  // mortar
    const bool vertical = h > w;
    const int brickH = 16, brickW = vertical ? w : 42;
    for (int row = 0; row * brickH < h; ++row) {
        const int y0 = row * brickH, y1 = std::min(h - 1, y0 + brickH - 2);
        const int offset = (row % 2) * (vertical ? w / 2 : brickW / 2);
        for (int x0 = -offset; x0 < w; x0 += brickW) {
            const int bx0 = std::max(0, x0 + 1), bx1 = std::min(w - 1, x0 + brickW - 1);
            if (bx1 - bx0 < 2) continue;
            // Slightly different gold per brick keeps the strip lively.
            const float k = 0.5f + 0.5f * n.gradient(x0 * 0.13f + 0.5f, row * 0.71f + 0.5f);
            const Color face = mix(rgb(196, 150, 44), rgb(232, 190, 80), k);
            block(c, n, bx0, y0 + 1, bx1, y1, face, rgb(255, 240, 170), rgb(120, 78, 18), 2);
        }
    }
    return c;
}

Canvas paintDoor(bool open) {
    constexpr int W = 44, H = 57;
    const Noise n(open ? 5150 : 5151);
    Canvas c(W, H);
    const float cx = W / 2.0f, archY = 20.0f, outerR = 21.5f, innerR = 16.5f;
    auto inArch = [&](float x, float y, float r) {
        if (y >= archY) return std::fabs(x - cx) <= r;
        return std::hypot(x - cx, y - archY) <= r;
    };
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            if (!inArch(px, py, outerR)) continue;
            if (!inArch(px, py, innerR) || y >= H - 3) {
                // Stone frame, lit from the upper left.
                const float shade = 0.75f + 0.25f * n.fbm(x * 0.4f, y * 0.4f, 3) + (px < cx ? 0.12f : -0.08f);
                c.set(x, y, scale(rgb(150, 140, 160), shade), 1.0f);
                continue;
            }
            if (!open) {
                // Wooden planks with iron bands and a ring handle.
                const int plank = static_cast<int>((px - (cx - innerR)) / 5.5f);
                Color wood = plank % 2 ? rgb(120, 70, 35) : rgb(135, 80, 40);
                wood = scale(wood, 0.85f + 0.3f * n.fbm(x * 0.2f, y * 1.5f, 3));
                if (std::fmod(px - (cx - innerR), 5.5f) < 0.9f) wood = rgb(60, 32, 18);
                if ((y >= 18 && y <= 20) || (y >= 40 && y <= 42)) wood = rgb(90, 90, 100);
                if (std::hypot(px - 31.0f, py - 32.0f) < 2.2f) wood = rgb(200, 180, 90);
                c.set(x, y, wood, 1.0f);
            } else {
                // The open doorway glows with light from beyond.
                const float d = std::hypot((px - cx) / innerR, (py - 34.0f) / 28.0f);
                const float rays = 0.5f + 0.5f * std::sin(std::atan2(py - 60.0f, px - cx) * 14.0f);
                const float k = std::clamp(1.1f - d + 0.15f * rays, 0.0f, 1.0f);
                c.set(x, y, mix(rgb(60, 120, 200), rgb(255, 255, 235), k), 1.0f);
            }
        }
    if (open) {
        // The door leaf, swung inwards, seen edge-on at the left of the opening.
        for (int y = 12; y < H - 3; ++y)
            for (int x = 6; x < 11; ++x) c.set(x, y, x == 6 ? rgb(70, 40, 20) : rgb(125, 75, 38), 1.0f);
    } else {
        // A red cross says: not yet.
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const float px = x + 0.5f, py = y + 0.5f;
                const float u = (px - 6) / 32.0f, v = (py - 10) / 40.0f;
                if (u < -0.03f || u > 1.03f || v < -0.03f || v > 1.03f) continue;
                const float d = std::min(std::fabs(u - v) * 32.0f, std::fabs(u + v - 1.0f) * 32.0f) / 1.4f;
                if (d < 3.2f) c.set(x, y, d < 2.0f ? rgb(235, 30, 30) : rgb(130, 10, 15), 1.0f);
            }
    }
    return c;
}

}  // namespace gen
