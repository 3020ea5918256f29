// SPDX-License-Identifier: MIT
#pragma once
// The voices of the numbered sounds and their mix into 16-bit stereo.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "media/common/vorbis_stream.h"

namespace media {

// How long a playback that is let go takes to fade to silence: long enough
// that its end does not click, short enough that nothing is heard late.
constexpr size_t kFadeFrames = 44100 * 8 / 1000;

struct SoundRecord {
    // Either decoded samples (interleaved stereo at the mix rate) or a stream.
    std::shared_ptr<const std::vector<int16_t>> samples;
    std::unique_ptr<VorbisStream> stream;
    bool playing = false;
    bool looping = false;
    size_t position = 0;  // frames into `samples`
    int volume = 100;
    int32_t gain = 32768;  // 1.0 in 1.15 fixed point
    // The playback a stop or a restart let go, fading out beside the new one
    // (or alone) for its last `fadeLeft` frames; a stream fades where it is.
    size_t fadePosition = 0;
    size_t fadeLeft = 0;
    int32_t fadeGain = 0;
};

// Lets the voice's playback go: it fades out over kFadeFrames instead of
// ending in one sample. The voice itself is stopped and, but for a stream
// still fading, back at its beginning.
void letGo(SoundRecord& voice);
// Plays the voice again from its beginning at once; what it played fades out
// beside it. A stream cannot play from two places, so its fade ends instead.
void restartVoice(SoundRecord& voice);

// The attenuation table: entry v in hundredths of a decibel before the
// 10000 offset is removed (0 for 0 percent, 10000 for 100).
int volumeTableEntry(int percent);
// Linear gain in 1.15 fixed point for a clamped percentage; 0 is silence.
int32_t gainForPercent(int percent);

// Adds one voice's next `frames` frames, and those of a playback it let go,
// into the accumulator and advances them; a voice that reaches its end
// without looping stops.
void mixVoice(SoundRecord& voice, int32_t* accumulator, size_t frames, std::vector<int16_t>& scratch);
// Clamps the accumulated mix into the output.
void finishMix(const int32_t* accumulator, int16_t* out, size_t samples);

}  // namespace media
