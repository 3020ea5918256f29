// SPDX-License-Identifier: MIT
#pragma once
// Writes RIFF WAVE files from float samples in [-1, 1].
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace soundgen {

struct WavLayout {
    int channels = 2;
    int bits = 16;            // 16, 24 or 32 (integer PCM)
    bool extensible = false;  // WAVE_FORMAT_EXTENSIBLE with the PCM sub-format
    int rate = 44100;
    // Optional LIST/INFO entries, e.g. {"INAM", "Footstep"}.
    std::vector<std::pair<std::string, std::string>> info;
};

// `samples` holds layout.channels interleaved channels.
std::vector<std::uint8_t> encode_wav(const std::vector<float>& samples, const WavLayout& layout);

void write_file(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace soundgen
