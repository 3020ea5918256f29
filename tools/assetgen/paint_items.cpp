// Spinning diamonds, the death burst and the game-over fire.
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "noise.h"
#include "painters.h"

namespace gen {

namespace {

constexpr float kPi = 3.14159265f;

struct V3 {
    float x, y, z;
};
V3 sub(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
V3 unit(V3 v) {
    const float l = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {v.x / l, v.y / l, v.z / l};
}
float dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

struct Tri {
    V3 a, b, c;
    int facet;  // facets of one kind share a sparkle phase
};

// A brilliant-like gem: hexagonal table, crown and pavilion, turned about
// the vertical axis by `turn` and tipped towards the viewer so the table shows.
std::vector<Tri> gemMesh(float turn) {
    constexpr int kSides = 6;
    const float tilt = 0.32f;
    auto place = [&](V3 p) {
        const float c = std::cos(turn), s = std::sin(turn);
        p = {p.x * c + p.z * s, p.y, -p.x * s + p.z * c};
        const float ct = std::cos(tilt), st = std::sin(tilt);
        return V3{p.x, p.y * ct - p.z * st, p.y * st + p.z * ct};
    };
    const V3 table0 = place({0, -12.0f, 0}), bottom = place({0, 15.5f, 0});
    std::array<V3, kSides> table, girdle;
    for (int i = 0; i < kSides; ++i) {
        const float a = i * 2 * kPi / kSides;
        table[i] = place({5.2f * std::cos(a), -12.0f, 5.2f * std::sin(a)});
        girdle[i] = place({9.6f * std::cos(a + kPi / kSides), -5.0f, 9.6f * std::sin(a + kPi / kSides)});
    }
    std::vector<Tri> m;
    for (int i = 0; i < kSides; ++i) {
        const int j = (i + 1) % kSides;
        m.push_back({table0, table[j], table[i], 0});
        m.push_back({table[i], table[j], girdle[i], 1 + i});
        m.push_back({table[j], girdle[j], girdle[i], 1 + i});
        m.push_back({girdle[i], girdle[j], bottom, 8 + i});
    }
    return m;
}

}  // namespace

Canvas paintDiamond(const Sources& s, int colourIndex, int frame) {
    const RecipeLine& r = s.recipe("diamond", std::to_string(colourIndex + 1));
    const Color gem = r.colour("colour"), deep = r.colour("deep");
    // Eight frames cover one sixth of a turn, which the six-fold gem repeats: a seamless spin.
    const std::vector<Tri> mesh = gemMesh(frame * (2 * kPi / 6) / 8);
    const V3 light = unit({-0.4f, -0.8f, 0.6f});
    const V3 half = unit({light.x, light.y, light.z + 1});
    constexpr int kSub = 4, W = 20, H = 30;
    Canvas out(W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            Color sum{};
            int hits = 0;
            for (int sy = 0; sy < kSub; ++sy)
                for (int sx = 0; sx < kSub; ++sx) {
                    const float px = x + (sx + 0.5f) / kSub - W / 2.0f, py = y + (sy + 0.5f) / kSub - H / 2.0f;
                    float bestZ = -1e9f;
                    Color best{};
                    bool any = false;
                    for (const Tri& t : mesh) {
                        V3 n = unit(cross(sub(t.b, t.a), sub(t.c, t.a)));
                        if (n.z < 0) n = {-n.x, -n.y, -n.z};
                        // Barycentric test in the image plane.
                        const float d = (t.b.y - t.c.y) * (t.a.x - t.c.x) + (t.c.x - t.b.x) * (t.a.y - t.c.y);
                        if (std::fabs(d) < 1e-6f) continue;
                        const float l1 = ((t.b.y - t.c.y) * (px - t.c.x) + (t.c.x - t.b.x) * (py - t.c.y)) / d;
                        const float l2 = ((t.c.y - t.a.y) * (px - t.c.x) + (t.a.x - t.c.x) * (py - t.c.y)) / d;
                        const float l3 = 1 - l1 - l2;
                        if (l1 < 0 || l2 < 0 || l3 < 0) continue;
                        const float z = l1 * t.a.z + l2 * t.b.z + l3 * t.c.z;
                        if (z <= bestZ) continue;
                        bestZ = z;
                        any = true;
                        const float diffuse = std::max(0.0f, dot(n, light));
                        const float spec = std::pow(std::max(0.0f, dot(n, half)), 24.0f);
                        // Light bouncing inside the stone: each facet flashes at its own angle.
                        const float inner = 0.5f + 0.5f * std::sin(t.facet * 2.1f + frame * 0.785f);
                        Color c = mix(deep, gem, 0.25f + 0.75f * std::max(diffuse, inner * 0.8f));
                        c = add(c, scale(rgb(255, 255, 255), spec * 0.9f + (t.facet == 0 ? 0.18f : 0.0f)));
                        best = c;
                    }
                    if (any) {
                        sum = add(sum, best);
                        ++hits;
                    }
                }
            if (hits) out.set(x, y, scale(sum, 1.0f / hits), static_cast<float>(hits) / (kSub * kSub));
        }
    // A twinkle on the rim in two of the eight frames.
    if (frame == 2 || frame == 6) {
        const int cx = frame == 2 ? 6 : 14, cy = frame == 2 ? 9 : 12;
        for (int k = -3; k <= 3; ++k) {
            const float a = 1.0f - std::fabs(k) / 4.0f;
            for (auto [px, py] : {std::pair{cx + k, cy}, std::pair{cx, cy + k}}) {
                if (!out.inside(px, py) || out.at(px, py)[3] < 0.5f) continue;
                const float* p = out.at(px, py);
                out.set(px, py, mix({p[0], p[1], p[2]}, rgb(255, 255, 255), a), 1.0f);
            }
        }
    }
    return out;
}

Canvas paintBurst(int frame) {
    const Noise n(9001 + frame);
    const Noise rays(4242);
    Rng rng(77 + frame);
    Canvas out(50, 50);
    const float c = 25.0f;
    const float radius[3] = {11.0f, 18.0f, 23.0f};
    const float heat[3] = {1.0f, 0.75f, 0.45f};
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x) {
            const float dx = x + 0.5f - c, dy = y + 0.5f - c;
            const float r = std::hypot(dx, dy), a = std::atan2(dy, dx);
            const float spikes = 0.75f + 0.35f * rays.fbm(std::cos(a) * 2.0f + 9.0f, std::sin(a) * 2.0f, 3) * 2.0f;
            const float edge = radius[frame] * spikes;
            float v = 1.0f - r / edge;
            v += 0.25f * n.fbm(x * 0.18f, y * 0.18f, 4);
            // Later frames hollow out into a ring of fire.
            if (frame > 0) v -= std::max(0.0f, (radius[frame] * 0.55f - r) / radius[frame]) * (frame == 1 ? 1.2f : 2.4f);
            if (v < 0.12f) continue;
            const float t = std::clamp(v * heat[frame] * 1.6f, 0.0f, 1.0f);
            Color col = t > 0.66f ? mix(rgb(255, 200, 60), rgb(255, 255, 230), (t - 0.66f) / 0.34f)
                        : t > 0.33f ? mix(rgb(230, 80, 20), rgb(255, 200, 60), (t - 0.33f) / 0.33f)
                                    : mix(rgb(90, 20, 30), rgb(230, 80, 20), t / 0.33f);
            out.set(x, y, col, 1.0f);
        }
    // Sparks thrown outwards, further with every frame.
    for (int i = 0; i < 26; ++i) {
        const float a = rng.range(0, 2 * kPi), d = rng.range(0.6f, 1.05f) * (radius[frame] + 4.0f + frame * 2.0f);
        const int x = static_cast<int>(c + std::cos(a) * d), y = static_cast<int>(c + std::sin(a) * d);
        out.set(x, y, frame == 2 ? rgb(255, 150, 60) : rgb(255, 240, 170), 1.0f);
    }
    return out;
}

Canvas paintFire(int frame) {
    constexpr int W = 34, H = 64, kFrames = 5;
    const Noise n(31337);
    Canvas out(W, H);
    const float speed = 9.0f;  // noise units the flame rises per loop
    const float t = static_cast<float>(frame) / kFrames;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const float u = (x + 0.5f - W / 2.0f) / (W / 2.0f);
            const float h = 1.0f - (y + 0.5f) / H;  // 0 at the bottom, 1 at the top
            // Cross-fading two noise samples one loop apart makes frame 5 flow into frame 1.
            auto sample = [&](float phase) {
                return n.fbm(x * 0.16f, (y + phase * speed * 6) * 0.11f, 4) * 0.5f + 0.5f;
            };
            const float turb = sample(t) * (1 - t) + sample(t - 1) * t;
            const float width = 0.95f * std::pow(1.0f - h, 0.65f) + 0.05f;
            const float sway = 0.18f * h * std::sin(h * 5.0f + t * 2 * kPi);
            float v = 1.0f - std::fabs(u - sway) / width;
            v = v * (1.05f - h * 0.95f) + (turb - 0.5f) * 0.9f * (0.3f + h);
            if (h < 0.08f) v = std::min(v, h / 0.08f);
            if (v < 0.18f) continue;
            const float k = std::clamp((v - 0.18f) / 0.7f, 0.0f, 1.0f);
            const Color col = k > 0.7f ? mix(rgb(255, 210, 80), rgb(255, 250, 220), (k - 0.7f) / 0.3f)
                              : k > 0.3f ? mix(rgb(240, 100, 20), rgb(255, 210, 80), (k - 0.3f) / 0.4f)
                                         : mix(rgb(120, 25, 15), rgb(240, 100, 20), k / 0.3f);
            out.set(x, y, col, 1.0f);
        }
    return out;
}

}  // namespace gen
