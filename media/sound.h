// SPDX-License-Identifier: MIT
#pragma once
// Numbered sounds: each is one voice that plays from its start, once or
// looping; playing it again restarts it.
#include <cstddef>

namespace media {

constexpr int kPlayLooping = 1;

bool initSound();
void releaseSound();
// RIFF WAVE (PCM 16/24/32 bit, mono or stereo, plain or extensible format
// block) or Ogg Vorbis data of the given true length.
bool loadSoundFromMemory(int number, const unsigned char* data, size_t length, int flags);
int isSound(int number);
// volume -1 keeps the volume last set.
int playSound(int number, int flags, int volume);
// -1 stops every sound.
void stopSound(int number);
// percent clamped to 0..100, 20*log10(v/100) dB, 0 silent; -1 sets every sound.
void setSoundVolume(int number, int percent);

// Holds every sound where it is (silence, nothing advances) or lets them go on.
void pauseSounds(bool paused);
// The loudness of everything, 0..100 on the same scale as a sound's volume;
// 100 (the start value) leaves the mix as it is.
void setMasterVolume(int percent);
int masterVolume();

}  // namespace media
