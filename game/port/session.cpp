// SPDX-License-Identifier: MIT
#include "game/port/session.h"

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <optional>

#include "core/random.h"
#include "game/port/automation.h"
#include "game/port/demo.h"
#include "game/port/game.h"
#include "game/port/player_run.h"
#include "game/port/replay_keeper.h"
#include "game/port/state_hash.h"
#include "media/device_keys.h"
#include "media/window.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/quit_signals.h"

namespace game {

namespace {
void printSummary(const Game& game, uint64_t frames) {
    const GameState& s = game.state;
    std::printf("frames %" PRIu64 " level %d lives %d score %d hash %016" PRIx64 "\n", frames, s.levelNumber, s.lives,
                s.score, hashGameState(s));
}
}  // namespace

int runSession(const SessionOptions& options) {
    // From here on a quit signal ends the run the normal way, which removes
    // the private folder and writes the demo recorded so far.
    platform::catchQuitSignals();
    removeStalePrivateDataFolders();
    bool replaying = !options.playPath.empty();
    bool recording = !options.recordPath.empty();
    // A file the run will write at its end must be writable from its start, so
    // a long game is not played for nothing.
    for (const std::string* output : {&options.recordPath, &options.screenshotPath}) {
        if (output->empty()) continue;
        if (std::string problem = platform::whyNotWritable(*output); !problem.empty()) {
            std::fprintf(stderr, "quandrite: cannot write %s\n", problem.c_str());
            return 1;
        }
    }
    Demo demo;
    if (replaying) {
        std::string error;
        if (!readDemoFile(options.playPath, demo, error)) {
            std::fprintf(stderr, "quandrite: %s\n", error.c_str());
            return 2;
        }
    }
    if (options.headless) runHeadless();
    if (options.scale) media::setScaleMode(*options.scale);
    if (options.renderer) media::setRendererChoice(*options.renderer);
    if (!options.headless && !media::startWindows()) {
        std::fprintf(stderr, "quandrite: cannot open a window: %s\n", media::windowFailure().c_str());
        return 1;
    }

    uint32_t seed = replaying
                        ? demo.seed
                        : options.seed.value_or(static_cast<uint32_t>(
                              std::chrono::steady_clock::now().time_since_epoch().count() ^ platform::processId()));
    // A replay or a scene keeps nothing of the player's: not the table, not
    // the settings, not replays of itself.
    const bool keepsNothing = replaying || options.scene;
    PlayerRun player(options, keepsNothing, recording);
    if (replaying || recording || options.seed || player.keepsReplays()) core::seedRandom(seed);

    // A recorded game is a real game and keeps its score in the player's table.
    std::optional<PrivateDataFolder> dataFolder;
    if (keepsNothing) dataFolder.emplace();
    std::optional<Timedemo> timedemo;
    if (options.timedemo) timedemo.emplace();

    Demo recorded;
    recorded.seed = seed;
    recorded.buildId = kBuildId;
    Game game;
    double seconds = 0;
    bool screenshotWritten = false;
    {
        std::optional<DemoPlayback> playback;
        if (replaying) playback.emplace(demo);
        std::optional<DemoRecording> recorder;
        if (recording) recorder.emplace(recorded);
        FrameActions frameActions(options.screenshotFrame, options.screenshotPath, options.frameLimit);

        auto started = std::chrono::steady_clock::now();
        StartValues values;
        if (replaying) values = demo.start;
        player.prepare(values);
        game.startUp(values);
        recorded.start = startValuesOf(game.state);
        player.started(game, seed);
        if (options.scene) enterScene(game, *options.scene);
        // A replay watched in a window shows its game, not the title before
        // it, and any key or button ends it. A screenshot or a frame limit
        // counts every frame from start-up, so those runs show them all.
        bool watching = replaying && !options.headless && !options.timedemo && !options.screenshotFrame &&
                        !options.frameLimit;
        if (watching) {
            runUnseenUntil(game, *playback, demo.gameStart);
            game.showReplayTag(true);
            media::pollDevices();
        }
        while (game.screen() != Screen::Closed) {
            game.runFrame();
            player.afterFrame(game);
            if (watching && game.screen() != Screen::Closed && anyFreshPress(media::deviceInput()))
                game.enterScreen(Screen::Closed);
        }
        player.finish();
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        screenshotWritten = frameActions.screenshotWritten();
    }
    timedemo.reset();
    uint64_t frames = framesShown();

    int status = 0;
    if (std::string failure = media::windowFailure(); !failure.empty() && !options.headless) {
        std::fprintf(stderr, "quandrite: cannot open a window: %s\n", failure.c_str());
        status = 1;
    }
    if (options.screenshotFrame && !screenshotWritten) {
        std::fprintf(stderr, "quandrite: could not write the screenshot %s%s\n", options.screenshotPath.c_str(),
                     frames < *options.screenshotFrame ? ": the game ended before that frame" : "");
        status = 1;
    }
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
    return status;
}

}  // namespace game
