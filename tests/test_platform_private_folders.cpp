// SPDX-License-Identifier: MIT
// The folders in $TMPDIR that replays play in: only this user may enter
// them, and those of replays that were killed are removed, not those of
// replays still running.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/private_folders.h"
#include "test_support.h"

namespace {

using testing_support::writeWholeFile;
namespace fs = std::filesystem;

class PrivateFolders : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return scratch.path() + "/" + name; }
    testing_support::ScratchDir scratch;
};

TEST_F(PrivateFolders, AreOursAndOnlyTheDeadProcessesOnesAreRemoved) {
    const char* before = std::getenv("TMPDIR");
    std::string oldTmp = before ? before : "";
    setenv("TMPDIR", scratch.path().c_str(), 1);
    const std::string prefix = "quandrite-test-";

    std::string mine = platform::makePrivateFolder(prefix);
    ASSERT_EQ(mine.rfind(path(prefix + std::to_string(getpid()) + "-"), 0), 0u) << mine;
    struct stat info {};
    ASSERT_EQ(stat(mine.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u) << "only this user may enter it";

    pid_t dead = fork();
    if (dead == 0) _exit(0);
    waitpid(dead, nullptr, 0);
    pid_t alive = fork();
    if (alive == 0) {
        pause();
        _exit(0);
    }
    const std::string stale = path(prefix + std::to_string(dead) + "-abcdef");
    const std::string running = path(prefix + std::to_string(alive) + "-abcdef");
    for (const std::string& folder : {stale, running}) fs::create_directories(folder + "/quandrite");
    writeWholeFile(path(prefix + std::to_string(dead) + "-file"), "not a folder");
    platform::removeStalePrivateFolders(prefix);
    kill(alive, SIGKILL);
    waitpid(alive, nullptr, 0);
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(running));
    EXPECT_TRUE(fs::exists(mine)) << "this process's own";
    EXPECT_TRUE(fs::exists(path(prefix + std::to_string(dead) + "-file")));

    platform::removeFolder(mine);
    EXPECT_FALSE(fs::exists(mine));
    if (before) setenv("TMPDIR", oldTmp.c_str(), 1);
    else unsetenv("TMPDIR");
}

}  // namespace

namespace {

mode_t modeOf(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST_F(PrivateFolders, UserFoldersAreMadeForTheUserAloneAndKeepWhatWasThere) {
    fs::create_directory(path("home"));
    fs::permissions(path("home"), fs::perms(0755));
    // An open umask must not widen them, nor a strict one narrow them for the user.
    mode_t umaskBefore = umask(0);
    int made = platform::makeUserFolders(path("home/.local/share/quandrite"));
    umask(077);
    int again = platform::makeUserFolders(path("home/.config/quandrite/"));
    umask(umaskBefore);
    ASSERT_EQ(made, 0);
    ASSERT_EQ(again, 0);
    for (const char* folder :
         {"home/.local", "home/.local/share", "home/.local/share/quandrite", "home/.config", "home/.config/quandrite"})
        EXPECT_EQ(modeOf(path(folder)), 0700u) << folder;
    EXPECT_EQ(modeOf(path("home")), 0755u) << "a folder that was there keeps its mode";
    EXPECT_EQ(platform::makeUserFolders(path("home/.local/share/quandrite")), 0) << "one that exists is no failure";

    writeWholeFile(path("plain"), "x");
    EXPECT_EQ(platform::makeUserFolders(path("plain")), ENOTDIR);
    EXPECT_EQ(platform::makeUserFolders(path("plain/quandrite")), ENOTDIR);
    fs::create_directory(path("locked"));
    fs::permissions(path("locked"), fs::perms(0500));
    if (geteuid() != 0) {
        EXPECT_EQ(platform::makeUserFolders(path("locked/quandrite")), EACCES);
    }
    fs::permissions(path("locked"), fs::perms(0700));
    EXPECT_EQ(platform::makeUserFolders(""), ENOENT);
}

}  // namespace
