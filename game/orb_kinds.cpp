#include "game/orb_kinds.h"

#include "game/sound_effects.h"

namespace game {

namespace {
constexpr OrbKindInfo kKinds[kOrbGroups + 1] = {
    {0, 0, 0, 0, OrbEffect::None},
    {108, 110, 20, sound::Pickup, OrbEffect::None},            // silver
    {107, 0, 0, 0, OrbEffect::None},                           // skull: touching it kills
    {109, 111, 30, sound::Pickup, OrbEffect::None},            // sun
    {117, 118, 70, sound::Pickup, OrbEffect::MoreTime100},     // tree
    {119, 118, 70, sound::Pickup, OrbEffect::Speed4},          // fire
    {142, 143, 60, sound::Pickup, OrbEffect::MoreTime200},     // purple
    {144, 145, 80, sound::Pickup, OrbEffect::Speed3},          // ice
    {146, 147, 90, sound::Spiral, OrbEffect::ReverseArrows},   // spiral
    {156, 113, 50, sound::Heart, OrbEffect::TimerOnly},        // heart
};
}  // namespace

const OrbKindInfo& orbKind(int group) { return kKinds[group]; }

}  // namespace game
