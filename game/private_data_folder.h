#pragma once
// Replays always start from the default hiscore table and never touch the
// player's own file, so they replay the same on every machine: they run with
// XDG_DATA_HOME pointing at a private folder in $TMPDIR, removed afterwards.
#include <string>

namespace game {

class PrivateDataFolder {
public:
    PrivateDataFolder();
    ~PrivateDataFolder();
    PrivateDataFolder(const PrivateDataFolder&) = delete;
    PrivateDataFolder& operator=(const PrivateDataFolder&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Removes the private folders that replays of ours left behind when they
// were killed: those of processes that no longer run.
void removeStalePrivateDataFolders();

}  // namespace game
