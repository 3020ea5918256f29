// SPDX-License-Identifier: MIT
// The embedded sound effects and title music: each file's container, format and length read
// from its own header, and its decoded samples checked for clipping, silence, clicks and
// effects that are cut off while still sounding; the time warning's loudness and pitch, the
// pickup chime's overtones and echo, and the pickups' loudness at the volumes they play at.
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <complex>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "assets/embedded_assets.h"
#include "game/rules/catalogue.h"

namespace {

constexpr double kClipLimit = 0.8913;  // -1 dBFS

struct WavExpectation {
    int number;
    int channels;
    int bits;
    bool extensible;
    double seconds;
};

// The effects of the game's catalogue.
std::vector<WavExpectation> effects() {
    std::vector<WavExpectation> out;
    for (const game::SoundInfo& info : game::kSounds)
        if (info.format == game::SoundFormat::Wav)
            out.push_back({info.number, info.channels, info.bits, info.extensible, info.seconds});
    return out;
}

void PrintTo(const WavExpectation& w, std::ostream* os) { *os << "sound " << w.number; }

std::uint32_t le(const unsigned char* p, int bytes) {
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= static_cast<std::uint32_t>(p[i]) << (8 * i);
    return v;
}

struct ParsedWav {
    std::uint32_t fmt_size = 0;
    const unsigned char* fmt = nullptr;
    const unsigned char* data = nullptr;
    std::uint32_t data_size = 0;
};

// Walks the chunks the way the game's loader does: format block at offset 20, then chunks
// from 20 + its size until "data".
ParsedWav parse_wav(const assets::Blob& blob) {
    ParsedWav wav;
    const unsigned char* b = blob.data;
    EXPECT_GE(blob.size, 44u);
    if (blob.size < 44) return wav;
    EXPECT_EQ(0, std::memcmp(b, "RIFF", 4));
    EXPECT_EQ(le(b + 4, 4), blob.size - 8) << "RIFF size must cover the whole file";
    EXPECT_EQ(0, std::memcmp(b + 8, "WAVE", 4));
    EXPECT_EQ(0, std::memcmp(b + 12, "fmt ", 4));
    wav.fmt_size = le(b + 16, 4);
    wav.fmt = b + 20;
    for (size_t pos = 20 + wav.fmt_size; pos + 8 <= blob.size;) {
        const std::uint32_t size = le(b + pos + 4, 4);
        if (std::memcmp(b + pos, "data", 4) == 0) {
            wav.data = b + pos + 8;
            wav.data_size = size;
            EXPECT_LE(pos + 8 + size, blob.size) << "data chunk runs past the file";
            break;
        }
        pos += 8 + size + (size & 1);
    }
    return wav;
}

// Samples of every channel scaled to [-1, 1).
std::vector<double> samples_of(const ParsedWav& wav, int bits) {
    std::vector<double> out;
    const int bytes = bits / 8;
    const double scale = std::ldexp(1.0, bits - 1);
    for (std::uint32_t i = 0; i + bytes <= wav.data_size; i += bytes) {
        std::int64_t v = static_cast<std::int64_t>(le(wav.data + i, bytes));
        if (v >= static_cast<std::int64_t>(scale)) v -= static_cast<std::int64_t>(2 * scale);
        out.push_back(static_cast<double>(v) / scale);
    }
    return out;
}

double peak(const std::vector<double>& x) {
    double p = 0;
    for (double s : x) p = std::max(p, std::fabs(s));
    return p;
}

constexpr size_t kTailFrames = 4410;     // the last 100 ms
constexpr size_t kWindowFrames = 441;    // 10 ms
constexpr double kTailLimit = 0.005623;  // -45 dBFS
constexpr double kEndLimit = 0.001;      // -60 dBFS

// RMS of the loudest `window` frames of any one channel from frame `from` to the end, the
// window sliding one frame at a time.
double loudest_window_rms(const std::vector<double>& x, int channels, size_t from, size_t window) {
    const size_t frames = x.size() / channels;
    double best = 0;
    for (int c = 0; c < channels; ++c) {
        double sum = 0;
        for (size_t f = from; f < frames; ++f) {
            const double s = x[f * channels + c];
            sum += s * s;
            if (f >= from + window) {
                const double old = x[(f - window) * channels + c];
                sum -= old * old;
            }
            if (f + 1 >= from + window) best = std::max(best, sum);
        }
    }
    return std::sqrt(best / window);
}

class EmbeddedEffect : public ::testing::TestWithParam<WavExpectation> {};

TEST_P(EmbeddedEffect, HeaderMatchesTheCatalogue) {
    const WavExpectation& want = GetParam();
    const assets::Blob blob = assets::embeddedSound(want.number);
    ASSERT_TRUE(blob) << "sound " << want.number << " is not embedded";
    const ParsedWav wav = parse_wav(blob);
    ASSERT_NE(wav.fmt, nullptr);
    ASSERT_NE(wav.data, nullptr) << "no data chunk";

    const int block = want.channels * want.bits / 8;
    EXPECT_EQ(le(wav.fmt + 0, 2), want.extensible ? 0xFFFEu : 1u);
    EXPECT_EQ(le(wav.fmt + 2, 2), static_cast<std::uint32_t>(want.channels));
    EXPECT_EQ(le(wav.fmt + 4, 4), 44100u);
    EXPECT_EQ(le(wav.fmt + 8, 4), 44100u * block) << "average bytes per second";
    EXPECT_EQ(le(wav.fmt + 12, 2), static_cast<std::uint32_t>(block)) << "block align";
    EXPECT_EQ(le(wav.fmt + 14, 2), static_cast<std::uint32_t>(want.bits));
    if (want.extensible) {
        ASSERT_EQ(wav.fmt_size, 40u);
        EXPECT_EQ(le(wav.fmt + 16, 2), 22u) << "extension size";
        EXPECT_EQ(le(wav.fmt + 18, 2), static_cast<std::uint32_t>(want.bits)) << "valid bits";
        static const unsigned char pcm[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                              0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
        EXPECT_EQ(0, std::memcmp(wav.fmt + 24, pcm, 16)) << "sub-format must be PCM";
    } else {
        EXPECT_EQ(wav.fmt_size, 16u);
    }
    EXPECT_EQ(wav.data_size % block, 0u);
    EXPECT_EQ(wav.data_size / block, static_cast<std::uint32_t>(std::llround(want.seconds * 44100)))
        << "length in sample frames";
}

TEST_P(EmbeddedEffect, IsAudibleUnclippedAndCentred) {
    const WavExpectation& want = GetParam();
    const assets::Blob blob = assets::embeddedSound(want.number);
    ASSERT_TRUE(blob);
    const ParsedWav wav = parse_wav(blob);
    ASSERT_NE(wav.data, nullptr);
    const auto x = samples_of(wav, want.bits);
    ASSERT_FALSE(x.empty());
    EXPECT_LT(peak(x), kClipLimit) << "peaks must stay below -1 dBFS";
    EXPECT_GT(peak(x), 0.1) << "far too quiet to balance with the other sounds";
    double mean = 0;
    for (double s : x) mean += s;
    EXPECT_LT(std::fabs(mean / x.size()), 1e-3) << "DC offset";
}

// Each effect must have died away on its own before its fixed length runs out: a sound still
// ringing in its last 100 ms is heard as cut off, however short the final fade.
TEST_P(EmbeddedEffect, DecaysBeforeItsEndAndStopsWithoutAStep) {
    const WavExpectation& want = GetParam();
    const assets::Blob blob = assets::embeddedSound(want.number);
    ASSERT_TRUE(blob);
    const ParsedWav wav = parse_wav(blob);
    ASSERT_NE(wav.data, nullptr);
    const auto x = samples_of(wav, want.bits);
    const size_t frames = x.size() / want.channels;
    ASSERT_GT(frames, kTailFrames);
    const double tail = loudest_window_rms(x, want.channels, frames - kTailFrames, kWindowFrames);
    EXPECT_LE(tail, kTailLimit) << "loudest 10 ms of the last 100 ms at " << 20 * std::log10(tail) << " dBFS";
    // Playback ends by jumping from the last sample to silence.
    for (int c = 0; c < want.channels; ++c)
        EXPECT_LE(std::fabs(x[x.size() - want.channels + c]), kEndLimit) << "step at the end of channel " << c;
}

INSTANTIATE_TEST_SUITE_P(Sounds, EmbeddedEffect, ::testing::ValuesIn(effects()),
                         [](const auto& test) { return "Sound" + std::to_string(test.param.number); });

TEST(EmbeddedSoundCatalogue, ListsExactlyTheGameSounds) {
    std::vector<int> want;
    for (const game::SoundInfo& info : game::kSounds) want.push_back(info.number);
    EXPECT_EQ(assets::embeddedSoundNumbers(), want);
    EXPECT_FALSE(assets::embeddedSound(10));
}

// The samples of an effect, its channels mixed to one.
std::vector<double> mono_of(int number) {
    for (const WavExpectation& want : effects()) {
        if (want.number != number) continue;
        const ParsedWav wav = parse_wav(assets::embeddedSound(number));
        const std::vector<double> x = samples_of(wav, want.bits);
        std::vector<double> out(x.size() / want.channels);
        for (size_t f = 0; f < out.size(); ++f) {
            for (int c = 0; c < want.channels; ++c) out[f] += x[f * want.channels + c];
            out[f] /= want.channels;
        }
        return out;
    }
    ADD_FAILURE() << "sound " << number << " is no effect of the catalogue";
    return {};
}

double decibels(double rms) { return 20 * std::log10(std::max(rms, 1e-12)); }

double rms_of(const std::vector<double>& x, size_t from, size_t to) {
    double sum = 0;
    for (size_t i = from; i < to && i < x.size(); ++i) sum += x[i] * x[i];
    return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0.0;
}

void fft(std::vector<std::complex<double>>& a) {
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const std::complex<double> w = std::polar(1.0, -2 * M_PI / static_cast<double>(len));
        for (size_t i = 0; i < n; i += len) {
            std::complex<double> u = 1;
            for (size_t k = 0; k < len / 2; ++k, u *= w) {
                const std::complex<double> even = a[i + k], odd = a[i + k + len / 2] * u;
                a[i + k] = even + odd;
                a[i + k + len / 2] = even - odd;
            }
        }
    }
}

// The share of the energy between lo and hi Hz, over Hann windows of 4096 samples that
// overlap by half.
double band_share(const std::vector<double>& x, double lo, double hi) {
    constexpr size_t kWindow = 4096;
    double band = 0, all = 0;
    for (size_t start = 0; start + kWindow <= x.size(); start += kWindow / 2) {
        std::vector<std::complex<double>> a(kWindow);
        for (size_t i = 0; i < kWindow; ++i)
            a[i] = x[start + i] * (0.5 - 0.5 * std::cos(2 * M_PI * static_cast<double>(i) / kWindow));
        fft(a);
        for (size_t k = 1; k < kWindow / 2; ++k) {
            const double hz = k * 44100.0 / kWindow, e = std::norm(a[k]);
            all += e;
            if (hz >= lo && hz < hi) band += e;
        }
    }
    return all > 0 ? band / all : 0.0;
}

// The warning plays at volume 7 at 40 % time left, over the play: it must be loud in the
// file and sit where the ear is keenest, so that it is heard there and is not harsh at 10 %.
TEST(EffectSound, TheTimeWarningIsLoudAndPitchedWhereTheEarIsKeenest) {
    const std::vector<double> x = mono_of(game::sound::TimeWarning);
    ASSERT_FALSE(x.empty());
    const double level = decibels(rms_of(x, 0, x.size())), share = band_share(x, 2000, 4000);
    std::printf("time warning: %.1f dBFS RMS, %.0f %% of its energy between 2 and 4 kHz\n", level, 100 * share);
    EXPECT_GE(level, -16.0);
    EXPECT_GE(share, 0.5);
}

// The pickup chime: bells tuned with whole-number ratios keep their overtones on the notes'
// harmonics, far below the top of hearing; its echo is short and dies within the second.
TEST(EffectSound, ThePickupChimeStaysInTuneAndStopsRinging) {
    const std::vector<double> x = mono_of(game::sound::Pickup);
    ASSERT_FALSE(x.empty());
    const double high = band_share(x, 10000, 22050);
    double loudest = 0;
    for (size_t f = 0; f + 13230 <= x.size(); f += 441) loudest = std::max(loudest, rms_of(x, f, f + 13230));
    const double late = rms_of(x, 44100, 44100 + 13230);
    std::printf("pickup chime: %.3f %% of its energy above 10 kHz; 1.0-1.3 s at %.1f dB below its loudest\n",
                100 * high, decibels(loudest) - decibels(late));
    EXPECT_LE(high, 0.001) << "inharmonic overtones reach the top of hearing";
    EXPECT_GE(decibels(loudest) - decibels(late), 30.0) << "the chime still rings after a second";
}

// Spiral and heart orbs are pickups like the others: at the volumes the game plays them at
// (71 for the orbs and the diamond, 48 for spiral and heart: a volume v is 20 log10(v / 100)
// dB), their loudest 300 ms must be within 1.5 dB of one another.
TEST(EffectSound, EveryPickupIsAsLoudAsTheOthersAtItsVolume) {
    struct Pickup {
        int number, volume;
    };
    const Pickup pickups[] = {
        {game::sound::Pickup, 71}, {game::sound::Diamond, 71}, {game::sound::Spiral, 48}, {game::sound::Heart, 48}};
    double quietest = 0, loudest = -200;
    for (const Pickup& p : pickups) {
        const auto row = std::find_if(std::begin(game::kSounds), std::end(game::kSounds),
                                      [&](const game::SoundInfo& info) { return info.number == p.number; });
        ASSERT_NE(row, std::end(game::kSounds));
        // Both ears count: the power of all channels, so a sound panned wide is not undercounted.
        const std::vector<double> x = samples_of(parse_wav(assets::embeddedSound(p.number)), row->bits);
        ASSERT_FALSE(x.empty());
        const size_t window = 13230 * static_cast<size_t>(row->channels);
        double best = 0;
        for (size_t f = 0; f + window <= x.size(); f += 441 * row->channels)
            best = std::max(best, rms_of(x, f, f + window));
        const double heard = decibels(best) + 20 * std::log10(p.volume / 100.0);
        std::printf("sound %d at volume %d: loudest 300 ms at %.1f dB\n", p.number, p.volume, heard);
        quietest = std::min(quietest, heard);
        loudest = std::max(loudest, heard);
    }
    EXPECT_LE(loudest - quietest, 1.5);
}

// ov_open_callbacks reading from the embedded bytes.
struct MemoryStream {
    const unsigned char* data;
    size_t size;
    size_t pos = 0;
};

size_t read_memory(void* out, size_t size, size_t count, void* source) {
    auto* s = static_cast<MemoryStream*>(source);
    const size_t n = std::min(size * count, s->size - s->pos);
    std::memcpy(out, s->data + s->pos, n);
    s->pos += n;
    return size ? n / size : 0;
}

int seek_memory(void* source, ogg_int64_t offset, int whence) {
    auto* s = static_cast<MemoryStream*>(source);
    const ogg_int64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? s->pos : s->size;
    if (base + offset < 0 || base + offset > static_cast<ogg_int64_t>(s->size)) return -1;
    s->pos = static_cast<size_t>(base + offset);
    return 0;
}

long tell_memory(void* source) { return static_cast<long>(static_cast<MemoryStream*>(source)->pos); }

class TitleMusic : public ::testing::Test {
protected:
    void SetUp() override {
        const assets::Blob blob = assets::embeddedSound(game::sound::Music);
        ASSERT_TRUE(blob) << "the title music is not embedded";
        stream_ = {blob.data, blob.size};
        const ov_callbacks callbacks = {read_memory, seek_memory, nullptr, tell_memory};
        ASSERT_EQ(ov_open_callbacks(&stream_, &file_, nullptr, 0, callbacks), 0) << "not an Ogg Vorbis stream";
        open_ = true;
    }
    void TearDown() override {
        if (open_) ov_clear(&file_);
    }
    MemoryStream stream_{nullptr, 0};
    OggVorbis_File file_{};
    bool open_ = false;
};

TEST_F(TitleMusic, IsStereoVorbisAt128kAndAboutFourAndAHalfMinutes) {
    const vorbis_info* info = ov_info(&file_, -1);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->channels, 2);
    EXPECT_EQ(info->rate, 44100);
    EXPECT_EQ(info->bitrate_nominal, 128000);
    const auto music = std::find_if(std::begin(game::kSounds), std::end(game::kSounds),
                                    [](const game::SoundInfo& row) { return row.number == game::sound::Music; });
    ASSERT_NE(music, std::end(game::kSounds));
    EXPECT_NEAR(ov_time_total(&file_, -1), music->seconds, 5.0);
}

TEST_F(TitleMusic, DecodesUnclippedAndLoopsWithoutAClick) {
    std::vector<std::int16_t> pcm;
    char buffer[16384];
    int section = 0;
    for (long n; (n = ov_read(&file_, buffer, sizeof buffer, 0, 2, 1, &section)) > 0;) {
        const size_t old = pcm.size();
        pcm.resize(old + n / 2);
        std::memcpy(pcm.data() + old, buffer, n);
    }
    ASSERT_EQ(static_cast<ogg_int64_t>(pcm.size() / 2), ov_pcm_total(&file_, -1));
    int peak = 0;
    for (std::int16_t s : pcm) peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_LT(peak, kClipLimit * 32768) << "the decoded music must stay below -1 dBFS";
    EXPECT_GT(peak, 0.25 * 32768) << "the music is much too quiet";
    // Across the loop point the wave must move no more than it typically does between samples.
    const size_t frames = pcm.size() / 2;
    for (int c = 0; c < 2; ++c) {
        double typical = 0;
        for (size_t i = 1; i < frames; ++i) typical += std::abs(pcm[2 * i + c] - pcm[2 * (i - 1) + c]);
        typical /= static_cast<double>(frames - 1);
        const int seam = std::abs(pcm[c] - pcm[2 * (frames - 1) + c]);
        EXPECT_LT(seam, 4 * typical + 8) << "step at the loop point on channel " << c;
    }
}

}  // namespace
