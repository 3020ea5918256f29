// SPDX-License-Identifier: MIT
#include "game/screens/asset_catalog.h"

#include <algorithm>
#include <vector>

#include "assets/embedded_assets.h"
#include "game/rules/catalogue.h"
#include "media/drawing.h"
#include "media/screen.h"
#include "media/sound.h"

namespace game {

namespace {
// The original made the panel as wide as the window it started in; a window
// narrower than the screen left the panel short of its right edge for the
// rest of the run, so it is never narrower than the screen.
void createStatusPanel(const GameState& state) {
    int width = std::max(media::kScreenWidth, state.lastWindowWidth);
    media::createSprite(sprite::StatusPanel, width, 80);
    media::startDrawing(media::spriteOutput(sprite::StatusPanel));
    media::box(0, 0, width, 80, media::rgb(149, 149, 149));
    media::stopDrawing();
}
}  // namespace

void loadSounds() {
    for (const SoundInfo& info : kSounds) {
        assets::Blob blob = assets::embeddedSound(info.number);
        if (blob) media::loadSoundFromMemory(info.number, blob.data, blob.size, 0);
    }
}

// The digits are made before, by the title screen; the panel is made here,
// in its place in the order.
void loadSpriteCatalogue(const GameState& state) {
    for (const SpriteInfo& info : kSprites) {
        if (info.number == sprite::StatusPanel) createStatusPanel(state);
        if (info.format == SpriteFormat::Made) continue;
        assets::Blob blob = assets::embeddedSprite(info.number);
        media::loadSpriteFromMemory(info.number, blob.data, blob.size);
    }
}

void prefetchSpriteCatalogue() {
    std::vector<media::ImageBytes> images;
    for (const SpriteInfo& info : kSprites) {
        if (info.format == SpriteFormat::Made) continue;
        assets::Blob blob = assets::embeddedSprite(info.number);
        images.push_back({blob.data, blob.size});
    }
    media::prefetchSpriteImages(std::move(images));
}

}  // namespace game
