// SPDX-License-Identifier: MIT
// libFuzzer target: the settings reader on any bytes, and the save that puts
// a run's changed values into a settings file.
//
// The input is read whole as a settings file. It is also cut at NUL bytes
// into FILE, BEFORE and CHANGES: the run started with the values of the
// lines BEFORE and changed those that the lines CHANGES set. Putting them
// into FILE must give a text that reads back to the new values of the keys
// that changed and to FILE's values of the others, and that keeps every line
// of FILE but those of a changed key, in their order.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

#include "game/port/settings.h"

namespace {

using game::Settings;

[[noreturn]] void fail(const std::string& why) {
    std::fprintf(stderr, "fuzz_settings_reader: %s\n", why.c_str());
    std::abort();
}

bool isOneOf(const std::string& value, std::initializer_list<const char*> choices) {
    for (const char* choice : choices)
        if (value == choice) return true;
    return false;
}

void checkInRange(const Settings& s, const char* what) {
    if (!isOneOf(s.scale, {"stretch", "aspect", "integer"})) fail(std::string(what) + ": scale " + s.scale);
    if (!isOneOf(s.renderer, {"auto", "software", "gpu"})) fail(std::string(what) + ": renderer " + s.renderer);
    if (!isOneOf(s.filter, {"auto", "sharp", "smooth"})) fail(std::string(what) + ": filter " + s.filter);
    for (int side : {s.width, s.height})
        if (side < game::kMinWindowSide || side > game::kMaxWindowSide)
            fail(std::string(what) + ": a window side of " + std::to_string(side));
    if (s.volume < 0 || s.volume > 100) fail(std::string(what) + ": volume " + std::to_string(s.volume));
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t end; (end = text.find(separator, start)) != std::string::npos; start = end + 1)
        parts.push_back(text.substr(start, end - start));
    parts.push_back(text.substr(start));
    return parts;
}

// The file's lines; a last line without its newline is a line too.
std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> all = split(text, '\n');
    if (all.back().empty()) all.pop_back();
    return all;
}

// The key a line sets as the reader sees it, or empty.
std::string keyOf(const std::string& line) {
    std::string content = line.substr(0, line.find_first_of("#;"));
    size_t equals = content.find('=');
    if (equals == std::string::npos) return "";
    std::string key = content.substr(0, equals);
    size_t first = key.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    key = key.substr(first, key.find_last_not_of(" \t\r") - first + 1);
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
}

struct Key {
    const char* name;
    bool (*same)(const Settings&, const Settings&);
};

// clang-format off
const Key kKeys[] = {
    {"sound", [](const Settings& a, const Settings& b) { return a.sound == b.sound; }},
    {"fullscreen", [](const Settings& a, const Settings& b) { return a.fullscreen == b.fullscreen; }},
    {"scale", [](const Settings& a, const Settings& b) { return a.scale == b.scale; }},
    {"size", [](const Settings& a, const Settings& b) { return a.width == b.width && a.height == b.height; }},
    {"renderer", [](const Settings& a, const Settings& b) { return a.renderer == b.renderer; }},
    {"volume", [](const Settings& a, const Settings& b) { return a.volume == b.volume; }},
    {"filter", [](const Settings& a, const Settings& b) { return a.filter == b.filter; }},
    {"hints", [](const Settings& a, const Settings& b) { return a.hints == b.hints; }},
};
// clang-format on

bool changedKey(const std::string& key, const Settings& before, const Settings& after) {
    for (const Key& k : kKeys)
        if (key == k.name) return !k.same(before, after);
    return false;
}

void checkUpdate(const std::string& file, const Settings& before, const Settings& after) {
    std::string updated = game::updateSettingsText(file, before, after);
    std::vector<std::string> complaints;
    Settings read = game::parseSettings(updated, complaints);
    Settings kept = game::parseSettings(file, complaints);
    for (const Key& k : kKeys) {
        bool changed = !k.same(before, after);
        if (!k.same(read, changed ? after : kept))
            fail(std::string("the saved file reads another ") + k.name +
                 (changed ? " than the run set" : " than it had"));
    }
    std::vector<std::string> was = lines(file), now = lines(updated);
    if (now.size() < was.size()) fail("the save lost lines");
    for (size_t i = 0; i < was.size(); ++i)
        if (now[i] != was[i] && (!changedKey(keyOf(was[i]), before, after) || keyOf(now[i]) != keyOf(was[i])))
            fail("the save changed line " + std::to_string(i + 1) + " \"" + was[i] + "\" to \"" + now[i] + "\"");
    std::vector<std::string> added;
    for (size_t i = was.size(); i < now.size(); ++i) {
        std::string key = keyOf(now[i]);
        if (!changedKey(key, before, after)) fail("the save added the line \"" + now[i] + "\"");
        for (const std::string& line : was)
            if (keyOf(line) == key) fail("the save added " + key + ", which the file had");
        for (const std::string& other : added)
            if (other == key) fail("the save added " + key + " twice");
        added.push_back(key);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> complaints;
    checkInRange(game::parseSettings(input, complaints), "the file");

    std::vector<std::string> parts = split(input, '\0');
    parts.resize(std::max<size_t>(parts.size(), 3));
    Settings before = game::parseSettings(parts[1], complaints);
    Settings after = game::parseSettings(game::formatSettings(before) + parts[2], complaints);
    checkInRange(before, "the values the run started with");
    checkInRange(after, "the values the run changed");
    checkUpdate(parts[0], before, after);
    return 0;
}
