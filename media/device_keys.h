// SPDX-License-Identifier: MIT
#pragma once
// The devices, read once a frame: the keyboard, the gamepads and the focus of
// window 0. pollDevices() reads them at the start of the frame; the game's
// snapshot (examineKeyboard), the pause and the keys that leave a replay all
// come from that one read. What a keyboard source (a demo, a test) gives the
// game never reaches DeviceInput, and DeviceInput is never recorded, so a
// replay neither pauses by itself nor stays paused for want of a key.
#include <array>
#include <cstdint>
#include <functional>

namespace media {

struct DeviceInput {
    // Keyboard and gamepads as keys (DirectInput codes, 0x80 = down); all up
    // while window 0 has not the keyboard focus.
    std::array<uint8_t, 256> keys{};
    // The keys down now that were up at the read before.
    std::array<uint8_t, 256> pressed{};
    // A fresh press of a gamepad's Start.
    bool padStartPressed = false;
    // The gamepads' buttons (GamepadButton bits; the stick counts as the
    // D-pad) held now, and those of them that were up at the read before.
    uint32_t padButtons = 0;
    uint32_t padPressed = 0;
    // Whether the player's last fresh press was on a gamepad rather than the
    // keyboard, for captions that name the button to press.
    bool lastFromPad = false;
    // Whether window 0 has the keyboard focus (headless: yes, unless a test
    // says otherwise with setKeyboardFocus).
    bool focused = true;
};

// Reads the devices; the frame's read, once before its screen runs.
const DeviceInput& pollDevices();
// What the last pollDevices read.
const DeviceInput& deviceInput();
// A key the port presses for the player (the gamepad's Back, held, stands for
// Escape): down in this frame's snapshot as if typed, and recorded as such.
void pressForPlayer(int code);

// For tests: these keys stand in for the keyboard (null: the real one).
void setDeviceKeyboard(std::function<void(uint8_t* snapshot)> source);

}  // namespace media
