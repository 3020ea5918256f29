// SPDX-License-Identifier: MIT
// The compositor's blend loops on one screen row (1020 pixels), for every
// set this build has: the wide ones its target chose and the scalar ones,
// so one run shows what the wide loops save. Under qemu-user the figures are
// only a ratio between the sets, not an ARM board's speed.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "media/common/blend_kernels.h"

namespace {

using namespace media;

constexpr int kRow = 1020;

std::vector<uint32_t> pattern(uint32_t seed) {
    std::vector<uint32_t> pixels(kRow);
    for (uint32_t& p : pixels) p = seed = seed * 1664525u + 1013904223u;
    return pixels;
}

void span(benchmark::State& state) {
    const BlendKernels& kernels = blendKernelSet(static_cast<int>(state.range(0)));
    std::vector<uint32_t> source = pattern(1), dest = pattern(2);
    for (auto _ : state) {
        kernels.span(dest.data(), source.data(), kRow, 180);
        benchmark::ClobberMemory();
    }
    state.SetLabel(kernels.name);
    state.SetItemsProcessed(state.iterations() * kRow);
}

void flat(benchmark::State& state) {
    const BlendKernels& kernels = blendKernelSet(static_cast<int>(state.range(0)));
    std::vector<uint32_t> dest = pattern(3);
    for (auto _ : state) {
        kernels.flat(dest.data(), kRow, 0xFF3060C0u, 90);
        benchmark::ClobberMemory();
    }
    state.SetLabel(kernels.name);
    state.SetItemsProcessed(state.iterations() * kRow);
}

void ontoBlack(benchmark::State& state) {
    const BlendKernels& kernels = blendKernelSet(static_cast<int>(state.range(0)));
    std::vector<uint32_t> source = pattern(4), dest(kRow);
    for (auto _ : state) {
        kernels.ontoBlack(dest.data(), source.data(), kRow, 200);
        benchmark::ClobberMemory();
    }
    state.SetLabel(kernels.name);
    state.SetItemsProcessed(state.iterations() * kRow);
}

void everySet(benchmark::internal::Benchmark* benchmark) {
    for (int set = 0; set < blendKernelSetCount(); ++set) benchmark->Arg(set);
}

BENCHMARK(span)->Apply(everySet);
BENCHMARK(flat)->Apply(everySet);
BENCHMARK(ontoBlack)->Apply(everySet);

}  // namespace

BENCHMARK_MAIN();
