#include "renderer_choice.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <cstring>

namespace media {

namespace {

enum class Verdict { Unknown, Cpu, Gpu };
Verdict verdict = Verdict::Unknown;

// An X server without DRI gives its clients no GPU: GL there is indirect or
// Mesa's software rasteriser, whatever the machine has.
bool xServerOffersNoGpu(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11 || !info.info.x11.display)
        return false;
    int opcode = 0, event = 0, error = 0;
    Display* display = info.info.x11.display;
    return !XQueryExtension(display, "DRI3", &opcode, &event, &error) &&
           !XQueryExtension(display, "DRI2", &opcode, &event, &error);
}

bool rendererIsSoftwareGl(SDL_Renderer* renderer) {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) != 0 || std::strncmp(info.name, "opengl", 6) != 0) return false;
    using GetString = const unsigned char* (*)(unsigned);
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    if (!getString) return false;
    constexpr unsigned kGlRenderer = 0x1F01;
    const char* name = reinterpret_cast<const char*>(getString(kGlRenderer));
    return name && (std::strstr(name, "llvmpipe") || std::strstr(name, "softpipe") ||
                    std::strstr(name, "Software Rasterizer"));
}

}  // namespace

SDL_Renderer* createPresentingRenderer(SDL_Window* window, uint32_t flags) {
    bool driverChosen = SDL_GetHint(SDL_HINT_RENDER_DRIVER) != nullptr;
    if (!driverChosen && verdict == Verdict::Unknown && xServerOffersNoGpu(window)) verdict = Verdict::Cpu;
    SDL_Renderer* renderer = nullptr;
    if (driverChosen || verdict != Verdict::Cpu) renderer = SDL_CreateRenderer(window, -1, flags);
    if (renderer && !driverChosen) {
        verdict = rendererIsSoftwareGl(renderer) ? Verdict::Cpu : Verdict::Gpu;
        if (verdict == Verdict::Cpu) {
            SDL_DestroyRenderer(renderer);
            renderer = nullptr;
        }
    }
    return renderer ? renderer : SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
}

}  // namespace media
