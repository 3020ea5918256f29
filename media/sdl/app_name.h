// SPDX-License-Identifier: MIT
#pragma once
// What the desktop and the sound server know the game by.

namespace media {

// The game's app id as the window's class (X11 WM_CLASS, Wayland app id), so
// that docks match the window with the menu entry and its icon; the name and
// role of the sound stream. Before SDL starts video or audio; what the player
// set in the environment wins.
void nameSdlApp();

}  // namespace media
