#pragma once
// Hooks for tests, demos and tools: run without a display, feed the keyboard,
// read back what was drawn and played. The game itself never calls these.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace media {

// No SDL video or audio at all: windows are virtual (on a 1920 x 1080
// desktop), frames are composed but not presented, sounds are tracked but silent.
void setHeadless(bool headless);
bool headless();
void setFramePacing(bool on);

// Called by examineKeyboard instead of reading the real keyboard; fills the
// 256-byte snapshot (bit 7 = down) and returns whether it could be read.
using KeyboardSource = std::function<bool(uint8_t* snapshot)>;
void setKeyboardSource(KeyboardSource source);
// Sees every snapshot examineKeyboard takes (demo recording).
using KeyboardObserver = std::function<void(const uint8_t* snapshot)>;
void setKeyboardObserver(KeyboardObserver observer);
// A fixed snapshot of the given keys held down (empty = none), used from now on.
void injectKeys(const std::vector<int>& codesDown);

// Queued ahead of real events for the next windowEvent calls.
void injectWindowEvent(int code);

// Called after every flip with the count of frames flipped so far.
using FlipObserver = std::function<void(uint64_t frame)>;
void setFlipObserver(FlipObserver observer);
uint64_t framesFlipped();

// The composed back buffer, 1020 x 607 pixels of 0xAARRGGBB, row by row.
const uint32_t* screenPixels();
bool saveScreenshotPng(const std::string& path);

struct DrawCall {
    int sprite;
    int x;
    int y;
    int intensity;
    int64_t colour;
};
// Every displaySprite/displaySpriteTinted call is appended while a log is set.
void setDrawLog(std::vector<DrawCall>* log);

struct SoundCall {
    enum Kind { Play, Stop, Volume } kind;
    int number;
    int value;  // play: flags; volume: percent
};
void setSoundLog(std::vector<SoundCall>* log);
int soundVolume(int number);

}  // namespace media
