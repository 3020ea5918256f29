#include "game/session.h"

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <optional>
#include <unistd.h>

#include "game/automation.h"
#include "game/demo.h"
#include "game/game.h"
#include "game/player_run.h"
#include "game/replay_keeper.h"
#include "game/state_hash.h"
#include "media/random.h"

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
    if (options.headless) runHeadless();

    uint32_t seed = replaying ? demo.seed
                              : options.seed.value_or(static_cast<uint32_t>(
                                    std::chrono::steady_clock::now().time_since_epoch().count() ^ getpid()));
    PlayerRun player(options, replaying, recording);
    if (replaying || recording || options.seed || player.keepsReplays()) media::seedRandom(seed);

    std::optional<PrivateDataFolder> dataFolder;
    if (replaying || recording) dataFolder.emplace();
    std::optional<Timedemo> timedemo;
    if (options.timedemo) timedemo.emplace();

    Demo recorded;
    recorded.seed = seed;
    recorded.buildId = kBuildId;
    Game game;
    double seconds = 0;
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
        recorded.start = demoStartOf(game.state);
        player.started(game, seed);
        while (game.screen() != Screen::Closed) {
            game.runFrame();
            player.afterFrame(game);
        }
        player.finish();
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    }
    timedemo.reset();
    uint64_t frames = framesShown();

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
