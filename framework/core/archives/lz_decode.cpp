#include <cstring>

#include "framework/core/archives/archive_format.h"
#include "framework/core/archives/lz_codec.h"

namespace qor {

namespace {

// Copies `length` bytes from `distance` back, forward, as if byte by byte:
// the copy may overlap its own output. `room` is the space from `to` to the
// end of the output; where it allows, whole words are moved, which may write
// up to 7 bytes past the copy that later output overwrites.
inline void CopyMatch(uint8_t* to, size_t distance, size_t length, size_t room) {
  const uint8_t* from = to - distance;
  if (distance == 1) {
    std::memset(to, from[0], length);
    return;
  }
  if (distance >= 8 && length + 8 <= room) {
    // Each word is read before it is written, and never from bytes this
    // word writes.
    for (size_t i = 0; i < length; i += 8) {
      uint64_t word;
      std::memcpy(&word, from + i, 8);
      std::memcpy(to + i, &word, 8);
    }
    return;
  }
  for (size_t i = 0; i < length; ++i) to[i] = from[i];
}

}  // namespace

int64_t DecompressLz(const uint8_t* source, size_t sourceLength, uint8_t* destination, size_t destinationLength) {
  if (source == nullptr || sourceLength < kLzHeaderBytes) return -1;
  const uint32_t decompressedSize = ReadLe32(source);
  const uint32_t compressedSize = ReadLe32(source + 4);
  const uint8_t escape = source[8];
  if (compressedSize != sourceLength) return -1;
  if (destination == nullptr) return decompressedSize;
  if (decompressedSize != destinationLength) return -1;

  const uint8_t* in = source + kLzHeaderBytes;
  const uint8_t* const end = source + sourceLength;
  size_t out = 0;
  while (in < end) {
    if (*in != escape) {
      // A run of literals up to the next escape byte, copied whole.
      const void* next = std::memchr(in, escape, static_cast<size_t>(end - in));
      const size_t run = next != nullptr ? static_cast<size_t>(static_cast<const uint8_t*>(next) - in)
                                         : static_cast<size_t>(end - in);
      if (run > destinationLength - out) return -1;
      std::memcpy(destination + out, in, run);
      in += run;
      out += run;
      continue;
    }
    ++in;
    if (in >= end) return -1;  // an escape with nothing after it
    if (*in == escape) {
      ++in;
      if (out >= destinationLength) return -1;
      destination[out++] = escape;
      continue;
    }
    uint32_t c = *in++;
    if (c > escape) c -= 1;
    uint32_t length = c >> 3;
    if (c & 4) {
      if (in >= end) return -1;
      length |= static_cast<uint32_t>(*in++) << 5;
    }
    length += 4;
    const uint32_t kind = c & 3;
    if (kind == 3) return -1;  // no such distance field in valid data
    const uint32_t fieldBytes = kind + 1;
    if (static_cast<size_t>(end - in) < fieldBytes) return -1;
    uint32_t field = 0;
    for (uint32_t i = 0; i < fieldBytes; ++i) field |= static_cast<uint32_t>(in[i]) << (8 * i);
    in += fieldBytes;
    const size_t distance = static_cast<size_t>(field) + 1;
    if (distance > out || length > destinationLength - out) return -1;
    CopyMatch(destination + out, distance, length, destinationLength - out);
    out += length;
  }
  return out == destinationLength ? static_cast<int64_t>(decompressedSize) : -1;
}

}  // namespace qor
