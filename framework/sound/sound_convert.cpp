#include "framework/sound/sound_convert.h"

#include <cstring>

#include "framework/core/memory.h"
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

int SetupSoundConverter(const StreamSource* source, SoundConverter* converter) {
  converter->decoderVariant = 0;
  converter->source = *source;
  // Plain PCM WAV is the one kind read here; compressed WAV, Ogg Vorbis and
  // MPEG audio readers slot in after it.
  source->functions.seek(source->handle, 0, 0);
  if (ReadWaveHeader(converter) != 0) return -1;

  converter->active = 0;
  converter->endOfData = 0;
  converter->outputBuffer = static_cast<uint8_t*>(AllocMemory(converter->blockSize, "", 0));
  if (converter->outputBuffer == nullptr) return -1;
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
      if (ReadPcmChunk(c) != 0) {
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
  if (target > c->dataSize) target = c->dataSize;
  const int64_t distance = static_cast<int64_t>(target) - static_cast<int64_t>(c->pcmPosition);
  if (distance > -16 && distance < 16) return 0;
  SeekPcmConverter(c, static_cast<uint32_t>(target));
  c->endOfData = 0;
  return 0;
}

int EndSoundConverter(SoundConverter* c) {
  if (!c->active) return -1;
  if (c->outputBuffer != nullptr) FreeMemory(c->outputBuffer);
  c->outputBuffer = nullptr;
  c->active = 0;
  return 0;
}

int GetConverterFormat(const SoundConverter* c, WAVEFORMATEX* format) {
  *format = c->outputFormat;
  return 0;
}

uint32_t GetConvertedSoundSize(const SoundConverter* c) { return c->dataSize; }

int ConvertWholeSound(SoundConverter* c, WAVEFORMATEX* format, uint8_t** data, uint32_t* size) {
  const uint32_t reserve = GetConvertedSoundSize(c);
  uint8_t* block = static_cast<uint8_t*>(AllocMemory(reserve == 0 ? 1 : reserve, "", 0));
  if (block == nullptr) return -1;
  // Straight from the start of the data, whatever earlier refills read ahead.
  SeekPcmConverter(c, 0);
  c->endOfData = 0;
  const uint32_t delivered = ReadSourceBytes(&c->source, block, reserve);
  c->pcmPosition = delivered;
  *format = c->outputFormat;
  *data = block;
  *size = delivered;
  return 0;
}

}  // namespace qor
