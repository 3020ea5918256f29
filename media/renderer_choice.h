#pragma once
// Which SDL renderer presents the game's finished frames.
#include <SDL.h>

namespace media {

// SDL's default renderer, unless that would be OpenGL drawn by the CPU
// (Mesa's llvmpipe: under Xvfb, in a virtual machine, without a GPU): for our
// one stretched quad SDL's own software renderer is many times faster there,
// and it spares loading the GL driver (about 60 MB) at all. Decided from the
// display when it can be, otherwise by trying OpenGL once per process. A
// renderer named in SDL_RENDER_DRIVER is taken as it is. Null on failure.
SDL_Renderer* createPresentingRenderer(SDL_Window* window, uint32_t flags);

}  // namespace media
