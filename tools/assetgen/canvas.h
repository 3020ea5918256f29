// SPDX-License-Identifier: MIT
#pragma once
// A floating-point RGBA drawing surface. Alpha is coverage: it decides
// which pixels become the black colour key when the sprite is written.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace gen {

struct Color {
    float r = 0, g = 0, b = 0;
};

Color rgb(int r, int g, int b);
Color mix(Color a, Color b, float t);
Color scale(Color c, float k);
Color add(Color a, Color b);

struct Canvas {
    int w = 0, h = 0;
    std::vector<float> px;  // r, g, b, a per pixel, straight (not premultiplied)

    Canvas() = default;
    Canvas(int width, int height);

    float* at(int x, int y) { return &px[(static_cast<size_t>(y) * w + x) * 4]; }
    const float* at(int x, int y) const { return &px[(static_cast<size_t>(y) * w + x) * 4]; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }

    void set(int x, int y, Color c, float a = 1.0f);
    // Source-over compositing of colour c with coverage a.
    void blend(int x, int y, Color c, float a);
    // Adds light (for glows and stars), leaves coverage alone unless raised.
    void addLight(int x, int y, Color c, float k);
    void fill(Color c, float a = 1.0f);
    // Draws another canvas over this one at (ox, oy).
    void draw(const Canvas& src, int ox, int oy, float opacity = 1.0f);
};

// A soft round glow of radius r around (cx, cy), added as light.
void glow(Canvas& c, float cx, float cy, float r, Color col, float strength);
// A filled circle with a one-pixel anti-aliased rim.
void disc(Canvas& c, float cx, float cy, float r, Color col, float a = 1.0f);

// Sprites have no partial transparency (black is the only transparent
// colour), so an edge pixel is drawn whole or not at all. Round and faceted
// edges are therefore drawn pre-blended: a pixel covered at least kEdgeKeep
// becomes opaque, its colour mixed with kEdgeTone by what it leaves
// uncovered. The mid-dark tone softens the stair on bright skies and is no
// darker than the dark skies, so it shows no halo there.
constexpr float kEdgeKeep = 0.3f;
extern const Color kEdgeTone;
void setEdge(Canvas& c, int x, int y, Color col, float coverage);

// 8-bit pixels ready for encoding. Pixels with less than half coverage
// become exactly (0,0,0) (the key); visible ones never are.
std::vector<uint8_t> toRgb8(const Canvas& c);
std::vector<uint8_t> toRgba8(const Canvas& c);

}  // namespace gen
