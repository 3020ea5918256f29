// SPDX-License-Identifier: MIT
#include "game/rules/game_state.h"

#include <cmath>

namespace game {

void fillDefaultHiscores(GameState& state) {
    static const char* const kNames[kHiscoreRows + 1] = {"",    "bel", "tov", "gau", "nip", "dox",
                                                         "fer", "lum", "haz", "quo", "wib"};
    for (int row = 1; row <= kHiscoreRows; ++row) {
        state.hiscoreNames[row] = kNames[row];
        state.hiscoreScores[row] = static_cast<int32_t>(std::nearbyint(row * -50.0 + 600.0));
    }
}

}  // namespace game
