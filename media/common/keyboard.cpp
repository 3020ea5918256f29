// SPDX-License-Identifier: MIT
#include "media/keyboard.h"

#include <array>
#include <cstring>

#include "media/automation.h"
#include "media/common/backend_ops.h"
#include "media/common/device_poll.h"
#include "media/test_hooks.h"

namespace media {

namespace {

constexpr uint8_t kDown = 0x80;

bool initialised = false;
std::array<uint8_t, 256> snapshot{};
KeyboardSource source;
KeyboardObserver observer;

}  // namespace

bool initKeyboard() {
    initialised = true;
    snapshot.fill(0);
    return true;
}

void releaseKeyboard() {
    initialised = false;
    snapshot.fill(0);
}

int examineKeyboard() {
    snapshot.fill(0);
    if (!initialised) return 0;
    bool ok = false;
    if (source) {
        // A source (demo, test) stands in for the keyboard and the gamepads.
        ok = sourceHasFocus() && source(snapshot.data());
    } else {
        const DevicePoll& poll = takeDevicePoll();
        if (poll.keyboardRead) {
            snapshot = poll.keyboard;
            backendOps().labelLetters(snapshot.data());
            ok = true;
        }
        if (poll.focused && mergeGamepadKeys(poll.pads, snapshot.data())) ok = true;
    }
    // Whatever a failed read left behind counts as released.
    if (!ok) snapshot.fill(0);
    if (observer) observer(snapshot.data());
    return ok ? 1 : 0;
}

int keyPushed(int code) {
    if (code == key::Any) {
        for (int i = 0; i < 255; ++i)
            if (snapshot[static_cast<size_t>(i)] & kDown) return 1;
        return 0;
    }
    if (code < 0 || code > 255) return 0;
    return (snapshot[static_cast<size_t>(code)] & kDown) ? 128 : 0;
}

void setKeyboardSource(KeyboardSource newSource) { source = std::move(newSource); }
void setKeyboardObserver(KeyboardObserver newObserver) { observer = std::move(newObserver); }

void injectKeys(const std::vector<int>& codesDown) {
    std::array<uint8_t, 256> keys{};
    for (int code : codesDown)
        if (code >= 0 && code < 256) keys[static_cast<size_t>(code)] = kDown;
    source = [keys](uint8_t* out) {
        std::memcpy(out, keys.data(), keys.size());
        return true;
    };
}

}  // namespace media
