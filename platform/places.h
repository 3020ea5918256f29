// SPDX-License-Identifier: MIT
#pragma once
// Where the game's files live, as the XDG base directories say: the hiscore
// table and the replays in $XDG_DATA_HOME/quandrite (~/.local/share/quandrite),
// settings.ini in $XDG_CONFIG_HOME/quandrite (~/.config/quandrite). A
// variable that is unset, empty or relative is ignored; when HOME is unset or
// empty, the home of the user's passwd entry is used, never the current
// folder. Each is empty when no home can be found at all.
#include <optional>
#include <string>

namespace platform {

std::string dataFolder();
std::string configFolder();
std::string replayFolder();

// While set, the data folder is FOLDER/quandrite whatever the variables say:
// a replay plays into a table of its own. nullopt gives the variables back.
void overrideDataHome(std::optional<std::string> folder);
std::optional<std::string> dataHomeOverride();

}  // namespace platform
