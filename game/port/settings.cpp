// SPDX-License-Identifier: MIT
#include "game/port/settings.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

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
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::filesystem::path base;
    if (config && config[0] == '/') {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        base = std::filesystem::path(home && home[0] ? home : ".") / ".config";
    }
    return (base / "quandrite" / "settings.ini").string();
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
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (errno != ENOENT)
            std::fprintf(stderr, "quandrite: cannot read %s: %s; playing with the defaults\n", path.c_str(),
                         std::strerror(errno));
        return Settings{};
    }
    // A settings file is a few lines; anything longer is not one.
    constexpr std::streamsize kMaxBytes = 64 * 1024;
    std::string bytes(kMaxBytes, '\0');
    in.read(bytes.data(), kMaxBytes);
    bytes.resize(static_cast<size_t>(in.gcount()));
    std::vector<std::string> complaints;
    Settings settings = parseSettings(bytes, complaints);
    for (const std::string& complaint : complaints)
        std::fprintf(stderr, "quandrite: %s %s (ignored)\n", path.c_str(), complaint.c_str());
    return settings;
}

bool writeSettingsFile(const std::string& path, const Settings& settings, std::string& error) {
    std::filesystem::path target(path);
    std::error_code ec;
    std::filesystem::create_directories(target.parent_path(), ec);
    std::string temporary = path + ".saving-" + std::to_string(getpid());
    std::string bytes = formatSettings(settings);
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    bool ok = fd >= 0;
    if (ok) ok = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) && ::fsync(fd) == 0;
    int saved = errno;
    if (fd >= 0 && ::close(fd) != 0 && ok) ok = false, saved = errno;
    if (ok && std::rename(temporary.c_str(), path.c_str()) != 0) ok = false, saved = errno;
    if (!ok) {
        if (fd >= 0) ::unlink(temporary.c_str());
        error = "cannot save the settings to " + path + ": " + std::strerror(saved);
    }
    return ok;
}

}  // namespace game
