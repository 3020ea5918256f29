// SPDX-License-Identifier: MIT
#include "game/screens/screen_common.h"

#include "media/keyboard.h"
#include "media/window.h"

namespace game {

bool startKeyDown() {
    using namespace media;
    return keyPushed(key::Space) || keyPushed(key::Return) || keyPushed(key::NumpadEnter) || keyPushed(key::LeftCtrl) ||
           keyPushed(key::RightCtrl);
}

void rememberWindowPlace(GameState& s) {
    s.lastWindowX = media::windowX(0);
    s.lastWindowY = media::windowY(0);
}

void rememberWindowPlaceAndSize(GameState& s) {
    rememberWindowPlace(s);
    s.lastWindowWidth = media::windowInnerWidth(0);
    s.lastWindowHeight = media::windowInnerHeight(0);
}

}  // namespace game
