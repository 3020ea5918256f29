// SPDX-License-Identifier: MIT
#include "noise.h"

#include <cmath>

namespace gen {

uint64_t Rng::next() {
    // splitmix64: tiny, fast and fully specified, so output never depends on the library.
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

float Rng::uniform() { return static_cast<float>(next() >> 40) / static_cast<float>(1ull << 24); }
float Rng::range(float lo, float hi) { return lo + (hi - lo) * uniform(); }
int Rng::below(int n) { return static_cast<int>(next() % static_cast<uint64_t>(n)); }

Noise::Noise(uint64_t seed) {
    Rng rng(seed);
    for (int i = 0; i < 256; ++i) perm_[i] = static_cast<uint8_t>(i);
    for (int i = 255; i > 0; --i) {
        const int j = rng.below(i + 1);
        const uint8_t t = perm_[i];
        perm_[i] = perm_[j];
        perm_[j] = t;
    }
    for (int i = 0; i < 256; ++i) perm_[256 + i] = perm_[i];
}

namespace {
float fade(float t) { return t * t * t * (t * (t * 6 - 15) + 10); }
float grad(int h, float x, float y) {
    switch (h & 7) {
    case 0: return x + y;
    case 1: return x - y;
    case 2: return -x + y;
    case 3: return -x - y;
    case 4: return x;
    case 5: return -x;
    case 6: return y;
    default: return -y;
    }
}
}  // namespace

float Noise::gradient(float x, float y) const {
    const float fx = std::floor(x), fy = std::floor(y);
    const int xi = static_cast<int>(fx) & 255, yi = static_cast<int>(fy) & 255;
    x -= fx;
    y -= fy;
    const float u = fade(x), v = fade(y);
    const int aa = perm_[perm_[xi] + yi], ab = perm_[perm_[xi] + yi + 1];
    const int ba = perm_[perm_[xi + 1] + yi], bb = perm_[perm_[xi + 1] + yi + 1];
    const float x1 = grad(aa, x, y) + u * (grad(ba, x - 1, y) - grad(aa, x, y));
    const float x2 = grad(ab, x, y - 1) + u * (grad(bb, x - 1, y - 1) - grad(ab, x, y - 1));
    return x1 + v * (x2 - x1);
}

float Noise::fbm(float x, float y, int octaves, float gain) const {
    float sum = 0, amp = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * gradient(x, y);
        norm += amp;
        amp *= gain;
        // Rotate a little between octaves so grid artefacts do not line up.
        const float nx = x * 1.6f - y * 1.2f + 17.3f;
        y = x * 1.2f + y * 1.6f + 5.1f;
        x = nx;
    }
    return sum / norm;
}

float Noise::ridged(float x, float y, int octaves) const {
    float sum = 0, amp = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        const float n = 1.0f - std::fabs(gradient(x, y));
        sum += amp * n * n;
        norm += amp;
        amp *= 0.5f;
        const float nx = x * 1.6f - y * 1.2f + 31.7f;
        y = x * 1.2f + y * 1.6f + 11.9f;
        x = nx;
    }
    return sum / norm;
}

}  // namespace gen
