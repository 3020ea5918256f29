// SPDX-License-Identifier: MIT
#pragma once
// Software drawing on sprite pixels: single pixels in the front colour
// (white) and filled boxes. Closing the pass re-applies the colour key.
#include <cstdint>

namespace media {

struct DrawingOutput;

int64_t rgb(int64_t r, int64_t g, int64_t b);
int startDrawing(DrawingOutput* output);
void plot(int x, int y);
void box(int x, int y, int width, int height, int64_t colour);
void stopDrawing();

}  // namespace media
