// SPDX-License-Identifier: MIT
#pragma once
// File writers: PNG through libpng and baseline JPEG through libjpeg.
#include <cstdint>
#include <string>
#include <vector>

namespace gen {

// channels 3 writes colour type 2 (RGB), 4 writes colour type 6 (RGBA);
// 8 bits, no interlace, no time stamp. Throws std::runtime_error on failure.
void writePng(const std::string& path, int w, int h, int channels, const std::vector<uint8_t>& pixels);
// Baseline, 3 components, no progressive or optimised-Huffman surprises.
void writeJpeg(const std::string& path, int w, int h, const std::vector<uint8_t>& rgb, int quality);

}  // namespace gen
