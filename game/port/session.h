// SPDX-License-Identifier: MIT
#pragma once
// One run of the program: the game itself, or a demo being recorded or
// played back, with the options of the command line.
#include <cstdint>
#include <optional>
#include <string>

#include "game/port/scenes.h"
#include "media/presentation.h"

namespace game {

struct SessionOptions {
    bool headless = false;
    std::string recordPath;
    std::string playPath;
    bool timedemo = false;  // as fast as possible, silent, no waits
    std::optional<uint32_t> seed;
    std::optional<uint64_t> frameLimit;
    std::optional<uint64_t> screenshotFrame;
    std::string screenshotPath;
    std::optional<bool> fullscreen;  // --fullscreen / --window, for this run only
    std::optional<media::ScaleMode> scale;
    std::optional<media::RendererChoice> renderer;
    // A benchmark's or a picture's start: the game plays on from there, with
    // a table of its own, and keeps nothing.
    std::optional<Scene> scene;
};

// Gives the process exit code: 0; 1 when the game could not open its window
// or write the demo or screenshot asked for; 2 for a demo that cannot be read.
int runSession(const SessionOptions& options);

}  // namespace game
