// SPDX-License-Identifier: MIT
// libFuzzer target: the replay reader on any bytes. A file it refuses gives
// the empty demo; one it takes holds to what a game can be (demo.h: the
// frames, the key changes, the window) and is written again and read back
// as the same demo, so a replay kept or copied stays the game it was.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "game/port/demo.h"
#include "game/port/settings.h"

namespace {

using game::Demo;

[[noreturn]] void fail(const std::string& why) {
    std::fprintf(stderr, "fuzz_replay_reader: %s\n", why.c_str());
    std::abort();
}

bool same(const Demo& a, const Demo& b) {
    if (a.seed != b.seed || a.buildId != b.buildId || !(a.start == b.start) || a.frames != b.frames ||
        a.changes.size() != b.changes.size())
        return false;
    for (size_t i = 0; i < a.changes.size(); ++i)
        if (a.changes[i].frame != b.changes[i].frame || a.changes[i].codes != b.changes[i].codes) return false;
    return true;
}

void checkBounds(const Demo& demo) {
    if (demo.frames > game::kMaxDemoFrames) fail("a demo of " + std::to_string(demo.frames) + " frames");
    if (demo.changes.size() > game::kMaxDemoChanges)
        fail("a demo of " + std::to_string(demo.changes.size()) + " key changes");
    for (int32_t side : {demo.start.windowWidth, demo.start.windowHeight})
        if (side < game::kMinWindowSide || side > game::kMaxWindowSide)
            fail("a window side of " + std::to_string(side));
    uint64_t previous = 0;
    for (const game::KeyChange& change : demo.changes) {
        if (change.frame < previous || change.frame > demo.frames)
            fail("a key change at frame " + std::to_string(change.frame) + " after " + std::to_string(previous) +
                 " in a demo of " + std::to_string(demo.frames));
        previous = change.frame;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string error;
    Demo demo = game::decodeDemo(std::string(reinterpret_cast<const char*>(data), size), error);
    if (!error.empty()) {
        if (!same(demo, Demo{})) fail("a refused demo (" + error + ") is not empty");
        return 0;
    }
    checkBounds(demo);
    std::string bytes = game::encodeDemo(demo);
    Demo back = game::decodeDemo(bytes, error);
    if (!error.empty()) fail("a demo read, written and read again is refused: " + error);
    if (!same(back, demo)) fail("a demo read, written and read again is another demo");
    if (game::encodeDemo(back) != bytes) fail("a demo written twice gives other bytes");
    return 0;
}
