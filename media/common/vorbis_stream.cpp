// SPDX-License-Identifier: MIT
#include "media/common/vorbis_stream.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "media/common/wave.h"

namespace media {

bool VorbisStream::looksLikeOgg(const uint8_t* data, size_t length) {
    return data && length >= 4 && std::memcmp(data, "OggS", 4) == 0;
}

size_t VorbisStream::readCallback(void* out, size_t size, size_t count, void* self) {
    auto* stream = static_cast<VorbisStream*>(self);
    if (size == 0) return 0;
    size_t available = (stream->bytes_.size() - stream->position_) / size;
    size_t taken = std::min(count, available);
    std::memcpy(out, stream->bytes_.data() + stream->position_, taken * size);
    stream->position_ += taken * size;
    return taken;
}

int VorbisStream::seekCallback(void* self, ogg_int64_t offset, int whence) {
    auto* stream = static_cast<VorbisStream*>(self);
    ogg_int64_t base = 0;
    if (whence == SEEK_CUR) base = static_cast<ogg_int64_t>(stream->position_);
    else if (whence == SEEK_END) base = static_cast<ogg_int64_t>(stream->bytes_.size());
    ogg_int64_t target = base + offset;
    if (target < 0 || target > static_cast<ogg_int64_t>(stream->bytes_.size())) return -1;
    stream->position_ = static_cast<size_t>(target);
    return 0;
}

long VorbisStream::tellCallback(void* self) { return static_cast<long>(static_cast<VorbisStream*>(self)->position_); }

std::unique_ptr<VorbisStream> VorbisStream::open(const uint8_t* data, size_t length) {
    if (!looksLikeOgg(data, length)) return nullptr;
    std::unique_ptr<VorbisStream> stream(new VorbisStream);
    stream->bytes_.assign(data, data + length);
    ov_callbacks callbacks{readCallback, seekCallback, nullptr, tellCallback};
    if (ov_open_callbacks(stream.get(), &stream->file_, nullptr, 0, callbacks) != 0) return nullptr;
    stream->opened_ = true;
    vorbis_info* info = ov_info(&stream->file_, -1);
    if (!info || (info->channels != 1 && info->channels != 2) || info->rate < 1000 || info->rate > 384000)
        return nullptr;
    stream->rate_ = static_cast<int>(info->rate);
    return stream;
}

VorbisStream::~VorbisStream() {
    if (opened_) ov_clear(&file_);
}

void VorbisStream::rewind() {
    ov_pcm_seek(&file_, 0);
    pending_.clear();
    pendingFrame_ = 0;
}

size_t VorbisStream::read(int16_t* stereo, size_t frames, bool loop) {
    size_t done = 0;
    bool rewoundWithoutData = false;
    while (done < frames) {
        size_t waiting = pending_.size() / 2 - pendingFrame_;
        if (waiting > 0) {
            size_t taken = std::min(waiting, frames - done);
            std::memcpy(stereo + 2 * done, pending_.data() + 2 * pendingFrame_, taken * 4);
            pendingFrame_ += taken;
            done += taken;
            continue;
        }
        constexpr size_t kScratchSamples = 8192;
        scratch_.resize(kScratchSamples);
        int section = 0;
        long got = ov_read(&file_, reinterpret_cast<char*>(scratch_.data()), static_cast<int>(kScratchSamples * 2), 0,
                           2, 1, &section);
        if (got == OV_HOLE) continue;
        if (got <= 0) {
            // The end (or data that cannot be read): start again when looping,
            // but never spin on a stream that yields nothing.
            if (!loop || rewoundWithoutData || ov_pcm_seek(&file_, 0) != 0) break;
            rewoundWithoutData = true;
            continue;
        }
        // A chained stream may change its channel count from link to link.
        vorbis_info* info = ov_info(&file_, section);
        int channels = info ? info->channels : 0;
        if (channels != 1 && channels != 2) break;
        rewoundWithoutData = false;
        size_t gotFrames = static_cast<size_t>(got) / 2 / static_cast<size_t>(channels);
        pending_.resize(gotFrames * 2);
        pendingFrame_ = 0;
        for (size_t i = 0; i < gotFrames; ++i) {
            int16_t left = scratch_[i * static_cast<size_t>(channels)];
            pending_[2 * i] = left;
            pending_[2 * i + 1] = channels == 2 ? scratch_[i * 2 + 1] : left;
        }
    }
    return done;
}

bool VorbisStream::decodeAll(std::vector<int16_t>& stereo) {
    rewind();
    stereo.clear();
    int16_t block[4096 * 2];
    while (stereo.size() * 2 < kMaxDecodedBytes) {
        size_t got = read(block, 4096, false);
        if (got == 0) break;
        stereo.insert(stereo.end(), block, block + got * 2);
    }
    if (stereo.size() * 2 > kMaxDecodedBytes) stereo.resize(kMaxDecodedBytes / 2);
    rewind();
    return !stereo.empty();
}

}  // namespace media
