// SPDX-License-Identifier: MIT
#include "media/sprite_pixels.h"

namespace media {

void SpritePixels::applyColourKey() {
    ++revision;
    rowFirstSpan.assign(static_cast<size_t>(height) + 1, 0);
    spans.clear();
    for (int y = 0; y < height; ++y) {
        uint32_t* row = argb.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        rowFirstSpan[static_cast<size_t>(y)] = static_cast<uint32_t>(spans.size());
        int x = 0;
        while (x < width) {
            while (x < width && (row[x] & 0xFFFFFFu) == 0) row[x++] = 0;
            if (x >= width) break;
            int start = x;
            while (x < width && (row[x] & 0xFFFFFFu) != 0) row[x] |= 0xFF000000u, ++x;
            spans.push_back({static_cast<uint16_t>(start), static_cast<uint16_t>(x)});
        }
    }
    rowFirstSpan[static_cast<size_t>(height)] = static_cast<uint32_t>(spans.size());
}

}  // namespace media
