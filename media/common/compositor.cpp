// SPDX-License-Identifier: MIT
#include "media/common/compositor.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <vector>

#include "media/common/blend_kernels.h"
#include "media/screen.h"

namespace media {

namespace {

std::vector<uint32_t>& ownBuffer() {
    static std::vector<uint32_t> pixels(static_cast<size_t>(kScreenWidth) * kScreenHeight, 0xFF000000u);
    return pixels;
}

uint32_t* target = nullptr;
uint32_t* nextTarget = nullptr;

// A clear only marks the rows; a row is filled when something is drawn on it
// or the picture is read. The background, which covers the whole screen,
// is then blended onto black without reading it, and no row is written twice.
uint32_t clearColour = 0xFF000000u;
std::array<bool, kScreenHeight> rowCleared{};
int clearedRows = 0;

uint32_t* pixels() {
    if (!target) target = ownBuffer().data();
    return target;
}

uint32_t* line(int row) { return pixels() + static_cast<ptrdiff_t>(row) * kScreenWidth; }

void fillRow(int row) {
    if (!rowCleared[static_cast<size_t>(row)]) return;
    rowCleared[static_cast<size_t>(row)] = false;
    --clearedRows;
    std::fill_n(line(row), kScreenWidth, clearColour);
}

// True when the row's opaque pixels cover the whole width of the screen in
// one run, so that what was under them does not matter.
bool coversScreenRow(const OpaqueSpan* span, const OpaqueSpan* spanEnd, int minX, int maxX, int x) {
    if (x + minX != 0 || x + maxX != kScreenWidth) return false;
    for (; span != spanEnd; ++span)
        if (span->start <= minX) {
            if (span->end >= maxX) return true;
        } else {
            return false;
        }
    return false;
}

}  // namespace

uint32_t* backBuffer() {
    if (clearedRows > 0)
        for (int row = 0; row < kScreenHeight; ++row) fillRow(row);
    return pixels();
}

void composeInto(uint32_t* destination) { nextTarget = destination; }

void keepPictureInOwnBuffer() {
    uint32_t* own = ownBuffer().data();
    nextTarget = nullptr;
    if (pixels() == own) return;
    std::memcpy(own, backBuffer(), ownBuffer().size() * 4);
    target = own;
}

void clearBackBuffer(uint32_t argb) {
    target = nextTarget ? nextTarget : ownBuffer().data();
    clearColour = argb | 0xFF000000u;
    rowCleared.fill(true);
    clearedRows = kScreenHeight;
}

bool compositeSprite(const SpritePixels& sprite, int x, int y, int intensity, bool tinted, uint32_t tint) {
    if (x >= kScreenWidth || y >= kScreenHeight || int64_t{x} + sprite.width <= 0 || int64_t{y} + sprite.height <= 0)
        return false;
    if (intensity <= 0 || sprite.spans.empty()) return true;
    const BlendKernels& blend = blendKernels();
    uint32_t alpha = static_cast<uint32_t>(std::min(intensity, 255));
    int firstRow = std::max(0, -y);
    int lastRow = std::min(sprite.height, kScreenHeight - y);
    int minX = std::max(0, -x);
    int maxX = std::min(sprite.width, kScreenWidth - x);
    bool ontoBlack = clearColour == 0xFF000000u;
    uint32_t scaledTint = scaleColour(tint, alpha);
    for (int row = firstRow; row < lastRow; ++row) {
        int screenRow = y + row;
        uint32_t* destLine = line(screenRow);
        const uint32_t* sourceRow = sprite.argb.data() + static_cast<size_t>(row) * sprite.width;
        const OpaqueSpan* span = sprite.spans.data() + sprite.rowFirstSpan[static_cast<size_t>(row)];
        const OpaqueSpan* spanEnd = sprite.spans.data() + sprite.rowFirstSpan[static_cast<size_t>(row) + 1];
        if (rowCleared[static_cast<size_t>(screenRow)]) {
            if (ontoBlack && coversScreenRow(span, spanEnd, minX, maxX, x)) {
                rowCleared[static_cast<size_t>(screenRow)] = false;
                --clearedRows;
                if (tinted) std::fill_n(destLine, kScreenWidth, scaledTint);
                else if (alpha == 255) std::memcpy(destLine, sourceRow + minX, kScreenWidth * 4);
                else blend.ontoBlack(destLine, sourceRow + minX, kScreenWidth, alpha);
                continue;
            }
            if (span != spanEnd) fillRow(screenRow);
        }
        for (; span != spanEnd; ++span) {
            int start = std::max<int>(span->start, minX);
            int end = std::min<int>(span->end, maxX);
            if (start >= end) continue;
            int count = end - start;
            uint32_t* dest = destLine + (x + start);
            if (tinted) {
                if (alpha == 255) std::fill_n(dest, count, tint);
                else blend.flat(dest, count, tint, alpha);
            } else if (alpha == 255) {
                std::memcpy(dest, sourceRow + start, static_cast<size_t>(count) * 4);
            } else {
                blend.span(dest, sourceRow + start, count, alpha);
            }
        }
    }
    return true;
}

}  // namespace media
