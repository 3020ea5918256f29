// SPDX-License-Identifier: MIT
#pragma once
// Whether the GPU path can draw the game: an SDL renderer that is
// accelerated and is not a software rasteriser.
#include <SDL.h>

namespace media {

// An accelerated renderer for the window, or null when the picture is better
// made by the software path: no accelerated renderer, or OpenGL drawn by the
// CPU (Mesa's llvmpipe: under Xvfb, in a virtual machine, without a GPU;
// SwiftShader: a browser without a usable GPU),
// decided from the display when it can be, which spares loading the GL
// driver (about 60 MB) at all, otherwise by trying OpenGL once per process.
// `forced` takes any accelerated renderer, as does a renderer named in
// SDL_RENDER_DRIVER.
SDL_Renderer* createGpuRenderer(SDL_Window* window, uint32_t flags, bool forced);
// SDL's name of the renderer and, for OpenGL, the driver's name.
const char* rendererDescription(SDL_Renderer* renderer);

}  // namespace media
