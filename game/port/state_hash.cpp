// SPDX-License-Identifier: MIT
#include "game/port/state_hash.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>
#include <type_traits>

#include "game/port/state_fields.h"
#include "game/rules/bubbles.h"

namespace game {

namespace {

// A set never holds more bubbles than the screens and the level entry use.
constexpr size_t kUsedBubbles = 4;
// (std::max_element rather than std::ranges::max: the browser build's
// standard library has no ranges algorithms yet.)
static_assert(*std::max_element(std::begin(kScreenBubbles.counts), std::end(kScreenBubbles.counts)) <=
                  static_cast<int>(kUsedBubbles) &&
              *std::max_element(std::begin(kLevelBubbles.counts), std::end(kLevelBubbles.counts)) <=
                  static_cast<int>(kUsedBubbles));

// FNV-1a, fed field by field (so padding never counts), each array over the
// elements the game uses: from 1, orbs up to their group's count, bubbles up
// to kUsedBubbles.
class Hasher {
public:
    template <typename T>
    requires std::is_integral_v<T>
    void add(T value) {
        for (size_t i = 0; i < sizeof(T); ++i) mix(static_cast<uint8_t>(static_cast<uint64_t>(value) >> (8 * i)));
    }
    void add(float value) {
        uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        add(bits);
    }
    // Eight bytes of length everywhere: size_t has four on 32-bit ARM and in
    // WebAssembly.
    void add(const std::string& text) {
        add(static_cast<uint64_t>(text.size()));
        for (char c : text) mix(static_cast<uint8_t>(c));
    }
    void add(const OrbGroup& orbs) { addFields(orbs, kOrbGroupFields, orbs.count); }
    void add(const Diamond& diamond) { addFields(diamond, kDiamondFields, 0); }
    void add(const BubbleSet& bubbles) { addFields(bubbles, kBubbleSetFields, kUsedBubbles); }
    template <typename T, size_t N>
    void add(const std::array<T, N>& array, size_t last = N - 1) {
        for (size_t i = 1; i <= std::min(last, N - 1); ++i) add(array[i]);
    }

    // A record's fields; its arrays up to element `used`.
    template <typename Record, typename List>
    void addFields(const Record& record, const List& list, size_t used) {
        std::apply([&](auto... field) { (addField(record.*field, used), ...); }, list);
    }

    uint64_t value() const { return hash_; }

private:
    template <typename T>
    void addField(const T& value, size_t) {
        add(value);
    }
    template <typename T, size_t N>
    void addField(const std::array<T, N>& array, size_t used) {
        add(array, used);
    }

    void mix(uint8_t byte) {
        hash_ ^= byte;
        hash_ *= 1099511628211ull;
    }
    uint64_t hash_ = 14695981039346656037ull;
};

}  // namespace

uint64_t hashGameState(const GameState& s) {
    Hasher h;
    h.addFields(s, kGameStateFields, SIZE_MAX);
    return h.value();
}

}  // namespace game
