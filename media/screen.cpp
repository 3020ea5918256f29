#include "screen.h"

#include <SDL.h>

#include "automation.h"
#include "backend_ops.h"
#include "compositor.h"
#include "frame_pacer.h"
#include "renderer_choice.h"
#include "test_hooks.h"
#include "video_internal.h"

namespace media {

namespace {

struct Presentation {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    bool vsync = false;
    bool textureLost = false;
};

bool screenOpen = false;
Presentation presentation;
FramePacer pacer;
bool pacing = true;
uint64_t frames = 0;
FlipObserver flipObserver;

// Vsync paces correctly only when the display itself runs at 60 Hz.
bool displayRunsAt60Hz(SDL_Window* window) {
    SDL_DisplayMode mode;
    int display = SDL_GetWindowDisplayIndex(window);
    if (SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) != 0) return false;
    return mode.refresh_rate >= 59 && mode.refresh_rate <= 61;
}

bool createTexture() {
    if (presentation.texture) SDL_DestroyTexture(presentation.texture);
    presentation.texture = SDL_CreateTexture(presentation.renderer, SDL_PIXELFORMAT_ARGB8888,
                                             SDL_TEXTUREACCESS_STREAMING, kScreenWidth, kScreenHeight);
    if (!presentation.texture) return false;
    SDL_SetTextureScaleMode(presentation.texture, SDL_ScaleModeNearest);
    SDL_SetTextureBlendMode(presentation.texture, SDL_BLENDMODE_NONE);
    presentation.textureLost = false;
    return true;
}

void releasePresentation() {
    if (presentation.texture) SDL_DestroyTexture(presentation.texture);
    if (presentation.renderer) SDL_DestroyRenderer(presentation.renderer);
    presentation = Presentation{};
}

bool openPresentation(SDL_Window* window) {
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    presentation.window = window;
    presentation.vsync = displayRunsAt60Hz(window);
    uint32_t flags = presentation.vsync ? SDL_RENDERER_PRESENTVSYNC : 0;
    presentation.renderer = createPresentingRenderer(window, flags);
    if (!presentation.renderer || !createTexture()) {
        SDL_Log("Quandrite: cannot open the screen: %s", SDL_GetError());
        releasePresentation();
        return false;
    }
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(presentation.renderer, &info) == 0)
        presentation.vsync = presentation.vsync && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    return true;
}

// Uploads the back buffer and shows it stretched over the whole client area.
bool present() {
    if (presentation.textureLost && !createTexture()) return false;
    if (SDL_UpdateTexture(presentation.texture, nullptr, backBuffer(), kScreenWidth * 4) != 0 ||
        SDL_RenderCopy(presentation.renderer, presentation.texture, nullptr, nullptr) != 0) {
        presentation.textureLost = true;
        return false;
    }
    SDL_RenderPresent(presentation.renderer);
    return true;
}

}  // namespace

bool openSdlPresentation(Window* window) {
    SDL_Window* sdl = sdlWindowFromHandle(window);
    return sdl && openPresentation(sdl);
}

// The title screen passes the window's saved size, which the player may have
// changed; the picture stays the same and is stretched to the window.
int openWindowedScreen(Window* window, int, int, int, int, int, int, int) {
    closeScreen();
    clearBackBuffer(0);
    pacer.reset();
    if (!backendOps().openPresentation(window)) return 0;
    screenOpen = true;
    return 1;
}

void closeScreen() {
    releasePresentation();
    screenOpen = false;
}

void clearScreen(uint32_t colour) { clearBackBuffer(gameColourToArgb(colour)); }

int flipBuffers() {
    int result = 1;
    if (presentation.renderer) result = present() ? 1 : 0;
    if (pacing) pacer.wait(presentation.renderer && presentation.vsync);
    ++frames;
    if (flipObserver) flipObserver(frames);
    return result;
}

void noteRendererReset() { presentation.textureLost = true; }
void simulateRendererReset() { noteRendererReset(); }
bool screenPresents() { return presentation.renderer != nullptr; }

void detachScreenFrom(SDL_Window* window) {
    if (presentation.window == window) closeScreen();
}

void setFramePacing(bool on) {
    pacing = on;
    pacer.reset();
}

void setFlipObserver(FlipObserver observer) { flipObserver = std::move(observer); }
uint64_t framesFlipped() { return frames; }
const uint32_t* screenPixels() { return backBuffer(); }

}  // namespace media
