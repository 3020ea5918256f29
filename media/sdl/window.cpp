// SPDX-License-Identifier: MIT
#include "media/window.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <string>

#include "media/automation.h"
#include "media/common/backend_ops.h"
#include "media/common/object_table.h"
#include "media/presentation.h"
#include "media/sdl/app_name.h"
#include "media/sdl/fullscreen.h"
#include "media/sdl/hotkeys.h"
#include "media/sdl/video_internal.h"
#include "media/window_icon.h"
#include "platform/quiet_stderr.h"
#include "platform/quit_signals.h"

namespace media {

namespace {

constexpr int kDefaultPosition = -65535;
constexpr int kEventActivated = 13104;
constexpr int kEventDeactivated = 13114;
constexpr int kEventMoved = 13117;
constexpr int kEventResized = 13118;

ObjectTable<Window> windows(16);
bool started = false;
std::deque<int> injected;
std::deque<int> pending;
// Why the SDL backend has no real window; empty while it has one.
std::string failure;

struct Borders {
    int top = 0, left = 0, bottom = 0, right = 0;
};

Borders bordersOf(SDL_Window* window) {
    Borders b;
    if (SDL_GetWindowBordersSize(window, &b.top, &b.left, &b.bottom, &b.right) != 0) b = Borders{};
    return b;
}

void queueEvent(int code) {
    if (!pending.empty() && pending.back() == code) return;
    pending.push_back(code);
}

// Moves the SDL window so that its frame's corner is at (x, y), or centres
// the frame on its display.
void placeSdlWindow(SDL_Window* window, int x, int y, bool centred) {
    Borders b = bordersOf(window);
    if (centred) {
        int innerWidth = 0, innerHeight = 0;
        SDL_GetWindowSize(window, &innerWidth, &innerHeight);
        SDL_Rect desk{0, 0, kVirtualDesktopWidth, kVirtualDesktopHeight};
        int display = SDL_GetWindowDisplayIndex(window);
        SDL_GetDisplayBounds(display < 0 ? 0 : display, &desk);
        int outerWidth = innerWidth + b.left + b.right;
        int outerHeight = innerHeight + b.top + b.bottom;
        x = desk.x + (desk.w - std::min(desk.w, outerWidth)) / 2;
        y = desk.y + (desk.h - std::min(desk.h, outerHeight)) / 2;
    } else if (x == kDefaultPosition || y == kDefaultPosition) {
        return;
    }
    SDL_SetWindowPosition(window, x + b.left, y + b.top);
}

void translateSdlEvent(const SDL_Event& event) {
    if (handleHotkey(event)) return;
    if (event.type == SDL_QUIT) {
        queueEvent(kEventCloseWindow);
        return;
    }
    if (event.type == SDL_RENDER_TARGETS_RESET || event.type == SDL_RENDER_DEVICE_RESET) {
        noteRendererReset();
        return;
    }
    if (event.type != SDL_WINDOWEVENT) return;
    switch (event.window.event) {
    case SDL_WINDOWEVENT_CLOSE: queueEvent(kEventCloseWindow); break;
    case SDL_WINDOWEVENT_FOCUS_GAINED: queueEvent(kEventActivated); break;
    case SDL_WINDOWEVENT_FOCUS_LOST: queueEvent(kEventDeactivated); break;
    case SDL_WINDOWEVENT_MOVED: queueEvent(kEventMoved); break;
    case SDL_WINDOWEVENT_SIZE_CHANGED: queueEvent(kEventResized); break;
    default: break;
    }
}

}  // namespace

Window::~Window() {
    if (!sdl) return;
    detachScreenFrom(sdl);
    SDL_DestroyWindow(sdl);
}

// Whether SDL_VIDEODRIVER (one name or a comma-separated list) names the driver.
bool driverNamed(const char* driver) {
    const char* named = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    if (!named) return false;
    std::string list = std::string(",") + named + ",";
    return list.find(std::string(",") + driver + ",") != std::string::npos;
}

// SDL falls back to a driver that shows nothing when no display answers;
// only a player or script that asked for one by name gets it.
bool invisibleFallback() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) return true;
    bool invisible = std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
    return invisible && !driverNamed(driver);
}

bool driverHasWindowPixels() {
    const char* driver = SDL_GetCurrentVideoDriver();
    for (const char* own : {"x11", "offscreen", "dummy"})
        if (driver && std::strcmp(driver, own) == 0) return true;
    return false;
}

bool startSdlVideo() {
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    nameSdlApp();
    bool opened;
    {
        // Each display system SDL tries and does not find complains on stderr.
        platform::StderrMuted quiet;
        opened = SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0;
    }
    if (!opened) {
        failure = SDL_GetError();
        return false;
    }
    if (invisibleFallback()) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        failure = "no display (is DISPLAY set?)";
        return false;
    }
    // The software path composes into the window's own pixels where the
    // driver has them, not into a texture of a renderer SDL would make
    // behind them; elsewhere it draws through a renderer of its own, and
    // SDL's window surface, made of such a texture, is what is left.
    if (driverHasWindowPixels()) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    failure.clear();
    return true;
}

void stopSdlVideo() { SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS); }

void pollSdlEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) translateSdlEvent(event);
}

// Reopening keeps the SDL window (and with it the screen's renderer).
bool showSdlWindow(int number, Window& window, int x, int y, int innerWidth, int innerHeight, bool centred) {
    if (!startWindows()) return false;
    if (window.sdl) {
        SDL_SetWindowTitle(window.sdl, window.title.c_str());
        SDL_SetWindowSize(window.sdl, innerWidth, innerHeight);
    } else {
        window.sdl = SDL_CreateWindow(window.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, innerWidth,
                                      innerHeight, SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI);
        if (!window.sdl) {
            // Without its window the game cannot go on: it ends as if closed.
            failure = SDL_GetError();
            queueEvent(kEventCloseWindow);
            return false;
        }
        applyWindowIcon(window.sdl);
        SDL_ShowWindow(window.sdl);
    }
    placeSdlWindow(window.sdl, x, y, centred);
    noteWindowOpened(number);
    return true;
}

void retitleSdlWindow(Window& window) {
    if (window.sdl) SDL_SetWindowTitle(window.sdl, window.title.c_str());
}

WindowGeometry sdlWindowGeometry(const Window& window) {
    if (!window.sdl) return window.placed;
    if (const WindowGeometry* windowed = windowedGeometryWhileFullscreen(window.sdl)) return *windowed;
    WindowGeometry geometry;
    SDL_GetWindowPosition(window.sdl, &geometry.x, &geometry.y);
    SDL_GetWindowSize(window.sdl, &geometry.width, &geometry.height);
    Borders b = bordersOf(window.sdl);
    geometry.x -= b.left;
    geometry.y -= b.top;
    return geometry;
}

bool startWindows() {
    if (started) return true;
    // SDL would otherwise turn the quit signals into its quit event only
    // while its event loop runs, and not at all without a window.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    platform::catchQuitSignals();
    if (!backendOps().startVideo()) return false;
    started = true;
    return true;
}

Window* openWindow(int number, int x, int y, int innerWidth, int innerHeight, const std::string& title,
                   uint32_t flags) {
    bool centred = (flags & kWindowCentred) != 0;
    innerWidth = std::max(1, innerWidth);
    innerHeight = std::max(1, innerHeight);
    Window* window = windows.lookup(number);
    if (!window) window = &windows.obtainSlot(number);
    window->title = title;
    if (!backendOps().showWindow(number, *window, x, y, innerWidth, innerHeight, centred)) {
        windows.release(number);
        return nullptr;
    }
    return window;
}

Window* windowHandle(int number) { return windows.lookup(number); }

int setWindowTitle(int number, const std::string& text) {
    Window* window = windows.lookup(number);
    if (!window) return 0;
    window->title = text;
    backendOps().retitleWindow(*window);
    return 1;
}

std::string windowTitle(int number) {
    Window* window = windows.lookup(number);
    return window ? window->title : std::string();
}

namespace {
WindowGeometry geometryOf(int number) {
    Window* window = windows.lookup(number);
    return window ? backendOps().windowGeometry(*window) : WindowGeometry{};
}
}  // namespace

int windowX(int number) { return geometryOf(number).x; }
int windowY(int number) { return geometryOf(number).y; }
int windowInnerWidth(int number) { return geometryOf(number).width; }
int windowInnerHeight(int number) { return geometryOf(number).height; }

std::string windowFailure() { return failure; }

void noteNoPicture(const std::string& why) {
    failure = "no picture can be shown in it: " + why;
    queueEvent(kEventCloseWindow);
}

int windowEvent() {
    if (platform::takeQuitRequest()) return kEventCloseWindow;
    if (!injected.empty()) {
        int code = injected.front();
        injected.pop_front();
        return code;
    }
    if (started) backendOps().pollEvents();
    if (pending.empty()) return 0;
    int code = pending.front();
    pending.pop_front();
    return code;
}

void closeWindow(int number) { windows.release(number); }

void closeAllWindows() {
    windows.releaseAll();
    pending.clear();
    if (started) backendOps().stopVideo();
    started = false;
}

void injectWindowEvent(int code) { injected.push_back(code); }

SDL_Window* sdlWindowFromHandle(const Window* handle) {
    SDL_Window* found = nullptr;
    windows.forEach([&](int, Window& window) {
        if (&window == handle) found = window.sdl;
    });
    return found;
}

SDL_Window* mainSdlWindow() {
    Window* window = windows.lookup(0);
    return window ? window->sdl : nullptr;
}

}  // namespace media
