// SPDX-License-Identifier: MIT
#include "media/device_keys.h"

#include "media/common/backend_ops.h"
#include "media/common/device_poll.h"
#include "media/gamepad.h"
#include "media/test_hooks.h"

namespace media {

namespace {

std::function<void(uint8_t*)> testKeyboard;
FocusOverride focusOverride = FocusOverride::Real;

DevicePoll poll;
bool pollTaken = true;
DeviceInput input;
bool padStartBefore = false;
std::array<uint8_t, 256> keyboardBefore{};

// The buttons of every pad, the stick read as the D-pad.
uint32_t padButtonsOf(const std::vector<GamepadState>& pads) {
    uint32_t buttons = 0;
    for (const GamepadState& pad : pads) {
        buttons |= pad.buttons;
        if (pad.leftY < -kGamepadDeadZone) buttons |= PadUp;
        if (pad.leftY > kGamepadDeadZone) buttons |= PadDown;
        if (pad.leftX < -kGamepadDeadZone) buttons |= PadLeft;
        if (pad.leftX > kGamepadDeadZone) buttons |= PadRight;
    }
    return buttons;
}

void readDevices() {
    poll.focused = focusOverride == FocusOverride::Real ? backendOps().keyboardFocused()
                                                        : focusOverride == FocusOverride::Focused;
    poll.keyboard.fill(0);
    poll.pads.clear();
    poll.keyboardRead = false;
    if (!poll.focused) return;
    if (testKeyboard) {
        testKeyboard(poll.keyboard.data());
        poll.keyboardRead = true;
    } else {
        poll.keyboardRead = backendOps().readKeyboard(poll.keyboard.data());
    }
    readConnectedGamepads(poll.pads);
}

}  // namespace

const DeviceInput& pollDevices() {
    readDevices();
    pollTaken = false;
    const std::array<uint8_t, 256> before = input.keys;
    input.keys = poll.keyboard;
    bool padStart = false;
    for (const GamepadState& pad : poll.pads) {
        addGamepadKeys(pad, input.keys.data());
        if (pad.buttons & PadStart) padStart = true;
    }
    for (size_t code = 0; code < input.keys.size(); ++code)
        input.pressed[code] = input.keys[code] && !before[code] ? input.keys[code] : 0;
    input.padStartPressed = padStart && !padStartBefore;
    padStartBefore = padStart;
    uint32_t buttons = padButtonsOf(poll.pads);
    input.padPressed = buttons & ~input.padButtons;
    input.padButtons = buttons;
    bool keyboardPressed = false;
    for (size_t code = 0; code < poll.keyboard.size(); ++code)
        if (poll.keyboard[code] && !keyboardBefore[code]) keyboardPressed = true;
    keyboardBefore = poll.keyboard;
    if (keyboardPressed) input.lastFromPad = false;
    if (input.padPressed) input.lastFromPad = true;
    input.focused = poll.focused;
    return input;
}

void pressForPlayer(int code) {
    if (code < 0 || code >= 256 || !poll.focused) return;
    poll.keyboard[static_cast<size_t>(code)] = 0x80;
    // Where no keyboard could be read, the snapshot is this key alone.
    poll.keyboardRead = true;
}

const DeviceInput& deviceInput() { return input; }

const DevicePoll& takeDevicePoll() {
    if (pollTaken) readDevices();
    pollTaken = true;
    return poll;
}

bool sourceHasFocus() { return focusOverride != FocusOverride::Unfocused; }

void setDeviceKeyboard(std::function<void(uint8_t*)> source) { testKeyboard = std::move(source); }
void setKeyboardFocus(FocusOverride state) { focusOverride = state; }

}  // namespace media
