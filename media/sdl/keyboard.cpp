// SPDX-License-Identifier: MIT
#include "media/keyboard.h"

#include <SDL.h>

#include <array>
#include <cstring>

#include "media/automation.h"
#include "media/common/backend_ops.h"
#include "media/device_keys.h"
#include "media/gamepad.h"
#include "media/sdl/fullscreen.h"
#include "media/sdl/key_map.h"
#include "media/sdl/video_internal.h"
#include "media/test_hooks.h"

namespace media {

namespace {

constexpr uint8_t kDown = 0x80;

bool initialised = false;
std::array<uint8_t, 256> snapshot{};
KeyboardSource source;
KeyboardObserver observer;
FocusOverride focus = FocusOverride::Real;

bool windowHasFocus() {
    if (focus != FocusOverride::Real) return focus == FocusOverride::Focused;
    return source || backendOps().keyboardFocused();
}

}  // namespace

bool windowFocusedForKeys() {
    if (focus != FocusOverride::Real) return focus == FocusOverride::Focused;
    return backendOps().keyboardFocused();
}

bool sdlKeyboardFocused() {
    SDL_Window* window = mainSdlWindow();
    return window && SDL_GetKeyboardFocus() == window;
}

bool readSdlKeyboard(uint8_t* keys) {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
    SDL_PumpEvents();
    int count = 0;
    const uint8_t* state = SDL_GetKeyboardState(&count);
    for (int i = 0; i < count; ++i)
        if (state[i]) {
            uint8_t code = directInputCode(static_cast<SDL_Scancode>(i));
            if (code) keys[code] = kDown;
        }
    hideFullscreenChord(keys);
    return true;
}

bool initKeyboard() {
    initialised = true;
    snapshot.fill(0);
    return true;
}

void releaseKeyboard() {
    initialised = false;
    snapshot.fill(0);
}

int examineKeyboard() {
    snapshot.fill(0);
    if (!initialised) return 0;
    bool ok = windowHasFocus();
    if (ok) ok = source ? source(snapshot.data()) : backendOps().readKeyboard(snapshot.data());
    // Gamepads are real input too; a source (demo, test) stands in for both.
    if (!source && windowHasFocus() && mergeGamepadKeys(snapshot.data())) ok = true;
    // Whatever a failed read left behind counts as released.
    if (!ok) snapshot.fill(0);
    if (observer) observer(snapshot.data());
    return ok ? 1 : 0;
}

int keyPushed(int code) {
    if (code == key::Any) {
        for (int i = 0; i < 255; ++i)
            if (snapshot[static_cast<size_t>(i)] & kDown) return 1;
        return 0;
    }
    if (code < 0 || code > 255) return 0;
    return (snapshot[static_cast<size_t>(code)] & kDown) ? 128 : 0;
}

void setKeyboardSource(KeyboardSource newSource) { source = std::move(newSource); }
void setKeyboardObserver(KeyboardObserver newObserver) { observer = std::move(newObserver); }
void setKeyboardFocus(FocusOverride state) { focus = state; }

void injectKeys(const std::vector<int>& codesDown) {
    std::array<uint8_t, 256> keys{};
    for (int code : codesDown)
        if (code >= 0 && code < 256) keys[static_cast<size_t>(code)] = kDown;
    source = [keys](uint8_t* out) {
        std::memcpy(out, keys.data(), keys.size());
        return true;
    };
}

}  // namespace media
