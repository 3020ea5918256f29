// SPDX-License-Identifier: MIT
// demotool make SCRIPT DEMO   writes the demo described by a "frame: keys" script
// demotool trace SCRIPT       replays the script headless and prints, for every
//                             keyboard examination, the screen and the state that
//                             decides the game's course (positions, time, score...)
//
// A script holds "seed: N" and "frame: keys" lines; the frame is the number of
// the keyboard examination (one per displayed frame, on every screen, counted
// from 0 at the first title frame); the keys named are held from that
// examination until the next line; "frame: end" ends the demo.
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "core/random.h"
#include "game/port/automation.h"
#include "game/port/demo.h"
#include "game/port/game.h"
#include "game/port/state_hash.h"

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: demotool make SCRIPT DEMO\n"
                 "       demotool trace SCRIPT [FIRST [LAST]]\n");
    return 2;
}

bool readScript(const std::string& path, game::Demo& demo) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "demotool: cannot open %s\n", path.c_str());
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    std::string error;
    if (!game::demoFromScript(text.str(), demo, error)) {
        std::fprintf(stderr, "demotool: %s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    return true;
}

const char* screenName(game::Screen screen) {
    switch (screen) {
    case game::Screen::Title: return "title";
    case game::Screen::Play: return "play";
    case game::Screen::GameOver: return "over";
    case game::Screen::Closed: return "closed";
    }
    return "?";
}

int trace(const game::Demo& demo, uint64_t first, uint64_t last) {
    game::PrivateDataFolder folder;
    game::runHeadless();
    core::seedRandom(demo.seed);
    game::Timedemo unpaced;
    game::DemoPlayback cursor(demo);

    game::Game g;
    g.startUp();
    std::printf(
        "# exam screen level lives score time frames x y speed dir ready diamonds dying wall started "
        "initials\n");
    while (g.screen() != game::Screen::Closed) {
        uint64_t before = cursor.position();
        g.runFrame();
        if (cursor.position() == before) continue;  // a frame without a keyboard examination
        uint64_t exam = cursor.position() - 1;
        if (exam < first || exam > last) continue;
        const game::GameState& s = g.state;
        std::printf("%" PRIu64
                    " %s L%d lives %d score %d time %d lf %d pos %d,%d sp %d dir %d ready %d dia %d dying %d "
                    "wall %d started %d ini %d\n",
                    exam, screenName(g.screen()), s.levelNumber, s.lives, s.score, s.timePercent, s.levelFrames,
                    s.playerX, s.playerY, s.playerSpeed, s.playerDirection, s.pickupReady, s.diamondsCollected,
                    s.playerDying, s.wallX, s.levelStarted, s.initialsCount);
    }
    std::printf("# end: frames %" PRIu64 " level %d lives %d score %d hash %016" PRIx64 "\n", game::framesShown(),
                g.state.levelNumber, g.state.lives, g.state.score, game::hashGameState(g.state));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    std::string command = argv[1];
    game::Demo demo;
    if (command == "make" && argc == 4) {
        if (!readScript(argv[2], demo)) return 1;
        std::string error;
        if (!game::writeDemoFile(argv[3], demo, error)) {
            std::fprintf(stderr, "demotool: %s\n", error.c_str());
            return 1;
        }
        return 0;
    }
    if (command == "trace" && argc >= 3 && argc <= 5) {
        if (!readScript(argv[2], demo)) return 1;
        uint64_t first = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 0;
        uint64_t last = argc > 4 ? std::strtoull(argv[4], nullptr, 10) : UINT64_MAX;
        return trace(demo, first, last);
    }
    return usage();
}
