// A growable ring of bytes (the sockets' send and receive queues).
#pragma once

#include <cstdint>

namespace qor {

struct RingBuffer {
  uint8_t* data = nullptr;  // from AllocMemory
  int32_t readIndex = 0;
  int32_t writeIndex = 0;
  int32_t stored = 0;
  int32_t capacity = 0;
};

// An index that reached the capacity goes back to 0; every operation does
// this first.
void WrapRingIndices(RingBuffer* ring);
// Makes room for `n` more bytes: when the ring is too small, a block of
// stored + n + 1,000 bytes takes the stored bytes in order. 0, or -1 (with a
// log line) when the block cannot be had; the ring then keeps its contents.
int ReserveRingBuffer(int n, RingBuffer* ring);
// Appends `n` bytes; 0, or -1 when the ring cannot grow (nothing appended).
int AppendRingBuffer(const void* data, int n, RingBuffer* ring);
// Reads `n` bytes in order; -1 when fewer are stored. A peek leaves them.
int ReadRingBuffer(RingBuffer* ring, void* destination, int n, int peek);
// Frees the data block (if any) and clears the record; 0.
int FreeAndClear(RingBuffer* ring);

}  // namespace qor
