#include "framework/sound/acm_convert.h"

#include <cstring>

#include "framework/core/memory.h"
#include "framework/sound/sound_convert.h"
#include "framework/sound/wav_file.h"
#include "platform/acm/mpeg_header.h"

namespace qor {

namespace {

// Source bytes per conversion step.
constexpr uint32_t kStepBytes = 2048;
constexpr uint32_t kMpegFormatSize = sizeof(plat::MPEGLAYER3WAVEFORMAT);


bool IsMpegTag(uint16_t tag) { return tag == plat::WAVE_FORMAT_MPEG || tag == plat::WAVE_FORMAT_MPEGLAYER3; }

void ReleaseAcm(AcmConverterState& a) {
  if (a.mainStream != nullptr) plat::acmStreamClose(a.mainStream, 0);
  if (a.spareStream != nullptr) plat::acmStreamClose(a.spareStream, 0);
  if (a.formatBlock != nullptr) FreeMemory(a.formatBlock);
  if (a.sourceData != nullptr) FreeMemory(a.sourceData);
  a = AcmConverterState{};
}

int OpenStream(const SoundConverter* c, plat::HACMSTREAM* stream) {
  const auto* source = reinterpret_cast<const WAVEFORMATEX*>(c->acm.formatBlock);
  return plat::acmStreamOpen(stream, nullptr, source, &c->outputFormat, nullptr, 0, 0,
                             plat::ACM_STREAMOPENF_NONREALTIME) == plat::MMSYSERR_NOERROR
             ? 0
             : -1;
}

// The steps shared by both attempts once the source format block and the
// compressed data are in place: the suggested output, both streams, and the
// block size, raised so that one step's output always fits.
int FinishAcmSetup(SoundConverter* c, uint32_t blockSize) {
  AcmConverterState& a = c->acm;
  WAVEFORMATEX out{};
  out.wFormatTag = plat::WAVE_FORMAT_PCM;
  const auto* source = reinterpret_cast<const WAVEFORMATEX*>(a.formatBlock);
  if (plat::acmFormatSuggest(nullptr, source, &out, sizeof out, plat::ACM_FORMATSUGGESTF_WFORMATTAG) != 0) return -1;
  c->outputFormat = out;
  if (OpenStream(c, &a.mainStream) != 0 || OpenStream(c, &a.spareStream) != 0) return -1;
  uint32_t stepOutput = 0;
  if (!IsMpegTag(source->wFormatTag) &&
      plat::acmStreamSize(a.mainStream, a.stepBytes, &stepOutput, plat::ACM_STREAMSIZEF_SOURCE) == 0 &&
      stepOutput > blockSize) {
    blockSize = stepOutput;
  }
  if (blockSize < out.nBlockAlign) blockSize = out.nBlockAlign;
  if (AcmConvertedSize(c) > UINT32_MAX) return -1;  // PCM beyond 32-bit sizes
  c->blockSize = blockSize;
  c->kind = 1;
  return 0;
}

// Samples of the whole frames in a block of MPEG data, walked as the codec
// walks it: frames of the given rate and channels, other bytes stepped over.
int64_t CountMpegSamples(const uint8_t* data, uint32_t size, uint32_t rate, int channels) {
  int64_t samples = 0;
  uint32_t pos = 0;
  while (pos + 4 <= size) {
    plat::MpegHeader h;
    if (plat::ParseMpegHeader(data + pos, &h) != 0 || h.frameSize == 0 || h.sampleRate != rate ||
        h.channels != channels) {
      ++pos;
      continue;
    }
    if (h.frameSize > size - pos) break;
    samples += h.samplesPerFrame;
    pos += h.frameSize;
  }
  return samples;
}

}  // namespace

int ParseMpegFrameHeader(const uint8_t header[4], MpegFrameInfo* info) {
  plat::MpegHeader h;
  const int r = plat::ParseMpegHeader(header, &h);
  if (r != 0) return r;
  // Free format gives no frame size to step by.
  if (h.bitrateIndex == 0) return -1;
  info->layer = static_cast<uint8_t>(h.layer);
  info->version = static_cast<uint8_t>(h.version);
  info->bitrateIndex = static_cast<uint8_t>(h.bitrateIndex);
  info->sampleRateIndex = static_cast<uint8_t>(h.sampleRateIndex);
  info->padding = static_cast<uint8_t>(h.padding);
  info->channels = static_cast<uint8_t>(h.channels);
  info->sampleRate = h.sampleRate;
  info->bitrate = h.bitrate;
  info->frameSize = h.frameSize;
  info->samplesPerFrame = h.samplesPerFrame;
  return 0;
}

int SetupAcmWaveConverter(SoundConverter* c) {
  AcmConverterState& a = c->acm;
  a = AcmConverterState{};
  a.totalSamples = -1;
  const StreamSource* s = &c->source;
  WaveLayout layout;
  if (WalkWaveChunks(s, &layout) != 0) return -1;

  // The fmt body, with room for the 18-byte record when it is shorter.
  const uint32_t blockBytes = layout.fmtSize < sizeof(WAVEFORMATEX) ? sizeof(WAVEFORMATEX) : layout.fmtSize;
  a.formatBlock = static_cast<uint8_t*>(AllocMemoryZeroed(blockBytes, "", 0));
  if (a.formatBlock == nullptr) return -1;
  s->functions.seek(s->handle, layout.fmtStart, 0);
  if (ReadSourceBytes(s, a.formatBlock, layout.fmtSize) != layout.fmtSize) return ReleaseAcm(a), -1;
  auto* format = reinterpret_cast<WAVEFORMATEX*>(a.formatBlock);
  if (layout.fmtSize == 16) {
    format->cbSize = 0;
    if (format->wFormatTag == plat::WAVE_FORMAT_PCM && format->nChannels != 0) {
      format->wBitsPerSample = static_cast<uint16_t>(format->nBlockAlign / format->nChannels * 8);
    }
  }
  // The extra bytes a codec reads must lie inside the chunk.
  if (sizeof(WAVEFORMATEX) + format->cbSize > blockBytes) return ReleaseAcm(a), -1;

  a.sourceSize = layout.dataSize;
  a.sourceData = static_cast<uint8_t*>(AllocMemory(a.sourceSize == 0 ? 1 : a.sourceSize, "", 0));
  if (a.sourceData == nullptr) return ReleaseAcm(a), -1;
  s->functions.seek(s->handle, layout.dataStart, 0);
  a.sourceSize = ReadSourceBytes(s, a.sourceData, a.sourceSize);
  s->functions.seek(s->handle, layout.dataStart, 0);
  a.readPosition = 0;
  // One step takes at least one whole block of the codec.
  a.stepBytes = format->nBlockAlign > kStepBytes ? format->nBlockAlign : kStepBytes;
  c->dataStart = layout.dataStart;
  c->dataSize = a.sourceSize;
  // MPEG frames vary in size, so their samples are counted, not estimated.
  if (IsMpegTag(format->wFormatTag)) {
    const int64_t samples = CountMpegSamples(a.sourceData, a.sourceSize, format->nSamplesPerSec, format->nChannels);
    if (samples == 0 || samples > INT32_MAX) return ReleaseAcm(a), -1;  // no frame at all: not MPEG
    a.totalSamples = static_cast<int32_t>(samples);
  }
  if (FinishAcmSetup(c, 0) != 0) return ReleaseAcm(a), -1;
  if (c->outputFormat.nAvgBytesPerSec > c->blockSize) c->blockSize = c->outputFormat.nAvgBytesPerSec;
  return 0;
}

int SetupAcmMp3Converter(SoundConverter* c) {
  AcmConverterState& a = c->acm;
  a = AcmConverterState{};
  const StreamSource* s = &c->source;
  s->functions.seek(s->handle, 0, 2);
  const int64_t fileSize = s->functions.tell(s->handle);
  s->functions.seek(s->handle, 0, 0);
  if (fileSize < 4 || fileSize > static_cast<int64_t>(UINT32_MAX)) return -1;

  // Audio start: after an ID3v2 tag.
  uint64_t start = 0;
  uint8_t tag[10];
  if (ReadSourceBytes(s, tag, 3) == 3 && std::memcmp(tag, "ID3", 3) == 0 && ReadSourceBytes(s, tag + 3, 7) == 7) {
    start = ((uint64_t{tag[6]} * 128 + tag[7]) * 128 + tag[8]) * 128 + tag[9] + 10;
    if (tag[3] == 4 && (tag[5] & 0x10)) start += 10;
  }
  // Audio limit: before an ID3v1 tag; a file too short for one has none.
  uint64_t limit = static_cast<uint64_t>(fileSize);
  if (fileSize > 128) {
    s->functions.seek(s->handle, -128, 2);
    if (ReadSourceBytes(s, tag, 3) == 3 && std::memcmp(tag, "TAG", 3) == 0) limit -= 128;
  }
  if (start + 4 > limit || limit - start > kMaxAllocSize) return -1;

  // The audio region in memory; the frame walk runs over it.
  const uint32_t regionSize = static_cast<uint32_t>(limit - start);
  uint8_t* region = static_cast<uint8_t*>(AllocMemory(regionSize, "", 0));
  if (region == nullptr) return -1;
  s->functions.seek(s->handle, static_cast<int64_t>(start), 0);
  const uint32_t got = ReadSourceBytes(s, region, regionSize);

  int64_t total = 0;
  int64_t first = -1;
  uint64_t audioEnd = 0;
  MpegFrameInfo firstInfo{};
  uint32_t pos = 0;
  while (pos < got) {
    if (region[pos] != 0xFF) {
      ++pos;
      continue;
    }
    if (pos + 1 >= got) break;
    if ((region[pos + 1] & 0xF0) != 0xF0) {
      pos += 2;
      continue;
    }
    if (pos + 4 > got) break;
    MpegFrameInfo info;
    if (ParseMpegFrameHeader(region + pos, &info) != 0) {
      FreeMemory(region);
      return -1;
    }
    if (first < 0) {
      first = pos;
      firstInfo = info;
    }
    total += info.samplesPerFrame;
    const uint64_t next = uint64_t{pos} + info.frameSize;
    audioEnd = next;
    if (next >= regionSize) {
      audioEnd = regionSize;
      break;
    }
    pos = static_cast<uint32_t>(next);
  }
  if (audioEnd > got) audioEnd = got;  // the stream ended early
  if (first < 0 || total > INT32_MAX) {
    FreeMemory(region);
    return -1;
  }

  // The source format for the codec, in a block of at least its own size.
  uint32_t formatSize = 0;
  plat::acmMetrics(nullptr, plat::ACM_METRIC_MAX_SIZE_FORMAT, &formatSize);
  if (formatSize < kMpegFormatSize) formatSize = kMpegFormatSize;
  a.formatBlock = static_cast<uint8_t*>(AllocMemoryZeroed(formatSize, "", 0));
  if (a.formatBlock == nullptr) {
    FreeMemory(region);
    return -1;
  }
  plat::MPEGLAYER3WAVEFORMAT mp3{};
  mp3.wfx.wFormatTag = plat::WAVE_FORMAT_MPEGLAYER3;
  mp3.wfx.nChannels = firstInfo.channels;
  mp3.wfx.nSamplesPerSec = firstInfo.sampleRate;
  mp3.wfx.nAvgBytesPerSec = firstInfo.bitrate * 1000 / 8;
  mp3.wfx.nBlockAlign = 1;
  mp3.wfx.wBitsPerSample = 0;
  mp3.wfx.cbSize = 12;
  mp3.wID = plat::MPEGLAYER3_ID_MPEG;
  mp3.fdwFlags = firstInfo.padding;
  mp3.nBlockSize = static_cast<uint16_t>(firstInfo.frameSize);
  mp3.nFramesPerBlock = 1;
  mp3.nCodecDelay = 700;
  std::memcpy(a.formatBlock, &mp3, sizeof mp3);

  // The compressed data: from the first frame to the end of the last.
  a.sourceSize = static_cast<uint32_t>(audioEnd - static_cast<uint64_t>(first));
  std::memmove(region, region + first, a.sourceSize);
  a.sourceData = region;
  a.readPosition = 0;
  a.totalSamples = static_cast<int32_t>(total);
  a.stepBytes = kStepBytes;
  c->dataStart = static_cast<uint32_t>(start + static_cast<uint64_t>(first));
  c->dataSize = a.sourceSize;
  s->functions.seek(s->handle, c->dataStart, 0);
  if (FinishAcmSetup(c, 0) != 0) return ReleaseAcm(a), -1;
  const uint32_t wanted = static_cast<uint32_t>(uint64_t{c->outputFormat.nAvgBytesPerSec} * 4 / 3);
  if (wanted > c->blockSize) c->blockSize = wanted;
  return 0;
}

int ConvertAcmChunk(SoundConverter* c) {
  AcmConverterState& a = c->acm;
  if (a.readPosition >= a.sourceSize) return -1;
  plat::ACMSTREAMHEADER h{};
  h.cbStruct = sizeof h;
  h.pbSrc = a.sourceData + a.readPosition;
  const uint32_t rest = a.sourceSize - a.readPosition;
  h.cbSrcLength = rest < a.stepBytes ? rest : a.stepBytes;
  h.pbDst = c->outputBuffer;
  h.cbDstLength = c->blockSize;
  if (plat::acmStreamPrepareHeader(a.mainStream, &h, 0) != 0) return -1;
  plat::acmStreamConvert(a.mainStream, &h, plat::ACM_STREAMCONVERTF_BLOCKALIGN);
  c->bytesLeft = h.cbDstLengthUsed;
  a.readPosition += h.cbSrcLengthUsed;
  plat::acmStreamUnprepareHeader(a.mainStream, &h, 0);
  if (h.cbDstLengthUsed == 0) {
    c->bytesLeft = 0;
    a.readPosition = a.sourceSize;
    return -1;
  }
  return 0;
}

namespace {

void SkipInBuffer(SoundConverter* c, uint64_t target) {
  const uint32_t n = static_cast<uint32_t>(target - c->pcmPosition);
  c->readOffset += n;
  c->pcmPosition += n;
  c->bytesLeft -= n;
}

}  // namespace

int SeekAcmConverter(SoundConverter* c, uint32_t sample) {
  AcmConverterState& a = c->acm;
  const uint64_t target = uint64_t{sample} * c->outputFormat.nBlockAlign;
  if (target >= c->pcmPosition && target - c->pcmPosition <= c->bytesLeft) {
    SkipInBuffer(c, target);
    return 0;
  }
  if (target < c->pcmPosition) {
    // Start again from the beginning on the spare stream, which has never
    // converted anything; the used stream is reopened as the new spare.
    plat::HACMSTREAM used = a.mainStream;
    a.mainStream = a.spareStream;
    a.spareStream = nullptr;
    if (used != nullptr) plat::acmStreamClose(used, 0);
    OpenStream(c, &a.spareStream);
    a.readPosition = 0;
    c->pcmPosition = 0;
    c->bytesLeft = 0;
    c->readOffset = 0;
  }
  while (uint64_t{c->pcmPosition} + c->bytesLeft < target) {
    c->pcmPosition += c->bytesLeft;
    c->bytesLeft = 0;
    c->readOffset = 0;
    if (ConvertAcmChunk(c) != 0) {
      c->bytesLeft = 0;
      c->endOfData = 1;
      return 0;
    }
  }
  SkipInBuffer(c, target);
  return 0;
}

int FreeAcmConverter(SoundConverter* c) {
  ReleaseAcm(c->acm);
  return 0;
}

uint64_t AcmConvertedSize(const SoundConverter* c) {
  const AcmConverterState& a = c->acm;
  if (a.totalSamples >= 0) return uint64_t{c->outputFormat.nBlockAlign} * static_cast<uint64_t>(a.totalSamples);
  uint32_t size = 0;
  if (a.mainStream == nullptr ||
      plat::acmStreamSize(a.mainStream, a.sourceSize, &size, plat::ACM_STREAMSIZEF_SOURCE) != 0) {
    return uint64_t{UINT32_MAX} + 1;  // unknown: refused by the set-up
  }
  return size;
}

}  // namespace qor
