#include "game/session.h"

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "game/demo.h"
#include "game/game.h"
#include "game/private_data_folder.h"
#include "game/state_hash.h"
#include "media/clock.h"
#include "media/quit_signals.h"
#include "media/random.h"
#include "media/test_hooks.h"
#include "media/window.h"

namespace game {

namespace {
// A file the run will write at its end must be writable from its start, so
// a long game is not played for nothing. Empty when it can be written.
std::string outputProblem(const std::string& path) {
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (folder.empty()) folder = ".";
    struct stat info;
    if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return path + ": " + std::strerror(EISDIR);
    if (::stat(folder.c_str(), &info) != 0) return folder.string() + ": " + std::strerror(errno);
    if (!S_ISDIR(info.st_mode)) return folder.string() + ": " + std::strerror(ENOTDIR);
    if (::access(folder.c_str(), W_OK | X_OK) != 0) return folder.string() + ": " + std::strerror(errno);
    return {};
}

void printSummary(const Game& game, uint64_t frames) {
    const GameState& s = game.state;
    std::printf("frames %" PRIu64 " level %d lives %d score %d hash %016" PRIx64 "\n", frames, s.levelNumber, s.lives,
                s.score, hashGameState(s));
}
}  // namespace

int runSession(const SessionOptions& options) {
    // From here on a quit signal ends the run the normal way, which removes
    // the private folder and writes the demo recorded so far.
    media::catchQuitSignals();
    removeStalePrivateDataFolders();
    bool replaying = !options.playPath.empty();
    bool recording = !options.recordPath.empty();
    for (const std::string* output : {&options.recordPath, &options.screenshotPath}) {
        if (output->empty()) continue;
        if (std::string problem = outputProblem(*output); !problem.empty()) {
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
    if (options.headless) media::setHeadless(true);
    if (!options.headless && !media::startWindows()) {
        std::fprintf(stderr, "quandrite: cannot open a window: %s\n", media::windowFailure().c_str());
        return 1;
    }

    uint32_t seed = replaying ? demo.seed
                              : options.seed.value_or(static_cast<uint32_t>(
                                    std::chrono::steady_clock::now().time_since_epoch().count() ^ getpid()));
    if (replaying || recording || options.seed) media::seedRandom(seed);

    // A recorded game is a real game and keeps its score in the player's table.
    std::optional<PrivateDataFolder> dataFolder;
    if (replaying) dataFolder.emplace();

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
    if (recording) media::setKeyboardObserver([&recorder](const uint8_t* snapshot) { recorder.record(snapshot); });

    bool screenshotWritten = false;
    media::setFlipObserver([&options, &screenshotWritten](uint64_t frame) {
        if (options.screenshotFrame && frame == *options.screenshotFrame)
            screenshotWritten = media::saveScreenshotPng(options.screenshotPath);
        if (options.frameLimit && frame == *options.frameLimit) media::injectWindowEvent(media::kEventCloseWindow);
    });

    auto started = std::chrono::steady_clock::now();
    Game game;
    game.startUp();
    game.run();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    uint64_t frames = media::framesFlipped();

    media::setFlipObserver(nullptr);
    media::setKeyboardSource(nullptr);
    media::setKeyboardObserver(nullptr);
    media::setClock(nullptr);

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
