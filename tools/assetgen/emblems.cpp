// SPDX-License-Identifier: MIT
#include "emblems.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace gen {

namespace {

constexpr float kPi = 3.14159265f;

bool inCircle(float u, float v, float cx, float cy, float r) {
    return (u - cx) * (u - cx) + (v - cy) * (v - cy) < r * r;
}
bool inBox(float u, float v, float x0, float y0, float x1, float y1) {
    return u >= x0 && u <= x1 && v >= y0 && v <= y1;
}

// Distance from (u, v) to the segment a-b.
float segment(float u, float v, float ax, float ay, float bx, float by) {
    const float px = u - ax, py = v - ay, dx = bx - ax, dy = by - ay;
    const float t = std::clamp((px * dx + py * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
    return std::hypot(px - dx * t, py - dy * t);
}

bool star(float u, float v, int points, float inner, float outer) {
    const float r = std::hypot(u, v);
    const float sector0 = 2 * kPi / points;
    float a = std::atan2(v, u) + kPi / 2 + sector0 / 2;  // a tip points straight up
    const float sector = 2 * kPi / points;
    a = std::fmod(a + 100 * sector, sector) / sector;  // 0..1 across one point
    const float t = std::fabs(a - 0.5f) * 2;           // 0 at the tip, 1 between
    return r < outer + (inner - outer) * std::pow(t, 0.8f) * 1.0f;
}

bool skull(float u, float v) {
    const bool head = inCircle(u, v, 0, -0.18f, 0.72f) || inBox(u, v, -0.42f, 0.1f, 0.42f, 0.78f);
    const bool cheeks = inBox(u, v, -0.6f, 0.0f, 0.6f, 0.38f);
    return (head || cheeks) && !insideEmblemDetail("skull", u, v) &&
           !(v > 0.5f && std::fabs(std::fmod(u + 1.0f, 0.21f) - 0.105f) < 0.025f);
}

bool sun(float u, float v) {
    if (inCircle(u, v, 0, 0, 0.5f)) return true;
    const float r = std::hypot(u, v);
    if (r < 0.6f || r > 0.97f) return false;
    const float a = std::atan2(v, u);
    const float k = std::fmod(a + 10 * kPi + kPi / 8, kPi / 4) / (kPi / 4);  // eight rays
    const float half = 0.5f * (0.97f - r) / 0.37f;
    return std::fabs(k - 0.5f) < half * 0.75f;
}

bool tree(float u, float v) {
    const bool crown = inCircle(u, v, 0, -0.3f, 0.48f) || inCircle(u, v, -0.38f, 0.0f, 0.36f) ||
                       inCircle(u, v, 0.38f, 0.0f, 0.36f) || inCircle(u, v, 0, 0.05f, 0.4f);
    return crown || inBox(u, v, -0.13f, 0.2f, 0.13f, 0.9f) || inBox(u, v, -0.4f, 0.82f, 0.4f, 0.95f);
}

bool flame(float u, float v, float size) {
    // A tear drop: round bottom, pointed flickering top.
    const float cy = 0.35f;
    if (inCircle(u, v, 0, cy, 0.55f * size)) return true;
    const float top = -0.95f * size + (1 - size) * 0.35f;
    if (v > cy || v < top) return false;
    const float t = (v - top) / (cy - top);
    const float lean = 0.12f * std::sin(t * 5.0f);
    return std::fabs(u - lean * size) < 0.55f * size * std::pow(t, 0.7f);
}

bool hourglass(float u, float v) {
    if (inBox(u, v, -0.62f, -0.92f, 0.62f, -0.74f) || inBox(u, v, -0.62f, 0.74f, 0.62f, 0.92f)) return true;
    if (std::fabs(v) > 0.74f) return false;
    const float half = 0.08f + 0.47f * std::fabs(v) / 0.74f;
    return std::fabs(u) < half;
}

bool snowflake(float u, float v) {
    const float w = 0.09f;
    for (int k = 0; k < 6; ++k) {
        const float a = k * kPi / 3;
        const float cx = std::cos(a), cy = std::sin(a);
        if (segment(u, v, 0, 0, 0.92f * cx, 0.92f * cy) < w) return true;
        for (float at : {0.45f, 0.7f}) {
            const float bx = at * cx, by = at * cy, len = 0.3f * (1.1f - at);
            for (float side : {-1.0f, 1.0f}) {
                const float b2 = a + side * kPi / 4;
                if (segment(u, v, bx, by, bx + len * std::cos(b2), by + len * std::sin(b2)) < w * 0.8f) return true;
            }
        }
    }
    return inCircle(u, v, 0, 0, 0.18f);
}

bool spiral(float u, float v) {
    const float r = std::hypot(u, v);
    if (r > 0.95f) return false;
    const float a = std::atan2(v, u) + kPi;  // 0..2pi
    const float pitch = 0.3f;                // radius gained per turn
    for (int k = 0; k < 4; ++k) {
        const float rk = pitch * (a / (2 * kPi) + k);
        if (std::fabs(r - rk) < 0.075f && rk < 0.92f) return true;
    }
    return r < 0.08f;
}

bool heart(float u, float v) {
    const float x = u * 1.15f, y = -v * 1.15f + 0.15f;
    const float q = x * x + y * y - 1.0f;
    return q * q * q - x * x * y * y * y < 0.0f;
}

}  // namespace

bool insideEmblem(const std::string& name, float u, float v) {
    if (name == "star") return star(u, v, 5, 0.45f, 1.0f);
    if (name == "skull") return skull(u, v);
    if (name == "sun") return sun(u, v);
    if (name == "tree") return tree(u, v);
    if (name == "flame") return flame(u, v, 1.0f);
    if (name == "hourglass") return hourglass(u, v);
    if (name == "snowflake") return snowflake(u, v);
    if (name == "spiral") return spiral(u, v);
    if (name == "heart") return heart(u, v);
    throw std::runtime_error("unknown emblem " + name);
}

bool insideEmblemDetail(const std::string& name, float u, float v) {
    if (name == "skull")
        return inCircle(u, v, -0.28f, -0.05f, 0.2f) || inCircle(u, v, 0.28f, -0.05f, 0.2f) ||
               (v > 0.2f && v < 0.4f && std::fabs(u) < (v - 0.2f) * 0.5f);
    if (name == "flame") return flame(u, v * 1.0f - 0.12f, 0.55f);
    if (name == "tree") return inBox(u, v, -0.13f, 0.2f, 0.13f, 0.95f) || inBox(u, v, -0.4f, 0.82f, 0.4f, 0.95f);
    if (name == "hourglass") return std::fabs(v) < 0.72f && v > 0.3f && std::fabs(u) < 0.47f * v / 0.74f - 0.02f;
    if (name == "sun") return inCircle(u, v, 0, 0, 0.3f);
    return false;
}

}  // namespace gen
