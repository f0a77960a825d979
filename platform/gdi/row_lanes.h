// What the GDI stand-in's row loops share: eight pixels side by side in one
// vector, loaded and stored whole (the loops themselves are built twice,
// see platform/kernel/row_clones.h).
#pragma once

#include <cstdint>
#include <cstring>

#include "platform/kernel/row_clones.h"

namespace plat::gdi {

using Lanes = uint32_t __attribute__((vector_size(32)));
using HalfLanes = uint16_t __attribute__((vector_size(16)));
constexpr int kLanes = 8;

inline Lanes LoadHalfLanes(const uint8_t* p) {
  HalfLanes h;
  std::memcpy(&h, p, sizeof h);
  return __builtin_convertvector(h, Lanes);
}

// Three bytes of a 24-bit pixel read as one little-endian word; the fourth
// byte read must lie inside the row.
inline uint32_t Load24(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v & 0xFFFFFFu;
}

// Writes the low three bytes of each lane at 3-byte steps, each as a 4-byte
// store that the next one overwrites: the byte after the eighth pixel is
// written too, so the caller keeps one pixel of room.
inline void Store24Lanes(uint8_t* p, const Lanes& v) {
  for (int i = 0; i < kLanes; ++i) {
    const uint32_t w = v[i];
    std::memcpy(p + 3 * i, &w, 4);
  }
}

}  // namespace plat::gdi
