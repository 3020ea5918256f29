// SPDX-License-Identifier: MIT
#include "encode.h"

#include <jpeglib.h>
#include <png.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace gen {

namespace {
struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<FILE, FileCloser>;

File openForWriting(const std::string& path) {
    File f(std::fopen(path.c_str(), "wb"));
    if (!f) throw std::runtime_error("cannot write " + path);
    return f;
}
}  // namespace

void writePng(const std::string& path, int w, int h, int channels, const std::vector<uint8_t>& pixels) {
    if (channels != 3 && channels != 4) throw std::runtime_error("png: 3 or 4 channels");
    File f = openForWriting(path);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        throw std::runtime_error("png: out of memory");
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("png: write failed for " + path);
    }
    png_init_io(png, f.get());
    png_set_compression_level(png, 6);  // level 9 costs several times the time for a few per cent
    png_set_IHDR(png, info, w, h, 8, channels == 3 ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < h; ++y)
        png_write_row(png, const_cast<png_bytep>(&pixels[static_cast<size_t>(y) * w * channels]));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
}

void writeJpeg(const std::string& path, int w, int h, const std::vector<uint8_t>& rgb, int quality) {
    File f = openForWriting(path);
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, f.get());
    cinfo.image_width = static_cast<JDIMENSION>(w);
    cinfo.image_height = static_cast<JDIMENSION>(h);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.optimize_coding = FALSE;  // keeps the frame SOF0 baseline with standard tables
    cinfo.dct_method = JDCT_ISLOW;  // the same bytes on every machine
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&rgb[static_cast<size_t>(cinfo.next_scanline) * w * 3]);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
}

}  // namespace gen
