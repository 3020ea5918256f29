// SPDX-License-Identifier: MIT
#pragma once
// Pixel-art sources: text grids with a palette.
//
//   # comment
//   colour K 52 36 30        one character -> r g b, for the pictures below it
//   picture NAME WIDTH HEIGHT
//   ...HEIGHT rows of WIDTH characters; '.' is transparent
#include <map>
#include <string>

#include "canvas.h"

namespace gen {

class PixelArt {
public:
    // Reads every *.txt given; throws std::runtime_error with file:line on bad input.
    void load(const std::string& path);
    const Canvas& get(const std::string& name) const;
    bool has(const std::string& name) const { return pictures_.count(name) != 0; }

private:
    std::map<std::string, Canvas> pictures_;
};

// Reads a whole text file; throws when missing.
std::string readTextFile(const std::string& path);

}  // namespace gen
