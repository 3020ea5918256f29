// SPDX-License-Identifier: MIT
#pragma once
// Text rasterised with FreeType into coverage masks, and the caption look
// shared by every text picture (fill gradient inside a hard dark outline).
#include <string>
#include <vector>

#include "canvas.h"

namespace gen {

struct Mask {
    int w = 0, h = 0;
    int baseline = 0;  // row of the baseline inside the mask
    std::vector<float> cov;
    float at(int x, int y) const {
        return (x < 0 || y < 0 || x >= w || y >= h) ? 0.0f : cov[static_cast<size_t>(y) * w + x];
    }
};

// size is in 1/64 pixel (FreeType's 26.6). tracking adds pixels between letters.
Mask renderText(const std::string& fontFile, const std::string& text, int size26_6, float tracking = 0.0f);

// The largest size (within maxSize) whose ink fits in maxW x maxH.
Mask fitText(const std::string& fontFile, const std::string& text, int maxW, int maxH, float maxSizePx,
             float tracking = 0.0f);

// Crops a mask to its inked columns and rows.
Mask trim(const Mask& m);

struct TextStyle {
    Color top, bottom;  // fill gradient over the ink height
    Color outline;      // never black: black is the transparent key
    float outlineRadius = 1.0f;
    float shadow = 0.0f;    // offset of a drop shadow in outline colour, 0 for none
    float tracking = 0.0f;  // extra pixels between letters, so outlines do not join them
};

// Paints the mask at (x, y) with the style; pixels outside the outline stay untouched.
void paintText(Canvas& c, const Mask& m, int x, int y, const TextStyle& s);

}  // namespace gen
