// SPDX-License-Identifier: MIT
// Replays of the player's games: one is kept for each game, it plays back to
// the same end into a table of its own, the folder keeps the newest and the
// best, and the title screen's R plays the best one.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "core/clock.h"
#include "core/random.h"
#include "game/port/demo.h"
#include "game/port/game.h"
#include "game/port/player_run.h"
#include "game/port/replay_keeper.h"
#include "game/port/replays.h"
#include "game/port/state_hash.h"
#include "media/automation.h"
#include "media/device_keys.h"
#include "media/keyboard.h"
#include "media/test_hooks.h"
#include "test_support.h"

namespace {

using namespace game;
using testing_support::readWholeFile;
using testing_support::ScratchDir;
namespace key = media::key;

class PlayersRun : public ::testing::Test {
protected:
    void SetUp() override {
        media::chooseBackend(media::Backend::Headless);
        media::setFramePacing(false);
        core::setClock(&clock);
        media::injectKeys({});
        run.emplace(SessionOptions{}, false, false);
        core::seedRandom(777);
        StartValues values;
        run->prepare(values);
        game.startUp(values);
        // A table any score makes, so the game ends with initials entered.
        for (int row = 1; row <= 10; ++row) game.state.hiscoreScores[row] = 0;
        run->started(game, 777);
    }
    void TearDown() override {
        game.endProgram();
        media::setKeyboardObserver(nullptr);
        media::setKeyboardSource(nullptr);
        media::setDeviceKeyboard(nullptr);
        core::setClock(nullptr);
    }
    void frames(int n, std::vector<int> keys = {}) {
        media::injectKeys(keys);
        for (int i = 0; i < n && game.screen() != Screen::Closed; ++i) {
            game.runFrame();
            run->afterFrame(game);
        }
    }
    // A whole game: started, walked, lost to the wall, three empty initials.
    void playAGame() {
        frames(1, {key::Return});
        frames(5);
        frames(1, {key::Space});
        frames(300, {key::Right});
        for (int i = 0; i < 3000 && game.screen() == Screen::Play; ++i) frames(1);
        ASSERT_EQ(game.screen(), Screen::GameOver);
        for (int i = 0; i < 20 && game.screen() == Screen::GameOver; ++i) {
            frames(1, {key::Return});
            frames(1);
        }
        ASSERT_EQ(game.screen(), Screen::Title);
    }
    std::string hiscoreFile() const { return data.path() + "/quandrite/quandrite.dat"; }

    ScratchDir config, data;
    testing_support::ScopedEnv configHome{"XDG_CONFIG_HOME", config.path().c_str()};
    testing_support::ScopedEnv dataHome{"XDG_DATA_HOME", data.path().c_str()};
    core::VirtualClock clock;
    std::optional<PlayerRun> run;
    Game game;
};

TEST_F(PlayersRun, AFinishedGameLeavesAReplayThatPlaysToTheSameEndIntoATableOfItsOwn) {
    frames(30);
    playAGame();
    const uint64_t endHash = hashGameState(game.state);
    const GameState end = game.state;
    std::vector<ReplayFile> kept = listReplays(data.path() + "/quandrite/replays");
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].score, end.hiscoreScores[1]) << "named by its score";
    const std::string table = readWholeFile(hiscoreFile());
    ASSERT_FALSE(table.empty()) << "the game saved its initials";

    std::filesystem::remove(hiscoreFile());
    Game replayed;
    Demo demo;
    std::string error;
    ASSERT_TRUE(readDemoFile(kept[0].path, demo, error)) << error;
    watchReplay(replayed, demo);
    EXPECT_EQ(hashGameState(replayed.state), endHash);
    EXPECT_EQ(replayed.state.hiscoreScores, end.hiscoreScores) << "from the table the game started with";
    EXPECT_EQ(replayed.state.hiscoreNames, end.hiscoreNames);
    EXPECT_FALSE(std::filesystem::exists(hiscoreFile())) << "the replay saved into the player's table";
    EXPECT_EQ(std::string(std::getenv("XDG_DATA_HOME")), data.path());
    replayed.endProgram();

#ifdef QUANDRITE_PROGRAM
    // And the program's --play, as a player would run it.
    std::string command = std::string(QUANDRITE_PROGRAM) + " --headless --play '" + kept[0].path + "' 2>&1";
    FILE* output = popen(command.c_str(), "r");
    ASSERT_NE(output, nullptr);
    char line[512] = {};
    std::string said;
    while (std::fgets(line, sizeof line, output)) said += line;
    EXPECT_EQ(pclose(output), 0) << said;
    char hash[32];
    std::snprintf(hash, sizeof hash, "hash %016llx", static_cast<unsigned long long>(endHash));
    EXPECT_NE(said.find(hash), std::string::npos) << said;
    EXPECT_FALSE(std::filesystem::exists(hiscoreFile()));
#endif
}

TEST_F(PlayersRun, RPlaysTheBestReplayUntilALeaveKeyThenTheTitleStartsAfresh) {
    playAGame();
    const auto tableBefore = game.state.hiscoreScores;
    // The devices are read twice a frame: for the way out and for the pause.
    int reads = 0;
    media::setDeviceKeyboard([&reads](uint8_t* keys) {
        if (++reads >= 400) keys[key::Escape] = 0x80;
    });
    uint64_t before = media::framesFlipped();
    frames(1, {key::R});
    EXPECT_GE(reads, 400) << "R played the replay until Escape";
    EXPECT_GE(media::framesFlipped(), before + 190);
    EXPECT_EQ(game.screen(), Screen::Title);
    EXPECT_EQ(game.state.levelFrames, 0) << "a fresh title screen";
    EXPECT_EQ(game.state.hiscoreScores, tableBefore) << "the player's table, as the file has it";
    media::setDeviceKeyboard(nullptr);
    frames(5, {key::R});
    EXPECT_EQ(game.state.levelFrames, 5) << "an R held on is not pressed again";
}

TEST(Replays, TheNewestTwentyAndTheBestAreKept) {
    ScratchDir dir;
    Demo demo;
    demo.buildId = kBuildId;
    std::string error;
    const std::time_t start = 1765000000;
    ASSERT_FALSE(saveReplay(dir.path(), demo, 900, start, error).empty()) << error;
    for (int i = 1; i <= 21; ++i) ASSERT_FALSE(saveReplay(dir.path(), demo, 10 + i, start + 60 * i, error).empty());
    std::vector<ReplayFile> kept = listReplays(dir.path());
    ASSERT_EQ(kept.size(), 21u) << "the twenty newest and the old best";
    EXPECT_EQ(kept[0].score, 900);
    EXPECT_EQ(kept[1].score, 12) << "the oldest after the best went";
    EXPECT_EQ(bestReplay(dir.path()), kept[0].path);

    ScratchDir other;
    for (int i = 0; i < 21; ++i) saveReplay(other.path(), demo, 100 + i, start + 60 * i, error);
    kept = listReplays(other.path());
    ASSERT_EQ(kept.size(), 20u);
    EXPECT_EQ(kept.front().score, 101) << "the 21st removed the oldest";
    EXPECT_EQ(bestReplay(other.path()), kept.back().path);

    std::string first = saveReplay(other.path(), demo, 5, start + 9999, error);
    std::string second = saveReplay(other.path(), demo, 7, start + 9999, error);
    EXPECT_NE(first, second) << "two games ending in the same second";
    EXPECT_NE(second.find("-2_score-00007.replay"), std::string::npos) << second;
    EXPECT_EQ(listReplays(other.path()).back().path, second);
}

TEST(Replays, AReplayOfAnotherBuildOrFormatSaysSo) {
    ScratchDir dir;
    Demo demo;
    demo.buildId = "quandrite 0.9";
    demo.start.soundOn = 0;
    std::string error;
    ASSERT_TRUE(writeDemoFile(dir.path() + "/old.replay", demo, error)) << error;
    Demo read;
    EXPECT_FALSE(readDemoFile(dir.path() + "/old.replay", read, error));
    EXPECT_NE(error.find("made by quandrite 0.9; this is " + kBuildId), std::string::npos) << error;

    demo.buildId = kBuildId;
    demo.start.hasTable = true;
    demo.start.names[3] = "ab";
    demo.start.scores[3] = 4321;
    ASSERT_TRUE(writeDemoFile(dir.path() + "/mine.replay", demo, error)) << error;
    ASSERT_TRUE(readDemoFile(dir.path() + "/mine.replay", read, error)) << error;
    EXPECT_TRUE(read.start == demo.start) << "the start is kept whole";
    std::string bytes = readWholeFile(dir.path() + "/mine.replay");
    bytes[8] = 1;
    testing_support::writeWholeFile(dir.path() + "/v1.replay", bytes);
    EXPECT_FALSE(readDemoFile(dir.path() + "/v1.replay", read, error));
    EXPECT_NE(error.find("format version 1; this game reads version 2"), std::string::npos) << error;
}

}  // namespace
