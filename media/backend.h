// SPDX-License-Identifier: MIT
#pragma once
// The system the layer runs on, chosen once at start, before anything is
// opened. On SDL the game gets a real window, screen, sound device, keyboard
// and gamepads. Headless, no SDL video or audio is touched at all: windows are
// virtual (on a 1920 x 1080 desktop), frames are composed but not presented,
// sounds are tracked but silent, and only a keyboard source gives keys.
namespace media {

enum class Backend { Sdl, Headless };

// SDL unless chosen otherwise.
void chooseBackend(Backend backend);

}  // namespace media
