// Ogg Vorbis decoding with libvorbisfile.
#include "decode.h"

#include "squall.h"

#include <vorbis/vorbisfile.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace squall {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

struct VorbisCloser {
    void operator()(OggVorbis_File* vf) const { ov_clear(vf); }
};

} // namespace

int DecodeOgg(const std::string& path, Pcm& out) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return SQUALL_ERROR_FILE;

    OggVorbis_File vf;
    // On success libvorbisfile owns the FILE and closes it in ov_clear; on failure it is still ours.
    if (ov_open_callbacks(file.get(), &vf, nullptr, 0, OV_CALLBACKS_DEFAULT) != 0) return SQUALL_ERROR_DECODE;
    file.release();
    std::unique_ptr<OggVorbis_File, VorbisCloser> stream(&vf);

    const vorbis_info* info = ov_info(&vf, -1);
    if (info == nullptr || info->channels < 1 || info->channels > 2 || info->rate <= 0)
        return SQUALL_ERROR_DECODE;
    Pcm pcm;
    pcm.channels = info->channels;
    pcm.rate = static_cast<int>(info->rate);
    const ogg_int64_t frames = ov_pcm_total(&vf, -1);
    if (frames > 0) pcm.samples.reserve(static_cast<size_t>(frames) * static_cast<size_t>(pcm.channels));

    char chunk[16384];
    for (;;) {
        int link = 0;
        const long got = ov_read(&vf, chunk, sizeof chunk, 0 /*little endian*/, 2, 1 /*signed*/, &link);
        if (got == 0) break;
        if (got == OV_HOLE) continue; // a gap in the page sequence: skip it, the rest still plays
        if (got < 0) return SQUALL_ERROR_DECODE;
        // A chained stream whose links change format cannot go into one buffer.
        const vorbis_info* linkInfo = ov_info(&vf, link);
        if (linkInfo == nullptr || linkInfo->channels != pcm.channels || linkInfo->rate != pcm.rate)
            return SQUALL_ERROR_DECODE;
        const size_t at = pcm.samples.size();
        pcm.samples.resize(at + static_cast<size_t>(got) / 2);
        std::memcpy(pcm.samples.data() + at, chunk, static_cast<size_t>(got) / 2 * 2);
    }
    if (pcm.samples.empty()) return SQUALL_ERROR_DECODE;
    out = std::move(pcm);
    return 0;
}

} // namespace squall
