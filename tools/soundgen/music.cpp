#include "music.h"

#include <cmath>

#include "effect.h"

namespace soundgen {
namespace {

struct Buses {
    Stereo dry, reverb, echo;
};

void add_wrapped(Stereo& bus, const Stereo& note, size_t start_frame, float gain) {
    if (gain == 0.0f) return;
    size_t at = (start_frame * 2) % bus.size();
    for (float s : note) {
        bus[at] += s * gain;
        if (++at == bus.size()) at = 0;
    }
}

// Chord tones spread around a centre pitch, so consecutive chords move smoothly (inversions).
std::vector<int> voiced_chord(const Chord& chord, int octave) {
    const int centre = 12 * (octave + 1) + 6;
    std::vector<int> pitches;
    for (int interval : chord.intervals) {
        int pc = (chord.root + interval) % 12;
        int pitch = centre - 6 + ((pc - (centre - 6)) % 12 + 12) % 12;
        pitches.push_back(pitch);
    }
    return pitches;
}

const Chord& chord_at(const Section& section, int step_in_section, int steps_per_bar) {
    const auto& bar = section.chords[(step_in_section / steps_per_bar) % section.chords.size()];
    const size_t index = static_cast<size_t>(step_in_section % steps_per_bar) * bar.size() / steps_per_bar;
    return bar[index];
}

std::vector<int> pitches_of(const PatternEvent& ev, PatternKind kind, const Chord& chord, const Part& part) {
    switch (kind) {
    case PatternKind::Notes: return {ev.value + part.transpose};
    case PatternKind::Tones: {
        const int n = static_cast<int>(chord.intervals.size());
        const int root = 12 * (part.octave + 1) + chord.root;
        return {root + chord.intervals[ev.value % n] + 12 * (ev.value / n) + 12 * ev.octave_shift + part.transpose};
    }
    case PatternKind::Chord: {
        auto pitches = voiced_chord(chord, part.octave);
        for (int& p : pitches) p += part.transpose;
        return pitches;
    }
    case PatternKind::Hits: return {-1};
    }
    return {};
}

void render_part(const Score& score, const Section& section, const Part& part, int first_bar, Buses& buses,
                 Rng& rng) {
    const Instrument& inst = score.instruments.at(part.instrument);
    const int spb = score.steps_per_bar;
    const double step_sec = score.step_seconds();
    // The part's patterns laid end to end, then repeated to fill its bars.
    std::vector<std::pair<PatternEvent, PatternKind>> events;
    int cycle = 0;
    for (const auto& name : part.patterns) {
        const Pattern& p = score.patterns.at(name);
        for (PatternEvent ev : p.events) {
            ev.step += cycle;
            events.push_back({ev, p.kind});
        }
        cycle += p.steps;
    }
    if (cycle == 0) return;
    const int begin = part.from_bar * spb, end = (part.to_bar + 1) * spb;
    for (int offset = begin; offset < end; offset += cycle) {
        for (const auto& [ev, kind] : events) {
            const int step = offset + ev.step;
            if (step >= end) break;
            const int length = std::min(ev.length, end - step);
            const Chord& chord = chord_at(section, step, spb);
            const auto pitches = pitches_of(ev, kind, chord, part);
            const double velocity = ev.velocity * (1.0 - inst.humanize * rng.uniform());
            const double hold = length * step_sec * inst.gate;
            const size_t start = frames_for((static_cast<double>(first_bar) * spb + step) * step_sec);
            for (int pitch : pitches) {
                VoiceParams v = inst.voice;
                if (pitch >= 0) {
                    const double hz = midi_to_hz(pitch);
                    if (v.freq_to > 0) v.freq_to *= hz / v.freq;
                    v.freq = hz;
                }
                v.level_db += part.level_db - 10.0 * std::log10(static_cast<double>(pitches.size()));
                const Stereo note = render_voice(v, hold, velocity, rng.next());
                add_wrapped(buses.dry, note, start, 1.0f);
                add_wrapped(buses.reverb, note, start, static_cast<float>(inst.reverb_send));
                add_wrapped(buses.echo, note, start, static_cast<float>(inst.echo_send));
            }
        }
    }
}

}  // namespace

size_t loop_frames(const Score& score) {
    return frames_for(static_cast<double>(score.total_bars()) * score.steps_per_bar * score.step_seconds());
}

Stereo render_music(const Score& score) {
    const size_t frames = loop_frames(score);
    Buses buses{Stereo(frames * 2, 0.0f), Stereo(frames * 2, 0.0f), Stereo(frames * 2, 0.0f)};
    Rng rng(0x7175616E64726974ull);
    int bar = 0;
    for (const auto& name : score.song) {
        const Section& section = score.sections.at(name);
        for (const Part& part : section.parts) render_part(score, section, part, bar, buses, rng);
        bar += section.bars;
    }

    Stereo out = std::move(buses.dry);
    // First passes only settle the effects' state (mix 0 adds nothing).
    Echo echo(score.echo_time, score.echo_feedback, score.echo_damp, true);
    echo.process(buses.echo, out, 0.0);
    echo.process(buses.echo, out, 1.0);
    Reverb reverb(score.reverb_size, score.reverb_damp);
    reverb.process(buses.reverb, out, 0.0);
    reverb.process(buses.reverb, out, 1.0);
    remove_dc(out, 2, 2);

    const double peak = peak_of(out);
    if (peak <= 0) throw SourceError("the music is silent");
    const float gain = static_cast<float>(db_to_gain(score.peak_db) / peak);
    for (float& s : out) s *= gain;
    return out;
}

}  // namespace soundgen
