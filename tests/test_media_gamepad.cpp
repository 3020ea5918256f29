// SPDX-License-Identifier: MIT
// Gamepads as keys of the snapshot: the button and stick mapping, when they
// count (focus, sources), and real SDL game controllers plugged in and out.
#include <gtest/gtest.h>

#include <SDL.h>

#include <set>

#include "media/gamepad.h"
#include "media/keyboard.h"
#include "media/test_hooks.h"
#include "media/window.h"

namespace {

using namespace media;

std::set<int> keysDown() {
    std::set<int> down;
    for (int code = 0; code < 256; ++code)
        if (keyPushed(code)) down.insert(code);
    return down;
}

std::set<int> keysOf(const GamepadState& pad) {
    uint8_t snapshot[256] = {};
    addGamepadKeys(pad, snapshot);
    std::set<int> down;
    for (int code = 0; code < 256; ++code)
        if (snapshot[code] == 0x80) down.insert(code);
        else if (snapshot[code] != 0) ADD_FAILURE() << "code " << code << " holds " << int(snapshot[code]);
    return down;
}

TEST(GamepadMapping, ButtonsStandForTheGameKeysAndNothingElse) {
    EXPECT_EQ(keysOf({}), std::set<int>{});
    EXPECT_EQ(keysOf({PadA}), std::set<int>{key::Space});
    EXPECT_EQ(keysOf({PadStart}), std::set<int>{key::Space});
    // The title's bindings, as at start-up: B and Back are no key there.
    EXPECT_EQ(keysOf({PadB}), std::set<int>{});
    EXPECT_EQ(keysOf({PadBack}), std::set<int>{});
    EXPECT_EQ(keysOf({PadY}), std::set<int>{key::S});
    EXPECT_EQ(keysOf({PadX}), std::set<int>{}) << "X has no job";
    EXPECT_EQ(keysOf({PadUp}), std::set<int>{key::Up});
    EXPECT_EQ(keysOf({PadDown}), std::set<int>{key::Down});
    EXPECT_EQ(keysOf({PadLeft}), std::set<int>{key::Left});
    EXPECT_EQ(keysOf({PadRight}), std::set<int>{key::Right});
    EXPECT_EQ(keysOf({PadA | PadB | PadLeft | PadUp}), (std::set<int>{key::Space, key::Left, key::Up}));

    // B and Back are Escape where Escape accepts (the game-over screen), and
    // nothing in a level, where a button pressed by mistake must not end it.
    setGamepadBindings(GamepadBindings::Standard);
    EXPECT_EQ(keysOf({PadB}), std::set<int>{key::Escape});
    EXPECT_EQ(keysOf({PadBack}), std::set<int>{key::Escape});
    EXPECT_EQ(keysOf({PadY}), std::set<int>{}) << "Y switches the sound on the title only";
    setGamepadBindings(GamepadBindings::LetterEntry);
    EXPECT_EQ(keysOf({PadB}), std::set<int>{key::Escape});
    setGamepadBindings(GamepadBindings::Level);
    EXPECT_EQ(keysOf({PadB | PadBack}), std::set<int>{});
    EXPECT_EQ(keysOf({PadA | PadRight}), (std::set<int>{key::Space, key::Right}));
    setGamepadBindings(GamepadBindings::SoundSwitch);
}

TEST(GamepadMapping, LeftStickIsADirectionOnlyBeyondTheDeadZone) {
    EXPECT_EQ(keysOf({0, -kGamepadDeadZone, kGamepadDeadZone}), std::set<int>{});
    EXPECT_EQ(keysOf({0, -kGamepadDeadZone - 1, 0}), std::set<int>{key::Left});
    EXPECT_EQ(keysOf({0, kGamepadDeadZone + 1, 0}), std::set<int>{key::Right});
    EXPECT_EQ(keysOf({0, 0, -32768}), std::set<int>{key::Up});
    EXPECT_EQ(keysOf({0, 0, 32767}), std::set<int>{key::Down});
    EXPECT_EQ(keysOf({0, 20000, 20000}), (std::set<int>{key::Right, key::Down}));
    EXPECT_EQ(keysOf({PadLeft, 20000, 0}), (std::set<int>{key::Left, key::Right})) << "as two arrow keys held";
}

class GamepadSnapshot : public ::testing::Test {
protected:
    void SetUp() override {
        chooseBackend(Backend::Headless);
        initKeyboard();
    }
    void TearDown() override {
        setVirtualGamepad(std::nullopt);
        setKeyboardSource(nullptr);
        setKeyboardFocus(FocusOverride::Real);
        releaseKeyboard();
    }
};

TEST_F(GamepadSnapshot, AConnectedPadIsReadLikeTheKeyboardAndOnlyWithFocus) {
    EXPECT_EQ(examineKeyboard(), 0) << "headless without a pad nothing can be read";
    setVirtualGamepad(GamepadState{PadStart | PadRight});
    EXPECT_EQ(examineKeyboard(), 1);
    EXPECT_EQ(keysDown(), (std::set<int>{key::Space, key::Right}));
    EXPECT_EQ(keyPushed(key::Any), 1);

    setKeyboardFocus(FocusOverride::Unfocused);
    EXPECT_EQ(examineKeyboard(), 0);
    EXPECT_EQ(keysDown(), std::set<int>{});
    setKeyboardFocus(FocusOverride::Focused);
    EXPECT_EQ(examineKeyboard(), 1);
    EXPECT_EQ(keysDown(), (std::set<int>{key::Space, key::Right}));

    setVirtualGamepad(std::nullopt);
    EXPECT_EQ(examineKeyboard(), 0);
    EXPECT_EQ(keysDown(), std::set<int>{}) << "unplugging releases everything";
}

TEST_F(GamepadSnapshot, ASourceStandsInForThePadSoDemosReplayExactly) {
    setVirtualGamepad(GamepadState{PadA});
    std::vector<uint8_t> seen;
    setKeyboardObserver([&](const uint8_t* keys) { seen.assign(keys, keys + 256); });
    injectKeys({key::Up});
    EXPECT_EQ(examineKeyboard(), 1);
    EXPECT_EQ(keysDown(), std::set<int>{key::Up});
    setKeyboardSource(nullptr);
    examineKeyboard();
    EXPECT_EQ(keysDown(), std::set<int>{key::Space});
    ASSERT_EQ(seen.size(), 256u);
    EXPECT_EQ(seen[key::Space], 0x80) << "a recording sees the pad's keys";
    setKeyboardObserver(nullptr);
}

// Real SDL game controllers (SDL's virtual joystick driver stands in for the
// hardware) on the offscreen video driver the test runner sets.
class SdlGamepad : public GamepadSnapshot {
protected:
    void SetUp() override {
        chooseBackend(Backend::Sdl);
        if (!startWindows()) GTEST_SKIP() << "no SDL video driver";
        if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) GTEST_SKIP() << SDL_GetError();
        initKeyboard();
        setKeyboardFocus(FocusOverride::Focused);
    }
    void TearDown() override {
        if (joystick_) SDL_JoystickClose(joystick_);
        if (index_ >= 0) SDL_JoystickDetachVirtual(index_);
        GamepadSnapshot::TearDown();
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        closeAllWindows();
        chooseBackend(Backend::Headless);
    }
    // Plugs in a pad with the standard buttons and axes; SDL maps them one to one.
    void plugIn() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "Quandrite test pad";
        index_ = SDL_JoystickAttachVirtualEx(&desc);
        ASSERT_GE(index_, 0) << SDL_GetError();
        ASSERT_TRUE(SDL_IsGameController(index_));
        joystick_ = SDL_JoystickOpen(index_);
        ASSERT_NE(joystick_, nullptr) << SDL_GetError();
    }
    void unplug() {
        SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
        SDL_JoystickDetachVirtual(index_);
        index_ = -1;
    }
    int index_ = -1;
    SDL_Joystick* joystick_ = nullptr;
};

TEST_F(SdlGamepad, APadPluggedInWhileRunningIsReadAndReleasedWhenPulledOut) {
    examineKeyboard();
    EXPECT_EQ(keysDown(), std::set<int>{});
    plugIn();
    SDL_JoystickSetVirtualButton(joystick_, SDL_CONTROLLER_BUTTON_A, 1);
    SDL_JoystickSetVirtualButton(joystick_, SDL_CONTROLLER_BUTTON_DPAD_UP, 1);
    EXPECT_EQ(examineKeyboard(), 1);
    EXPECT_EQ(keysDown(), (std::set<int>{key::Space, key::Up}));

    SDL_JoystickSetVirtualButton(joystick_, SDL_CONTROLLER_BUTTON_A, 0);
    SDL_JoystickSetVirtualButton(joystick_, SDL_CONTROLLER_BUTTON_DPAD_UP, 0);
    SDL_JoystickSetVirtualButton(joystick_, SDL_CONTROLLER_BUTTON_BACK, 1);
    SDL_JoystickSetVirtualButton(joystick_, SDL_CONTROLLER_BUTTON_Y, 1);
    SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTX, -20000);
    SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTY, 4000);
    examineKeyboard();
    EXPECT_EQ(keysDown(), (std::set<int>{key::S, key::Left})) << "Back is no key on the title";

    setKeyboardFocus(FocusOverride::Unfocused);
    examineKeyboard();
    EXPECT_EQ(keysDown(), std::set<int>{}) << "without focus the pad is ignored like the keyboard";
    setKeyboardFocus(FocusOverride::Focused);

    unplug();
    examineKeyboard();
    EXPECT_EQ(keysDown(), std::set<int>{});
    plugIn();
    SDL_JoystickSetVirtualButton(joystick_, SDL_CONTROLLER_BUTTON_START, 1);
    examineKeyboard();
    EXPECT_EQ(keysDown(), std::set<int>{key::Space}) << "a pad plugged in again is found again";
}

}  // namespace
