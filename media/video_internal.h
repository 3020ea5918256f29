#pragma once
// Links between the window and the screen inside the layer.
#include <SDL.h>

namespace media {

// The SDL window behind a window handle of ours (null in headless mode).
SDL_Window* sdlWindowFromHandle(void* handle);
// The SDL window of window 0, for the keyboard focus test.
SDL_Window* mainSdlWindow();
// Called by the event loop when SDL says textures were lost.
void noteRendererReset();
// Called before an SDL window is destroyed: the screen drops its renderer.
void detachScreenFrom(SDL_Window* window);

}  // namespace media
