# SPDX-License-Identifier: MIT
# What the cross toolchain files share: Debian's cross compilers
# (crossbuild-essential-<arch>) and the target's libraries installed beside
# the build machine's by multiarch (libsdl2-dev:<arch>, ...), so no sysroot.
# The including file sets CMAKE_SYSTEM_PROCESSOR and QUANDRITE_TRIPLET.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER ${QUANDRITE_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${QUANDRITE_TRIPLET}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${QUANDRITE_TRIPLET})
# Debian's wrapper looks only at the target's .pc files.
set(PKG_CONFIG_EXECUTABLE /usr/bin/${QUANDRITE_TRIPLET}-pkg-config CACHE FILEPATH "pkg-config for the target")
# The target's libraries and headers, never the build machine's; its
# programs (for try_run and ctest) under qemu-user, which finds the target's
# dynamic loader where multiarch put it.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_CROSSCOMPILING_EMULATOR ${QUANDRITE_QEMU})
