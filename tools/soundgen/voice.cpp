// SPDX-License-Identifier: MIT
#include "voice.h"

#include <algorithm>
#include <cmath>

namespace soundgen {
namespace {

Wave parse_wave(const std::string& name, const Line& line) {
    if (name == "sine") return Wave::Sine;
    if (name == "triangle") return Wave::Triangle;
    if (name == "saw") return Wave::Saw;
    if (name == "square") return Wave::Square;
    if (name == "noise") return Wave::Noise;
    line.fail("unknown wave '" + name + "'");
}

// Band-limited step correction: removes most of the aliasing of saw and square waves.
double poly_blep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

double oscillate(Wave wave, double phase, double dt, double duty) {
    switch (wave) {
    case Wave::Sine: return std::sin(2.0 * kPi * phase);
    case Wave::Triangle: return phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
    case Wave::Saw: return 2.0 * phase - 1.0 - poly_blep(phase, dt);
    case Wave::Square: {
        double v = phase < duty ? 1.0 : -1.0;
        v += poly_blep(phase, dt);
        double shifted = phase - duty;
        if (shifted < 0) shifted += 1.0;
        return v - poly_blep(shifted, dt);
    }
    case Wave::Noise: return 0.0;
    }
    return 0.0;
}

}  // namespace

VoiceParams parse_voice(const Line& line, const VoiceParams& base, const std::vector<std::string>& extra) {
    std::vector<std::string> keys = {
        "wave",      "duty", "freq",    "to",      "glide",  "attack", "decay",  "sustain",  "release",  "level",
        "pan",       "lp",   "lpto",    "res",     "hp",     "fenv",   "vib",    "vibdepth", "vibdelay", "trem",
        "tremdepth", "fm",   "fmindex", "fmdecay", "unison", "detune", "spread", "noise",    "sub"};
    keys.insert(keys.end(), extra.begin(), extra.end());
    line.allow_only(keys);
    VoiceParams v = base;
    if (line.has("wave")) v.wave = parse_wave(line.text_or("wave", ""), line);
    v.duty = line.number_or("duty", v.duty);
    v.freq = line.frequency_or("freq", v.freq);
    v.freq_to = line.frequency_or("to", v.freq_to);
    v.glide = line.number_or("glide", v.glide);
    v.attack = line.number_or("attack", v.attack);
    v.decay = line.number_or("decay", v.decay);
    v.sustain = line.number_or("sustain", v.sustain);
    v.release = line.number_or("release", v.release);
    v.level_db = line.number_or("level", v.level_db);
    v.pan = line.number_or("pan", v.pan);
    v.lowpass = line.number_or("lp", v.lowpass);
    v.lowpass_to = line.number_or("lpto", v.lowpass_to);
    v.resonance = line.number_or("res", v.resonance);
    v.highpass = line.number_or("hp", v.highpass);
    v.filter_env = line.number_or("fenv", v.filter_env);
    v.vib_rate = line.number_or("vib", v.vib_rate);
    v.vib_depth = line.number_or("vibdepth", v.vib_depth);
    v.vib_delay = line.number_or("vibdelay", v.vib_delay);
    v.trem_rate = line.number_or("trem", v.trem_rate);
    v.trem_depth = line.number_or("tremdepth", v.trem_depth);
    v.fm_ratio = line.number_or("fm", v.fm_ratio);
    v.fm_index = line.number_or("fmindex", v.fm_index);
    v.fm_decay = line.number_or("fmdecay", v.fm_decay);
    v.unison = static_cast<int>(line.number_or("unison", v.unison));
    v.detune = line.number_or("detune", v.detune);
    v.spread = line.number_or("spread", v.spread);
    v.noise = line.number_or("noise", v.noise);
    v.sub = line.number_or("sub", v.sub);
    if (v.attack < 0 || v.decay <= 0 || v.release <= 0 || v.freq <= 0 || v.unison < 1 || v.unison > 8 || v.duty <= 0 ||
        v.duty >= 1)
        line.fail("voice settings out of range");
    return v;
}

double voice_length(const VoiceParams& v, double hold) {
    // Six release time constants bring the tail down by about 52 dB.
    return std::max(hold, v.attack) + 6.0 * v.release;
}

Stereo render_voice(const VoiceParams& v, double hold, double velocity, std::uint64_t seed) {
    Stereo out;
    render_voice_into(out, v, hold, velocity, seed);
    return out;
}

void render_voice_into(Stereo& out, const VoiceParams& v, double hold, double velocity, std::uint64_t seed) {
    hold = std::max(hold, v.attack);
    const size_t frames = static_cast<size_t>(voice_length(v, hold) * kRate) + 1;
    const size_t hold_frames = static_cast<size_t>(hold * kRate);
    const size_t attack_frames = static_cast<size_t>(v.attack * kRate);
    out.resize(frames * 2);  // every sample is written below
    Rng rng(seed);

    const int n = v.unison;
    std::vector<double> phase(n), sub_phase(n, 0.0), fm_phase(n, 0.0), ratio(n), pan_l(n), pan_r(n), step(n);
    for (int u = 0; u < n; ++u) {
        double offset = n == 1 ? 0.0 : (static_cast<double>(u) / (n - 1) - 0.5);
        ratio[u] = std::pow(2.0, offset * v.detune / 1200.0);
        double p = std::clamp(v.pan + offset * 2.0 * v.spread, -1.0, 1.0);
        pan_l[u] = std::cos((p + 1.0) * kPi / 4.0);
        pan_r[u] = std::sin((p + 1.0) * kPi / 4.0);
        phase[u] = n == 1 ? 0.0 : rng.uniform();  // free-running phases make unison sound wide
    }
    const double gain = db_to_gain(v.level_db) * velocity / std::sqrt(static_cast<double>(n));
    const double glide = v.glide > 0 ? v.glide : hold;
    const double sweep = v.freq_to > 0 ? std::log(v.freq_to / v.freq) : 0.0;
    // Per-sample multipliers for the exponential segments of the envelope.
    const double decay_step = std::exp(-1.0 / (v.decay * kRate));
    const double release_step = std::exp(-1.0 / (v.release * kRate));

    Svf low[2], high[2];
    const bool use_lp = v.lowpass > 0, use_hp = v.highpass > 0;
    if (use_hp) {
        high[0].set(v.highpass, 0.0);
        high[1].set(v.highpass, 0.0);
    }
    // Pitch, filter and modulation move slowly: update them every few samples only.
    constexpr size_t kControlEvery = 16;
    double env = 0.0, decaying = 1.0, freq = v.freq, fm_index = v.fm_index, mod_amp = 1.0;
    for (size_t i = 0; i < frames; ++i) {
        if (i < attack_frames) {
            env = static_cast<double>(i) / attack_frames;
        } else if (i < hold_frames) {
            env = v.sustain + (1.0 - v.sustain) * decaying;
            decaying *= decay_step;
        } else {
            env *= release_step;
        }
        if (i % kControlEvery == 0) {
            const double t = static_cast<double>(i) / kRate;
            const double progress = std::min(t / glide, 1.0);
            freq = v.freq * std::exp(sweep * progress);
            if (v.vib_depth > 0 && t > v.vib_delay) {
                const double depth = v.vib_depth * std::min(1.0, (t - v.vib_delay) / 0.3);
                freq *= std::pow(2.0, depth / 12.0 * std::sin(2.0 * kPi * v.vib_rate * t));
            }
            mod_amp = 1.0;
            if (v.trem_depth > 0) mod_amp -= v.trem_depth * 0.5 * (1.0 - std::cos(2.0 * kPi * v.trem_rate * t));
            // Fade the last 2 ms to exact silence, so no note ends in a step.
            mod_amp *= std::min(1.0, static_cast<double>(frames - i) / (0.002 * kRate));
            for (int u = 0; u < n; ++u) step[u] = freq * ratio[u] / kRate;
            if (v.fm_decay > 0) fm_index = v.fm_index * std::exp(-t / v.fm_decay);
            if (use_lp) {
                double cutoff = v.lowpass;
                if (v.lowpass_to > 0) cutoff *= std::pow(v.lowpass_to / v.lowpass, progress);
                if (v.filter_env != 0) cutoff *= std::pow(2.0, v.filter_env * std::exp(-t / v.decay));
                low[0].set(cutoff, v.resonance);
                low[1].set(cutoff, v.resonance);
            }
        }
        const double amp = env * mod_amp * gain;
        double left = 0.0, right = 0.0;
        for (int u = 0; u < n; ++u) {
            const double dt = step[u];
            double s;
            if (v.wave == Wave::Noise) {
                s = rng.bipolar();
            } else if (v.fm_ratio > 0) {
                s = std::sin(2.0 * kPi * phase[u] + fm_index * std::sin(2.0 * kPi * fm_phase[u]));
                fm_phase[u] += dt * v.fm_ratio;
                fm_phase[u] -= std::floor(fm_phase[u]);
            } else {
                s = oscillate(v.wave, phase[u], dt, v.duty);
            }
            if (v.noise > 0) s += v.noise * rng.bipolar();
            if (v.sub > 0) {
                s += v.sub * std::sin(2.0 * kPi * sub_phase[u]);
                sub_phase[u] += dt * 0.5;
                if (sub_phase[u] >= 1.0) sub_phase[u] -= 1.0;
            }
            phase[u] += dt;
            if (phase[u] >= 1.0) phase[u] -= 1.0;
            left += s * pan_l[u];
            right += s * pan_r[u];
        }
        if (use_lp) {
            left = low[0].lowpass(left);
            right = low[1].lowpass(right);
        }
        if (use_hp) {
            left = high[0].highpass(left);
            right = high[1].highpass(right);
        }
        out[2 * i] = static_cast<float>(left * amp);
        out[2 * i + 1] = static_cast<float>(right * amp);
    }
}

}  // namespace soundgen
