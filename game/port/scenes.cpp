// SPDX-License-Identifier: MIT
#include "game/port/scenes.h"

#include <cstdlib>

#include "game/screens/level_entry.h"

namespace game {

bool parseScene(const std::string& name, Scene& scene) {
    if (name == "title" || name == "gameover") {
        scene = {name == "title" ? Screen::Title : Screen::GameOver, 0};
        return true;
    }
    const std::string digits = name.rfind("level", 0) == 0 ? name.substr(5) : std::string();
    if (digits.empty() || digits.size() > 2 || digits.find_first_not_of("0123456789") != std::string::npos ||
        digits[0] == '0')
        return false;
    const int level = std::atoi(digits.c_str());
    if (level > 20) return false;
    scene = {Screen::Play, level};
    return true;
}

void enterScene(Game& game, const Scene& scene) {
    if (scene.screen == Screen::Title) return;
    if (scene.screen == Screen::Play) {
        game.state.levelEntryKind = 2;
        initLevelEntry(game.state);
        game.state.levelNumber = static_cast<uint8_t>(scene.level);
    }
    game.enterScreen(scene.screen);
    if (scene.screen == Screen::Play) game.state.levelStarted = 1;
}

}  // namespace game
