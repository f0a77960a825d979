#include "framework/sound/wav_file.h"

#include <cstring>

#include "framework/core/log.h"
#include "framework/core/memory.h"
#include "framework/sound/sound_convert.h"

namespace qor {

namespace {

// The format record read from a fmt body.
constexpr uint32_t kFormatRecordSize = 18;
// One refill reads at most this much of a plain PCM source, whatever rate its
// header claims.
constexpr uint32_t kMaxPcmBlock = 1u << 20;

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}
void PutLe32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}

// The length of a stream, leaving it at its start; -1 when it cannot be told.
int64_t StreamLength(const StreamSource* s) {
  s->functions.seek(s->handle, 0, 2);
  const int64_t length = s->functions.tell(s->handle);
  s->functions.seek(s->handle, 0, 0);
  return length;
}

}  // namespace

int WalkWaveChunks(const StreamSource* s, WaveLayout* layout) {
  const int64_t length = StreamLength(s);
  // Positions are kept in 32 bits; a header alone takes 20 bytes.
  if (length < 20 || length > static_cast<int64_t>(UINT32_MAX)) return -1;
  const uint64_t end = static_cast<uint64_t>(length);

  uint8_t head[12];
  if (ReadSourceBytes(s, head, 12) != 12) return -1;
  if (std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "WAVE", 4) != 0) return -1;
  uint8_t chunk[8];
  if (ReadSourceBytes(s, chunk, 8) != 8 || std::memcmp(chunk, "fmt ", 4) != 0) return -1;

  // The fmt body: at least the 16 bytes of a format record, wholly present.
  const uint32_t fmtSize = Le32(chunk + 4);
  const uint64_t bodyStart = 20;
  if (fmtSize < 16 || bodyStart + fmtSize > end) return -1;

  // Walk the chunks up to "data". Every step moves forward and stays inside
  // the stream; a chunk that claims to run past the end ends the walk.
  uint64_t pos = bodyStart + fmtSize;
  s->functions.seek(s->handle, static_cast<int64_t>(pos), 0);
  for (;;) {
    if (pos + 8 > end) return -1;
    if (ReadSourceBytes(s, chunk, 8) != 8) return -1;
    if (std::memcmp(chunk, "data", 4) == 0) break;
    const uint64_t size = Le32(chunk + 4);
    const uint64_t next = pos + 8 + size + (size & 1);
    if (next > end) return -1;
    s->functions.seek(s->handle, static_cast<int64_t>(next), 0);
    pos = next;
  }
  layout->fmtStart = static_cast<uint32_t>(bodyStart);
  layout->fmtSize = fmtSize;
  layout->dataStart = static_cast<uint32_t>(pos + 8);
  // Only the bytes really present count, whatever the chunk declares.
  const uint32_t declared = Le32(chunk + 4);
  const uint64_t present = end - (pos + 8);
  layout->dataSize = declared < present ? declared : static_cast<uint32_t>(present);
  return 0;
}

int ReadWaveHeader(SoundConverter* c) {
  const StreamSource* s = &c->source;
  WaveLayout layout;
  if (WalkWaveChunks(s, &layout) != 0) return -1;
  // Only the format record's 18 bytes of the fmt body are kept.
  uint8_t body[kFormatRecordSize] = {};
  const uint32_t keep = layout.fmtSize < kFormatRecordSize ? layout.fmtSize : kFormatRecordSize;
  s->functions.seek(s->handle, layout.fmtStart, 0);
  if (ReadSourceBytes(s, body, keep) != keep) return -1;
  if (Le16(body) != plat::WAVE_FORMAT_PCM) return -1;  // compressed: another reader's

  WAVEFORMATEX f{};
  f.wFormatTag = Le16(body);
  f.nChannels = Le16(body + 2);
  f.nSamplesPerSec = Le32(body + 4);
  f.nAvgBytesPerSec = Le32(body + 8);
  f.nBlockAlign = Le16(body + 12);
  f.wBitsPerSample = Le16(body + 14);
  f.cbSize = layout.fmtSize == kFormatRecordSize ? Le16(body + 16) : 0;
  if (f.nChannels == 0 || f.nBlockAlign == 0 || f.nSamplesPerSec == 0) return -1;
  if (layout.fmtSize == 16) f.wBitsPerSample = static_cast<uint16_t>(f.nBlockAlign / f.nChannels * 8);

  s->functions.seek(s->handle, layout.dataStart, 0);
  c->dataStart = layout.dataStart;
  c->dataSize = layout.dataSize;
  c->outputFormat = f;
  uint32_t block = f.nAvgBytesPerSec;
  if (block < f.nBlockAlign) block = f.nBlockAlign;
  if (block > kMaxPcmBlock) block = kMaxPcmBlock;
  c->blockSize = block;
  c->kind = 0;
  return 0;
}

void WriteWaveHeader(uint8_t* p, const void* format, uint32_t formatSize, uint32_t dataSize) {
  std::memcpy(p, "RIFF", 4);
  PutLe32(p + 4, formatSize + dataSize + 20);
  std::memcpy(p + 8, "WAVEfmt ", 8);
  PutLe32(p + 16, formatSize);
  if (formatSize > 0) std::memcpy(p + 20, format, formatSize);
  std::memcpy(p + 20 + formatSize, "data", 4);
  PutLe32(p + 24 + formatSize, dataSize);
}

int BuildWaveImage(uint8_t** image, uint32_t* imageSize, const void* format, uint32_t formatSize,
                   const void* data, uint32_t dataSize) {
  const uint64_t total = 28ull + formatSize + dataSize;
  if (total > UINT32_MAX) return -1;
  uint8_t* p = static_cast<uint8_t*>(AllocMemory(static_cast<size_t>(total), "", 0));
  if (p == nullptr) return -1;
  WriteWaveHeader(p, format, formatSize, dataSize);
  if (dataSize > 0) std::memcpy(p + 28 + formatSize, data, dataSize);
  *image = p;
  *imageSize = static_cast<uint32_t>(total);
  return 0;
}

int ReadWholeStream(const StreamSource* source, uint8_t** data, uint32_t* size) {
  const int64_t length = StreamLength(source);
  if (length < 0 || length > static_cast<int64_t>(kMaxAllocSize)) return -1;
  const uint32_t bytes = static_cast<uint32_t>(length);
  uint8_t* block = static_cast<uint8_t*>(AllocMemory(bytes == 0 ? 1 : bytes, "", 0));
  if (block == nullptr) return -1;
  *size = ReadSourceBytes(source, block, bytes);
  *data = block;
  return 0;
}

int LoadStreamToMemory(const StreamSource* source, uint8_t** data, uint32_t* size) {
  if (ReadWholeStream(source, data, size) != 0) {
    return LogOutput("ストリームの読み込みに必要なメモリの確保に失敗しました");
  }
  return 0;
}

int LoadFileToMemory(const char* path, uint8_t** data, uint32_t* size) {
  const FileHandle file = FileOpenDispatch(path, 0, 1, 0);
  if (file == 0) return LogPrintf("右記のファイルのオープンに失敗しました：%s", path);
  const StreamSource source = MakeStreamSource(GetFileStreamTable(), file);
  const int result = ReadWholeStream(&source, data, size);
  FileCloseDispatch(file);
  if (result != 0) return LogPrintf("右記のファイルのロードに必要なメモリの確保に失敗しました：%s", path);
  return 0;
}

}  // namespace qor
