// Ogg Vorbis sources of the sound converter, decoded by libvorbisfile through
// callbacks over the converter's stream.
#pragma once

#include <cstdint>

#include "framework/sound/sound_records.h"

namespace qor {

// Set-up attempt on a converter whose source stands at position 0.
int OpenOggVorbisStream(SoundConverter* converter);
// Block producer, seek step and release step of the kind.
int DecodeOggVorbisPcm(SoundConverter* converter);
int SeekOggVorbisPcm(SoundConverter* converter, uint32_t sample);
int CloseOggVorbisStream(SoundConverter* converter);
// PCM bytes of the whole stream, and the size a whole conversion reserves
// (44,100 samples more).
uint64_t GetOggVorbisPcmBytes(const SoundConverter* converter);
uint64_t GetOggVorbisBufferSize(const SoundConverter* converter);

}  // namespace qor
