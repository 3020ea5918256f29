#include "game/asset_catalog.h"

#include <vector>

#include "assets/embedded_assets.h"
#include "media/drawing.h"
#include "media/screen.h"
#include "media/sound.h"

namespace game {

namespace {
constexpr int kStatusPanel = 18;

void createStatusPanel(const GameState& state) {
    media::createSprite(kStatusPanel, state.lastWindowWidth, 80);
    media::startDrawing(media::spriteOutput(kStatusPanel));
    media::box(0, 0, state.lastWindowWidth, 80, media::rgb(149, 149, 149));
    media::stopDrawing();
}
}  // namespace

void loadSounds() {
    for (int number : {1, 2, 3, 4, 5, 6, 7, 8, 9, 15}) {
        assets::Blob blob = assets::embeddedSound(number);
        if (blob) media::loadSoundFromMemory(number, blob.data, blob.size, 0);
    }
}

void loadSpriteCatalogue(const GameState& state) {
    bool panelMade = false;
    for (int number : assets::embeddedSpriteNumbers()) {
        if (!panelMade && number > kStatusPanel) {
            createStatusPanel(state);
            panelMade = true;
        }
        assets::Blob blob = assets::embeddedSprite(number);
        media::loadSpriteFromMemory(number, blob.data, blob.size);
    }
    if (!panelMade) createStatusPanel(state);
}

void prefetchSpriteCatalogue() {
    std::vector<media::ImageBytes> images;
    for (int number : assets::embeddedSpriteNumbers()) {
        assets::Blob blob = assets::embeddedSprite(number);
        images.push_back({blob.data, blob.size});
    }
    media::prefetchSpriteImages(std::move(images));
}

}  // namespace game
