// Ogg Vorbis decoding with libvorbisfile, from the whole file read into memory.
#include "decode.h"

#include "platform.h"
#include "squall.h"

#include <ogg/ogg.h>
#include <vorbis/vorbisfile.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace squall {

namespace {

// The file's bytes as libvorbisfile reads them.
struct Memory {
    const std::string& bytes;
    size_t at = 0;
};

size_t ReadMemory(void* to, size_t size, size_t count, void* source) {
    Memory& m = *static_cast<Memory*>(source);
    const size_t n = size == 0 ? 0 : std::min(count, (m.bytes.size() - m.at) / size);
    std::memcpy(to, m.bytes.data() + m.at, n * size);
    m.at += n * size;
    return n;
}

int SeekMemory(void* source, ogg_int64_t offset, int whence) {
    Memory& m = *static_cast<Memory*>(source);
    const ogg_int64_t base = whence == SEEK_CUR   ? static_cast<ogg_int64_t>(m.at)
                             : whence == SEEK_END ? static_cast<ogg_int64_t>(m.bytes.size())
                                                  : 0;
    if (offset < -base || base + offset > static_cast<ogg_int64_t>(m.bytes.size())) return -1;
    m.at = static_cast<size_t>(base + offset);
    return 0;
}

long TellMemory(void* source) {
    return static_cast<long>(static_cast<Memory*>(source)->at);
}

// A whole stream ends with a page marked end-of-stream and nothing after it. libvorbisfile plays a file cut
// short up to the cut without a word, so this is where a damaged file is told from a whole one.
bool EndsWhole(const std::string& bytes) {
    ogg_sync_state sync;
    ogg_sync_init(&sync);
    char* buffer = ogg_sync_buffer(&sync, static_cast<long>(bytes.size()));
    bool whole = buffer != nullptr;
    if (whole) {
        std::memcpy(buffer, bytes.data(), bytes.size());
        ogg_sync_wrote(&sync, static_cast<long>(bytes.size()));
        bool ended = false;
        ogg_page page;
        // Positive: a page (checked by its CRC); negative: bytes that are no page, skipped; 0: the rest is
        // short of a page.
        for (long got; (got = ogg_sync_pageseek(&sync, &page)) != 0;)
            if (got > 0) ended = ogg_page_eos(&page) != 0;
        whole = ended && sync.returned == sync.fill;
    }
    ogg_sync_clear(&sync);
    return whole;
}

struct VorbisCloser {
    void operator()(OggVorbis_File* vf) const { ov_clear(vf); }
};

} // namespace

int DecodeOgg(const std::string& path, Pcm& out) {
    std::string bytes;
    // Only a regular file: a FIFO or a device in the data folder must not hold the game up.
    if (platform::ReadRegularFile(path, &bytes) != platform::FileRead::kRead) return SQUALL_ERROR_FILE;
    if (!EndsWhole(bytes)) return SQUALL_ERROR_DECODE;

    Memory memory{bytes};
    OggVorbis_File vf;
    const ov_callbacks callbacks{ReadMemory, SeekMemory, nullptr, TellMemory};
    if (ov_open_callbacks(&memory, &vf, nullptr, 0, callbacks) != 0) return SQUALL_ERROR_DECODE;
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
