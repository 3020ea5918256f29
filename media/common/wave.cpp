// SPDX-License-Identifier: MIT
#include "media/common/wave.h"

#include <algorithm>
#include <cstring>

namespace media {

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr size_t kFormatBlockStart = 20;

uint16_t read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t read32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

// One sample of `bytes` bytes (little-endian, unsigned when 8-bit) to 16 bits.
int16_t sampleTo16(const uint8_t* p, int bytes) {
    switch (bytes) {
    case 1: return static_cast<int16_t>((p[0] - 128) * 256);
    case 2: return static_cast<int16_t>(read16(p));
    default: return static_cast<int16_t>(read16(p + bytes - 2));
    }
}

}  // namespace

bool isRiffData(const uint8_t* data, size_t length) { return data && length >= 4 && std::memcmp(data, "RIFF", 4) == 0; }

bool decodeWave(const uint8_t* data, size_t length, std::vector<int16_t>& out) {
    if (!isRiffData(data, length) || length < kFormatBlockStart + 16) return false;
    if (std::memcmp(data + 12, "fmt ", 4) != 0) return false;
    uint32_t formatSize = read32(data + 16);
    if (formatSize < 16 || formatSize > length - kFormatBlockStart) return false;
    const uint8_t* format = data + kFormatBlockStart;
    uint16_t tag = read16(format);
    int channels = read16(format + 2);
    int64_t rate = read32(format + 4);
    int bits = read16(format + 14);
    if (tag == kFormatExtensible) {
        // The sub-format GUID begins with the plain format tag.
        if (formatSize < 40 || read16(format + 24) != kFormatPcm) return false;
    } else if (tag != kFormatPcm) {
        return false;
    }
    if ((channels != 1 && channels != 2) || rate < 1000 || rate > 384000) return false;
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;

    // Chunks follow the format block; each is skipped by 8 + its size.
    size_t position = kFormatBlockStart + formatSize;
    const uint8_t* samples = nullptr;
    size_t sampleBytes = 0;
    while (length - position >= 8) {
        uint32_t size = read32(data + position + 4);
        if (std::memcmp(data + position, "data", 4) == 0) {
            if (size > length - position - 8) return false;
            samples = data + position + 8;
            sampleBytes = size;
            break;
        }
        if (size > length - position - 8) return false;
        position += 8 + size;
    }
    if (!samples) return false;

    int bytes = bits / 8;
    size_t frameBytes = static_cast<size_t>(bytes) * channels;
    size_t frames = std::min(sampleBytes / frameBytes, kMaxDecodedBytes / 4);
    out.resize(frames * 2);
    for (size_t i = 0; i < frames; ++i) {
        const uint8_t* frame = samples + i * frameBytes;
        int16_t left = sampleTo16(frame, bytes);
        out[2 * i] = left;
        out[2 * i + 1] = channels == 2 ? sampleTo16(frame + bytes, bytes) : left;
    }
    convertRate(out, static_cast<int>(rate));
    return true;
}

void convertRate(std::vector<int16_t>& stereo, int rate) {
    if (rate != kMixRate && !stereo.empty()) {
        size_t inFrames = stereo.size() / 2;
        size_t outFrames = static_cast<size_t>(static_cast<uint64_t>(inFrames) * kMixRate /
                                               static_cast<uint64_t>(rate));
        outFrames = std::min(outFrames, kMaxDecodedBytes / 4);
        std::vector<int16_t> converted(outFrames * 2);
        for (size_t i = 0; i < outFrames; ++i) {
            double at = static_cast<double>(i) * rate / kMixRate;
            size_t first = std::min(static_cast<size_t>(at), inFrames - 1);
            size_t second = std::min(first + 1, inFrames - 1);
            double t = at - static_cast<double>(first);
            for (size_t c = 0; c < 2; ++c)
                converted[2 * i + c] = static_cast<int16_t>(stereo[2 * first + c] * (1.0 - t) +
                                                            stereo[2 * second + c] * t);
        }
        stereo.swap(converted);
    }
    if (stereo.size() * 2 > kMaxDecodedBytes) stereo.resize(kMaxDecodedBytes / 2);
}

}  // namespace media
