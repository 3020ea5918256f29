// SPDX-License-Identifier: MIT
#pragma once
// Inside the layer: whether frames are run unseen (media/automation.h's
// setFramesUnseen), for the drawing, the flip and the sound to skip their work.

namespace media {

bool framesUnseen();

}  // namespace media
