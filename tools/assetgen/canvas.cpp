// SPDX-License-Identifier: MIT
#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace gen {

Color rgb(int r, int g, int b) { return {r / 255.0f, g / 255.0f, b / 255.0f}; }
Color mix(Color a, Color b, float t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
Color scale(Color c, float k) { return {c.r * k, c.g * k, c.b * k}; }
Color add(Color a, Color b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }

Canvas::Canvas(int width, int height) : w(width), h(height), px(static_cast<size_t>(width) * height * 4, 0.0f) {}

void Canvas::set(int x, int y, Color c, float a) {
    if (!inside(x, y)) return;
    float* p = at(x, y);
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
    p[3] = a;
}

void Canvas::blend(int x, int y, Color c, float a) {
    if (!inside(x, y) || a <= 0.0f) return;
    a = std::min(a, 1.0f);
    float* p = at(x, y);
    const float outA = a + p[3] * (1.0f - a);
    if (outA <= 0.0f) return;
    const float keep = p[3] * (1.0f - a);
    p[0] = (c.r * a + p[0] * keep) / outA;
    p[1] = (c.g * a + p[1] * keep) / outA;
    p[2] = (c.b * a + p[2] * keep) / outA;
    p[3] = outA;
}

void Canvas::addLight(int x, int y, Color c, float k) {
    if (!inside(x, y)) return;
    float* p = at(x, y);
    p[0] += c.r * k;
    p[1] += c.g * k;
    p[2] += c.b * k;
}

void Canvas::fill(Color c, float a) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) set(x, y, c, a);
}

void Canvas::draw(const Canvas& src, int ox, int oy, float opacity) {
    for (int y = 0; y < src.h; ++y)
        for (int x = 0; x < src.w; ++x) {
            const float* s = src.at(x, y);
            blend(ox + x, oy + y, {s[0], s[1], s[2]}, s[3] * opacity);
        }
}

void glow(Canvas& c, float cx, float cy, float r, Color col, float strength) {
    const int x0 = std::max(0, static_cast<int>(cx - r)), x1 = std::min(c.w - 1, static_cast<int>(cx + r) + 1);
    const int y0 = std::max(0, static_cast<int>(cy - r)), y1 = std::min(c.h - 1, static_cast<int>(cy + r) + 1);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) / r;
            if (d >= 1.0f) continue;
            const float f = (1.0f - d) * (1.0f - d);
            c.addLight(x, y, col, f * strength);
        }
}

void disc(Canvas& c, float cx, float cy, float r, Color col, float a) {
    const int x0 = std::max(0, static_cast<int>(cx - r - 1)), x1 = std::min(c.w - 1, static_cast<int>(cx + r + 1));
    const int y0 = std::max(0, static_cast<int>(cy - r - 1)), y1 = std::min(c.h - 1, static_cast<int>(cy + r + 1));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
            const float cov = std::clamp(r - d + 0.5f, 0.0f, 1.0f);
            c.blend(x, y, col, cov * a);
        }
}

const Color kEdgeTone = rgb(70, 66, 84);

void setEdge(Canvas& c, int x, int y, Color col, float coverage) {
    if (coverage < kEdgeKeep) return;
    c.set(x, y, coverage >= 1.0f ? col : mix(kEdgeTone, col, coverage), 1.0f);
}

namespace {
uint8_t channel(float v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); }

void visiblePixel(const float* p, uint8_t* out) {
    out[0] = channel(p[0]);
    out[1] = channel(p[1]);
    out[2] = channel(p[2]);
    if (out[0] == 0 && out[1] == 0 && out[2] == 0) out[0] = out[1] = out[2] = 1;
}
}  // namespace

std::vector<uint8_t> toRgb8(const Canvas& c) {
    std::vector<uint8_t> out(static_cast<size_t>(c.w) * c.h * 3, 0);
    for (int i = 0; i < c.w * c.h; ++i) {
        const float* p = &c.px[static_cast<size_t>(i) * 4];
        if (p[3] >= 0.5f) visiblePixel(p, &out[static_cast<size_t>(i) * 3]);
    }
    return out;
}

std::vector<uint8_t> toRgba8(const Canvas& c) {
    std::vector<uint8_t> out(static_cast<size_t>(c.w) * c.h * 4, 0);
    for (int i = 0; i < c.w * c.h; ++i) {
        const float* p = &c.px[static_cast<size_t>(i) * 4];
        if (p[3] >= 0.5f) {
            visiblePixel(p, &out[static_cast<size_t>(i) * 4]);
            out[static_cast<size_t>(i) * 4 + 3] = 255;
        }
    }
    return out;
}

}  // namespace gen
