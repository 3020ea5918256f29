// SPDX-License-Identifier: MIT
#pragma once
// Every game played in a window is kept as a replay in
// $XDG_DATA_HOME/quandrite/replays (~/.local/share/quandrite/replays), named
// by the date and time it ended and its score:
// "2026-12-09_05-34-39_score-00500.replay" (a second game in the same second
// gets "-2" after the time). The newest 20 and the best-scoring one are kept.
#include <ctime>
#include <string>
#include <vector>

#include "game/port/demo.h"

namespace game {

constexpr size_t kKeptReplays = 20;

struct ReplayFile {
    std::string path;
    std::string when;  // the date and time of the name, as written
    int sequence = 1;  // 2, 3, ... for later games in the same second
    int score = 0;
};

std::string replaysFolder();
// The game's own replay files in the folder, oldest first.
std::vector<ReplayFile> listReplays(const std::string& folder);
// The best-scoring replay that can be played (the earliest of equal scores),
// read into `demo`; empty when none can. Each better one that cannot be
// played is named in `skipped` with its reason, and `fault` is the reason of
// the best-scoring one when none can be played.
struct BestReplay {
    std::string path;
    Demo demo;
    std::vector<std::string> skipped;
    DemoFault fault = DemoFault::None;
};
BestReplay bestReplay(const std::string& folder);

// Writes the replay under a new name, then removes every replay that is
// neither among the newest kKeptReplays nor the best that can be played, and
// every damaged one. Gives the path, or an empty string with `error` set.
std::string saveReplay(const std::string& folder, const Demo& demo, int score, std::time_t ended, std::string& error);

}  // namespace game
