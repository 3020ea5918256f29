// SPDX-License-Identifier: MIT
#include "game/port/game.h"
#include "game/port/game_icon.h"
#include "media/window_icon.h"

int main(int argc, char** argv) {
    media::setWindowIcon([] { return game::gameIcon(64); });
    return game::runFromCommandLine(argc, argv);
}
