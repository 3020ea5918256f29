// SPDX-License-Identifier: MIT
#include "game/rules/orb_kinds.h"

#include "game/rules/catalogue.h"

namespace game {

namespace {
constexpr OrbKindInfo kKinds[kOrbGroups + 1] = {
    {0, 0, 0, 0, OrbEffect::None},
    {sprite::SilverOrb, sprite::Points20, 20, sound::Pickup, OrbEffect::None},
    {sprite::SkullOrb, 0, 0, 0, OrbEffect::None},  // touching it kills
    {sprite::SunOrb, sprite::Points30, 30, sound::Pickup, OrbEffect::None},
    {sprite::TreeOrb, sprite::Points70, 70, sound::Pickup, OrbEffect::MoreTime100},
    {sprite::FireOrb, sprite::Points70, 70, sound::Pickup, OrbEffect::Speed4},
    {sprite::PurpleOrb, sprite::Points60, 60, sound::Pickup, OrbEffect::MoreTime200},
    {sprite::IceOrb, sprite::Points80, 80, sound::Pickup, OrbEffect::Speed3},
    {sprite::SpiralOrb, sprite::Points90, 90, sound::Spiral, OrbEffect::ReverseArrows},
    {sprite::HeartOrb, sprite::Points50, 50, sound::Heart, OrbEffect::TimerOnly},
};
}  // namespace

const OrbKindInfo& orbKind(int group) { return kKinds[group]; }

}  // namespace game
