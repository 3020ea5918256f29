// SPDX-License-Identifier: MIT
// Desktop fullscreen on a real X display (tests/test_desktop_xvfb.sh runs
// these under Xvfb with a window manager; without a display they are skipped),
// and the Alt+Enter chord kept away from the game.
#include <gtest/gtest.h>

#include <SDL.h>

#include <chrono>
#include <cstdlib>
#include <ostream>
#include <string>

#include "media/keyboard.h"
#include "media/sdl/fullscreen.h"
#include "media/sdl/hotkeys.h"
#include "media/sdl/video_internal.h"
#include "media/test_hooks.h"
#include "media/window.h"

namespace {

using namespace media;

class X11Fullscreen : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
        if (const char* driver = std::getenv("SDL_VIDEODRIVER")) oldDriver_ = driver;
        setenv("SDL_VIDEODRIVER", "x11", 1);
        chooseBackend(Backend::Sdl);
        if (!startWindows()) GTEST_SKIP() << "no X11 video: " << SDL_GetError();
    }
    void TearDown() override {
        // The connection to the display stays open: a new one would give the
        // next test's window the number of this one, which the window manager
        // may not have forgotten yet (it then never shows the new window).
        closeWindow(0);
        chooseBackend(Backend::Headless);
        if (oldDriver_.empty()) {
            unsetenv("SDL_VIDEODRIVER");
        } else {
            setenv("SDL_VIDEODRIVER", oldDriver_.c_str(), 1);
        }
    }
    // Polls the events until the window manager has done what the test
    // waits for, at most 20 s; gives whether it did.
    template <typename Condition>
    static bool settleUntil(Condition done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        for (;;) {
            while (windowEvent() != 0) {
            }
            if (done()) return true;
            if (std::chrono::steady_clock::now() >= deadline) return false;
            SDL_Delay(10);
        }
    }
    // A key press as SDL reports it, handled by the layer's event poll.
    static void press(SDL_Keycode sym, SDL_Keymod mod) {
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.keysym.sym = sym;
        event.key.keysym.scancode = SDL_GetScancodeFromKey(sym);
        event.key.keysym.mod = static_cast<Uint16>(mod);
        event.key.state = SDL_PRESSED;
        SDL_PushEvent(&event);
        while (windowEvent() != 0) {
        }
    }
    struct Geometry {
        int x, y, width, height;
        bool operator==(const Geometry&) const = default;
        friend std::ostream& operator<<(std::ostream& out, const Geometry& g) {
            return out << g.x << "," << g.y << " " << g.width << "x" << g.height;
        }
    };
    static Geometry reported() { return {windowX(0), windowY(0), windowInnerWidth(0), windowInnerHeight(0)}; }
    // The window manager has framed the window and SDL knows the frame.
    static bool framed() {
        int top = 0;
        return SDL_GetWindowBordersSize(mainSdlWindow(), &top, nullptr, nullptr, nullptr) == 0 && top > 0;
    }
    static Geometry actual(SDL_Window* window) {
        Geometry g{};
        SDL_GetWindowPosition(window, &g.x, &g.y);
        SDL_GetWindowSize(window, &g.width, &g.height);
        return g;
    }
    static bool fillsTheDesktop(SDL_Window* window) {
        SDL_Rect desktop{};
        SDL_GetDisplayBounds(0, &desktop);
        return actual(window).width == desktop.w && actual(window).height == desktop.h;
    }
    std::string oldDriver_;
};

TEST_F(X11Fullscreen, F11AndAltEnterSwitchWhileTheGameKeepsSeeingTheWindow) {
    ASSERT_NE(openWindow(0, 140, 110, 640, 400, " Quandrite", kWindowStyleOverlapped), nullptr);
    SDL_Window* window = mainSdlWindow();
    const Geometry asked{140, 110, 640, 400};
    EXPECT_TRUE(settleUntil([&] { return framed() && reported() == asked; })) << "placed at " << reported();
    const Geometry before = reported();
    const Geometry sdlBefore = actual(window);
    EXPECT_EQ(before.width, 640);
    EXPECT_EQ(before.height, 400);
    auto fullscreen = [&] { return fillsTheDesktop(window); };
    auto backInItsPlace = [&] { return actual(window) == sdlBefore; };

    press(SDLK_F11, KMOD_NONE);
    ASSERT_TRUE(fullscreenActive());
    EXPECT_TRUE(settleUntil(fullscreen)) << "at " << actual(window);
    EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP);
    SDL_Rect desktop{};
    SDL_GetDisplayBounds(0, &desktop);
    const Geometry full = actual(window);
    EXPECT_EQ(full.width, desktop.w);
    EXPECT_EQ(full.height, desktop.h);
    EXPECT_EQ(reported(), before) << "the game remembers the windowed place and size";

    press(SDLK_RETURN, KMOD_LALT);
    EXPECT_FALSE(fullscreenActive());
    EXPECT_TRUE(settleUntil(backInItsPlace)) << "at " << actual(window);
    EXPECT_FALSE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN);
    EXPECT_EQ(actual(window), sdlBefore);
    EXPECT_EQ(reported(), before);

    // Twice more, with the keys the other way round.
    press(SDLK_KP_ENTER, KMOD_RALT);
    EXPECT_TRUE(fullscreenActive());
    EXPECT_TRUE(settleUntil(fullscreen)) << "at " << actual(window);
    press(SDLK_F11, KMOD_NONE);
    EXPECT_FALSE(fullscreenActive());
    EXPECT_TRUE(settleUntil(backInItsPlace)) << "at " << actual(window);
    EXPECT_EQ(actual(window), sdlBefore);
    // The event is handled in the poll that takes it from the queue.
    press(SDLK_RETURN, KMOD_NONE);
    EXPECT_FALSE(fullscreenActive()) << "Enter alone is a game key";
}

TEST_F(X11Fullscreen, ReopeningWhileFullscreenKeepsTheWindowedGeometryForLater) {
    ASSERT_NE(openWindow(0, 200, 150, 500, 300, " Quandrite", kWindowStyleOverlapped), nullptr);
    SDL_Window* window = mainSdlWindow();
    const Geometry asked{200, 150, 500, 300};
    EXPECT_TRUE(settleUntil([&] { return framed() && reported() == asked; })) << "placed at " << reported();
    const Geometry before = reported();
    toggleFullscreen();
    EXPECT_TRUE(settleUntil([&] { return fillsTheDesktop(window); })) << "at " << actual(window);
    // The title screen reopens the window at the place and size it read.
    openWindow(0, before.x, before.y, before.width, before.height, " Quandrite", kWindowStyleOverlapped);
    while (windowEvent() != 0) {
    }
    EXPECT_TRUE(fullscreenActive());
    EXPECT_EQ(reported(), before);
    toggleFullscreen();
    auto windowed = [&] { return actual(window).width == before.width && actual(window).height == before.height; };
    EXPECT_TRUE(settleUntil(windowed)) << "at " << actual(window);
    EXPECT_EQ(reported(), before);
}

TEST(FullscreenChord, EnterHeldWithAltIsNotAGameKey) {
    uint8_t snapshot[256] = {};
    hideHotkeyChord(snapshot);  // a snapshot without Enter ends an earlier switch's hold
    snapshot[key::Return] = snapshot[key::NumpadEnter] = snapshot[key::Space] = 0x80;
    SDL_SetModState(KMOD_NONE);
    hideHotkeyChord(snapshot);
    EXPECT_EQ(snapshot[key::Return], 0x80);
    EXPECT_EQ(snapshot[key::NumpadEnter], 0x80);
    SDL_SetModState(KMOD_LALT);
    hideHotkeyChord(snapshot);
    SDL_SetModState(KMOD_NONE);
    EXPECT_EQ(snapshot[key::Return], 0);
    EXPECT_EQ(snapshot[key::NumpadEnter], 0);
    EXPECT_EQ(snapshot[key::Space], 0x80);

    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = SDLK_RETURN;
    event.key.keysym.mod = KMOD_LALT;
    // Alt let go before Enter, with the Alt+Enter press still in SDL's queue.
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0);
    ASSERT_EQ(SDL_PushEvent(&event), 1);
    uint8_t early[256] = {};
    early[key::Return] = 0x80;
    hideHotkeyChord(early);
    EXPECT_EQ(early[key::Return], 0);
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    SDL_QuitSubSystem(SDL_INIT_EVENTS);

    // After an Alt+Enter switch its Enter stays hidden until let go, Alt or not.
    ASSERT_TRUE(handleHotkey(event));
    uint8_t held[256] = {};
    for (int frame = 0; frame < 2; ++frame) {
        held[key::Return] = 0x80;
        hideHotkeyChord(held);
        EXPECT_EQ(held[key::Return], 0) << frame;
    }
    uint8_t released[256] = {};
    hideHotkeyChord(released);
    held[key::Return] = 0x80;
    hideHotkeyChord(held);
    EXPECT_EQ(held[key::Return], 0x80) << "the next press is the game's";
}

}  // namespace
