// SPDX-License-Identifier: MIT
// Window geometry and the event poll, headless and on SDL's offscreen driver.
#include <gtest/gtest.h>

#include <SDL.h>

#include <chrono>
#include <csignal>
#include <string>

#include "media/keyboard.h"
#include "media/screen.h"
#include "media/sound.h"
#include "media/test_hooks.h"
#include "media/window.h"
#include "test_support.h"

namespace {

using namespace media;
using testing_support::ScopedEnv;

class HeadlessWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        chooseBackend(Backend::Headless);
        ASSERT_TRUE(startWindows());
    }
    void TearDown() override {
        while (windowEvent() != 0) {
        }
        closeAllWindows();
    }
};

TEST_F(HeadlessWindowTest, CentredOpenAndReopenAtTheReportedPlaceRoundTrip) {
    ASSERT_NE(openWindow(0, -1, -1, 1020, 607, " Quandrite", kWindowStyleOverlapped | kWindowCentred), nullptr);
    EXPECT_EQ(windowX(0), (1920 - 1020) / 2);
    EXPECT_EQ(windowY(0), (1080 - 607) / 2);
    EXPECT_EQ(windowInnerWidth(0), 1020);
    EXPECT_EQ(windowInnerHeight(0), 607);
    EXPECT_EQ(windowTitle(0), " Quandrite");

    openWindow(0, 123, -45, 800, 500, " Again", kWindowStyleOverlapped);
    int x = windowX(0), y = windowY(0), w = windowInnerWidth(0), h = windowInnerHeight(0);
    EXPECT_EQ(x, 123);
    EXPECT_EQ(y, -45);
    openWindow(0, x, y, w, h, " Again", kWindowStyleOverlapped);
    EXPECT_EQ(windowX(0), x);
    EXPECT_EQ(windowInnerHeight(0), h);

    openWindow(1, -1, -1, 4000, 3000, "big", kWindowCentred);
    EXPECT_EQ(windowX(1), 0);
    EXPECT_EQ(windowY(1), 0);
}

TEST_F(HeadlessWindowTest, TitlesAndMissingWindows) {
    openWindow(0, 0, 0, 10, 10, "a", 0);
    EXPECT_EQ(setWindowTitle(0, " Level 3"), 1);
    EXPECT_EQ(windowTitle(0), " Level 3");
    EXPECT_EQ(setWindowTitle(5, "x"), 0);
    EXPECT_EQ(windowX(5), 0);
    EXPECT_EQ(windowHandle(5), nullptr);
    closeWindow(0);
    EXPECT_EQ(windowHandle(0), nullptr);
}

TEST_F(HeadlessWindowTest, ReopeningKeepsTheHandleTheScreenOpensOn) {
    Window* first = openWindow(0, 0, 0, 10, 10, "a", 0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(openWindow(0, 5, 5, 20, 20, "b", 0), first);
    EXPECT_EQ(windowHandle(0), first);
    EXPECT_EQ(openWindowedScreen(windowHandle(0), 0, 0, kScreenWidth, kScreenHeight, 1, 0, 0), 1);
    EXPECT_FALSE(screenPresents());
    closeScreen();
}

// Headless means no SDL video, events or audio at all, whatever the game opens.
TEST_F(HeadlessWindowTest, NoSdlSubsystemIsStarted) {
    openWindow(0, -1, -1, 1020, 607, " Quandrite", kWindowCentred);
    openWindowedScreen(windowHandle(0), 0, 0, kScreenWidth, kScreenHeight, 1, 0, 0);
    setWindowTitle(0, " Level 1");
    windowX(0);
    windowEvent();
    flipBuffers();
    initSound();
    initKeyboard();
    examineKeyboard();
    EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
    EXPECT_FALSE(audioDeviceOpen());
    releaseKeyboard();
    releaseSound();
    closeScreen();
}

TEST_F(HeadlessWindowTest, InjectedEventsComeOnePerCallInOrder) {
    EXPECT_EQ(windowEvent(), 0);
    injectWindowEvent(kEventCloseWindow);
    injectWindowEvent(13104);
    EXPECT_EQ(windowEvent(), kEventCloseWindow);
    EXPECT_EQ(windowEvent(), 13104);
    EXPECT_EQ(windowEvent(), 0);
}

// The real SDL path on the offscreen driver (set by the test runner).
class SdlWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        chooseBackend(Backend::Sdl);
        if (!startWindows()) GTEST_SKIP() << "no SDL video driver";
        window_ = openWindow(0, -1, -1, 1020, 607, " Quandrite", kWindowStyleOverlapped | kWindowCentred);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        setFramePacing(false);
        closeScreen();
        closeAllWindows();
        chooseBackend(Backend::Headless);
    }
    Window* window_ = nullptr;
};

TEST_F(SdlWindowTest, TerminationSignalIsReportedOnceAsCloseAndKeepsTheWindow) {
    while (windowEvent() != 0) {
    }
    std::raise(SIGTERM);
    int closes = 0;
    for (int i = 0; i < 20; ++i)
        if (windowEvent() == kEventCloseWindow) ++closes;
    EXPECT_EQ(closes, 1);
    EXPECT_NE(windowHandle(0), nullptr);
    EXPECT_EQ(windowTitle(0), " Quandrite");
}

TEST_F(SdlWindowTest, ReopeningKeepsTheWindowAndAppliesTheSize) {
    Window* again = openWindow(0, 10, 20, 640, 400, " Title", kWindowStyleOverlapped);
    EXPECT_EQ(again, window_);
    EXPECT_EQ(windowInnerWidth(0), 640);
    EXPECT_EQ(windowInnerHeight(0), 400);
}

TEST_F(SdlWindowTest, FramesArePresentedAndSurviveARendererReset) {
    ASSERT_EQ(openWindowedScreen(window_, 0, 0, kScreenWidth, kScreenHeight, 1, 0, 0), 1);
    ASSERT_TRUE(screenPresents());
    clearScreen(0xFF);
    setFramePacing(false);
    EXPECT_EQ(flipBuffers(), 1);
    simulateRendererReset();
    EXPECT_EQ(flipBuffers(), 1);
    EXPECT_EQ(flipBuffers(), 1);
}

// The title screen reopens the screen with the window's saved size; the
// picture stays 1020 x 607 and is stretched to whatever size that is.
TEST_F(SdlWindowTest, ReopeningTheScreenWithTheResizedWindowsSizeStillPresents) {
    ASSERT_EQ(openWindowedScreen(window_, 0, 0, kScreenWidth, kScreenHeight, 1, 0, 0), 1);
    setFramePacing(false);
    Window* again = openWindow(0, 10, 20, 1200, 700, " Quandrite", kWindowStyleOverlapped);
    ASSERT_EQ(openWindowedScreen(again, 0, 0, windowInnerWidth(0), windowInnerHeight(0), 1, 0, 0), 1);
    EXPECT_TRUE(screenPresents());
    EXPECT_EQ(flipBuffers(), 1);
}

// The window's class on X11 and its app id on Wayland, which SDL reads from
// the environment as video starts: the game's app id, unless the player set one.
TEST(SdlWindowIdentityTest, TheClassIsTheAppIdUnlessThePlayerChoseOne) {
    for (const char* chosen : {static_cast<const char*>(nullptr), "my.Class"}) {
        ScopedEnv x11("SDL_VIDEO_X11_WMCLASS", chosen);
        ScopedEnv wayland("SDL_VIDEO_WAYLAND_WMCLASS", chosen);
        chooseBackend(Backend::Sdl);
        if (!startWindows()) GTEST_SKIP() << "no SDL video driver";
        std::string x11Class = SDL_getenv("SDL_VIDEO_X11_WMCLASS") ? SDL_getenv("SDL_VIDEO_X11_WMCLASS") : "";
        std::string waylandId = SDL_getenv("SDL_VIDEO_WAYLAND_WMCLASS") ? SDL_getenv("SDL_VIDEO_WAYLAND_WMCLASS") : "";
        closeAllWindows();
        chooseBackend(Backend::Headless);
        EXPECT_EQ(x11Class, chosen ? chosen : "io.github.quandrite.Quandrite");
        EXPECT_EQ(waylandId, chosen ? chosen : "io.github.quandrite.Quandrite");
    }
}

// The pacer never lets a frame come early, so 30 frames after the first take
// at least half a second however busy the machine; how close to it they come
// is a benchmark's question (bench/pacing.sh), not a test's.
TEST(FramePacingTest, HeadlessFramesArePacedAtSixtyPerSecond) {
    chooseBackend(Backend::Headless);
    setFramePacing(true);
    auto start = std::chrono::steady_clock::now();
    flipBuffers();
    for (int i = 0; i < 30; ++i) flipBuffers();
    auto taken = std::chrono::steady_clock::now() - start;
    setFramePacing(false);
    EXPECT_GE(taken, std::chrono::milliseconds(500));
    EXPECT_LT(taken, std::chrono::seconds(20));
}

}  // namespace
