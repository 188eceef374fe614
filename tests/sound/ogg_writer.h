// Writes small Ogg Vorbis test tones with libvorbisenc, so sound tests load real files.
#pragma once

#include <string>

namespace testogg {

// A sine tone of `frames` samples per channel at `rate` Hz. Returns false when the file cannot be written.
bool WriteTone(const std::string& path, int channels, int rate, int frames, float hz = 440.0f);

} // namespace testogg
