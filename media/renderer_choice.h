#pragma once
// Which SDL renderer presents the game's finished frames.
#include <SDL.h>

namespace media {

// True when SDL's default renderer would be OpenGL drawn by the CPU (Mesa's
// llvmpipe: under Xvfb, in a virtual machine, without a GPU). For our one
// stretched quad SDL's own software renderer is many times faster there, and
// it spares loading the GL driver (about 60 MB) at all. Decided from the
// display when it can be, otherwise by trying OpenGL once per process.
bool defaultRendererRunsOnCpu(SDL_Window* window);
// Remembers what a created renderer turned out to be.
void noteRendererRunsOnCpu(bool onCpu);
// Whether this renderer is OpenGL drawn by the CPU.
bool rendererIsSoftwareGl(SDL_Renderer* renderer);

}  // namespace media
