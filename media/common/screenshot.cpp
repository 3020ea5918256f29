// SPDX-License-Identifier: MIT
#include <png.h>

#include "media/automation.h"
#include "media/screen.h"
#include "media/test_hooks.h"

namespace media {

bool saveScreenshotPng(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = kScreenWidth;
    image.height = kScreenHeight;
    image.format = PNG_FORMAT_BGRA;
    return png_image_write_to_file(&image, path.c_str(), 0, screenPixels(), kScreenWidth * 4, nullptr) != 0;
}

}  // namespace media
