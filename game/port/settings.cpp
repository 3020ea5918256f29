// SPDX-License-Identifier: MIT
#include "game/port/settings.h"

#include <cctype>
#include <cstdio>
#include <sstream>

#include "platform/file_lock.h"
#include "platform/file_system.h"
#include "platform/places.h"
#include "platform/private_folders.h"
#include "platform/safe_file.h"

namespace game {

namespace {

std::string trim(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool parseSwitch(const std::string& value, bool& out) {
    if (value == "on" || value == "yes" || value == "true" || value == "1") return out = true, true;
    if (value == "off" || value == "no" || value == "false" || value == "0") return out = false, true;
    return false;
}

bool parseNumber(const std::string& value, int low, int high, int& out) {
    if (value.empty() || value.size() > 6 || value.find_first_not_of("0123456789") != std::string::npos) return false;
    int number = std::stoi(value);
    if (number < low || number > high) return false;
    out = number;
    return true;
}

bool parseSize(const std::string& value, int& width, int& height) {
    size_t x = value.find('x');
    int w = 0, h = 0;
    if (x == std::string::npos || !parseNumber(value.substr(0, x), kMinWindowSide, kMaxWindowSide, w) ||
        !parseNumber(value.substr(x + 1), kMinWindowSide, kMaxWindowSide, h))
        return false;
    width = w;
    height = h;
    return true;
}

bool oneOf(const std::string& value, std::initializer_list<const char*> choices, std::string& out) {
    for (const char* choice : choices)
        if (value == choice) return out = value, true;
    return false;
}

// Empty when the line was taken, else why not.
std::string applyLine(const std::string& key, const std::string& value, Settings& s) {
    if (key == "sound") return parseSwitch(value, s.sound) ? "" : "sound is on or off";
    if (key == "fullscreen") return parseSwitch(value, s.fullscreen) ? "" : "fullscreen is on or off";
    if (key == "scale")
        return oneOf(value, {"stretch", "aspect", "integer"}, s.scale) ? "" : "scale is stretch, aspect or integer";
    if (key == "renderer")
        return oneOf(value, {"auto", "software", "gpu"}, s.renderer) ? "" : "renderer is auto, software or gpu";
    if (key == "filter")
        return oneOf(value, {"auto", "sharp", "smooth"}, s.filter) ? "" : "filter is auto, sharp or smooth";
    if (key == "hints") return parseSwitch(value, s.hints) ? "" : "hints is on or off";
    if (key == "volume") return parseNumber(value, 0, 100, s.volume) ? "" : "volume is a number from 0 to 100";
    if (key == "size")
        return parseSize(value, s.width, s.height)
                   ? ""
                   : "size is WIDTHxHEIGHT, each from " + std::to_string(kMinWindowSide) + " to " +
                         std::to_string(kMaxWindowSide);
    return "unknown setting \"" + key + "\"";
}

}  // namespace

std::string settingsPath() {
    std::string folder = platform::configFolder();
    return folder.empty() ? "" : folder + "/settings.ini";
}

Settings parseSettings(const std::string& text, std::vector<std::string>& complaints) {
    Settings settings;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        std::string content = trim(line.substr(0, line.find_first_of("#;")));
        if (content.empty()) continue;
        size_t equals = content.find('=');
        std::string why = equals == std::string::npos ? "expected \"key = value\""
                                                      : applyLine(lower(trim(content.substr(0, equals))),
                                                                  lower(trim(content.substr(equals + 1))), settings);
        if (!why.empty()) complaints.push_back("line " + std::to_string(number) + ": " + why + ": " + trim(line));
    }
    return settings;
}

std::string formatSettings(const Settings& s) {
    std::ostringstream out;
    out << "# Quandrite's settings, written by the game; see quandrite(6).\n"
        << "sound = " << (s.sound ? "on" : "off") << "\n"
        << "fullscreen = " << (s.fullscreen ? "on" : "off") << "\n"
        << "scale = " << s.scale << "\n"
        << "size = " << s.width << "x" << s.height << "\n"
        << "renderer = " << s.renderer << "\n"
        << "volume = " << s.volume << "\n"
        << "filter = " << s.filter << "\n"
        << "hints = " << (s.hints ? "on" : "off") << "\n";
    return out.str();
}

namespace {

// Longer than any save takes; a window stuck for longer does not stop ours.
constexpr int kSettingsHoldTimeoutMs = 5000;

// Each key whose value differs, with the value as the file writes it.
std::vector<std::pair<std::string, std::string>> changedValues(const Settings& before, const Settings& after) {
    std::vector<std::pair<std::string, std::string>> changed;
    auto onOff = [](bool on) { return std::string(on ? "on" : "off"); };
    if (before.sound != after.sound) changed.emplace_back("sound", onOff(after.sound));
    if (before.fullscreen != after.fullscreen) changed.emplace_back("fullscreen", onOff(after.fullscreen));
    if (before.scale != after.scale) changed.emplace_back("scale", after.scale);
    if (before.width != after.width || before.height != after.height)
        changed.emplace_back("size", std::to_string(after.width) + "x" + std::to_string(after.height));
    if (before.renderer != after.renderer) changed.emplace_back("renderer", after.renderer);
    if (before.volume != after.volume) changed.emplace_back("volume", std::to_string(after.volume));
    if (before.filter != after.filter) changed.emplace_back("filter", after.filter);
    if (before.hints != after.hints) changed.emplace_back("hints", onOff(after.hints));
    return changed;
}

// Why the file at `path` cannot be taken as settings, or empty; a missing
// file is empty text.
std::string readSettingsText(const std::string& path, std::string& text) {
    platform::FileRead read = platform::readRegularFile(path, kMaxSettingsBytes, text);
    switch (read.outcome) {
    case platform::FileRead::Read:
    case platform::FileRead::Missing: return "";
    case platform::FileRead::NotRegular: return path + " is not a regular file";
    case platform::FileRead::TooLarge:
        return path + " is longer than " + std::to_string(kMaxSettingsBytes / 1024) + " KiB, too long for settings";
    case platform::FileRead::CannotOpen:
    case platform::FileRead::CannotRead: return "cannot read " + path + ": " + read.reason;
    }
    return "";
}

}  // namespace

std::string updateSettingsText(const std::string& text, const Settings& before, const Settings& after) {
    std::vector<std::pair<std::string, std::string>> changed = changedValues(before, after);
    std::vector<bool> placed(changed.size(), false);
    std::string out;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? text.size() : end + 1;
        size_t comment = line.find_first_of("#;");
        std::string content = line.substr(0, comment);
        size_t equals = content.find('=');
        if (equals != std::string::npos) {
            std::string key = lower(trim(content.substr(0, equals)));
            for (size_t k = 0; k < changed.size(); ++k)
                if (changed[k].first == key) {
                    std::string kept = comment == std::string::npos ? std::string() : line.substr(comment);
                    line = changed[k].first;
                    line.append(" = ").append(changed[k].second);
                    if (!kept.empty()) line.append(" ").append(kept);
                    placed[k] = true;
                }
        }
        out += line + "\n";
    }
    for (size_t k = 0; k < changed.size(); ++k)
        if (!placed[k]) out += changed[k].first + " = " + changed[k].second + "\n";
    return out;
}

Settings readSettingsFile(const std::string& path) {
    std::string bytes;
    if (std::string why = readSettingsText(path, bytes); !why.empty()) {
        std::fprintf(stderr, "quandrite: %s; playing with the defaults\n", why.c_str());
        return Settings{};
    }
    std::vector<std::string> complaints;
    Settings settings = parseSettings(bytes, complaints);
    for (const std::string& complaint : complaints)
        std::fprintf(stderr, "quandrite: %s %s (ignored)\n", path.c_str(), complaint.c_str());
    return settings;
}

bool writeSettingsFile(const std::string& path, const Settings& before, const Settings& after, std::string& error) {
    // A folder that cannot be made shows up as the save's failure.
    if (size_t slash = path.rfind('/'); slash != std::string::npos && slash > 0)
        platform::makeUserFolders(path.substr(0, slash));
    // Another window of the game reads and saves it only after this one.
    platform::FileLock lock;
    if (!lock.acquire(path, kSettingsHoldTimeoutMs))
        std::fprintf(stderr, "quandrite: saving the settings without holding the file: %s\n", lock.failure().c_str());
    std::string text;
    if (std::string why = readSettingsText(path, text); !why.empty()) {
        error = "the settings were not saved: " + why;
        return false;
    }
    // A new file lists every setting, for the player to find.
    if (text.empty()) text = formatSettings(Settings{});
    std::string updated = updateSettingsText(text, before, after);
    if (updated == text) return true;
    std::string failure;
    if (platform::saveFile(path, updated, failure)) return true;
    error = "cannot save the settings to " + failure;
    return false;
}

}  // namespace game
