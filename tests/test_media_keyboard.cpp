// SPDX-License-Identifier: MIT
// Keyboard snapshots through the test source and the focus rule.
#include <gtest/gtest.h>

#include <SDL_scancode.h>

#include <set>

#include "media/keyboard.h"
#include "media/sdl/key_map.h"
#include "media/test_hooks.h"

namespace {

using namespace media;

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        chooseBackend(Backend::Headless);
        initKeyboard();
    }
    void TearDown() override {
        setKeyboardSource(nullptr);
        setKeyboardObserver(nullptr);
        setKeyboardFocus(FocusOverride::Real);
        releaseKeyboard();
    }
};

TEST_F(KeyboardTest, NothingIsDownBeforeTheFirstSnapshot) {
    injectKeys({key::Q});
    for (int code = -1; code < 256; ++code) ASSERT_EQ(keyPushed(code), 0) << code;
}

TEST_F(KeyboardTest, SnapshotHoldsTheKeysDownAndAnyKeyIgnores255) {
    injectKeys({key::Q, key::Up, key::NumpadEnter});
    EXPECT_EQ(examineKeyboard(), 1);
    EXPECT_EQ(keyPushed(key::Q), 128);
    EXPECT_EQ(keyPushed(key::Up), 128);
    EXPECT_EQ(keyPushed(key::NumpadEnter), 128);
    EXPECT_EQ(keyPushed(key::W), 0);
    EXPECT_EQ(keyPushed(key::Any), 1);
    EXPECT_EQ(keyPushed(256), 0);

    injectKeys({255});
    examineKeyboard();
    EXPECT_EQ(keyPushed(255), 128);
    EXPECT_EQ(keyPushed(key::Any), 0);
    injectKeys({});
    examineKeyboard();
    EXPECT_EQ(keyPushed(key::Q), 0);
}

TEST_F(KeyboardTest, OneSnapshotPerExamine) {
    int calls = 0;
    setKeyboardSource([&](uint8_t* keys) {
        ++calls;
        if (calls == 1) keys[key::Space] = 0x80;
        return true;
    });
    examineKeyboard();
    EXPECT_EQ(keyPushed(key::Space), 128);
    EXPECT_EQ(keyPushed(key::Space), 128);
    EXPECT_EQ(calls, 1);
    examineKeyboard();
    EXPECT_EQ(keyPushed(key::Space), 0);
}

TEST_F(KeyboardTest, EverythingIsReleasedWithoutFocusOrWhenTheSourceFails) {
    std::vector<uint8_t> seen;
    setKeyboardObserver([&](const uint8_t* keys) { seen.assign(keys, keys + 256); });
    injectKeys({key::Left});
    setKeyboardFocus(FocusOverride::Unfocused);
    EXPECT_EQ(examineKeyboard(), 0);
    EXPECT_EQ(keyPushed(key::Left), 0);
    ASSERT_EQ(seen.size(), 256u);
    EXPECT_EQ(seen[key::Left], 0);
    setKeyboardFocus(FocusOverride::Focused);
    EXPECT_EQ(examineKeyboard(), 1);
    EXPECT_EQ(keyPushed(key::Left), 128);
    EXPECT_EQ(seen[key::Left], 0x80);

    setKeyboardSource([](uint8_t* keys) {
        keys[key::Right] = 0x80;
        return false;
    });
    EXPECT_EQ(examineKeyboard(), 0);
    EXPECT_EQ(keyPushed(key::Right), 0);
}

TEST_F(KeyboardTest, NoSourceInHeadlessModeMeansNoKeys) {
    setKeyboardSource(nullptr);
    examineKeyboard();
    EXPECT_EQ(keyPushed(key::Any), 0);
}

TEST(KeyMapTest, EveryCodeBelongsToOneKey) {
    std::set<int> codes;
    int mapped = 0;
    for (int s = 0; s < SDL_NUM_SCANCODES; ++s) {
        int code = directInputCode(static_cast<SDL_Scancode>(s));
        if (!code) continue;
        ++mapped;
        EXPECT_TRUE(codes.insert(code).second) << "code " << code << " twice";
    }
    EXPECT_GE(mapped, 100);
    // Positions, not characters: the row below the digits starts with Q.
    EXPECT_EQ(directInputCode(SDL_SCANCODE_Q), key::Q);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_KP_ENTER), key::NumpadEnter);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_RCTRL), key::RightCtrl);
}

}  // namespace
