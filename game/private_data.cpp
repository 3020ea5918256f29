#include "game/private_data.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace game {

PrivateDataFolder::PrivateDataFolder() {
    if (const char* before = std::getenv("XDG_DATA_HOME")) previous_ = before;
    std::string pattern = (std::filesystem::temp_directory_path() / "quandrite-demo-XXXXXX").string();
    if (mkdtemp(pattern.data())) {
        path_ = pattern;
        setenv("XDG_DATA_HOME", path_.c_str(), 1);
    }
}

PrivateDataFolder::~PrivateDataFolder() {
    if (path_.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
    if (previous_)
        setenv("XDG_DATA_HOME", previous_->c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
}

}  // namespace game
