// SPDX-License-Identifier: MIT
// The pause of a running level: the real game loop, headless, with the pause
// keys pressed on the devices and the game's own keys fed as a demo would.
#include <gtest/gtest.h>

#include <array>
#include <set>

#include "core/random.h"
#include "game/port/game.h"
#include "game/rules/catalogue.h"
#include "game_fixture.h"
#include "media/automation.h"
#include "media/device_keys.h"
#include "media/gamepad.h"
#include "media/keyboard.h"
#include "media/screen.h"
#include "media/sound.h"
#include "media/test_hooks.h"

namespace {

using game::Screen;
using namespace media;
using namespace core;

class PausedGame : public testing_support::WholeGame {
protected:
    PausedGame() : WholeGame(4242) {}
    void beforeStartUp() override {
        setKeyboardObserver([this](const uint8_t*) { ++examinations; });
        injectKeys({});
    }
    void frames(int n, std::vector<int> gameKeys = {}) {
        injectKeys(gameKeys);
        for (int i = 0; i < n; ++i) game.runFrame();
    }
    // A press of one device key: one frame down, then let go.
    void press(int code) {
        deviceKeys = {code};
        game.runFrame();
        deviceKeys.clear();
    }
    // Into level 1, started, walking right for a while.
    void playSomeOfLevelOne() {
        frames(3, {key::Return});
        ASSERT_EQ(game.screen(), Screen::Play);
        frames(2);
        frames(1, {key::Space});
        ASSERT_EQ(game.state.levelStarted, 1);
        frames(40, {key::Right});
    }

    int examinations = 0;
};

TEST_F(PausedGame, SixHundredPausedFramesChangeNothingAndThePlayResumesExactly) {
    playSomeOfLevelOne();
    const game::GameState pausedAt = game.state;
    press(key::P);
    ASSERT_TRUE(game.paused()) << "P pauses the level";
    const int examined = examinations;
    const uint64_t flipped = framesFlipped();
    for (int i = 0; i < 600; ++i) {
        frames(1, {key::Left, key::Escape});
        ASSERT_EQ(game.state, pausedAt) << "paused frame " << i << " changed the state";
    }
    EXPECT_EQ(game.screen(), Screen::Play) << "no key reaches a paused game";
    EXPECT_EQ(examinations, examined) << "a recording records no paused frame";
    EXPECT_EQ(framesFlipped(), flipped + 600) << "the paused picture is shown every frame";
    injectKeys({key::Right});
    press(key::Pause);
    ASSERT_FALSE(game.paused()) << "Pause resumes, and the level goes on in the same frame";
    frames(700, {key::Right});
    const game::GameState afterPause = game.state;
    EXPECT_FALSE(afterPause == pausedAt) << "the level went on";

    // The same game from the same seed and keys, never paused.
    game.endProgram();
    seedRandom(4242);
    injectKeys({});
    game.startUp();
    playSomeOfLevelOne();
    frames(701, {key::Right});
    EXPECT_TRUE(game.state == afterPause) << "the paused game went on as if it had never stopped";
}

TEST_F(PausedGame, ThePausedPictureIsTheLastFrameDimmedWithACaptionAndTheSoundsHold) {
    playSomeOfLevelOne();
    std::vector<DrawCall> lastFrame, pausedFrame;
    setDrawLog(&lastFrame);
    frames(1, {key::Right});
    const std::vector<uint32_t> shown(screenPixels(), screenPixels() + kScreenWidth * kScreenHeight);
    setDrawLog(&pausedFrame);
    press(key::P);
    setDrawLog(nullptr);
    ASSERT_GT(lastFrame.size(), 10u);
    ASSERT_EQ(pausedFrame.size(), lastFrame.size() + 3);
    for (size_t i = 0; i < lastFrame.size(); ++i) {
        EXPECT_EQ(pausedFrame[i].sprite, lastFrame[i].sprite) << i;
        EXPECT_EQ(pausedFrame[i].x, lastFrame[i].x) << i;
        EXPECT_EQ(pausedFrame[i].intensity, lastFrame[i].intensity) << i;
        EXPECT_EQ(pausedFrame[i].colour, lastFrame[i].colour) << i;
    }
    const DrawCall& dim = pausedFrame[pausedFrame.size() - 3];
    const DrawCall& caption = pausedFrame[pausedFrame.size() - 2];
    const DrawCall& prompt = pausedFrame.back();
    EXPECT_EQ(spriteWidth(dim.sprite), kScreenWidth);
    EXPECT_LT(dim.intensity, 255);
    EXPECT_EQ(caption.sprite, game::sprite::PausedCaption);
    EXPECT_EQ(prompt.sprite, game::sprite::ContinuePrompt) << "P OR START TO CONTINUE";
    for (const DrawCall* line : {&caption, &prompt})
        EXPECT_NEAR(line->x + spriteWidth(line->sprite) / 2, kScreenWidth / 2, 1) << line->sprite << " centred";
    EXPECT_GE(prompt.y, caption.y + spriteHeight(caption.sprite)) << "the keys to go on under PAUSED";
    for (int own : {dim.sprite, caption.sprite, prompt.sprite})
        EXPECT_FALSE(own <= 164 || (own >= 501 && own <= 560) || (own >= 701 && own <= 705))
            << own << ": our own pictures, apart from the original's numbers";
    // The composed picture: darker than the frame, with the caption bright on it.
    const uint32_t* pixels = screenPixels();
    int bright = 0;
    for (int y = caption.y; y < caption.y + spriteHeight(caption.sprite); ++y)
        for (int x = caption.x; x < caption.x + spriteWidth(caption.sprite); ++x) {
            uint32_t p = pixels[y * kScreenWidth + x];
            bright += ((p >> 16) & 0xFF) > 200 && ((p >> 8) & 0xFF) > 200 && (p & 0xFF) > 200;
        }
    EXPECT_GT(bright, 1000) << "PAUSED in light letters";
    auto brightness = [](const uint32_t* p, size_t n) {
        uint64_t sum = 0;
        for (size_t i = 0; i < n; ++i) sum += ((p[i] >> 16) & 0xFF) + ((p[i] >> 8) & 0xFF) + (p[i] & 0xFF);
        return static_cast<double>(sum);
    };
    const size_t statusBar = static_cast<size_t>(kScreenWidth) * 530;  // from row 530 down, below the caption
    double before = brightness(shown.data() + statusBar, shown.size() - statusBar);
    double after = brightness(pixels + statusBar, shown.size() - statusBar);
    EXPECT_LT(after, before * 0.5) << "dimmed";
    EXPECT_GT(after, before * 0.2) << "but still there";

    // Sounds hold where they are: the mix is silent while paused.
    playSound(1, kPlayLooping, 100);
    std::array<int16_t, 2048> mix{};
    mixAudio(mix.data(), 1024);
    for (int16_t sample : mix) ASSERT_EQ(sample, 0);
    EXPECT_TRUE(soundPlaying(1));
    frames(1);
    press(key::P);
    ASSERT_FALSE(game.paused());
    mixAudio(mix.data(), 1024);
    EXPECT_TRUE(std::any_of(mix.begin(), mix.end(), [](int16_t v) { return v != 0; })) << "and play on after";
    stopSound(1);
}

TEST_F(PausedGame, FocusLossPausesRegainedFocusDoesNotAndTheMenusNeverPause) {
    press(key::P);
    EXPECT_FALSE(game.paused()) << "the title screen does not pause";
    setKeyboardFocus(FocusOverride::Unfocused);
    frames(2);
    EXPECT_FALSE(game.paused());
    setKeyboardFocus(FocusOverride::Focused);
    playSomeOfLevelOne();
    setKeyboardFocus(FocusOverride::Unfocused);
    frames(1, {key::Right});
    EXPECT_TRUE(game.paused()) << "losing the focus pauses";
    setKeyboardFocus(FocusOverride::Focused);
    frames(5, {key::Right});
    EXPECT_TRUE(game.paused()) << "getting it back does not resume";
    press(key::P);
    EXPECT_FALSE(game.paused());

    // The gamepad's Start: it starts the level, and only then pauses.
    frames(1, {key::Escape});
    frames(1, {key::Return});
    ASSERT_EQ(game.screen(), Screen::Play);
    frames(1);
    ASSERT_EQ(game.state.levelStarted, 0);
    injectKeys({});
    setVirtualGamepad(GamepadState{});
    game.runFrame();
    setKeyboardSource(nullptr);  // the pad alone
    setVirtualGamepad(GamepadState{PadStart});
    game.runFrame();
    game.runFrame();
    EXPECT_EQ(game.state.levelStarted, 1) << "Start starts the level";
    EXPECT_FALSE(game.paused()) << "a Start held on is no fresh press";
    setVirtualGamepad(GamepadState{});
    game.runFrame();
    setVirtualGamepad(GamepadState{PadStart});
    game.runFrame();
    EXPECT_TRUE(game.paused()) << "once the level runs, Start pauses";
    setVirtualGamepad(GamepadState{});
    game.runFrame();
    setVirtualGamepad(GamepadState{PadStart});
    game.runFrame();
    EXPECT_FALSE(game.paused()) << "and goes on";

    // The game-over screen reads P as a letter: it types, it does not pause.
    game.state.lives = 0;
    game.state.score = 1000;
    setVirtualGamepad(std::nullopt);
    injectKeys({});
    for (int i = 0; i < 400 && game.screen() != Screen::GameOver; ++i) game.runFrame();
    ASSERT_EQ(game.screen(), Screen::GameOver);
    deviceKeys = {key::P};
    injectKeys({key::P});
    game.runFrame();
    EXPECT_FALSE(game.paused());
    EXPECT_EQ(game.state.initials[1], "p");
}

TEST_F(PausedGame, TheDevicesAreReadOnceAFrameOnEveryScreenAndPaused) {
    // The game's keys from the devices too, as in a real game.
    setKeyboardSource(nullptr);
    int reads = 0;
    setDeviceKeyboard([&](uint8_t* keys) {
        ++reads;
        for (int code : deviceKeys) keys[code] = 0x80;
    });
    int frames = 0;
    auto run = [&](int n, std::set<int> keys) {
        deviceKeys = std::move(keys);
        for (int i = 0; i < n; ++i, ++frames) game.runFrame();
    };
    run(5, {});
    run(1, {key::Return});
    run(3, {});
    ASSERT_EQ(game.screen(), Screen::Play);
    run(1, {key::Space});
    run(20, {key::Right});
    ASSERT_EQ(game.state.levelStarted, 1);
    run(1, {key::P});
    ASSERT_TRUE(game.paused());
    run(10, {});
    EXPECT_EQ(reads, frames) << "title, level and pause: one read of the devices a frame";
}

}  // namespace
