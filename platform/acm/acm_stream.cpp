// The compression manager calls: format checks and suggestions, streams, and
// the conversion of whole units through the codecs.
#include <cstring>
#include <new>

#include "platform/acm/acm.h"
#include "platform/acm/adpcm_decode.h"
#include "platform/acm/mpeg_decode.h"

namespace plat {

struct AcmStream {
  uint16_t tag;
  WAVEFORMATEX output;
  acm::AdpcmParams adpcm;     // ADPCM: the block layout
  acm::MpegDecoder* mpeg;     // MPEG: the decoder
};

namespace acm {
namespace {

Control g_control;
Counters g_counters;

bool TakeFailure(int* count) {
  if (*count <= 0) return false;
  --*count;
  return true;
}

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// Reads and checks a source format. False when no codec takes it.
bool ReadSourceFormat(const WAVEFORMATEX* f, AdpcmParams* p) {
  if (f == nullptr || f->nChannels < 1 || f->nChannels > 2) return false;
  if (f->nSamplesPerSec < DSBFREQUENCY_MIN || f->nSamplesPerSec > DSBFREQUENCY_MAX) return false;
  const uint8_t* extra = reinterpret_cast<const uint8_t*>(f) + sizeof(WAVEFORMATEX);
  const uint32_t ch = f->nChannels;
  *p = AdpcmParams{};
  p->channels = static_cast<int>(ch);
  p->blockAlign = f->nBlockAlign;
  switch (f->wFormatTag) {
    case WAVE_FORMAT_ALAW:
    case WAVE_FORMAT_MULAW:
      return f->wBitsPerSample == 8 && f->nBlockAlign == ch;
    case WAVE_FORMAT_ADPCM: {
      if (f->wBitsPerSample != 4 || f->cbSize < 4 || f->nBlockAlign < 7 * ch) return false;
      p->samplesPerBlock = Le16(extra);
      p->coefCount = Le16(extra + 2);
      if (p->coefCount < 1 || p->coefCount > 256 || f->cbSize < 4 + 4 * p->coefCount) return false;
      // The block layout must agree with itself.
      if (p->samplesPerBlock != (f->nBlockAlign - 7 * ch) * 2 / ch + 2) return false;
      for (int i = 0; i < p->coefCount; ++i) {
        p->coefs[i].coef1 = static_cast<int16_t>(Le16(extra + 4 + 4 * i));
        p->coefs[i].coef2 = static_cast<int16_t>(Le16(extra + 6 + 4 * i));
      }
      return true;
    }
    case WAVE_FORMAT_IMA_ADPCM: {
      if (f->wBitsPerSample != 4 || f->cbSize < 2 || f->nBlockAlign <= 4 * ch) return false;
      if ((f->nBlockAlign - 4 * ch) % (4 * ch) != 0) return false;
      p->samplesPerBlock = Le16(extra);
      return p->samplesPerBlock == (f->nBlockAlign - 4 * ch) * 2 / ch + 1;
    }
    case WAVE_FORMAT_MPEG:
    case WAVE_FORMAT_MPEGLAYER3:
      return true;
    default:
      return false;
  }
}

WAVEFORMATEX PcmFor(const WAVEFORMATEX* f) {
  WAVEFORMATEX o{};
  o.wFormatTag = WAVE_FORMAT_PCM;
  o.nChannels = f->nChannels;
  o.nSamplesPerSec = f->nSamplesPerSec;
  o.wBitsPerSample = 16;
  o.nBlockAlign = static_cast<uint16_t>(2 * f->nChannels);
  o.nAvgBytesPerSec = o.nBlockAlign * o.nSamplesPerSec;
  return o;
}

uint32_t SamplesIn(const AcmStream* s, uint32_t bytes) {
  return s->tag == WAVE_FORMAT_ADPCM ? MsAdpcmSamplesIn(s->adpcm, bytes) : ImaAdpcmSamplesIn(s->adpcm, bytes);
}

// ADPCM: whole blocks, or the short last block when less than one is given.
void ConvertAdpcm(AcmStream* s, ACMSTREAMHEADER* h) {
  const uint32_t align = s->adpcm.blockAlign;
  const uint32_t frameBytes = 2u * static_cast<uint32_t>(s->adpcm.channels);
  uint32_t pos = 0;
  while (pos < h->cbSrcLength) {
    const uint32_t rest = h->cbSrcLength - pos;
    if (rest < align && pos > 0) break;  // a short block only stands alone
    const uint32_t bytes = rest < align ? rest : align;
    const uint32_t samples = SamplesIn(s, bytes);
    if (samples == 0 || samples * frameBytes > h->cbDstLength - h->cbDstLengthUsed) break;
    int16_t* out = reinterpret_cast<int16_t*>(h->pbDst + h->cbDstLengthUsed);
    const int r = s->tag == WAVE_FORMAT_ADPCM ? DecodeMsAdpcmBlock(s->adpcm, h->pbSrc + pos, bytes, out)
                                              : DecodeImaAdpcmBlock(s->adpcm, h->pbSrc + pos, bytes, out);
    if (r != 0) break;
    h->cbDstLengthUsed += samples * frameBytes;
    pos += bytes;
  }
  h->cbSrcLengthUsed = pos;
}

void ConvertG711(AcmStream* s, ACMSTREAMHEADER* h) {
  uint32_t n = h->cbSrcLength;
  if (n > h->cbDstLength / 2) n = h->cbDstLength / 2;
  n -= n % static_cast<uint32_t>(s->output.nChannels);
  for (uint32_t i = 0; i < n; ++i) {
    const int16_t v = s->tag == WAVE_FORMAT_ALAW ? AlawToLinear(h->pbSrc[i]) : MulawToLinear(h->pbSrc[i]);
    h->pbDst[2 * i] = static_cast<uint8_t>(v);
    h->pbDst[2 * i + 1] = static_cast<uint8_t>(static_cast<uint16_t>(v) >> 8);
  }
  h->cbSrcLengthUsed = n;
  h->cbDstLengthUsed = 2 * n;
}

}  // namespace

Control& GetControl() { return g_control; }
const Counters& GetCounters() { return g_counters; }

void ResetAcmState() {
  g_control = Control{};
  g_counters = Counters{};
}

}  // namespace acm

MMRESULT acmFormatSuggest(void*, const WAVEFORMATEX* source, WAVEFORMATEX* destination, uint32_t destinationSize,
                          uint32_t flags) {
  if (destination == nullptr || destinationSize < sizeof(WAVEFORMATEX)) return MMSYSERR_INVALPARAM;
  if ((flags & ACM_FORMATSUGGESTF_WFORMATTAG) && destination->wFormatTag != WAVE_FORMAT_PCM) return ACMERR_NOTPOSSIBLE;
  acm::AdpcmParams p;
  if (!acm::ReadSourceFormat(source, &p)) return ACMERR_NOTPOSSIBLE;
  *destination = acm::PcmFor(source);
  return MMSYSERR_NOERROR;
}

MMRESULT acmStreamOpen(HACMSTREAM* stream, void*, const WAVEFORMATEX* source, const WAVEFORMATEX* destination,
                       void*, uintptr_t, uintptr_t, uint32_t) {
  if (stream == nullptr || destination == nullptr) return MMSYSERR_INVALPARAM;
  *stream = nullptr;
  if (acm::TakeFailure(&acm::g_control.failNextOpens)) return ACMERR_NOTPOSSIBLE;
  AcmStream* s = new (std::nothrow) AcmStream{};
  if (s == nullptr) return MMSYSERR_NOMEM;
  const WAVEFORMATEX pcm = source != nullptr ? acm::PcmFor(source) : WAVEFORMATEX{};
  if (!acm::ReadSourceFormat(source, &s->adpcm) || std::memcmp(&pcm, destination, sizeof pcm) != 0) {
    delete s;
    return ACMERR_NOTPOSSIBLE;
  }
  s->tag = source->wFormatTag;
  s->output = pcm;
  if (s->tag == WAVE_FORMAT_MPEG || s->tag == WAVE_FORMAT_MPEGLAYER3) {
    s->mpeg = acm::OpenMpegDecoder(source->nSamplesPerSec, source->nChannels);
    if (s->mpeg == nullptr) {
      delete s;
      return MMSYSERR_NOMEM;
    }
  }
  ++acm::g_counters.opens;
  ++acm::g_counters.liveStreams;
  *stream = s;
  return MMSYSERR_NOERROR;
}

MMRESULT acmStreamClose(HACMSTREAM stream, uint32_t) {
  if (stream == nullptr) return MMSYSERR_INVALHANDLE;
  acm::CloseMpegDecoder(stream->mpeg);
  delete stream;
  ++acm::g_counters.closes;
  --acm::g_counters.liveStreams;
  return MMSYSERR_NOERROR;
}

MMRESULT acmStreamPrepareHeader(HACMSTREAM stream, ACMSTREAMHEADER* h, uint32_t) {
  if (stream == nullptr) return MMSYSERR_INVALHANDLE;
  if (h == nullptr || h->cbStruct < sizeof(ACMSTREAMHEADER) || h->pbSrc == nullptr || h->pbDst == nullptr) {
    return MMSYSERR_INVALPARAM;
  }
  if (acm::TakeFailure(&acm::g_control.failNextPrepares)) return MMSYSERR_NOMEM;
  h->fdwStatus |= ACMSTREAMHEADER_STATUSF_PREPARED;
  return MMSYSERR_NOERROR;
}

MMRESULT acmStreamUnprepareHeader(HACMSTREAM stream, ACMSTREAMHEADER* h, uint32_t) {
  if (stream == nullptr) return MMSYSERR_INVALHANDLE;
  if (h == nullptr || !(h->fdwStatus & ACMSTREAMHEADER_STATUSF_PREPARED)) return ACMERR_UNPREPARED;
  h->fdwStatus &= ~ACMSTREAMHEADER_STATUSF_PREPARED;
  return MMSYSERR_NOERROR;
}

MMRESULT acmStreamConvert(HACMSTREAM stream, ACMSTREAMHEADER* h, uint32_t) {
  if (stream == nullptr) return MMSYSERR_INVALHANDLE;
  if (h == nullptr || !(h->fdwStatus & ACMSTREAMHEADER_STATUSF_PREPARED)) return ACMERR_UNPREPARED;
  ++acm::g_counters.converts;
  h->cbSrcLengthUsed = 0;
  h->cbDstLengthUsed = 0;
  switch (stream->tag) {
    case WAVE_FORMAT_ADPCM:
    case WAVE_FORMAT_IMA_ADPCM: acm::ConvertAdpcm(stream, h); break;
    case WAVE_FORMAT_ALAW:
    case WAVE_FORMAT_MULAW: acm::ConvertG711(stream, h); break;
    default:
      acm::DecodeMpegFrames(stream->mpeg, h->pbSrc, h->cbSrcLength, &h->cbSrcLengthUsed, h->pbDst, h->cbDstLength,
                            &h->cbDstLengthUsed);
      break;
  }
  return MMSYSERR_NOERROR;
}

MMRESULT acmStreamSize(HACMSTREAM stream, uint32_t input, uint32_t* output, uint32_t flags) {
  if (stream == nullptr) return MMSYSERR_INVALHANDLE;
  if (output == nullptr || flags != ACM_STREAMSIZEF_SOURCE) return MMSYSERR_INVALFLAG;
  const uint64_t frameBytes = stream->output.nBlockAlign;
  uint64_t samples = 0;
  switch (stream->tag) {
    case WAVE_FORMAT_ADPCM:
    case WAVE_FORMAT_IMA_ADPCM: {
      // Exact: the whole blocks and the short last one.
      const uint32_t align = stream->adpcm.blockAlign;
      samples = uint64_t{input / align} * stream->adpcm.samplesPerBlock + acm::SamplesIn(stream, input % align);
      break;
    }
    case WAVE_FORMAT_ALAW:
    case WAVE_FORMAT_MULAW: samples = input / stream->output.nChannels; break;
    default:
      // An upper bound: the shortest frames (24 bytes for 576 samples) and
      // one frame more.
      samples = uint64_t{input} * 24 + 1152;
      break;
  }
  const uint64_t bytes = samples * frameBytes;
  if (bytes > UINT32_MAX) return ACMERR_NOTPOSSIBLE;
  *output = static_cast<uint32_t>(bytes);
  return MMSYSERR_NOERROR;
}

MMRESULT acmMetrics(void*, uint32_t metric, void* value) {
  if (value == nullptr) return MMSYSERR_INVALPARAM;
  if (metric != ACM_METRIC_MAX_SIZE_FORMAT) return MMSYSERR_INVALFLAG;
  if (acm::g_control.maxFormatSize != 0) std::memcpy(value, &acm::g_control.maxFormatSize, 4);
  return MMSYSERR_NOERROR;
}

}  // namespace plat
