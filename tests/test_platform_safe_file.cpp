// SPDX-License-Identifier: MIT
// The one writer of the table, the settings and the replays: a save is whole
// or not made, says why it failed, keeps the player's links and modes, never
// replaces what is not a file, and the leftovers of killed saves go.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/safe_file.h"
#include "test_support.h"

namespace {

using testing_support::exitCodeAsOrdinaryUser;
using testing_support::readWholeFile;
using testing_support::writeWholeFile;
namespace fs = std::filesystem;

class SafeFiles : public ::testing::Test {
protected:
    // The ordinary user of the tests that drop to one must reach the files.
    void SetUp() override {
        fs::permissions(scratch.path(), fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    }
    std::string path(const std::string& name) const { return scratch.path() + "/" + name; }
    size_t entries(const std::string& folder) const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator{}));
    }
    mode_t modeOf(const std::string& file) const {
        struct stat info {};
        EXPECT_EQ(stat(file.c_str(), &info), 0) << file;
        return info.st_mode & 07777;
    }

    testing_support::ScratchDir scratch;
};

TEST_F(SafeFiles, ASaveReplacesTheFileWholeAndKeepsItsMode) {
    writeWholeFile(path("table.dat"), "old");
    chmod(path("table.dat").c_str(), 0604);
    const std::string bytes(100000, 'n');
    std::string failure = "not cleared";
    ASSERT_TRUE(platform::saveFile(path("table.dat"), bytes, failure)) << failure;
    EXPECT_EQ(failure, "");
    EXPECT_EQ(readWholeFile(path("table.dat")), bytes);
    EXPECT_EQ(modeOf(path("table.dat")), 0604u);
    EXPECT_EQ(entries(scratch.path()), 1u) << "no temporary file left";

    ASSERT_TRUE(platform::saveFile(path("new.dat"), "", failure)) << failure;
    EXPECT_TRUE(fs::is_regular_file(path("new.dat"))) << "an empty save is still a file";
}

TEST_F(SafeFiles, ALinkedFileIsSavedWhereTheLinkPointsAndTheLinkStays) {
    fs::create_directory(path("synced"));
    writeWholeFile(path("synced/settings.ini"), "old");
    chmod(path("synced/settings.ini").c_str(), 0600);
    fs::create_symlink("synced/settings.ini", path("settings.ini"));
    fs::create_symlink(path("settings.ini"), path("chain.ini"));
    std::string failure;
    ASSERT_TRUE(platform::saveFile(path("chain.ini"), "new", failure)) << failure;
    EXPECT_TRUE(fs::is_symlink(path("chain.ini")));
    EXPECT_TRUE(fs::is_symlink(path("settings.ini")));
    EXPECT_EQ(readWholeFile(path("synced/settings.ini")), "new");
    EXPECT_EQ(modeOf(path("synced/settings.ini")), 0600u);
    EXPECT_EQ(entries(path("synced")), 1u) << "the temporary file was made beside the target and is gone";

    fs::remove(path("synced/settings.ini"));
    ASSERT_TRUE(platform::saveFile(path("settings.ini"), "back", failure)) << failure;
    EXPECT_EQ(readWholeFile(path("synced/settings.ini")), "back") << "a dangling link gets its file back";
}

TEST_F(SafeFiles, AFolderThatCannotBeWrittenFailsWithTheReasonAndLeavesTheOldFile) {
    fs::create_directory(path("locked"));
    writeWholeFile(path("locked/settings.ini"), "volume = 20\n");
    chmod(path("locked/settings.ini").c_str(), 0666);
    ASSERT_EQ(chown(path("locked").c_str(), 65534, 65534), geteuid() == 0 ? 0 : -1);
    chmod(path("locked").c_str(), 0555);
    int result = exitCodeAsOrdinaryUser([&] {
        std::string failure;
        if (platform::saveFile(path("locked/settings.ini"), "volume = 90\n", failure)) return 1;
        return failure == path("locked/settings.ini") + ": Permission denied" ? 0 : 2;
    });
    chmod(path("locked").c_str(), 0755);
    EXPECT_EQ(result, 0) << "1: reported saved, 2: not the system's reason";
    EXPECT_EQ(readWholeFile(path("locked/settings.ini")), "volume = 20\n");
    EXPECT_EQ(entries(path("locked")), 1u);
}


TEST_F(SafeFiles, AWriteCutShortIsAFailedSaveNeverASuccess) {
    const std::string old = std::string(60, 'o');
    writeWholeFile(path("game.replay"), old);
    std::string failure;
    bool saved;
    {
        testing_support::FileSizeLimit diskFull(100);
        // The first 100 bytes go in, the rest is refused: a short write, then an error.
        saved = platform::saveFile(path("game.replay"), std::string(5000, 'r'), failure);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(failure, path("game.replay") + ": File too large");
    EXPECT_EQ(readWholeFile(path("game.replay")), old);
    EXPECT_EQ(entries(scratch.path()), 1u) << "no temporary file left";

    platform::SafeFile file;
    {
        testing_support::FileSizeLimit diskFull(100);
        ASSERT_TRUE(file.begin(path("game.replay")));
        EXPECT_FALSE(file.write(std::string(300, 'r').data(), 300));
        EXPECT_FALSE(file.write("x", 1)) << "nothing is written after a failure";
    }
    EXPECT_FALSE(file.finish());
    EXPECT_EQ(file.error(), EFBIG);
    EXPECT_EQ(readWholeFile(path("game.replay")), old);
    EXPECT_EQ(entries(scratch.path()), 1u);
}

TEST_F(SafeFiles, WhatIsNotARegularFileOrCannotBeReadIsNeverReplaced) {
    ASSERT_EQ(mkfifo(path("pipe").c_str(), 0600), 0);
    fs::create_directory(path("folder"));
    for (const char* name : {"pipe", "folder"}) {
        std::string failure;
        EXPECT_FALSE(platform::saveFile(path(name), "bytes", failure)) << name;
        EXPECT_EQ(failure, path(name) + ": not a regular file");
    }
    EXPECT_TRUE(fs::is_fifo(path("pipe")));
    EXPECT_TRUE(fs::is_directory(path("folder")));

    writeWholeFile(path("secret.dat"), "the player's table");
    ASSERT_EQ(chown(path("secret.dat").c_str(), 65534, 65534), geteuid() == 0 ? 0 : -1);
    chmod(path("secret.dat").c_str(), 0222);
    int result = exitCodeAsOrdinaryUser([&] {
        std::string failure;
        if (platform::saveFile(path("secret.dat"), "defaults", failure)) return 1;
        return failure == path("secret.dat") + ": Permission denied to read it, so it is not saved over" ? 0 : 2;
    });
    EXPECT_EQ(result, 0) << "1: saved over, 2: another reason";
    chmod(path("secret.dat").c_str(), 0644);
    EXPECT_EQ(readWholeFile(path("secret.dat")), "the player's table");
}

TEST_F(SafeFiles, ASaveNotFinishedLeavesTheOldFileAndNoTemporary) {
    writeWholeFile(path("settings.ini"), "old");
    {
        platform::SafeFile file;
        ASSERT_TRUE(file.begin(path("settings.ini")));
        ASSERT_TRUE(file.write("new", 3));
        EXPECT_EQ(entries(scratch.path()), 2u) << "the new bytes go to a file of their own";
    }
    EXPECT_EQ(readWholeFile(path("settings.ini")), "old");
    EXPECT_EQ(entries(scratch.path()), 1u);
}

// A process that has ended, and one that runs until killed.
class Processes {
public:
    Processes() {
        dead = fork();
        if (dead == 0) _exit(0);
        waitpid(dead, nullptr, 0);
        alive = fork();
        if (alive == 0) {
            pause();
            _exit(0);
        }
    }
    ~Processes() {
        kill(alive, SIGKILL);
        waitpid(alive, nullptr, 0);
    }
    pid_t dead = -1, alive = -1;
};

TEST_F(SafeFiles, TheTemporariesOfDeadProcessesAreRemovedThoseOfRunningOnesKept) {
    Processes processes;
    ASSERT_GT(processes.dead, 0);
    ASSERT_GT(processes.alive, 0);
    const std::string dead = ".saving-" + std::to_string(processes.dead);
    const std::string alive = ".saving-" + std::to_string(processes.alive);
    const std::string mine = ".saving-" + std::to_string(getpid());
    fs::create_directory(path("config"));
    fs::create_directory(path("replays"));
    for (const std::string& name :
         {"settings.ini" + dead, "settings.ini" + alive, "settings.ini" + mine, "other.ini" + dead,
          std::string("settings.ini.saving-notes"), std::string("settings.ini")})
        writeWholeFile(path("config/" + name), "half");
    for (const std::string& name :
         {"a.replay" + dead, "b.replay" + alive, dead, std::string("c.replay.saving-"), std::string("d.replay")})
        writeWholeFile(path("replays/" + name), "half");
    fs::create_symlink("config/settings.ini", path("settings.ini"));

    platform::removeStaleSaves(path("settings.ini"));
    EXPECT_FALSE(fs::exists(path("config/settings.ini" + dead))) << "found through the link";
    EXPECT_FALSE(fs::exists(path("config/settings.ini" + mine))) << "a save of ours no longer under way";
    EXPECT_TRUE(fs::exists(path("config/settings.ini" + alive))) << "a running game's save";
    EXPECT_TRUE(fs::exists(path("config/other.ini" + dead))) << "another file's";
    EXPECT_TRUE(fs::exists(path("config/settings.ini.saving-notes")));
    EXPECT_TRUE(fs::exists(path("config/settings.ini")));

    platform::removeStaleSavesIn(path("replays"));
    EXPECT_FALSE(fs::exists(path("replays/a.replay" + dead)));
    EXPECT_TRUE(fs::exists(path("replays/b.replay" + alive)));
    EXPECT_TRUE(fs::exists(path("replays/" + dead))) << "no file's save";
    EXPECT_TRUE(fs::exists(path("replays/c.replay.saving-")));
    EXPECT_TRUE(fs::exists(path("replays/d.replay")));
}

}  // namespace
