// SPDX-License-Identifier: MIT
#include "game/port/player_run.h"

#include "game/port/replays.h"
#include "media/fullscreen_switch.h"
#include "media/presentation.h"
#include "media/sound.h"
#include "platform/environment.h"
#include "platform/safe_file.h"

namespace game {

PlayerRun::PlayerRun(const SessionOptions& options, bool replaying, bool recording) : replaying_(replaying) {
    if (options.headless || options.timedemo) return;
    std::string path = settingsPath();
    Settings stored = readSettingsFile(path);
    Settings running = stored;
    // The command line, then the variable, then the setting.
    if (platform::fullscreenRequested()) running.fullscreen = true;
    if (options.fullscreen) running.fullscreen = *options.fullscreen;
    if (options.scale) running.scale = media::scaleModeName(*options.scale);
    if (options.renderer) running.renderer = media::rendererChoiceName(*options.renderer);
    running_ = running;
    if (replaying) return;
    // Saves of the settings and of replays that a killed game left half-way,
    // as the hiscore table's are when it is read.
    if (!path.empty()) {
        platform::removeStaleSaves(path);
        keeper_.emplace(path, running);
    }
    // A recorded demo is a file of its own; the replays are of the games played.
    std::string folder = replaysFolder();
    if (recording || folder.empty()) return;
    platform::removeStaleSavesIn(folder);
    replays_.emplace(folder);
}

void PlayerRun::prepare(StartValues& values) {
    if (!running_) return;
    media::setMasterVolume(running_->volume);
    media::setFullscreenAtStart(running_->fullscreen);
    // Options of the command line are in `running` already; names were checked on reading.
    media::ScaleMode mode{};
    if (media::parseScaleMode(running_->scale, mode)) media::setScaleMode(mode);
    media::RendererChoice renderer{};
    if (media::parseRendererChoice(running_->renderer, renderer)) media::setRendererChoice(renderer);
    media::ScaleFilter filter{};
    if (media::parseScaleFilter(running_->filter, filter)) media::setScaleFilter(filter);
    if (replaying_) return;
    values.soundOn = running_->sound ? 1 : 0;
    values.windowWidth = running_->width;
    values.windowHeight = running_->height;
}

void PlayerRun::started(Game& game, uint32_t seed) {
    if (running_) game.showHints(running_->hints);
    if (!replays_) return;
    replays_->begin(seed);
    replays_->started(game.state);
}

void PlayerRun::afterFrame(Game& game) {
    if (replays_) replays_->afterFrame(game);
    if (keeper_ && game.screen() != Screen::Closed) keeper_->follow(settingsNow(game.state, keeper_->running()));
}

void PlayerRun::finish() {
    if (keeper_) keeper_->flush();
}

}  // namespace game
