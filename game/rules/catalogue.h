// SPDX-License-Identifier: MIT
#pragma once
// The game's numbered pictures and sounds, by name. The rows are in
// game/catalogue.def; this header makes them the names the code uses, the
// table the picture generator, the loading step and the tests read, and the
// rules that pick one sprite out of a run. Standard headers only, so the
// build tools can read it too.
#include <array>
#include <cstddef>

namespace game {

// Rgb, Rgba: 8-bit PNG; Jpeg: baseline JPEG; Made: drawn by the game.
enum class SpriteFormat { Rgb, Rgba, Jpeg, Made };
enum class SoundFormat { Wav, Ogg };

struct SpriteRun {
    const char* name;
    int first;
    int count;
    SpriteFormat format;
    int width, height;  // 0 for the tips, which have a size each
    const char* shows;
};

struct SpriteInfo {
    int number;
    SpriteFormat format;
    int width, height;
};

struct SoundInfo {
    const char* name;
    int number;
    SoundFormat format;
    int channels;
    int bits;
    bool extensible;
    double seconds;
    const char* use;
};

namespace sprite {
#define SPRITE(name, first, count, format, width, height, shows) constexpr int name = first;
#include "game/rules/catalogue.def"

// Frame f (1..12) of the player, the number kept in playerFrame.
constexpr int playerFrame(int f) { return PlayerFrame + f - 1; }
// Level background b (1..20); 0, which draws nothing, for any other b.
constexpr int background(int b) {
    if (b == 1) return FirstBackground;
    if (b >= 2 && b <= 20) return OtherBackgrounds + b - 2;
    return 0;
}
constexpr int digit(int d) { return Digit + d; }
constexpr int letter(char c) { return Letter + (c - 'a'); }
// Frame f (1..8) of diamond d (1..5).
constexpr int diamond(int d, int f) { return Diamond + 8 * (d - 1) + f - 1; }
constexpr int burst(int f) { return Burst + f - 1; }
constexpr int fire(int f) { return Fire + f - 1; }
constexpr int tip(int t) { return Tip + t - 1; }
// The bubble of set 1..5.
constexpr int bubble(int set) { return Bubble + set - 1; }

// Sets 4 and 5 have rows of their own; the rule must still meet them.
static_assert(bubble(4) == Bubble4 && bubble(5) == Bubble5);

// Made by the port while it runs, numbered beside its captions and far above
// the original's sprites: the pause's dimmer and the gamepad's hold bar.
constexpr int HoldBarTrack = 988;   // the bar's frame and empty track
constexpr int HoldBarColumn = 989;  // one column of its filling
constexpr int PauseDimmer = 990;    // the whole screen in the darkest colour that is not transparent
}  // namespace sprite

namespace sound {
#define SOUND(name, number, format, channels, bits, extensible, seconds, use) constexpr int name = number;
#include "game/rules/catalogue.def"
}  // namespace sound

inline constexpr SpriteRun kSpriteRuns[] = {
#define SPRITE(name, first, count, format, width, height, shows) \
    {#name, first, count, SpriteFormat::format, width, height, shows},
#include "game/rules/catalogue.def"
};

// Width and height of tip 1..60, in order.
inline constexpr int kTipSizes[][3] = {
#define TIP(tip, width, height) {tip, width, height},
#include "game/rules/catalogue.def"
};

// In the order the game loads them.
inline constexpr SoundInfo kSounds[] = {
#define SOUND(name, number, format, channels, bits, extensible, seconds, use) \
    {#name, number, SoundFormat::format, channels, bits, extensible, seconds, use},
#include "game/rules/catalogue.def"
};

namespace catalogue_detail {
constexpr size_t spriteCount() {
    size_t n = 0;
    for (const SpriteRun& run : kSpriteRuns) n += static_cast<size_t>(run.count);
    return n;
}
}  // namespace catalogue_detail

// Every sprite of the catalogue, ascending by number.
inline constexpr std::array<SpriteInfo, catalogue_detail::spriteCount()> kSprites = [] {
    std::array<SpriteInfo, catalogue_detail::spriteCount()> all{};
    size_t k = 0;
    for (const SpriteRun& run : kSpriteRuns) {
        for (int i = 0; i < run.count; ++i) {
            SpriteInfo& info = all[k++];
            info = {run.first + i, run.format, run.width, run.height};
            if (run.first == sprite::Tip) {
                info.width = kTipSizes[i][1];
                info.height = kTipSizes[i][2];
            }
        }
    }
    return all;
}();

// The catalogue's entry for a sprite number; nullptr for a number not in it.
constexpr const SpriteInfo* findSprite(int number) {
    for (const SpriteInfo& info : kSprites)
        if (info.number == number) return &info;
    return nullptr;
}

namespace catalogue_detail {
constexpr bool ascendingAndSized() {
    for (size_t k = 0; k < kSprites.size(); ++k) {
        if (k > 0 && kSprites[k].number <= kSprites[k - 1].number) return false;
        if (kSprites[k].width <= 0 || kSprites[k].height <= 0) return false;
    }
    for (size_t t = 0; t < std::size(kTipSizes); ++t)
        if (kTipSizes[t][0] != static_cast<int>(t) + 1) return false;
    return std::size(kTipSizes) == 60;
}
static_assert(ascendingAndSized(), "catalogue rows out of order, overlapping or without a size");
}  // namespace catalogue_detail

}  // namespace game
