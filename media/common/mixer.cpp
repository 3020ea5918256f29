// SPDX-License-Identifier: MIT
#include "media/common/mixer.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace media {

namespace {

std::array<int, 101> buildVolumeTable() {
    std::array<int, 101> table{};
    table[0] = 0;
    table[100] = 10000;
    for (int v = 1; v < 100; ++v) table[static_cast<size_t>(v)] = static_cast<int>(2000.0 * std::log10(1000.0 * v));
    return table;
}

const std::array<int, 101> kVolumeTable = buildVolumeTable();

void addScaled(int32_t* accumulator, const int16_t* samples, size_t count, int32_t gain) {
    for (size_t i = 0; i < count; ++i) accumulator[i] += (samples[i] * gain) >> 15;
}

// Stereo frames from `left` frames before the end of a fade on: the gain
// falls in a straight line to nothing.
void addFading(int32_t* accumulator, const int16_t* frames, size_t count, int32_t gain, size_t left) {
    for (size_t i = 0; i < count; ++i, --left) {
        const int64_t scale = int64_t{gain} * static_cast<int64_t>(left - 1) / static_cast<int64_t>(kFadeFrames);
        accumulator[2 * i] += static_cast<int32_t>((frames[2 * i] * scale) >> 15);
        accumulator[2 * i + 1] += static_cast<int32_t>((frames[2 * i + 1] * scale) >> 15);
    }
}

void mixFade(SoundRecord& voice, int32_t* accumulator, size_t frames, std::vector<int16_t>& scratch) {
    if (voice.fadeLeft == 0) return;
    const size_t count = std::min(frames, voice.fadeLeft);
    if (voice.stream) {
        scratch.resize(count * 2);
        size_t got = voice.stream->read(scratch.data(), count, voice.looping);
        addFading(accumulator, scratch.data(), got, voice.fadeGain, voice.fadeLeft);
        voice.fadeLeft = got < count ? 0 : voice.fadeLeft - count;
        // Faded out: the next play starts the stream from its beginning.
        if (voice.fadeLeft == 0) voice.stream->rewind();
        return;
    }
    const std::vector<int16_t>& samples = *voice.samples;
    const size_t total = samples.size() / 2;
    size_t done = 0;
    while (done < count && total > 0) {
        if (voice.fadePosition >= total) {
            if (!voice.looping) break;
            voice.fadePosition = 0;
        }
        size_t run = std::min(count - done, total - voice.fadePosition);
        addFading(accumulator + 2 * done, samples.data() + 2 * voice.fadePosition, run, voice.fadeGain,
                  voice.fadeLeft - done);
        voice.fadePosition += run;
        done += run;
    }
    voice.fadeLeft = done < count ? 0 : voice.fadeLeft - count;
}

}  // namespace

int volumeTableEntry(int percent) { return kVolumeTable[static_cast<size_t>(std::clamp(percent, 0, 100))]; }

int32_t gainForPercent(int percent) {
    int entry = volumeTableEntry(percent);
    if (entry == 0) return 0;
    double decibels = (entry - 10000) / 100.0;
    return static_cast<int32_t>(std::lround(32768.0 * std::pow(10.0, decibels / 20.0)));
}

void letGo(SoundRecord& voice) {
    if (voice.playing && voice.gain) {
        voice.fadePosition = voice.position;
        voice.fadeLeft = kFadeFrames;
        voice.fadeGain = voice.gain;
    }
    voice.playing = false;
    voice.position = 0;
    if (voice.stream && voice.fadeLeft == 0) voice.stream->rewind();
}

void restartVoice(SoundRecord& voice) {
    letGo(voice);
    if (voice.stream && voice.fadeLeft) {
        voice.fadeLeft = 0;
        voice.stream->rewind();
    }
    voice.playing = true;
}

void mixVoice(SoundRecord& voice, int32_t* accumulator, size_t frames, std::vector<int16_t>& scratch) {
    mixFade(voice, accumulator, frames, scratch);
    if (!voice.playing) return;
    if (voice.stream) {
        scratch.resize(frames * 2);
        size_t got = voice.stream->read(scratch.data(), frames, voice.looping);
        if (voice.gain) addScaled(accumulator, scratch.data(), got * 2, voice.gain);
        if (got < frames) voice.playing = false;
        return;
    }
    const std::vector<int16_t>& samples = *voice.samples;
    size_t total = samples.size() / 2;
    size_t done = 0;
    while (done < frames && voice.playing) {
        if (voice.position >= total) {
            if (!voice.looping || total == 0) {
                voice.playing = false;
                break;
            }
            voice.position = 0;
        }
        size_t count = std::min(frames - done, total - voice.position);
        if (voice.gain) addScaled(accumulator + 2 * done, samples.data() + 2 * voice.position, count * 2, voice.gain);
        voice.position += count;
        done += count;
    }
    // A sound that has just played its last frame is finished.
    if (voice.position >= total && !voice.looping) voice.playing = false;
}

void finishMix(const int32_t* accumulator, int16_t* out, size_t samples) {
    for (size_t i = 0; i < samples; ++i) out[i] = static_cast<int16_t>(std::clamp(accumulator[i], -32768, 32767));
}

}  // namespace media
