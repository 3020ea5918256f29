// SPDX-License-Identifier: MIT
// The player's settings: the file's lines, writing it whole, surviving what a
// player's disk may hold, and a setting honoured at the next start.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "core/clock.h"
#include "core/random.h"
#include "game/port/game.h"
#include "game/port/player_run.h"
#include "game/port/settings.h"
#include "game/port/settings_keeper.h"
#include "media/automation.h"
#include "media/keyboard.h"
#include "media/presentation.h"
#include "media/sound.h"
#include "media/test_hooks.h"
#include "test_support.h"

namespace {

using namespace game;
using testing_support::readWholeFile;
using testing_support::ScratchDir;
using testing_support::writeWholeFile;

Settings unusual() {
    Settings s;
    s.sound = false;
    s.fullscreen = true;
    s.scale = "integer";
    s.width = 1600;
    s.height = 900;
    s.renderer = "software";
    s.volume = 35;
    s.filter = "smooth";
    s.hints = false;
    return s;
}

std::set<std::string> namesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename());
    return names;
}

TEST(Settings, EveryValueRoundTripsThroughTheFile) {
    ScratchDir dir;
    std::string path = dir.path() + "/new/quandrite/settings.ini";
    std::string error;
    ASSERT_TRUE(writeSettingsFile(path, Settings{}, unusual(), error)) << error;
    EXPECT_EQ(readSettingsFile(path), unusual());
    std::vector<std::string> complaints;
    EXPECT_EQ(parseSettings(formatSettings(Settings{}), complaints), Settings{});
    EXPECT_TRUE(complaints.empty());
    // Nothing is left beside it.
    EXPECT_EQ(namesIn(dir.path() + "/new/quandrite"), (std::set<std::string>{"settings.ini", "settings.ini.lock"}))
        << "the file and the lock that keeps two windows of the game from saving at once";
    EXPECT_EQ(readSettingsFile(dir.path() + "/missing.ini"), Settings{}) << "no file: the original game";
}

TEST(Settings, EachBadLineIsNamedAndTheRestIsTaken) {
    std::vector<std::string> complaints;
    Settings s = parseSettings(
        "# mine\n"
        "sound = maybe\n"
        "volume = 150\n"
        "size = 10x10\n"
        "colour = red\n"
        "just words\n"
        "  Volume = 40   ; quieter\n"
        "SCALE=Aspect\n"
        "size = 1280x720\n"
        "fullscreen = yes\n"
        "filter = blurry\n"
        "hints = off\n",
        complaints);
    EXPECT_EQ(s.volume, 40);
    EXPECT_EQ(s.scale, "aspect");
    EXPECT_EQ(s.width, 1280);
    EXPECT_EQ(s.height, 720);
    EXPECT_TRUE(s.fullscreen);
    EXPECT_TRUE(s.sound) << "a bad value leaves the default";
    EXPECT_FALSE(s.hints);
    EXPECT_EQ(s.filter, "auto") << "an unknown filter leaves the default";
    ASSERT_EQ(complaints.size(), 6u);
    EXPECT_EQ(complaints[5], "line 11: filter is auto, sharp or smooth: filter = blurry");
    EXPECT_EQ(complaints[0].rfind("line 2: sound is on or off", 0), 0u) << complaints[0];
    EXPECT_EQ(complaints[1].rfind("line 3: volume", 0), 0u) << complaints[1];
    EXPECT_EQ(complaints[2].rfind("line 4: size", 0), 0u) << complaints[2];
    EXPECT_EQ(complaints[3], "line 5: unknown setting \"colour\": colour = red");
    EXPECT_EQ(complaints[4].rfind("line 6: expected", 0), 0u) << complaints[4];

    ScratchDir dir;
    writeWholeFile(dir.path() + "/settings.ini", std::string("\0\xff\xfe garbage\n", 12) + "sound = off\n");
    testing::internal::CaptureStderr();
    Settings fromBinary = readSettingsFile(dir.path() + "/settings.ini");
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(fromBinary.sound);
    EXPECT_NE(said.find("settings.ini line 1:"), std::string::npos) << said;
}

// As the player, not as root, whom no folder mode stops: 0 written, 1 not.
int writeAsNobody(const std::string& path) {
    pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(3);
        std::string error;
        _exit(writeSettingsFile(path, Settings{}, unusual(), error) ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Settings, AFolderThatCannotBeWrittenLeavesTheOldFileWhole) {
    ScratchDir dir;
    std::string folder = dir.path() + "/quandrite";
    std::filesystem::create_directories(folder);
    std::string path = folder + "/settings.ini";
    writeWholeFile(path, "volume = 20\n");
    chmod(dir.path().c_str(), 0755);
    chmod(folder.c_str(), 0555);
    chmod(path.c_str(), 0666);
    EXPECT_EQ(writeAsNobody(path), 1) << "the write must fail, and say so";
    EXPECT_EQ(readWholeFile(path), "volume = 20\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator{}), 1);

    std::string error;
    writeWholeFile(dir.path() + "/file", "");
    EXPECT_FALSE(writeSettingsFile(dir.path() + "/file/quandrite/settings.ini", Settings{}, unusual(), error));
    EXPECT_NE(error.find("cannot save the settings to"), std::string::npos) << error;
}

TEST(Settings, ALinkedFileIsSavedWhereItPointsWithItsMode) {
    ScratchDir dir;
    std::filesystem::create_directories(dir.path() + "/dotfiles");
    std::filesystem::create_directories(dir.path() + "/quandrite");
    const std::string target = dir.path() + "/dotfiles/settings.ini";
    writeWholeFile(target, "volume = 20\n");
    chmod(target.c_str(), 0600);
    const std::string path = dir.path() + "/quandrite/settings.ini";
    std::filesystem::create_symlink(target, path);
    std::string error;
    ASSERT_TRUE(writeSettingsFile(path, Settings{}, unusual(), error)) << error;
    EXPECT_TRUE(std::filesystem::is_symlink(path)) << "the player's link stays";
    EXPECT_EQ(readSettingsFile(target), unusual());
    struct stat info {};
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path() + "/dotfiles"), {}), 1);
    EXPECT_EQ(namesIn(dir.path() + "/quandrite"), (std::set<std::string>{"settings.ini", "settings.ini.lock"}));
}

TEST(SettingsKeeper, WritesWhatThePlayerChangedOnceItHoldsAndNotTheRunsOptions) {
    ScratchDir dir;
    std::string path = dir.path() + "/settings.ini";
    Settings stored;
    stored.volume = 70;
    std::string error;
    ASSERT_TRUE(writeSettingsFile(path, Settings{}, stored, error)) << error;
    Settings running = stored;
    running.fullscreen = true;  // --fullscreen for this run
    {
        SettingsKeeper keeper(path, running);
        const std::string before = readWholeFile(path);
        for (int i = 0; i < 100; ++i) keeper.follow(running);
        EXPECT_EQ(readWholeFile(path), before) << "an option of the command line is not a setting";
        Settings now = running;
        now.sound = false;
        for (int i = 0; i < SettingsKeeper::kSteadyFrames - 1; ++i) keeper.follow(now);
        EXPECT_EQ(readWholeFile(path), before);
        keeper.follow(now);
        ASSERT_NE(readWholeFile(path), before);
        Settings written = readSettingsFile(path);
        EXPECT_FALSE(written.sound);
        EXPECT_FALSE(written.fullscreen);
        EXPECT_EQ(written.volume, 70);
        now.width = 1100;
        keeper.follow(now);
    }
    EXPECT_EQ(readSettingsFile(path).width, 1100) << "a change not yet written is written at the end";
}

TEST(SettingsAtStart, SoundOffIsHonouredAtTheNextStart) {
    ScratchDir config, data;
    testing_support::ScopedEnv configHome("XDG_CONFIG_HOME", config.path().c_str());
    testing_support::ScopedEnv dataHome("XDG_DATA_HOME", data.path().c_str());
    std::filesystem::create_directories(config.path() + "/quandrite");
    writeWholeFile(config.path() + "/quandrite/settings.ini",
                   "sound = off\nvolume = 50\nsize = 800x500\nscale = integer\nrenderer = software\n");
    media::chooseBackend(media::Backend::Headless);
    media::setFramePacing(false);
    core::VirtualClock clock;
    core::setClock(&clock);
    media::injectKeys({});
    std::vector<media::SoundCall> sounds;
    media::setSoundLog(&sounds);

    SessionOptions options;  // a player's run
    PlayerRun run(options, false, false);
    StartValues values;
    run.prepare(values);
    Game game;
    game.startUp(values);
    for (int i = 0; i < 20; ++i) game.runFrame();
    EXPECT_EQ(game.state.soundOn, 0);
    EXPECT_EQ(game.state.lastWindowWidth, 800);
    EXPECT_EQ(media::masterVolume(), 50);
    EXPECT_EQ(media::scaleMode(), media::ScaleMode::Integer);
    EXPECT_EQ(media::rendererChoice(), media::RendererChoice::Software);
    for (const media::SoundCall& call : sounds)
        EXPECT_FALSE(call.kind == media::SoundCall::Play && call.number == 15) << "the music was started";
    EXPECT_FALSE(media::soundPlaying(15));

    // The title's switch is remembered for the run after.
    media::injectKeys({media::key::S});
    game.runFrame();
    media::injectKeys({});
    for (int i = 0; i < SettingsKeeper::kSteadyFrames + 2; ++i) {
        game.runFrame();
        run.afterFrame(game);
    }
    EXPECT_TRUE(readSettingsFile(config.path() + "/quandrite/settings.ini").sound);
    game.endProgram();
    media::setSoundLog(nullptr);
    media::setMasterVolume(100);
    media::setScaleMode(media::ScaleMode::Stretch);
    media::setRendererChoice(media::RendererChoice::Auto);
    media::setKeyboardSource(nullptr);
    core::setClock(nullptr);
}

TEST(SettingsAtStart, SavesThatKilledGamesLeftAreRemovedForSettingsAndReplays) {
    ScratchDir config, data;
    setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    setenv("XDG_DATA_HOME", data.path().c_str(), 1);
    pid_t dead = fork();
    if (dead == 0) _exit(0);
    ASSERT_EQ(waitpid(dead, nullptr, 0), dead);
    const std::string saving = ".saving-" + std::to_string(dead);
    const std::string settings = config.path() + "/quandrite/settings.ini";
    const std::string replays = data.path() + "/quandrite/replays";
    std::filesystem::create_directories(config.path() + "/quandrite");
    std::filesystem::create_directories(replays);
    writeWholeFile(settings, "volume = 40\n");
    writeWholeFile(settings + saving, "volume = 4");
    writeWholeFile(replays + "/2026-01-01_10-00-00_score-00100.replay" + saving, "QUAND");
    {
        PlayerRun run(SessionOptions{}, false, false);
        EXPECT_FALSE(std::filesystem::exists(settings + saving));
        EXPECT_TRUE(std::filesystem::is_empty(replays));
        EXPECT_EQ(readWholeFile(settings), "volume = 40\n");
    }
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("XDG_DATA_HOME");
}

TEST(SettingsFile, ASaveChangesOnlyItsValuesAndKeepsEveryOtherLineInPlace) {
    const std::string text =
        "# my settings\n"
        "sound = on   ; the music\n"
        "\n"
        "future_key = 7\n"
        "volume = 40\n";
    Settings before;
    before.volume = 40;
    Settings after = before;
    after.sound = false;
    after.width = 1600;
    EXPECT_EQ(updateSettingsText(text, before, after),
              "# my settings\n"
              "sound = off ; the music\n"
              "\n"
              "future_key = 7\n"
              "volume = 40\n"
              "size = 1600x607\n");
    EXPECT_EQ(updateSettingsText(text, before, before), text) << "nothing changed, nothing written";
}

TEST(SettingsFile, TwoWindowsOfTheGameKeepEachOthersChanges) {
    ScratchDir dir;
    const std::string path = dir.path() + "/settings.ini";
    writeWholeFile(path, "# kept\nvolume = 80\n");
    Settings started;
    started.volume = 80;
    {
        SettingsKeeper first(path, started);
        SettingsKeeper second(path, started);
        Settings muted = started;
        muted.sound = false;
        first.follow(muted);
        first.flush();
        Settings wide = started;
        wide.width = 1500;
        second.follow(wide);
        second.flush();
    }
    Settings both = readSettingsFile(path);
    EXPECT_FALSE(both.sound) << "the first window's change";
    EXPECT_EQ(both.width, 1500) << "the second's";
    EXPECT_EQ(both.volume, 80);
    EXPECT_EQ(readWholeFile(path).rfind("# kept\n", 0), 0u);
}

TEST(SettingsFile, WhatIsNoSettingsFileIsNamedNeverCutNorSavedOver) {
    ScratchDir dir;
    // Too long: a value across the limit must not be read cut short.
    const std::string path = dir.path() + "/settings.ini";
    std::string longText(kMaxSettingsBytes - 4, '#');
    longText += "\nvolume = 100\n";
    writeWholeFile(path, longText);
    testing::internal::CaptureStderr();
    EXPECT_EQ(readSettingsFile(path), Settings{});
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("longer than 64 KiB"), std::string::npos) << said;
    Settings quiet;
    quiet.volume = 1;
    std::string error;
    EXPECT_FALSE(writeSettingsFile(path, Settings{}, quiet, error));
    EXPECT_NE(error.find("longer than 64 KiB"), std::string::npos) << error;
    EXPECT_EQ(readWholeFile(path), longText);

    // A pipe in its place is not waited on.
    const std::string pipe = dir.path() + "/pipe.ini";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(readSettingsFile(pipe), Settings{});
    said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("not a regular file"), std::string::npos) << said;
}

}  // namespace
