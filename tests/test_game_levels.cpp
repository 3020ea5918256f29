// SPDX-License-Identifier: MIT
// The twenty level set-ups against the level tables of the design document:
// the expected counts and position checksums below were computed from the
// document's tables by a separate script, not from this code.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>

#include "core/random.h"
#include "game/rules/game_state.h"
#include "game/rules/levels/levels.h"

namespace {

using game::GameState;
using game::setUpLevel;

struct ExpectedLevel {
    int level;
    std::array<int, 9> counts;
    uint32_t checksum;
};

// Counts of groups 1..9 (silver, skull, sun, tree, fire, purple, ice, spiral,
// heart) and a checksum over exit, diamonds and every orb in group and orb order.
constexpr ExpectedLevel kExpected[] = {
    {1, {8, 1, 8, 0, 0, 0, 1, 0, 1}, 0xf76f91d2u},        {2, {8, 2, 9, 0, 0, 0, 0, 0, 1}, 0x49e1d79fu},
    {3, {8, 6, 0, 0, 0, 0, 8, 2, 0}, 0xcc900eaeu},        {4, {8, 0, 2, 1, 1, 0, 0, 1, 0}, 0x2fd88f25u},
    {5, {8, 6, 0, 0, 0, 0, 8, 3, 0}, 0x5e798bd0u},        {6, {10, 0, 0, 0, 0, 0, 0, 18, 0}, 0x45ae913eu},
    {7, {10, 0, 26, 0, 0, 0, 0, 18, 0}, 0x05622e4au},     {8, {4, 7, 3, 0, 0, 2, 0, 8, 1}, 0x60011e9au},
    {9, {25, 7, 30, 0, 0, 3, 0, 0, 0}, 0xd69b4cadu},      {10, {30, 7, 25, 3, 1, 2, 0, 0, 0}, 0x55747cabu},
    {11, {12, 4, 0, 0, 0, 8, 1, 13, 1}, 0xb2719b78u},     {12, {0, 3, 0, 0, 0, 0, 0, 3, 0}, 0x78a4c841u},
    {13, {5, 5, 15, 6, 5, 5, 3, 0, 0}, 0x823e6059u},      {14, {5, 16, 3, 6, 5, 0, 0, 11, 0}, 0xa6981aeeu},
    {15, {5, 11, 5, 5, 0, 1, 0, 5, 1}, 0x53082c76u},      {16, {0, 4, 2, 8, 0, 8, 2, 5, 0}, 0xd470d7d4u},
    {17, {10, 10, 5, 10, 5, 13, 10, 10, 2}, 0x79ddac2du}, {18, {6, 6, 8, 5, 3, 4, 3, 6, 0}, 0x7c77a84fu},
    {19, {2, 2, 2, 0, 1, 0, 0, 2, 0}, 0x2953a386u},       {20, {9, 9, 0, 7, 0, 7, 1, 0, 0}, 0x555f29deu},
};

// Multiply-then-xor over the values as unsigned 32-bit words; the same
// formula produced the expected sums above.
class Checksum {
public:
    void add(int64_t v) { h_ = (h_ * 16777619u) ^ static_cast<uint32_t>(v); }
    uint32_t value() const { return h_; }

private:
    uint32_t h_ = 2166136261u;
};

uint32_t layoutChecksum(const GameState& s) {
    Checksum sum;
    sum.add(s.exitX);
    sum.add(s.exitY);
    for (int d = 1; d <= 5; ++d) {
        sum.add(s.diamonds[d].x);
        sum.add(s.diamonds[d].y);
    }
    for (int g = 1; g <= game::kOrbGroups; ++g) {
        sum.add(g);
        sum.add(s.orbs[g].count);
        for (int i = 1; i <= s.orbs[g].count; ++i) {
            sum.add(s.orbs[g].x[i]);
            sum.add(s.orbs[g].y[i]);
        }
    }
    return sum.value();
}

// The state is large; keep it off the stack.
std::unique_ptr<GameState> freshState() { return std::make_unique<GameState>(); }

// Every orb element 1..50 of every group holds values no set-up writes.
void scribbleOnOrbs(GameState& s) {
    for (int g = 1; g <= game::kOrbGroups; ++g)
        for (int i = 1; i <= game::kMaxOrbsPerGroup; ++i) {
            s.orbs[g].x[i] = 7777;
            s.orbs[g].y[i] = 8888;
            s.orbs[g].opacity[i] = 17;
            s.orbs[g].label[i] = 99;
            s.orbs[g].taken[i] = 1;
        }
}

TEST(LevelTables, EveryLevelHasTheDocumentedCountsAndPositions) {
    for (const ExpectedLevel& expected : kExpected) {
        SCOPED_TRACE(expected.level);
        auto s = freshState();
        setUpLevel(*s, expected.level);
        for (int g = 1; g <= game::kOrbGroups; ++g)
            EXPECT_EQ(s->orbs[g].count, expected.counts[g - 1]) << "group " << g;
        EXPECT_EQ(layoutChecksum(*s), expected.checksum);
    }
}

TEST(LevelTables, SpotValuesReadInGroupAndOrbOrder) {
    auto s = freshState();
    setUpLevel(*s, 1);
    EXPECT_EQ(s->exitX, 890);
    EXPECT_EQ(s->exitY, 360);
    EXPECT_EQ(s->diamonds[5].x, 895);
    EXPECT_EQ(s->diamonds[5].y, 121);
    EXPECT_EQ(s->orbs[game::Ice].x[1], 190);
    EXPECT_EQ(s->orbs[game::Ice].y[1], 125);
    EXPECT_EQ(s->orbs[game::Heart].x[1], 710);
    EXPECT_EQ(s->orbs[game::Heart].y[1], 401);

    setUpLevel(*s, 17);
    EXPECT_EQ(s->exitY, 400);
    EXPECT_EQ(s->orbs[game::Purple].x[13], 670);
    EXPECT_EQ(s->orbs[game::Purple].y[13], 415);
    EXPECT_EQ(s->orbs[game::Heart].x[2], 481);
    EXPECT_EQ(s->orbs[game::Heart].y[2], 118);
}

TEST(LevelTables, Level12HasNoSilverOrbAndSixOrbsInAll) {
    auto s = freshState();
    setUpLevel(*s, 12);
    int total = 0;
    for (int g = 1; g <= game::kOrbGroups; ++g) total += s->orbs[g].count;
    EXPECT_EQ(total, 6);
    EXPECT_EQ(s->orbs[game::Silver].count, 0);
    const int skulls[][2] = {{590, 200}, {650, 150}, {710, 200}};
    const int spirals[][2] = {{590, 300}, {650, 350}, {710, 300}};
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(s->orbs[game::Skull].x[i], skulls[i - 1][0]);
        EXPECT_EQ(s->orbs[game::Skull].y[i], skulls[i - 1][1]);
        EXPECT_EQ(s->orbs[game::Spiral].x[i], spirals[i - 1][0]);
        EXPECT_EQ(s->orbs[game::Spiral].y[i], spirals[i - 1][1]);
    }
}

TEST(LevelTables, Level8KeepsBothSkullsAt850_164AsSeparateOrbs) {
    auto s = freshState();
    setUpLevel(*s, 8);
    const game::OrbGroup& skulls = s->orbs[game::Skull];
    ASSERT_EQ(skulls.count, 7);
    EXPECT_EQ(skulls.x[3], 850);
    EXPECT_EQ(skulls.y[3], 164);
    EXPECT_EQ(skulls.x[5], 850);
    EXPECT_EQ(skulls.y[5], 164);
    // The orbs around the duplicate stay in their places.
    EXPECT_EQ(skulls.x[4], 750);
    EXPECT_EQ(skulls.y[4], 114);
    EXPECT_EQ(skulls.x[6], 75);
    EXPECT_EQ(skulls.y[6], 350);
}

// Every value the play loop changes during a level, set far from its start value.
void dirtyPlayState(GameState& s) {
    s.exitSoundPlayed = 1;
    s.arrowsReversed = 1;
    s.levelFrames = 4321;
    s.playerFrame = 3;
    s.walkCounter = 9;
    s.playerDirection = 4;
    s.powerUpActive = 1;
    s.powerUpFrames = 77;
    s.wallX = 600;
    s.playerSpeed = 5;
    s.timePercent = 37;
    s.levelTimeOffset = 12;
    s.backgroundIntensity = 40;
    s.levelCompleted = 1;
    s.backgroundOriginX = 3;
    s.backgroundOriginY = 9;
    s.pickupReady = 0;
    s.pickupCooldown = 5;
    s.playerDying = 1;
    s.burstIntensity = 12;
    s.burstFrames = 50;
    s.diamondsCollected = 4;
    s.exitArrowDX = 1;
    s.exitArrowDY = 2;
    s.playerX = 500;
    s.playerY = 100;
    for (int d = 1; d <= 5; ++d) {
        s.diamonds[d].frameTimer = 6;
        s.diamonds[d].touched = 1;
        s.diamonds[d].labelIntensity = 80;
        s.diamonds[d].intensity = 3;
        s.diamonds[d].scored = 1;
    }
}

TEST(LevelSetUp, ResetsEveryPerLevelValue) {
    for (int level : {1, 2, 6, 20}) {
        SCOPED_TRACE(level);
        auto s = freshState();
        dirtyPlayState(*s);
        setUpLevel(*s, level);
        EXPECT_EQ(s->levelNumber, level);
        EXPECT_EQ(s->exitSoundPlayed, 0);
        EXPECT_EQ(s->arrowsReversed, 0);
        EXPECT_EQ(s->levelFrames, 0);
        EXPECT_EQ(s->playerFrame, 10);
        EXPECT_EQ(s->walkCounter, 0);
        EXPECT_EQ(s->playerDirection, 0);
        EXPECT_EQ(s->powerUpActive, 0);
        EXPECT_EQ(s->powerUpFrames, 0);
        EXPECT_EQ(s->wallX, 0);
        EXPECT_EQ(s->playerSpeed, 2);
        EXPECT_EQ(s->backgroundIntensity, 255);
        EXPECT_EQ(s->levelCompleted, 0);
        EXPECT_EQ(s->backgroundOriginX, 50);
        EXPECT_EQ(s->backgroundOriginY, 0);
        EXPECT_EQ(s->pickupReady, 1);
        EXPECT_EQ(s->pickupCooldown, 130);
        EXPECT_EQ(s->playerDying, 0);
        EXPECT_EQ(s->burstIntensity, 254);
        EXPECT_EQ(s->burstFrames, 0);
        EXPECT_EQ(s->diamondsCollected, 0);
        EXPECT_EQ(s->exitArrowDX, -10);
        EXPECT_EQ(s->exitArrowDY, 17);
        EXPECT_EQ(s->playerX, 70);
        EXPECT_EQ(s->playerY, 280);
        for (int d = 1; d <= 5; ++d) {
            EXPECT_EQ(s->diamonds[d].frameTimer, 1);
            EXPECT_EQ(s->diamonds[d].touched, 0);
            EXPECT_EQ(s->diamonds[d].labelIntensity, 0);
            EXPECT_EQ(s->diamonds[d].intensity, 254);
            EXPECT_EQ(s->diamonds[d].scored, 0);
        }
    }
}

TEST(LevelSetUp, Level1KeepsTheTimeAndClearsTheBonusOtherLevelsTheReverse) {
    auto s = freshState();
    dirtyPlayState(*s);
    setUpLevel(*s, 1);
    EXPECT_EQ(s->timePercent, 37);
    EXPECT_EQ(s->levelTimeOffset, 0);
    EXPECT_EQ(s->playEntered, 1);

    for (int level = 2; level <= 20; ++level) {
        SCOPED_TRACE(level);
        auto later = freshState();
        dirtyPlayState(*later);
        setUpLevel(*later, level);
        EXPECT_EQ(later->timePercent, 100);
        EXPECT_EQ(later->levelTimeOffset, 12);
        EXPECT_EQ(later->playEntered, 0);
    }
}

TEST(LevelSetUp, Levels1To5ClearTenOrbsPerGroupLaterLevelsFifty) {
    for (int level = 1; level <= 20; ++level) {
        SCOPED_TRACE(level);
        auto s = freshState();
        scribbleOnOrbs(*s);
        setUpLevel(*s, level);
        const int cleared = level <= 5 ? 10 : 50;
        for (int g = 1; g <= game::kOrbGroups; ++g) {
            const game::OrbGroup& group = s->orbs[g];
            for (int i = 1; i <= game::kMaxOrbsPerGroup; ++i) {
                if (i <= cleared) {
                    EXPECT_EQ(group.opacity[i], 254) << g << "/" << i;
                    EXPECT_EQ(group.taken[i], 0) << g << "/" << i;
                    if (g != game::Skull) {
                        EXPECT_EQ(group.label[i], 0) << g << "/" << i;
                    }
                    if (i > group.count) {
                        EXPECT_EQ(group.x[i], 0) << g << "/" << i;
                        EXPECT_EQ(group.y[i], 0) << g << "/" << i;
                    }
                } else {
                    ASSERT_EQ(group.x[i], 7777) << g << "/" << i;
                    ASSERT_EQ(group.y[i], 8888) << g << "/" << i;
                    ASSERT_EQ(group.opacity[i], 17) << g << "/" << i;
                    ASSERT_EQ(group.taken[i], 1) << g << "/" << i;
                }
            }
        }
    }
}

TEST(LevelSetUp, DiamondFramesAreTheNextFiveRandomNumbersInDiamondOrder) {
    constexpr uint32_t kSeed = 20261208;
    core::seedRandom(kSeed);
    uint32_t expected[6];
    for (uint32_t& value : expected) value = core::randomRange(8, 1);

    core::seedRandom(kSeed);
    auto s = freshState();
    setUpLevel(*s, 9);
    for (int d = 1; d <= 5; ++d) EXPECT_EQ(static_cast<uint32_t>(s->diamonds[d].frame), expected[d - 1]) << d;
    // Nothing else in the set-up draws a random number.
    EXPECT_EQ(core::randomRange(8, 1), expected[5]);
}

TEST(LevelSetUp, NumbersOutsideOneToTwentyChangeNothing) {
    for (int level : {0, 21, -1}) {
        auto s = freshState();
        dirtyPlayState(*s);
        setUpLevel(*s, level);
        EXPECT_EQ(s->levelNumber, 0);
        EXPECT_EQ(s->playerX, 500);
        EXPECT_EQ(s->orbs[game::Silver].count, 0);
    }
}

}  // namespace
