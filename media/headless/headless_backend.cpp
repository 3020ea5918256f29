// SPDX-License-Identifier: MIT
// The headless backend: virtual windows on a 1920 x 1080 desktop, no events
// but injected ones, no presentation, no sound device, no keyboard or gamepad.
#include <algorithm>

#include "media/common/backend_ops.h"
#include "media/gamepad.h"
#include "media/sdl/video_internal.h"

namespace media {

namespace {

bool showVirtualWindow(int, Window& window, int x, int y, int innerWidth, int innerHeight, bool centred) {
    if (centred) {
        x = (kVirtualDesktopWidth - std::min(kVirtualDesktopWidth, innerWidth)) / 2;
        y = (kVirtualDesktopHeight - std::min(kVirtualDesktopHeight, innerHeight)) / 2;
    }
    window.placed = WindowGeometry{x, y, innerWidth, innerHeight};
    return true;
}

}  // namespace

const BackendOps kHeadlessOps{
    .startVideo = [] { return true; },
    .stopVideo = [] {},
    .pollEvents = [] {},
    .showWindow = showVirtualWindow,
    .retitleWindow = [](Window&) {},
    .windowGeometry = [](const Window& window) { return window.placed; },
    .openPresentation = [](Window*) { return true; },
    .openAudioDevice = [] {},
    // With nothing to read, the window counts as focused.
    .keyboardFocused = [] { return true; },
    .readKeyboard = [](uint8_t*) { return false; },
    .labelLetters = [](uint8_t*) {},
    .readGamepads = [](std::vector<GamepadState>&) {},
};

}  // namespace media
