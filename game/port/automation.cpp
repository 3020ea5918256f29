// SPDX-License-Identifier: MIT
#include "game/port/automation.h"

#include <algorithm>

#include "media/automation.h"
#include "media/window.h"
#include "platform/places.h"
#include "platform/private_folders.h"

namespace game {

void runHeadless() { media::chooseBackend(media::Backend::Headless); }

namespace {

// The folder names carry the process id, so a live replay's folder is told
// from a dead one's.
const std::string kPrivatePrefix = "quandrite-demo-";

}  // namespace

PrivateDataFolder::PrivateDataFolder()
    : path_(platform::makePrivateFolder(kPrivatePrefix)), previous_(platform::dataHomeOverride()) {
    if (!path_.empty()) platform::overrideDataHome(path_);
}

PrivateDataFolder::~PrivateDataFolder() {
    if (path_.empty()) return;
    platform::removeFolder(path_);
    platform::overrideDataHome(previous_);
}

void removeStalePrivateDataFolders() { platform::removeStalePrivateFolders(kPrivatePrefix); }

DemoPlayback::DemoPlayback(const Demo& demo, bool closeAtEnd) : cursor_(demo), frames_(demo.frames) {
    media::setKeyboardSource([this, closeAtEnd](uint8_t* snapshot) {
        if (!cursor_.next(snapshot)) std::fill(snapshot, snapshot + 256, 0);
        if (closeAtEnd && finished()) media::injectWindowEvent(media::kEventCloseWindow);
        return true;
    });
}

DemoPlayback::~DemoPlayback() { media::setKeyboardSource(nullptr); }

DemoRecording::DemoRecording(Demo& demo) : recorder_(demo) {
    media::setKeyboardObserver([this](const uint8_t* snapshot) { recorder_.record(snapshot); });
}

DemoRecording::~DemoRecording() { media::setKeyboardObserver(nullptr); }

FrameActions::FrameActions(std::optional<uint64_t> screenshotFrame, std::string screenshotPath,
                           std::optional<uint64_t> frameLimit)
    : screenshotFrame_(screenshotFrame), screenshotPath_(std::move(screenshotPath)), frameLimit_(frameLimit) {
    media::setFlipObserver([this](uint64_t frame) {
        if (screenshotFrame_ && frame == *screenshotFrame_)
            screenshotWritten_ = media::saveScreenshotPng(screenshotPath_);
        if (frameLimit_ && frame == *frameLimit_) media::injectWindowEvent(media::kEventCloseWindow);
    });
}

FrameActions::~FrameActions() { media::setFlipObserver(nullptr); }

Timedemo::Timedemo() {
    core::setClock(&clock_);
    media::setFramePacing(false);
    media::useSilentAudio();
}

Timedemo::~Timedemo() { core::setClock(nullptr); }

UnseenFrames::UnseenFrames() : clockBefore_(core::currentClock()), pacingBefore_(media::framePacing()) {
    core::setClock(&clock_);
    media::setFramePacing(false);
    media::setFramesUnseen(true);
}

UnseenFrames::~UnseenFrames() {
    media::setFramesUnseen(false);
    media::setFramePacing(pacingBefore_);
    core::setClock(clockBefore_);
}

void runUnseenUntil(Game& game, const DemoPlayback& playback, uint64_t examinations) {
    if (playback.position() >= examinations) return;
    UnseenFrames unseen;
    game.answerPlayer(false);
    while (game.screen() != Screen::Closed && !playback.finished() && playback.position() < examinations)
        game.runFrame();
    game.answerPlayer(true);
}

uint64_t framesShown() { return media::framesFlipped(); }

}  // namespace game
