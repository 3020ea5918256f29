// SPDX-License-Identifier: MIT
#pragma once
// Links between the window and the screen inside the layer.
#include <SDL.h>

#include <string>

#include "media/sdl/fullscreen.h"

namespace media {

// The desktop of the headless backend, and of SDL when no display tells its size.
constexpr int kVirtualDesktopWidth = 1920;
constexpr int kVirtualDesktopHeight = 1080;

// A numbered top-level window: its SDL window on the SDL backend, its place
// on the virtual desktop on the headless one.
class Window {
public:
    SDL_Window* sdl = nullptr;
    WindowGeometry placed;
    std::string title;  // as the game set it

    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    ~Window();
};

// The SDL window behind a window of ours, if it is still open (null headless).
SDL_Window* sdlWindowFromHandle(const Window* handle);
// The SDL window of window 0, for the keyboard focus test.
SDL_Window* mainSdlWindow();
// Called by the event loop when SDL says textures were lost.
void noteRendererReset();
// Whether the video driver gives windows pixels of their own; the others
// (Wayland, KMS) show a window's pixels only through a renderer's texture.
bool driverHasWindowPixels();
// Called by the screen when it can show no picture at all in the window: the
// game ends, as if closed, and windowFailure says why.
void noteNoPicture(const std::string& why);
// Called before an SDL window is destroyed: the screen drops its renderer.
void detachScreenFrom(SDL_Window* window);

}  // namespace media
