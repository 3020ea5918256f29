#include "compositor.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

#include "screen.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace media {

namespace {

std::vector<uint32_t>& buffer() {
    static std::vector<uint32_t> pixels(static_cast<size_t>(kScreenWidth) * kScreenHeight, 0xFF000000u);
    return pixels;
}

// (s*a + d*(255-a) + 127) / 255 on the red/blue and green lanes at once; the
// division by 255 is the exact multiply-free form (u + 1 + (u >> 8)) >> 8.
inline uint32_t divideLanesBy255(uint32_t lanes) {
    return ((lanes + ((lanes >> 8) & 0x00FF00FFu) + 0x00010001u) >> 8) & 0x00FF00FFu;
}

inline uint32_t blendPixel(uint32_t source, uint32_t dest, uint32_t alpha, uint32_t inverse) {
    uint32_t rb = (source & 0x00FF00FFu) * alpha + (dest & 0x00FF00FFu) * inverse + 0x007F007Fu;
    uint32_t ga = ((source >> 8) & 0x00FF00FFu) * alpha + ((dest >> 8) & 0x00FF00FFu) * inverse + 0x007F007Fu;
    return 0xFF000000u | divideLanesBy255(rb) | (divideLanesBy255(ga) << 8);
}

#if defined(__SSE2__)
// Four pixels at a time: each channel widened to 16 bits, where
// s*a + d*(255-a) + 127 still fits, then divided by 255 as above.
inline __m128i divideBy255(__m128i x) {
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), _mm_set1_epi16(1)), 8);
}

inline __m128i blendHalf(__m128i source, __m128i dest, __m128i alpha, __m128i inverse, __m128i half) {
    return divideBy255(_mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(source, alpha), _mm_mullo_epi16(dest, inverse)), half));
}
#endif

void blendSpan(uint32_t* dest, const uint32_t* source, int count, uint32_t alpha) {
    uint32_t inverse = 255 - alpha;
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i a = _mm_set1_epi16(static_cast<int16_t>(alpha));
    const __m128i ia = _mm_set1_epi16(static_cast<int16_t>(inverse));
    const __m128i half = _mm_set1_epi16(127);
    const __m128i opaque = _mm_set1_epi32(static_cast<int32_t>(0xFF000000u));
    for (; i + 4 <= count; i += 4) {
        __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dest + i));
        __m128i low = blendHalf(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero), a, ia, half);
        __m128i high = blendHalf(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero), a, ia, half);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + i), _mm_or_si128(_mm_packus_epi16(low, high), opaque));
    }
#endif
    for (; i < count; ++i) dest[i] = blendPixel(source[i], dest[i], alpha, inverse);
}

// The tint's share of every pixel is the same, so it is computed once.
void blendFlat(uint32_t* dest, int count, uint32_t colour, uint32_t alpha) {
    uint32_t inverse = 255 - alpha;
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i ia = _mm_set1_epi16(static_cast<int16_t>(inverse));
    // colour * alpha + 127 per channel, for two pixels.
    const __m128i tintShare = _mm_add_epi16(
        _mm_mullo_epi16(_mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int32_t>(colour)), zero),
                        _mm_set1_epi16(static_cast<int16_t>(alpha))),
        _mm_set1_epi16(127));
    const __m128i opaque = _mm_set1_epi32(static_cast<int32_t>(0xFF000000u));
    for (; i + 4 <= count; i += 4) {
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dest + i));
        __m128i low = divideBy255(_mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), ia), tintShare));
        __m128i high = divideBy255(_mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), ia), tintShare));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + i), _mm_or_si128(_mm_packus_epi16(low, high), opaque));
    }
#endif
    uint32_t rbTint = (colour & 0x00FF00FFu) * alpha + 0x007F007Fu;
    uint32_t gTint = ((colour >> 8) & 0xFFu) * alpha + 0x007Fu;
    for (; i < count; ++i) {
        uint32_t d = dest[i];
        uint32_t rb = rbTint + (d & 0x00FF00FFu) * inverse;
        uint32_t g = gTint + ((d >> 8) & 0xFFu) * inverse;
        dest[i] = 0xFF000000u | divideLanesBy255(rb) | (divideLanesBy255(g) << 8);
    }
}

}  // namespace

uint32_t* backBuffer() { return buffer().data(); }

void clearBackBuffer(uint32_t argb) { std::fill(buffer().begin(), buffer().end(), argb | 0xFF000000u); }

bool compositeSprite(const SpritePixels& sprite, int x, int y, int intensity, bool tinted, uint32_t tint) {
    if (x >= kScreenWidth || y >= kScreenHeight || int64_t{x} + sprite.width <= 0 || int64_t{y} + sprite.height <= 0)
        return false;
    if (intensity <= 0 || sprite.spans.empty()) return true;
    uint32_t alpha = static_cast<uint32_t>(std::min(intensity, 255));
    int firstRow = std::max(0, -y);
    int lastRow = std::min(sprite.height, kScreenHeight - y);
    int minX = std::max(0, -x);
    int maxX = std::min(sprite.width, kScreenWidth - x);
    uint32_t* screen = backBuffer();
    for (int row = firstRow; row < lastRow; ++row) {
        uint32_t* destLine = screen + static_cast<ptrdiff_t>(y + row) * kScreenWidth;
        const uint32_t* sourceRow = sprite.argb.data() + static_cast<size_t>(row) * sprite.width;
        const OpaqueSpan* span = sprite.spans.data() + sprite.rowFirstSpan[static_cast<size_t>(row)];
        const OpaqueSpan* spanEnd = sprite.spans.data() + sprite.rowFirstSpan[static_cast<size_t>(row) + 1];
        for (; span != spanEnd; ++span) {
            int start = std::max<int>(span->start, minX);
            int end = std::min<int>(span->end, maxX);
            if (start >= end) continue;
            int count = end - start;
            uint32_t* dest = destLine + (x + start);
            if (tinted) {
                if (alpha == 255)
                    std::fill_n(dest, count, tint);
                else
                    blendFlat(dest, count, tint, alpha);
            } else if (alpha == 255) {
                std::memcpy(dest, sourceRow + start, static_cast<size_t>(count) * 4);
            } else {
                blendSpan(dest, sourceRow + start, count, alpha);
            }
        }
    }
    return true;
}

}  // namespace media
