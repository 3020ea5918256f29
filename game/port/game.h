// SPDX-License-Identifier: MIT
#pragma once
// The whole game: the state record and the screen that runs now. The three
// screens (title, play, game over) are states of one loop; entering a screen
// replaces the one before, so nothing waits on the stack for a screen to end.
#include "game/port/leave_controls.h"
#include "game/port/pause.h"
#include "game/rules/game_state.h"
#include "game/screens/screens.h"
#include "game/screens/start_values.h"

namespace game {

class Game {
public:
    // Start-up: the layer's services, the default table, sounds, level entry,
    // the hiscore file and the first title screen. The defaults are the
    // original game's.
    void startUp(const StartValues& values = {});
    // One frame of the current screen, with any change of screen it causes.
    void runFrame();
    // The end sequence: releases the layer's services.
    void endProgram();

    // Enters a screen from its beginning (its entry steps), replacing the current one.
    void enterScreen(Screen next);

    Screen screen() const { return screen_; }
    bool paused() const { return pause_.paused(); }
    // The start prompt of a waiting level (on unless the player's settings
    // turn it off) and the REPLAY tag of a replay being watched.
    void showHints(bool on) { hints_ = on; }
    void showReplayTag(bool on) { watching_ = on; }
    // Frames run unseen answer neither the pause nor the ways out: a replay's
    // earlier frames must not stop on a lost focus with nothing on screen.
    void answerPlayer(bool on) { answering_ = on; }
    GameState state{};

private:
    void drawPortCaptions() const;
    Screen screen_ = Screen::Closed;
    PauseControl pause_;
    LeaveControls leave_;
    bool hints_ = true;
    bool watching_ = false;
    bool answering_ = true;
};

int runFromCommandLine(int argc, char** argv);

}  // namespace game
