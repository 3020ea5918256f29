# SPDX-License-Identifier: MIT
# 32-bit ARM with hardware floating point (Debian armhf: ARMv7, VFPv3-D16,
# NEON not assumed; Raspberry Pi 2 and later with a 32-bit system).
#   cmake --build build --target quandrite_host_files
#   cmake -S . -B build-armhf -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/arm-linux-gnueabihf.cmake \
#         -DQUANDRITE_HOST_BUILD=$PWD/build
set(CMAKE_SYSTEM_PROCESSOR armv7l)
set(QUANDRITE_TRIPLET arm-linux-gnueabihf)
set(QUANDRITE_QEMU qemu-arm)
include(${CMAKE_CURRENT_LIST_DIR}/debian-multiarch.cmake)
