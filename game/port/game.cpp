// SPDX-License-Identifier: MIT
#include "game/port/game.h"

#include "game/port/port_captions.h"
#include "game/screens/asset_catalog.h"
#include "game/screens/game_over.h"
#include "game/screens/hiscores.h"
#include "game/screens/play_loop.h"
#include "game/screens/start_up.h"
#include "game/screens/title_screen.h"
#include "media/device_keys.h"
#include "media/files.h"
#include "media/gamepad.h"
#include "media/keyboard.h"
#include "media/overlay.h"
#include "media/screen.h"
#include "media/sound.h"
#include "media/window.h"

namespace game {

void Game::startUp(const StartValues& values) {
    pause_.end();
    leave_.reset();
    media::setOverlay([this] { drawPortCaptions(); });
    // Decoding the pictures takes longer than anything else at start-up; the
    // second core does it while the hiscore load waits.
    prefetchSpriteCatalogue();
    startMediaLayer();
    // The level entry sets the volumes of the loaded sounds, so they come first.
    loadSounds();
    startGameState(state, values);
    loadHiscores(state);
    if (values.hasTable) {
        state.hiscoreNames = values.names;
        state.hiscoreScores = values.scores;
    }
    enterScreen(Screen::Title);
}

void Game::enterScreen(Screen next) {
    screen_ = next;
    // What the gamepad's buttons stand for on this screen.
    media::setGamepadBindings(next == Screen::Title  ? media::GamepadBindings::SoundSwitch
                              : next == Screen::Play ? media::GamepadBindings::Level
                                                     : media::GamepadBindings::Standard);
    switch (next) {
    case Screen::Title: enterTitleScreen(state); break;
    case Screen::Play:
        // Starting a level may end the game at once (after the last level).
        if (enterPlayLoop(state) == Screen::GameOver) enterScreen(Screen::GameOver);
        break;
    case Screen::GameOver:
        enterGameOver(state);
        if (qualifiesForTable(state)) media::setGamepadBindings(media::GamepadBindings::LetterEntry);
        break;
    case Screen::Closed: endProgram(); break;
    }
}

void Game::runFrame() {
    if (screen_ == Screen::Closed) return;
    // The frame's one read of the devices: the pause and the screen's
    // keyboard examination both take theirs from it.
    media::pollDevices();
    Screen next = screen_;
    if (answering_ && pause_.frame(screen_, state.levelStarted == 1, next)) {
        leave_.reset();
        if (next != screen_) enterScreen(next);
        return;
    }
    if (answering_) leave_.frame(screen_);
    switch (screen_) {
    case Screen::Title: next = titleFrame(state); break;
    case Screen::Play: next = playFrame(state); break;
    case Screen::GameOver: next = gameOverFrame(state); break;
    case Screen::Closed: return;
    }
    if (next != screen_) enterScreen(next);
}

void Game::drawPortCaptions() const {
    PortView view;
    view.screen = screen_;
    view.state = &state;
    view.paused = pause_.paused();
    view.hints = hints_;
    view.watching = watching_;
    view.leave = &leave_;
    game::drawPortCaptions(view);
}

void Game::endProgram() {
    screen_ = Screen::Closed;
    pause_.end();
    media::setOverlay(nullptr);
    media::releaseSound();
    media::releaseKeyboard();
    media::closeScreen();
    media::shutdownSprites();
    media::closeAllWindows();
    media::closeAllFiles();
}

}  // namespace game
