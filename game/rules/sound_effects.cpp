// SPDX-License-Identifier: MIT
#include "game/rules/sound_effects.h"

#include "media/sound.h"

namespace game {

void playEffect(const GameState& state, int number) {
    if (state.soundOn == 1) media::playSound(number, 0, -1);
}

void setEffectVolume(const GameState& state, int number, int percent) {
    if (state.soundOn == 1) media::setSoundVolume(number, percent);
}

}  // namespace game
