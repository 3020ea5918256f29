// SPDX-License-Identifier: MIT
#pragma once
// Running the game by script instead of by a player: a keyboard source in
// place of the real keyboard (demo playback), an observer of every snapshot
// (demo recording), window events queued as if the system had sent them,
// a hook after every frame (screenshots, a frame limit) and unpaced frames.
// In the program only game/automation.cpp calls these (for the command line's
// --play, --record, --frames, --screenshot and --timedemo); the tools
// (demotool, screenshots), the tests and the benchmarks call them too. The
// game's screens never do.
#include <cstdint>
#include <functional>
#include <string>

#include "media/backend.h"

namespace media {

// Frames follow each other at once instead of 60 per second.
void setFramePacing(bool on);
bool framePacing();
// Frames are run and not shown: nothing is drawn or presented and no sound
// starts, while the rules, the keyboard and the window's events go on as
// ever. A replay runs the frames before its game like this.
void setFramesUnseen(bool on);

// Called by examineKeyboard instead of reading the real keyboard; fills the
// 256-byte snapshot (bit 7 = down) and returns whether it could be read.
using KeyboardSource = std::function<bool(uint8_t* snapshot)>;
void setKeyboardSource(KeyboardSource source);
// Sees every snapshot examineKeyboard takes.
using KeyboardObserver = std::function<void(const uint8_t* snapshot)>;
void setKeyboardObserver(KeyboardObserver observer);

// Queued ahead of real events for the next windowEvent calls.
void injectWindowEvent(int code);

// Called after every flip with the count of frames flipped so far.
using FlipObserver = std::function<void(uint64_t frame)>;
void setFlipObserver(FlipObserver observer);
uint64_t framesFlipped();

// Sound goes to no device (SDL's dummy driver) from the next time sound
// starts: a timedemo plays silent and never waits on a sound card.
void useSilentAudio();

// The composed back buffer as a PNG file of 1020 x 607 pixels.
bool saveScreenshotPng(const std::string& path);

}  // namespace media
