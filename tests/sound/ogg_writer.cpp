// Ogg Vorbis test tones through libvorbisenc.
#include "ogg_writer.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace testogg {

namespace {

bool WritePage(std::FILE* f, const ogg_page& page) {
    return std::fwrite(page.header, 1, static_cast<size_t>(page.header_len), f) ==
               static_cast<size_t>(page.header_len) &&
           std::fwrite(page.body, 1, static_cast<size_t>(page.body_len), f) ==
               static_cast<size_t>(page.body_len);
}

} // namespace

bool WriteTone(const std::string& path, int channels, int rate, int frames, float hz) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;

    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, 0.1f) != 0) {
        vorbis_info_clear(&info);
        std::fclose(f);
        return false;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);

    bool ok = true;
    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0)
        ok = ok && WritePage(f, page);

    constexpr int kChunk = 1024;
    for (int done = 0;;) {
        const int count = std::min(kChunk, frames - done);
        if (count > 0) {
            float** buffer = vorbis_analysis_buffer(&dsp, count);
            for (int i = 0; i < count; ++i) {
                const float t = static_cast<float>(done + i) / static_cast<float>(rate);
                const float v = 0.5f * std::sin(2.0f * std::numbers::pi_v<float> * hz * t);
                for (int c = 0; c < channels; ++c)
                    buffer[c][i] = v;
            }
        }
        vorbis_analysis_wrote(&dsp, std::max(count, 0)); // 0 marks the end of the stream
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0)
                    ok = ok && WritePage(f, page);
            }
        }
        if (count <= 0) break;
        done += count;
    }
    while (ogg_stream_flush(&stream, &page) != 0)
        ok = ok && WritePage(f, page);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return std::fclose(f) == 0 && ok;
}

} // namespace testogg
