// SPDX-License-Identifier: MIT
#pragma once
// The music's score as read from text: instruments, step patterns, sections with chords,
// and the order of sections in the song.
#include <map>
#include <string>
#include <vector>

#include "text_format.h"
#include "voice.h"

namespace soundgen {

struct Instrument {
    VoiceParams voice;
    double gate = 0.9;  // fraction of a note's steps that it is held
    double reverb_send = 0.0;
    double echo_send = 0.0;
    double humanize = 0.0;  // random velocity spread, 0..1
};

enum class PatternKind { Notes, Tones, Chord, Hits };

struct PatternEvent {
    int step = 0;    // from the pattern's start
    int length = 1;  // in steps, ties included
    int value = 0;   // Notes: MIDI note; Tones: chord tone index from 0 plus 100 per octave up
    int octave_shift = 0;
    double velocity = 1.0;
};

struct Pattern {
    PatternKind kind = PatternKind::Notes;
    int steps = 0;
    std::vector<PatternEvent> events;
};

struct Chord {
    int root = 0;                // pitch class, C = 0
    std::vector<int> intervals;  // semitones above the root, root first
};

struct Part {
    std::string instrument;
    std::vector<std::string> patterns;  // played one after another, looped to fill the bars
    int from_bar = 0, to_bar = -1;      // bar range inside the section (inclusive; -1 = last)
    int octave = 4;
    int transpose = 0;
    double level_db = 0.0;
    int line = 0;
};

struct Section {
    std::string name;
    int bars = 8;
    std::vector<std::vector<Chord>> chords;  // per bar: one or more chords splitting it evenly
    std::vector<Part> parts;
};

struct Score {
    double bpm = 120.0;
    int steps_per_bar = 16;
    double peak_db = -3.0;
    double reverb_size = 0.7, reverb_damp = 0.5;
    double echo_time = 0.375, echo_feedback = 0.35, echo_damp = 4000;
    std::map<std::string, Instrument> instruments;
    std::map<std::string, Pattern> patterns;
    std::map<std::string, Section> sections;
    std::vector<std::string> song;

    double step_seconds() const { return 60.0 / bpm / (steps_per_bar / 4.0); }
    int total_bars() const;
};

Score parse_score(const std::vector<Line>& lines);

Chord parse_chord(const std::string& name);

}  // namespace soundgen
