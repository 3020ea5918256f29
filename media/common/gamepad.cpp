// SPDX-License-Identifier: MIT
#include "media/gamepad.h"

#include "media/common/backend_ops.h"
#include "media/common/device_poll.h"
#include "media/keyboard.h"

namespace media {

namespace {

constexpr uint8_t kDown = 0x80;

std::optional<GamepadState> virtualPad;
GamepadBindings bindings = GamepadBindings::SoundSwitch;
bool padConnected = false;
char chosenLetter = 'a';
int heldStep = 0;  // +1 up, -1 down, 0 neither, as at the last examination
int heldFrames = 0;
// A held direction steps once, then again every few frames after a pause.
constexpr int kRepeatAfter = 20;
constexpr int kRepeatEvery = 6;

constexpr int kLetterKeys[26] = {key::A, key::B, key::C, key::D, key::E, key::F, key::G, key::H, key::I,
                                 key::J, key::K, key::L, key::M, key::N, key::O, key::P, key::Q, key::R,
                                 key::S, key::T, key::U, key::V, key::W, key::X, key::Y, key::Z};

int stepOf(const GamepadState& pad) {
    if ((pad.buttons & PadUp) || pad.leftY < -kGamepadDeadZone) return 1;
    if ((pad.buttons & PadDown) || pad.leftY > kGamepadDeadZone) return -1;
    return 0;
}

void stepLetter(const std::vector<GamepadState>& states) {
    int step = 0;
    for (const GamepadState& pad : states)
        if (!step) step = stepOf(pad);
    heldFrames = step == heldStep ? heldFrames + 1 : 0;
    heldStep = step;
    bool due = heldFrames == 0 || (heldFrames >= kRepeatAfter && (heldFrames - kRepeatAfter) % kRepeatEvery == 0);
    if (bindings == GamepadBindings::LetterEntry && step && due)
        chosenLetter = static_cast<char>('a' + (chosenLetter - 'a' + 26 + step) % 26);
}

}  // namespace

void addGamepadKeys(const GamepadState& pad, uint8_t* snapshot) {
    auto press = [&](bool down, int code) {
        if (down) snapshot[code] = kDown;
    };
    press((pad.buttons & PadUp) || pad.leftY < -kGamepadDeadZone, key::Up);
    press((pad.buttons & PadDown) || pad.leftY > kGamepadDeadZone, key::Down);
    press((pad.buttons & PadLeft) || pad.leftX < -kGamepadDeadZone, key::Left);
    press((pad.buttons & PadRight) || pad.leftX > kGamepadDeadZone, key::Right);
    bool typesLetter = bindings == GamepadBindings::LetterEntry && (pad.buttons & (PadA | PadStart));
    press(typesLetter, kLetterKeys[chosenLetter - 'a']);
    press(!typesLetter && (pad.buttons & (PadA | PadStart)), key::Space);
    bool escapes = bindings == GamepadBindings::Standard || bindings == GamepadBindings::LetterEntry;
    press(escapes && (pad.buttons & (PadB | PadBack)), key::Escape);
    press(bindings == GamepadBindings::SoundSwitch && (pad.buttons & PadY), key::S);
}

void setGamepadBindings(GamepadBindings next) {
    if (next == GamepadBindings::LetterEntry && bindings != GamepadBindings::LetterEntry) chosenLetter = 'a';
    bindings = next;
}

char gamepadLetter() { return bindings == GamepadBindings::LetterEntry && padConnected ? chosenLetter : 0; }

void setVirtualGamepad(std::optional<GamepadState> pad) {
    virtualPad = pad;
    // Real pads are counted again at the next examination.
    if (!pad) padConnected = false;
}

void readConnectedGamepads(std::vector<GamepadState>& states) {
    states.clear();
    if (virtualPad) states.push_back(*virtualPad);
    backendOps().readGamepads(states);
}

bool mergeGamepadKeys(const std::vector<GamepadState>& pads, uint8_t* snapshot) {
    padConnected = !pads.empty();
    // Followed all the time, so a direction already held when the entry
    // opens is not a fresh press.
    stepLetter(pads);
    for (const GamepadState& pad : pads) addGamepadKeys(pad, snapshot);
    return padConnected;
}

}  // namespace media
