// SPDX-License-Identifier: MIT
// Demo files: what is written reads back the same, and a damaged file is
// refused with a reason instead of replaying something else.
#include <gtest/gtest.h>

#include "game/port/demo.h"
#include "media/keyboard.h"

using namespace game;
namespace key = media::key;

namespace {
Demo sampleDemo() {
    Demo demo;
    demo.seed = 0xDEADBEEF;
    demo.buildId = kBuildId;
    DemoRecorder recorder(demo);
    KeySnapshot keys{};
    for (int frame = 0; frame < 500; ++frame) {
        keys.fill(0);
        if (frame >= 10 && frame < 12) keys[key::Space] = 0x80;
        if (frame >= 100 && frame < 300) keys[key::Right] = 0x80;
        if (frame >= 200 && frame < 450) keys[key::Up] = 0x80;
        recorder.record(keys.data());
    }
    return demo;
}

std::vector<KeySnapshot> replay(const Demo& demo) {
    std::vector<KeySnapshot> out;
    DemoCursor cursor(demo);
    KeySnapshot keys;
    while (cursor.next(keys.data())) out.push_back(keys);
    return out;
}
}  // namespace

TEST(Demo, RoundTripKeepsEverySnapshotAndStaysSmall) {
    Demo demo = sampleDemo();
    EXPECT_EQ(demo.changes.size(), 6u);
    std::string bytes = encodeDemo(demo);
    EXPECT_LT(bytes.size(), 80u);
    std::string error;
    Demo back = decodeDemo(bytes, error);
    ASSERT_EQ(error, "");
    EXPECT_EQ(back.seed, 0xDEADBEEF);
    EXPECT_EQ(back.buildId, kBuildId);
    EXPECT_EQ(back.frames, 500u);
    std::vector<KeySnapshot> original = replay(demo), replayed = replay(back);
    ASSERT_EQ(replayed.size(), 500u);
    EXPECT_EQ(replayed, original);
    EXPECT_EQ(replayed[150][key::Right], 0x80);
    EXPECT_EQ(replayed[250][key::Up], 0x80);
    EXPECT_EQ(replayed[250][key::Right], 0x80);
    EXPECT_EQ(replayed[460][key::Up], 0);
}

TEST(Demo, DamagedFilesAreRefusedWithAReason) {
    std::string bytes = encodeDemo(sampleDemo());
    std::string error;
    for (size_t length = 0; length < bytes.size(); ++length) {
        Demo cut = decodeDemo(bytes.substr(0, length), error);
        EXPECT_FALSE(error.empty()) << "a demo cut to " << length << " bytes was accepted";
        EXPECT_EQ(cut.frames, 0u);
    }
    std::string future = bytes;
    future[8] = 4;
    decodeDemo(future, error);
    EXPECT_NE(error.find("version 4; this game reads versions 2 to 3"), std::string::npos) << error;
    decodeDemo("QUANDEMX" + bytes.substr(8), error);
    EXPECT_EQ(error, "not a Quandrite demo");

    // A frame count that would make the demo last for years.
    std::string huge = bytes.substr(0, bytes.size() - 2) + "\xff\xff\xff\xff\x7f\xff";
    decodeDemo(huge, error);
    EXPECT_FALSE(error.empty());
}

TEST(Demo, AKeyChangeOfNoKeysIsRefused) {
    Demo demo = sampleDemo();
    std::string bytes = encodeDemo(demo);
    // The last record is the end: the frames since the last change (one byte
    // here), then 255.
    ASSERT_EQ(static_cast<uint8_t>(bytes.back()), 255);
    std::string empty = bytes.substr(0, bytes.size() - 2) + std::string("\x00\x00", 2) + bytes.substr(bytes.size() - 2);
    std::string error;
    Demo read = decodeDemo(empty, error);
    EXPECT_EQ(error, "the demo is damaged: a key change of no keys");
    EXPECT_TRUE(read.changes.empty());
    decodeDemo(bytes, error);
    EXPECT_EQ(error, "");
}

TEST(Demo, ScriptHoldsEachLinesKeysUntilTheNextLine) {
    Demo demo;
    std::string error;
    ASSERT_TRUE(
        demoFromScript("seed: 42\n# start the game\n5: Space\n7: -\n20: Right Up\n30: Q\n40: end\n", demo, error))
        << error;
    EXPECT_EQ(demo.seed, 42u);
    EXPECT_EQ(demo.frames, 40u);
    std::vector<KeySnapshot> keys = replay(demo);
    EXPECT_EQ(keys[4][key::Space], 0);
    EXPECT_EQ(keys[5][key::Space], 0x80);
    EXPECT_EQ(keys[6][key::Space], 0x80);
    EXPECT_EQ(keys[7][key::Space], 0);
    EXPECT_EQ(keys[25][key::Right] & keys[25][key::Up], 0x80);
    EXPECT_EQ(keys[30][key::Right], 0);
    EXPECT_EQ(keys[39][key::Q], 0x80);

    EXPECT_FALSE(demoFromScript("5: Space\n3: -\n9: end\n", demo, error));
    EXPECT_EQ(error, "line 2: frames must go forward");
    EXPECT_FALSE(demoFromScript("5: Jump\n9: end\n", demo, error));
    EXPECT_EQ(error, "line 1: unknown key \"Jump\"");
    EXPECT_FALSE(demoFromScript("5: Space\n", demo, error));
}
