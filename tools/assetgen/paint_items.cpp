// SPDX-License-Identifier: MIT
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
        girdle[i] = place({9.7f * std::cos(a + kPi / kSides), -3.5f, 9.7f * std::sin(a + kPi / kSides)});
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
            int hits = 0, firstFacet = -1;
            bool edge = false;
            for (int sy = 0; sy < kSub; ++sy)
                for (int sx = 0; sx < kSub; ++sx) {
                    const float px = x + (sx + 0.5f) / kSub - W / 2.0f, py = y + (sy + 0.5f) / kSub - H / 2.0f;
                    float bestZ = -1e9f;
                    const Tri* best = nullptr;
                    for (const Tri& t : mesh) {
                        // Barycentric test in the image plane.
                        const float d = (t.b.y - t.c.y) * (t.a.x - t.c.x) + (t.c.x - t.b.x) * (t.a.y - t.c.y);
                        if (std::fabs(d) < 1e-6f) continue;
                        const float l1 = ((t.b.y - t.c.y) * (px - t.c.x) + (t.c.x - t.b.x) * (py - t.c.y)) / d;
                        const float l2 = ((t.c.y - t.a.y) * (px - t.c.x) + (t.a.x - t.c.x) * (py - t.c.y)) / d;
                        const float l3 = 1 - l1 - l2;
                        if (l1 < 0 || l2 < 0 || l3 < 0) continue;
                        const float z = l1 * t.a.z + l2 * t.b.z + l3 * t.c.z;
                        if (z > bestZ) {
                            bestZ = z;
                            best = &t;
                        }
                    }
                    if (!best) continue;
                    const Tri& t = *best;
                    V3 n = unit(cross(sub(t.b, t.a), sub(t.c, t.a)));
                    if (n.z < 0) n = {-n.x, -n.y, -n.z};
                    const float diffuse = std::max(0.0f, dot(n, light));
                    const float specular = std::pow(std::max(0.0f, dot(n, half)), 16.0f);
                    // Light bouncing inside the stone: each facet flashes at its own angle,
                    // and neighbouring facets alternate light and dark for crisp cuts.
                    const float inner = 0.5f + 0.5f * std::sin(t.facet * 2.1f + frame * 0.785f);
                    const float alt = (t.facet % 2) ? 0.75f : 1.0f;
                    const float k = std::clamp((0.15f + 0.55f * diffuse + 0.5f * inner) * alt, 0.0f, 1.0f);
                    Color c = mix(deep, gem, k);
                    c = add(c, scale(rgb(255, 255, 255), specular * 0.8f + (t.facet == 0 ? 0.25f : 0.0f)));
                    sum = add(sum, c);
                    if (firstFacet < 0) firstFacet = t.facet;
                    else if (t.facet != firstFacet) edge = true;
                    ++hits;
                }
            if (!hits) continue;
            Color c = scale(sum, 1.0f / hits);
            // Facet edges catch the light.
            if (edge && hits == kSub * kSub) c = mix(c, rgb(255, 255, 255), 0.22f);
            setEdge(out, x, y, c, static_cast<float>(hits) / (kSub * kSub));
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

namespace {

// Colour of hot gas from cool (0) to white hot (1).
float segment(float px, float py, float ax, float ay, float bx, float by) {
    const float dx = bx - ax, dy = by - ay;
    const float t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
    return std::hypot(px - ax - dx * t, py - ay - dy * t);
}

Color heat(float k) {
    if (k > 0.75f) return mix(rgb(255, 220, 90), rgb(255, 255, 235), (k - 0.75f) / 0.25f);
    if (k > 0.45f) return mix(rgb(245, 120, 25), rgb(255, 220, 90), (k - 0.45f) / 0.3f);
    if (k > 0.2f) return mix(rgb(170, 35, 20), rgb(245, 120, 25), (k - 0.2f) / 0.25f);
    return mix(rgb(70, 30, 60), rgb(170, 35, 20), k / 0.2f);
}

}  // namespace

Canvas paintBurst(int frame) {
    // The game shows the frames 1, 2, 3, 1, 2 ... while the burst fades, so they
    // are one turn of a spinning fireball: seven flames, the ring's bright arcs, the
    // billows and the sparks all turn a third of a ray's spacing per frame, and
    // frame 3 turns into frame 1 exactly as 1 turns into 2. The ring is hot gold,
    // bright enough to stand out on the darkest sky.
    constexpr int kRays = 7;
    constexpr float kRingRadius = 20.5f;
    const Noise n(9001);
    Canvas out(50, 50);
    const float c = 25.0f;
    const float turn = 2 * kPi / kRays * static_cast<float>(frame) / 3.0f;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x) {
            const float dx = x + 0.5f - c, dy = y + 0.5f - c;
            const float r = std::hypot(dx, dy), a = std::atan2(dy, dx) - turn;
            // Billows sampled in the turning frame of the fireball, so they turn with it.
            const float billow = n.fbm(r * std::cos(a) * 0.16f + 5.0f, r * std::sin(a) * 0.16f + 5.0f, 3);
            const float ray = std::pow(0.5f + 0.5f * std::cos(kRays * a + 0.8f * billow), 2.0f);
            const float coreRadius = 10.0f + 6.5f * ray + 3.0f * billow;
            const float core = 1.0f - r / coreRadius;
            const float arc = 0.45f + 0.55f * std::cos(kRays * a + 1.3f);
            const float ring = (1.0f - std::fabs(r - kRingRadius) / 2.0f) * arc;
            if (core > 0.0f) {
                out.set(x, y, heat(std::clamp(0.45f + core * 0.75f + 0.3f * billow, 0.0f, 1.0f)), 1.0f);
            } else if (ring > 0.2f) {
                out.set(x, y, mix(rgb(255, 150, 45), rgb(255, 245, 200), std::clamp(ring, 0.0f, 1.0f)), 1.0f);
            }
        }
    // Sparks between the core and the ring, three to each ray, turning with them.
    for (int i = 0; i < 3 * kRays; ++i) {
        const float a = i * 2 * kPi / (3 * kRays) + 0.35f * (i % 3) + turn;
        const float d = 15.0f + 1.6f * static_cast<float>(i % 3);
        const int x = static_cast<int>(c + std::cos(a) * d), y = static_cast<int>(c + std::sin(a) * d);
        if (out.at(x, y)[3] == 0.0f) out.set(x, y, rgb(255, 235, 170), 1.0f);
    }
    return out;
}

Canvas paintFire(int frame) {
    constexpr int W = 34, H = 64, kFrames = 5;
    const Noise n(31337), m(27182);
    Canvas out(W, H);
    const float t = static_cast<float>(frame) / kFrames;
    const int logTop = H - 9;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const float u = (x + 0.5f - W / 2.0f) / (W / 2.0f);
            const float h = 1.0f - (y + 0.5f) / (logTop + 2.0f);  // 0 at the embers, 1 at the top
            if (h < 0) continue;
            // Noise scrolls upwards; cross-fading two samples one loop apart makes frame 5 flow into frame 1.
            auto sample = [&](const Noise& src, float phase, float fx, float fy) {
                return src.fbm(x * fx, (y + phase * 40.0f) * fy, 4) * 0.5f + 0.5f;
            };
            const float turb = sample(n, t, 0.17f, 0.1f) * (1 - t) + sample(n, t - 1, 0.17f, 0.1f) * t;
            const float tongues = sample(m, t, 0.3f, 0.06f) * (1 - t) + sample(m, t - 1, 0.3f, 0.06f) * t;
            const float width = 0.92f * std::pow(1.0f - h, 0.55f) + 0.05f;
            float v = 1.0f - std::fabs(u) / width;
            v = v * (1.15f - h * 0.6f) + (turb - 0.5f) * 1.2f * (0.2f + h) + (tongues - 0.5f) * 2.0f * h;
            if (v < 0.22f) continue;
            // A campfire worth winning: hotter at every height than a fire that merely burns.
            const float k = std::clamp((v - 0.22f) * 1.3f + (1.0f - h) * 0.2f, 0.0f, 1.0f);
            out.set(x, y, heat(0.32f + 0.68f * k), 1.0f);
        }
    // Sparks rising from the fire, each a fifth of its climb higher every frame,
    // so frame 5 again flows into frame 1.
    constexpr int kSparks = 9;
    for (int i = 0; i < kSparks; ++i) {
        const float climb = std::fmod(static_cast<float>(i) / kSparks * 2.0f + t, 1.0f);
        const float sy = 30.0f * (1.0f - climb);
        const float sx = W / 2.0f + (static_cast<float>(i % 5) - 2.0f) * 5.5f + 2.5f * std::sin(climb * 2 * kPi + i);
        const int x = static_cast<int>(sx), y = static_cast<int>(sy);
        if (!out.inside(x, y) || out.at(x, y)[3] > 0.0f) continue;
        out.set(x, y, climb < 0.6f ? rgb(255, 250, 200) : rgb(255, 190, 80), 1.0f);
        if (climb < 0.4f && out.inside(x, y + 1) && out.at(x, y + 1)[3] == 0.0f)
            out.set(x, y + 1, rgb(255, 170, 60), 1.0f);
    }
    // The ground lit round the fire: a warm glow behind the flames' foot that
    // fades to the colour of the dusky sky it stands on.
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            if (out.at(x, y)[3] > 0.0f) continue;
            const float gx = (x + 0.5f - W / 2.0f) / 16.0f, gy = (y + 0.5f - (logTop - 6.0f)) / 22.0f;
            const float g = 1.0f - std::sqrt(gx * gx + gy * gy);
            if (g <= 0.12f) continue;
            out.set(x, y, mix(rgb(104, 48, 36), rgb(255, 160, 64), g * g), 1.0f);
        }
    // Two crossed logs under the flames.
    for (int y = logTop - 2; y < H; ++y)
        for (int x = 1; x < W - 1; ++x) {
            const float fx = x + 0.5f, fy = y + 0.5f;
            const float d1 = segment(fx, fy, 3.0f, H - 2.5f, W - 4.0f, H - 7.5f);
            const float d2 = segment(fx, fy, 3.0f, H - 7.5f, W - 4.0f, H - 2.5f);
            const float d = std::min(d1, d2);
            if (d > 2.6f) continue;
            const Color wood = d1 < d2 ? rgb(120, 70, 36) : rgb(98, 56, 30);
            const bool end = fx < 5.5f || fx > W - 6.5f;
            out.set(x, y, end ? rgb(200, 160, 110) : (d > 1.5f ? scale(wood, 0.6f) : wood), 1.0f);
        }
    return out;
}

}  // namespace gen
