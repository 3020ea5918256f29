// SPDX-License-Identifier: MIT
#pragma once
// Everything the painters read from assets/pictures: pixel art, recipes and texts.
#include <map>
#include <string>
#include <vector>

#include "canvas.h"
#include "pixelart.h"

namespace gen {

// A recipe line: "KIND ID free text" or "KIND ID key=value key=value ...".
struct RecipeLine {
    std::string kind, id, rest;
    std::map<std::string, std::string> values;  // the key=value words of rest
    std::string file;
    int line = 0;

    std::string text(const std::string& key) const;
    float number(const std::string& key) const;
    Color colour(const std::string& key) const;  // written as r,g,b
};

struct Sources {
    std::string pictureDir;
    std::string fontDir;
    PixelArt art;
    std::vector<RecipeLine> recipes;

    // Loads the pixel-art files and the recipe files of pictureDir.
    void load();
    const RecipeLine& recipe(const std::string& kind, const std::string& id) const;
    std::vector<const RecipeLine*> all(const std::string& kind) const;
    std::string sans() const { return fontDir + "/DejaVuSans.ttf"; }
    std::string sansBold() const { return fontDir + "/DejaVuSans-Bold.ttf"; }
};

}  // namespace gen
