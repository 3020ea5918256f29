// SPDX-License-Identifier: MIT
#include "dsp.h"

#include <algorithm>
#include <cmath>

namespace soundgen {

std::uint64_t Rng::next() {
    // splitmix64: tiny, fast and good enough for noise and humanising.
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

void Svf::set(double cutoff_hz, double resonance) {
    cutoff_hz = std::clamp(cutoff_hz, 10.0, kRate * 0.45);
    g_ = std::tan(kPi * cutoff_hz / kRate);
    k_ = 2.0 - 1.9 * std::clamp(resonance, 0.0, 1.0);
    a1_ = 1.0 / (1.0 + g_ * (g_ + k_));
    a2_ = g_ * a1_;
    a3_ = g_ * a2_;
}

void Svf::step(double x) {
    double v3 = x - ic2_;
    double v1 = a1_ * ic1_ + a2_ * v3;
    double v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
    ic1_ = 2.0 * v1 - ic1_;
    ic2_ = 2.0 * v2 - ic2_;
    low_ = v2;
    band_ = v1;
    high_ = x - k_ * v1 - v2;
}

Echo::Echo(double seconds, double feedback, double damping_hz, bool ping_pong)
    : left_(std::max<size_t>(1, static_cast<size_t>(seconds * kRate)), 0.0f),
      right_(left_.size(), 0.0f),
      feedback_(feedback),
      ping_pong_(ping_pong) {
    damp_l_.set(damping_hz, 0.0);
    damp_r_.set(damping_hz, 0.0);
}

void Echo::process(const float* in, float* out, size_t frames, double mix) {
    for (size_t i = 0; i < frames; ++i) {
        const double dl = left_[pos_], dr = right_[pos_];
        if (out) {
            out[2 * i] += static_cast<float>(dl * mix);
            out[2 * i + 1] += static_cast<float>(dr * mix);
        }
        const double fl = damp_l_.lowpass(dl) * feedback_, fr = damp_r_.lowpass(dr) * feedback_;
        if (ping_pong_) {
            // The input enters on the left only; each repeat then crosses to the other side.
            left_[pos_] = static_cast<float>(in[i] + fr);
            right_[pos_] = static_cast<float>(fl);
        } else {
            left_[pos_] = static_cast<float>(in[i] + fl);
            right_[pos_] = static_cast<float>(in[i] + fr);
        }
        if (++pos_ == left_.size()) pos_ = 0;
    }
}

Reverb::Reverb(double size, double damping)
    : feedback_(static_cast<float>(0.7 + 0.28 * std::clamp(size, 0.0, 1.0))),
      damp_(static_cast<float>(std::clamp(damping, 0.0, 1.0) * 0.4)) {
    // Mutually prime lengths (in samples at 44.1 kHz) keep the echo density smooth.
    static const int comb_lengths[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    static const int allpass_lengths[4] = {556, 441, 341, 225};
    const int spread[2] = {0, 23};
    for (int c = 0; c < 2; ++c) {
        for (int n : comb_lengths) combs_[c].push_back({std::vector<float>(n + spread[c], 0.0f)});
        for (int n : allpass_lengths) allpasses_[c].push_back({std::vector<float>(n + spread[c], 0.0f)});
    }
}

void Reverb::process(const float* in, float* out, size_t frames, double mix) {
    const float gain = 0.03f;
    for (size_t i = 0; i < frames; ++i) {
        const float input = in[i] * gain;
        for (int c = 0; c < 2; ++c) {
            float sum = 0;
            for (auto& comb : combs_[c]) {
                const float y = comb.buf[comb.pos];
                comb.store = y * (1 - damp_) + comb.store * damp_;
                comb.buf[comb.pos] = input + comb.store * feedback_;
                if (++comb.pos == comb.buf.size()) comb.pos = 0;
                sum += y;
            }
            for (auto& ap : allpasses_[c]) {
                const float buffered = ap.buf[ap.pos];
                ap.buf[ap.pos] = sum + buffered * 0.5f;
                sum = buffered - sum;
                if (++ap.pos == ap.buf.size()) ap.pos = 0;
            }
            if (out) out[2 * i + c] += static_cast<float>(sum * mix);
        }
    }
}

void remove_dc(Stereo& samples, int channels, int passes) {
    // One pole at ~10 Hz. With passes > 1 the signal is treated as a loop: the earlier passes
    // only settle the filter state, so the loop's end meets its start without a step.
    const double r = 1.0 - 2.0 * kPi * 10.0 / kRate;
    for (int c = 0; c < channels; ++c) {
        double x1 = 0, y1 = 0;
        for (int pass = 0; pass < passes; ++pass) {
            const bool last = pass == passes - 1;
            for (size_t i = c; i < samples.size(); i += channels) {
                double x = samples[i];
                double y = x - x1 + r * y1;
                x1 = x;
                y1 = y;
                if (last) samples[i] = static_cast<float>(y);
            }
        }
    }
}

Mono to_mono(const Stereo& samples) {
    Mono mono(samples.size() / 2);
    for (size_t i = 0; i < mono.size(); ++i) mono[i] = 0.5f * (samples[2 * i] + samples[2 * i + 1]);
    return mono;
}

double peak_of(const std::vector<float>& samples) {
    double peak = 0;
    for (float s : samples) peak = std::max(peak, static_cast<double>(std::fabs(s)));
    return peak;
}

double db_to_gain(double db) { return std::pow(10.0, db / 20.0); }
double gain_to_db(double gain) { return gain > 0 ? 20.0 * std::log10(gain) : -999.0; }

}  // namespace soundgen
