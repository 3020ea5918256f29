#include "assets/embedded_assets.h"

namespace assets {

Blob embeddedSprite(int) { return {}; }
Blob embeddedSound(int) { return {}; }
const std::vector<int>& embeddedSpriteNumbers() {
    static const std::vector<int> none;
    return none;
}
const std::vector<int>& embeddedSoundNumbers() {
    static const std::vector<int> none;
    return none;
}

}  // namespace assets
