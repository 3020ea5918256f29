// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

#include "core/random.h"

using namespace core;

namespace {
// A second, deliberately plain model of the generator: the lanes are indexed
// by the absolute step number instead of by two moving indices.
std::vector<uint32_t> modelSequence(uint32_t seed, int count) {
    uint64_t a[17], b[17];
    uint64_t s = seed;
    for (int i = 0; i < 17; ++i) {
        s = (s * 2891336453ull + 1) % 4294967296ull;
        b[i] = s;
        s = (s * 2891336453ull + 1) % 4294967296ull;
        a[i] = s;
    }
    auto rotate = [](uint64_t v, int r) { return ((v << r) % 4294967296ull) + (v >> (32 - r)); };
    std::vector<uint32_t> out;
    for (int k = 0; k < 31 + count; ++k) {
        int i = ((-k) % 17 + 17) % 17;
        int j = ((10 - k) % 17 + 17) % 17;
        uint64_t z = (rotate(b[i], 19) + b[j]) % 4294967296ull;
        uint64_t y = (rotate(a[i], 27) + a[j]) % 4294967296ull;
        a[i] = z;
        b[i] = y;
        if (k >= 31) out.push_back(static_cast<uint32_t>(z));
    }
    return out;
}
}  // namespace

TEST(Random, SequenceMatchesAnIndependentModel) {
    for (uint32_t seed : {0u, 1u, 12345u, 0xFFFFFFFFu}) {
        RandomGenerator generator;
        generator.seed(seed);
        std::vector<uint32_t> expected = modelSequence(seed, 200);
        for (size_t n = 0; n < expected.size(); ++n)
            ASSERT_EQ(generator.step(), expected[n]) << "seed " << seed << " step " << n;
    }
}

TEST(Random, BelowOrEqualTakesTheHighWordOfTheProduct) {
    RandomGenerator generator, reference;
    generator.seed(99);
    reference.seed(99);
    for (uint32_t n : {0u, 1u, 7u, 19u, 1000u, 0xFFFFFFFEu}) {
        uint64_t z = reference.step();
        EXPECT_EQ(generator.belowOrEqual(n), static_cast<uint32_t>((z * (uint64_t{n} + 1)) >> 32));
    }
    EXPECT_EQ(generator.belowOrEqual(0xFFFFFFFFu), reference.step());
}

TEST(Random, SameSeedSameSequence) {
    seedRandom(2024);
    std::vector<uint32_t> first;
    for (int i = 0; i < 50; ++i) first.push_back(randomRange(980, 60));
    seedRandom(2024);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(randomRange(980, 60), first[i]);
    EXPECT_EQ(lastRandomSeed(), 2024u);
}

TEST(Random, RangeArgumentsAreMaxThenMin) {
    seedRandom(7);
    std::set<uint32_t> seen;
    for (int i = 0; i < 2000; ++i) {
        EXPECT_EQ(randomRange(5, 5), 5u);
        EXPECT_EQ(randomRange(3, 7), 3u);  // min above max always gives max
        uint32_t v = randomRange(7, 3);
        EXPECT_GE(v, 3u);
        EXPECT_LE(v, 7u);
        seen.insert(v);
    }
    EXPECT_EQ(seen.size(), 5u);
}
