// SPDX-License-Identifier: MIT
// Glossy orbs with emblems, and the glassy bubbles.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "emblems.h"
#include "painters.h"

namespace gen {

namespace {

struct Vec {
    float x, y, z;
};
Vec norm(Vec v) {
    const float l = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {v.x / l, v.y / l, v.z / l};
}
float dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

const Vec kLight = norm({-0.55f, -0.65f, 0.6f});
const Vec kHalf = norm({kLight.x, kLight.y, kLight.z + 1.0f});
constexpr int kSub = 4;  // supersampling per axis

// The LEVEL banner is flat white and slides over the orbs, so an orb's broad
// surface bends softly under near-white: its light starts to roll off at
// kKnee and never passes kCeiling (in luma). Only the small sharp glint,
// added afterwards, may reach white.
constexpr float kKnee = 0.50f, kCeiling = 0.70f;

Color underTheBanner(Color c) {
    const float l = 0.2126f * c.r + 0.7152f * c.g + 0.0722f * c.b;
    if (l <= kKnee) return c;
    const float room = kCeiling - kKnee;
    return scale(c, (kKnee + room * (1.0f - std::exp(-(l - kKnee) / room))) / l);
}

// Coverage of the emblem (0..1) and of its detail, per pixel.
void emblemMaps(const std::string& name, int size, float cx, float cy, float radius, std::vector<float>& main,
                std::vector<float>& detail) {
    main.assign(static_cast<size_t>(size) * size, 0.0f);
    detail = main;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            int m = 0, d = 0;
            for (int sy = 0; sy < kSub; ++sy)
                for (int sx = 0; sx < kSub; ++sx) {
                    const float u = (x + (sx + 0.5f) / kSub - cx) / radius;
                    const float v = (y + (sy + 0.5f) / kSub - cy) / radius;
                    if (std::fabs(u) > 1.05f || std::fabs(v) > 1.05f) continue;
                    const bool det = insideEmblemDetail(name, u, v);
                    if (det) ++d;
                    if (det || insideEmblem(name, u, v)) ++m;
                }
            main[static_cast<size_t>(y) * size + x] = static_cast<float>(m) / (kSub * kSub);
            detail[static_cast<size_t>(y) * size + x] = static_cast<float>(d) / (kSub * kSub);
        }
}

}  // namespace

Canvas paintOrb(const Sources& s, int number) {
    const RecipeLine& r = s.recipe("orb", std::to_string(number));
    const Color base = r.colour("base"), dark = r.colour("dark"), ink = r.colour("ink"), detailInk = r.colour("detail");
    const Color rim = r.colour("rim");
    const float emblemSize = r.number("size");
    const int n = 48;
    const float c = 24.0f, R = 22.6f;
    std::vector<float> em, det;
    emblemMaps(r.text("emblem"), n, c, c + 0.5f, R * emblemSize, em, det);
    Canvas out(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            // Coverage of the sphere's disc by supersampling; colour from the pixel centre.
            int inside = 0;
            for (int sy = 0; sy < kSub; ++sy)
                for (int sx = 0; sx < kSub; ++sx)
                    if (std::hypot(x + (sx + 0.5f) / kSub - c, y + (sy + 0.5f) / kSub - c) < R) ++inside;
            const float cov = static_cast<float>(inside) / (kSub * kSub);
            if (cov <= 0) continue;
            const float dx = (x + 0.5f - c) / R, dy = (y + 0.5f - c) / R;
            const float d2 = std::min(dx * dx + dy * dy, 0.999f);
            const Vec nrm{dx, dy, std::sqrt(1.0f - d2)};
            const float diffuse = std::max(0.0f, dot(nrm, kLight));
            const float specular = std::pow(std::max(0.0f, dot(nrm, kHalf)), 60.0f);
            const float bounce = std::max(0.0f, dot(nrm, norm({0.6f, 0.7f, 0.2f})));
            Color col = mix(dark, base, std::pow(diffuse, 0.75f));
            col = add(col, scale(rim, std::pow(bounce, 3.0f) * 0.55f));
            // Emblem printed on the surface: shaded with it, outlined by a darker ring.
            const size_t i = static_cast<size_t>(y) * n + x;
            float ring = 0;
            for (int oy = -1; oy <= 1; ++oy)
                for (int ox = -1; ox <= 1; ++ox) {
                    const int nx = x + ox, ny = y + oy;
                    if (nx >= 0 && ny >= 0 && nx < n && ny < n)
                        ring = std::max(ring, em[static_cast<size_t>(ny) * n + nx]);
                }
            col = mix(col, scale(dark, 0.6f), ring * 0.65f);
            const Color emblemColour = mix(ink, detailInk, det[i] / std::max(em[i], 0.001f));
            col = mix(col, scale(emblemColour, 0.55f + 0.6f * diffuse), em[i]);
            // Gloss: a soft window reflection, then a sharp highlight on top of everything.
            const float window = std::exp(-((dx + 0.38f) * (dx + 0.38f) * 9 + (dy + 0.45f) * (dy + 0.45f) * 16));
            col = underTheBanner(add(col, scale(rgb(255, 255, 255), window * 0.35f)));
            col = add(col, scale(rgb(255, 255, 255), specular * 0.9f));
            // Darken towards the silhouette so the orb reads as round on any background.
            col = scale(col, 0.55f + 0.45f * std::pow(nrm.z, 0.5f));
            setEdge(out, x, y, col, cov);
        }
    return out;
}

Canvas paintBubble(const Sources& s, int number, int size) {
    const RecipeLine& r = s.recipe("bubble", std::to_string(number));
    const Color tint = r.colour("tint");
    Canvas out(size, size);
    const float c = size / 2.0f, R = size / 2.0f - 0.6f;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float dx = (x + 0.5f - c) / R, dy = (y + 0.5f - c) / R;
            const float d = std::hypot(dx, dy);
            if (d > 1.0f) continue;
            // A soap bubble is mostly clear: only its rim, a highlight and a
            // faint inner reflection are visible; the rest stays see-through.
            const float rimLight = std::pow(d, 4.0f);
            const float angle = std::atan2(dy, dx);
            const Color film = mix(tint, rgb(255, 170, 230), 0.5f + 0.5f * std::sin(angle * 2.0f + 1.0f));
            const float hi = std::exp(-((dx + 0.4f) * (dx + 0.4f) + (dy + 0.4f) * (dy + 0.4f)) * 30.0f);
            const float lower = (d > 0.55f && d < 0.8f && dx > 0.15f && dy > 0.15f) ? 0.35f : 0.0f;
            const float light = std::max({rimLight, hi * 1.2f, lower});
            if (light < 0.22f) continue;
            Color col = mix(mix(film, rgb(255, 255, 255), 0.15f), rgb(255, 255, 255), std::min(1.0f, hi * 1.3f));
            col = scale(col, 0.45f + 0.6f * std::min(light, 1.0f));
            out.set(x, y, col, 1.0f);
        }
    return out;
}

}  // namespace gen
