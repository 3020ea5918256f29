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
    input.focused = poll.focused;
    return input;
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
