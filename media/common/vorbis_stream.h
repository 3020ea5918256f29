// SPDX-License-Identifier: MIT
#pragma once
// Ogg Vorbis decoded from memory a little at a time, so that a long piece of
// music costs its compressed size and no decoding at load.
#include <vorbis/vorbisfile.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace media {

class VorbisStream {
public:
    // Copies the data; null when it is not a readable Ogg Vorbis stream.
    static std::unique_ptr<VorbisStream> open(const uint8_t* data, size_t length);
    ~VorbisStream();
    VorbisStream(const VorbisStream&) = delete;
    VorbisStream& operator=(const VorbisStream&) = delete;

    int rate() const { return rate_; }
    // Up to `frames` frames of interleaved 16-bit stereo; with `loop` the
    // stream continues from its start without a gap. Fewer frames only at
    // the end (or on unreadable data).
    size_t read(int16_t* stereo, size_t frames, bool loop);
    void rewind();
    // The whole stream (at most the decoded-size cap), for rates the mixer
    // cannot stream.
    bool decodeAll(std::vector<int16_t>& stereo);

    static bool looksLikeOgg(const uint8_t* data, size_t length);

private:
    VorbisStream() = default;

    std::vector<uint8_t> bytes_;
    size_t position_ = 0;
    OggVorbis_File file_{};
    bool opened_ = false;
    int rate_ = 0;
    std::vector<int16_t> scratch_;
    // Decoded stereo frames not yet handed out.
    std::vector<int16_t> pending_;
    size_t pendingFrame_ = 0;

    static size_t readCallback(void* out, size_t size, size_t count, void* self);
    static int seekCallback(void* self, ogg_int64_t offset, int whence);
    static long tellCallback(void* self);
};

}  // namespace media
