// SPDX-License-Identifier: MIT
// The hiscore file: saving, loading and the three tests a file must pass.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/clock.h"
#include "core/strings.h"
#include "game/rules/game_state.h"
#include "game/screens/game_over.h"
#include "game/screens/hiscores.h"
#include "media/files.h"
#include "media/test_hooks.h"
#include "media/window.h"
#include "platform/file_lock.h"
#include "test_support.h"

namespace {

using game::GameState;
using testing_support::readWholeFile;
using testing_support::writeWholeFile;

// The default table in the file format, computed outside the game by a
// separate script from the format's rules and the slot-key table the game was
// first released with. Files players already have look like this, so it must
// load, and the game must keep writing it byte for byte.
const std::string kDefaultTableFile =
    "3531715282831641938228134161721154791177\r\n"
    "3638\r\n7085\r\n8604\r\n1497\r\n9731\r\n2034\r\n4651\r\n7627\r\n5839\r\n10417\r\n"
    "5424\r\n1970\r\n2269\r\n6199\r\n3499\r\n8001\r\n10460\r\n2718\r\n4581\r\n1499\r\n"
    "3176\r\n5572\r\n8398\r\n4671\r\n8055\r\n1317\r\n6301\r\n11348\r\n7044\r\n7586\r\n"
    "15994\r\n23526\r\n32041\r\n16479\r\n23465\r\n3363\r\n14338\r\n18602\r\n9501\r\n7740\r\n"
    "10991169\r\nHiscores\r\nquandrite by TAVENBROOKE\r\n";

constexpr int kChecksumLine = 42;

std::vector<std::string> splitCrlf(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    if (start < bytes.size()) lines.push_back(bytes.substr(start));
    return lines;
}

std::string joinLines(const std::vector<std::string>& lines, const std::string& end = "\r\n") {
    std::string bytes;
    for (const std::string& line : lines) bytes += line + end;
    return bytes;
}

class HiscoreFile : public ::testing::Test {
protected:
    void SetUp() override {
        media::chooseBackend(media::Backend::Headless);
        core::setClock(&clock);
        if (const char* old = std::getenv("XDG_DATA_HOME")) oldDataHome = old, hadDataHome = true;
        setenv("XDG_DATA_HOME", scratch.path().c_str(), 1);
        media::startFiles();
        state = std::make_unique<GameState>();
        game::fillDefaultHiscores(*state);
    }
    void TearDown() override {
        media::closeAllFiles();
        core::setClock(nullptr);
        if (hadDataHome) {
            setenv("XDG_DATA_HOME", oldDataHome.c_str(), 1);
        } else {
            unsetenv("XDG_DATA_HOME");
        }
    }

    std::string folder() const { return scratch.path() + "/quandrite"; }
    std::string filePath() const { return folder() + "/quandrite.dat"; }

    // Loads `bytes` as the hiscore file into a state holding the default table.
    void loadFrom(const std::string& bytes) {
        std::filesystem::create_directories(folder());
        writeWholeFile(filePath(), bytes);
        game::fillDefaultHiscores(*state);
        game::loadHiscores(*state);
    }

    // A valid file of the default table with line n (1..44) replaced.
    std::string withLine(int n, const std::string& text) const {
        std::vector<std::string> lines = splitCrlf(kDefaultTableFile);
        lines.at(static_cast<size_t>(n - 1)) = text;
        return joinLines(lines);
    }

    bool holdsErrorTable() const {
        for (int row = 1; row <= 10; ++row)
            if (state->hiscoreNames[row] != "err" || state->hiscoreScores[row] != 1000) return false;
        return true;
    }

    bool holdsDefaultTable() const {
        GameState defaults;
        game::fillDefaultHiscores(defaults);
        return state->hiscoreNames == defaults.hiscoreNames && state->hiscoreScores == defaults.hiscoreScores;
    }

    testing_support::ScratchDir scratch;
    core::VirtualClock clock;
    std::unique_ptr<GameState> state;
    std::string oldDataHome;
    bool hadDataHome = false;
};

TEST_F(HiscoreFile, TheDefaultTableIsWrittenAndReadAsReleased) {
    game::saveHiscores(*state);
    EXPECT_EQ(readWholeFile(filePath()), kDefaultTableFile);

    loadFrom(kDefaultTableFile);
    EXPECT_TRUE(holdsDefaultTable());
}

TEST_F(HiscoreFile, NamesOfZeroToThreeCharactersAndAnyScoreComeBackUnchanged) {
    const char* names[11] = {"", "", "a", "zz", "abc", "", "q", "mn", "xyz", "\x7f\xff", "b"};
    const int32_t scores[11] = {0, 99999, 54321, 1000, 999, 500, 12, 10, 1, 0, 0};
    for (int row = 1; row <= 10; ++row) {
        state->hiscoreNames[row] = names[row];
        state->hiscoreScores[row] = scores[row];
    }
    game::saveHiscores(*state);

    const std::string bytes = readWholeFile(filePath());
    const std::vector<std::string> lines = splitCrlf(bytes);
    ASSERT_EQ(lines.size(), 44u);
    EXPECT_EQ(joinLines(lines), bytes) << "every line, the last included, ends with CR LF";
    EXPECT_EQ(lines[0].size(), 40u);
    EXPECT_EQ(lines[42], "Hiscores");
    EXPECT_EQ(lines[43], "quandrite by TAVENBROOKE");

    game::fillDefaultHiscores(*state);
    game::loadHiscores(*state);
    for (int row = 1; row <= 10; ++row) {
        EXPECT_EQ(state->hiscoreNames[row], names[row]) << row;
        EXPECT_EQ(state->hiscoreScores[row], scores[row]) << row;
    }
}

TEST_F(HiscoreFile, ChecksumLinePassesFromCToCPlus62Only) {
    const int64_t c = core::parseInteger(splitCrlf(kDefaultTableFile)[kChecksumLine - 1]);
    for (int64_t extra = 0; extra <= 62; ++extra) {
        loadFrom(withLine(kChecksumLine, core::formatInteger(c + extra)));
        EXPECT_TRUE(holdsDefaultTable()) << "C + " << extra;
    }
    loadFrom(withLine(kChecksumLine, core::formatInteger(c + 63)));
    EXPECT_TRUE(holdsErrorTable());
    loadFrom(withLine(kChecksumLine, core::formatInteger(c - 1)));
    EXPECT_TRUE(holdsErrorTable());
}

TEST_F(HiscoreFile, OnlyTheLabelLineMayChange) {
    loadFrom(withLine(43, "Hi scores, edited"));
    EXPECT_TRUE(holdsDefaultTable());

    loadFrom(withLine(44, "quandrite by someone else"));
    EXPECT_TRUE(holdsErrorTable());
    loadFrom(withLine(44, "quandrite by TAVENBROOKE "));
    EXPECT_TRUE(holdsErrorTable());

    std::string check = splitCrlf(kDefaultTableFile)[0];
    check[39] = check[39] == '7' ? '8' : '7';
    loadFrom(withLine(1, check));
    EXPECT_TRUE(holdsErrorTable());
}

TEST_F(HiscoreFile, ACodeThatDecodesToAnotherValueFailsOneThatDecodesTheSamePasses) {
    const std::vector<std::string> lines = splitCrlf(kDefaultTableFile);
    // Every factor is at least 11, so adding up to 10 keeps the quotient and
    // adding 100 raises it; a score line keeps its first digit here.
    for (int n : {2, 15, 31, 33}) {
        SCOPED_TRACE(n);
        const int64_t code = core::parseInteger(lines[static_cast<size_t>(n - 1)]);
        loadFrom(withLine(n, core::formatInteger(code + 10)));
        EXPECT_TRUE(holdsDefaultTable());
        loadFrom(withLine(n, core::formatInteger(code + 100)));
        EXPECT_TRUE(holdsErrorTable());
    }
}

TEST_F(HiscoreFile, AnEmptyFirstLineKeepsTheTableWhateverFollows) {
    for (const std::string& end : {std::string("\r\n"), std::string("\n"), std::string("\r")}) {
        const std::vector<std::string> lines = splitCrlf(kDefaultTableFile);
        std::string bytes = end;
        for (size_t i = 1; i < lines.size(); ++i) bytes += lines[i] + "\r\n";
        loadFrom(bytes);
        EXPECT_TRUE(holdsDefaultTable());
    }
    loadFrom("");
    EXPECT_TRUE(holdsDefaultTable());
    loadFrom(std::string("\0junk\r\n", 7));
    EXPECT_TRUE(holdsDefaultTable());
}

TEST_F(HiscoreFile, AMissingFileKeepsTheTableAndIsCreatedEmpty) {
    game::loadHiscores(*state);
    EXPECT_TRUE(holdsDefaultTable());
    ASSERT_TRUE(std::filesystem::exists(filePath()));
    EXPECT_EQ(std::filesystem::file_size(filePath()), 0u);
}

TEST_F(HiscoreFile, LoneLineFeedsOrCarriageReturnsReadAsTheSameLines) {
    const std::vector<std::string> lines = splitCrlf(kDefaultTableFile);
    loadFrom(joinLines(lines, "\n"));
    EXPECT_TRUE(holdsDefaultTable());
    loadFrom(joinLines(lines, "\r"));
    EXPECT_TRUE(holdsDefaultTable());
}

TEST_F(HiscoreFile, ShortOrOverlongFilesLoadTheErrorTable) {
    const std::vector<std::string> lines = splitCrlf(kDefaultTableFile);
    loadFrom(joinLines(std::vector<std::string>(lines.begin(), lines.begin() + 43)));
    EXPECT_TRUE(holdsErrorTable());
    loadFrom(joinLines(std::vector<std::string>(lines.begin(), lines.begin() + 20)));
    EXPECT_TRUE(holdsErrorTable());

    // The padding does not change the number, but no saved file has such a line.
    loadFrom(withLine(5, lines[4] + std::string(media::kMaxLineLength, ' ')));
    EXPECT_TRUE(holdsErrorTable());
    loadFrom(withLine(5, lines[4] + std::string(media::kMaxLineLength - lines[4].size(), ' ')));
    EXPECT_TRUE(holdsDefaultTable()) << "a line of exactly the limit is still whole";
}

TEST_F(HiscoreFile, AfterTheErrorTableTheGameSavesAndReadsItBack) {
    loadFrom(withLine(44, "tampered"));
    ASSERT_TRUE(holdsErrorTable());
    game::saveHiscores(*state);
    game::fillDefaultHiscores(*state);
    game::loadHiscores(*state);
    EXPECT_TRUE(holdsErrorTable());
}

TEST_F(HiscoreFile, SavingShowsItInTheTitleAndLoadingAndSavingEachWait508Milliseconds) {
    media::openWindow(0, -1, -1, 1020, 607, " Quandrite", media::kWindowCentred);
    game::loadHiscores(*state);
    EXPECT_EQ(clock.slept(), 508u);
    EXPECT_EQ(media::windowTitle(0), " Quandrite");
    game::saveHiscores(*state);
    EXPECT_EQ(clock.slept(), 1016u);
    EXPECT_EQ(media::windowTitle(0), " Saving score...");
    media::closeWindow(0);
}

// Like a full disk: writes past 200 bytes fail. A hiscore file is longer;
// the one line on stderr (captured in a file) is shorter.
constexpr unsigned long kFileSizeLimit = 200;


TEST_F(HiscoreFile, AFailedSaveKeepsTheOldFileAndSaysSoOnce) {
    game::saveHiscores(*state);
    const std::string before = readWholeFile(filePath());
    ASSERT_GT(before.size(), kFileSizeLimit);
    state->hiscoreNames[1] = "new";
    state->hiscoreScores[1] = 9000;

    testing::internal::CaptureStderr();
    {
        testing_support::FileSizeLimit diskFull(kFileSizeLimit);
        game::saveHiscores(*state);
    }
    const std::string said = testing::internal::GetCapturedStderr();

    EXPECT_EQ(readWholeFile(filePath()), before);
    EXPECT_EQ(said.rfind("quandrite: could not save the hiscore file " + filePath() + ": ", 0), 0u) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder()), {}), 1) << "the temporary file is gone";
    EXPECT_EQ(clock.slept(), 2 * 508u + 2000) << "the failure is shown for two seconds";

    game::saveHiscores(*state);
    game::fillDefaultHiscores(*state);
    game::loadHiscores(*state);
    EXPECT_EQ(state->hiscoreNames[1], "new");
    EXPECT_EQ(state->hiscoreScores[1], 9000);
}

TEST_F(HiscoreFile, TwoWindowsOfTheGameEachSavingAnEntryKeepBoth) {
    game::saveHiscores(*state);
    // Both windows read the same table at their start.
    GameState first = *state;
    GameState second = *state;
    first.score = 172;
    game::saveEntry(first, "aaa");
    second.score = 150;
    game::saveEntry(second, "bbb");
    GameState read;
    game::fillDefaultHiscores(read);
    game::loadHiscores(read);
    auto holds = [&read](const std::string& name, int32_t score) {
        for (int row = 1; row <= 10; ++row)
            if (read.hiscoreNames[row] == name && read.hiscoreScores[row] == score) return true;
        return false;
    };
    EXPECT_TRUE(holds("aaa", 172)) << "the first window's entry survives the second's save";
    EXPECT_TRUE(holds("bbb", 150));
    EXPECT_TRUE(second.hiscoreNames == read.hiscoreNames) << "and the second window shows both";

    // A run whose save failed keeps its own table, not the file's.
    GameState third = read;
    third.score = 400;
    {
        testing_support::FileSizeLimit diskFull(kFileSizeLimit);
        testing::internal::CaptureStderr();
        game::saveEntry(third, "ccc");
        testing::internal::GetCapturedStderr();
    }
    third.score = 190;
    game::saveEntry(third, "ddd");
    game::loadHiscores(read);
    EXPECT_TRUE(holds("ccc", 400)) << "the entry kept in memory is saved with the next";
    EXPECT_TRUE(holds("ddd", 190));
}

TEST(FileLocks, ASecondHolderWaitsThenGivesUpWithTheReason) {
    testing_support::ScratchDir dir;
    const std::string path = dir.path() + "/quandrite.dat";
    platform::FileLock first, second;
    ASSERT_TRUE(first.acquire(path, 1000)) << first.failure();
    EXPECT_FALSE(second.acquire(path, 50));
    EXPECT_EQ(second.failure(), path + ".lock: held by another window of the game");
    first.release();
    EXPECT_TRUE(second.acquire(path, 50)) << "free again once let go";
}

}  // namespace
