// SPDX-License-Identifier: MIT
#pragma once
// Numbered top-level windows and the one event poll the game calls per frame.
// The game uses window 0 only.
#include <cstdint>
#include <string>

namespace media {

constexpr int kEventCloseWindow = 13116;

// A window of the layer, as openWindowedScreen takes it.
class Window;

// openWindow flags: the layer's own low bits, the rest is the window style.
constexpr uint32_t kWindowCentred = 1;
constexpr uint32_t kWindowStyleOverlapped = 0xCF0000;

// Starts the window service; without a display (and not headless) it fails
// and windowFailure says why.
bool startWindows();
// Why the game has no real window: SDL's reason, or "no display (is DISPLAY
// set?)" when SDL found only its invisible drivers; empty otherwise.
std::string windowFailure();
// x, y: the outer (frame) corner on the desktop; the sizes are the client
// area's. Opening a number again replaces that window; our window 0 keeps its
// SDL window and renderer and just moves to the given place and size.
Window* openWindow(int number, int x, int y, int innerWidth, int innerHeight, const std::string& title, uint32_t flags);
Window* windowHandle(int number);
int setWindowTitle(int number, const std::string& text);
std::string windowTitle(int number);
int windowX(int number);
int windowY(int number);
int windowInnerWidth(int number);
int windowInnerHeight(int number);
// Never blocks: an event code (13116 = close requested, also after a quit
// signal), or 0.
int windowEvent();
void closeWindow(int number);
void closeAllWindows();

}  // namespace media
