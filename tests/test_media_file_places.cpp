// SPDX-License-Identifier: MIT
// The game's file in odd places: modes the player set, links, pipes, a
// folder that cannot be written and the leftovers of killed saves. Modes are
// tried as an ordinary user, as they mean nothing to root.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "media/files.h"
#include "test_support.h"

namespace {

using testing_support::exitCodeAsOrdinaryUser;
using testing_support::readWholeFile;
using testing_support::writeWholeFile;
namespace fs = std::filesystem;

class FilePlaces : public ::testing::Test {
protected:
    void SetUp() override {
        fs::permissions(scratch.path(), fs::perms::all);
        media::startFiles();
    }
    void TearDown() override { media::closeAllFiles(); }
    std::string path(const std::string& name) const { return scratch.path() + "/" + name; }
    // A file of the ordinary user's, with the given mode.
    void makeFile(const std::string& name, const std::string& bytes, fs::perms mode) {
        writeWholeFile(path(name), bytes);
        ASSERT_EQ(chown(path(name).c_str(), 65534, 65534), geteuid() == 0 ? 0 : -1);
        fs::permissions(path(name), mode);
    }

    testing_support::ScratchDir scratch;
    testing_support::ScopedEnv dataHome{"XDG_DATA_HOME", scratch.path().c_str()};
};

TEST_F(FilePlaces, AReadOnlyFileIsReadButNotWrittenWhenOpened) {
    makeFile("table.dat", "kept\r\n", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    int result = exitCodeAsOrdinaryUser([&] {
        if (!media::openFile(0, path("table.dat"))) return 1;
        if (media::readLine(0) != "kept") return 2;
        media::closeFile(0);
        return media::lastOpenError().empty() ? 0 : 3;
    });
    EXPECT_EQ(result, 0) << "1: not opened, 2: not read, 3: a failure said";
    EXPECT_EQ(readWholeFile(path("table.dat")), "kept\r\n");
}

TEST_F(FilePlaces, AFileThatCannotBeReadIsNeverSavedOver) {
    makeFile("table.dat", "the player's table\r\n",
             fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write);
    int result = exitCodeAsOrdinaryUser([&] {
        if (media::openFile(0, path("table.dat"))) return 1;
        if (media::lastOpenError() != path("table.dat") + ": Permission denied") return 2;
        if (media::createFile(0, path("table.dat"))) return 3;
        if (media::writeLine(0, "the default table") != 0) return 4;
        media::closeFile(0);
        if (media::lastSaveError().rfind(path("table.dat") + ": ", 0) != 0) return 5;
        return 0;
    });
    EXPECT_EQ(result, 0) << "1: opened, 2: wrong open failure, 3: the save began, 4: written, 5: no failure said";
    EXPECT_EQ(readWholeFile(path("table.dat")), "the player's table\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch.path()), {}), 1) << "no temporary file left";
}

TEST_F(FilePlaces, AFolderThatCannotBeWrittenGivesTheRealReason) {
    fs::create_directory(path("locked"));
    ASSERT_EQ(chown(path("locked").c_str(), 65534, 65534), geteuid() == 0 ? 0 : -1);
    fs::permissions(path("locked"), fs::perms::owner_read | fs::perms::owner_exec);
    int result = exitCodeAsOrdinaryUser([&] {
        setenv("XDG_DATA_HOME", path("locked").c_str(), 1);
        if (media::createFile(0, "\\quandrite.dat")) return 1;
        if (media::lastSaveError() != path("locked") + "/quandrite: Permission denied") return 2;
        if (media::openFile(0, "\\quandrite.dat")) return 3;
        if (media::lastOpenError() != path("locked") + "/quandrite: Permission denied") return 4;
        return 0;
    });
    fs::permissions(path("locked"), fs::perms::owner_all);
    EXPECT_EQ(result, 0) << "1: the save began, 2: wrong save failure, 3: opened, 4: wrong open failure";
}

TEST_F(FilePlaces, APipeInTheFilesPlaceIsNeitherReadNorReplaced) {
    ASSERT_EQ(mkfifo(path("table.dat").c_str(), 0600), 0);
    EXPECT_FALSE(media::openFile(0, path("table.dat")));
    EXPECT_EQ(media::lastOpenError(), path("table.dat") + ": not a regular file");
    EXPECT_FALSE(media::createFile(0, path("table.dat")));
    media::closeFile(0);
    EXPECT_EQ(media::lastSaveError(), path("table.dat") + ": not a regular file");
    struct stat info;
    ASSERT_EQ(lstat(path("table.dat").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST_F(FilePlaces, ALinkWhoseFileIsGoneGetsItsFileBackWhereItPoints) {
    fs::create_directory(path("synced"));
    fs::create_symlink("synced/table.dat", path("table.dat"));
    ASSERT_TRUE(media::createFile(0, path("table.dat")));
    media::writeLine(0, "saved");
    media::closeFile(0);
    EXPECT_EQ(media::lastSaveError(), "");
    EXPECT_TRUE(fs::is_symlink(path("table.dat")));
    EXPECT_EQ(readWholeFile(path("synced/table.dat")), "saved\r\n");
    // A chain of links ends at the same file.
    fs::create_symlink("table.dat", path("chain.dat"));
    ASSERT_TRUE(media::createFile(0, path("chain.dat")));
    media::writeLine(0, "again");
    media::closeFile(0);
    EXPECT_TRUE(fs::is_symlink(path("chain.dat")));
    EXPECT_EQ(readWholeFile(path("synced/table.dat")), "again\r\n");
}

TEST_F(FilePlaces, OpeningRemovesTheTemporaryFilesOfKilledSavesOnly) {
    pid_t dead = fork();
    ASSERT_GE(dead, 0);
    if (dead == 0) _exit(0);
    ASSERT_EQ(waitpid(dead, nullptr, 0), dead);
    pid_t alive = fork();
    ASSERT_GE(alive, 0);
    if (alive == 0) {
        pause();
        _exit(0);
    }
    fs::create_directory(path("quandrite"));
    const std::string file = path("quandrite/quandrite.dat");
    writeWholeFile(file, "table\r\n");
    const std::string stale = file + ".saving-" + std::to_string(dead);
    const std::string running = file + ".saving-" + std::to_string(alive);
    const std::string unrelated = file + ".saving-notes";
    for (const std::string& name : {stale, running, unrelated}) writeWholeFile(name, "half");

    EXPECT_TRUE(media::openFile(0, "\\quandrite.dat"));
    media::closeFile(0);
    kill(alive, SIGKILL);
    waitpid(alive, nullptr, 0);
    EXPECT_FALSE(fs::exists(stale)) << "a killed save's file stays";
    EXPECT_TRUE(fs::exists(running)) << "a running game's save was removed";
    EXPECT_TRUE(fs::exists(unrelated));
    EXPECT_EQ(readWholeFile(file), "table\r\n");
}

}  // namespace
