#include "game/session.h"

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "game/demo.h"
#include "game/game.h"
#include "game/player_run.h"
#include "game/private_data.h"
#include "game/replay_keeper.h"
#include "game/state_hash.h"
#include "media/clock.h"
#include "media/random.h"
#include "media/test_hooks.h"
#include "media/window.h"

namespace game {

namespace {
void printSummary(const Game& game, uint64_t frames) {
    const GameState& s = game.state;
    std::printf("frames %" PRIu64 " level %d lives %d score %d hash %016" PRIx64 "\n", frames, s.levelNumber, s.lives,
                s.score, hashGameState(s));
}
}  // namespace

int runSession(const SessionOptions& options) {
    bool replaying = !options.playPath.empty();
    bool recording = !options.recordPath.empty();
    Demo demo;
    if (replaying) {
        std::string error;
        if (!readDemoFile(options.playPath, demo, error)) {
            std::fprintf(stderr, "quandrite: %s\n", error.c_str());
            return 2;
        }
    }
    if (options.headless) media::setHeadless(true);

    uint32_t seed = replaying ? demo.seed
                              : options.seed.value_or(static_cast<uint32_t>(
                                    std::chrono::steady_clock::now().time_since_epoch().count() ^ getpid()));
    PlayerRun player(options, replaying, recording);
    if (replaying || recording || options.seed || player.keepsReplays()) media::seedRandom(seed);

    std::optional<PrivateDataFolder> dataFolder;
    if (replaying || recording) dataFolder.emplace();

    media::VirtualClock virtualClock;
    if (options.timedemo) {
        media::setClock(&virtualClock);
        media::setFramePacing(false);
        // Silent: SDL's dummy audio driver mixes into nothing.
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }

    DemoCursor cursor(demo);
    if (replaying) {
        media::setKeyboardSource([&cursor, &demo](uint8_t* snapshot) {
            if (!cursor.next(snapshot)) std::fill(snapshot, snapshot + 256, 0);
            // After the last recorded frame the player closed the window.
            if (cursor.position() >= demo.frames) media::injectWindowEvent(media::kEventCloseWindow);
            return true;
        });
    }
    Demo recorded;
    recorded.seed = seed;
    recorded.buildId = kBuildId;
    DemoRecorder recorder(recorded);
    if (recording || player.keepsReplays())
        media::setKeyboardObserver([&](const uint8_t* snapshot) {
            if (recording) recorder.record(snapshot);
            player.record(snapshot);
        });

    media::setFlipObserver([&options](uint64_t frame) {
        if (options.screenshotFrame && frame == *options.screenshotFrame &&
            !media::saveScreenshotPng(options.screenshotPath))
            std::fprintf(stderr, "quandrite: could not write the screenshot %s\n", options.screenshotPath.c_str());
        if (options.frameLimit && frame == *options.frameLimit) media::injectWindowEvent(media::kEventCloseWindow);
    });

    auto started = std::chrono::steady_clock::now();
    StartValues values;
    if (replaying) values.start = demo.start;
    player.prepare(values);
    Game game;
    game.startUp(values);
    recorded.start = demoStartOf(game.state);
    player.started(game, seed);
    while (game.screen() != Screen::Closed) {
        game.runFrame();
        player.afterFrame(game);
    }
    player.finish();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    uint64_t frames = media::framesFlipped();

    media::setFlipObserver(nullptr);
    media::setKeyboardSource(nullptr);
    media::setKeyboardObserver(nullptr);
    media::setClock(nullptr);

    if (recording) {
        std::string error;
        if (!writeDemoFile(options.recordPath, recorded, error)) {
            std::fprintf(stderr, "quandrite: %s\n", error.c_str());
            return 1;
        }
    }
    if (options.timedemo)
        std::printf("timedemo: %" PRIu64 " frames in %.3f seconds, %.1f frames per second\n", frames, seconds,
                    seconds > 0 ? frames / seconds : 0.0);
    if (replaying) printSummary(game, frames);
    return 0;
}

}  // namespace game
