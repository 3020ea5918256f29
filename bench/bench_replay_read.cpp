// SPDX-License-Identifier: MIT
// Reading the largest replay the game accepts: as many key changes as a game
// can make, one a frame, in a file of its own. docs/performance.md gives the
// time and the memory; the game reads a replay when R is pressed on the title
// and for --play, so neither may hold the game up.
//
//   build/bench/bench_replay_read   (Google Benchmark; "peak_MiB" is the
//                                    process's largest resident size)
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "game/port/demo.h"

namespace {

bool writeLargestReplay(const std::string& path) {
    game::Demo demo;
    demo.buildId = game::kBuildId;
    for (uint64_t frame = 1; frame < game::kMaxDemoChanges; ++frame) demo.changes.push_back({frame, {57}});
    demo.frames = game::kMaxDemoChanges;
    std::string error;
    if (!game::writeDemoFile(path, demo, error)) std::fprintf(stderr, "bench_replay_read: %s\n", error.c_str());
    return error.empty();
}

// Written by a child process, so that the figures are the reading's alone.
std::string largestReplay() {
    std::string path = "/tmp/quandrite-bench-" + std::to_string(getpid()) + ".replay";
    pid_t child = fork();
    if (child == 0) _exit(writeLargestReplay(path) ? 0 : 1);
    int status = 0;
    waitpid(child, &status, 0);
    return path;
}

void ReadLargestReplay(benchmark::State& state) {
    static const std::string path = largestReplay();
    for (auto _ : state) {
        game::Demo demo;
        std::string error;
        if (!game::readDemoFile(path, demo, error)) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(demo.changes.data());
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    std::remove(path.c_str());
}
BENCHMARK(ReadLargestReplay)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
