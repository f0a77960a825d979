// The display stand-in's row moves against a pixel-by-pixel oracle written
// here: every source pixel is read from a copy taken before the move, so
// overlapping moves on one surface must give what a move through a copy
// gives; nothing outside the clipped destination may change.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "platform/ddraw/ddraw.h"
#include "platform/ddraw/ddraw_blit_rows.h"
#include "platform/host/headless/headless_control.h"

namespace {

using namespace plat;

struct Buffer {
  int width = 0, height = 0, bytes = 0;
  int32_t pitch = 0;
  std::vector<uint8_t> memory;
  DdPlane Plane() { return DdPlane{memory.data(), pitch, bytes}; }
};

uint32_t Read(const std::vector<uint8_t>& m, int32_t pitch, int bytes, int x, int y) {
  uint32_t v = 0;
  std::memcpy(&v, m.data() + static_cast<size_t>(y) * pitch + static_cast<size_t>(x) * bytes, bytes);
  return v;
}

void Write(std::vector<uint8_t>& m, int32_t pitch, int bytes, int x, int y, uint32_t v) {
  std::memcpy(m.data() + static_cast<size_t>(y) * pitch + static_cast<size_t>(x) * bytes, &v, bytes);
}

// What the move must leave in the destination's memory.
std::vector<uint8_t> Oracle(const Buffer& to, const Rect& d, const Rect& clip, const std::vector<uint8_t>& fromCopy,
                            int32_t fromPitch, const Rect& s, const DdKeyRange& key) {
  std::vector<uint8_t> out = to.memory;
  const int dw = d.right - d.left, dh = d.bottom - d.top, sw = s.right - s.left, sh = s.bottom - s.top;
  for (int y = d.top; y < d.bottom; ++y) {
    for (int x = d.left; x < d.right; ++x) {
      if (x < clip.left || x >= clip.right || y < clip.top || y >= clip.bottom) continue;
      const int sx = s.left + static_cast<int>(static_cast<int64_t>(x - d.left) * sw / dw);
      const int sy = s.top + static_cast<int>(static_cast<int64_t>(y - d.top) * sh / dh);
      const uint32_t v = Read(fromCopy, fromPitch, to.bytes, sx, sy);
      if (key.on && v >= key.low && v <= key.high) continue;
      Write(out, to.pitch, to.bytes, x, y, v);
    }
  }
  return out;
}

struct Rng {
  std::mt19937 g{20261207};
  int In(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(g); }
  uint32_t Word() { return g(); }
};

uint32_t Top(int bytes) { return bytes == 4 ? 0xFFFFFFFFu : (1u << (8 * bytes)) - 1u; }

// Pixels near the key's ends come often, so both ends and one past them are met.
void Paint(Buffer& b, Rng& rng, const DdKeyRange& key) {
  for (int y = 0; y < b.height; ++y)
    for (int x = 0; x < b.width; ++x) {
      uint32_t v = rng.Word() & Top(b.bytes);
      switch (rng.In(0, 5)) {
        case 0: v = key.low; break;
        case 1: v = key.high; break;
        case 2: v = key.low - 1; break;
        case 3: v = key.high + 1; break;
        default: break;
      }
      Write(b.memory, b.pitch, b.bytes, x, y, v & Top(b.bytes));
    }
  // The row padding holds a pattern that must survive.
  for (int y = 0; y < b.height; ++y)
    for (int32_t i = b.width * b.bytes; i < b.pitch; ++i) b.memory[static_cast<size_t>(y) * b.pitch + i] = 0x5C;
}

Buffer Make(int w, int h, int bytes, int pad) {
  Buffer b{w, h, bytes, w * bytes + pad, {}};
  b.memory.assign(static_cast<size_t>(b.pitch) * h, 0);
  return b;
}

Rect RandomRect(Rng& rng, int w, int h, int maxW, int maxH) {
  const int rw = rng.In(1, std::min(w, maxW)), rh = rng.In(1, std::min(h, maxH));
  const int x = rng.In(0, w - rw), y = rng.In(0, h - rh);
  return Rect{x, y, x + rw, y + rh};
}

DdKeyRange RandomKey(Rng& rng, int bytes) {
  DdKeyRange k;
  k.on = rng.In(0, 1) == 1;
  k.low = rng.Word() & Top(bytes);
  k.high = rng.In(0, 3) == 0 ? k.low : k.low + static_cast<uint32_t>(rng.In(0, 40));
  return k;
}

TEST(DdRowMoves, TwoSurfacesCopyStretchClipAndKeyAsThePixelOracleAtEveryDepth) {
  Rng rng;
  for (int bytes = 1; bytes <= 4; ++bytes) {
    for (int round = 0; round < 400; ++round) {
      SCOPED_TRACE(testing::Message() << "bytes " << bytes << " round " << round);
      const DdKeyRange key = RandomKey(rng, bytes);
      Buffer from = Make(rng.In(1, 70), rng.In(1, 20), bytes, rng.In(0, 5));
      Buffer to = Make(rng.In(1, 70), rng.In(1, 20), bytes, rng.In(0, 5));
      Paint(from, rng, key);
      Paint(to, rng, key);
      const Rect s = RandomRect(rng, from.width, from.height, 70, 20);
      // Half the rounds 1:1, the others stretched up or down on each axis.
      Rect d;
      if (round % 2 == 0) {
        const int w = std::min(s.right - s.left, to.width), h = std::min(s.bottom - s.top, to.height);
        const int x = rng.In(0, to.width - w), y = rng.In(0, to.height - h);
        d = Rect{x, y, x + w, y + h};
      } else {
        d = RandomRect(rng, to.width, to.height, 70, 20);
      }
      const int dw = d.right - d.left, dh = d.bottom - d.top;
      Rect s2 = s;
      if (round % 2 == 0) s2 = Rect{s.left, s.top, s.left + dw, s.top + dh};
      const Rect clip = rng.In(0, 2) == 0 ? Rect{0, 0, to.width, to.height} : RandomRect(rng, to.width, to.height, 70, 20);
      const std::vector<uint8_t> expected = Oracle(to, d, clip, from.memory, from.pitch, s2, key);
      DdMoveRows(to.Plane(), d, clip, from.Plane(), s2, key);
      ASSERT_EQ(to.memory, expected);
    }
  }
}

TEST(DdRowMoves, OverlapOnOneSurfaceInEveryDirectionReadsTheSourceAsItWas) {
  Rng rng;
  for (int bytes = 1; bytes <= 4; ++bytes) {
    for (int dy = -3; dy <= 3; ++dy) {
      for (int dx = -3; dx <= 3; ++dx) {
        for (int mode = 0; mode < 4; ++mode) {  // 1:1 plain, 1:1 keyed, stretched plain, stretched keyed
          SCOPED_TRACE(testing::Message() << "bytes " << bytes << " dx " << dx << " dy " << dy << " mode " << mode);
          DdKeyRange key = RandomKey(rng, bytes);
          key.on = mode % 2 == 1;
          Buffer b = Make(48, 24, bytes, 2);
          Paint(b, rng, key);
          const Rect s{6, 5, 6 + 34, 5 + 14};
          Rect d{s.left + dx, s.top + dy, s.right + dx, s.bottom + dy};
          if (mode >= 2) d.right += 3, d.bottom -= 2;  // wider and lower: still over the source
          const Rect clip{0, 0, b.width, b.height};
          const std::vector<uint8_t> before = b.memory;
          const std::vector<uint8_t> expected = Oracle(b, d, clip, before, b.pitch, s, key);
          DdMoveRows(b.Plane(), d, clip, b.Plane(), s, key);
          ASSERT_EQ(b.memory, expected);
        }
      }
    }
  }
}

TEST(DdRowMoves, KeysBeyondThePixelWidthAndFillsStayInsideTheClip) {
  // A key starting past the widest 16-bit value keys nothing; a key ending
  // past it keys up to the widest value; an upside-down range keys nothing.
  Buffer from = Make(20, 1, 2, 0), to = Make(20, 1, 2, 0);
  for (int x = 0; x < 20; ++x) Write(from.memory, from.pitch, 2, x, 0, 0xFFF0u + static_cast<uint32_t>(x % 16));
  const Rect r{0, 0, 20, 1};
  DdMoveRows(to.Plane(), r, r, from.Plane(), r, DdKeyRange{true, 0x10000u, 0x20000u});
  EXPECT_EQ(to.memory, from.memory);
  to.memory.assign(to.memory.size(), 0);
  DdMoveRows(to.Plane(), r, r, from.Plane(), r, DdKeyRange{true, 0xFFFEu, 0x1FFFFu});
  for (int x = 0; x < 20; ++x) {
    const uint32_t v = 0xFFF0u + static_cast<uint32_t>(x % 16);
    EXPECT_EQ(Read(to.memory, to.pitch, 2, x, 0), v >= 0xFFFEu ? 0u : v) << x;
  }
  to.memory.assign(to.memory.size(), 0);
  DdMoveRows(to.Plane(), r, r, from.Plane(), r, DdKeyRange{true, 0xFFF5u, 0xFFF4u});
  EXPECT_EQ(to.memory, from.memory);

  Rng rng;
  for (int bytes = 1; bytes <= 4; ++bytes) {
    Buffer b = Make(30, 9, bytes, 3);
    Paint(b, rng, DdKeyRange{});
    const Rect fill{2, 1, 29, 8}, clip{5, 0, 30, 6};
    std::vector<uint8_t> expected = b.memory;
    const uint32_t value = 0xA1B2C3D4u;
    for (int y = 1; y < 6; ++y)
      for (int x = 5; x < 29; ++x) Write(expected, b.pitch, bytes, x, y, value);
    DdFillRows(b.Plane(), fill, clip, value);
    EXPECT_EQ(b.memory, expected) << bytes;
    DdFillRows(b.Plane(), fill, Rect{29, 0, 30, 9}, 0);  // clip beside the rectangle: nothing
    EXPECT_EQ(b.memory, expected) << bytes;
  }
}

// Through the surfaces' own calls, at each depth the stand-in makes.
struct DdBlitScope : ::testing::Test {
  DirectDraw* dd = nullptr;
  void SetUp() override {
    ResetDirectDrawStandIn();
    headless::Reset();
    ASSERT_EQ(DirectDrawCreate(&dd), DD_OK);
  }
  void TearDown() override {
    dd->Release();
    EXPECT_EQ(GetDdCounters().liveSurfaces, 0);
    ResetDirectDrawStandIn();
    headless::Reset();
  }
  DDSurface* Make(int w, int h, int bits) {
    DDSurfaceDesc d;
    d.caps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    d.width = w;
    d.height = h;
    d.hasPixelFormat = true;
    d.pixelFormat = bits == 24 ? DDPixelFormat{DDPF_RGB, 24, 0xFF0000, 0xFF00, 0xFF, 0, 0} : DdFormatOfDepth(bits);
    DDSurface* s = nullptr;
    EXPECT_EQ(dd->CreateSurface(&d, &s), DD_OK);
    return s;
  }
  static std::vector<uint8_t> Bytes(DDSurface* s) {
    return std::vector<uint8_t>(s->memory(), s->memory() + static_cast<size_t>(s->pitch()) * s->height());
  }
  static void Paint(DDSurface* s, Rng& rng, const DdKeyRange& key) {
    DDPixelFormat f;
    s->GetPixelFormat(&f);
    Buffer b{s->width(), s->height(), static_cast<int>(f.bitCount / 8), s->pitch(), Bytes(s)};
    ::Paint(b, rng, key);
    std::memcpy(s->deviceMemory(), b.memory.data(), b.memory.size());
  }
};

TEST_F(DdBlitScope, BltAndBltFastKeyCopyAndStretchAsTheOracleAtEachDepth) {
  Rng rng;
  for (const int bits : {8, 16, 24, 32}) {
    const int bytes = bits / 8;
    DDSurface* from = Make(40, 16, bits);
    DDSurface* to = Make(33, 21, bits);
    for (int round = 0; round < 60; ++round) {
      SCOPED_TRACE(testing::Message() << "bits " << bits << " round " << round);
      DdKeyRange key = RandomKey(rng, bytes);
      ASSERT_EQ(from->SetColorKey(DDCKEY_SRCBLT, key.low, key.high), DD_OK);
      Paint(from, rng, key);
      Paint(to, rng, key);
      const Rect s = RandomRect(rng, 40, 16, 33, 16);
      Buffer dest{33, 21, bytes, to->pitch(), Bytes(to)};
      const std::vector<uint8_t> source = Bytes(from);
      if (round % 2 == 0) {
        const int x = rng.In(0, 33 - (s.right - s.left)), y = rng.In(0, 21 - (s.bottom - s.top));
        const Rect d{x, y, x + s.right - s.left, y + s.bottom - s.top};
        const std::vector<uint8_t> expected = Oracle(dest, d, Rect{0, 0, 33, 21}, source, from->pitch(), s, key);
        ASSERT_EQ(to->BltFast(x, y, from, &s, key.on ? DDBLTFAST_SRCCOLORKEY : 0), DD_OK);
        ASSERT_EQ(Bytes(to), expected);
      } else {
        const Rect d = RandomRect(rng, 33, 21, 33, 21);
        const std::vector<uint8_t> expected = Oracle(dest, d, Rect{0, 0, 33, 21}, source, from->pitch(), s, key);
        ASSERT_EQ(to->Blt(&d, from, &s, DDBLT_WAIT | (key.on ? DDBLT_KEYSRC : 0), nullptr), DD_OK);
        ASSERT_EQ(Bytes(to), expected);
      }
    }
    // A mirrored rectangle is refused and leaves the picture alone.
    const std::vector<uint8_t> before = Bytes(to);
    const Rect mirrored{20, 0, 10, 5};
    EXPECT_EQ(to->Blt(&mirrored, from, nullptr, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
    EXPECT_EQ(Bytes(to), before);
    from->Release();
    to->Release();
  }
}

TEST_F(DdBlitScope, BltFastOntoItselfOverlappingKeepsTheSourceAsItWas) {
  Rng rng;
  DDSurface* s = Make(50, 30, 16);
  const DdKeyRange key{true, 0x1234, 0x1240};
  ASSERT_EQ(s->SetColorKey(DDCKEY_SRCBLT, key.low, key.high), DD_OK);
  for (const int flags : {0, static_cast<int>(DDBLTFAST_SRCCOLORKEY)}) {
    for (const auto& [dx, dy] : {std::pair{4, 3}, std::pair{-4, -3}, std::pair{5, 0}, std::pair{-5, 0},
                                 std::pair{0, 2}, std::pair{0, -2}, std::pair{3, -1}}) {
      Paint(s, rng, key);
      const Rect src{8, 6, 40, 24};
      Buffer b{50, 30, 2, s->pitch(), Bytes(s)};
      const DdKeyRange used{flags != 0, key.low, key.high};
      const std::vector<uint8_t> expected =
          Oracle(b, Rect{8 + dx, 6 + dy, 40 + dx, 24 + dy}, Rect{0, 0, 50, 30}, b.memory, b.pitch, src, used);
      ASSERT_EQ(s->BltFast(8 + dx, 6 + dy, s, &src, static_cast<uint32_t>(flags)), DD_OK);
      EXPECT_EQ(Bytes(s), expected) << dx << "," << dy << " flags " << flags;
    }
  }
  s->Release();
}

}  // namespace
