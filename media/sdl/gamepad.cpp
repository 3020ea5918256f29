// SPDX-License-Identifier: MIT
// The SDL backend's gamepads: SDL's GameController API, plugged in at any
// time.
#include <SDL.h>

#include <algorithm>
#include <vector>

#include "media/common/backend_ops.h"
#include "media/gamepad.h"

namespace media {

namespace {

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

}  // namespace

void readSdlGamepads(std::vector<GamepadState>& states) {
    if (!SDL_WasInit(SDL_INIT_VIDEO) || !startControllers()) return;
    refreshPads();
    for (SDL_GameController* pad : pads) states.push_back(stateOf(pad));
}

}  // namespace media
