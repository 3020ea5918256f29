// SPDX-License-Identifier: MIT
#include "game/port/replay_keeper.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>

#include "core/random.h"
#include "game/port/replays.h"
#include "game/version.h"
#include "media/device_keys.h"
#include "media/keyboard.h"
#include "media/sound.h"
#include "media/window.h"
#include "platform/process.h"

namespace game {

namespace {
namespace key = media::key;

uint32_t freshSeed() {
    return static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count() ^ platform::processId());
}
}  // namespace

void ReplayKeeper::begin(uint32_t seed) {
    demo_ = Demo{};
    demo_.seed = seed;
    demo_.buildId = kBuildId;
    recording_.emplace(demo_);
    screenBefore_ = Screen::Title;
}

StartValues startValuesOf(const GameState& s) {
    StartValues start;
    start.soundOn = s.soundOn;
    start.hasTable = true;
    start.names = s.hiscoreNames;
    start.scores = s.hiscoreScores;
    start.windowX = s.lastWindowX;
    start.windowY = s.lastWindowY;
    start.windowWidth = s.lastWindowWidth;
    start.windowHeight = s.lastWindowHeight;
    return start;
}

void ReplayKeeper::started(const GameState& s) { demo_.start = startValuesOf(s); }

void ReplayKeeper::afterFrame(Game& game) {
    Screen now = game.screen();
    // The replay of this game shows it from here; the title and the games
    // before it run unseen.
    if (screenBefore_ == Screen::Title && now == Screen::Play) demo_.gameStart = demo_.frames;
    bool inGame = screenBefore_ == Screen::Play || screenBefore_ == Screen::GameOver;
    if (inGame && (now == Screen::Title || now == Screen::Closed)) {
        std::string error;
        if (saveReplay(folder_, demo_, scoreBefore_, std::time(nullptr), error).empty())
            std::fprintf(stderr, "quandrite: the replay was not kept: %s\n", error.c_str());
    }
    screenBefore_ = now;
    // The title screen sets the score to 0; the game's last score is the one before.
    if (now == Screen::Play || now == Screen::GameOver) scoreBefore_ = game.state.score;

    bool replayKey = now == Screen::Title && media::keyPushed(key::R);
    bool fresh = replayKey && !replayKeyBefore_;
    replayKeyBefore_ = replayKey;
    if (fresh) watchBest(game);
}

StartValues ReplayKeeper::restartValues(const GameState& s) const {
    // The player's own table comes from the file again, not from the replay.
    StartValues values = startValuesOf(s);
    values.hasTable = false;
    values.names = {};
    values.scores = {};
    return values;
}

void ReplayKeeper::watchBest(Game& game) {
    BestReplay best = bestReplay(folder_);
    for (const std::string& skipped : best.skipped)
        std::fprintf(stderr, "quandrite: a replay was skipped: %s\n", skipped.c_str());
    if (best.path.empty()) {
        if (best.skipped.empty()) return;
        // The player looks at the window, not at a terminal.
        const char* why = best.fault == DemoFault::OtherVersion ? "the best replay is of another version"
                          : best.fault == DemoFault::Unreadable ? "the best replay cannot be read"
                                                                : "the best replay is damaged";
        media::setWindowTitle(0, std::string(" Quandrite ") + kShortVersion + " - " + why);
        return;
    }
    StartValues restart = restartValues(game.state);
    const Demo& demo = best.demo;
    // What the replay's game examines is not the player's game.
    recording_.reset();
    watchReplay(game, demo);
    if (game.screen() == Screen::Closed) return;
    // Back to the title as at start-up, with a new recording.
    media::stopSound(-1);
    uint32_t seed = freshSeed();
    core::seedRandom(seed);
    begin(seed);
    game.startUp(restart);
    started(game.state);
    replayKeyBefore_ = true;
}

bool anyFreshPress(const media::DeviceInput& input) {
    if (input.padPressed) return true;
    for (uint8_t down : input.pressed)
        if (down) return true;
    return false;
}

void watchReplay(Game& game, const Demo& demo) {
    PrivateDataFolder privateData;
    StartValues values = demo.start;
    DemoPlayback playback(demo, false);
    media::stopSound(-1);
    core::seedRandom(demo.seed);
    {
        UnseenFrames unseen;
        game.startUp(values);
    }
    runUnseenUntil(game, playback, demo.gameStart);
    game.showReplayTag(true);
    // Keys already held (the R, a key of the player's) do not end it: only a
    // press after this read does.
    media::pollDevices();
    while (game.screen() != Screen::Closed && !playback.finished()) {
        game.runFrame();
        if (anyFreshPress(media::deviceInput())) break;
    }
    game.showReplayTag(false);
}

}  // namespace game
