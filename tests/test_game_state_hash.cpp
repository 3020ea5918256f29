// SPDX-License-Identifier: MIT
// The demo hash covers the whole state: a change to any field, or to any
// element the game uses of an array, changes it.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <type_traits>

#include "game/port/state_fields.h"
#include "game/port/state_hash.h"

namespace {

using namespace game;

// The field count that guards the lists counts every kind of field there is.
struct Probe {
    int8_t a = 0;
    float b = 0;
    std::string c;
    std::array<int32_t, 3> d{};
    std::array<std::string, 2> e{};
    std::array<Diamond, 2> f{};
};
static_assert(fields::countOf<Probe>() == 6);

template <typename T>
struct IsArray : std::false_type {};
template <typename T, size_t N>
struct IsArray<std::array<T, N>> : std::true_type {};

template <typename Pointer>
struct MemberOf;
template <typename Record, typename T>
struct MemberOf<T Record::*> {
    using type = T;
};

template <typename T>
void bump(T& value) {
    if constexpr (std::is_same_v<T, std::string>) value += 'x';
    else value = static_cast<T>(value + 1);
}

constexpr uint8_t kOrbsInBase = 3;
constexpr size_t kBubblesUsed = 4;

// Every orb group holds a few orbs, so that their arrays are in use.
GameState baseState() {
    GameState s{};
    for (OrbGroup& orbs : s.orbs) orbs.count = kOrbsInBase;
    return s;
}

size_t lastUsed(const OrbGroup&) { return kOrbsInBase; }
size_t lastUsed(const BubbleSet&) { return kBubblesUsed; }
size_t lastUsed(const Diamond&) { return 0; }

class StateHash : public ::testing::Test {
protected:
    template <typename Edit>
    void expectChanged(Edit edit, const std::string& what) {
        GameState changed = baseState();
        edit(changed);
        EXPECT_NE(hashGameState(changed), baseHash_) << what;
    }

    // A scalar or string is bumped; an array has its first and last used
    // elements bumped, one at a time.
    template <typename T, typename Access>
    void checkValue(Access access, size_t lastElement, const std::string& what) {
        if constexpr (IsArray<T>::value) {
            for (size_t element : {size_t{1}, lastElement})
                expectChanged([&](GameState& s) { bump(access(s)[element]); },
                              what + " element " + std::to_string(element));
        } else {
            expectChanged([&](GameState& s) { bump(access(s)); }, what);
        }
    }

    // An array of records: each field of its first and last elements.
    template <typename Record, size_t N, typename Access, typename List>
    void checkRecords(Access access, const List& list, const std::string& what) {
        for (size_t element : {size_t{1}, N - 1}) {
            size_t index = 0;
            std::apply(
                [&](auto... field) {
                    (checkValue<typename MemberOf<decltype(field)>::type>(
                         [&, field ](GameState & s) -> auto& { return access(s)[element].*field; }, lastUsed(Record{}),
                         what + " [" + std::to_string(element) + "] field " + std::to_string(index++)),
                     ...);
                },
                list);
        }
    }

    uint64_t baseHash_ = hashGameState(baseState());
};

TEST_F(StateHash, ChangingAnyFieldChangesTheHash) {
    size_t index = 0;
    auto check = [&](auto field) {
        using T = typename MemberOf<decltype(field)>::type;
        std::string what = "GameState field " + std::to_string(index++);
        auto access = [field](GameState& s) -> T& { return s.*field; };
        if constexpr (std::is_same_v<T, decltype(GameState::orbs)>)
            checkRecords<OrbGroup, kOrbGroups + 1>(access, kOrbGroupFields, what);
        else if constexpr (std::is_same_v<T, decltype(GameState::diamonds)>)
            checkRecords<Diamond, 6>(access, kDiamondFields, what);
        else if constexpr (std::is_same_v<T, decltype(GameState::bubbles)>)
            checkRecords<BubbleSet, 6>(access, kBubbleSetFields, what);
        else if constexpr (IsArray<T>::value) checkValue<T>(access, std::tuple_size_v<T> - 1, what);
        else checkValue<T>(access, 0, what);
    };
    std::apply([&](auto... field) { (check(field), ...); }, kGameStateFields);
    EXPECT_EQ(index, std::tuple_size_v<decltype(kGameStateFields)>);
}

TEST_F(StateHash, EqualStatesHashAlikeWhateverTheUnusedElementsHold) {
    GameState a = baseState();
    GameState b = baseState();
    b.orbs[1].x[0] = 7;                // element 0 is never used
    b.orbs[1].x[kOrbsInBase + 1] = 7;  // beyond the group's count
    b.bubbles[1].y[kBubblesUsed + 1] = 7;
    EXPECT_EQ(hashGameState(a), hashGameState(b));
    b.orbs[1].count = kOrbsInBase + 1;  // now that orb is in use
    EXPECT_NE(hashGameState(a), hashGameState(b));
}

}  // namespace
