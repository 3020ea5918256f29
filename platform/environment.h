// SPDX-License-Identifier: MIT
#pragma once
// What the player asks of the game through its environment variables.
namespace platform {

// QUANDRITE_FULLSCREEN=1: the window opens fullscreen unless the command
// line says otherwise.
bool fullscreenRequested();

}  // namespace platform
