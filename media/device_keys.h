// SPDX-License-Identifier: MIT
#pragma once
// Keys the layer reads straight from the keyboard and the gamepads, outside
// the game's snapshot: the pause button and the keys that leave a replay.
// They never come from a demo's keys and are never recorded, so a replay
// neither pauses by itself nor stays paused for want of a key.
#include <cstdint>
#include <functional>

namespace media {

// What the devices hold now, in DirectInput codes (all released while window
// 0 has not the keyboard focus).
void readDeviceKeys(uint8_t* snapshot);
// True once per fresh press of P, Pause, or a gamepad's Start where Start
// pauses (setGamepadStartPauses). Called once per frame, it follows the keys
// all the time, so a key already held is no fresh press.
bool pauseKeyPressed();
// Whether window 0 has the keyboard focus (headless: yes, unless a test says
// otherwise with setKeyboardFocus).
bool windowFocused();

// For tests: these keys stand in for the keyboard (null: the real one).
void setDeviceKeyboard(std::function<void(uint8_t* snapshot)> source);

// Inside the layer (keyboard.cpp): the focus, with a test's say.
bool windowFocusedForKeys();

}  // namespace media
