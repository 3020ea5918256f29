#include "window.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <deque>

#include "fullscreen.h"
#include "layer_state.h"
#include "object_table.h"
#include "quiet_stderr.h"
#include "quit_signals.h"
#include "test_hooks.h"
#include "video_internal.h"
#include "window_icon.h"

namespace media {

namespace {

constexpr int kVirtualDesktopWidth = 1920;
constexpr int kVirtualDesktopHeight = 1080;
constexpr int kDefaultPosition = -65535;
constexpr int kEventActivated = 13104;
constexpr int kEventDeactivated = 13114;
constexpr int kEventMoved = 13117;
constexpr int kEventResized = 13118;

struct WindowRecord {
    SDL_Window* sdl = nullptr;
    // Headless geometry and the title as the game set it.
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    std::string title;

    WindowRecord() = default;
    WindowRecord(const WindowRecord&) = delete;
    WindowRecord& operator=(const WindowRecord&) = delete;
    ~WindowRecord() {
        if (!sdl) return;
        detachScreenFrom(sdl);
        SDL_DestroyWindow(sdl);
    }
};

ObjectTable<WindowRecord> windows(16);
bool started = false;
std::deque<int> injected;
std::deque<int> pending;
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
    if (handleFullscreenKey(event)) return;
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

}  // namespace

bool startWindows() {
    if (started) return true;
    catchQuitSignals();
    if (!headlessMode()) {
        // The software compositor does all drawing; the renderer only scales.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
        bool opened;
        {
            StderrMuted quiet;
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
    }
    failure.clear();
    started = true;
    return true;
}

std::string windowFailure() { return failure; }

void* openWindow(int number, int x, int y, int innerWidth, int innerHeight, const std::string& title,
                 uint32_t flags) {
    bool centred = (flags & kWindowCentred) != 0;
    innerWidth = std::max(1, innerWidth);
    innerHeight = std::max(1, innerHeight);
    if (headlessMode()) {
        WindowRecord& record = windows.obtainSlot(number);
        if (centred) {
            x = (kVirtualDesktopWidth - std::min(kVirtualDesktopWidth, innerWidth)) / 2;
            y = (kVirtualDesktopHeight - std::min(kVirtualDesktopHeight, innerHeight)) / 2;
        }
        record.x = x;
        record.y = y;
        record.width = innerWidth;
        record.height = innerHeight;
        record.title = title;
        return &record;
    }
    if (!startWindows()) return nullptr;

    // Reopening keeps the SDL window (and with it the screen's renderer).
    SDL_Window* window = nullptr;
    if (WindowRecord* old = windows.lookup(number)) std::swap(window, old->sdl);
    WindowRecord& record = windows.obtainSlot(number);
    if (window) {
        SDL_SetWindowTitle(window, title.c_str());
        SDL_SetWindowSize(window, innerWidth, innerHeight);
    } else {
        window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, innerWidth,
                                  innerHeight, SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN);
        if (!window) {
            // Without its window the game cannot go on: it ends as if closed.
            failure = SDL_GetError();
            windows.release(number);
            queueEvent(kEventCloseWindow);
            return nullptr;
        }
        applyWindowIcon(window);
        SDL_ShowWindow(window);
    }
    record.sdl = window;
    record.title = title;
    placeSdlWindow(window, x, y, centred);
    noteWindowOpened(number);
    return window;
}

void* windowHandle(int number) {
    WindowRecord* record = windows.lookup(number);
    if (!record) return nullptr;
    return record->sdl ? static_cast<void*>(record->sdl) : static_cast<void*>(record);
}

int setWindowTitle(int number, const std::string& text) {
    WindowRecord* record = windows.lookup(number);
    if (!record) return 0;
    record->title = text;
    if (record->sdl) SDL_SetWindowTitle(record->sdl, text.c_str());
    return 1;
}

std::string windowTitle(int number) {
    WindowRecord* record = windows.lookup(number);
    return record ? record->title : std::string();
}

int windowX(int number) {
    WindowRecord* record = windows.lookup(number);
    if (!record) return 0;
    if (!record->sdl) return record->x;
    if (const WindowGeometry* windowed = windowedGeometryWhileFullscreen(record->sdl)) return windowed->x;
    int x = 0;
    SDL_GetWindowPosition(record->sdl, &x, nullptr);
    return x - bordersOf(record->sdl).left;
}

int windowY(int number) {
    WindowRecord* record = windows.lookup(number);
    if (!record) return 0;
    if (!record->sdl) return record->y;
    if (const WindowGeometry* windowed = windowedGeometryWhileFullscreen(record->sdl)) return windowed->y;
    int y = 0;
    SDL_GetWindowPosition(record->sdl, nullptr, &y);
    return y - bordersOf(record->sdl).top;
}

int windowInnerWidth(int number) {
    WindowRecord* record = windows.lookup(number);
    if (!record) return 0;
    if (!record->sdl) return record->width;
    if (const WindowGeometry* windowed = windowedGeometryWhileFullscreen(record->sdl)) return windowed->width;
    int width = 0;
    SDL_GetWindowSize(record->sdl, &width, nullptr);
    return width;
}

int windowInnerHeight(int number) {
    WindowRecord* record = windows.lookup(number);
    if (!record) return 0;
    if (!record->sdl) return record->height;
    if (const WindowGeometry* windowed = windowedGeometryWhileFullscreen(record->sdl)) return windowed->height;
    int height = 0;
    SDL_GetWindowSize(record->sdl, nullptr, &height);
    return height;
}

int windowEvent() {
    if (quitRequested()) return kEventCloseWindow;
    if (!injected.empty()) {
        int code = injected.front();
        injected.pop_front();
        return code;
    }
    if (started && !headlessMode()) {
        SDL_Event event;
        while (SDL_PollEvent(&event)) translateSdlEvent(event);
    }
    if (pending.empty()) return 0;
    int code = pending.front();
    pending.pop_front();
    return code;
}

void closeWindow(int number) { windows.release(number); }

void closeAllWindows() {
    windows.releaseAll();
    pending.clear();
    if (started && !headlessMode()) SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    started = false;
}

void injectWindowEvent(int code) { injected.push_back(code); }

SDL_Window* sdlWindowFromHandle(void* handle) {
    SDL_Window* found = nullptr;
    windows.forEach([&](int, WindowRecord& record) {
        if (record.sdl && record.sdl == handle) found = record.sdl;
    });
    return found;
}

SDL_Window* mainSdlWindow() {
    WindowRecord* record = windows.lookup(0);
    return record ? record->sdl : nullptr;
}

}  // namespace media
