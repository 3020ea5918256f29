#include "game/state_hash.h"

#include <string>

namespace game {

namespace {
// FNV-1a, fed field by field so padding and the window's place never count.
class Hasher {
public:
    template <typename T>
    void add(T value) {
        for (size_t i = 0; i < sizeof(T); ++i) mix(static_cast<uint8_t>(static_cast<uint64_t>(value) >> (8 * i)));
    }
    void add(const std::string& text) {
        add(text.size());
        for (char c : text) mix(static_cast<uint8_t>(c));
    }
    uint64_t value() const { return hash_; }

private:
    void mix(uint8_t byte) {
        hash_ ^= byte;
        hash_ *= 1099511628211ull;
    }
    uint64_t hash_ = 14695981039346656037ull;
};
}  // namespace

uint64_t hashGameState(const GameState& s) {
    Hasher h;
    for (auto v : {s.levelNumber, s.backgroundIndex, s.backgroundIntensity, s.playerFrame, s.walkCounter,
                   s.pickupCooldown, s.tipNumber, s.titleFade, s.fireFrame})
        h.add(v);
    for (auto v : {s.levelStarted, s.levelCompleted, s.gameWon, s.playerSpeed, s.playerDirection, s.arrowsReversed,
                   s.pickupReady, s.lives, s.lifeBonusUsed, s.playerDying, s.burstFrame, s.powerUpActive, s.fadeMode,
                   s.diamondsCollected, s.soundOn, s.initialsCount})
        h.add(v);
    for (auto v : {s.score, s.levelFrames, s.timePercent, s.lastTimePercent, s.wallX, s.playerX, s.playerY,
                   s.burstIntensity, s.burstFrames, s.powerUpFrames, s.bannerX, s.exitArrowDX, s.tipFrames})
        h.add(v);
    for (int group = 1; group <= kOrbGroups; ++group) {
        const OrbGroup& orbs = s.orbs[group];
        h.add(orbs.count);
        for (int i = 1; i <= orbs.count; ++i) {
            h.add(orbs.x[i]);
            h.add(orbs.y[i]);
            h.add(orbs.opacity[i]);
            h.add(orbs.taken[i]);
        }
    }
    for (int k = 1; k <= 5; ++k) {
        const Diamond& d = s.diamonds[k];
        for (auto v : {d.x, d.y, d.intensity}) h.add(v);
        for (auto v : {d.frame, d.frameTimer, d.touched, d.scored}) h.add(v);
    }
    for (int set = 1; set <= 5; ++set)
        for (int j = 1; j <= 4; ++j) {
            h.add(s.bubbles[set].x[j]);
            h.add(s.bubbles[set].y[j]);
        }
    for (int row = 1; row <= kHiscoreRows; ++row) {
        h.add(s.hiscoreNames[row]);
        h.add(s.hiscoreScores[row]);
    }
    return h.value();
}

}  // namespace game
