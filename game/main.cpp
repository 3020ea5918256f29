#include "game/game.h"

int main(int argc, char** argv) { return game::runFromCommandLine(argc, argv); }
