// SPDX-License-Identifier: MIT
#pragma once
// What the tests and benchmarks need beyond running the game by script:
// fixed keys and focus, and a look at what was drawn and played. Only tests
// and benchmarks call these.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/automation.h"

namespace media {

// A fixed snapshot of the given keys held down (empty = none), used from now
// on instead of the real keyboard; setKeyboardSource(nullptr) ends it.
void injectKeys(const std::vector<int>& codesDown);
// Simulates the window gaining or losing the keyboard focus (Real = ask the
// backend; with a keyboard source the window counts as focused).
enum class FocusOverride { Real, Focused, Unfocused };
void setKeyboardFocus(FocusOverride state);

// As if SDL had reported lost render targets: the next flip recreates them.
void simulateRendererReset();
// Whether frames are shown through SDL (false headless or without a screen).
bool screenPresents();
// Whether the GPU path draws the frames (else the software compositor).
bool screenUsesGpu();

// A sprite of that size without pixels: its size and collisions are a
// picture's, drawing it shows nothing and drawing on it fails. Tests of the
// rules make the catalogue's sprites so, without the memory of the pictures.
bool createSizedSprite(int number, int width, int height);

// The composed back buffer, 1020 x 607 pixels of 0xAARRGGBB, row by row.
const uint32_t* screenPixels();

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
