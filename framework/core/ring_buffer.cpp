#include "framework/core/ring_buffer.h"

#include <cstring>

#include "framework/core/log.h"
#include "framework/core/memory.h"

namespace qor {

namespace {

constexpr int64_t kGrowthSlack = 1000;

// Copies `n` bytes out of the ring from `from`, across the wrap point.
void CopyOut(const RingBuffer* ring, int32_t from, uint8_t* destination, int32_t n) {
  const int32_t first = n < ring->capacity - from ? n : ring->capacity - from;
  std::memcpy(destination, ring->data + from, static_cast<size_t>(first));
  if (n > first) std::memcpy(destination + first, ring->data, static_cast<size_t>(n - first));
}

}  // namespace

void WrapRingIndices(RingBuffer* ring) {
  if (ring->readIndex == ring->capacity) ring->readIndex = 0;
  if (ring->writeIndex == ring->capacity) ring->writeIndex = 0;
}

int ReserveRingBuffer(int n, RingBuffer* ring) {
  WrapRingIndices(ring);
  if (n < 0) return -1;
  const int64_t needed = static_cast<int64_t>(ring->stored) + n;
  if (ring->capacity >= needed) return 0;
  const int64_t grown = needed + kGrowthSlack;
  uint8_t* block = nullptr;
  if (grown <= INT32_MAX) block = static_cast<uint8_t*>(AllocMemory(static_cast<size_t>(grown), nullptr, 0));
  if (block == nullptr) {
    LogPrintf("リングバッファの再確保に失敗しました(確保しようとしたサイズ %lld byte)", static_cast<long long>(grown));
    return -1;
  }
  if (ring->stored > 0) CopyOut(ring, ring->readIndex, block, ring->stored);
  FreeMemory(ring->data);
  ring->data = block;
  ring->capacity = static_cast<int32_t>(grown);
  ring->readIndex = 0;
  ring->writeIndex = ring->stored;
  return 0;
}

int AppendRingBuffer(const void* data, int n, RingBuffer* ring) {
  WrapRingIndices(ring);
  if (ReserveRingBuffer(n, ring) != 0) return -1;
  if (n == 0) return 0;
  const uint8_t* source = static_cast<const uint8_t*>(data);
  const int32_t first = n < ring->capacity - ring->writeIndex ? n : ring->capacity - ring->writeIndex;
  std::memcpy(ring->data + ring->writeIndex, source, static_cast<size_t>(first));
  if (n > first) std::memcpy(ring->data, source + first, static_cast<size_t>(n - first));
  ring->writeIndex = (n > first) ? n - first : ring->writeIndex + n;
  ring->stored += n;
  return 0;
}

int ReadRingBuffer(RingBuffer* ring, void* destination, int n, int peek) {
  WrapRingIndices(ring);
  if (n < 0 || ring->stored < n) return -1;
  if (n == 0) return 0;
  CopyOut(ring, ring->readIndex, static_cast<uint8_t*>(destination), n);
  if (peek == 0) {
    const int32_t first = n < ring->capacity - ring->readIndex ? n : ring->capacity - ring->readIndex;
    ring->readIndex = (n > first) ? n - first : ring->readIndex + n;
    ring->stored -= n;
  }
  return 0;
}

int FreeAndClear(RingBuffer* ring) {
  FreeMemory(ring->data);
  *ring = RingBuffer{};
  return 0;
}

}  // namespace qor
