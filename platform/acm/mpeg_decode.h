// MPEG audio decoding through libmpg123, fed whole frames.
#pragma once

#include <cstdint>

namespace plat {
namespace acm {

struct MpegDecoder;

// A decoder whose output is 16-bit signed PCM at `rate` with `channels`;
// null when libmpg123 cannot make one.
MpegDecoder* OpenMpegDecoder(uint32_t rate, int channels);
void CloseMpegDecoder(MpegDecoder* decoder);

// Decodes whole frames from `source`: every frame that fits both the source
// bytes given and the destination space left, with the rate and channels the
// decoder was opened for; bytes that are not such a frame are stepped over.
// Reports the source bytes used and the destination bytes written.
void DecodeMpegFrames(MpegDecoder* decoder, const uint8_t* source, uint32_t sourceBytes, uint32_t* sourceUsed,
                      uint8_t* destination, uint32_t destinationBytes, uint32_t* destinationUsed);

}  // namespace acm
}  // namespace plat
