// SPDX-License-Identifier: MIT
#include "score.h"

#include <stdexcept>

namespace soundgen {
namespace {

// Splits "token:n" into the token and its length in steps (default 1).
std::pair<std::string, int> split_length(const std::string& token, const Line& line) {
    auto colon = token.find(':');
    if (colon == std::string::npos) return {token, 1};
    int length = static_cast<int>(parse_number(token.substr(colon + 1), line));
    if (length < 1) line.fail("length must be at least one step: " + token);
    return {token.substr(0, colon), length};
}

void add_tokens(Pattern& pattern, const Line& line) {
    for (const std::string& raw : line.words) {
        if (raw == "|") continue;  // bar lines are for the reader only
        auto [token, length] = split_length(raw, line);
        if (token == ".") {
            pattern.steps += length;
            continue;
        }
        if (token == "-") {
            if (pattern.events.empty()) line.fail("tie without a note before it");
            pattern.events.back().length += length;
            pattern.steps += length;
            continue;
        }
        PatternEvent event;
        event.step = pattern.steps;
        event.length = length;
        switch (pattern.kind) {
        case PatternKind::Notes:
            event.value = note_number(token);
            if (event.value < 0) line.fail("not a note: " + token);
            break;
        case PatternKind::Tones: {
            size_t digits = 0;
            while (digits < token.size() && token[digits] >= '1' && token[digits] <= '9') ++digits;
            if (digits != 1) line.fail("chord tone must be one digit 1-9: " + token);
            event.value = token[0] - '1';
            for (size_t i = 1; i < token.size(); ++i) {
                if (token[i] == '+') ++event.octave_shift;
                else if (token[i] == '-') --event.octave_shift;
                else if (token[i] == '\'') event.velocity = 0.6;  // a ghost note
                else line.fail("bad chord tone: " + token);
            }
            break;
        }
        case PatternKind::Chord:
        case PatternKind::Hits:
            if (token == "x") event.velocity = 1.0;
            else if (token == "o") event.velocity = 0.55;
            else line.fail("expected x, o, . or -: " + token);
            break;
        }
        pattern.events.push_back(event);
        pattern.steps += length;
    }
}

PatternKind parse_kind(const std::string& word, const Line& line) {
    if (word == "notes") return PatternKind::Notes;
    if (word == "tones") return PatternKind::Tones;
    if (word == "chord") return PatternKind::Chord;
    if (word == "hits") return PatternKind::Hits;
    line.fail("unknown pattern kind '" + word + "'");
}

}  // namespace

Chord parse_chord(const std::string& name) {
    Chord chord;
    std::string quality = name.substr(std::min<size_t>(1, name.size()));
    int note = note_number(name.substr(0, 1) + "4");
    if (note < 0) throw std::invalid_argument("not a chord: " + name);
    if (!quality.empty() && (quality[0] == '#' || quality[0] == 'b')) {
        note += quality[0] == '#' ? 1 : -1;
        quality.erase(0, 1);
    }
    chord.root = ((note % 12) + 12) % 12;
    static const std::map<std::string, std::vector<int>> qualities = {
        {"", {0, 4, 7}},          {"m", {0, 3, 7}},          {"7", {0, 4, 7, 10}},       {"m7", {0, 3, 7, 10}},
        {"maj7", {0, 4, 7, 11}},  {"sus2", {0, 2, 7}},       {"sus4", {0, 5, 7}},        {"add9", {0, 4, 7, 14}},
        {"madd9", {0, 3, 7, 14}}, {"6", {0, 4, 7, 9}},       {"m6", {0, 3, 7, 9}},       {"dim", {0, 3, 6}},
        {"aug", {0, 4, 8}},       {"m9", {0, 3, 7, 10, 14}}, {"maj9", {0, 4, 7, 11, 14}}};
    auto it = qualities.find(quality);
    if (it == qualities.end()) throw std::invalid_argument("unknown chord quality: " + name);
    chord.intervals = it->second;
    return chord;
}

int Score::total_bars() const {
    int bars = 0;
    for (const auto& name : song) bars += sections.at(name).bars;
    return bars;
}

Score parse_score(const std::vector<Line>& lines) {
    Score score;
    Pattern* last_pattern = nullptr;
    Section* section = nullptr;
    for (const Line& line : lines) {
        const std::string& kw = line.keyword;
        if (kw == "tempo") {
            line.allow_only({"bpm", "steps"});
            score.bpm = line.number_or("bpm", score.bpm);
            score.steps_per_bar = static_cast<int>(line.number_or("steps", score.steps_per_bar));
            if (score.bpm < 30 || score.bpm > 300 || score.steps_per_bar < 1) line.fail("tempo out of range");
        } else if (kw == "master") {
            line.allow_only({"peak"});
            score.peak_db = std::min(-1.5, line.number_or("peak", score.peak_db));
        } else if (kw == "reverb") {
            line.allow_only({"size", "damp"});
            score.reverb_size = line.number_or("size", score.reverb_size);
            score.reverb_damp = line.number_or("damp", score.reverb_damp);
        } else if (kw == "echo") {
            line.allow_only({"time", "feedback", "damp"});
            score.echo_time = line.number_or("time", score.echo_time);
            score.echo_feedback = line.number_or("feedback", score.echo_feedback);
            score.echo_damp = line.number_or("damp", score.echo_damp);
        } else if (kw == "instrument") {
            if (line.words.size() != 1) line.fail("instrument needs one name");
            Instrument inst;
            inst.voice = parse_voice(line, VoiceParams{}, {"gate", "reverb", "echo", "humanize"});
            inst.gate = line.number_or("gate", inst.gate);
            inst.reverb_send = line.number_or("reverb", 0);
            inst.echo_send = line.number_or("echo", 0);
            inst.humanize = line.number_or("humanize", 0);
            score.instruments[line.words[0]] = inst;
        } else if (kw == "pattern") {
            if (line.words.size() < 2) line.fail("pattern needs a name and a kind");
            Pattern pattern;
            pattern.kind = parse_kind(line.words[1], line);
            Line rest = line;
            rest.words.erase(rest.words.begin(), rest.words.begin() + 2);
            add_tokens(pattern, rest);
            last_pattern = &(score.patterns[line.words[0]] = pattern);
        } else if (kw == "+") {
            if (!last_pattern) line.fail("continuation without a pattern");
            add_tokens(*last_pattern, line);
        } else if (kw == "section") {
            line.allow_only({"bars"});
            if (line.words.size() != 1) line.fail("section needs one name");
            Section s;
            s.name = line.words[0];
            s.bars = static_cast<int>(line.number_or("bars", 8));
            if (s.bars < 1) line.fail("a section has at least one bar");
            section = &(score.sections[s.name] = s);
            last_pattern = nullptr;
        } else if (kw == "chords") {
            if (!section) line.fail("chords outside a section");
            for (const std::string& word : line.words) {
                std::vector<Chord> bar;
                size_t start = 0;
                while (start <= word.size()) {
                    size_t comma = word.find(',', start);
                    if (comma == std::string::npos) comma = word.size();
                    try {
                        bar.push_back(parse_chord(word.substr(start, comma - start)));
                    } catch (const std::invalid_argument& e) {
                        line.fail(e.what());
                    }
                    start = comma + 1;
                }
                section->chords.push_back(bar);
            }
        } else if (kw == "play") {
            if (!section) line.fail("play outside a section");
            line.allow_only({"from", "to", "octave", "transpose", "level"});
            if (line.words.size() < 2) line.fail("play needs an instrument and patterns");
            Part part;
            part.instrument = line.words[0];
            part.patterns.assign(line.words.begin() + 1, line.words.end());
            part.from_bar = static_cast<int>(line.number_or("from", 1)) - 1;
            part.to_bar = static_cast<int>(line.number_or("to", section->bars)) - 1;
            part.octave = static_cast<int>(line.number_or("octave", 4));
            part.transpose = static_cast<int>(line.number_or("transpose", 0));
            part.level_db = line.number_or("level", 0);
            part.line = line.number;
            if (part.from_bar < 0 || part.to_bar >= section->bars || part.from_bar > part.to_bar)
                line.fail("bar range outside the section");
            if (!score.instruments.count(part.instrument)) line.fail("unknown instrument " + part.instrument);
            for (const auto& p : part.patterns)
                if (!score.patterns.count(p)) line.fail("unknown pattern " + p);
            section->parts.push_back(part);
        } else if (kw == "song") {
            for (const auto& name : line.words) {
                if (!score.sections.count(name)) line.fail("unknown section " + name);
                score.song.push_back(name);
            }
        } else {
            line.fail("unknown keyword '" + kw + "'");
        }
    }
    if (score.song.empty()) throw SourceError("score without a song line");
    for (const auto& [name, s] : score.sections)
        if (s.chords.empty()) throw SourceError("section " + name + " has no chords");
    return score;
}

}  // namespace soundgen
