// SPDX-License-Identifier: MIT
// Deep-space pictures: nebulae from domain-warped noise, dust lanes,
// star fields in three depths, an optional spiral galaxy and planet.
#include <algorithm>
#include <cmath>
#include <string>

#include "noise.h"
#include "painters.h"
#include "status_band.h"

namespace gen {

namespace {

float smooth(float e0, float e1, float x) {
    const float t = std::clamp((x - e0) / (e1 - e0), 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

struct SpaceRecipe {
    uint64_t seed;
    Color hue1, hue2, hue3, base;
    float scale, density, brightness, dust;
    int stars;
    bool galaxy;
    float galaxyX, galaxyY, galaxyR, galaxyTilt;
    Color galaxyColour;
    bool planet;
    float planetX, planetY, planetR, lightX, lightY, clouds;
    Color planetA, planetB;
    float ring;
    bool glow;
    float glowX, glowY, glowR;
    Color glowColour;
};

float opt(const RecipeLine& r, const std::string& key, float fallback) {
    return r.values.count(key) ? r.number(key) : fallback;
}
Color optColour(const RecipeLine& r, const std::string& key, Color fallback) {
    return r.values.count(key) ? r.colour(key) : fallback;
}

SpaceRecipe readRecipe(const RecipeLine& r) {
    SpaceRecipe s{};
    s.seed = static_cast<uint64_t>(r.number("seed"));
    s.hue1 = r.colour("hue1");
    s.hue2 = r.colour("hue2");
    s.hue3 = r.colour("hue3");
    s.base = optColour(r, "base", rgb(3, 3, 8));
    s.scale = opt(r, "scale", 1.0f);
    s.density = opt(r, "density", 0.5f);
    s.brightness = opt(r, "brightness", 1.0f);
    s.dust = opt(r, "dust", 0.5f);
    s.stars = static_cast<int>(opt(r, "stars", 6000));
    s.galaxy = r.values.count("galaxy") != 0;
    if (s.galaxy) {
        s.galaxyX = r.number("galaxy");
        s.galaxyY = r.number("galaxyY");
        s.galaxyR = r.number("galaxyR");
        s.galaxyTilt = opt(r, "galaxyTilt", 0.5f);
        s.galaxyColour = optColour(r, "galaxyColour", rgb(255, 230, 200));
    }
    s.planet = r.values.count("planet") != 0;
    if (s.planet) {
        s.planetX = r.number("planet");
        s.planetY = r.number("planetY");
        s.planetR = r.number("planetR");
        s.planetA = r.colour("planetA");
        s.planetB = r.colour("planetB");
        s.ring = opt(r, "ring", 0.0f);
        s.lightX = opt(r, "lightX", -0.6f);
        s.lightY = opt(r, "lightY", -0.45f);
        s.clouds = opt(r, "clouds", 0.0f);
    }
    s.glow = r.values.count("glow") != 0;
    if (s.glow) {
        s.glowX = r.number("glow");
        s.glowY = r.number("glowY");
        s.glowR = r.number("glowR");
        s.glowColour = r.colour("glowColour");
    }
    return s;
}

// A light buffer: colours add up, tone mapping happens at the end.
struct Light {
    int w, h;
    std::vector<Color> px;
    Light(int width, int height) : w(width), h(height), px(static_cast<size_t>(width) * height) {}
    Color& at(int x, int y) { return px[static_cast<size_t>(y) * w + x]; }
    void add(int x, int y, Color c) {
        if (x < 0 || y < 0 || x >= w || y >= h) return;
        Color& p = at(x, y);
        p = gen::add(p, c);
    }
};

void paintNebula(Light& out, const SpaceRecipe& r) {
    // Half resolution is plenty for gas clouds; stars are added at full size.
    const int hw = out.w / 2 + 1, hh = out.h / 2 + 1;
    std::vector<Color> half(static_cast<size_t>(hw) * hh);
    const Noise warp(r.seed * 7 + 1), shape(r.seed * 7 + 2), tint(r.seed * 7 + 3), dust(r.seed * 7 + 4),
        fil(r.seed * 7 + 5), region(r.seed * 7 + 6);
    const float f = 2.2f / (out.w * 0.5f) * r.scale;
    for (int y = 0; y < hh; ++y)
        for (int x = 0; x < hw; ++x) {
            const float px = x * f, py = y * f;
            const float qx = warp.fbm(px, py, 4), qy = warp.fbm(px + 5.2f, py + 1.3f, 4);
            const float n = shape.fbm(px + 1.8f * qx, py + 1.8f * qy, 6);
            // Large empty stretches between the clouds keep the sky deep.
            const float open = smooth(0.3f, 0.62f,
                                      region.fbm(px * 0.3f, py * 0.3f, 3) * 0.5f + 0.35f + r.density * 0.3f);
            const float d = open * smooth(0.45f - r.density * 0.55f, 0.75f, n * 0.5f + 0.5f);
            const float t = tint.fbm(px * 0.7f + qx, py * 0.7f, 3) * 0.5f + 0.5f;
            const float strands = fil.ridged(px * 1.5f + qy, py * 1.5f + qx, 5);
            const float lane = smooth(0.1f, 0.6f, dust.fbm(px * 1.3f + qx * 0.7f, py * 1.3f, 5) * 0.5f + 0.5f);
            // Thin gas glows in the first colour, dense gas in the second.
            const float hue = std::clamp(smooth(0.25f, 0.85f, d) * 0.75f + (t - 0.5f) * 0.9f, 0.0f, 1.0f);
            Color c = scale(mix(r.hue1, r.hue2, hue), std::pow(d, 1.6f) * 1.4f);
            c = add(c, scale(r.hue3, d * std::pow(strands, 4.0f) * 1.1f));
            // Hot, bright cores where the gas is densest.
            c = add(c, scale(mix(r.hue3, r.hue2, t), std::pow(d, 4.0f) * 0.7f));
            // Faint glow everywhere keeps the darkest parts from being flat.
            c = add(c, scale(mix(r.hue1, r.hue2, t), 0.05f * (n * 0.5f + 0.5f)));
            c = scale(c, r.brightness * (1.0f - r.dust * lane * 0.85f));
            half[static_cast<size_t>(y) * hw + x] = c;
        }
    for (int y = 0; y < out.h; ++y) {
        const float fy = y * 0.5f;
        const int y0 = std::min(static_cast<int>(fy), hh - 2);
        const float ty = fy - y0;
        for (int x = 0; x < out.w; ++x) {
            const float fx = x * 0.5f;
            const int x0 = std::min(static_cast<int>(fx), hw - 2);
            const float tx = fx - x0;
            const Color a = mix(half[static_cast<size_t>(y0) * hw + x0], half[static_cast<size_t>(y0) * hw + x0 + 1],
                                tx);
            const Color b = mix(half[static_cast<size_t>(y0 + 1) * hw + x0],
                                half[static_cast<size_t>(y0 + 1) * hw + x0 + 1], tx);
            out.add(x, y, add(mix(a, b, ty), r.base));
        }
    }
}

Color starColour(Rng& rng) {
    const float t = rng.uniform();
    if (t < 0.25f) return rgb(170, 200, 255);
    if (t < 0.6f) return rgb(235, 240, 255);
    if (t < 0.85f) return rgb(255, 240, 210);
    return rgb(255, 200, 150);
}

void splat(Light& out, float cx, float cy, float radius, Color c) {
    const int r = static_cast<int>(std::ceil(radius * 2.5f));
    for (int y = -r; y <= r; ++y)
        for (int x = -r; x <= r; ++x) {
            const int px = static_cast<int>(cx) + x, py = static_cast<int>(cy) + y;
            const float dx = px + 0.5f - cx, dy = py + 0.5f - cy;
            const float k = std::exp(-(dx * dx + dy * dy) / (radius * radius));
            if (k > 0.004f) out.add(px, py, scale(c, k));
        }
}

void paintStars(Light& out, const SpaceRecipe& r) {
    Rng rng(r.seed * 31 + 7);
    const float area = out.w * out.h / (1920.0f * 1440.0f);
    const int faint = static_cast<int>(r.stars * area);
    for (int i = 0; i < faint; ++i) {
        const float x = rng.range(0, out.w), y = rng.range(0, out.h);
        const float b = std::pow(rng.uniform(), 3.0f) * 0.9f + 0.08f;
        splat(out, x, y, 0.55f, scale(starColour(rng), b));
    }
    const int medium = faint / 12;
    for (int i = 0; i < medium; ++i) {
        const float x = rng.range(0, out.w), y = rng.range(0, out.h);
        const Color c = starColour(rng);
        splat(out, x, y, 0.8f, scale(c, rng.range(0.8f, 1.6f)));
        splat(out, x, y, 3.0f, scale(c, 0.05f));
    }
    const int bright = std::max(3, faint / 400);
    for (int i = 0; i < bright; ++i) {
        const float x = rng.range(0, out.w), y = rng.range(0, out.h);
        const Color c = starColour(rng);
        const float s = rng.range(0.7f, 1.4f);
        splat(out, x, y, 1.1f, scale(c, 2.5f * s));
        splat(out, x, y, 7.0f * s, scale(c, 0.08f * s));
        // Diffraction spikes: thin fading lines along the axes.
        const int len = static_cast<int>(18 * s);
        for (int k = 2; k < len; ++k) {
            const float a = 0.5f * s * std::pow(1.0f - static_cast<float>(k) / len, 2.0f);
            const Color sc = scale(c, a);
            out.add(static_cast<int>(x) + k, static_cast<int>(y), sc);
            out.add(static_cast<int>(x) - k, static_cast<int>(y), sc);
            out.add(static_cast<int>(x), static_cast<int>(y) + k, sc);
            out.add(static_cast<int>(x), static_cast<int>(y) - k, sc);
        }
    }
}

void paintGalaxy(Light& out, const SpaceRecipe& r) {
    const float cx = r.galaxyX * out.w, cy = r.galaxyY * out.h, R = r.galaxyR * out.w;
    const float rot = r.seed * 0.7f, tilt = r.galaxyTilt;
    const Noise clumps(r.seed * 13 + 9);
    const int x0 = std::max(0, static_cast<int>(cx - R * 1.3f)), x1 = std::min(out.w, static_cast<int>(cx + R * 1.3f));
    const int y0 = std::max(0, static_cast<int>(cy - R * 1.3f)), y1 = std::min(out.h, static_cast<int>(cy + R * 1.3f));
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const float dx = (x - cx) / R, dy = (y - cy) / R;
            const float u = dx * std::cos(rot) + dy * std::sin(rot);
            const float v = (-dx * std::sin(rot) + dy * std::cos(rot)) / tilt;
            const float rr = std::sqrt(u * u + v * v);
            if (rr > 1.25f) continue;
            const float theta = std::atan2(v, u);
            const float arms = std::pow(0.5f + 0.5f * std::cos(2.0f * (theta - 4.0f * std::log(rr + 0.05f))), 3.0f);
            const float grain = 0.6f + 0.4f * clumps.fbm(u * 9, v * 9, 3);
            const float disk = std::exp(-rr * 4.0f) * (0.25f + 1.1f * arms * grain);
            const float core = std::exp(-rr * rr * 90.0f) * 1.6f;
            const Color armColour = mix(rgb(150, 180, 255), r.galaxyColour, std::exp(-rr * 3.0f));
            out.add(x, y, add(scale(armColour, disk * 0.9f), scale(r.galaxyColour, core)));
        }
}

// A wide soft light, as of a sun just out of sight: bright at its centre,
// fading with distance, lighting the gas around it.
void paintGlow(Light& out, const SpaceRecipe& r) {
    const float cx = r.glowX * out.w, cy = r.glowY * out.h, R = r.glowR * out.w;
    for (int y = 0; y < out.h; ++y)
        for (int x = 0; x < out.w; ++x) {
            const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) / R;
            out.add(x, y, scale(r.glowColour, 1.0f / (1.0f + d * d * 2.5f)));
        }
}

void paintPlanet(Light& out, const SpaceRecipe& r) {
    const float cx = r.planetX * out.w, cy = r.planetY * out.h, R = r.planetR * out.w;
    const Noise bands(r.seed * 17 + 3);
    const float lx = r.lightX, ly = r.lightY, lz = std::sqrt(std::max(0.05f, 1.0f - lx * lx - ly * ly));
    const Color air = mix(r.planetB, rgb(170, 210, 255), 0.6f);
    const int x0 = std::max(0, static_cast<int>(cx - R * 1.9f)), x1 = std::min(out.w, static_cast<int>(cx + R * 1.9f));
    const int y0 = std::max(0, static_cast<int>(cy - R * 1.9f)), y1 = std::min(out.h, static_cast<int>(cy + R * 1.9f));
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const float dx = (x + 0.5f - cx) / R, dy = (y + 0.5f - cy) / R;
            const float d2 = dx * dx + dy * dy;
            Color& p = out.at(x, y);
            // Ring: an ellipse band in front of the lower half of the planet, behind the upper.
            const float ringR = std::sqrt(dx * dx + (dy * 3.2f) * (dy * 3.2f));
            const bool inRing = r.ring > 0 && ringR > 1.35f && ringR < 1.8f;
            const float ringA = inRing ? r.ring * (0.55f + 0.45f * std::sin(ringR * 40.0f)) * 0.6f : 0.0f;
            if (d2 < 1.0f) {
                const float dz = std::sqrt(1.0f - d2);
                const float lit = std::max(0.0f, dx * lx + dy * ly + dz * lz);
                const float lat = dy + 0.15f * bands.fbm(dx * 3, dy * 3, 4);
                const float t = 0.5f + 0.5f * std::sin(lat * 11.0f + bands.fbm(dx * 2, dy * 9, 3) * 2.5f);
                Color surface = mix(r.planetA, r.planetB, t);
                // Streaks of white cloud, stretched along the latitudes.
                const float cloud = smooth(0.52f, 0.8f, bands.fbm(dx * 5.0f + 40.0f, dy * 16.0f, 5) * 0.5f + 0.5f);
                surface = mix(surface, rgb(245, 250, 255), cloud * r.clouds);
                surface = scale(surface, 0.03f + 1.1f * std::pow(lit, 1.2f));
                // Atmosphere: a bright limb on the lit side.
                const float depth = (1.0f - std::sqrt(d2)) * R;  // pixels inside the limb
                const float rim = (0.35f * std::pow(1.0f - dz, 2.0f) + std::exp(-depth / 5.0f)) *
                                  std::min(1.0f, lit * 2.5f + 0.1f);
                surface = add(surface, scale(air, rim * 0.8f));
                // The planet hides what is behind it: replace the light, keep a trace of nebula.
                p = add(scale(p, 0.04f), surface);
                if (inRing && dy > 0)
                    p = add(scale(p, 1.0f - ringA), scale(mix(r.planetA, rgb(255, 250, 235), 0.5f), ringA * 0.9f));
            } else {
                const float edge = std::sqrt(d2) - 1.0f;
                // A thin glowing haze outside the limb, about fifteen pixels deep.
                const float halo = std::exp(-edge * R / 9.0f) *
                                   std::clamp((dx * lx + dy * ly) * 1.2f + 0.35f, 0.0f, 1.0f);
                p = add(p, scale(air, halo * 0.7f));
                if (inRing)
                    p = add(scale(p, 1.0f - ringA * 0.5f),
                            scale(mix(r.planetA, rgb(255, 250, 235), 0.5f), ringA * 0.6f));
            }
        }
}

Canvas toneMap(const Light& l) {
    Canvas c(l.w, l.h);
    for (int y = 0; y < l.h; ++y)
        for (int x = 0; x < l.w; ++x) {
            const Color v = l.px[static_cast<size_t>(y) * l.w + x];
            auto map = [](float e) { return 1.0f - std::exp(-e * 1.35f); };
            Color m{map(v.r), map(v.g), map(v.b)};
            // The curve washes colours out a little; give some saturation back.
            const float lum = 0.3f * m.r + 0.55f * m.g + 0.15f * m.b;
            m = {lum + (m.r - lum) * 1.3f, lum + (m.g - lum) * 1.3f, lum + (m.b - lum) * 1.3f};
            c.set(x, y, {std::max(m.r, 0.0f), std::max(m.g, 0.0f), std::max(m.b, 0.0f)}, 1.0f);
        }
    return c;
}

Canvas paintSpace(const RecipeLine& line, int w, int h) {
    const SpaceRecipe r = readRecipe(line);
    Light light(w, h);
    paintNebula(light, r);
    if (r.galaxy) paintGalaxy(light, r);
    paintStars(light, r);
    if (r.glow) paintGlow(light, r);
    if (r.planet) paintPlanet(light, r);
    return toneMap(light);
}

}  // namespace

Canvas paintLevelBackground(const Sources& s, int number, int w, int h) {
    Canvas c = paintSpace(s.recipe("background", std::to_string(number)), w, h);
    keepStatusBarDark(c);
    return c;
}

Canvas paintTitleBackground(const Sources& s, int w, int h) {
    return paintSpace(s.recipe("background", "title"), w, h);
}

Canvas paintGameOverBackground(const Sources& s, int w, int h) {
    return paintSpace(s.recipe("background", "gameover"), w, h);
}

}  // namespace gen
