// SPDX-License-Identifier: MIT
// What the game's frames cost in a real window, for docs/performance.md (run
// by bench/frame_cpu.sh; not a Google Benchmark run: one scene per process).
//
//   bench_scenes SCENE [SECONDS]
//     SCENE: title, level1 to level20 or gameover, as the game's --scene
//
// Brings the game to the scene (a level is started and the girl stands
// still), lets it run 2 s so that fades settle, then:
//   cpu_percent    the process's CPU time over SECONDS (default 5) of frames
//                  at 60 per second, in percent of one core
//   frame_ms       the median CPU time of the process for one frame's
//                  drawing and presenting (the game's own frame, unpaced:
//                  composing, the upload or window copy, SDL's and the
//                  driver's threads), over as many frames as the paced run showed
// The drawing path is the game's own choice unless --renderer says (as the
// game's option); --scale likewise.
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "game/port/game.h"
#include "game/port/scenes.h"
#include "media/automation.h"
#include "media/presentation.h"
#include "media/test_hooks.h"

namespace {

using Clock = std::chrono::steady_clock;

double processCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

void runFor(game::Game& g, double wallSeconds) {
    auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(wallSeconds));
    while (Clock::now() < end) g.runFrame();
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == "--renderer") {
            media::RendererChoice choice;
            if (!media::parseRendererChoice(args[i + 1], choice)) return 2;
            media::setRendererChoice(choice);
            args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
            --i;
        } else if (args[i] == "--scale") {
            media::ScaleMode mode;
            if (!media::parseScaleMode(args[i + 1], mode)) return 2;
            media::setScaleMode(mode);
            args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
            --i;
        }
    }
    if (args.empty()) {
        std::fprintf(stderr, "usage: bench_scenes [--renderer R] [--scale S] title|levelN|gameover [SECONDS]\n");
        return 2;
    }
    double measured = args.size() > 1 ? std::max(1.0, std::atof(args[1].c_str())) : 5.0;
    std::string pattern = (std::filesystem::temp_directory_path() / "bench-scenes-XXXXXX").string();
    if (mkdtemp(pattern.data())) setenv("XDG_DATA_HOME", pattern.c_str(), 1);
    // No key is down: the girl stands still.
    media::setKeyboardSource([](uint8_t* snapshot) {
        std::fill(snapshot, snapshot + 256, 0);
        return true;
    });

    game::Scene scene;
    if (!game::parseScene(args[0], scene)) {
        std::fprintf(stderr, "bench_scenes: not a scene: %s\n", args[0].c_str());
        return 2;
    }
    game::Game g;
    g.startUp();
    game::enterScene(g, scene);
    runFor(g, 2.0);
    uint64_t firstFrame = media::framesFlipped();
    double cpuStart = processCpuSeconds();
    auto wallStart = Clock::now();
    runFor(g, measured);
    double cpu = processCpuSeconds() - cpuStart;
    double wall = seconds(Clock::now() - wallStart);
    uint64_t frames = media::framesFlipped() - firstFrame;

    media::setFramePacing(false);
    std::vector<double> frameMs;
    for (uint64_t i = 0; i < frames; ++i) {
        double start = processCpuSeconds();
        g.runFrame();
        frameMs.push_back((processCpuSeconds() - start) * 1000.0);
    }
    std::sort(frameMs.begin(), frameMs.end());
    bool stillThere = g.screen() == scene.screen;
    std::printf("scene %s gpu %d frames %llu fps %.1f cpu_percent %.1f frame_ms %.3f%s\n", args[0].c_str(),
                media::screenUsesGpu() ? 1 : 0, static_cast<unsigned long long>(frames), frames / wall,
                100.0 * cpu / wall, frameMs.empty() ? 0.0 : frameMs[frameMs.size() / 2],
                stillThere ? "" : " (the scene ended during the run)");
    std::fflush(stdout);
    std::filesystem::remove_all(pattern);
    _exit(0);
}
