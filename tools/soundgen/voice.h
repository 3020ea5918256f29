// SPDX-License-Identifier: MIT
#pragma once
// One synthesised note: oscillators (or noise) through an envelope, filters and modulation.
// Both the effect recipes and the music's instruments describe their sounds with these settings.
#include <cstdint>
#include <string>
#include <vector>

#include "dsp.h"
#include "text_format.h"

namespace soundgen {

enum class Wave { Sine, Triangle, Saw, Square, Noise };

struct VoiceParams {
    Wave wave = Wave::Sine;
    double duty = 0.5;                                                  // pulse width of the square wave
    double freq = 440.0;                                                // start frequency, Hz
    double freq_to = 0.0;                                               // end of an exponential sweep; 0 = no sweep
    double glide = 0.0;                                                 // sweep time in s; 0 = over the held part
    double attack = 0.005, decay = 0.2, sustain = 1.0, release = 0.05;  // s, s, level, s
    double level_db = 0.0;
    double pan = 0.0;  // -1 left .. 1 right
    double lowpass = 0.0, lowpass_to = 0.0, resonance = 0.0, highpass = 0.0;
    double filter_env = 0.0;  // octaves added to the lowpass at the onset, fading with `decay`
    double vib_rate = 0.0, vib_depth = 0.0, vib_delay = 0.0;  // Hz, semitones, s
    double trem_rate = 0.0, trem_depth = 0.0;
    double fm_ratio = 0.0, fm_index = 0.0, fm_decay = 0.0;  // sine carrier phase modulation
    int unison = 1;
    double detune = 0.0;  // cents between the outermost unison voices
    double spread = 0.5;  // stereo width of the unison voices
    double noise = 0.0;   // white noise mixed into the oscillator
    double sub = 0.0;     // a sine one octave down, for weight
};

// Reads the voice settings of a line; `extra` lists further keys the caller handles itself.
VoiceParams parse_voice(const Line& line, const VoiceParams& base, const std::vector<std::string>& extra);

// Length in seconds of a note held for `hold` seconds, including its release tail.
double voice_length(const VoiceParams& v, double hold);

// Renders the note (velocity 0..1) as interleaved stereo, voice_length(v, hold) long.
Stereo render_voice(const VoiceParams& v, double hold, double velocity, std::uint64_t seed);
// The same into a buffer that is reused from note to note.
void render_voice_into(Stereo& out, const VoiceParams& v, double hold, double velocity, std::uint64_t seed);

}  // namespace soundgen
