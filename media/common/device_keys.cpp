// SPDX-License-Identifier: MIT
#include "media/device_keys.h"

#include <array>

#include "media/common/backend_ops.h"
#include "media/gamepad.h"
#include "media/keyboard.h"

namespace media {

namespace {
std::function<void(uint8_t*)> testKeyboard;
bool pauseKeyBefore = false;
bool startBefore = false;

void readKeys(uint8_t* keys, bool& startHeld) {
    startHeld = false;
    if (!windowFocusedForKeys()) return;
    if (testKeyboard) testKeyboard(keys);
    else backendOps().readKeyboard(keys);
    peekGamepadKeys(keys, startHeld);
}
}  // namespace

void readDeviceKeys(uint8_t* snapshot) {
    bool startHeld = false;
    readKeys(snapshot, startHeld);
}

bool pauseKeyPressed() {
    std::array<uint8_t, 256> keys{};
    bool start = false;
    readKeys(keys.data(), start);
    bool pauseKey = keys[key::P] || keys[key::Pause];
    bool fresh = (pauseKey && !pauseKeyBefore) || (start && !startBefore && gamepadStartPauses());
    pauseKeyBefore = pauseKey;
    startBefore = start;
    return fresh;
}

bool windowFocused() { return windowFocusedForKeys(); }

void setDeviceKeyboard(std::function<void(uint8_t*)> source) { testKeyboard = std::move(source); }

}  // namespace media
