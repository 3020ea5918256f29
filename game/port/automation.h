// SPDX-License-Identifier: MIT
#pragma once
// Running the game by script instead of by a player: a demo played back or
// recorded, a stop after a number of frames, a screenshot of one frame, the
// run headless or as fast as possible. Called by session.cpp (the command
// line's --headless, --play, --record, --frames, --screenshot, --timedemo)
// and by the tools (demotool, screenshots); the game's screens and rules
// never call it. It is the only part of the game that uses media/automation.h.
#include <cstdint>
#include <optional>
#include <string>

#include "core/clock.h"
#include "game/port/demo.h"
#include "game/port/game.h"

namespace game {

// No window, screen or sound device; only the demo gives keys.
void runHeadless();

// Replays always start from the table their game started with and never
// touch the player's own file, so they replay the same on every machine:
// while this lives, the game's data folder is a fresh temporary one in
// $TMPDIR; afterwards it is the one it was.
class PrivateDataFolder {
public:
    PrivateDataFolder();
    ~PrivateDataFolder();
    PrivateDataFolder(const PrivateDataFolder&) = delete;
    PrivateDataFolder& operator=(const PrivateDataFolder&) = delete;

private:
    std::string path_;
    std::optional<std::string> previous_;
};

// Removes the private folders that replays of ours left behind when they
// were killed: those of processes that no longer run.
void removeStalePrivateDataFolders();

// While this lives the keyboard is read from the demo; after its last
// recorded examination the player closes the window (unless the demo is
// watched inside a running game, which goes on).
class DemoPlayback {
public:
    explicit DemoPlayback(const Demo& demo, bool closeAtEnd = true);
    ~DemoPlayback();
    DemoPlayback(const DemoPlayback&) = delete;
    DemoPlayback& operator=(const DemoPlayback&) = delete;
    // Keyboard examinations replayed so far.
    uint64_t position() const { return cursor_.position(); }
    bool finished() const { return cursor_.position() >= frames_; }

private:
    DemoCursor cursor_;
    uint64_t frames_;
};

// While this lives every keyboard examination is added to the demo.
class DemoRecording {
public:
    explicit DemoRecording(Demo& demo);
    ~DemoRecording();
    DemoRecording(const DemoRecording&) = delete;
    DemoRecording& operator=(const DemoRecording&) = delete;

private:
    DemoRecorder recorder_;
};

// While this lives: the screenshot saved at its frame, the window closed at
// the frame limit.
class FrameActions {
public:
    FrameActions(std::optional<uint64_t> screenshotFrame, std::string screenshotPath,
                 std::optional<uint64_t> frameLimit);
    ~FrameActions();
    FrameActions(const FrameActions&) = delete;
    FrameActions& operator=(const FrameActions&) = delete;
    // Whether the screenshot asked for was written.
    bool screenshotWritten() const { return screenshotWritten_; }

private:
    std::optional<uint64_t> screenshotFrame_;
    std::string screenshotPath_;
    std::optional<uint64_t> frameLimit_;
    bool screenshotWritten_ = false;
};

// While this lives the game runs as fast as it can and silent: time is
// virtual, frames are not paced, sound goes to SDL's dummy driver.
class Timedemo {
public:
    Timedemo();
    ~Timedemo();
    Timedemo(const Timedemo&) = delete;
    Timedemo& operator=(const Timedemo&) = delete;

private:
    core::VirtualClock clock_;
};

// While this lives frames are run and not shown, as fast as the rules run:
// time is virtual, nothing is drawn, presented or heard. A replay runs the
// frames before its game like this.
class UnseenFrames {
public:
    UnseenFrames();
    ~UnseenFrames();
    UnseenFrames(const UnseenFrames&) = delete;
    UnseenFrames& operator=(const UnseenFrames&) = delete;

private:
    core::VirtualClock clock_;
    core::Clock* clockBefore_;
    bool pacingBefore_;
};

// Runs `game` unseen until the demo being played back has replayed
// `examinations` keyboard examinations (the start of the game it keeps),
// the window is closed or the demo ends.
void runUnseenUntil(Game& game, const DemoPlayback& playback, uint64_t examinations);

// Frames shown since the program started.
uint64_t framesShown();

}  // namespace game
