// SPDX-License-Identifier: MIT
#include "media/sdl/renderer_choice.h"

#include <SDL_syswm.h>
#if QUANDRITE_X11
#include <X11/Xlib.h>
#endif

#include <cstdio>
#include <cstring>

#if defined(__EMSCRIPTEN__)
#include <emscripten.h>

// A browser names its WebGL renderer only through this extension ("WebKit
// WebGL" otherwise): Chrome without a usable GPU draws with SwiftShader.
EM_JS(void, webglRendererName, (char* out, int size), {
    var gl = typeof GLctx != "undefined" ? GLctx : null;
    var extension = gl ? gl.getExtension("WEBGL_debug_renderer_info") : null;
    stringToUTF8(extension ? String(gl.getParameter(extension.UNMASKED_RENDERER_WEBGL)) : "", out, size);
});
#endif

namespace media {

namespace {

enum class Verdict { Unknown, Cpu, Gpu };
Verdict verdict = Verdict::Unknown;

// An X server without DRI gives its clients no GPU: GL there is indirect or
// Mesa's software rasteriser, whatever the machine has.
bool xServerOffersNoGpu(SDL_Window* window) {
#if !QUANDRITE_X11
    // Windows and the others have no X server between the game and the GPU.
    (void)window;
    return false;
#else
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11 || !info.info.x11.display) return false;
    int opcode = 0, event = 0, error = 0;
    Display* display = info.info.x11.display;
    return !XQueryExtension(display, "DRI3", &opcode, &event, &error) &&
           !XQueryExtension(display, "DRI2", &opcode, &event, &error);
#endif
}

const char* glRendererName(SDL_Renderer* renderer) {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) != 0 || std::strncmp(info.name, "opengl", 6) != 0) return nullptr;
#if defined(__EMSCRIPTEN__)
    static char name[200];
    webglRendererName(name, sizeof name);
    if (name[0]) return name;
#endif
    using GetString = const unsigned char* (*)(unsigned);
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    if (!getString) return nullptr;
    constexpr unsigned kGlRenderer = 0x1F01;
    return reinterpret_cast<const char*>(getString(kGlRenderer));
}

bool rendererIsSoftware(SDL_Renderer* renderer) {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) != 0 || !(info.flags & SDL_RENDERER_ACCELERATED)) return true;
    const char* name = glRendererName(renderer);
    return name && (std::strstr(name, "llvmpipe") || std::strstr(name, "softpipe") ||
                    std::strstr(name, "Software Rasterizer") || std::strstr(name, "SwiftShader"));
}

}  // namespace

SDL_Renderer* createGpuRenderer(SDL_Window* window, uint32_t flags, bool forced) {
    forced = forced || SDL_GetHint(SDL_HINT_RENDER_DRIVER) != nullptr;
    if (!forced && verdict == Verdict::Unknown && xServerOffersNoGpu(window)) verdict = Verdict::Cpu;
    if (!forced && verdict == Verdict::Cpu) return nullptr;
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1,
                                                flags | SDL_RENDERER_ACCELERATED | SDL_RENDERER_TARGETTEXTURE);
    if (!renderer || forced) return renderer;
    verdict = rendererIsSoftware(renderer) ? Verdict::Cpu : Verdict::Gpu;
    if (verdict == Verdict::Gpu) return renderer;
    SDL_DestroyRenderer(renderer);
    return nullptr;
}

const char* rendererDescription(SDL_Renderer* renderer) {
    static char text[160];
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) != 0) return "unknown";
    const char* driver = glRendererName(renderer);
    std::snprintf(text, sizeof text, "%s%s%s", info.name, driver ? ", " : "", driver ? driver : "");
    return text;
}

}  // namespace media
