// SPDX-License-Identifier: MIT
#pragma once
// Inside the layer: the operations that differ between the SDL and the
// headless backend. Everything else in the layer is the same on both and
// reaches the system only through these.
#include <cstdint>
#include <vector>

namespace media {

class Window;
struct GamepadState;
struct WindowGeometry;

struct BackendOps {
    // Windows and their events.
    bool (*startVideo)();
    void (*stopVideo)();
    // Turns the system's pending events into the layer's event queue.
    void (*pollEvents)();
    // Gives `window` (new, or open already) the system window of this size
    // and title, at the frame corner (x, y) or centred on the desktop.
    bool (*showWindow)(int number, Window& window, int x, int y, int innerWidth, int innerHeight, bool centred);
    void (*retitleWindow)(Window& window);
    // As windowX/windowY/windowInnerWidth/windowInnerHeight report it.
    WindowGeometry (*windowGeometry)(const Window& window);

    // The screen: presentation of the composed frames in `window`.
    bool (*openPresentation)(Window* window);

    // Sound: the device the mixer plays through; none is not an error.
    void (*openAudioDevice)();

    // Input.
    bool (*keyboardFocused)();
    // Fills a keyboard snapshot (DirectInput codes, bit 7 = down); false when
    // there is no keyboard to read.
    bool (*readKeyboard)(uint8_t* snapshot);
    // Turns a snapshot read by position into the game's, whose letters follow
    // the labels of the player's layout.
    void (*labelLetters)(uint8_t* snapshot);
    // Adds the state of each connected gamepad.
    void (*readGamepads)(std::vector<GamepadState>& states);
};

// The chosen backend's operations.
const BackendOps& backendOps();

extern const BackendOps kHeadlessOps;

// The SDL backend's operations, each next to the SDL code it belongs to.
bool startSdlVideo();
void stopSdlVideo();
void pollSdlEvents();
bool showSdlWindow(int number, Window& window, int x, int y, int innerWidth, int innerHeight, bool centred);
void retitleSdlWindow(Window& window);
WindowGeometry sdlWindowGeometry(const Window& window);
bool openSdlPresentation(Window* window);
void openSdlAudioDevice();
bool sdlKeyboardFocused();
bool readSdlKeyboard(uint8_t* snapshot);
void labelSdlLetters(uint8_t* snapshot);
void readSdlGamepads(std::vector<GamepadState>& states);

}  // namespace media
