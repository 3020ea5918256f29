# SPDX-License-Identifier: MIT
# 64-bit Windows with Debian's MinGW-w64, the POSIX-threads flavour (the game
# and its tests use std::thread and std::mutex). Libraries are looked for in
# the toolchain's own root and in CMAKE_PREFIX_PATH, the cross-built ones of
# scripts/build-windows-deps, never in the machine's /usr.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUANDRITE_MINGW x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${QUANDRITE_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUANDRITE_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${QUANDRITE_MINGW}-windres)
set(CMAKE_AR ${QUANDRITE_MINGW}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${QUANDRITE_MINGW}-gcc-ranlib-posix CACHE FILEPATH "")
set(PKG_CONFIG_EXECUTABLE ${QUANDRITE_MINGW}-pkg-config CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${QUANDRITE_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The prefixes given on the command line are roots of their own.
list(APPEND CMAKE_FIND_ROOT_PATH ${CMAKE_PREFIX_PATH})

# What a Windows player runs needs no MinGW runtime DLL beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
