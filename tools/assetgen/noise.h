// SPDX-License-Identifier: MIT
#pragma once
// Seeded random numbers and gradient noise; identical results everywhere.
#include <cstdint>

namespace gen {

class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t next();
    float uniform();                  // [0, 1)
    float range(float lo, float hi);  // [lo, hi)
    int below(int n);                 // 0 .. n-1

private:
    uint64_t state_;
};

class Noise {
public:
    explicit Noise(uint64_t seed);
    float gradient(float x, float y) const;  // about -1 .. 1
    // Fractal sum of octaves, normalised to about -1 .. 1.
    float fbm(float x, float y, int octaves, float gain = 0.5f) const;
    // Ridged variant: bright thin filaments, 0 .. 1.
    float ridged(float x, float y, int octaves) const;

private:
    uint8_t perm_[512];
};

}  // namespace gen
