// SPDX-License-Identifier: MIT
#pragma once
// The line format shared by effect recipes and the music score:
//   keyword word word key=value key=value   # comment
// Every file is read whole, so errors can name the file and line.
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace soundgen {

struct SourceError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Line {
    std::string file;
    int number = 0;
    std::string keyword;
    std::vector<std::string> words;            // bare tokens after the keyword
    std::map<std::string, std::string> pairs;  // key=value tokens

    [[noreturn]] void fail(const std::string& message) const;
    bool has(const std::string& key) const { return pairs.count(key) != 0; }
    double number_or(const std::string& key, double fallback) const;
    std::string text_or(const std::string& key, const std::string& fallback) const;
    // A frequency given in Hz or as a note name such as A4, C#5, Bb2.
    double frequency_or(const std::string& key, double fallback) const;
    // Rejects keys the caller does not know, so typos in sources are caught.
    void allow_only(const std::vector<std::string>& keys) const;
};

std::vector<Line> parse_lines(const std::string& text, const std::string& file);
std::vector<Line> read_source_file(const std::string& path);

double parse_number(const std::string& text, const Line& where);
// MIDI note number of a name like "C#4" (C4 = 60); -1 when the text is no note name.
int note_number(const std::string& text);
double midi_to_hz(double note);

}  // namespace soundgen
