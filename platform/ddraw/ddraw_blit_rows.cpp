// Row loops behind Blt and BltFast. A 1:1 move is one memmove per row, rows
// taken bottom up when the destination lies below the source on the same
// surface; a stretch works out each column's source offset once and each
// row's source row once, and repeats the row above when it reads the same
// source row; keyed rows compare a vector of pixels at a time.
#include "platform/ddraw/ddraw_blit_rows.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/kernel/row_clones.h"

namespace plat {

namespace {

using Lanes8 = uint8_t __attribute__((vector_size(32)));
using Lanes16 = uint16_t __attribute__((vector_size(32)));
using Lanes32 = uint32_t __attribute__((vector_size(32)));

uint8_t* At(const DdPlane& p, int x, int y) {
  return p.pixels + static_cast<std::ptrdiff_t>(y) * p.pitch + static_cast<std::ptrdiff_t>(x) * p.bytes;
}

uint32_t LoadPixel(const uint8_t* p, int bytes) {
  uint32_t v = 0;
  std::memcpy(&v, p, static_cast<size_t>(bytes));
  return v;
}

Rect Intersect(const Rect& a, const Rect& b) {
  return Rect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
}

bool Empty(const Rect& r) { return r.left >= r.right || r.top >= r.bottom; }

// The key reduced to the pixel's width; false when no pixel can match.
bool KeyFits(const DdKeyRange& key, int bytes, uint32_t* low, uint32_t* high) {
  const uint32_t top = bytes >= 4 ? 0xFFFFFFFFu : (1u << (8 * bytes)) - 1u;
  if (!key.on || key.low > key.high || key.low > top) return false;
  *low = key.low;
  *high = std::min(key.high, top);
  return true;
}

// Pixels of `from` outside low..high replace those of `to`; n pixels of T.
template <typename T, typename V>
inline void KeyedRowOf(uint8_t* to, const uint8_t* from, int n, uint32_t low, uint32_t high) {
  constexpr int kPer = static_cast<int>(sizeof(V) / sizeof(T));
  const V lo = V{} + static_cast<T>(low), hi = V{} + static_cast<T>(high);
  int i = 0;
  for (; i + kPer <= n; i += kPer) {
    V s, d;
    std::memcpy(&s, from + i * sizeof(T), sizeof s);
    std::memcpy(&d, to + i * sizeof(T), sizeof d);
    const V draw = reinterpret_cast<V>((s < lo) | (s > hi));
    d = (s & draw) | (d & ~draw);
    std::memcpy(to + i * sizeof(T), &d, sizeof d);
  }
  for (; i < n; ++i) {
    T v;
    std::memcpy(&v, from + i * sizeof(T), sizeof v);
    if (v < low || v > high) std::memcpy(to + i * sizeof(T), &v, sizeof v);
  }
}

PLAT_ROW_CLONES void KeyedRow8(uint8_t* to, const uint8_t* from, int n, uint32_t low, uint32_t high) {
  KeyedRowOf<uint8_t, Lanes8>(to, from, n, low, high);
}
PLAT_ROW_CLONES void KeyedRow16(uint8_t* to, const uint8_t* from, int n, uint32_t low, uint32_t high) {
  KeyedRowOf<uint16_t, Lanes16>(to, from, n, low, high);
}
PLAT_ROW_CLONES void KeyedRow32(uint8_t* to, const uint8_t* from, int n, uint32_t low, uint32_t high) {
  KeyedRowOf<uint32_t, Lanes32>(to, from, n, low, high);
}

void KeyedRow24(uint8_t* to, const uint8_t* from, int n, uint32_t low, uint32_t high) {
  for (int i = 0; i < n; ++i) {
    const uint32_t v = LoadPixel(from + 3 * i, 3);
    if (v < low || v > high) std::memcpy(to + 3 * i, from + 3 * i, 3);
  }
}

void KeyedRow(int bytes, uint8_t* to, const uint8_t* from, int n, uint32_t low, uint32_t high) {
  switch (bytes) {
    case 1: KeyedRow8(to, from, n, low, high); break;
    case 2: KeyedRow16(to, from, n, low, high); break;
    case 3: KeyedRow24(to, from, n, low, high); break;
    default: KeyedRow32(to, from, n, low, high); break;
  }
}

// One stretched row: column x reads the source row at byte offset cols[x].
template <typename T>
void GatherRow(uint8_t* to, const uint8_t* from, const int32_t* cols, int n, bool keyed, uint32_t low,
               uint32_t high) {
  for (int x = 0; x < n; ++x) {
    T v;
    std::memcpy(&v, from + cols[x], sizeof v);
    if (keyed && v >= low && v <= high) continue;
    std::memcpy(to + x * sizeof(T), &v, sizeof v);
  }
}

void GatherRow24(uint8_t* to, const uint8_t* from, const int32_t* cols, int n, bool keyed, uint32_t low,
                 uint32_t high) {
  for (int x = 0; x < n; ++x) {
    const uint32_t v = LoadPixel(from + cols[x], 3);
    if (keyed && low <= v && v <= high) continue;
    std::memcpy(to + 3 * x, from + cols[x], 3);
  }
}

void Gather(int bytes, uint8_t* to, const uint8_t* from, const int32_t* cols, int n, bool keyed, uint32_t low,
            uint32_t high) {
  switch (bytes) {
    case 1: GatherRow<uint8_t>(to, from, cols, n, keyed, low, high); break;
    case 2: GatherRow<uint16_t>(to, from, cols, n, keyed, low, high); break;
    case 3: GatherRow24(to, from, cols, n, keyed, low, high); break;
    default: GatherRow<uint32_t>(to, from, cols, n, keyed, low, high); break;
  }
}

// Same sizes: `cd` is the clipped destination, (sx, sy) the source pixel
// for its corner.
void CopyRows(const DdPlane& to, const Rect& cd, const DdPlane& from, int sx, int sy, bool keyed, uint32_t low,
              uint32_t high) {
  const int w = cd.right - cd.left, h = cd.bottom - cd.top;
  const size_t rowBytes = static_cast<size_t>(w) * to.bytes;
  const bool same = to.pixels == from.pixels;
  // On one surface a row may only be written once every row still to be
  // read from it has been read: downwards moves go bottom up.
  const bool upwards = same && cd.top > sy;
  // A keyed move along its own row reads pixels it may already have written.
  std::vector<uint8_t> rowCopy(keyed && same && cd.top == sy ? rowBytes : 0);
  for (int i = 0; i < h; ++i) {
    const int r = upwards ? h - 1 - i : i;
    uint8_t* out = At(to, cd.left, cd.top + r);
    const uint8_t* in = At(from, sx, sy + r);
    if (!keyed) {
      std::memmove(out, in, rowBytes);
      continue;
    }
    if (!rowCopy.empty()) {
      std::memcpy(rowCopy.data(), in, rowBytes);
      in = rowCopy.data();
    }
    KeyedRow(to.bytes, out, in, w, low, high);
  }
}

}  // namespace

void DdFillRows(const DdPlane& to, const Rect& r, const Rect& clip, uint32_t value) {
  const Rect c = Intersect(r, clip);
  if (Empty(c)) return;
  const int w = c.right - c.left;
  uint8_t* first = At(to, c.left, c.top);
  if (to.bytes == 1) {
    std::memset(first, static_cast<int>(value & 0xFF), static_cast<size_t>(w));
  } else {
    for (int x = 0; x < w; ++x) std::memcpy(first + static_cast<std::ptrdiff_t>(x) * to.bytes, &value, to.bytes);
  }
  const size_t rowBytes = static_cast<size_t>(w) * to.bytes;
  for (int y = c.top + 1; y < c.bottom; ++y) std::memcpy(At(to, c.left, y), first, rowBytes);
}

void DdMoveRows(const DdPlane& to, const Rect& d, const Rect& clip, const DdPlane& from, const Rect& s,
                const DdKeyRange& key) {
  const Rect cd = Intersect(d, clip);
  if (Empty(cd)) return;
  uint32_t low = 0, high = 0;
  const bool keyed = KeyFits(key, to.bytes, &low, &high);
  const int dw = d.right - d.left, dh = d.bottom - d.top, sw = s.right - s.left, sh = s.bottom - s.top;
  if (dw == sw && dh == sh) {
    CopyRows(to, cd, from, s.left + (cd.left - d.left), s.top + (cd.top - d.top), keyed, low, high);
    return;
  }
  // A stretch onto its own source reads from a copy of the source rectangle.
  DdPlane src = from;
  Rect sr = s;
  std::vector<uint8_t> snapshot;
  if (to.pixels == from.pixels && !Empty(Intersect(cd, s))) {
    const size_t rowBytes = static_cast<size_t>(sw) * from.bytes;
    snapshot.resize(rowBytes * static_cast<size_t>(sh));
    for (int y = 0; y < sh; ++y) std::memcpy(snapshot.data() + y * rowBytes, At(from, s.left, s.top + y), rowBytes);
    src = DdPlane{snapshot.data(), static_cast<int32_t>(rowBytes), from.bytes};
    sr = Rect{0, 0, sw, sh};
  }
  const int w = cd.right - cd.left;
  std::vector<int32_t> cols(static_cast<size_t>(w));
  for (int x = 0; x < w; ++x) {
    const int64_t u = static_cast<int64_t>(cd.left - d.left + x) * sw / dw;
    cols[static_cast<size_t>(x)] = static_cast<int32_t>((sr.left + u) * src.bytes);
  }
  const size_t rowBytes = static_cast<size_t>(w) * to.bytes;
  int lastRow = -1;
  for (int y = cd.top; y < cd.bottom; ++y) {
    const int row = sr.top + static_cast<int>(static_cast<int64_t>(y - d.top) * sh / dh);
    uint8_t* out = At(to, cd.left, y);
    if (!keyed && row == lastRow) {
      std::memcpy(out, out - to.pitch, rowBytes);
      continue;
    }
    Gather(to.bytes, out, At(src, 0, row), cols.data(), w, keyed, low, high);
    lastRow = row;
  }
}

}  // namespace plat
