// SPDX-License-Identifier: MIT
#include "game/port/game_icon.h"

#include "assets/embedded_assets.h"
#include "game/rules/catalogue.h"
#include "media/image_decode.h"

namespace game {

namespace {

// The player facing the viewer, mid-step.
constexpr int kGirlFacingDownSprite = sprite::playerFrame(3);
// Composed once at the largest installed size, then reduced, so that every
// size shows the same picture.
constexpr int kMasterSize = 256;
constexpr int kGirlBox = 216;

bool decodeSprite(int number, media::SpritePixels& out) {
    assets::Blob blob = assets::embeddedSprite(number);
    return blob && media::decodeImage(blob.data, blob.size, out);
}

}  // namespace

media::IconImage gameIcon(int size) {
    media::SpritePixels orb, girl;
    if (!decodeSprite(sprite::SilverOrb, orb) || !decodeSprite(kGirlFacingDownSprite, girl))
        return media::blankIcon(size);
    media::IconImage icon = media::fitPicture(orb, kMasterSize, media::Scaling::Smooth);
    media::IconImage front = media::fitPicture(girl, kGirlBox, media::Scaling::PixelArt);
    media::drawOver(icon, front, (kMasterSize - kGirlBox) / 2, kMasterSize - kGirlBox);
    return size == kMasterSize ? icon : media::shrinkIcon(icon, size);
}

}  // namespace game
