// SPDX-License-Identifier: MIT
#include "game/port/player_run.h"

#include <cstdlib>
#include <cstring>

#include "game/port/replays.h"
#include "media/fullscreen_switch.h"
#include "media/presentation.h"
#include "media/sound.h"

namespace game {

PlayerRun::PlayerRun(const SessionOptions& options, bool replaying, bool recording) : replaying_(replaying) {
    if (options.headless || options.timedemo) return;
    std::string path = settingsPath();
    Settings stored = readSettingsFile(path);
    Settings running = stored;
    // The command line, then the variable, then the setting.
    const char* variable = std::getenv("QUANDRITE_FULLSCREEN");
    if (variable && std::strcmp(variable, "1") == 0) running.fullscreen = true;
    if (options.fullscreen) running.fullscreen = *options.fullscreen;
    if (options.scale) running.scale = media::scaleModeName(*options.scale);
    if (options.renderer) running.renderer = media::rendererChoiceName(*options.renderer);
    running_ = running;
    if (!replaying) keeper_.emplace(path, stored, running);
    // A recorded demo is a file of its own; the replays are of the games played.
    if (!replaying && !recording) replays_.emplace(replaysFolder());
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
    if (replaying_) return;
    values.soundOn = running_->sound ? 1 : 0;
    values.windowWidth = running_->width;
    values.windowHeight = running_->height;
}

void PlayerRun::started(const Game& game, uint32_t seed) {
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
