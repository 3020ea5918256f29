#include "game/start_up.h"

#include "game/level_entry.h"
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

void startGameState(GameState& state) {
    state = GameState{};
    fillDefaultHiscores(state);
    state.lastWindowX = -1;
    state.lastWindowY = -1;
    state.lastWindowWidth = 1020;
    state.lastWindowHeight = 607;
    state.soundOn = 1;
    initLevelEntry(state);
}

}  // namespace game
