// SPDX-License-Identifier: MIT
// Replays of the player's games: one is kept for each game, it plays back to
// the same end into a table of its own, the folder keeps the newest and the
// best, and the title screen's R plays the best one.
#include <gtest/gtest.h>

#include <algorithm>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <thread>

#include "core/clock.h"
#include "core/random.h"
#include "game/port/demo.h"
#include "game/port/game.h"
#include "game/port/player_run.h"
#include "game/port/replay_keeper.h"
#include "game/port/replays.h"
#include "game/port/state_hash.h"
#include "game/rules/catalogue.h"
#include "media/automation.h"
#include "media/device_keys.h"
#include "media/keyboard.h"
#include "media/test_hooks.h"
#include "platform/safe_file.h"
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
    // The devices are read once a frame, for the way out and the pause alike.
    int reads = 0;
    media::setDeviceKeyboard([&reads](uint8_t* keys) {
        if (++reads >= 200) keys[key::Escape] = 0x80;
    });
    uint64_t before = media::framesFlipped();
    frames(1, {key::R});
    EXPECT_GE(reads, 200) << "R played the replay until Escape";
    EXPECT_NEAR(static_cast<double>(media::framesFlipped() - before), reads, 3) << "one read a frame";
    EXPECT_EQ(game.screen(), Screen::Title);
    EXPECT_EQ(game.state.levelFrames, 0) << "a fresh title screen";
    EXPECT_EQ(game.state.hiscoreScores, tableBefore) << "the player's table, as the file has it";
    media::setDeviceKeyboard(nullptr);
    frames(5, {key::R});
    EXPECT_EQ(game.state.levelFrames, 5) << "an R held on is not pressed again";
}

// A replay of the second game of a run: the title and the first game run
// unseen and cost no time, then the second game is shown from its first
// frame, every frame with the REPLAY tag.
TEST_F(PlayersRun, AWatchedReplayShowsItsOwnGameFromItsFirstFrameWithATag) {
    frames(30);
    playAGame();
    frames(200);
    playAGame();
    std::vector<ReplayFile> kept = listReplays(data.path() + "/quandrite/replays");
    ASSERT_EQ(kept.size(), 2u);
    Demo demo;
    std::string error;
    ASSERT_TRUE(readDemoFile(kept.back().path, demo, error)) << error;
    Demo first;
    ASSERT_TRUE(readDemoFile(kept.front().path, first, error)) << error;
    EXPECT_GT(first.gameStart, 30u) << "after the title's frames";
    EXPECT_GT(demo.gameStart, first.frames) << "the second game starts after the first one ended";
    EXPECT_LT(demo.gameStart, demo.frames);

    struct Shown {
        Screen screen;
        int level;
        bool tagged;
        uint64_t clockMs;
    };
    std::vector<Shown> shown;
    std::vector<media::DrawCall> drawn;
    Game replayed;
    media::setDrawLog(&drawn);
    media::setFlipObserver([&](uint64_t) {
        // An unseen frame draws nothing.
        if (drawn.empty()) return;
        bool tagged = std::any_of(drawn.begin(), drawn.end(),
                                  [](const media::DrawCall& d) { return d.sprite == sprite::ReplayTag; });
        shown.push_back({replayed.screen(), replayed.state.levelNumber, tagged, clock.nowMilliseconds()});
        drawn.clear();
    });
    const uint64_t startMs = clock.nowMilliseconds();
    const uint64_t flipsBefore = media::framesFlipped();
    watchReplay(replayed, demo);
    media::setFlipObserver(nullptr);
    media::setDrawLog(nullptr);
    replayed.endProgram();

    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front().screen, Screen::Play) << "the first frame shown is of the game";
    EXPECT_EQ(shown.front().level, 1);
    EXPECT_LE(shown.front().clockMs - startMs, 1000u) << "its first level within a second";
    EXPECT_TRUE(std::none_of(shown.begin(), shown.end(), [](const Shown& f) { return f.screen == Screen::Title; }))
        << "the title before it is not shown";
    EXPECT_TRUE(std::all_of(shown.begin(), shown.end(), [](const Shown& f) { return f.tagged; }));
    EXPECT_GE(media::framesFlipped() - flipsBefore - shown.size(), demo.gameStart - 5) << "the rest ran unseen";
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
    EXPECT_EQ(bestReplay(dir.path()).path, kept[0].path);

    ScratchDir other;
    for (int i = 0; i < 21; ++i) saveReplay(other.path(), demo, 100 + i, start + 60 * i, error);
    kept = listReplays(other.path());
    ASSERT_EQ(kept.size(), 20u);
    EXPECT_EQ(kept.front().score, 101) << "the 21st removed the oldest";
    EXPECT_EQ(bestReplay(other.path()).path, kept.back().path);

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
    EXPECT_NE(error.find("format version 1; this game reads versions 2 to 3"), std::string::npos) << error;
}

TEST(Replays, ASavedReplayIsWholeOnTheDiskOrNotThereWithTheReason) {
    ScratchDir dir;
    Demo demo;
    demo.buildId = kBuildId;
    demo.seed = 4242;
    demo.frames = 900;
    demo.changes = {{10, {key::Right}}, {200, {key::Right, key::Space}}};
    std::string error;
    const std::string folder = dir.path() + "/quandrite/replays";
    std::string path = saveReplay(folder, demo, 1234, 1765000000, error);
    ASSERT_FALSE(path.empty()) << error;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << "no temporary file left";
    Demo back;
    ASSERT_TRUE(readDemoFile(path, back, error)) << error;
    EXPECT_EQ(encodeDemo(back), encodeDemo(demo));

    // A folder the player cannot write: the save fails, says why, leaves nothing.
    std::filesystem::permissions(dir.path(), std::filesystem::perms::all);
    std::filesystem::permissions(dir.path() + "/quandrite", std::filesystem::perms::all);
    chmod(folder.c_str(), 0555);
    int result = testing_support::exitCodeAsOrdinaryUser([&] {
        std::string why;
        if (!saveReplay(folder, demo, 99, 1765000100, why).empty()) return 1;
        return why.find(": Permission denied") != std::string::npos ? 0 : 2;
    });
    chmod(folder.c_str(), 0755);
    EXPECT_EQ(result, 0) << "1: reported saved, 2: not the system's reason";
    EXPECT_EQ(listReplays(folder).size(), 1u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
}

// The bytes of a demo with one value of its start changed: the window's
// width, height, x or y (fields 0 to 3 of the four after the table).
std::string withWindowValue(const Demo& demo, int field, uint32_t value) {
    std::string bytes = encodeDemo(demo);
    size_t at = 8 + 2 + 4 + 1 + demo.buildId.size() + 1 + 1 + 4 * static_cast<size_t>(field);
    for (int i = 0; i < 4; ++i) bytes[at + static_cast<size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

TEST(ReplayFiles, EveryValueOfTheStartIsHeldToWhatASettingCouldBe) {
    Demo demo;
    demo.buildId = kBuildId;
    demo.start.windowX = 100;
    demo.start.windowY = 50;
    std::string error;
    decodeDemo(encodeDemo(demo), error);
    ASSERT_EQ(error, "");
    const struct {
        int field;
        uint32_t value;
        const char* said;
    } damaged[] = {
        {2, 2147483647u, "its window is 2147483647 x 607"},
        {2, 16385, "its window is 16385 x 607"},
        {3, 63, "its window is 1020 x 63"},
        {3, 0xFFFFFFFFu, "its window is 1020 x -1"},
        {0, 0x80000000u, "off any desktop"},
        {1, 16385, "off any desktop"},
    };
    for (const auto& bad : damaged) {
        Demo read = decodeDemo(withWindowValue(demo, bad.field, bad.value), error);
        EXPECT_NE(error.find(bad.said), std::string::npos) << bad.value << ": " << error;
        EXPECT_EQ(read.start.windowWidth, 1020) << "nothing of a damaged demo is kept";
    }
    for (uint32_t fine : {64u, 16384u}) {
        decodeDemo(withWindowValue(demo, 2, fine), error);
        EXPECT_EQ(error, "") << fine;
    }
    Demo centred = demo;
    centred.start.windowX = centred.start.windowY = -1;
    decodeDemo(encodeDemo(centred), error);
    EXPECT_EQ(error, "") << "-1, -1: centred";

    demo.start.hasTable = true;
    demo.start.names[1] = "abcd";
    decodeDemo(encodeDemo(demo), error);
    EXPECT_NE(error.find("a name of 4 letters"), std::string::npos) << error;
    std::string bytes = encodeDemo(Demo{0, kBuildId, {}, 0, 0, {}});
    bytes[8 + 2 + 4 + 1 + kBuildId.size()] = 2;
    decodeDemo(bytes, error);
    EXPECT_NE(error.find("its sound switch is 2"), std::string::npos) << error;
}

// The files of the version before, which lack the game's start, still
// play, from start-up; a game that starts after the file's end is damage.
TEST(ReplayFiles, TheGamesStartIsKeptAndOlderFilesWithoutItStillPlay) {
    Demo demo;
    demo.buildId = kBuildId;
    demo.frames = 900;
    demo.gameStart = 345;
    demo.changes = {{10, {key::Right}}, {400, {key::Right}}};
    std::string error;
    std::string bytes = encodeDemo(demo);
    Demo back = decodeDemo(bytes, error);
    ASSERT_EQ(error, "");
    EXPECT_EQ(back.gameStart, 345u);

    // Version 2: the version before, without the start's varint (one byte
    // for 0) after the window's place and size.
    demo.gameStart = 0;
    std::string v2 = encodeDemo(demo);
    const size_t header = 8 + 2 + 4 + 1 + kBuildId.size() + 1 + 1 + 16;
    ASSERT_EQ(static_cast<uint8_t>(v2[header]), 0) << "the start's varint";
    v2.erase(header, 1);
    v2[8] = 2;
    Demo old = decodeDemo(v2, error);
    ASSERT_EQ(error, "") << "a version 2 file is read";
    EXPECT_EQ(old.gameStart, 0u) << "and played from start-up";
    EXPECT_EQ(old.frames, 900u);
    EXPECT_EQ(old.changes.size(), 2u);

    demo.gameStart = 901;
    decodeDemo(encodeDemo(demo), error);
    EXPECT_NE(error.find("its game starts after its end"), std::string::npos) << error;
}

TEST(ReplayFiles, ADemoIsBoundedByWhatAGameCanReachBeforeItIsRead) {
    ScratchDir dir;
    Demo demo;
    demo.buildId = kBuildId;
    std::string error;
    demo.frames = kMaxDemoFrames + 1;
    EXPECT_FALSE(writeDemoFile(dir.path() + "/long.replay", demo, error));
    EXPECT_NE(error.find("too long to keep"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "/long.replay"));

    // One key change too many, each a frame after the last: refused as read,
    // not after the whole file has been taken in.
    demo.frames = 0;
    std::string bytes = encodeDemo(demo);
    bytes.resize(bytes.size() - 2);
    for (size_t i = 0; i <= kMaxDemoChanges; ++i) bytes += std::string("\x01\x01\x39", 3);
    bytes += std::string("\x00\xFF", 2);
    ASSERT_LE(bytes.size(), kMaxDemoBytes);
    Demo read = decodeDemo(bytes, error);
    EXPECT_NE(error.find("more key changes than a game makes"), std::string::npos) << error;
    EXPECT_TRUE(read.changes.empty());

    // Frames past six hours in one step.
    bytes = encodeDemo(demo);
    bytes.resize(bytes.size() - 2);
    uint64_t frames = kMaxDemoFrames + 1;
    while (frames >= 0x80) {
        bytes.push_back(static_cast<char>((frames & 0x7F) | 0x80));
        frames >>= 7;
    }
    bytes.push_back(static_cast<char>(frames));
    bytes.push_back('\xFF');
    decodeDemo(bytes, error);
    EXPECT_NE(error.find("more frames than a game plays"), std::string::npos) << error;

    testing_support::writeWholeFile(dir.path() + "/big.replay", std::string(kMaxDemoBytes + 1, 'Q'));
    DemoFault fault = DemoFault::None;
    EXPECT_FALSE(readDemoFile(dir.path() + "/big.replay", read, error, &fault));
    EXPECT_NE(error.find("too large for a demo"), std::string::npos) << error;
    EXPECT_EQ(fault, DemoFault::Damaged);
}

TEST(ReplayFiles, ABrokenBestReplayIsSkippedWithItsReasonAndRemovedAtTheNextSave) {
    ScratchDir dir;
    Demo demo;
    demo.buildId = kBuildId;
    demo.frames = 60;
    std::string error;
    const std::time_t start = 1765000000;
    std::string good = saveReplay(dir.path(), demo, 300, start, error);
    ASSERT_FALSE(good.empty()) << error;
    // One of another version, and a save killed half-way by an older build.
    Demo foreign = demo;
    foreign.buildId = "quandrite 0.9";
    std::string other = saveReplay(dir.path(), foreign, 600, start + 60, error);
    ASSERT_FALSE(other.empty()) << error;
    std::string cut = saveReplay(dir.path(), demo, 900, start + 120, error);
    std::string whole = readWholeFile(cut);
    testing_support::writeWholeFile(cut, whole.substr(0, whole.size() / 2));

    BestReplay best = bestReplay(dir.path());
    EXPECT_EQ(best.path, good) << "the best that plays";
    EXPECT_EQ(best.demo.frames, 60u);
    ASSERT_EQ(best.skipped.size(), 2u);
    EXPECT_NE(best.skipped[0].find("truncated"), std::string::npos) << best.skipped[0];
    EXPECT_NE(best.skipped[1].find("made by quandrite 0.9"), std::string::npos) << best.skipped[1];

    std::filesystem::remove(good);
    best = bestReplay(dir.path());
    EXPECT_TRUE(best.path.empty());
    EXPECT_EQ(best.fault, DemoFault::Damaged) << "the reason of the best-scoring one";

    ASSERT_FALSE(saveReplay(dir.path(), demo, 100, start + 180, error).empty()) << error;
    EXPECT_FALSE(std::filesystem::exists(cut)) << "a damaged replay never plays again";
    EXPECT_TRUE(std::filesystem::exists(other)) << "another version's plays with that version";
    EXPECT_EQ(bestReplay(dir.path()).demo.frames, 60u);
}

TEST(ReplayFiles, SavesKilledAtAnyMomentLeaveOnlyWholeReplaysAfterTheNextStart) {
    ScratchDir dir;
    const std::string folder = dir.path() + "/replays";
    Demo demo;
    demo.buildId = kBuildId;
    demo.frames = 20000;
    for (uint64_t frame = 1; frame < 20000; frame += 3) demo.changes.push_back({frame, {key::Right}});
    std::mt19937 random(1234);
    int pipeEnds[2];
    for (int kill = 0; kill < 300; ++kill) {
        ASSERT_EQ(pipe(pipeEnds), 0);
        pid_t child = fork();
        if (child == 0) {
            close(pipeEnds[0]);
            std::string error;
            for (int game = 0;; ++game) {
                // "About to save": the killer strikes somewhere in the save.
                if (write(pipeEnds[1], "s", 1) != 1) _exit(1);
                saveReplay(folder, demo, game % 500, 1765000000 + 1000 * kill + game, error);
            }
        }
        close(pipeEnds[1]);
        char said = 0;
        ASSERT_EQ(read(pipeEnds[0], &said, 1), 1);
        // Somewhere from the start of the save to well past its end.
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
        ::kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        close(pipeEnds[0]);
    }
    // The next start of a player's run.
    platform::removeStaleSavesIn(folder);
    int replays = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename();
        ASSERT_EQ(name.find(".saving-"), std::string::npos) << "a stale temporary file: " << name;
        Demo read;
        std::string error;
        EXPECT_TRUE(readDemoFile(entry.path(), read, error)) << "cut or empty: " << error;
        ++replays;
    }
    EXPECT_GT(replays, 0);
    // Kills between a save and its pruning left more; the next game prunes.
    std::string error;
    ASSERT_FALSE(saveReplay(folder, demo, 1, 1765999999, error).empty()) << error;
    EXPECT_LE(listReplays(folder).size(), kKeptReplays + 1);
}

}  // namespace
