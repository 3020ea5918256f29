// SPDX-License-Identifier: MIT
#pragma once
// The contact sheet: every sprite on a checkerboard with its number.
#include <string>
#include <vector>

#include "canvas.h"

namespace gen {

struct Thumb {
    int number = 0;
    Canvas picture;  // already scaled for the sheet; key pixels have coverage 0
};

// Reduces big pictures and enlarges tiny ones so the sheet stays readable.
Thumb makeThumb(int number, const std::vector<uint8_t>& pixels, int w, int h, int channels);
void writeContactSheet(const std::string& path, const std::vector<Thumb>& thumbs, const std::string& font);

}  // namespace gen
