// Ogg Vorbis encoding of generated sounds, repeatable byte for byte.
#pragma once

#include "audio_synth.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace artgen::audio {

// Encodes one or more channels of equal length at kRate. The stream's serial number is fixed by the
// caller and no clock is read, so the same samples always give the same bytes.
std::vector<uint8_t> EncodeVorbis(const std::vector<const Mono*>& channels, float quality, uint32_t serial);

// Decodes a whole stream back to planar channels; used to check what the encoder really produced.
std::vector<Mono> DecodeVorbis(const std::vector<uint8_t>& bytes);

// Encodes like EncodeVorbis, then decodes: where the codec's ringing pushes the peak above `ceilingDb`,
// the samples are scaled down to `targetDb` and encoded again, so no sound clips once decoded.
std::vector<uint8_t> EncodeWithHeadroom(std::vector<Mono> channels, float quality, uint32_t serial,
                                        float targetDb, float ceilingDb);

// FNV-1a of the file name: a stable serial number per file.
uint32_t StreamSerial(std::string_view name);

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace artgen::audio
