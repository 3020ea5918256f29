// SPDX-License-Identifier: MIT
#pragma once
// RIFF WAVE parsing and conversion to the mixer's format.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace media {

constexpr int kMixRate = 44100;
// The largest decoded sound, in bytes of the mixer's 16-bit stereo format.
constexpr size_t kMaxDecodedBytes = 64'000'000;

bool isRiffData(const uint8_t* data, size_t length);
// PCM 8/16/24/32-bit, mono or stereo, any rate; out = interleaved 16-bit
// stereo at kMixRate. False for anything malformed or truncated.
bool decodeWave(const uint8_t* data, size_t length, std::vector<int16_t>& out);
// Linear resampling of interleaved 16-bit stereo to kMixRate, then the cap.
void convertRate(std::vector<int16_t>& stereo, int rate);

}  // namespace media
