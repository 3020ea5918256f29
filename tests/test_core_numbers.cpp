// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "core/clock.h"
#include "core/numbers.h"
#include "media/common/object_table.h"

using namespace core;

TEST(Numbers, TruncationAndRoundingModes) {
    EXPECT_EQ(truncateToInteger(-2.7), -2);
    EXPECT_EQ(truncateToInteger(2.7), 2);
    EXPECT_EQ(roundFloat(2.5f, 2), 3.0f);
    EXPECT_EQ(roundFloat(-2.5f, 2), -3.0f);
    EXPECT_EQ(roundFloat(2.4f, 2), 2.0f);
    EXPECT_EQ(roundFloat(2.7f, 0), 2.0f);
    EXPECT_EQ(roundFloat(-2.2f, 0), -3.0f);
    EXPECT_EQ(roundFloat(2.1f, 1), 3.0f);
    EXPECT_EQ(roundFloat(-2.7f, 1), -2.0f);
    EXPECT_EQ(roundToEven(0.5), 0);
    EXPECT_EQ(roundToEven(1.5), 2);
    EXPECT_EQ(roundToEven(-2.5), -2);
}

// x + 0.5 must not be rounded to single precision before the floor: above 2^23
// every odd whole number would go up by one, and just below a half would round up.
TEST(Numbers, RoundingToNearestAddsTheHalfExactly) {
    EXPECT_EQ(roundFloat(8388609.0f, 2), 8388609.0f);
    EXPECT_EQ(roundFloat(-8388609.0f, 2), -8388609.0f);
    EXPECT_EQ(roundFloat(16777215.0f, 2), 16777215.0f);
    EXPECT_EQ(roundFloat(0.49999997f, 2), 0.0f);
    EXPECT_EQ(roundFloat(-0.49999997f, 2), 0.0f);
    EXPECT_EQ(roundFloat(0.5f, 2), 1.0f);
    EXPECT_EQ(roundFloat(-0.5f, 2), -1.0f);
}

namespace {
int liveRecords = 0;
struct Counted {
    Counted() { ++liveRecords; }
    ~Counted() { --liveRecords; }
    int value = 0;
};
}  // namespace

TEST(ObjectTable, ReplacingANumberReleasesTheOldObjectFirst) {
    {
        media::ObjectTable<Counted> table(4);
        EXPECT_EQ(table.lookup(3), nullptr);
        EXPECT_EQ(table.lookup(-1), nullptr);
        table.obtainSlot(3).value = 7;
        EXPECT_EQ(liveRecords, 1);
        Counted& fresh = table.obtainSlot(3);
        EXPECT_EQ(liveRecords, 1);
        EXPECT_EQ(fresh.value, 0);
        table.obtainSlot(700);
        EXPECT_TRUE(table.isPresent(700));
        EXPECT_FALSE(table.isPresent(699));
        table.release(3);
        EXPECT_FALSE(table.isPresent(3));
        EXPECT_EQ(liveRecords, 1);
        table.releaseAll();
        EXPECT_EQ(liveRecords, 0);
        table.obtainSlot(1);
    }
    EXPECT_EQ(liveRecords, 0);
}

TEST(Clock, VirtualClockCountsWaitsWithoutSleeping) {
    VirtualClock clock;
    setClock(&clock);
    delayMilliseconds(301);
    delayMilliseconds(-5);
    delayMilliseconds(199);
    EXPECT_EQ(clock.slept(), 500u);
    EXPECT_EQ(tickCountMilliseconds(), 500u);
    setClock(nullptr);
}
