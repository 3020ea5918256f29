#pragma once
// Hooks for tests, demos and tools: run without a display, feed the keyboard,
// read back what was drawn and played. The game itself never calls these.
#include <cstddef>
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
// A fixed snapshot of the given keys held down (empty = none), used from now
// on instead of the real keyboard; setKeyboardSource(nullptr) ends it.
void injectKeys(const std::vector<int>& codesDown);
// Simulates the window gaining or losing the keyboard focus (Real = ask SDL;
// in headless mode and with a source the window counts as focused).
enum class FocusOverride { Real, Focused, Unfocused };
void setKeyboardFocus(FocusOverride state);

// Queued ahead of real events for the next windowEvent calls.
void injectWindowEvent(int code);
// Takes back a quit signal already caught, so the window stays open.
void forgetQuitRequest();

// Called after every flip with the count of frames flipped so far.
using FlipObserver = std::function<void(uint64_t frame)>;
void setFlipObserver(FlipObserver observer);
uint64_t framesFlipped();
// As if SDL had reported lost render targets: the next flip recreates them.
void simulateRendererReset();
// Whether frames are shown through SDL (false headless or without a screen).
bool screenPresents();

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
// The volume percentage last set (0 when the number holds no sound).
int soundVolume(int number);
bool soundPlaying(int number);
// Mixes the next `frames` frames of 16-bit stereo at 44100 Hz from the
// playing sounds, as the audio device would; meant for headless runs.
void mixAudio(int16_t* stereo, size_t frames);
bool audioDeviceOpen();
// The attenuation of a volume percentage in hundredths of a decibel
// (0 at 100 percent, -603 at 50, -10000 at 0).
int volumeAttenuation(int percent);
// How many large images are held decoded right now.
size_t decodedLargeImages();

}  // namespace media
