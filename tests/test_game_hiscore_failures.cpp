// SPDX-License-Identifier: MIT
// The hiscore table when its file misbehaves: a read-only file is loaded, a
// file that cannot be read is never saved over, and a failed save shows in
// the window title while the table stays in memory.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "core/clock.h"
#include "game/rules/game_state.h"
#include "game/screens/hiscores.h"
#include "media/files.h"
#include "media/test_hooks.h"
#include "media/window.h"
#include "test_support.h"

namespace {

using game::GameState;
using testing_support::exitCodeAsOrdinaryUser;
using testing_support::readWholeFile;
namespace fs = std::filesystem;

// Notes the window title during every wait.
class TitleWatch : public core::Clock {
public:
    void sleepMilliseconds(int ms) override { waits.emplace_back(media::windowTitle(0), ms); }
    uint64_t nowMilliseconds() override { return 0; }
    std::vector<std::pair<std::string, int>> waits;
};

class HiscoreFailures : public ::testing::Test {
protected:
    void SetUp() override {
        media::chooseBackend(media::Backend::Headless);
        core::setClock(&watch);
        fs::permissions(scratch.path(), fs::perms::all);
        media::startFiles();
        media::openWindow(0, -1, -1, 1020, 607, " Quandrite", media::kWindowCentred);
        game::fillDefaultHiscores(state);
    }
    void TearDown() override {
        media::closeWindow(0);
        media::closeAllFiles();
        core::setClock(nullptr);
    }
    std::string filePath() const { return scratch.path() + "/quandrite/quandrite.dat"; }

    // Saves a table with "top" at 9000 in row 1 and gives the file to the
    // ordinary user with the mode.
    void saveOwnTable(fs::perms mode) {
        state.hiscoreNames[1] = "top";
        state.hiscoreScores[1] = 9000;
        game::saveHiscores(state);
        game::fillDefaultHiscores(state);
        fs::permissions(scratch.path() + "/quandrite", fs::perms::all);
        ASSERT_EQ(chown(filePath().c_str(), 65534, 65534), geteuid() == 0 ? 0 : -1);
        fs::permissions(filePath(), mode);
        watch.waits.clear();
    }

    testing_support::ScratchDir scratch;
    testing_support::ScopedEnv dataHome{"XDG_DATA_HOME", scratch.path().c_str()};
    TitleWatch watch;
    GameState state{};
};

constexpr fs::perms kReadOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
constexpr fs::perms kWriteOnly = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;

TEST_F(HiscoreFailures, AReadOnlyFileIsLoaded) {
    saveOwnTable(kReadOnly);
    int result = exitCodeAsOrdinaryUser([&] {
        game::loadHiscores(state);
        return state.hiscoreNames[1] == "top" && state.hiscoreScores[1] == 9000 ? 0 : 1;
    });
    EXPECT_EQ(result, 0) << "1: the player's table was not loaded";
}

TEST_F(HiscoreFailures, AFileThatCannotBeReadIsNeverSavedOverAndSaysSo) {
    saveOwnTable(kWriteOnly);
    const std::string before = readWholeFile(filePath());
    const std::string said = scratch.path() + "/said";
    int result = exitCodeAsOrdinaryUser([&] {
        if (!std::freopen(said.c_str(), "w", stderr)) return 9;
        game::loadHiscores(state);
        if (state.hiscoreNames[1] != "bel") return 1;
        state.hiscoreNames[1] = "new";
        state.hiscoreScores[1] = 600;
        game::saveHiscores(state);
        return state.hiscoreNames[1] == "new" ? 0 : 2;
    });
    EXPECT_EQ(result, 0) << "1: not the default table, 2: the table in memory changed";
    EXPECT_EQ(readWholeFile(filePath()), before) << "the player's table was saved over";
    const std::string expected = "quandrite: could not open the hiscore file " + filePath() +
                                 ": Permission denied\n"
                                 "quandrite: could not save the hiscore file " +
                                 filePath() + ": Permission denied to read it, so it is not saved over\n";
    EXPECT_EQ(readWholeFile(said), expected);
}

TEST_F(HiscoreFailures, AFailedSaveShowsInTheTitleForTwoSecondsAndKeepsTheTable) {
    // A plain file where the data folder should be: no save can work, even for root.
    testing_support::writeWholeFile(scratch.path() + "/plain", "x");
    setenv("XDG_DATA_HOME", (scratch.path() + "/plain").c_str(), 1);
    state.hiscoreNames[4] = "new";
    state.hiscoreScores[4] = 420;
    testing::internal::CaptureStderr();
    game::saveHiscores(state);
    testing::internal::GetCapturedStderr();
    const std::vector<std::pair<std::string, int>> expected = {{" Saving score...", 508},
                                                               {" Saving score failed", 2000}};
    EXPECT_EQ(watch.waits, expected);
    EXPECT_EQ(state.hiscoreNames[4], "new");
    EXPECT_EQ(state.hiscoreScores[4], 420);

    setenv("XDG_DATA_HOME", scratch.path().c_str(), 1);
    watch.waits.clear();
    game::saveHiscores(state);
    EXPECT_EQ(watch.waits, (std::vector<std::pair<std::string, int>>{{" Saving score...", 508}}))
        << "a save that works shows no failure";
}

}  // namespace
