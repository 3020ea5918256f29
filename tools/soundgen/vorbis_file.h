// SPDX-License-Identifier: MIT
#pragma once
// Ogg Vorbis encoding of interleaved stereo float samples.
#include <cstdint>
#include <string>
#include <vector>

#include "dsp.h"

namespace soundgen {

struct VorbisSettings {
    long nominal_bitrate = 128000;
    int serial = 0x51554E44;  // fixed, so every build writes the same stream
    std::string title;
};

std::vector<std::uint8_t> encode_vorbis(const Stereo& samples, const VorbisSettings& settings);

}  // namespace soundgen
