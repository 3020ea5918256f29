// SPDX-License-Identifier: MIT
#pragma once
// Decoded sprite pixels (0xAARRGGBB) with, per row, the runs of opaque
// pixels, so that drawing skips transparent pixels without looking at them.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace media {

struct OpaqueSpan {
    uint16_t start;
    uint16_t end;  // one past the last opaque pixel
};

struct SpritePixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb;
    // spans of row y are spans[rowFirstSpan[y] .. rowFirstSpan[y + 1]).
    std::vector<uint32_t> rowFirstSpan;
    std::vector<OpaqueSpan> spans;
    // Counts the colour key's applications: a texture made from older
    // pixels is out of date.
    uint64_t revision = 0;

    // Colour key black: pure black gets alpha 0, everything else alpha 255;
    // then the spans are rebuilt.
    void applyColourKey();
};

}  // namespace media
