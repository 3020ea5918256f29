// SPDX-License-Identifier: MIT
#pragma once
// Gamepads through SDL's GameController API, plugged in at any time, read as
// keys of the keyboard snapshot so that the game's rules stay the same:
// D-pad and left stick = arrow keys, A and Start = Space, B and Back = Escape
// on the game-over screen, Y = S (the title screen's sound switch) where the
// game turns that on. In a running level Start is also the pause button
// (DeviceInput::padStartPressed): Space does nothing there. On the title and
// in a level B and Back are no key: a button pressed by mistake must not end
// a game, so there Back is held for a second instead (game/port).
#include <cstdint>
#include <optional>

namespace media {

// The stick's dead zone: smaller deflections are not a direction.
constexpr int kGamepadDeadZone = 8000;

enum GamepadButton : uint32_t {
    PadA = 1u << 0,
    PadB = 1u << 1,
    PadX = 1u << 2,
    PadY = 1u << 3,
    PadBack = 1u << 4,
    PadStart = 1u << 5,
    PadUp = 1u << 6,
    PadDown = 1u << 7,
    PadLeft = 1u << 8,
    PadRight = 1u << 9,
};

struct GamepadState {
    uint32_t buttons = 0;  // GamepadButton bits held down
    int leftX = 0;         // -32768 (left) .. 32767 (right)
    int leftY = 0;         // -32768 (up) .. 32767 (down)
};

// Marks the keys a gamepad state stands for as down in a 256-byte snapshot.
void addGamepadKeys(const GamepadState& pad, uint8_t* snapshot);
// What the buttons stand for besides the standard keys, chosen once per
// screen by the game: on the title screen Y is S (the sound switch; on the
// game-over screen S would be typed as an initial); on the initials entry up
// and down step through a..z (from "a" each time it opens) and A or Start
// type the chosen letter's key; in a level B and Back are no key.
enum class GamepadBindings { Standard, SoundSwitch, Level, LetterEntry };
void setGamepadBindings(GamepadBindings bindings);
// The chosen letter while the entry is on and a gamepad is connected, else 0.
char gamepadLetter();

// For tests and tools: a virtual gamepad plugged in with this state, or
// unplugged (nullopt). It is read like a real one, headless too.
void setVirtualGamepad(std::optional<GamepadState> pad);

}  // namespace media
