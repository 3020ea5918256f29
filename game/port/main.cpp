// SPDX-License-Identifier: MIT
#include "game/port/game.h"
#include "game/port/game_icon.h"
#include "media/window_icon.h"
#include "platform/program_start.h"

int main(int argc, char** argv) {
    platform::ProgramArguments arguments(argc, argv);
    media::setWindowIcon([] { return game::gameIcon(64); });
    return game::runFromCommandLine(arguments.count(), arguments.values());
}
