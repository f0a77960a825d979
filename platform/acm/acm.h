// Audio compression manager stand-in: the calls the sound converter makes to
// turn compressed WAV data and MPEG audio into PCM.
//
// Codecs: Microsoft ADPCM, IMA ADPCM, A-law and mu-law (our own decoders) and
// MPEG audio Layers I to III (through libmpg123). Every codec converts to
// 16-bit signed PCM with the source's channels and rate. Conversion works on
// whole units only: ADPCM blocks, G.711 samples, MPEG frames. A source
// shorter than one ADPCM block is taken as the data's short last block and
// decoded within its own bytes.
//
// MPEG: only whole frames that fit both the source and the destination are
// converted; the source bytes used are reported; junk between frames is
// stepped over; the encoder's information frame is decoded as an ordinary
// frame and no encoder or decoder delay is trimmed, so a stream of n frames
// converts to n times the samples per frame.
//
// Tests can make the next opens fail and change the largest format size.
#pragma once

#include <cstdint>

#include "platform/dsound/dsound.h"

namespace plat {

using MMRESULT = uint32_t;
constexpr MMRESULT MMSYSERR_NOERROR = 0;
constexpr MMRESULT MMSYSERR_ERROR = 1;
constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
constexpr MMRESULT MMSYSERR_NOMEM = 7;
constexpr MMRESULT MMSYSERR_INVALFLAG = 10;
constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
constexpr MMRESULT ACMERR_NOTPOSSIBLE = 512;
constexpr MMRESULT ACMERR_UNPREPARED = 514;

constexpr uint16_t WAVE_FORMAT_ADPCM = 0x0002;
constexpr uint16_t WAVE_FORMAT_ALAW = 0x0006;
constexpr uint16_t WAVE_FORMAT_MULAW = 0x0007;
constexpr uint16_t WAVE_FORMAT_IMA_ADPCM = 0x0011;
constexpr uint16_t WAVE_FORMAT_MPEG = 0x0050;
constexpr uint16_t WAVE_FORMAT_MPEGLAYER3 = 0x0055;

constexpr uint32_t ACM_FORMATSUGGESTF_WFORMATTAG = 0x00010000;
constexpr uint32_t ACM_STREAMOPENF_NONREALTIME = 0x00000004;
constexpr uint32_t ACM_STREAMCONVERTF_BLOCKALIGN = 0x00000004;
constexpr uint32_t ACM_STREAMSIZEF_SOURCE = 0x00000000;
constexpr uint32_t ACM_STREAMSIZEF_DESTINATION = 0x00000001;
constexpr uint32_t ACM_METRIC_MAX_SIZE_FORMAT = 50;
constexpr uint32_t ACMSTREAMHEADER_STATUSF_PREPARED = 0x00020000;
constexpr uint16_t MPEGLAYER3_ID_MPEG = 1;

#pragma pack(push, 2)
struct MPEGLAYER3WAVEFORMAT {
  WAVEFORMATEX wfx;
  uint16_t wID;
  uint32_t fdwFlags;
  uint16_t nBlockSize;
  uint16_t nFramesPerBlock;
  uint16_t nCodecDelay;
};
#pragma pack(pop)
static_assert(sizeof(MPEGLAYER3WAVEFORMAT) == 30);

struct ACMSTREAMHEADER {
  uint32_t cbStruct;
  uint32_t fdwStatus;
  uintptr_t dwUser;
  const uint8_t* pbSrc;
  uint32_t cbSrcLength;
  uint32_t cbSrcLengthUsed;
  uintptr_t dwSrcUser;
  uint8_t* pbDst;
  uint32_t cbDstLength;
  uint32_t cbDstLengthUsed;
  uintptr_t dwDstUser;
  uint32_t dwReservedDriver[10];
};

struct AcmStream;  // one open conversion
using HACMSTREAM = AcmStream*;

// The source format is a WAVEFORMATEX followed by its cbSize extra bytes.
MMRESULT acmFormatSuggest(void* driver, const WAVEFORMATEX* source, WAVEFORMATEX* destination,
                          uint32_t destinationSize, uint32_t flags);
MMRESULT acmStreamOpen(HACMSTREAM* stream, void* driver, const WAVEFORMATEX* source,
                       const WAVEFORMATEX* destination, void* filter, uintptr_t callback, uintptr_t instance,
                       uint32_t flags);
MMRESULT acmStreamClose(HACMSTREAM stream, uint32_t flags);
MMRESULT acmStreamPrepareHeader(HACMSTREAM stream, ACMSTREAMHEADER* header, uint32_t flags);
MMRESULT acmStreamUnprepareHeader(HACMSTREAM stream, ACMSTREAMHEADER* header, uint32_t flags);
MMRESULT acmStreamConvert(HACMSTREAM stream, ACMSTREAMHEADER* header, uint32_t flags);
MMRESULT acmStreamSize(HACMSTREAM stream, uint32_t input, uint32_t* output, uint32_t flags);
MMRESULT acmMetrics(void* object, uint32_t metric, void* value);

namespace acm {

struct Control {
  int failNextOpens = 0;         // this many stream opens fail
  int failNextPrepares = 0;      // this many header preparations fail
  uint32_t maxFormatSize = 50;   // what the largest-format metric reports (0: leaves it unset)
};
struct Counters {
  int opens = 0;
  int closes = 0;
  int converts = 0;
  int liveStreams = 0;
};

Control& GetControl();
const Counters& GetCounters();
void ResetAcmState();

}  // namespace acm
}  // namespace plat
