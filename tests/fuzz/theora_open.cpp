// The Theora movie open over bytes in memory: the signature, the header
// packets, the page index and keyframe walk, then a few steps, a seek and
// frame updates on the decode thread, and the close.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "guarded_calls.h"
#include "framework/sound/movie/theora_decoder.h"

namespace {

struct Bytes {
  const uint8_t* data;
  size_t size;
  size_t position;
};

Bytes* Of(qor::FileHandle h) { return reinterpret_cast<Bytes*>(h); }

int64_t Tell(qor::FileHandle h) { return static_cast<int64_t>(Of(h)->position); }

int Seek(qor::FileHandle h, int64_t offset, int origin) {
  Bytes* b = Of(h);
  const int64_t base = origin == 0 ? 0 : origin == 1 ? static_cast<int64_t>(b->position) : static_cast<int64_t>(b->size);
  if (offset > static_cast<int64_t>(b->size) || offset < -static_cast<int64_t>(b->size)) return -1;
  const int64_t target = base + offset;
  if (target < 0 || target > static_cast<int64_t>(b->size)) return -1;
  b->position = static_cast<size_t>(target);
  return 0;
}

size_t Read(void* buffer, size_t size, size_t count, qor::FileHandle h) {
  Bytes* b = Of(h);
  if (size == 0) return 0;
  const size_t n = std::min(count, (b->size - b->position) / size);
  if (n > 0) std::memcpy(buffer, b->data + b->position, n * size);
  b->position += n * size;
  return n;
}

int Eof(qor::FileHandle h) { return Of(h)->position >= Of(h)->size ? -1 : 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const qor::FileAccessTable table = {nullptr, nullptr, Tell,    Seek,    Read,    Eof,
                                             nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
  Bytes bytes{data, size, 0};
  qor::TheoraDecoder* d = qor::OpenTheoraMovie(&table, reinterpret_cast<qor::FileHandle>(&bytes), 3);
  if (d == nullptr) return 0;
  for (int i = 0; i < 6; ++i) {
    qor::AdvanceTheoraFrame(d, 1 + i * 3);
    qor::UpdateTheoraFrame(d, 1, 1);
  }
  qor::SeekTheoraFrame(d, 2);
  qor::UpdateTheoraFrame(d, 1, 0);
  qor::CloseTheoraMovie(d);
  return 0;
}
