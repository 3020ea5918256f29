// SPDX-License-Identifier: MIT
#pragma once
// Inside the layer: the devices as pollDevices read them, for the keyboard
// snapshot, and the gamepads' side of that read.
#include <array>
#include <cstdint>
#include <vector>

#include "media/gamepad.h"

namespace media {

struct DevicePoll {
    bool focused = true;
    bool keyboardRead = false;  // false: no keyboard could be read
    std::array<uint8_t, 256> keyboard{};
    std::vector<GamepadState> pads;
};

// The frame's read for examineKeyboard: the one pollDevices made since the
// last examination, or, where a screen examines the keyboard again within a
// frame, a new read.
const DevicePoll& takeDevicePoll();
// Whether a keyboard source (demo, test) may give the game keys: yes unless a
// test took the focus away.
bool sourceHasFocus();

// Every connected gamepad's state, the virtual one first, in place of what
// `states` held (its room is kept from frame to frame).
void readConnectedGamepads(std::vector<GamepadState>& states);
// Adds the keys the gamepads stand for to the game's snapshot and steps the
// letter choice, once per keyboard examination; false when none is connected.
bool mergeGamepadKeys(const std::vector<GamepadState>& pads, uint8_t* snapshot);

}  // namespace media
