// SPDX-License-Identifier: MIT
#include "game/port/settings.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "platform/file_system.h"
#include "platform/places.h"
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
        << "volume = " << s.volume << "\n";
    return out.str();
}

Settings readSettingsFile(const std::string& path) {
    // A settings file is a few lines; anything longer is not one.
    constexpr size_t kMaxBytes = 64 * 1024;
    std::string bytes;
    if (int error = platform::readFileStart(path, kMaxBytes, bytes); error != 0) {
        if (error != ENOENT)
            std::fprintf(stderr, "quandrite: cannot read %s: %s; playing with the defaults\n", path.c_str(),
                         std::strerror(error));
        return Settings{};
    }
    std::vector<std::string> complaints;
    Settings settings = parseSettings(bytes, complaints);
    for (const std::string& complaint : complaints)
        std::fprintf(stderr, "quandrite: %s %s (ignored)\n", path.c_str(), complaint.c_str());
    return settings;
}

bool writeSettingsFile(const std::string& path, const Settings& settings, std::string& error) {
    // A folder that cannot be made shows up as the save's failure.
    if (size_t slash = path.rfind('/'); slash != std::string::npos && slash > 0)
        platform::makeFolders(path.substr(0, slash));
    std::string failure;
    if (platform::saveFile(path, formatSettings(settings), failure)) return true;
    error = "cannot save the settings to " + failure;
    return false;
}

}  // namespace game
