// Ogg Vorbis encoding of generated sounds through libvorbisenc.
#include "audio_ogg.h"

#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <stdexcept>

namespace artgen::audio {

namespace {

void AppendPage(std::vector<uint8_t>& out, const ogg_page& page) {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

struct MemoryReader {
    const std::vector<uint8_t>* bytes;
    std::size_t at = 0;
};

std::size_t ReadMemory(void* dst, std::size_t size, std::size_t count, void* source) {
    auto* r = static_cast<MemoryReader*>(source);
    const std::size_t n = std::min(size * count, r->bytes->size() - r->at);
    std::memcpy(dst, r->bytes->data() + r->at, n);
    r->at += n;
    return size ? n / size : 0;
}

} // namespace

std::vector<uint8_t> EncodeVorbis(const std::vector<const Mono*>& channels, float quality, uint32_t serial) {
    const int count = static_cast<int>(channels.size());
    const std::size_t frames = channels.at(0)->size();
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, count, kRate, quality) != 0) {
        vorbis_info_clear(&info);
        throw std::runtime_error("vorbis encoder refused its settings");
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, static_cast<int>(serial & 0x7FFFFFFF));

    std::vector<uint8_t> out;
    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    ogg_page page;
    // Audio must start on a fresh page, so the headers are flushed on their own.
    while (ogg_stream_flush(&stream, &page) != 0)
        AppendPage(out, page);

    auto drain = [&] {
        ogg_packet packet;
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0)
                    AppendPage(out, page);
            }
        }
    };
    constexpr std::size_t kChunk = 4096;
    for (std::size_t at = 0; at < frames; at += kChunk) {
        const std::size_t n = std::min(kChunk, frames - at);
        float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
        for (int c = 0; c < count; ++c)
            std::copy_n(channels[c]->data() + at, n, buffer[c]);
        vorbis_analysis_wrote(&dsp, static_cast<int>(n));
        drain();
    }
    vorbis_analysis_wrote(&dsp, 0);
    drain();
    while (ogg_stream_flush(&stream, &page) != 0)
        AppendPage(out, page);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

std::vector<Mono> DecodeVorbis(const std::vector<uint8_t>& bytes) {
    MemoryReader reader{&bytes};
    // No seek or tell: the stream is read once from the front, which is all a length and peak need.
    const ov_callbacks callbacks = {ReadMemory, nullptr, nullptr, nullptr};
    OggVorbis_File file;
    if (ov_open_callbacks(&reader, &file, nullptr, 0, callbacks) != 0)
        throw std::runtime_error("encoded stream does not decode");
    std::vector<Mono> out(static_cast<std::size_t>(ov_info(&file, -1)->channels));
    float** pcm = nullptr;
    int section = 0;
    for (long n; (n = ov_read_float(&file, &pcm, 4096, &section)) > 0;)
        for (std::size_t c = 0; c < out.size(); ++c)
            out[c].insert(out[c].end(), pcm[c], pcm[c] + n);
    ov_clear(&file);
    return out;
}

std::vector<uint8_t> EncodeWithHeadroom(std::vector<Mono> channels, float quality, uint32_t serial,
                                        float targetDb, float ceilingDb) {
    const float ceiling = std::pow(10.0f, ceilingDb / 20.0f), target = std::pow(10.0f, targetDb / 20.0f);
    std::vector<const Mono*> views;
    for (const Mono& c : channels)
        views.push_back(&c);
    std::vector<uint8_t> bytes = EncodeVorbis(views, quality, serial);
    for (int attempt = 0; attempt < 4; ++attempt) {
        float peak = 0.0f;
        for (const Mono& c : DecodeVorbis(bytes))
            peak = std::max(peak, Peak(c));
        if (peak <= ceiling) break;
        for (Mono& c : channels)
            for (float& v : c)
                v *= target / peak;
        bytes = EncodeVorbis(views, quality, serial);
    }
    return bytes;
}

uint32_t StreamSerial(std::string_view name) {
    uint32_t hash = 2166136261u;
    for (char c : name) {
        hash ^= static_cast<uint8_t>(c);
        hash *= 16777619u;
    }
    return hash;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace artgen::audio
