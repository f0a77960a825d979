#include "framework/sound/sound_convert.h"

#include <cstring>

#include "framework/core/memory.h"
#include "framework/sound/acm_convert.h"
#include "framework/sound/ogg_vorbis_sound.h"
#include "framework/sound/sound_state.h"
#include "framework/sound/wav_file.h"

namespace qor {

uint32_t ReadSourceBytes(const StreamSource* source, void* buffer, uint32_t bytes) {
  if (bytes == 0) return 0;
  const int64_t before = source->functions.tell(source->handle);
  source->functions.read(buffer, bytes, 1, source->handle);
  const int64_t after = source->functions.tell(source->handle);
  if (after <= before) return 0;
  const uint64_t got = static_cast<uint64_t>(after - before);
  return got > bytes ? bytes : static_cast<uint32_t>(got);
}

namespace {

using SetupAttempt = int (*)(SoundConverter*);
// Plain PCM WAV, compressed WAV, Ogg Vorbis, MPEG audio: the first that
// recognises the source decides its kind.
constexpr SetupAttempt kAttempts[] = {ReadWaveHeader, SetupAcmWaveConverter, OpenOggVorbisStream,
                                      SetupAcmMp3Converter};

void ReleaseKind(SoundConverter* c) {
  if (c->kind == 1) FreeAcmConverter(c);
  if (c->kind == 2) CloseOggVorbisStream(c);
}

int ProduceBlock(SoundConverter* c) {
  switch (c->kind) {
    case 0: return ReadPcmChunk(c);
    case 1: return ConvertAcmChunk(c);
    case 2: return DecodeOggVorbisPcm(c);
    default: return -1;
  }
}

}  // namespace

int SetupSoundConverter(const StreamSource* source, SoundConverter* converter) {
  converter->decoderVariant = GetSoundState().movieSoundtrackLoading;
  converter->source = *source;
  converter->active = 0;
  bool recognised = false;
  for (SetupAttempt attempt : kAttempts) {
    source->functions.seek(source->handle, 0, 0);
    if (attempt(converter) == 0) {
      recognised = true;
      break;
    }
  }
  if (!recognised) return -1;

  converter->endOfData = 0;
  converter->outputBuffer = static_cast<uint8_t*>(AllocMemory(converter->blockSize, "", 0));
  if (converter->outputBuffer == nullptr) {
    ReleaseKind(converter);
    return -1;
  }
  converter->bytesLeft = 0;
  converter->readOffset = 0;
  converter->pcmPosition = 0;
  converter->active = 1;
  return 0;
}

int ReadPcmChunk(SoundConverter* c) {
  const int64_t consumed = c->source.functions.tell(c->source.handle) - static_cast<int64_t>(c->dataStart);
  if (consumed < 0 || consumed >= static_cast<int64_t>(c->dataSize)) return -1;
  const uint64_t rest = c->dataSize - static_cast<uint64_t>(consumed);
  const uint32_t want = rest < c->blockSize ? static_cast<uint32_t>(rest) : c->blockSize;
  const uint32_t got = ReadSourceBytes(&c->source, c->outputBuffer, want);
  if (got == 0) return -1;  // the source ended before its declared size
  c->bytesLeft = got;
  return 0;
}

int64_t ConvertSoundData(SoundConverter* c, void* destination, uint32_t count) {
  if (!c->active) return -1;
  if (c->endOfData || count == 0) return 0;
  uint8_t* out = static_cast<uint8_t*>(destination);
  uint32_t delivered = 0;
  while (delivered < count) {
    if (c->bytesLeft == 0) {
      c->readOffset = 0;
      if (ProduceBlock(c) != 0) {
        c->endOfData = 1;
        return delivered;
      }
    }
    const uint32_t wanted = count - delivered;
    const uint32_t n = wanted < c->bytesLeft ? wanted : c->bytesLeft;
    std::memcpy(out + delivered, c->outputBuffer + c->readOffset, n);
    delivered += n;
    c->pcmPosition += n;
    c->readOffset += n;
    c->bytesLeft -= n;
  }
  return count;
}

void SeekPcmConverter(SoundConverter* c, uint32_t target) {
  c->source.functions.seek(c->source.handle, static_cast<int64_t>(c->dataStart) + target, 0);
  c->pcmPosition = target;
  c->bytesLeft = 0;
  c->readOffset = 0;
}

int SeekSoundConverter(SoundConverter* c, uint32_t sample) {
  if (!c->active) return -1;
  uint64_t target = uint64_t{sample} * c->outputFormat.nBlockAlign;
  // A plain PCM source cannot move past its data.
  if (c->kind == 0 && target > c->dataSize) target = c->dataSize;
  const int64_t distance = static_cast<int64_t>(target) - static_cast<int64_t>(c->pcmPosition);
  if (distance > -16 && distance < 16) return 0;
  const uint32_t targetSample = static_cast<uint32_t>(target / c->outputFormat.nBlockAlign);
  switch (c->kind) {
    case 0: SeekPcmConverter(c, static_cast<uint32_t>(target)); break;
    case 1: SeekAcmConverter(c, targetSample); break;
    case 2: SeekOggVorbisPcm(c, targetSample); break;
    default: break;
  }
  c->endOfData = 0;
  return 0;
}

int EndSoundConverter(SoundConverter* c) {
  if (!c->active) return -1;
  if (c->outputBuffer != nullptr) FreeMemory(c->outputBuffer);
  c->outputBuffer = nullptr;
  ReleaseKind(c);
  c->active = 0;
  return 0;
}

int GetConverterFormat(const SoundConverter* c, WAVEFORMATEX* format) {
  *format = c->outputFormat;
  return 0;
}

uint32_t GetConvertedSoundSize(const SoundConverter* c) {
  uint64_t size = c->dataSize;
  if (c->kind == 1) size = AcmConvertedSize(c);
  if (c->kind == 2) size = GetOggVorbisBufferSize(c);
  // The set-ups refuse sounds whose sizes pass 32 bits.
  return size > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(size);
}

int ConvertWholeSound(SoundConverter* c, WAVEFORMATEX* format, uint8_t** data, uint32_t* size) {
  const uint32_t reserve = GetConvertedSoundSize(c);
  uint8_t* block = static_cast<uint8_t*>(AllocMemory(reserve == 0 ? 1 : reserve, "", 0));
  if (block == nullptr) return -1;
  uint32_t delivered = 0;
  if (c->kind == 0) {
    // Straight from the start of the data, whatever earlier refills read ahead.
    SeekPcmConverter(c, 0);
    c->endOfData = 0;
    delivered = ReadSourceBytes(&c->source, block, reserve);
    c->pcmPosition = delivered;
  } else {
    SeekSoundConverter(c, 0);
    const int64_t got = ConvertSoundData(c, block, reserve);
    delivered = got > 0 ? static_cast<uint32_t>(got) : 0;
  }
  *format = c->outputFormat;
  *data = block;
  *size = delivered;
  return 0;
}

}  // namespace qor
