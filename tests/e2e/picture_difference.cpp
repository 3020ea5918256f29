// SPDX-License-Identifier: MIT
// Compares two PNG pictures of the same size channel by channel.
//
//   picture_difference A.png B.png LIMIT
//
// Prints "largest N, pixels over LIMIT M, first over at X,Y" and exits 0
// when no channel of any pixel differs by more than LIMIT, 1 when one does,
// 2 when a picture cannot be read or the sizes differ.
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

bool readRgb(const char* path, png_image& image, std::vector<unsigned char>& pixels) {
    image = {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path)) return false;
    image.format = PNG_FORMAT_RGB;
    pixels.resize(PNG_IMAGE_SIZE(image));
    return png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) != 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: picture_difference A.png B.png LIMIT\n");
        return 2;
    }
    png_image a, b;
    std::vector<unsigned char> pa, pb;
    if (!readRgb(argv[1], a, pa) || !readRgb(argv[2], b, pb)) {
        std::fprintf(stderr, "picture_difference: cannot read %s or %s\n", argv[1], argv[2]);
        return 2;
    }
    if (a.width != b.width || a.height != b.height) {
        std::fprintf(stderr, "picture_difference: %ux%u against %ux%u\n", a.width, a.height, b.width, b.height);
        return 2;
    }
    int limit = std::atoi(argv[3]);
    int largest = 0;
    long over = 0;
    long firstOver = -1;
    for (size_t pixel = 0; pixel < pa.size() / 3; ++pixel) {
        int worst = 0;
        for (int c = 0; c < 3; ++c) worst = std::max(worst, std::abs(pa[pixel * 3 + c] - pb[pixel * 3 + c]));
        largest = std::max(largest, worst);
        if (worst > limit && over++ == 0) firstOver = static_cast<long>(pixel);
    }
    std::printf("largest %d, pixels over %d %ld", largest, limit, over);
    if (firstOver >= 0) std::printf(", first over at %ld,%ld", firstOver % a.width, firstOver / a.width);
    std::printf("\n");
    return over ? 1 : 0;
}
