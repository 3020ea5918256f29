// SPDX-License-Identifier: MIT
#pragma once
// The compositor's inner loops over a run of opaque pixels, all of them with
// the same rounding as one-pixel arithmetic: (s*a + d*(255-a) + 127) / 255
// per channel. Four pixels at a time with SSE2 (x86-64) or NEON (arm64),
// which the build chooses by the target; one at a time elsewhere. The
// results have alpha 255.
#include <cstdint>

namespace media {

struct BlendKernels {
    // "sse2", "neon" or "scalar", for the tests and the benchmark.
    const char* name;
    // dest = source at opacity alpha over dest.
    void (*span)(uint32_t* dest, const uint32_t* source, int count, uint32_t alpha);
    // dest = the flat colour at opacity alpha over dest.
    void (*flat)(uint32_t* dest, int count, uint32_t colour, uint32_t alpha);
    // dest = source at opacity alpha over black (dest is not read).
    void (*ontoBlack)(uint32_t* dest, const uint32_t* source, int count, uint32_t alpha);
};

// The fastest kernels this processor runs.
const BlendKernels& blendKernels();
// Every set this processor runs, the fastest first (for the tests).
int blendKernelSetCount();
const BlendKernels& blendKernelSet(int index);

// The flat colour at opacity alpha over black, one pixel.
uint32_t scaleColour(uint32_t colour, uint32_t alpha);

}  // namespace media
