// SPDX-License-Identifier: MIT
#pragma once
// Small signal-processing blocks: random numbers, filters, delay effects.
// Everything is plain arithmetic with fixed seeds, so output is reproducible.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace soundgen {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

// Interleaved stereo samples.
using Stereo = std::vector<float>;
// One channel, e.g. what is sent to an echo or reverb.
using Mono = std::vector<float>;

class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next();
    double uniform() { return (next() >> 11) * (1.0 / 9007199254740992.0); }  // [0, 1)
    double bipolar() { return uniform() * 2.0 - 1.0; }                        // [-1, 1)

private:
    std::uint64_t state_;
};

// Topology-preserving state-variable filter: stays stable while its cutoff moves.
class Svf {
public:
    void set(double cutoff_hz, double resonance);  // resonance 0 (none) .. 1 (near self-oscillation)
    double lowpass(double x) {
        step(x);
        return low_;
    }
    double highpass(double x) {
        step(x);
        return high_;
    }
    double bandpass(double x) {
        step(x);
        return band_;
    }

private:
    void step(double x);
    double g_ = 0.5, k_ = 2.0, a1_ = 0, a2_ = 0, a3_ = 0;
    double ic1_ = 0, ic2_ = 0, low_ = 0, band_ = 0, high_ = 0;
};

// Feedback delay with damping and a stereo output; ping-pong alternates the repeats between
// the sides.
class Echo {
public:
    Echo(double seconds, double feedback, double damping_hz, bool ping_pong);
    // Adds the wet signal of `frames` mono input samples to interleaved stereo `out`, or only
    // advances the state when `out` is null.
    void process(const float* in, float* out, size_t frames, double mix);

private:
    std::vector<float> left_, right_;
    size_t pos_ = 0;
    double feedback_;
    bool ping_pong_;
    Svf damp_l_, damp_r_;
};

// A Schroeder-Moorer reverb: parallel damped combs into serial allpasses, per channel.
class Reverb {
public:
    Reverb(double size, double damping);
    // As Echo::process.
    void process(const float* in, float* out, size_t frames, double mix);

private:
    struct Comb {
        std::vector<float> buf;
        size_t pos = 0;
        float store = 0;
    };
    struct Allpass {
        std::vector<float> buf;
        size_t pos = 0;
    };
    std::vector<Comb> combs_[2];
    std::vector<Allpass> allpasses_[2];
    float feedback_, damp_;
};

// Removes any DC offset (first-order high-pass near 10 Hz), per channel.
void remove_dc(Stereo& samples, int channels, int passes);

Mono to_mono(const Stereo& samples);

double peak_of(const std::vector<float>& samples);
double db_to_gain(double db);
double gain_to_db(double gain);

}  // namespace soundgen
