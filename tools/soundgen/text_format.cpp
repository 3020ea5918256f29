// SPDX-License-Identifier: MIT
#include "text_format.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace soundgen {

void Line::fail(const std::string& message) const {
    throw SourceError(file + ":" + std::to_string(number) + ": " + message);
}

double Line::number_or(const std::string& key, double fallback) const {
    auto it = pairs.find(key);
    return it == pairs.end() ? fallback : parse_number(it->second, *this);
}

std::string Line::text_or(const std::string& key, const std::string& fallback) const {
    auto it = pairs.find(key);
    return it == pairs.end() ? fallback : it->second;
}

double Line::frequency_or(const std::string& key, double fallback) const {
    auto it = pairs.find(key);
    if (it == pairs.end()) return fallback;
    int note = note_number(it->second);
    return note >= 0 ? midi_to_hz(note) : parse_number(it->second, *this);
}

void Line::allow_only(const std::vector<std::string>& keys) const {
    for (const auto& [key, value] : pairs) {
        bool known = false;
        for (const auto& k : keys) known = known || k == key;
        if (!known) fail("unknown setting '" + key + "' for '" + keyword + "'");
    }
}

std::vector<Line> parse_lines(const std::string& text, const std::string& file) {
    std::vector<Line> lines;
    std::istringstream in(text);
    std::string raw;
    int number = 0;
    while (std::getline(in, raw)) {
        ++number;
        // A comment starts with '#' at the start of a word, so sharps like C#5 stay intact.
        for (size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '#' && (i == 0 || raw[i - 1] == ' ' || raw[i - 1] == '\t')) {
                raw.erase(i);
                break;
            }
        }
        std::istringstream tokens(raw);
        std::string token;
        Line line;
        line.file = file;
        line.number = number;
        while (tokens >> token) {
            if (line.keyword.empty()) {
                line.keyword = token;
            } else if (auto eq = token.find('='); eq != std::string::npos && eq > 0) {
                line.pairs[token.substr(0, eq)] = token.substr(eq + 1);
            } else {
                line.words.push_back(token);
            }
        }
        if (!line.keyword.empty()) lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<Line> read_source_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw SourceError("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return parse_lines(text.str(), path);
}

double parse_number(const std::string& text, const Line& where) {
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(value)) where.fail("not a number: '" + text + "'");
    return value;
}

int note_number(const std::string& text) {
    static const int semitone[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (text.size() < 2 || text[0] < 'A' || text[0] > 'G') return -1;
    int note = semitone[text[0] - 'A'];
    size_t pos = 1;
    if (text[pos] == '#') {
        ++note;
        ++pos;
    } else if (text[pos] == 'b') {
        --note;
        ++pos;
    }
    if (pos >= text.size()) return -1;
    int octave = 0;
    bool negative = text[pos] == '-';
    if (negative) ++pos;
    if (pos >= text.size()) return -1;
    for (; pos < text.size(); ++pos) {
        if (text[pos] < '0' || text[pos] > '9') return -1;
        octave = octave * 10 + (text[pos] - '0');
    }
    int midi = (negative ? -octave : octave) * 12 + 12 + note;
    return midi >= 0 && midi < 128 ? midi : -1;
}

double midi_to_hz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

}  // namespace soundgen
