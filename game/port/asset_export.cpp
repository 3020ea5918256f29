// SPDX-License-Identifier: MIT
#include "game/port/asset_export.h"

#include <cstdio>
#include <cstring>

#include "assets/embedded_assets.h"
#include "platform/file_system.h"
#include "platform/safe_file.h"

namespace game {

namespace {
const char* extensionOf(const assets::Blob& blob) {
    if (blob.size >= 4 && std::memcmp(blob.data, "\x89PNG", 4) == 0) return "png";
    if (blob.size >= 2 && blob.data[0] == 0xFF && blob.data[1] == 0xD8) return "jpg";
    if (blob.size >= 4 && std::memcmp(blob.data, "OggS", 4) == 0) return "ogg";
    if (blob.size >= 4 && std::memcmp(blob.data, "RIFF", 4) == 0) return "wav";
    return "bin";
}

bool writeBlob(const std::string& path, const assets::Blob& blob) {
    std::string failure;
    if (platform::saveFile(path, std::string(reinterpret_cast<const char*>(blob.data), blob.size), failure))
        return true;
    std::fprintf(stderr, "quandrite: could not write %s\n", failure.c_str());
    return false;
}

}  // namespace

int exportAssets(const std::string& folder) {
    if (int error = platform::makeFolders(folder); error != 0) {
        std::fprintf(stderr, "quandrite: could not make the folder %s: %s\n", folder.c_str(), std::strerror(error));
        return 1;
    }
    char name[64];
    for (int number : assets::embeddedSpriteNumbers()) {
        assets::Blob blob = assets::embeddedSprite(number);
        std::snprintf(name, sizeof name, "sprite-%03d.%s", number, extensionOf(blob));
        if (!writeBlob(folder + "/" + name, blob)) return 1;
    }
    for (int number : assets::embeddedSoundNumbers()) {
        assets::Blob blob = assets::embeddedSound(number);
        std::snprintf(name, sizeof name, "sound-%02d.%s", number, extensionOf(blob));
        if (!writeBlob(folder + "/" + name, blob)) return 1;
    }
    return 0;
}

}  // namespace game
