// SPDX-License-Identifier: MIT
#pragma once
// What the port draws over the original's screens: its captions (the start
// prompt, the replay tag, the title's quit prompt) and the gamepad's hold bar.
// The screens draw their frames as the original did; just before a frame is
// shown, the overlay adds its sprites on top. Only the port (game/port) sets
// it; the game's screens never see it.
#include <functional>

namespace media {

// Called before each frame is shown (never for an unseen frame); null for none.
void setOverlay(std::function<void()> draw);

}  // namespace media
