// SPDX-License-Identifier: MIT
// Quit signals (SIGTERM, SIGINT, SIGHUP) end the game on every screen as the
// window's close box does; a save under way finishes first.
#include <signal.h>

#include <csignal>
#include <filesystem>

#include "game/screens/game_over.h"
#include "game/screens/title_screen.h"
#include "game_fixture.h"
#include "media/files.h"
#include "media/keyboard.h"
#include "media/window.h"
#include "platform/quit_signals.h"

using namespace game;
using testing_support::GameFixture;
namespace key = media::key;

namespace {

class QuitSignals : public GameFixture {
protected:
    void SetUp() override {
        GameFixture::SetUp();
        // As in a player's terminal, whatever the test runner ignores.
        for (int signal : {SIGTERM, SIGINT, SIGHUP}) std::signal(signal, SIG_DFL);
        platform::catchQuitSignals();
    }
    void TearDown() override {
        platform::forgetQuitRequest();
        platform::catchQuitSignals();
        GameFixture::TearDown();
    }
    // Takes the signal back and catches the next one (the handler is a one-shot).
    void rearm() {
        platform::forgetQuitRequest();
        platform::catchQuitSignals();
    }
    bool hiscoreFileSaved() const {
        std::error_code error;
        return std::filesystem::file_size(media::resolveFileName("\\quandrite.dat"), error) > 0 && !error;
    }
};

TEST_F(QuitSignals, EverySignalEndsEveryScreen) {
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        enterTitleScreen(s);
        EXPECT_EQ(titleFrame(s), Screen::Title);
        raise(signal);
        EXPECT_EQ(titleFrame(s), Screen::Closed);
        rearm();

        startLevel(1);
        EXPECT_EQ(playFrame(), Screen::Play);
        raise(signal);
        EXPECT_EQ(playFrame(), Screen::Closed);
        rearm();

        s.score = 500;
        enterGameOver(s);
        hold({key::A});
        EXPECT_EQ(gameOverFrame(s), Screen::GameOver);
        raise(signal);
        EXPECT_EQ(gameOverFrame(s), Screen::Closed);
        EXPECT_FALSE(hiscoreFileSaved()) << "a quit signal saves nothing";
        rearm();
        hold({});
    }
}

TEST_F(QuitSignals, ASignalReportsTheCloseRequestOnceAheadOfOtherEvents) {
    media::injectWindowEvent(13117);
    raise(SIGTERM);
    EXPECT_EQ(media::windowEvent(), media::kEventCloseWindow);
    EXPECT_EQ(media::windowEvent(), 13117);
    EXPECT_EQ(media::windowEvent(), 0);
}

// The signal comes in the pause before the save (111 ms).
class SignalDuringTheSave : public core::Clock {
public:
    void sleepMilliseconds(int ms) override {
        if (ms == 111) raise(SIGTERM);
        slept_ += ms;
    }
    uint64_t nowMilliseconds() override { return slept_; }

private:
    uint64_t slept_ = 0;
};

TEST_F(QuitSignals, AnIgnoredHangUpStaysIgnored) {
    platform::forgetQuitRequest();
    std::signal(SIGHUP, SIG_IGN);
    platform::catchQuitSignals();
    raise(SIGHUP);
    EXPECT_FALSE(platform::quitRequested()) << "nohup would not work";
    std::signal(SIGHUP, SIG_DFL);
}

TEST_F(QuitSignals, ASaveUnderWayFinishesBeforeTheGameEnds) {
    SignalDuringTheSave signalling;
    core::setClock(&signalling);
    s.score = 500;
    enterGameOver(s);
    for (int letter : {key::A, key::B, key::C}) {
        hold({letter});
        ASSERT_EQ(gameOverFrame(s), Screen::GameOver);
        hold({});
    }
    // Shows the complete initials, then saves: the signal comes meanwhile.
    EXPECT_FALSE(platform::quitRequested());
    EXPECT_EQ(gameOverFrame(s), Screen::Title);
    EXPECT_TRUE(platform::quitRequested());
    EXPECT_TRUE(hiscoreFileSaved());
    EXPECT_EQ(s.hiscoreNames[3], "abc");
    enterTitleScreen(s);
    EXPECT_EQ(titleFrame(s), Screen::Closed);
    core::setClock(&clock);
}

}  // namespace
