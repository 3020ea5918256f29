// SPDX-License-Identifier: MIT
// Writes the game's icon as PNG files for the desktop:
//   quandrite_icongen OUTDIR NAME SIZE...  ->  OUTDIR/SIZExSIZE/apps/NAME.png
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "game/port/game_icon.h"

namespace {

bool writePng(const std::filesystem::path& path, const media::IconImage& icon) {
    std::vector<png_byte> rgba(icon.argb.size() * 4);
    for (size_t i = 0; i < icon.argb.size(); ++i) {
        uint32_t px = icon.argb[i];
        rgba[i * 4 + 0] = static_cast<png_byte>(px >> 16);
        rgba[i * 4 + 1] = static_cast<png_byte>(px >> 8);
        rgba[i * 4 + 2] = static_cast<png_byte>(px);
        rgba[i * 4 + 3] = static_cast<png_byte>(px >> 24);
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(icon.size);
    image.height = static_cast<png_uint_32>(icon.size);
    image.format = PNG_FORMAT_RGBA;
    bool ok = png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr) != 0;
    if (!ok) std::fprintf(stderr, "quandrite_icongen: %s: %s\n", path.c_str(), image.message);
    png_image_free(&image);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: quandrite_icongen OUTDIR NAME SIZE...\n");
        return 2;
    }
    for (int i = 3; i < argc; ++i) {
        int size = std::atoi(argv[i]);
        media::IconImage icon = game::gameIcon(size);
        // A blank icon means the pictures could not be read: fail the build.
        bool visible = false;
        for (uint32_t px : icon.argb) visible = visible || (px >> 24) != 0;
        if (size <= 0 || !visible) {
            std::fprintf(stderr, "quandrite_icongen: no icon at size %s\n", argv[i]);
            return 1;
        }
        std::string name = std::to_string(size) + "x" + std::to_string(size);
        std::filesystem::path folder = std::filesystem::path(argv[1]) / name / "apps";
        std::filesystem::create_directories(folder);
        if (!writePng(folder / (std::string(argv[2]) + ".png"), icon)) return 1;
    }
    return 0;
}
