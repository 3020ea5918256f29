// SPDX-License-Identifier: MIT
// Screen hand-overs timed inside the game library, for docs/performance.md
// (run by bench/startup.sh and bench/reentry.sh; not a Google Benchmark run:
// the start-up can only be measured once per process).
//
//   bench_game_screens startup   milliseconds from main() to the first title
//                                frame flipped (presented when there is a
//                                display), then exits at once
//   bench_game_screens reentry N N times: Space on the title, 60 frames of
//                                level 1, Escape; prints the milliseconds
//                                from the flip of the Escape frame to the
//                                flip of the next title frame, with the
//                                game's fixed waits skipped (virtual clock)
//   bench_game_screens phases    the steps of the start-up one by one (the
//                                same calls as Game::startUp), in milliseconds
//   bench_game_screens none      returns at once (process start-up cost)
//
// --headless runs without a display, as the game's option does. Demos and
// these runs use a private XDG_DATA_HOME, so the default hiscore table.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "core/clock.h"
#include "game/port/game.h"
#include "game/screens/asset_catalog.h"
#include "game/screens/hiscores.h"
#include "game/screens/start_up.h"
#include "media/files.h"
#include "media/keyboard.h"
#include "media/screen.h"
#include "media/sound.h"
#include "media/test_hooks.h"
#include "media/window.h"

namespace {

using Clock = std::chrono::steady_clock;
const Clock::time_point kMainStarted = Clock::now();

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

std::string privateDataFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "bench-screens-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return {};
    setenv("XDG_DATA_HOME", pattern.c_str(), 1);
    return pattern;
}

int startup() {
    Clock::time_point firstFlip{};
    media::setFlipObserver([&](uint64_t frame) {
        if (frame == 1) firstFlip = Clock::now();
    });
    game::Game g;
    g.startUp();
    g.runFrame();
    std::printf("startup_to_first_title_frame_ms %.1f\n", ms(firstFlip - kMainStarted));
    std::fflush(stdout);
    _exit(0);  // the end sequence is not part of the measurement
}

// Game::startUp step by step, then the title's entry and first frame.
int phases() {
    Clock::time_point last = Clock::now();
    std::printf("phase main_to_here %.1f\n", ms(last - kMainStarted));
    auto step = [&](const char* name) {
        Clock::time_point t = Clock::now();
        std::printf("phase %s %.1f\n", name, ms(t - last));
        last = t;
    };
    game::Game g;
    game::prefetchSpriteCatalogue();
    step("prefetchSpriteCatalogue_started");
    for (const game::LayerStart& service : game::kLayerStartOrder) {
        service.start();
        step(service.call);
    }
    game::loadSounds();
    step("loadSounds");
    game::startGameState(g.state);
    game::loadHiscores(g.state);
    step("startGameState_loadHiscores_with_508ms_wait");
    g.enterScreen(game::Screen::Title);
    step("enterTitleScreen_window_screen_sprites");
    g.runFrame();
    step("first_title_frame_draw_flip");
    g.runFrame();
    step("second_title_frame");
    std::printf("phase total_from_main %.1f\n", ms(last - kMainStarted));
    std::fflush(stdout);
    _exit(0);
}

int reentry(int rounds) {
    core::VirtualClock clock;
    core::setClock(&clock);
    std::vector<int> held;
    media::setKeyboardSource([&](uint8_t* snapshot) {
        std::fill(snapshot, snapshot + 256, 0);
        for (int code : held) snapshot[code] = 0x80;
        return true;
    });
    Clock::time_point lastFlip{};
    media::setFlipObserver([&](uint64_t) { lastFlip = Clock::now(); });

    game::Game g;
    g.startUp();
    for (int i = 0; i < 30; ++i) g.runFrame();
    std::vector<double> samples;
    for (int round = 0; round < rounds; ++round) {
        held = {media::key::Space};
        g.runFrame();  // title: a new game
        held = {};
        for (int i = 0; i < 60; ++i) g.runFrame();
        if (g.screen() != game::Screen::Play) {
            std::fprintf(stderr, "bench_game_screens: not in a level\n");
            return 1;
        }
        held = {media::key::Escape};
        g.runFrame();  // the level's frame is flipped, then Escape leads to the title
        Clock::time_point escapeFlip = lastFlip;
        held = {};
        g.runFrame();  // the first title frame
        if (g.screen() != game::Screen::Title) {
            std::fprintf(stderr, "bench_game_screens: Escape did not lead to the title\n");
            return 1;
        }
        samples.push_back(ms(lastFlip - escapeFlip));
        for (int i = 0; i < 10; ++i) g.runFrame();
    }
    for (double s : samples) std::printf("title_reentry_ms %.2f\n", s);
    std::sort(samples.begin(), samples.end());
    std::printf("title_reentry_median_ms %.2f\n", samples[samples.size() / 2]);
    media::setKeyboardSource(nullptr);
    core::setClock(nullptr);
    g.endProgram();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    bool headless = std::find(args.begin(), args.end(), "--headless") != args.end();
    args.erase(std::remove(args.begin(), args.end(), "--headless"), args.end());
    if (args.empty()) {
        std::fprintf(stderr, "usage: bench_game_screens [--headless] startup | phases | reentry [N] | none\n");
        return 2;
    }
    if (args[0] == "none") return 0;
    std::string folder = privateDataFolder();
    if (headless) media::chooseBackend(media::Backend::Headless);
    int result = 2;
    if (args[0] == "startup") result = startup();
    if (args[0] == "phases") result = phases();
    if (args[0] == "reentry") result = reentry(args.size() > 1 ? std::max(1, std::atoi(args[1].c_str())) : 20);
    std::error_code ignored;
    if (!folder.empty()) std::filesystem::remove_all(folder, ignored);
    return result;
}
