// Reading and writing pixel values of 1 to 4 bytes at any address
// (little-endian; a 3-byte value is the low 16 bits, then the high byte).
#pragma once

#include <cstdint>
#include <cstring>

namespace qor {

inline uint32_t LoadPixel16(const uint8_t* p) {
  uint16_t v;
  std::memcpy(&v, p, 2);
  return v;
}
inline uint32_t LoadPixel24(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16);
}
inline uint32_t LoadPixel32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}
inline void StorePixel16(uint8_t* p, uint32_t v) {
  uint16_t w = static_cast<uint16_t>(v);
  std::memcpy(p, &w, 2);
}
inline void StorePixel24(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
}
inline void StorePixel32(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }

inline uint32_t LoadPixel(const uint8_t* p, int bytes) {
  switch (bytes) {
    case 1: return p[0];
    case 2: return LoadPixel16(p);
    case 3: return LoadPixel24(p);
    default: return LoadPixel32(p);
  }
}
inline void StorePixel(uint8_t* p, int bytes, uint32_t v) {
  switch (bytes) {
    case 1: p[0] = static_cast<uint8_t>(v); break;
    case 2: StorePixel16(p, v); break;
    case 3: StorePixel24(p, v); break;
    default: StorePixel32(p, v); break;
  }
}

}  // namespace qor
