// SPDX-License-Identifier: MIT
#include "core/random.h"

#include <pthread.h>

#include "core/clock.h"

namespace core {

namespace {
constexpr uint32_t kMultiplier = 2891336453u;

uint32_t rotl(uint32_t v, int bits) { return (v << bits) | (v >> (32 - bits)); }

RandomGenerator& gameGenerator() {
    static RandomGenerator generator;
    return generator;
}
uint32_t lastSeed = 0;
}  // namespace

void RandomGenerator::seed(uint32_t s) {
    for (int i = 0; i < 17; ++i) {
        s = s * kMultiplier + 1;
        b_[i] = s;
        s = s * kMultiplier + 1;
        a_[i] = s;
    }
    p1_ = 0;
    p2_ = 10;
    seeded_ = true;
    for (int i = 0; i < 31; ++i) step();
}

uint32_t RandomGenerator::step() {
    uint32_t z = rotl(b_[p1_], 19) + b_[p2_];
    uint32_t y = rotl(a_[p1_], 27) + a_[p2_];
    a_[p1_] = z;
    b_[p1_] = y;
    p1_ = p1_ == 0 ? 16 : p1_ - 1;
    p2_ = p2_ == 0 ? 16 : p2_ - 1;
    return z;
}

uint32_t RandomGenerator::belowOrEqual(uint32_t n) {
    uint32_t z = step();
    if (n == 0xFFFFFFFFu) return z;
    return static_cast<uint32_t>((static_cast<uint64_t>(z) * (static_cast<uint64_t>(n) + 1)) >> 32);
}

void seedRandom(uint32_t seed) {
    lastSeed = seed;
    gameGenerator().seed(seed);
}

uint32_t randomBelowOrEqual(uint32_t n) {
    RandomGenerator& generator = gameGenerator();
    if (!generator.seeded())
        seedRandom(static_cast<uint32_t>(pthread_self()) ^ static_cast<uint32_t>(tickCountMilliseconds()));
    return generator.belowOrEqual(n);
}

uint32_t randomRange(uint32_t max, uint32_t min) {
    uint32_t low = min <= max ? min : max;
    return low + randomBelowOrEqual(max - low);
}

uint32_t lastRandomSeed() { return lastSeed; }

}  // namespace core
