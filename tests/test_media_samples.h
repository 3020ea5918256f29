// SPDX-License-Identifier: MIT
#pragma once
// Small valid PNG, JPEG, WAVE and Ogg Vorbis files made in memory for the
// media tests and the fuzz loop.
#include <png.h>
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <vector>

#include <jpeglib.h>

namespace samples {

using Bytes = std::vector<uint8_t>;

inline void appendBytes(Bytes& out, const void* data, size_t length) {
    size_t old = out.size();
    out.resize(old + length);
    if (length) std::memcpy(out.data() + old, data, length);
}

// One byte at a time: GCC 12 warns falsely on inserting initializer lists.
inline void pushBytes(Bytes& out, std::initializer_list<uint8_t> bytes) {
    for (uint8_t b : bytes) out.push_back(b);
}

inline void writeToBytes(png_structp png, png_bytep data, png_size_t length) {
    appendBytes(*static_cast<Bytes*>(png_get_io_ptr(png)), data, length);
}

struct PngOptions {
    int colourType = PNG_COLOR_TYPE_RGBA;
    int bitDepth = 8;
    bool interlaced = false;
    // For palette images: the palette and its alpha table (tRNS).
    std::vector<png_color> palette;
    std::vector<png_byte> paletteAlpha;
};

// `rows` holds the raw samples of each row in the format the options say.
inline Bytes makePng(int width, int height, const std::vector<Bytes>& rows, const PngOptions& options = {}) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) std::abort();
    png_set_write_fn(png, &out, writeToBytes, nullptr);
    png_set_IHDR(png, info, width, height, options.bitDepth, options.colourType,
                 options.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!options.palette.empty())
        png_set_PLTE(png, info, options.palette.data(), static_cast<int>(options.palette.size()));
    if (!options.paletteAlpha.empty())
        png_set_tRNS(png, info, options.paletteAlpha.data(), static_cast<int>(options.paletteAlpha.size()), nullptr);
    png_write_info(png, info);
    std::vector<png_bytep> pointers;
    for (const Bytes& row : rows) pointers.push_back(const_cast<png_bytep>(row.data()));
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// An 8-bit RGBA PNG from 0xAARRGGBB pixels.
inline Bytes makeRgbaPng(int width, int height, const std::vector<uint32_t>& argb) {
    std::vector<Bytes> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint32_t p = argb[static_cast<size_t>(y * width + x)];
            pushBytes(rows[static_cast<size_t>(y)], {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p), uint8_t(p >> 24)});
        }
    return makePng(width, height, rows);
}

// A baseline JPEG of 0xRRGGBB pixels (quality 100, so colours stay close).
inline Bytes makeJpeg(int width, int height, const std::vector<uint32_t>& rgb, bool grey = false) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = grey ? 1 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    Bytes row;
    while (cinfo.next_scanline < cinfo.image_height) {
        row.clear();
        for (int x = 0; x < width; ++x) {
            uint32_t p =
                rgb[static_cast<size_t>(cinfo.next_scanline) * static_cast<size_t>(width) + static_cast<size_t>(x)];
            if (grey) row.push_back(uint8_t(p));
            else pushBytes(row, {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)});
        }
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&cinfo, &pointer, 1);
    }
    jpeg_finish_compress(&cinfo);
    Bytes out(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}

inline void put16(Bytes& out, uint32_t v) { pushBytes(out, {uint8_t(v), uint8_t(v >> 8)}); }
inline void put32(Bytes& out, uint32_t v) {
    pushBytes(out, {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
}

struct WaveOptions {
    int channels = 2;
    int bits = 16;
    int rate = 44100;
    bool extensible = false;  // a 40-byte format block
    bool listChunk = false;   // a LIST chunk between "fmt " and "data"
};

// `samples` are interleaved values at full scale of a 16-bit sample; wider
// formats put them in their top 16 bits.
inline Bytes makeWave(const std::vector<int16_t>& samples, const WaveOptions& options = {}) {
    int bytes = options.bits / 8;
    Bytes format;
    put16(format, options.extensible ? 0xFFFE : 1);
    put16(format, static_cast<uint32_t>(options.channels));
    put32(format, static_cast<uint32_t>(options.rate));
    put32(format, static_cast<uint32_t>(options.rate * options.channels * bytes));
    put16(format, static_cast<uint32_t>(options.channels * bytes));
    put16(format, static_cast<uint32_t>(options.bits));
    if (options.extensible) {
        put16(format, 22);
        put16(format, static_cast<uint32_t>(options.bits));
        put32(format, options.channels == 2 ? 3 : 4);
        // KSDATAFORMAT_SUBTYPE_PCM
        const uint8_t guid[16] = {1, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
        appendBytes(format, guid, 16);
    }
    Bytes data;
    for (int16_t s : samples) {
        for (int i = 0; i < bytes - 2; ++i) data.push_back(0);
        if (bytes == 1) data.push_back(uint8_t((s >> 8) + 128));
        else put16(data, static_cast<uint16_t>(s));
    }
    Bytes out;
    appendBytes(out, "RIFF", 4);
    put32(out, 0);
    appendBytes(out, "WAVEfmt ", 8);
    put32(out, static_cast<uint32_t>(format.size()));
    appendBytes(out, format.data(), format.size());
    if (options.listChunk) {
        appendBytes(out, "LIST", 4);
        put32(out, 10);
        appendBytes(out, "INFOISFT\x02\x00", 10);
    }
    appendBytes(out, "data", 4);
    put32(out, static_cast<uint32_t>(data.size()));
    appendBytes(out, data.data(), data.size());
    uint32_t riffSize = static_cast<uint32_t>(out.size() - 8);
    std::memcpy(out.data() + 4, &riffSize, 4);
    return out;
}

// Ogg Vorbis of `frames` frames of a quiet sine at the given rate.
inline Bytes makeOgg(int channels, int rate, int frames, float amplitude = 0.5f) {
    vorbis_info info;
    vorbis_info_init(&info);
    vorbis_encode_init_vbr(&info, channels, rate, 0.4f);
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);
    Bytes out;
    ogg_page page;
    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    while (ogg_stream_flush(&stream, &page)) {
        appendBytes(out, page.header, static_cast<size_t>(page.header_len));
        appendBytes(out, page.body, static_cast<size_t>(page.body_len));
    }
    int written = 0;
    bool ended = false;
    while (!ended) {
        int count = written < frames ? std::min(1024, frames - written) : 0;
        if (count > 0) {
            float** buffer = vorbis_analysis_buffer(&dsp, count);
            for (int i = 0; i < count; ++i)
                for (int c = 0; c < channels; ++c)
                    buffer[c][i] = amplitude * static_cast<float>(std::sin((written + i) * 0.05));
            written += count;
        }
        vorbis_analysis_wrote(&dsp, count);
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page)) {
                    appendBytes(out, page.header, static_cast<size_t>(page.header_len));
                    appendBytes(out, page.body, static_cast<size_t>(page.body_len));
                    if (ogg_page_eos(&page)) ended = true;
                }
            }
        }
        if (count == 0 && !ended) {
            while (ogg_stream_flush(&stream, &page)) {
                appendBytes(out, page.header, static_cast<size_t>(page.header_len));
                appendBytes(out, page.body, static_cast<size_t>(page.body_len));
                if (ogg_page_eos(&page)) ended = true;
            }
            ended = true;
        }
    }
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

}  // namespace samples
