# SPDX-License-Identifier: MIT
# 64-bit ARM (Debian arm64: Raspberry Pi 3 and later with a 64-bit system).
#   cmake --build build --target quandrite_host_files
#   cmake -S . -B build-arm64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/aarch64-linux-gnu.cmake \
#         -DQUANDRITE_HOST_BUILD=$PWD/build
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(QUANDRITE_TRIPLET aarch64-linux-gnu)
set(QUANDRITE_QEMU qemu-aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/debian-multiarch.cmake)
