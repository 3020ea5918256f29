// SPDX-License-Identifier: MIT
// Keyboard snapshots through the test source and the focus rule; the letters
// by the layout's labels, with made-up layouts and on a real X display with
// the French one (tests/test_desktop_xvfb.sh runs X11KeyboardLayout there
// after setxkbmap fr; elsewhere it is skipped).
#include <gtest/gtest.h>

#include <SDL.h>

#include <chrono>
#include <cstdlib>
#include <set>
#include <string>

#include "media/device_keys.h"
#include "media/keyboard.h"
#include "media/sdl/key_map.h"
#include "media/test_hooks.h"
#include "media/window.h"

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

// A US keyboard: every key shows what its place says.
SDL_Keycode usLabels(SDL_Scancode scancode) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) return SDLK_a + (scancode - SDL_SCANCODE_A);
    return SDL_SCANCODE_TO_KEYCODE(scancode);
}

// The French AZERTY layout's letters that are not where a US keyboard has them.
SDL_Keycode frenchLabels(SDL_Scancode scancode) {
    switch (scancode) {
    case SDL_SCANCODE_Q: return SDLK_a;
    case SDL_SCANCODE_A: return SDLK_q;
    case SDL_SCANCODE_W: return SDLK_z;
    case SDL_SCANCODE_Z: return SDLK_w;
    case SDL_SCANCODE_SEMICOLON: return SDLK_m;
    case SDL_SCANCODE_M: return SDLK_COMMA;
    default: return usLabels(scancode);
    }
}

// The codes down in a snapshot where the keys at these places are held.
std::set<int> heldByLabel(std::initializer_list<SDL_Scancode> places, KeyLabels labels) {
    uint8_t snapshot[256] = {};
    for (SDL_Scancode place : places) snapshot[directInputCode(place)] = 0x80;
    letterKeysByLabel(snapshot, labels);
    std::set<int> down;
    for (int code = 0; code < 256; ++code) {
        EXPECT_TRUE(snapshot[code] == 0 || snapshot[code] == 0x80) << code;
        if (snapshot[code]) down.insert(code);
    }
    return down;
}

TEST(KeyMapTest, OnAUsLayoutEveryKeyStaysWhereItIs) {
    for (int s = 0; s < SDL_NUM_SCANCODES; ++s) {
        auto place = static_cast<SDL_Scancode>(s);
        int code = directInputCode(place);
        if (!code) continue;
        EXPECT_EQ(heldByLabel({place}, usLabels), std::set<int>{code}) << "scancode " << s;
    }
}

TEST(KeyMapTest, OnAFrenchLayoutLettersFollowTheLabelsAndTheOtherKeysTheirPlaces) {
    EXPECT_EQ(heldByLabel({SDL_SCANCODE_Q}, frenchLabels), std::set<int>{key::A}) << "A types a, not q";
    EXPECT_EQ(heldByLabel({SDL_SCANCODE_A}, frenchLabels), std::set<int>{key::Q});
    EXPECT_EQ(heldByLabel({SDL_SCANCODE_Z}, frenchLabels), std::set<int>{key::W});
    EXPECT_EQ(heldByLabel({SDL_SCANCODE_SEMICOLON}, frenchLabels), std::set<int>{key::M}) << "the key labelled M";
    EXPECT_EQ(heldByLabel({SDL_SCANCODE_M}, frenchLabels), std::set<int>{}) << "the comma is no letter";
    EXPECT_EQ(heldByLabel({SDL_SCANCODE_S}, frenchLabels), std::set<int>{key::S});
    EXPECT_EQ(heldByLabel({SDL_SCANCODE_Q, SDL_SCANCODE_A}, frenchLabels), (std::set<int>{key::A, key::Q}));
    EXPECT_EQ(heldByLabel({SDL_SCANCODE_UP, SDL_SCANCODE_LEFT, SDL_SCANCODE_SPACE, SDL_SCANCODE_RETURN,
                           SDL_SCANCODE_KP_ENTER, SDL_SCANCODE_ESCAPE, SDL_SCANCODE_LCTRL, SDL_SCANCODE_P},
                          frenchLabels),
              (std::set<int>{key::Up, key::Left, key::Space, key::Return, key::NumpadEnter, key::Escape, key::LeftCtrl,
                             key::P}));
}

TEST(KeyMapTest, ADvorakKeyboardTypesByLabelEvenWherePlacesCross) {
    // Dvorak: the US places of S, O and N show o, s and b.
    auto dvorak = [](SDL_Scancode scancode) -> SDL_Keycode {
        switch (scancode) {
        case SDL_SCANCODE_S: return SDLK_o;
        case SDL_SCANCODE_SEMICOLON: return SDLK_s;
        case SDL_SCANCODE_N: return SDLK_b;
        case SDL_SCANCODE_O: return SDLK_r;
        default: return usLabels(scancode);
        }
    };
    EXPECT_EQ(heldByLabel({SDL_SCANCODE_SEMICOLON}, dvorak), std::set<int>{key::S});
    EXPECT_EQ(heldByLabel({SDL_SCANCODE_S}, dvorak), std::set<int>{key::O});
    EXPECT_EQ(heldByLabel({SDL_SCANCODE_S, SDL_SCANCODE_O}, dvorak), (std::set<int>{key::O, key::R}));
}

class X11KeyboardLayout : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
        if (const char* driver = std::getenv("SDL_VIDEODRIVER")) oldDriver_ = driver;
        setenv("SDL_VIDEODRIVER", "x11", 1);
        chooseBackend(Backend::Sdl);
        if (!startWindows()) GTEST_SKIP() << "no X11 video: " << SDL_GetError();
        if (SDL_GetKeyFromScancode(SDL_SCANCODE_Q) != SDLK_a) GTEST_SKIP() << "the display's layout is not AZERTY";
        initKeyboard();
    }
    void TearDown() override {
        std::system("xdotool keyup a comma m semicolon Up >/dev/null 2>&1");
        releaseKeyboard();
        closeWindow(0);
        chooseBackend(Backend::Headless);
        if (oldDriver_.empty()) {
            unsetenv("SDL_VIDEODRIVER");
        } else {
            setenv("SDL_VIDEODRIVER", oldDriver_.c_str(), 1);
        }
    }
    // Reads the devices a frame at a time until `done`, at most 20 s.
    template <typename Condition>
    static bool readUntil(Condition done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        for (;;) {
            while (windowEvent() != 0) {
            }
            pollDevices();
            examineKeyboard();
            if (done()) return true;
            if (std::chrono::steady_clock::now() >= deadline) return false;
            SDL_Delay(10);
        }
    }
    // Holds the key with this X key symbol, as a player on the display would.
    static void hold(const std::string& keysym) {
        ASSERT_EQ(std::system(("xdotool keydown " + keysym).c_str()), 0) << "xdotool keydown " << keysym;
    }
    static void letGo(const std::string& keysym) {
        ASSERT_EQ(std::system(("xdotool keyup " + keysym).c_str()), 0) << "xdotool keyup " << keysym;
    }
    static bool heldAt(int place) { return deviceInput().keys[static_cast<size_t>(place)] != 0; }
    std::string oldDriver_;
};

TEST_F(X11KeyboardLayout, AzertyLettersComeByLabelAndTheArrowsByPlace) {
    ASSERT_NE(openWindow(0, 100, 100, 320, 200, "layout test", kWindowStyleOverlapped), nullptr);
    if (!readUntil([] { return deviceInput().focused; }))
        std::system("xdotool search --name '^layout test$' windowactivate >/dev/null 2>&1");
    ASSERT_TRUE(readUntil([] { return deviceInput().focused; })) << "the window never got the keyboard";

    // The key labelled A sits where a US keyboard has Q.
    hold("a");
    EXPECT_TRUE(readUntil([] { return heldAt(key::Q); })) << "the key never reached the game";
    EXPECT_EQ(keyPushed(key::A), 128) << "A types a";
    EXPECT_EQ(keyPushed(key::Q), 0);
    letGo("a");
    EXPECT_TRUE(readUntil([] { return !heldAt(key::Q) && keyPushed(key::A) == 0; }));

    // The comma sits where a US keyboard has M, and M where it has the semicolon.
    hold("comma");
    EXPECT_TRUE(readUntil([] { return heldAt(key::M); })) << "the key never reached the game";
    EXPECT_EQ(keyPushed(key::M), 0) << "the comma switched the sound";
    letGo("comma");
    hold("m");
    EXPECT_TRUE(readUntil([] { return keyPushed(key::M) == 128; })) << "M does not switch the sound";
    letGo("m");

    hold("Up");
    EXPECT_TRUE(readUntil([] { return keyPushed(key::Up) == 128; }));
    letGo("Up");
}

}  // namespace
