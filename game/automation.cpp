#include "game/automation.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "media/automation.h"
#include "media/window.h"

namespace game {

void runHeadless() { media::chooseBackend(media::Backend::Headless); }

PrivateDataFolder::PrivateDataFolder() {
    if (const char* before = std::getenv("XDG_DATA_HOME")) previous_ = before;
    std::string pattern = (std::filesystem::temp_directory_path() / "quandrite-demo-XXXXXX").string();
    if (mkdtemp(pattern.data())) {
        path_ = pattern;
        setenv("XDG_DATA_HOME", path_.c_str(), 1);
    }
}

PrivateDataFolder::~PrivateDataFolder() {
    if (path_.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
    if (previous_)
        setenv("XDG_DATA_HOME", previous_->c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
}

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
        if (screenshotFrame_ && frame == *screenshotFrame_ && !media::saveScreenshotPng(screenshotPath_))
            std::fprintf(stderr, "quandrite: could not write the screenshot %s\n", screenshotPath_.c_str());
        if (frameLimit_ && frame == *frameLimit_) media::injectWindowEvent(media::kEventCloseWindow);
    });
}

FrameActions::~FrameActions() { media::setFlipObserver(nullptr); }

Timedemo::Timedemo() {
    media::setClock(&clock_);
    media::setFramePacing(false);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

Timedemo::~Timedemo() { media::setClock(nullptr); }

uint64_t framesShown() { return media::framesFlipped(); }

}  // namespace game
