// SPDX-License-Identifier: MIT
#include "music.h"

#include <algorithm>
#include <cmath>
#include <thread>

#include "effect.h"

namespace soundgen {
namespace {

struct Buses {
    Stereo dry;
    Mono reverb, echo;  // sends
};

// Adds a note to a bus; whatever runs past the loop's end continues at its start.
void add_wrapped(Stereo& bus, const Stereo& note, size_t start_frame) {
    size_t at = (start_frame * 2) % bus.size();
    for (float s : note) {
        bus[at] += s;
        if (++at == bus.size()) at = 0;
    }
}

void add_wrapped_send(Mono& bus, const Stereo& note, size_t start_frame, float gain) {
    if (gain == 0.0f) return;
    size_t at = start_frame % bus.size();
    for (size_t i = 0; i + 1 < note.size(); i += 2) {
        bus[at] += 0.5f * gain * (note[i] + note[i + 1]);
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

void render_part(const Score& score, const Section& section, const Part& part, int first_bar, Buses& buses, Rng& rng) {
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
    Stereo note;
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
                render_voice_into(note, v, hold, velocity, rng.next());
                add_wrapped(buses.dry, note, start);
                add_wrapped_send(buses.reverb, note, start, static_cast<float>(inst.reverb_send));
                add_wrapped_send(buses.echo, note, start, static_cast<float>(inst.echo_send));
            }
        }
    }
}

}  // namespace

size_t loop_frames(const Score& score) {
    return frames_for(static_cast<double>(score.total_bars()) * score.steps_per_bar * score.step_seconds());
}

Stereo mix_music(const Score& score) {
    const size_t frames = loop_frames(score);
    struct Job {
        const Section* section;
        const Part* part;
        int first_bar;
    };
    std::vector<Job> jobs;
    int bar = 0;
    for (const auto& name : score.song) {
        const Section& section = score.sections.at(name);
        for (const Part& part : section.parts) jobs.push_back({&section, &part, bar});
        bar += section.bars;
    }
    // Two workers take alternate jobs into buses of their own; every job has its own seed,
    // so the result does not depend on timing.
    constexpr int kWorkers = 2;
    std::vector<Buses> buses(kWorkers);
    auto work = [&](int worker) {
        Buses& b = buses[worker];
        b = {Stereo(frames * 2, 0.0f), Mono(frames, 0.0f), Mono(frames, 0.0f)};
        for (size_t j = worker; j < jobs.size(); j += kWorkers) {
            Rng rng(0x7175616E64726974ull + j * 0x9E3779B97F4A7C15ull);
            render_part(score, *jobs[j].section, *jobs[j].part, jobs[j].first_bar, b, rng);
        }
    };
    std::thread helper(work, 1);
    work(0);
    helper.join();
    for (int w = 1; w < kWorkers; ++w) {
        for (size_t i = 0; i < frames * 2; ++i) buses[0].dry[i] += buses[w].dry[i];
        for (size_t i = 0; i < frames; ++i) {
            buses[0].reverb[i] += buses[w].reverb[i];
            buses[0].echo[i] += buses[w].echo[i];
        }
        buses[w] = Buses{};
    }

    Stereo out = std::move(buses[0].dry);
    // The effects first run over the loop's last seconds without output, so at the start
    // they carry the tails of the end; both have died away well within that time.
    const size_t warm = std::min(frames, frames_for(12.0));
    Echo echo(score.echo_time, score.echo_feedback, score.echo_damp, true);
    echo.process(buses[0].echo.data() + frames - warm, nullptr, warm, 0.0);
    echo.process(buses[0].echo.data(), out.data(), frames, 1.0);
    Reverb reverb(score.reverb_size, score.reverb_damp);
    reverb.process(buses[0].reverb.data() + frames - warm, nullptr, warm, 0.0);
    reverb.process(buses[0].reverb.data(), out.data(), frames, 1.0);
    remove_dc(out, 2, 2);
    return out;
}

Stereo render_music(const Score& score) {
    Stereo out = mix_music(score);
    const double peak = peak_of(out);
    if (peak <= 0) throw SourceError("the music is silent");
    const float gain = static_cast<float>(db_to_gain(score.peak_db) / peak);
    for (float& s : out) s *= gain;
    return out;
}

}  // namespace soundgen
