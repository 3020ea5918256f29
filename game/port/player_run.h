// SPDX-License-Identifier: MIT
#pragma once
// What a run in a window adds around the game for the player: the settings
// (read at start, kept in step) and the replays (recorded, kept, and the best
// one played from the title screen). Headless runs and time demos have none
// of it; a replayed demo takes only the settings of the layer (fullscreen,
// volume), since its game starts as it was recorded.
#include <cstdint>
#include <optional>

#include "game/port/game.h"
#include "game/port/replay_keeper.h"
#include "game/port/session.h"
#include "game/port/settings_keeper.h"

namespace game {

class PlayerRun {
public:
    PlayerRun(const SessionOptions& options, bool replaying, bool recording);
    // The layer's settings are applied here; the game's go into `values`.
    void prepare(StartValues& values);
    bool keepsReplays() const { return replays_.has_value(); }
    // Once start-up is done, with the seed it was given.
    void started(Game& game, uint32_t seed);
    void afterFrame(Game& game);
    // The end of the run: a change of the settings not yet written is.
    void finish();

private:
    bool replaying_;
    std::optional<Settings> running_;
    std::optional<SettingsKeeper> keeper_;
    std::optional<ReplayKeeper> replays_;
};

}  // namespace game
