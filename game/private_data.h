#pragma once
// A data folder of its own for a replay, so that it starts from the table it
// was recorded with and never touches the player's hiscore file. While it
// lives, XDG_DATA_HOME points into it; afterwards it is removed and the
// variable is as it was.
#include <optional>
#include <string>

namespace game {

class PrivateDataFolder {
public:
    PrivateDataFolder();
    ~PrivateDataFolder();
    PrivateDataFolder(const PrivateDataFolder&) = delete;
    PrivateDataFolder& operator=(const PrivateDataFolder&) = delete;

private:
    std::string path_;
    std::optional<std::string> previous_;
};

}  // namespace game
