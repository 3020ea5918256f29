// SPDX-License-Identifier: MIT
#pragma once
// The game's random numbers: a two-lane rotate-and-add lagged generator
// (lags 17 and 10). It seeds itself on first use from the thread id and the
// tick count, unless a seed was given (demos and tests give one).
#include <cstdint>

namespace core {

class RandomGenerator {
public:
    void seed(uint32_t s);
    bool seeded() const { return seeded_; }
    uint32_t step();
    // 0..n inclusive.
    uint32_t belowOrEqual(uint32_t n);

private:
    uint32_t a_[17] = {};
    uint32_t b_[17] = {};
    int p1_ = 0;
    int p2_ = 10;
    bool seeded_ = false;
};

void seedRandom(uint32_t seed);
uint32_t randomBelowOrEqual(uint32_t n);
// Note the argument order: the result lies in min..max; when min exceeds
// max the result is always max.
uint32_t randomRange(uint32_t max, uint32_t min);
// The seed the generator was last seeded with (also after self-seeding).
uint32_t lastRandomSeed();

}  // namespace core
