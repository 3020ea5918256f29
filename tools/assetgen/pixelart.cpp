// SPDX-License-Identifier: MIT
#include "pixelart.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace gen {

std::string readTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void PixelArt::load(const std::string& path) {
    std::istringstream in(readTextFile(path));
    std::map<char, Color> palette;
    std::string line;
    int lineNo = 0;
    auto fail = [&](const std::string& why) {
        throw std::runtime_error(path + ":" + std::to_string(lineNo) + ": " + why);
    };
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string keyword;
        words >> keyword;
        if (keyword == "colour") {
            std::string key;
            int r, g, b;
            if (!(words >> key >> r >> g >> b) || key.size() != 1 || key[0] == '.') fail("bad colour line");
            if (r == 0 && g == 0 && b == 0) fail("black is the transparent key; use '.'");
            palette[key[0]] = rgb(r, g, b);
        } else if (keyword == "picture") {
            std::string name;
            int w, h;
            if (!(words >> name >> w >> h) || w <= 0 || h <= 0) fail("bad picture line");
            Canvas c(w, h);
            for (int y = 0; y < h; ++y) {
                if (!std::getline(in, line)) fail("picture " + name + " ends early");
                ++lineNo;
                if (!line.empty() && line.back() == '\r') line.pop_back();
                if (static_cast<int>(line.size()) != w)
                    fail("row of " + name + " is not " + std::to_string(w) + " wide");
                for (int x = 0; x < w; ++x) {
                    if (line[x] == '.') continue;
                    auto it = palette.find(line[x]);
                    if (it == palette.end()) fail(std::string("no colour for '") + line[x] + "'");
                    c.set(x, y, it->second, 1.0f);
                }
            }
            if (!pictures_.emplace(name, std::move(c)).second) fail("picture " + name + " defined twice");
        } else {
            fail("unknown keyword " + keyword);
        }
    }
}

const Canvas& PixelArt::get(const std::string& name) const {
    auto it = pictures_.find(name);
    if (it == pictures_.end()) throw std::runtime_error("no pixel-art picture named " + name);
    return it->second;
}

}  // namespace gen
