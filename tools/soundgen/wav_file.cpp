// SPDX-License-Identifier: MIT
#include "wav_file.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

namespace soundgen {
namespace {

void put_le(std::vector<std::uint8_t>& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void put_tag(std::vector<std::uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(tag[i]));
}

void patch_le32(std::vector<std::uint8_t>& out, size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::vector<std::uint8_t> info_chunk(const WavLayout& layout) {
    std::vector<std::uint8_t> chunk;
    put_tag(chunk, "LIST");
    put_le(chunk, 0, 4);
    put_tag(chunk, "INFO");
    for (const auto& [id, text] : layout.info) {
        if (id.size() != 4) throw std::invalid_argument("INFO ids have four characters: " + id);
        put_tag(chunk, id.c_str());
        put_le(chunk, text.size() + 1, 4);  // the size counts the terminating zero, not the pad byte
        chunk.insert(chunk.end(), text.begin(), text.end());
        chunk.push_back(0);
        if (chunk.size() % 2) chunk.push_back(0);
    }
    patch_le32(chunk, 4, static_cast<std::uint32_t>(chunk.size() - 8));
    return chunk;
}

}  // namespace

std::vector<std::uint8_t> encode_wav(const std::vector<float>& samples, const WavLayout& layout) {
    if (layout.bits != 16 && layout.bits != 24 && layout.bits != 32)
        throw std::invalid_argument("unsupported bit depth");
    if (samples.size() % layout.channels) throw std::invalid_argument("samples not whole frames");
    const int bytes_per_sample = layout.bits / 8;
    const std::uint32_t block_align = layout.channels * bytes_per_sample;
    const std::uint64_t data_bytes = samples.size() * bytes_per_sample;

    std::vector<std::uint8_t> out;
    out.reserve(data_bytes + 128);
    put_tag(out, "RIFF");
    put_le(out, 0, 4);
    put_tag(out, "WAVE");

    put_tag(out, "fmt ");
    put_le(out, layout.extensible ? 40 : 16, 4);
    put_le(out, layout.extensible ? 0xFFFE : 1, 2);
    put_le(out, layout.channels, 2);
    put_le(out, layout.rate, 4);
    put_le(out, static_cast<std::uint64_t>(layout.rate) * block_align, 4);
    put_le(out, block_align, 2);
    put_le(out, layout.bits, 2);
    if (layout.extensible) {
        put_le(out, 22, 2);                                // size of the extension
        put_le(out, layout.bits, 2);                       // valid bits
        put_le(out, layout.channels == 1 ? 0x4 : 0x3, 4);  // centre, or front left + right
        static const std::uint8_t pcm_guid[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                                  0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
        out.insert(out.end(), pcm_guid, pcm_guid + 16);
    }
    if (!layout.info.empty()) {
        auto chunk = info_chunk(layout);
        out.insert(out.end(), chunk.begin(), chunk.end());
    }

    put_tag(out, "data");
    put_le(out, data_bytes, 4);
    const double full_scale = std::ldexp(1.0, layout.bits - 1);
    for (float sample : samples) {
        double scaled = std::nearbyint(static_cast<double>(sample) * full_scale);
        scaled = std::clamp(scaled, -full_scale, full_scale - 1.0);
        put_le(out, static_cast<std::uint64_t>(static_cast<std::int64_t>(scaled)), bytes_per_sample);
    }
    if (data_bytes % 2) out.push_back(0);
    patch_le32(out, 4, static_cast<std::uint32_t>(out.size() - 8));
    return out;
}

void write_file(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace soundgen
