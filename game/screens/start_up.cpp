// SPDX-License-Identifier: MIT
#include "game/screens/start_up.h"

#include "game/screens/level_entry.h"
#include "media/files.h"
#include "media/keyboard.h"
#include "media/screen.h"
#include "media/sound.h"
#include "media/window.h"

namespace game {

// The game tests no result of these (a service that fails leaves its calls doing nothing).
const LayerStart kLayerStartOrder[5] = {{"startWindows", [] { media::startWindows(); }},
                                        {"startFiles", [] { media::startFiles(); }},
                                        {"initSprites", [] { media::initSprites(); }},
                                        {"initKeyboard", [] { media::initKeyboard(); }},
                                        {"initSound", [] { media::initSound(); }}};

void startMediaLayer() {
    for (const LayerStart& service : kLayerStartOrder) service.start();
}

void startGameState(GameState& state, const StartValues& start) {
    state = GameState{};
    fillDefaultHiscores(state);
    state.lastWindowX = start.windowX;
    state.lastWindowY = start.windowY;
    state.lastWindowWidth = start.windowWidth;
    state.lastWindowHeight = start.windowHeight;
    state.soundOn = start.soundOn;
    initLevelEntry(state);
}

}  // namespace game
