// SPDX-License-Identifier: MIT
// The heaviest frame the game draws: the 1920 x 1440 background, 450 orbs,
// 400 labels and 60 tinted digits, composed (and optionally presented).
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "media/drawing.h"
#include "media/screen.h"
#include "media/test_hooks.h"
#include "media/window.h"

namespace {

using namespace media;

constexpr int kBackground = 1;
constexpr int kOrb = 2;
constexpr int kLabel = 3;
constexpr int kDigit = 4;

// Sprites shaped like the game's: a full background, round orbs with
// transparent corners, labels and digits with holes.
void makeSprites() {
    createSprite(kBackground, 1920, 1440);
    startDrawing(spriteOutput(kBackground));
    for (int y = 0; y < 1440; y += 16)
        for (int x = 0; x < 1920; x += 16) box(x, y, 16, 16, rgb(20 + x % 200, 30 + y % 200, 90));
    stopDrawing();

    createSprite(kOrb, 48, 48);
    startDrawing(spriteOutput(kOrb));
    for (int y = 0; y < 48; ++y) {
        int dy = y * 2 - 47;
        int half = 0;
        while ((half + 1) * (half + 1) * 4 + dy * dy <= 47 * 47) ++half;
        box(24 - half, y, 2 * half, 1, rgb(200, 100 + y, 50));
    }
    stopDrawing();

    createSprite(kLabel, 27, 10);
    startDrawing(spriteOutput(kLabel));
    for (int x = 0; x < 27; x += 4) box(x, 1, 3, 8, rgb(255, 255, 200));
    stopDrawing();

    createSprite(kDigit, 6, 11);
    startDrawing(spriteOutput(kDigit));
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 6; ++x)
            if ((x + y) % 3 != 0) plot(x, y);
    stopDrawing();
}

void drawHeavyFrame(int frame) {
    clearScreen(0);
    displaySprite(kBackground, -(frame % 800), -(frame % 700), 87);
    for (int i = 0; i < 450; ++i) displaySprite(kOrb, (i * 37 + frame) % 1000 - 10, (i * 53) % 590 - 10, 254);
    for (int i = 0; i < 400; ++i) displaySprite(kLabel, (i * 41) % 1000, (i * 29 + frame) % 600, 255);
    for (int i = 0; i < 60; ++i) displaySpriteTinted(kDigit, 10 + i * 7, 5, 255, rgb(255, 0, 0));
}

void BM_HeavyFrameCompose(benchmark::State& state) {
    chooseBackend(Backend::Headless);
    initSprites();
    makeSprites();
    int frame = 0;
    for (auto _ : state) {
        drawHeavyFrame(frame++);
        benchmark::DoNotOptimize(screenPixels()[1000]);
    }
    shutdownSprites();
}
BENCHMARK(BM_HeavyFrameCompose)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Upload and stretched present through SDL (the dummy driver's software
// renderer unless SDL_VIDEODRIVER says otherwise), without pacing.
void BM_HeavyFrameComposeAndPresent(benchmark::State& state) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    chooseBackend(Backend::Sdl);
    setFramePacing(false);
    if (!startWindows()) {
        state.SkipWithError("no SDL video");
        return;
    }
    Window* window = openWindow(0, -1, -1, kScreenWidth, kScreenHeight, " Quandrite", kWindowCentred);
    if (!openWindowedScreen(window, 0, 0, kScreenWidth, kScreenHeight, 1, 0, 0)) {
        state.SkipWithError("no screen");
        return;
    }
    initSprites();
    makeSprites();
    int frame = 0;
    for (auto _ : state) {
        drawHeavyFrame(frame++);
        flipBuffers();
    }
    shutdownSprites();
    closeScreen();
    closeAllWindows();
}
BENCHMARK(BM_HeavyFrameComposeAndPresent)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
