// SPDX-License-Identifier: MIT
// Where the game's files live: the XDG variables when they are absolute,
// the home folder otherwise (the passwd entry's when HOME is unset), never
// the current folder, and the data folder a replay borrows.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/places.h"
#include "test_support.h"

namespace {

// Sets (or with nullptr unsets) an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_) setenv(name_, old_->c_str(), 1);
        else unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(Places, AbsoluteXdgVariablesNameTheFolders) {
    ScopedEnv data("XDG_DATA_HOME", "/srv/data");
    ScopedEnv config("XDG_CONFIG_HOME", "/srv/config");
    ScopedEnv home("HOME", "/home/player");
    EXPECT_EQ(platform::dataFolder(), "/srv/data/quandrite");
    EXPECT_EQ(platform::replayFolder(), "/srv/data/quandrite/replays");
    EXPECT_EQ(platform::configFolder(), "/srv/config/quandrite");
}

TEST(Places, UnsetEmptyOrRelativeXdgVariablesGiveTheHomeFolders) {
    ScopedEnv home("HOME", "/home/player");
    for (const char* unusable : {static_cast<const char*>(nullptr), "", "relative/folder", "./here"}) {
        SCOPED_TRACE(unusable ? unusable : "unset");
        ScopedEnv data("XDG_DATA_HOME", unusable);
        ScopedEnv config("XDG_CONFIG_HOME", unusable);
        EXPECT_EQ(platform::dataFolder(), "/home/player/.local/share/quandrite");
        EXPECT_EQ(platform::replayFolder(), "/home/player/.local/share/quandrite/replays");
        EXPECT_EQ(platform::configFolder(), "/home/player/.config/quandrite");
    }
}

TEST(Places, WithoutHomeThePasswdHomeIsUsedNeverTheCurrentFolder) {
    const passwd* user = getpwuid(getuid());
    ASSERT_NE(user, nullptr) << "the test needs a passwd entry for its user";
    const std::string passwdHome = user->pw_dir;
    ASSERT_FALSE(passwdHome.empty());
    testing_support::ScratchDir elsewhere;
    std::string before = std::filesystem::current_path().string();
    ASSERT_EQ(chdir(elsewhere.path().c_str()), 0);
    ScopedEnv data("XDG_DATA_HOME", nullptr);
    ScopedEnv config("XDG_CONFIG_HOME", nullptr);
    for (const char* noHome : {static_cast<const char*>(nullptr), ""}) {
        SCOPED_TRACE(noHome ? "HOME empty" : "HOME unset");
        ScopedEnv home("HOME", noHome);
        EXPECT_EQ(platform::dataFolder(), passwdHome + "/.local/share/quandrite");
        EXPECT_EQ(platform::replayFolder(), passwdHome + "/.local/share/quandrite/replays");
        EXPECT_EQ(platform::configFolder(), passwdHome + "/.config/quandrite");
    }
    ASSERT_EQ(chdir(before.c_str()), 0);
}

TEST(Places, AUserWithNoHomeAtAllHasNoFoldersRatherThanTheCurrentOne) {
    // A user id no passwd entry names; only root can become one.
    constexpr uid_t kUnknown = 54321;
    if (geteuid() != 0 || getpwuid(kUnknown) != nullptr) GTEST_SKIP() << "needs root and a free user id";
    int result = testing_support::exitCodeAsUser(kUnknown, [] {
        unsetenv("HOME");
        unsetenv("XDG_DATA_HOME");
        setenv("XDG_CONFIG_HOME", "relative", 1);
        if (!platform::dataFolder().empty()) return 1;
        if (!platform::replayFolder().empty()) return 2;
        if (!platform::configFolder().empty()) return 3;
        return 0;
    });
    EXPECT_EQ(result, 0) << "1: a data folder, 2: a replay folder, 3: a config folder";
}

TEST(Places, AnOverriddenDataHomeHoldsTheTableAndReplaysUntilGivenBack) {
    ScopedEnv data("XDG_DATA_HOME", "/srv/data");
    ScopedEnv config("XDG_CONFIG_HOME", "/srv/config");
    ASSERT_EQ(platform::dataHomeOverride(), std::nullopt);
    platform::overrideDataHome("/tmp/replay-1");
    EXPECT_EQ(platform::dataFolder(), "/tmp/replay-1/quandrite");
    EXPECT_EQ(platform::replayFolder(), "/tmp/replay-1/quandrite/replays");
    EXPECT_EQ(platform::configFolder(), "/srv/config/quandrite") << "the settings are the player's own";
    EXPECT_EQ(platform::dataHomeOverride(), "/tmp/replay-1");
    platform::overrideDataHome(std::nullopt);
    EXPECT_EQ(platform::dataFolder(), "/srv/data/quandrite");
}

}  // namespace
