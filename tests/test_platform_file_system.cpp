// SPDX-License-Identifier: MIT
// The port's own files and folders: demo and settings files read without
// waiting on a pipe or reading past a limit, the check of a file the run
// will write at its end, the replays' folder.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "test_support.h"

namespace {

using testing_support::writeWholeFile;
namespace fs = std::filesystem;

class FileSystem : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return scratch.path() + "/" + name; }
    testing_support::ScratchDir scratch;
};

TEST_F(FileSystem, ARegularFileIsReadWholeUpToItsLimit) {
    writeWholeFile(path("game.demo"), "QUANDEMO and more");
    std::string bytes;
    platform::FileRead read = platform::readRegularFile(path("game.demo"), 17, bytes);
    EXPECT_EQ(read.outcome, platform::FileRead::Read);
    EXPECT_EQ(bytes, "QUANDEMO and more");

    read = platform::readRegularFile(path("game.demo"), 16, bytes);
    EXPECT_EQ(read.outcome, platform::FileRead::TooLarge);
    EXPECT_EQ(bytes, "") << "nothing of a refused file";

    read = platform::readRegularFile(path("missing.demo"), 100, bytes);
    EXPECT_EQ(read.outcome, platform::FileRead::Missing);
    EXPECT_EQ(read.reason, "No such file or directory");
}

TEST_F(FileSystem, APipeOrAFolderIsRefusedWithoutWaiting) {
    // A pipe without a writer would hold a blocking open forever.
    ASSERT_EQ(mkfifo(path("pipe").c_str(), 0600), 0);
    fs::create_directory(path("folder"));
    std::string bytes;
    for (const char* name : {"pipe", "folder"}) {
        EXPECT_EQ(platform::readRegularFile(path(name), 100, bytes).outcome, platform::FileRead::NotRegular) << name;
    }
    EXPECT_EQ(platform::readFileStart(path("pipe"), 100, bytes), 0) << "an empty pipe reads as nothing";
    EXPECT_EQ(bytes, "");
}

TEST_F(FileSystem, TheStartOfAFileIsReadUpToTheLimit) {
    writeWholeFile(path("settings.ini"), std::string(70000, 'x') + "tail");
    std::string bytes;
    EXPECT_EQ(platform::readFileStart(path("settings.ini"), 65536, bytes), 0);
    EXPECT_EQ(bytes, std::string(65536, 'x'));
    EXPECT_EQ(platform::readFileStart(path("none.ini"), 65536, bytes), ENOENT);
    EXPECT_EQ(bytes, "");
}

TEST_F(FileSystem, AFileThatCouldNotBeWrittenIsNamedWithItsCause) {
    writeWholeFile(path("plain"), "x");
    fs::create_directory(path("shots"));
    EXPECT_EQ(platform::whyNotWritable(path("shots/one.png")), "");
    EXPECT_EQ(platform::whyNotWritable(path("no/such/game.demo")), path("no/such") + ": No such file or directory");
    EXPECT_EQ(platform::whyNotWritable(path("plain/game.demo")), path("plain") + ": Not a directory");
    EXPECT_EQ(platform::whyNotWritable(path("shots")), path("shots") + ": Is a directory");
    // A name longer than the folder takes: known before the run, not after it.
    std::string why = platform::whyNotWritable(path("shots/" + std::string(100 * 1024, 'r') + ".demo"));
    EXPECT_NE(why.find("File name too long"), std::string::npos) << why.substr(why.size() - 40);
    // Nearly as long as a name may be: the save's temporary name is longer.
    why = platform::whyNotWritable(path("shots/" + std::string(250, 'r')));
    EXPECT_NE(why.find("File name too long"), std::string::npos) << why.substr(why.size() - 40);
    EXPECT_TRUE(fs::is_empty(path("shots"))) << "the check leaves nothing behind";
}

TEST_F(FileSystem, FoldersAreMadeAndListedByTheirRegularFiles) {
    EXPECT_EQ(platform::makeFolders(path("a/b/replays")), 0);
    EXPECT_EQ(platform::makeFolders(path("a/b/replays")), 0) << "an existing folder is no failure";
    writeWholeFile(path("plain"), "x");
    EXPECT_EQ(platform::makeFolders(path("plain/replays")), ENOTDIR);
    writeWholeFile(path("a/b/replays/one.replay"), "1");
    writeWholeFile(path("a/b/replays/two.replay"), "2");
    fs::create_directory(path("a/b/replays/folder.replay"));
    fs::create_symlink("one.replay", path("a/b/replays/link.replay"));
    std::vector<std::string> names = platform::regularFilesIn(path("a/b/replays"));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"link.replay", "one.replay", "two.replay"}));
    EXPECT_TRUE(platform::regularFilesIn(path("missing")).empty());
    platform::removeFile(path("a/b/replays/two.replay"));
    platform::removeFile(path("a/b/replays/two.replay"));
    EXPECT_FALSE(fs::exists(path("a/b/replays/two.replay")));
}

}  // namespace
