// SPDX-License-Identifier: MIT
#pragma once
// Scenes: the game brought straight to one of its screens, for benchmarks and
// pictures of screens no scripted demo reaches (a late level, the game over).
// A level is entered as the title screen starts a new game, with the score at
// 0, and already started, so the girl and the time go at once.
#include <string>

#include "game/port/game.h"

namespace game {

struct Scene {
    Screen screen = Screen::Title;
    int level = 0;  // 1 to 20 for Screen::Play
};

// "title", "level1" to "level20" or "gameover"; false for anything else.
bool parseScene(const std::string& name, Scene& scene);

// From a game just started up (on its title screen).
void enterScene(Game& game, const Scene& scene);

}  // namespace game
