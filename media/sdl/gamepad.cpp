// SPDX-License-Identifier: MIT
#include "media/gamepad.h"

#include <SDL.h>

#include <algorithm>
#include <vector>

#include "media/common/backend_ops.h"
#include "media/keyboard.h"

namespace media {

namespace {

constexpr uint8_t kDown = 0x80;

std::optional<GamepadState> virtualPad;
bool ySwitchesSound = true;
bool startPauses = false;
bool letterEntry = false;
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
std::vector<SDL_GameController*> pads;
bool subsystemFailed = false;

bool startControllers() {
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER)) return true;
    if (subsystemFailed) return false;
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        SDL_Log("Quandrite: no gamepads: %s", SDL_GetError());
        subsystemFailed = true;
        return false;
    }
    return true;
}

bool isOpen(SDL_JoystickID id) {
    return std::any_of(pads.begin(), pads.end(), [id](SDL_GameController* pad) {
        return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad)) == id;
    });
}

// Hot-plugging without events (the window's event poll drops them): close
// the pads that went away, open the ones that came.
void refreshPads() {
    SDL_GameControllerUpdate();
    std::erase_if(pads, [](SDL_GameController* pad) {
        if (SDL_GameControllerGetAttached(pad)) return false;
        SDL_GameControllerClose(pad);
        return true;
    });
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (!SDL_IsGameController(i) || isOpen(SDL_JoystickGetDeviceInstanceID(i))) continue;
        if (SDL_GameController* pad = SDL_GameControllerOpen(i)) pads.push_back(pad);
    }
}

GamepadState stateOf(SDL_GameController* pad) {
    static constexpr std::pair<SDL_GameControllerButton, GamepadButton> kButtons[] = {
        {SDL_CONTROLLER_BUTTON_A, PadA},
        {SDL_CONTROLLER_BUTTON_B, PadB},
        {SDL_CONTROLLER_BUTTON_X, PadX},
        {SDL_CONTROLLER_BUTTON_Y, PadY},
        {SDL_CONTROLLER_BUTTON_BACK, PadBack},
        {SDL_CONTROLLER_BUTTON_START, PadStart},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, PadUp},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, PadDown},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, PadLeft},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, PadRight},
    };
    GamepadState state;
    for (auto [sdlButton, bit] : kButtons)
        if (SDL_GameControllerGetButton(pad, sdlButton)) state.buttons |= bit;
    state.leftX = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
    state.leftY = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
    return state;
}

// Every connected pad's state, the virtual one first.
std::vector<GamepadState> connectedPads() {
    std::vector<GamepadState> states;
    if (virtualPad) states.push_back(*virtualPad);
    backendOps().readGamepads(states);
    return states;
}

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
    if (letterEntry && step && due) chosenLetter = static_cast<char>('a' + (chosenLetter - 'a' + 26 + step) % 26);
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
    bool typesLetter = letterEntry && (pad.buttons & (PadA | PadStart));
    press(typesLetter, kLetterKeys[chosenLetter - 'a']);
    press(!typesLetter && ((pad.buttons & PadA) || ((pad.buttons & PadStart) && !startPauses)), key::Space);
    press(pad.buttons & (PadB | PadBack), key::Escape);
    press(ySwitchesSound && (pad.buttons & PadY), key::S);
}

void setGamepadSoundSwitch(bool on) { ySwitchesSound = on; }

void setGamepadStartPauses(bool on) { startPauses = on; }
bool gamepadStartPauses() { return startPauses; }

void setGamepadLetterEntry(bool on) {
    if (on && !letterEntry) chosenLetter = 'a';
    letterEntry = on;
}

char gamepadLetter() { return letterEntry && padConnected ? chosenLetter : 0; }

void setVirtualGamepad(std::optional<GamepadState> pad) {
    virtualPad = pad;
    // Real pads are counted again at the next examination.
    if (!pad) padConnected = false;
}

bool mergeGamepadKeys(uint8_t* snapshot) {
    std::vector<GamepadState> states = connectedPads();
    padConnected = !states.empty();
    // Followed all the time, so a direction already held when the entry
    // opens is not a fresh press.
    stepLetter(states);
    for (const GamepadState& pad : states) addGamepadKeys(pad, snapshot);
    return padConnected;
}

void peekGamepadKeys(uint8_t* snapshot, bool& startHeld) {
    startHeld = false;
    for (const GamepadState& pad : connectedPads()) {
        addGamepadKeys(pad, snapshot);
        if (pad.buttons & PadStart) startHeld = true;
    }
}

void readSdlGamepads(std::vector<GamepadState>& states) {
    if (!SDL_WasInit(SDL_INIT_VIDEO) || !startControllers()) return;
    refreshPads();
    for (SDL_GameController* pad : pads) states.push_back(stateOf(pad));
}

}  // namespace media
