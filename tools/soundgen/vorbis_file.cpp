// SPDX-License-Identifier: MIT
#include "vorbis_file.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <stdexcept>

namespace soundgen {
namespace {

void append_page(std::vector<std::uint8_t>& out, const ogg_page& page) {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

}  // namespace

std::vector<std::uint8_t> encode_vorbis(const Stereo& samples, const VorbisSettings& settings) {
    vorbis_info info;
    vorbis_info_init(&info);
    // Average-bitrate setup as "oggenc -b" does it: the bitrate picks the quality, and the slow
    // per-packet rate management stays off (the stream header still says 128 kbit/s nominal).
    if (vorbis_encode_setup_managed(&info, 2, kRate, -1, settings.nominal_bitrate, -1) != 0 ||
        vorbis_encode_ctl(&info, OV_ECTL_RATEMANAGE2_SET, nullptr) != 0 || vorbis_encode_setup_init(&info) != 0) {
        vorbis_info_clear(&info);
        throw std::runtime_error("cannot set up the Vorbis encoder");
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    if (!settings.title.empty()) vorbis_comment_add_tag(&comment, "TITLE", settings.title.c_str());

    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, settings.serial);

    std::vector<std::uint8_t> out;
    ogg_packet header, header_comment, header_code;
    vorbis_analysis_headerout(&dsp, &comment, &header, &header_comment, &header_code);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &header_comment);
    ogg_stream_packetin(&stream, &header_code);
    ogg_page page;
    // The headers get pages of their own, so audio starts on a fresh page.
    while (ogg_stream_flush(&stream, &page)) append_page(out, page);

    const size_t frames = samples.size() / 2;
    const size_t chunk = 4096;
    for (size_t pos = 0; pos <= frames;) {
        const size_t n = std::min(chunk, frames - pos);
        if (n == 0) {
            vorbis_analysis_wrote(&dsp, 0);  // end of stream: the last page carries the exact length
            ++pos;
        } else {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
            for (size_t i = 0; i < n; ++i) {
                buffer[0][i] = samples[2 * (pos + i)];
                buffer[1][i] = samples[2 * (pos + i) + 1];
            }
            vorbis_analysis_wrote(&dsp, static_cast<int>(n));
            pos += n;
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page)) append_page(out, page);
            }
        }
    }
    while (ogg_stream_flush(&stream, &page)) append_page(out, page);
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

}  // namespace soundgen
