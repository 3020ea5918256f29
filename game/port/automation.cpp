// SPDX-License-Identifier: MIT
#include "game/port/automation.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "media/automation.h"
#include "media/window.h"

namespace game {

void runHeadless() { media::chooseBackend(media::Backend::Headless); }

namespace {

// The folder names carry the process id, so a live replay's folder is told
// from a dead one's.
const std::string kPrivatePrefix = "quandrite-demo-";

std::filesystem::path temporaryFolder() {
    std::error_code error;
    std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    return error ? std::filesystem::path("/tmp") : folder;
}

bool processRuns(pid_t pid) { return ::kill(pid, 0) == 0 || errno != ESRCH; }

}  // namespace

PrivateDataFolder::PrivateDataFolder() {
    if (const char* before = std::getenv("XDG_DATA_HOME")) previous_ = before;
    std::string name = kPrivatePrefix + std::to_string(getpid()) + "-XXXXXX";
    std::string pattern = (temporaryFolder() / name).string();
    if (mkdtemp(pattern.data())) {
        path_ = pattern;
        setenv("XDG_DATA_HOME", path_.c_str(), 1);
    }
}

PrivateDataFolder::~PrivateDataFolder() {
    if (path_.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
    if (previous_) setenv("XDG_DATA_HOME", previous_->c_str(), 1);
    else unsetenv("XDG_DATA_HOME");
}

void removeStalePrivateDataFolders() {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(temporaryFolder(), error)) {
        std::string name = entry.path().filename().string();
        if (name.compare(0, kPrivatePrefix.size(), kPrivatePrefix) != 0) continue;
        char* end = nullptr;
        long pid = std::strtol(name.c_str() + kPrivatePrefix.size(), &end, 10);
        if (pid <= 0 || *end != '-' || pid == getpid() || processRuns(static_cast<pid_t>(pid))) continue;
        struct stat info;
        if (::lstat(entry.path().c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid()) continue;
        std::error_code ignored;
        std::filesystem::remove_all(entry.path(), ignored);
    }
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
        if (screenshotFrame_ && frame == *screenshotFrame_)
            screenshotWritten_ = media::saveScreenshotPng(screenshotPath_);
        if (frameLimit_ && frame == *frameLimit_) media::injectWindowEvent(media::kEventCloseWindow);
    });
}

FrameActions::~FrameActions() { media::setFlipObserver(nullptr); }

Timedemo::Timedemo() {
    core::setClock(&clock_);
    media::setFramePacing(false);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

Timedemo::~Timedemo() { core::setClock(nullptr); }

uint64_t framesShown() { return media::framesFlipped(); }

}  // namespace game
