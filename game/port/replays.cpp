// SPDX-License-Identifier: MIT
#include "game/port/replays.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>

namespace game {

namespace fs = std::filesystem;

namespace {
const std::regex kName(R"((\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d)(?:-(\d{1,4}))?_score-(\d{5})\.replay)");

bool older(const ReplayFile& a, const ReplayFile& b) {
    return a.when != b.when ? a.when < b.when : a.sequence < b.sequence;
}

std::string nameOf(const std::string& when, int sequence, int score) {
    char text[64];
    if (sequence > 1) std::snprintf(text, sizeof text, "%s-%d_score-%05d.replay", when.c_str(), sequence, score);
    else std::snprintf(text, sizeof text, "%s_score-%05d.replay", when.c_str(), score);
    return text;
}

const ReplayFile* best(const std::vector<ReplayFile>& replays) {
    const ReplayFile* found = nullptr;
    for (const ReplayFile& replay : replays)
        if (!found || replay.score > found->score) found = &replay;
    return found;
}
}  // namespace

std::string replaysFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    fs::path base;
    if (data && data[0] == '/') {
        base = data;
    } else {
        const char* home = std::getenv("HOME");
        base = fs::path(home && home[0] ? home : ".") / ".local" / "share";
    }
    return (base / "quandrite" / "replays").string();
}

std::vector<ReplayFile> listReplays(const std::string& folder) {
    std::vector<ReplayFile> replays;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        std::smatch match;
        std::string name = entry.path().filename().string();
        if (!entry.is_regular_file(ec) || !std::regex_match(name, match, kName)) continue;
        replays.push_back({entry.path().string(), match[1].str(), match[2].matched ? std::stoi(match[2].str()) : 1,
                           std::stoi(match[3].str())});
    }
    std::sort(replays.begin(), replays.end(), older);
    return replays;
}

std::string bestReplay(const std::string& folder) {
    std::vector<ReplayFile> replays = listReplays(folder);
    const ReplayFile* found = best(replays);
    return found ? found->path : "";
}

std::string saveReplay(const std::string& folder, const Demo& demo, int score, std::time_t ended, std::string& error) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    char when[32];
    std::tm local{};
    localtime_r(&ended, &local);
    std::strftime(when, sizeof when, "%Y-%m-%d_%H-%M-%S", &local);
    score = std::clamp(score, 0, 99999);
    std::vector<ReplayFile> replays = listReplays(folder);
    int sequence = 1;
    for (const ReplayFile& replay : replays)
        if (replay.when == when) sequence = std::max(sequence, replay.sequence + 1);
    std::string path = (fs::path(folder) / nameOf(when, sequence, score)).string();
    if (!writeDemoFile(path, demo, error)) {
        fs::remove(path, ec);
        return "";
    }
    replays = listReplays(folder);
    const ReplayFile* keep = best(replays);
    std::string bestPath = keep ? keep->path : "";
    for (size_t i = 0; i + kKeptReplays < replays.size(); ++i)
        if (replays[i].path != bestPath) fs::remove(replays[i].path, ec);
    return path;
}

}  // namespace game
