// SPDX-License-Identifier: MIT
// Writes the game's icon as PNG files for the desktop, and with --ico the
// same pictures as one Windows icon file for the program's resources:
//   quandrite_icongen OUTDIR NAME SIZE... [--ico FILE]
//     ->  OUTDIR/SIZExSIZE/apps/NAME.png, FILE
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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

void putLittleEndian(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

// An icon file whose images are the PNG files themselves, as Windows has
// read them since Vista: a header, one entry a size, then the files.
bool writeIco(const std::filesystem::path& path, const std::vector<std::pair<int, std::filesystem::path>>& pngs) {
    std::string header, images;
    putLittleEndian(header, 0, 2);
    putLittleEndian(header, 1, 2);
    putLittleEndian(header, static_cast<uint32_t>(pngs.size()), 2);
    size_t offset = 6 + 16 * pngs.size();
    for (const auto& [size, png] : pngs) {
        std::ifstream in(png, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (bytes.empty()) return false;
        header.push_back(static_cast<char>(size >= 256 ? 0 : size));
        header.push_back(static_cast<char>(size >= 256 ? 0 : size));
        putLittleEndian(header, 0, 2);  // no palette, reserved
        putLittleEndian(header, 1, 2);  // planes
        putLittleEndian(header, 32, 2);
        putLittleEndian(header, static_cast<uint32_t>(bytes.size()), 4);
        putLittleEndian(header, static_cast<uint32_t>(offset + images.size()), 4);
        images += bytes;
    }
    std::ofstream out(path, std::ios::binary);
    out << header << images;
    return static_cast<bool>(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
    std::string ico;
    if (argc >= 6 && std::string(argv[argc - 2]) == "--ico") {
        ico = argv[argc - 1];
        argc -= 2;
    }
    if (argc < 4) {
        std::fprintf(stderr, "usage: quandrite_icongen OUTDIR NAME SIZE... [--ico FILE]\n");
        return 2;
    }
    std::vector<std::pair<int, std::filesystem::path>> pngs;
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
        std::filesystem::path png = folder / (std::string(argv[2]) + ".png");
        if (!writePng(png, icon)) return 1;
        if (size <= 256) pngs.emplace_back(size, png);
    }
    if (!ico.empty() && !writeIco(ico, pngs)) {
        std::fprintf(stderr, "quandrite_icongen: cannot write %s\n", ico.c_str());
        return 1;
    }
    return 0;
}
