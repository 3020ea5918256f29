// SPDX-License-Identifier: MIT
#include "media/common/blend_kernels.h"

#include <cstddef>
#include <vector>

#if defined(__x86_64__)
#include <immintrin.h>
#define QUANDRITE_X86 1
#elif defined(__ARM_NEON)
// Every arm64 processor has NEON; Debian's armhf promises only VFPv3-D16,
// so there the compiler leaves NEON out and the scalar loops serve.
#include <arm_neon.h>
#define QUANDRITE_NEON 1
#endif

namespace media {

namespace {

// (u + 1 + (u >> 8)) >> 8 is u / 255 rounded down for every u the blends
// make (u <= 255 * 255 + 127), on the red/blue and green lanes at once.
inline uint32_t divideLanesBy255(uint32_t lanes) {
    return ((lanes + ((lanes >> 8) & 0x00FF00FFu) + 0x00010001u) >> 8) & 0x00FF00FFu;
}

inline uint32_t blendPixel(uint32_t source, uint32_t dest, uint32_t alpha, uint32_t inverse) {
    uint32_t rb = (source & 0x00FF00FFu) * alpha + (dest & 0x00FF00FFu) * inverse + 0x007F007Fu;
    uint32_t ga = ((source >> 8) & 0x00FF00FFu) * alpha + ((dest >> 8) & 0x00FF00FFu) * inverse + 0x007F007Fu;
    return 0xFF000000u | divideLanesBy255(rb) | (divideLanesBy255(ga) << 8);
}

void spanScalar(uint32_t* dest, const uint32_t* source, int count, uint32_t alpha) {
    for (int i = 0; i < count; ++i) dest[i] = blendPixel(source[i], dest[i], alpha, 255 - alpha);
}

void flatScalar(uint32_t* dest, int count, uint32_t colour, uint32_t alpha) {
    for (int i = 0; i < count; ++i) dest[i] = blendPixel(colour, dest[i], alpha, 255 - alpha);
}

void ontoBlackScalar(uint32_t* dest, const uint32_t* source, int count, uint32_t alpha) {
    for (int i = 0; i < count; ++i) dest[i] = blendPixel(source[i], 0, alpha, 0);
}

#if defined(QUANDRITE_X86) || defined(QUANDRITE_NEON)
// The wide loops, written once for any vector of eight 16-bit lanes (four
// pixels); the tail after the last whole group goes through the scalar loop.
#define QUANDRITE_KERNEL_BODIES(ISA, ATTR)                                                                             \
    ATTR inline ISA::V divide255##ISA(ISA::V x) {                                                                      \
        return ISA::shr8(ISA::add(ISA::add(x, ISA::shr8(x)), ISA::set16(1)));                                          \
    }                                                                                                                  \
    ATTR void span##ISA(uint32_t* dest, const uint32_t* source, int count, uint32_t alpha) {                           \
        const ISA::V a = ISA::set16(alpha), ia = ISA::set16(255 - alpha), half = ISA::set16(127);                      \
        const ISA::V opaque = ISA::set32(0xFF000000u);                                                                 \
        int i = 0;                                                                                                     \
        for (; i + ISA::kPixels <= count; i += ISA::kPixels) {                                                         \
            ISA::V s = ISA::load(source + i), d = ISA::load(dest + i);                                                 \
            ISA::V low = divide255##ISA(ISA::add(ISA::add(ISA::mul(ISA::lo(s), a), ISA::mul(ISA::lo(d), ia)), half));  \
            ISA::V high = divide255##ISA(ISA::add(ISA::add(ISA::mul(ISA::hi(s), a), ISA::mul(ISA::hi(d), ia)), half)); \
            ISA::store(dest + i, ISA::orv(ISA::pack(low, high), opaque));                                              \
        }                                                                                                              \
        spanScalar(dest + i, source + i, count - i, alpha);                                                            \
    }                                                                                                                  \
    ATTR void flat##ISA(uint32_t* dest, int count, uint32_t colour, uint32_t alpha) {                                  \
        const ISA::V ia = ISA::set16(255 - alpha), opaque = ISA::set32(0xFF000000u);                                   \
        /* colour * alpha + 127 per channel, the same for every pixel */                                               \
        const ISA::V share = ISA::add(ISA::mul(ISA::lo(ISA::set32(colour)), ISA::set16(alpha)), ISA::set16(127));      \
        int i = 0;                                                                                                     \
        for (; i + ISA::kPixels <= count; i += ISA::kPixels) {                                                         \
            ISA::V d = ISA::load(dest + i);                                                                            \
            ISA::V low = divide255##ISA(ISA::add(ISA::mul(ISA::lo(d), ia), share));                                    \
            ISA::V high = divide255##ISA(ISA::add(ISA::mul(ISA::hi(d), ia), share));                                   \
            ISA::store(dest + i, ISA::orv(ISA::pack(low, high), opaque));                                              \
        }                                                                                                              \
        flatScalar(dest + i, count - i, colour, alpha);                                                                \
    }                                                                                                                  \
    ATTR void ontoBlack##ISA(uint32_t* dest, const uint32_t* source, int count, uint32_t alpha) {                      \
        const ISA::V a = ISA::set16(alpha), half = ISA::set16(127), opaque = ISA::set32(0xFF000000u);                  \
        int i = 0;                                                                                                     \
        for (; i + ISA::kPixels <= count; i += ISA::kPixels) {                                                         \
            ISA::V s = ISA::load(source + i);                                                                          \
            ISA::V low = divide255##ISA(ISA::add(ISA::mul(ISA::lo(s), a), half));                                      \
            ISA::V high = divide255##ISA(ISA::add(ISA::mul(ISA::hi(s), a), half));                                     \
            ISA::store(dest + i, ISA::orv(ISA::pack(low, high), opaque));                                              \
        }                                                                                                              \
        ontoBlackScalar(dest + i, source + i, count - i, alpha);                                                       \
    }
#endif

#if defined(QUANDRITE_X86)
// The same arithmetic on 16-bit channels, where s*a + d*(255-a) + 127 fits,
// four pixels at a time. (Eight at a time with AVX2 measured slower on the
// development machine's Xeon: its wide multiplies lower the clock.)
struct Sse2 {
    using V = __m128i;
    static constexpr int kPixels = 4;
    static V load(const uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const V*>(p)); }
    static void store(uint32_t* p, V v) { _mm_storeu_si128(reinterpret_cast<V*>(p), v); }
    static V zero() { return _mm_setzero_si128(); }
    static V set16(uint32_t v) { return _mm_set1_epi16(static_cast<int16_t>(v)); }
    static V set32(uint32_t v) { return _mm_set1_epi32(static_cast<int32_t>(v)); }
    static V lo(V v) { return _mm_unpacklo_epi8(v, zero()); }
    static V hi(V v) { return _mm_unpackhi_epi8(v, zero()); }
    static V add(V a, V b) { return _mm_add_epi16(a, b); }
    static V mul(V a, V b) { return _mm_mullo_epi16(a, b); }
    static V shr8(V a) { return _mm_srli_epi16(a, 8); }
    static V pack(V a, V b) { return _mm_packus_epi16(a, b); }
    static V orv(V a, V b) { return _mm_or_si128(a, b); }
};

QUANDRITE_KERNEL_BODIES(Sse2, )
#endif

#if defined(QUANDRITE_NEON)
// The same on NEON: V holds eight 16-bit lanes, or four pixels as bytes.
struct Neon {
    using V = uint16x8_t;
    static constexpr int kPixels = 4;
    static V load(const uint32_t* p) { return vreinterpretq_u16_u32(vld1q_u32(p)); }
    static void store(uint32_t* p, V v) { vst1q_u32(p, vreinterpretq_u32_u16(v)); }
    static V set16(uint32_t v) { return vdupq_n_u16(static_cast<uint16_t>(v)); }
    static V set32(uint32_t v) { return vreinterpretq_u16_u32(vdupq_n_u32(v)); }
    static V lo(V v) { return vmovl_u8(vget_low_u8(vreinterpretq_u8_u16(v))); }
    static V hi(V v) { return vmovl_u8(vget_high_u8(vreinterpretq_u8_u16(v))); }
    static V add(V a, V b) { return vaddq_u16(a, b); }
    static V mul(V a, V b) { return vmulq_u16(a, b); }
    static V shr8(V a) { return vshrq_n_u16(a, 8); }
    // Every lane is at most 255 here, so narrowing is the SSE2 saturating pack.
    static V pack(V a, V b) { return vreinterpretq_u16_u8(vcombine_u8(vmovn_u16(a), vmovn_u16(b))); }
    static V orv(V a, V b) { return vorrq_u16(a, b); }
};

QUANDRITE_KERNEL_BODIES(Neon, )
#endif
#undef QUANDRITE_KERNEL_BODIES

std::vector<BlendKernels> availableSets() {
    std::vector<BlendKernels> sets;
#if defined(QUANDRITE_X86)
    sets.push_back({"sse2", spanSse2, flatSse2, ontoBlackSse2});
#elif defined(QUANDRITE_NEON)
    sets.push_back({"neon", spanNeon, flatNeon, ontoBlackNeon});
#endif
    sets.push_back({"scalar", spanScalar, flatScalar, ontoBlackScalar});
    return sets;
}

const std::vector<BlendKernels>& sets() {
    static const std::vector<BlendKernels> all = availableSets();
    return all;
}

}  // namespace

const BlendKernels& blendKernels() { return sets().front(); }
int blendKernelSetCount() { return static_cast<int>(sets().size()); }
const BlendKernels& blendKernelSet(int index) { return sets()[static_cast<size_t>(index)]; }

uint32_t scaleColour(uint32_t colour, uint32_t alpha) { return blendPixel(colour, 0, alpha, 0); }

}  // namespace media
