// SPDX-License-Identifier: MIT
// screenshots title FRAMES OUT.png     the title screen at frame FRAMES
// screenshots level N FRAMES OUT.png   a new game on level N, started, the girl
//                                      walking right and down; frame FRAMES
// screenshots won FRAMES OUT.png       the screen after the twentieth level,
//                                      with a score for the table and the
//                                      initials Q and D typed; frame FRAMES
// screenshots waiting N FRAMES OUT.png level N waiting for its start key
// screenshots paused N FRAMES OUT.png  level N as for "level", paused at
//                                      frame FRAMES
// screenshots replay N FRAMES OUT.png  level N as for "level", watched as a
//                                      replay
//
// Headless, on a virtual clock, from the default hiscore table, with the
// game's own pictures and drawing; the scripted demos cannot reach these
// screens in reasonable length.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/random.h"
#include "game/port/automation.h"
#include "game/port/game.h"
#include "game/screens/level_entry.h"
#include "media/automation.h"
#include "media/device_keys.h"
#include "media/keyboard.h"

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: screenshots title FRAMES OUT.png\n"
                 "       screenshots level N FRAMES OUT.png\n"
                 "       screenshots won FRAMES OUT.png\n"
                 "       screenshots waiting|paused|replay N FRAMES OUT.png\n");
    return 2;
}

// A new game as the title screen starts it, but on the given level.
void startGameOn(game::Game& g, int level, int32_t score) {
    g.state.levelEntryKind = 2;
    game::initLevelEntry(g.state);
    g.state.levelNumber = static_cast<uint8_t>(level);
    g.state.score = score;
    g.enterScreen(game::Screen::Play);
}

// Runs frames 1 to last, with the keys of the first matching step held, and
// saves the last one.
struct Step {
    int from;
    std::vector<int> keys;
};

int runAndSave(game::Game& g, int last, const std::vector<Step>& steps, const std::string& out,
               bool pauseAtLast = false) {
    std::vector<int> held;
    // The pause listens to the devices, not to the game's keys.
    bool pausing = false;
    media::setDeviceKeyboard([&pausing](uint8_t* keys) {
        if (pausing) keys[media::key::P] = 0x80;
    });
    media::setKeyboardSource([&held](uint8_t* snapshot) {
        std::fill(snapshot, snapshot + 256, uint8_t{0});
        for (int code : held) snapshot[code] = 0x80;
        return true;
    });
    for (int frame = 1; frame <= last && g.screen() != game::Screen::Closed; ++frame) {
        for (const Step& s : steps)
            if (s.from == frame) held = s.keys;
        pausing = pauseAtLast && frame == last;
        g.runFrame();
    }
    media::setKeyboardSource(nullptr);
    media::setDeviceKeyboard(nullptr);
    if (!media::saveScreenshotPng(out)) {
        std::fprintf(stderr, "screenshots: cannot write %s\n", out.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) return usage();
    const std::string what = argv[1];
    game::PrivateDataFolder folder;
    game::runHeadless();
    game::Timedemo unpaced;
    core::seedRandom(7);
    game::Game g;
    g.startUp();
    namespace key = media::key;
    int result = 2;
    if (what == "title" && argc == 4) {
        result = runAndSave(g, std::atoi(argv[2]), {}, argv[3]);
    } else if ((what == "level" || what == "paused" || what == "replay") && argc == 5) {
        startGameOn(g, std::atoi(argv[2]), 0);
        g.showReplayTag(what == "replay");
        result = runAndSave(g, std::atoi(argv[3]), {{2, {key::Space}}, {3, {key::Right}}, {60, {key::Down}}, {100, {}}},
                            argv[4], what == "paused");
    } else if (what == "waiting" && argc == 5) {
        startGameOn(g, std::atoi(argv[2]), 0);
        result = runAndSave(g, std::atoi(argv[3]), {}, argv[4]);
    } else if (what == "won" && argc == 4) {
        startGameOn(g, 21, 48210);
        result = runAndSave(g, std::atoi(argv[2]), {{60, {key::Q}}, {61, {}}, {80, {key::D}}, {81, {}}}, argv[3]);
    } else {
        return usage();
    }
    g.endProgram();
    return result;
}
