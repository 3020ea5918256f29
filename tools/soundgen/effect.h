// SPDX-License-Identifier: MIT
#pragma once
// Sound-effect recipes: a few layered voices plus optional echo and reverb, rendered
// to a fixed duration and levelled to a common loudness.
#include <string>
#include <utility>
#include <vector>

#include "text_format.h"
#include "voice.h"
#include "wav_file.h"

namespace soundgen {

struct EffectLayer {
    VoiceParams voice;
    double at = 0.0;            // start, s
    double hold = 0.1;          // held part of each note, s
    int repeat = 1;             // notes in an arpeggio or roll
    double every = 0.1;         // s between repeated notes
    double step = 0.0;          // semitones added per repeat
    double fade = 0.0;          // dB added per repeat
    std::vector<double> steps;  // explicit semitone offsets per repeat (overrides `step`)
};

struct EchoSettings {
    double time = 0, feedback = 0, mix = 0, damp = 6000;
    bool ping_pong = false;
};
struct ReverbSettings {
    double size = 0, damp = 0.5, mix = 0;
};

struct EffectRecipe {
    int number = 0;
    double duration = 1.0;
    WavLayout layout;
    double loudness_db = -16.0;  // loudest 300 ms RMS
    double peak_db = -1.5;       // never louder than this
    std::vector<EffectLayer> layers;
    EchoSettings echo;
    ReverbSettings reverb;
};

EffectRecipe parse_effect(const std::vector<Line>& lines);

// Interleaved samples with recipe.layout.channels channels, exactly duration * 44100 frames.
std::vector<float> render_effect(const EffectRecipe& recipe);

size_t frames_for(double seconds);

}  // namespace soundgen
