// Ogg Vorbis decoding into 16-bit PCM, the one format the sound library plays.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace squall {

struct Pcm {
    int channels = 0;             // 1 or 2
    int rate = 0;                 // samples per second
    std::vector<int16_t> samples; // interleaved
};

// Decodes the whole file at a real (already resolved) path. Returns 0, SQUALL_ERROR_FILE when the file cannot
// be read or is not a regular file, or SQUALL_ERROR_DECODE when it is not Vorbis, is damaged or cut short, is
// empty or has more than two channels.
int DecodeOgg(const std::string& path, Pcm& out);

} // namespace squall
