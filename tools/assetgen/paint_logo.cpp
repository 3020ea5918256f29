// SPDX-License-Identifier: MIT
// The title logo: the game's name in bevelled gold with a two-tone rim,
// a drop shadow and a few sparkles; the small logo uses the same recipe.
#include <algorithm>
#include <cmath>
#include <vector>

#include "noise.h"
#include "painters.h"
#include "text.h"

namespace gen {

namespace {

struct Field {
    int w, h;
    std::vector<float> v;
    Field(int width, int height) : w(width), h(height), v(static_cast<size_t>(width) * height, 0.0f) {}
    float at(int x, int y) const {
        x = std::clamp(x, 0, w - 1);
        y = std::clamp(y, 0, h - 1);
        return v[static_cast<size_t>(y) * w + x];
    }
    float& ref(int x, int y) { return v[static_cast<size_t>(y) * w + x]; }
};

Field blur(const Field& f, int radius) {
    Field a(f.w, f.h), b(f.w, f.h);
    const float n = 2.0f * radius + 1;
    for (int y = 0; y < f.h; ++y)
        for (int x = 0; x < f.w; ++x) {
            float s = 0;
            for (int k = -radius; k <= radius; ++k) s += f.at(x + k, y);
            a.ref(x, y) = s / n;
        }
    for (int y = 0; y < f.h; ++y)
        for (int x = 0; x < f.w; ++x) {
            float s = 0;
            for (int k = -radius; k <= radius; ++k) s += a.at(x, y + k);
            b.ref(x, y) = s / n;
        }
    return b;
}

// Grows a coverage field by r pixels (round brush).
Field dilate(const Field& f, float r) {
    Field out(f.w, f.h);
    const int ri = static_cast<int>(std::ceil(r));
    for (int y = 0; y < f.h; ++y)
        for (int x = 0; x < f.w; ++x) {
            float m = 0;
            for (int dy = -ri; dy <= ri && m < 1; ++dy)
                for (int dx = -ri; dx <= ri; ++dx) {
                    const float d = std::hypot(static_cast<float>(dx), static_cast<float>(dy));
                    if (d > r + 0.5f) continue;
                    m = std::max(m, f.at(x + dx, y + dy) * std::clamp(r + 0.5f - d, 0.0f, 1.0f));
                }
            out.ref(x, y) = m;
        }
    return out;
}

struct LogoLook {
    float maxPx, rimInner, rimOuter, shadow, shear, bevel;
    int sparkles;
    bool orbit;  // an elliptic ring sweeping behind the letters
};

// The ring is thick and bright where it swings towards the viewer (bottom)
// and thin where it passes behind (top).
void paintOrbit(Canvas& c, int x, int y) {
    const float cx = c.w / 2.0f, cy = c.h / 2.0f + 4.0f, rx = c.w / 2.0f - 6.0f, ry = c.h / 2.0f - 8.0f;
    const float dx = (x + 0.5f - cx) / rx, dy = (y + 0.5f - cy) / ry;
    const float angle = std::atan2(dy, dx);
    const float front = 0.5f + 0.5f * std::sin(angle);
    const float dist = std::fabs(std::sqrt(dx * dx + dy * dy) - 1.0f) * ry;
    const float half = 0.7f + 1.6f * front;
    if (dist > half) return;
    const Color edge = rgb(20, 50, 120);
    const Color core = mix(rgb(90, 170, 255), rgb(230, 250, 255), front);
    c.set(x, y, mix(core, edge, std::clamp((dist - half + 1.0f), 0.0f, 1.0f)), 1.0f);
}

Canvas paintName(const Sources& s, int w, int h, const LogoLook& look) {
    const std::string name = s.recipe("logo", "name").rest;
    const int margin = static_cast<int>(look.rimInner + look.rimOuter + look.shadow) + 2;
    // Rendering four times larger and averaging gives smooth edges at any size.
    constexpr int kScale = 4;
    const Mask big = fitText(s.sansBold(), name, (w - 2 * margin - static_cast<int>(look.shear * h)) * kScale,
                             (h - 2 * margin) * kScale, look.maxPx * kScale, -0.5f * kScale);
    Field ink(w, h);
    const int ox = (w - big.w / kScale - static_cast<int>(look.shear * big.h / kScale)) / 2;
    const int oy = (h - big.h / kScale) / 2 - static_cast<int>(look.shadow / 2);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float sum = 0;
            for (int sy = 0; sy < kScale; ++sy)
                for (int sx = 0; sx < kScale; ++sx) {
                    const float fy = (y - oy) * kScale + sy;
                    // Lean the letters forward: shift rows by their height above the bottom.
                    const float fx = (x - ox) * kScale + sx - look.shear * (big.h - fy);
                    sum += big.at(static_cast<int>(std::floor(fx)), static_cast<int>(fy));
                }
            ink.ref(x, y) = sum / (kScale * kScale);
        }
    const Field inner = dilate(ink, look.rimInner);
    const Field outer = dilate(ink, look.rimInner + look.rimOuter);
    const Field height = blur(blur(ink, static_cast<int>(look.bevel)), static_cast<int>(look.bevel));
    const Noise n(1989);
    Canvas c(w, h);
    const int sh = static_cast<int>(look.shadow);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float shadowCov = outer.at(x - sh, y - sh);
            if (outer.at(x, y) < 0.5f && shadowCov < 0.5f) {
                if (look.orbit) paintOrbit(c, x, y);
                continue;
            }
            Color col = rgb(12, 10, 40);  // drop shadow
            if (outer.at(x, y) >= 0.5f) col = mix(rgb(18, 24, 78), rgb(40, 60, 150), inner.at(x, y));
            if (inner.at(x, y) >= 0.5f) {
                // Cyan rim between the gold and the dark outline.
                const float t = static_cast<float>(y) / h;
                col = mix(rgb(150, 235, 255), rgb(40, 120, 230), t);
            }
            const float k = ink.at(x, y);
            if (k > 0.0f) {
                const float gx = height.at(x + 1, y) - height.at(x - 1, y);
                const float gy = height.at(x, y + 1) - height.at(x, y - 1);
                const float light = std::clamp(0.5f - (gx * -0.6f + gy * -0.8f) * 2.2f * look.bevel, 0.0f, 1.0f);
                const float t = static_cast<float>(y - oy) / (big.h / kScale);
                // Gold that turns from pale at the top to deep orange at the bottom, with a bright band.
                Color gold = t < 0.5f ? mix(rgb(255, 248, 200), rgb(255, 200, 60), t * 2)
                                      : mix(rgb(250, 160, 30), rgb(190, 70, 20), (t - 0.5f) * 2);
                const float band = std::exp(-std::pow((t - 0.47f) * 9.0f, 2.0f));
                gold = mix(gold, rgb(255, 255, 235), band * 0.55f);
                gold = scale(gold, 0.55f + 0.75f * light);
                gold = add(gold, scale(rgb(255, 255, 255), std::pow(light, 6.0f) * 0.5f));
                gold = scale(gold, 0.96f + 0.08f * n.fbm(x * 0.1f, y * 0.1f, 2));
                col = mix(col, gold, std::clamp(k * 1.2f, 0.0f, 1.0f));
            }
            c.set(x, y, col, 1.0f);
        }
    if (look.orbit) {
        // A bright star riding the front of the ring.
        const float a = 0.5f;
        const int sx = static_cast<int>(w / 2.0f + (w / 2.0f - 6.0f) * std::cos(a));
        const int sy = static_cast<int>(h / 2.0f + 4.0f + (h / 2.0f - 8.0f) * std::sin(a));
        for (int dy = -9; dy <= 9; ++dy)
            for (int dx = -9; dx <= 9; ++dx) {
                const float r = std::hypot(static_cast<float>(dx), static_cast<float>(dy));
                const float star = std::max(
                    std::exp(-r * r / 5.0f),
                    std::exp(-std::fabs(static_cast<float>(dx * dy)) * 0.9f) * std::max(0.0f, 1.0f - r / 9.5f));
                if (star < 0.3f || outer.at(sx + dx, sy + dy) >= 0.5f || !c.inside(sx + dx, sy + dy)) continue;
                const float* p = c.at(sx + dx, sy + dy);
                const Color under = p[3] > 0 ? Color{p[0], p[1], p[2]} : rgb(40, 90, 200);
                c.set(sx + dx, sy + dy, mix(under, rgb(255, 255, 255), std::min(1.0f, star * 1.2f)), 1.0f);
            }
    }
    // Sparkles on the upper edges of the letters.
    Rng rng(4711);
    for (int i = 0, placed = 0; i < 4000 && placed < look.sparkles; ++i) {
        const int x = rng.below(w), y = rng.below(h / 2);
        if (ink.at(x, y) < 0.9f || ink.at(x, y - 3) > 0.1f) continue;
        ++placed;
        const int len = 4 + rng.below(5);
        for (int k = -len; k <= len; ++k) {
            const float a = 1.0f - std::fabs(static_cast<float>(k)) / (len + 1);
            for (auto [px, py] : {std::pair{x + k, y}, std::pair{x, y + k}}) {
                if (!c.inside(px, py)) continue;
                const float* p = c.at(px, py);
                c.set(px, py, mix({p[0], p[1], p[2]}, rgb(255, 255, 255), a), 1.0f);
            }
        }
    }
    return c;
}

}  // namespace

Canvas paintLogo(const Sources& s, int w, int h) {
    return paintName(s, w, h, {150.0f, 3.0f, 3.5f, 6.0f, 0.12f, 4.0f, 7, true});
}

Canvas paintSmallLogo(const Sources& s, int w, int h) {
    return paintName(s, w, h, {44.0f, 1.2f, 1.5f, 2.0f, 0.12f, 1.5f, 2, false});
}

}  // namespace gen
