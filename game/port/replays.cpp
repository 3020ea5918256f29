// SPDX-License-Identifier: MIT
#include "game/port/replays.h"

#include <algorithm>
#include <cstdio>
#include <regex>

#include "platform/file_system.h"
#include "platform/local_time.h"
#include "platform/places.h"
#include "platform/private_folders.h"

namespace game {

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

// Best score first, the earliest of equal scores first.
std::vector<ReplayFile> byScore(std::vector<ReplayFile> replays) {
    std::stable_sort(replays.begin(), replays.end(),
                     [](const ReplayFile& a, const ReplayFile& b) { return a.score > b.score; });
    return replays;
}
}  // namespace

std::string replaysFolder() { return platform::replayFolder(); }

std::vector<ReplayFile> listReplays(const std::string& folder) {
    std::vector<ReplayFile> replays;
    for (const std::string& name : platform::regularFilesIn(folder)) {
        std::smatch match;
        if (!std::regex_match(name, match, kName)) continue;
        replays.push_back({folder + "/" + name, match[1].str(), match[2].matched ? std::stoi(match[2].str()) : 1,
                           std::stoi(match[3].str())});
    }
    std::sort(replays.begin(), replays.end(), older);
    return replays;
}

BestReplay bestReplay(const std::string& folder) {
    BestReplay best;
    for (const ReplayFile& replay : byScore(listReplays(folder))) {
        std::string error;
        DemoFault fault = DemoFault::None;
        if (readDemoFile(replay.path, best.demo, error, &fault)) {
            best.path = replay.path;
            best.fault = DemoFault::None;
            return best;
        }
        if (best.skipped.empty()) best.fault = fault;
        best.skipped.push_back(error);
    }
    return best;
}

std::string saveReplay(const std::string& folder, const Demo& demo, int score, std::time_t ended, std::string& error) {
    platform::makeUserFolders(folder);
    std::string when = platform::localTime(ended, "%Y-%m-%d_%H-%M-%S");
    score = std::clamp(score, 0, 99999);
    std::vector<ReplayFile> replays = listReplays(folder);
    int sequence = 1;
    for (const ReplayFile& replay : replays)
        if (replay.when == when) sequence = std::max(sequence, replay.sequence + 1);
    std::string path = folder + "/" + nameOf(when, sequence, score);
    if (!writeDemoFile(path, demo, error)) return "";
    // A damaged replay (cut short by a crash, or broken on the disk) never
    // plays again; one of another version may, with that version.
    replays = listReplays(folder);
    std::vector<std::string> damaged;
    std::string bestPath;
    for (const ReplayFile& replay : byScore(replays)) {
        Demo read;
        std::string why;
        DemoFault fault = DemoFault::None;
        if (readDemoFile(replay.path, read, why, &fault) && bestPath.empty()) bestPath = replay.path;
        if (fault == DemoFault::Damaged) damaged.push_back(replay.path);
    }
    for (const std::string& broken : damaged) platform::removeFile(broken);
    std::erase_if(replays, [&](const ReplayFile& replay) {
        return std::find(damaged.begin(), damaged.end(), replay.path) != damaged.end();
    });
    for (size_t i = 0; i + kKeptReplays < replays.size(); ++i)
        if (replays[i].path != bestPath) platform::removeFile(replays[i].path);
    return path;
}

}  // namespace game
