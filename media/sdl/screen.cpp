// SPDX-License-Identifier: MIT
#include "media/screen.h"

#include <SDL.h>

#include "media/automation.h"
#include "media/common/backend_ops.h"
#include "media/common/compositor.h"
#include "media/common/frame_pacer.h"
#include "media/common/unseen_frames.h"
#include "media/overlay.h"
#include "media/presentation.h"
#include "media/sdl/gpu_screen.h"
#include "media/sdl/renderer_choice.h"
#include "media/sdl/surface_present.h"
#include "media/sdl/texture_present.h"
#include "media/sdl/video_internal.h"
#include "media/test_hooks.h"

namespace media {

namespace {

SDL_Window* screenWindow = nullptr;
SDL_Renderer* gpuRenderer = nullptr;
bool vsync = false;
bool screenOpen = false;
FramePacer pacer;
bool pacing = true;
uint64_t frames = 0;
FlipObserver flipObserver;
std::function<void()> overlay;

// Vsync paces correctly only when the display itself runs at 60 Hz.
bool displayRunsAt60Hz(SDL_Window* window) {
    SDL_DisplayMode mode;
    int display = SDL_GetWindowDisplayIndex(window);
    if (SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) != 0) return false;
    return mode.refresh_rate >= 59 && mode.refresh_rate <= 61;
}

void releasePresentation() {
    closeGpuScreen();
    if (gpuRenderer) SDL_DestroyRenderer(gpuRenderer);
    gpuRenderer = nullptr;
    closeSurfacePresenter();
    closeTexturePresenter();
    screenWindow = nullptr;
    vsync = false;
}

bool openGpuPath(SDL_Window* window) {
    bool forced = rendererChoice() == RendererChoice::Gpu;
    bool wantVsync = displayRunsAt60Hz(window);
    gpuRenderer = createGpuRenderer(window, wantVsync ? SDL_RENDERER_PRESENTVSYNC : 0, forced);
    if (!gpuRenderer) {
        if (forced) SDL_Log("Quandrite: no GPU renderer (%s); drawing in software", SDL_GetError());
        return false;
    }
    if (!openGpuScreen(gpuRenderer)) {
        SDL_Log("Quandrite: the GPU renderer cannot draw the screen (%s); drawing in software", SDL_GetError());
        SDL_DestroyRenderer(gpuRenderer);
        gpuRenderer = nullptr;
        return false;
    }
    SDL_RendererInfo info;
    vsync = wantVsync && SDL_GetRendererInfo(gpuRenderer, &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC);
    if (forced) SDL_Log("Quandrite: drawing on the GPU with %s", rendererDescription(gpuRenderer));
    return true;
}

bool openPresentation(SDL_Window* window) {
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    screenWindow = window;
    if (rendererChoice() != RendererChoice::Software && openGpuPath(window)) return true;
    if (!driverHasWindowPixels() && openTexturePresenter(window)) return true;
    if (openSurfacePresenter(window)) return true;
    // A game nobody sees must not play on, music and all.
    noteNoPicture(SDL_GetError());
    releasePresentation();
    return false;
}

bool present() {
    if (gpuScreenOpen()) return gpuPresent();
    if (surfacePresenterOpen()) return presentSurface();
    if (texturePresenterOpen()) return presentTexture();
    return true;
}

}  // namespace

bool openSdlPresentation(Window* window) {
    SDL_Window* sdl = sdlWindowFromHandle(window);
    return sdl && openPresentation(sdl);
}

// The title screen passes the window's saved size, which the player may have
// changed; the picture stays the same and is placed in the window as the
// scale mode says.
int openWindowedScreen(Window* window, int, int, int, int, int, int, int) {
    closeScreen();
    pacer.reset();
    if (!backendOps().openPresentation(window)) return 0;
    clearScreen(0);
    screenOpen = true;
    return 1;
}

void closeScreen() {
    releasePresentation();
    screenOpen = false;
}

void clearScreen(uint32_t colour) {
    if (framesUnseen()) return;
    uint32_t argb = gameColourToArgb(colour);
    if (gpuScreenOpen()) {
        gpuClear(argb);
        return;
    }
    prepareSurfaceFrame();
    clearBackBuffer(argb);
}

int flipBuffers() {
    int result = 1;
    if (!framesUnseen()) {
        if (overlay) overlay();
        result = present() ? 1 : 0;
        if (pacing) pacer.wait(vsync);
    }
    ++frames;
    if (flipObserver) flipObserver(frames);
    return result;
}

void noteRendererReset() { gpuTexturesLost(); }
void simulateRendererReset() { noteRendererReset(); }
bool screenPresents() { return gpuScreenOpen() || surfacePresenterOpen() || texturePresenterOpen(); }
bool screenUsesGpu() { return gpuScreenOpen(); }

void detachScreenFrom(SDL_Window* window) {
    if (screenWindow == window) closeScreen();
}

void setFramePacing(bool on) {
    pacing = on;
    pacer.reset();
}

bool framePacing() { return pacing; }
void setFlipObserver(FlipObserver observer) { flipObserver = std::move(observer); }
void setOverlay(std::function<void()> draw) { overlay = std::move(draw); }
uint64_t framesFlipped() { return frames; }
const uint32_t* screenPixels() { return gpuScreenOpen() ? gpuPixels() : backBuffer(); }

}  // namespace media
