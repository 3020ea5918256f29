// SPDX-License-Identifier: MIT
#pragma once
// One function per kind of picture. Each returns a canvas of exactly the
// catalogue size; coverage below one half becomes the transparent key.
#include "canvas.h"
#include "sources.h"

namespace gen {

// paint_space.cpp
Canvas paintLevelBackground(const Sources& s, int number, int w, int h);
Canvas paintTitleBackground(const Sources& s, int w, int h);
Canvas paintGameOverBackground(const Sources& s, int w, int h);

// paint_orbs.cpp
Canvas paintOrb(const Sources& s, int number);
Canvas paintBubble(const Sources& s, int number, int size);

// paint_items.cpp
Canvas paintDiamond(const Sources& s, int colourIndex, int frame);
Canvas paintBurst(int frame);
Canvas paintFire(int frame);

// paint_frame.cpp
Canvas paintWall(int w, int h);
Canvas paintBrickStrip(int w, int h);
Canvas paintDoor(bool open);

// paint_logo.cpp
Canvas paintLogo(const Sources& s, int w, int h);
Canvas paintSmallLogo(const Sources& s, int w, int h);

// paint_text.cpp
Canvas paintCaption(const Sources& s, int number, int w, int h);
Canvas paintTip(const Sources& s, int tip, int w, int h);
Canvas paintPointsLabel(const Sources& s, int number, int w, int h);
Canvas paintHudStrip(const Sources& s, int w, int h);

// Pixel art as drawn in the sources, checked against the expected size.
Canvas pixelSprite(const Sources& s, const std::string& name, int w, int h);

}  // namespace gen
