// SPDX-License-Identifier: MIT
// Numbered files: the buffer, line ends, the read/write switch, where the
// game's data file lives and the atomic save.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "media/files.h"
#include "test_support.h"

namespace {

using testing_support::readWholeFile;
using testing_support::ScopedEnv;
using testing_support::writeWholeFile;

class Files : public ::testing::Test {
protected:
    void SetUp() override { media::startFiles(); }
    void TearDown() override { media::closeAllFiles(); }

    std::string path(const std::string& name) const { return scratch.path() + "/" + name; }

    testing_support::ScratchDir scratch;
    ScopedEnv dataHome{"XDG_DATA_HOME", scratch.path().c_str()};
};

TEST_F(Files, WriteLineEndsEveryTextWithCrLfEvenAnEmptyOne) {
    ASSERT_TRUE(media::createFile(0, path("a.txt")));
    EXPECT_EQ(media::writeLine(0, ""), 2);
    EXPECT_EQ(media::writeLine(0, "abc"), 5);
    EXPECT_EQ(media::writeLine(0, ""), 2);
    media::closeFile(0);
    EXPECT_EQ(readWholeFile(path("a.txt")), "\r\nabc\r\n\r\n");
}

TEST_F(Files, ReadLineEndsAtCrLfCrLfZeroByteOrTheEnd) {
    writeWholeFile(path("ends.txt"), std::string("one\ntwo\rthree\r\nfour\0five\r\r\nsix", 31));
    ASSERT_TRUE(media::openFile(0, path("ends.txt")));
    for (const char* expected : {"one", "two", "three", "four", "five", "", "six", "", ""})
        EXPECT_EQ(media::readLine(0), expected);
    media::closeFile(0);

    writeWholeFile(path("lf.txt"), "a\nbb\n\nccc\n");
    ASSERT_TRUE(media::openFile(0, path("lf.txt")));
    for (const char* expected : {"a", "bb", "", "ccc", ""}) EXPECT_EQ(media::readLine(0), expected);
    media::closeFile(0);

    writeWholeFile(path("cr.txt"), "a\rbb\r\rccc\r");
    ASSERT_TRUE(media::openFile(0, path("cr.txt")));
    for (const char* expected : {"a", "bb", "", "ccc", ""}) EXPECT_EQ(media::readLine(0), expected);
    media::closeFile(0);
}

TEST_F(Files, ACarriageReturnAtTheEndOfTheBufferLooksIntoTheNextFill) {
    // The CR is the last byte of the first 4,096-byte fill.
    const std::string first(4095, 'x');
    writeWholeFile(path("crlf.txt"), first + "\r\nnext\r\n");
    ASSERT_TRUE(media::openFile(0, path("crlf.txt")));
    EXPECT_EQ(media::readLine(0), first);
    EXPECT_EQ(media::readLine(0), "next");
    media::closeFile(0);

    writeWholeFile(path("cr.txt"), first + "\ry\r");
    ASSERT_TRUE(media::openFile(0, path("cr.txt")));
    EXPECT_EQ(media::readLine(0), first);
    EXPECT_EQ(media::readLine(0), "y") << "the byte after the CR was given back";
    EXPECT_EQ(media::readLine(0), "");
    media::closeFile(0);
}

TEST_F(Files, ANumberWithoutAFileGivesNothingAndDoesNothing) {
    EXPECT_EQ(media::readLine(5), "");
    EXPECT_EQ(media::writeLine(5, "text"), 0);
    EXPECT_FALSE(media::lineWasCut(5));
    media::closeFile(5);
    EXPECT_FALSE(media::openFile(5, path("no-such-folder/x.txt")));
    EXPECT_EQ(media::readLine(5), "");
}

TEST_F(Files, OpeningAMissingFileCreatesItEmpty) {
    ASSERT_TRUE(media::openFile(0, path("new.txt")));
    EXPECT_TRUE(std::filesystem::exists(path("new.txt")));
    EXPECT_EQ(media::readLine(0), "");
    media::closeFile(0);
    EXPECT_EQ(std::filesystem::file_size(path("new.txt")), 0u);
}

TEST_F(Files, LinesComeBackThroughTheBufferAndAcrossReopening) {
    // Enough lines to fill the buffer many times, a line as long as the
    // buffer (written directly) and one of exactly the line limit.
    std::vector<std::string> lines;
    for (int i = 0; i < 900; ++i)
        lines.push_back("line " + std::to_string(i) + std::string(static_cast<size_t>(i % 13), '#'));
    lines.push_back(std::string(media::kMaxLineLength, 'L'));
    lines.push_back("\x01\x7f\xff high and low bytes");
    lines.push_back("after");
    std::string expectedBytes;
    ASSERT_TRUE(media::openFile(0, path("many.txt")));
    for (const std::string& line : lines) {
        media::writeLine(0, line);
        expectedBytes += line + "\r\n";
    }
    media::closeFile(0);
    EXPECT_EQ(readWholeFile(path("many.txt")), expectedBytes);

    ASSERT_TRUE(media::openFile(0, path("many.txt")));
    for (const std::string& line : lines) {
        ASSERT_EQ(media::readLine(0), line);
        EXPECT_FALSE(media::lineWasCut(0));
    }
    EXPECT_EQ(media::readLine(0), "");
    media::closeFile(0);
}

TEST_F(Files, WritingAfterReadingContinuesAtTheFirstUnreadByte) {
    writeWholeFile(path("rw.txt"), "a\r\nb\r\nc\r\n");
    ASSERT_TRUE(media::openFile(0, path("rw.txt")));
    EXPECT_EQ(media::readLine(0), "a");  // the whole file was read ahead
    media::writeLine(0, "YY");
    media::closeFile(0);
    EXPECT_EQ(readWholeFile(path("rw.txt")), "a\r\nYY\r\n\r\n");
}

TEST_F(Files, ReadingAfterWritingSeesTheBytesBehindTheWrittenOnes) {
    writeWholeFile(path("wr.txt"), "a\r\nb\r\nc\r\n");
    ASSERT_TRUE(media::openFile(0, path("wr.txt")));
    media::writeLine(0, "Z");
    EXPECT_EQ(media::readLine(0), "b");
    EXPECT_EQ(media::readLine(0), "c");
    media::closeFile(0);
    EXPECT_EQ(readWholeFile(path("wr.txt")), "Z\r\nb\r\nc\r\n");
}

TEST_F(Files, AnOverlongLineIsCutAndTheNextLineIsIntact) {
    const std::string huge(3 * 1024 * 1024, 'h');
    writeWholeFile(path("huge.txt"), "short\r\n" + huge + "\r\nnext\n");
    ASSERT_TRUE(media::openFile(0, path("huge.txt")));
    EXPECT_EQ(media::readLine(0), "short");
    EXPECT_FALSE(media::lineWasCut(0));
    EXPECT_EQ(media::readLine(0), huge.substr(0, media::kMaxLineLength));
    EXPECT_TRUE(media::lineWasCut(0));
    EXPECT_EQ(media::readLine(0), "next");
    EXPECT_FALSE(media::lineWasCut(0));
    media::closeFile(0);
}

TEST_F(Files, OnlyARegularFileIsRead) {
    ASSERT_EQ(mkfifo(path("pipe").c_str(), 0600), 0);
    EXPECT_FALSE(media::openFile(0, path("pipe")));
    EXPECT_EQ(media::readLine(0), "") << "and nothing waits for a writer";
    std::filesystem::create_directory(path("folder"));
    EXPECT_FALSE(media::openFile(0, path("folder")));
}

TEST_F(Files, TheGamesOwnNamesLiveInTheXdgDataFolder) {
    EXPECT_EQ(media::resolveFileName("\\quandrite.dat"), scratch.path() + "/quandrite/quandrite.dat");
    EXPECT_TRUE(std::filesystem::is_directory(scratch.path() + "/quandrite"));
    EXPECT_EQ(media::resolveFileName("plain.txt"), "plain.txt");
    EXPECT_EQ(media::resolveFileName(path("x")), path("x"));

    ScopedEnv home("HOME", scratch.path().c_str());
    for (const char* unusable : {"", "relative/data"}) {
        ScopedEnv xdg("XDG_DATA_HOME", unusable);
        EXPECT_EQ(media::resolveFileName("\\q.dat"), scratch.path() + "/.local/share/quandrite/q.dat");
    }
    ScopedEnv noXdg("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(media::resolveFileName("\\q.dat"), scratch.path() + "/.local/share/quandrite/q.dat");
    EXPECT_TRUE(std::filesystem::is_directory(scratch.path() + "/.local/share/quandrite"));
}

TEST_F(Files, ASaveReplacesTheOldFileOnlyWhenClosed) {
    writeWholeFile(path("save.dat"), "old\r\n");
    ASSERT_TRUE(media::createFile(0, path("save.dat")));
    media::writeLine(0, std::string(10000, 'n'));
    EXPECT_EQ(readWholeFile(path("save.dat")), "old\r\n");
    media::closeFile(0);
    EXPECT_EQ(readWholeFile(path("save.dat")), std::string(10000, 'n') + "\r\n");
    EXPECT_EQ(media::lastSaveError(), "");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path()), {}), 1) << "no temporary file left";
}

TEST_F(Files, ReusingANumberClosesItsFileFirst) {
    ASSERT_TRUE(media::createFile(0, path("first.dat")));
    media::writeLine(0, "kept");
    ASSERT_TRUE(media::openFile(0, path("second.dat")));
    EXPECT_EQ(readWholeFile(path("first.dat")), "kept\r\n");
    media::writeLine(0, "also kept");
    media::closeAllFiles();
    EXPECT_EQ(readWholeFile(path("second.dat")), "also kept\r\n");
}

TEST_F(Files, ASaveThatCannotBeRenamedLeavesEverythingAsItWas) {
    // A folder appears where the file should be while it is written: the
    // rename over it fails.
    ASSERT_TRUE(media::createFile(0, path("save.dat")));
    std::filesystem::create_directory(path("save.dat"));
    writeWholeFile(path("save.dat") + "/inside", "untouched");
    media::writeLine(0, "new");
    media::closeFile(0);
    EXPECT_EQ(media::lastSaveError().rfind(path("save.dat") + ": ", 0), 0u) << media::lastSaveError();
    EXPECT_EQ(readWholeFile(path("save.dat") + "/inside"), "untouched");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path()), {}), 1) << "no temporary file left";
}


TEST_F(Files, ASaveWhoseWritesFailLeavesTheOldFileByteIdentical) {
    const std::string old = "old line\r\n" + std::string(300, 'o') + "\r\n";
    writeWholeFile(path("save.dat"), old);
    {
        testing_support::FileSizeLimit diskFull(100);
        ASSERT_TRUE(media::createFile(0, path("save.dat")));
        for (int i = 0; i < 50; ++i) media::writeLine(0, "a new line that will not fit");
        media::closeFile(0);
    }
    EXPECT_EQ(readWholeFile(path("save.dat")), old);
    EXPECT_NE(media::lastSaveError(), "");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path()), {}), 1) << "no temporary file left";

    ASSERT_TRUE(media::createFile(0, path("save.dat")));
    media::writeLine(0, "fits");
    media::closeFile(0);
    EXPECT_EQ(media::lastSaveError(), "") << "a good save clears the last failure";
    EXPECT_EQ(readWholeFile(path("save.dat")), "fits\r\n");
}

TEST_F(Files, ASaveIntoAFolderThatCannotExistFailsAtOnce) {
    writeWholeFile(path("plain-file"), "x");
    ScopedEnv xdg("XDG_DATA_HOME", path("plain-file").c_str());
    EXPECT_FALSE(media::createFile(0, "\\quandrite.dat"));
    EXPECT_EQ(media::writeLine(0, "lost"), 0);
    media::closeFile(0);
    EXPECT_EQ(media::lastSaveError().rfind(path("plain-file") + "/quandrite/quandrite.dat: ", 0), 0u)
        << media::lastSaveError();
}

TEST_F(Files, ASaveThroughALinkWritesTheLinkedFileAndKeepsTheLink) {
    std::filesystem::create_directory(path("synced"));
    writeWholeFile(path("synced/save.dat"), "old\r\n");
    std::filesystem::create_symlink("synced/save.dat", path("save.dat"));
    ASSERT_TRUE(media::createFile(0, path("save.dat")));
    media::writeLine(0, "new");
    media::closeFile(0);
    EXPECT_EQ(media::lastSaveError(), "");
    EXPECT_TRUE(std::filesystem::is_symlink(path("save.dat")));
    EXPECT_EQ(readWholeFile(path("synced/save.dat")), "new\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(path("synced")), {}), 1) << "no temporary file left";
}

TEST_F(Files, AFileThePlayerMayNotWriteIsNotReplaced) {
    // Write permission means nothing to root, so the save runs as an
    // ordinary user in a child process.
    std::filesystem::permissions(scratch.path(), std::filesystem::perms::all);
    const std::string file = path("save.dat");
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(10);
        writeWholeFile(file, "kept\r\n");
        if (chmod(file.c_str(), 0444) != 0) _exit(11);
        if (media::createFile(0, file)) _exit(12);
        if (media::writeLine(0, "new") != 0) _exit(13);
        media::closeFile(0);
        if (readWholeFile(file) != "kept\r\n") _exit(14);
        if (media::lastSaveError().rfind(file + ": ", 0) != 0) _exit(15);
        if (std::distance(std::filesystem::directory_iterator(scratch.path()), {}) != 1) _exit(16);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "10: no ordinary user, 11: chmod, 12: the save began, "
                                         "13: a line was written, 14: the file changed, 15: no failure said, "
                                         "16: a temporary file was left";
}

}  // namespace
