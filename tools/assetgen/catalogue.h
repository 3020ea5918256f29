// SPDX-License-Identifier: MIT
#pragma once
// The painter of each sprite file the game embeds, with the number, format
// and size the game's catalogue gives it.
#include <functional>
#include <vector>

#include "canvas.h"
#include "game/rules/catalogue.h"
#include "sources.h"

namespace gen {

using Format = game::SpriteFormat;

struct Entry {
    int number;
    Format format;
    int w, h;
    std::function<Canvas(const Sources&)> paint;
};

// Every picture of the game's catalogue; throws when a painter is missing,
// doubled or stands under a number the catalogue does not list as a file.
std::vector<Entry> catalogue();
std::string fileName(const Entry& e);  // sprite-NNN.png / .jpg

}  // namespace gen
