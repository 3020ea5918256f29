#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Cross-builds the game for ARM with Debian's cross compilers and multiarch
# libraries, and replays every scripted demo with it under qemu-user: each
# must end with the same summary as on the build machine (NAME.expected).
# The blend loops' test runs there too (NEON on arm64, scalar on armhf).
# Usage: tests/test_demos_qemu.sh ARCH NATIVE_BUILD [CROSS_BUILD]
#   ARCH          arm64 or armhf (scripts/install-deps --arm installs both)
#   NATIVE_BUILD  a configured native build of this source: its pictures,
#                 sounds and icons, and its demotool
#   CROSS_BUILD   where the ARM build goes (default build-ARCH)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
arch=${1:?arm64 or armhf}
native=$(realpath "${2:?a native build folder}")
case $arch in
  arm64) toolchain=aarch64-linux-gnu qemu=qemu-aarch64 machine=AArch64 ;;
  armhf) toolchain=arm-linux-gnueabihf qemu=qemu-arm machine=ARM ;;
  *) echo "unknown ARCH '$arch': arm64 or armhf" >&2; exit 2 ;;
esac
cross=$(realpath -m "${3:-$root/build-$arch}")
jobs=$(nproc)
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

cmake --build "$native" -j"$jobs" --target quandrite_host_files demotool
cmake -S "$root" -B "$cross" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/$toolchain.cmake" \
      -DQUANDRITE_HOST_BUILD="$native" -DCMAKE_BUILD_TYPE=Release -DQUANDRITE_WERROR=ON \
      -DQUANDRITE_BUILD_TESTS=ON -DQUANDRITE_BUILD_BENCH=OFF >/dev/null
cmake --build "$cross" -j"$jobs" --target quandrite test_media

game=$cross/game/quandrite
readelf -h "$game" | grep -q "Machine: *$machine\b" || { echo "FAIL: $game is not an $arch program" >&2; exit 1; }

# --gtest_filter keeps to the loops that differ by target; the rest of
# test_media is the build machine's business.
"$qemu" "$cross/tests/test_media" --gtest_filter='BlendKernels.*' --gtest_brief=1 || fail "the blend loops under $qemu"

for script in "$root"/tests/demos/*.script; do
  name=$(basename "$script" .script)
  start=$(date +%s%N)
  cmake -DDEMOTOOL="$native/tools/demotool/demotool" -DGAME="$game" -DEMULATOR="$qemu" -DSCRIPT="$script" \
        -DEXPECTED="${script%.script}.expected" -DWORK="$cross/demos" -P "$root/tests/demos/run_demo.cmake" ||
    fail "demo $name under $qemu"
  tenths=$((($(date +%s%N) - start) / 100000000))
  echo "$name under $qemu: $((tenths / 10)).$((tenths % 10)) s"
done

[[ $failures -eq 0 ]] && echo "$arch: every demo replays under $qemu to the build machine's summary"
exit $((failures > 0))
