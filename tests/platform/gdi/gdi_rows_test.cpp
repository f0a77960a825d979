// The straight row loops of the GDI stand-in against its generic roads: the
// pixel-by-pixel ReadRgb/WriteRgb and the generic DIB channel reader must
// give the same bytes for every layout, and a stretched, mirrored, clipped
// transfer the same pixels as a per-pixel nearest-pixel walk written here.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "platform/gdi/dib_bits.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/gdi_pixels.h"
#include "platform/host/headless/headless_control.h"
#include "platform/window/window.h"

namespace {

using namespace plat;
using gdi::RowLayout;

struct Layout {
  const char* name;
  int bits;
  uint32_t masks[3];
  bool palette;
  RowLayout expected;
};

// Every layout with a straight loop, and some that stay generic.
const Layout kLayouts[] = {
    {"palette8", 8, {}, true, RowLayout::Palette8},
    {"grey8", 8, {}, false, RowLayout::Palette8},
    {"rgb555", 16, {0x7C00, 0x3E0, 0x1F}, false, RowLayout::Rgb555},
    {"rgb565", 16, {0xF800, 0x7E0, 0x1F}, false, RowLayout::Rgb565},
    {"bgr24", 24, {}, false, RowLayout::Bgr24},
    {"xrgb8888", 32, {0xFF0000, 0xFF00, 0xFF}, false, RowLayout::Xrgb8888},
    {"rgb444", 16, {0xF00, 0xF0, 0xF}, false, RowLayout::Generic},
    {"bgr565", 16, {0x1F, 0x7E0, 0xF800}, false, RowLayout::Generic},
    {"xbgr8888", 32, {0xFF, 0xFF00, 0xFF0000}, false, RowLayout::Generic},
    {"rgb555in32", 32, {0x7C00, 0x3E0, 0x1F}, false, RowLayout::Generic},
};

struct Store {
  std::vector<uint8_t> memory;
  uint32_t palette[256];
  GdiPixels pixels;
  Store(const Layout& l, int w, int h, std::mt19937& rng) {
    pixels.width = w;
    pixels.height = h;
    pixels.bits = l.bits;
    pixels.pitch = (w * l.bits / 8 + 3) / 4 * 4 + 4;  // a spare word per row
    std::memcpy(pixels.masks, l.masks, sizeof l.masks);
    for (uint32_t& c : palette) c = rng() & 0xFFFFFF;
    pixels.palette = l.palette ? palette : nullptr;
    memory.resize(static_cast<size_t>(pixels.pitch) * h);
    for (uint8_t& b : memory) b = static_cast<uint8_t>(rng());
    pixels.pixels = memory.data();
  }
  Store(const Store& o) : memory(o.memory), pixels(o.pixels) {
    std::memcpy(palette, o.palette, sizeof palette);
    pixels.pixels = memory.data();
    if (o.pixels.palette != nullptr) pixels.palette = palette;
  }
};

TEST(GdiRows, StraightLoopsAgreeWithThePixelRoadOnEveryLayout) {
  std::mt19937 rng(37);
  const int w = 67, h = 5;
  for (const Layout& l : kLayouts) {
    SCOPED_TRACE(l.name);
    const Store store(l, w, h, rng);
    ASSERT_EQ(gdi::RowLayoutOf(store.pixels), l.expected);
    // Reads from every start column, including a row's last pixel alone.
    for (int x = 0; x < w; x += 11) {
      for (int y = 0; y < h; ++y) {
        std::vector<uint32_t> fast(static_cast<size_t>(w - x)), slow(fast.size());
        gdi::ReadRgbRow(store.pixels, l.expected, x, y, w - x, fast.data());
        gdi::ReadRgbRow(store.pixels, RowLayout::Generic, x, y, w - x, slow.data());
        ASSERT_EQ(fast, slow) << x << "," << y;
      }
    }
    // Writes of random colours, runs of one colour and every channel value,
    // leaving the bytes around the row alone.
    std::vector<uint32_t> colours(static_cast<size_t>(w));
    for (int round = 0; round < 8; ++round) {
      for (int i = 0; i < w; ++i) {
        const uint32_t v = round < 4 ? rng() : static_cast<uint32_t>((i + round * w) % 256) * 0x010101u;
        colours[static_cast<size_t>(i)] = round % 2 == 1 && i % 3 != 0 ? colours[static_cast<size_t>(i - 1)] : v;
      }
      Store fast(store), slow(store);
      gdi::WriteRgbRow(fast.pixels, l.expected, 3, round % h, w - 5, colours.data());
      gdi::WriteRgbRow(slow.pixels, RowLayout::Generic, 3, round % h, w - 5, colours.data());
      ASSERT_EQ(fast.memory, slow.memory) << round;
    }
  }
}

TEST(GdiRows, SixteenBitLoopsOverEveryPixelValue) {
  std::mt19937 rng(5);
  for (const Layout& l : {kLayouts[2], kLayouts[3]}) {
    SCOPED_TRACE(l.name);
    Store store(l, 256, 256, rng);
    for (int y = 0; y < 256; ++y) {
      for (int x = 0; x < 256; ++x) {
        const uint16_t v = static_cast<uint16_t>(y * 256 + x);
        std::memcpy(&store.memory[static_cast<size_t>(y) * store.pixels.pitch + 2 * x], &v, 2);
      }
    }
    std::vector<uint32_t> fast(256), slow(256);
    for (int y = 0; y < 256; ++y) {
      gdi::ReadRgbRow(store.pixels, l.expected, 0, y, 256, fast.data());
      gdi::ReadRgbRow(store.pixels, RowLayout::Generic, 0, y, 256, slow.data());
      ASSERT_EQ(fast, slow) << y;
    }
  }
}

// DIB rows of every depth and mask set, in both row orders and at widths
// that need padding.
TEST(GdiRows, DibRowLoopsAgreeWithTheGenericChannelReader) {
  struct Dib {
    const char* name;
    uint16_t bitCount;
    uint32_t compression;
    uint32_t masks[3];
  };
  const Dib kDibs[] = {
      {"1", 1, gdi::kDibRgb, {}},
      {"4", 4, gdi::kDibRgb, {}},
      {"8", 8, gdi::kDibRgb, {}},
      {"16 plain", 16, gdi::kDibRgb, {}},
      {"16 555", 16, gdi::kDibBitfields, {0x7C00, 0x3E0, 0x1F}},
      {"16 565", 16, gdi::kDibBitfields, {0xF800, 0x7E0, 0x1F}},
      {"16 444", 16, gdi::kDibBitfields, {0xF00, 0xF0, 0xF}},
      {"24", 24, gdi::kDibRgb, {}},
      {"32 plain", 32, gdi::kDibRgb, {}},
      {"32 888", 32, gdi::kDibBitfields, {0xFF0000, 0xFF00, 0xFF}},
      {"32 bgr", 32, gdi::kDibBitfields, {0xFF, 0xFF00, 0xFF0000}},
      {"32 10-bit", 32, gdi::kDibBitfields, {0x3FF00000, 0xFFC00, 0x3FF}},
  };
  std::mt19937 rng(11);
  uint8_t palette[256 * 4];
  for (uint8_t& b : palette) b = static_cast<uint8_t>(rng());
  for (const Dib& d : kDibs) {
    for (int32_t width : {1, 2, 3, 31, 33}) {
      for (int32_t height : {3, -3}) {
        SCOPED_TRACE(::testing::Message() << d.name << " " << width << "x" << height);
        gdi::DibRowsInfo info{width, height, d.bitCount, d.compression, {d.masks[0], d.masks[1], d.masks[2]},
                              palette, 200};  // indices 200..255 read black
        const int64_t rowBytes = gdi::DibRowBytes(width, d.bitCount);
        const size_t size = static_cast<size_t>(rowBytes * 3);
        std::vector<uint8_t> bits(size);
        for (uint8_t& b : bits) b = static_cast<uint8_t>(rng());
        const int32_t pitch = width * 3 + 1;
        std::vector<uint8_t> fast(static_cast<size_t>(pitch) * 3, 0xEE), slow(fast);
        ASSERT_EQ(gdi::ConvertDibRowsToRgb24(info, bits.data(), size, fast.data(), pitch), 0);
        ASSERT_EQ(gdi::ConvertDibRowsToRgb24Generic(info, bits.data(), size, slow.data(), pitch), 0);
        ASSERT_EQ(fast, slow);
        // The same colours as 0x00RRGGBB words.
        std::vector<uint8_t> words(static_cast<size_t>(width) * 4 * 3, 0xEE);
        ASSERT_EQ(gdi::ConvertDibRowsToXrgb(info, bits.data(), size, words.data(), width * 4), 0);
        for (int y = 0; y < 3; ++y) {
          for (int x = 0; x < width; ++x) {
            const uint8_t* three = &slow[static_cast<size_t>(y) * pitch + 3 * x];
            const uint8_t* four = &words[(static_cast<size_t>(y) * width + x) * 4];
            ASSERT_TRUE(three[0] == four[0] && three[1] == four[1] && three[2] == four[2] && four[3] == 0) << x << "," << y;
          }
        }
        EXPECT_EQ(gdi::ConvertDibRowsToXrgb(info, bits.data(), size, words.data(), width * 4 - 1), -1);
        // One byte short of the last row is refused by both.
        EXPECT_EQ(gdi::ConvertDibRowsToRgb24(info, bits.data(), size - static_cast<size_t>(rowBytes) +
                                                                    static_cast<size_t>((width * d.bitCount + 7) / 8) - 1,
                                             fast.data(), pitch),
                  -1);
      }
    }
  }
}

LResult Proc(Hwnd wnd, uint32_t m, WParam wp, LParam lp) { return DefWindowProc(wnd, m, wp, lp); }

// What StretchDIBits should leave: each destination pixel inside both
// pictures takes the source pixel at column sx + col * sw / w and row
// top + row * sh / h (truncated), converted pixel by pixel.
void ReferenceStretch(const GdiPixels& dst, int x, int y, int w, int h, const GdiPixels& src, int sx, int top,
                      int sw, int sh) {
  for (int row = 0; row < h; ++row) {
    const int dy = y + row, fy = top + static_cast<int>(static_cast<int64_t>(row) * sh / h);
    if (dy < 0 || dy >= dst.height || fy < 0 || fy >= src.height) continue;
    for (int col = 0; col < w; ++col) {
      const int dx = x + col, fx = sx + static_cast<int>(static_cast<int64_t>(col) * sw / w);
      if (dx < 0 || dx >= dst.width || fx < 0 || fx >= src.width) continue;
      gdi::WriteRgb(dst, dx, dy, gdi::ReadRgb(src, fx, fy));
    }
  }
}

struct StretchCase {
  int x, y, w, h, sx, syBottom, sw, sh;
};

TEST(GdiRows, StretchDIBitsMatchesThePixelWalkOnEveryDestinationLayout) {
  ResetGdiStandIn();
  ResetWindowStandIn();
  headless::Reset();
  ASSERT_TRUE(RegisterClass("rows", Proc));
  std::mt19937 rng(3);
  const int sw = 23, sh = 17, dw = 40, dh = 30;
  // The source: a top-down 5:6:5 DIB (the software road's back picture).
  BitmapInfo info;
  info.header.width = sw;
  info.header.height = -sh;
  info.header.bitCount = 16;
  info.header.compression = BI_BITFIELDS;
  info.colors[0] = 0xF800;
  info.colors[1] = 0x07E0;
  info.colors[2] = 0x001F;
  const int srcPitch = (sw * 2 + 3) / 4 * 4;
  std::vector<uint8_t> bits(static_cast<size_t>(srcPitch) * sh);
  for (uint8_t& b : bits) b = static_cast<uint8_t>(rng());
  GdiPixels src;
  src.pixels = bits.data();
  src.pitch = srcPitch;
  src.width = sw;
  src.height = sh;
  src.bits = 16;
  std::memcpy(src.masks, info.colors, sizeof src.masks);
  const StretchCase cases[] = {
      {0, 0, sw, sh, 0, 0, sw, sh},          // 1:1
      {5, 3, 12, 9, 4, 2, 12, 9},            // 1:1 part
      {-4, -3, sw, sh, 0, 0, sw, sh},        // cut at the top left
      {30, 25, sw, sh, 0, 0, sw, sh},        // cut at the bottom right
      {0, 0, dw, dh, 0, 0, sw, sh},          // enlarged
      {2, 1, 11, 8, 3, 4, 19, 13},           // shrunk
      {0, 0, sw, sh, sw - 1, 0, -sw, sh},    // mirrored
      {-6, 2, 31, 20, 20, 1, -17, 15},       // mirrored, enlarged and cut
      {1, 1, 10, 10, -5, -3, 30, 25},        // source rectangle beyond the DIB
  };
  for (const Layout& l : kLayouts) {
    SCOPED_TRACE(l.name);
    for (const StretchCase& c : cases) {
      SCOPED_TRACE(::testing::Message() << c.x << "," << c.y << " " << c.w << "x" << c.h << " from " << c.sx << ","
                                        << c.syBottom << " " << c.sw << "x" << c.sh);
      Store ours(l, dw, dh, rng);
      Store reference(ours);
      const Hdc dc = CreatePixelsDC(ours.pixels, nullptr, nullptr);
      ASSERT_EQ(StretchDIBits(dc, c.x, c.y, c.w, c.h, c.sx, c.syBottom, c.sw, c.sh, bits.data(), &info,
                              DIB_RGB_COLORS, SRCCOPY),
                c.h);
      DeleteDC(dc);
      ReferenceStretch(reference.pixels, c.x, c.y, c.w, c.h, src, c.sx, sh - c.syBottom - c.sh, c.sw, c.sh);
      ASSERT_EQ(ours.memory, reference.memory);
    }
  }
  ResetGdiStandIn();
  ResetWindowStandIn();
  headless::Reset();
}

// SetDIBitsToDevice onto every destination layout: what converting the
// rows to 24 bits the generic way and writing them pixel by pixel leaves.
TEST(GdiRows, SetDIBitsToDeviceMatchesTheTwentyFourBitRoad) {
  std::mt19937 rng(21);
  const int w = 29, h = 7;
  struct Dib {
    uint16_t bitCount;
    uint32_t compression;
    uint32_t masks[3];
  };
  const Dib kDibs[] = {{8, BI_RGB, {}},
                       {16, BI_RGB, {}},
                       {16, BI_BITFIELDS, {0xF800, 0x7E0, 0x1F}},
                       {24, BI_RGB, {}},
                       {32, BI_RGB, {}},
                       {16, BI_BITFIELDS, {0xF00, 0xF0, 0xF}}};
  for (const Dib& d : kDibs) {
    for (const Layout& l : kLayouts) {
      SCOPED_TRACE(::testing::Message() << d.bitCount << " bits onto " << l.name);
      BitmapInfo info;
      info.header.width = w;
      info.header.height = (rng() & 1) ? h : -h;
      info.header.bitCount = d.bitCount;
      info.header.compression = d.compression;
      for (uint32_t& c : info.colors) c = rng() & 0xFFFFFF;
      if (d.compression == BI_BITFIELDS) std::memcpy(info.colors, d.masks, sizeof d.masks);
      const size_t rowBytes = static_cast<size_t>(gdi::DibRowBytes(w, d.bitCount));
      std::vector<uint8_t> bits(rowBytes * h);
      for (uint8_t& b : bits) b = static_cast<uint8_t>(rng());

      Store ours(l, w + 3, h + 2, rng);
      Store reference(ours);
      const Hdc dc = CreatePixelsDC(ours.pixels, nullptr, nullptr);
      ASSERT_EQ(SetDIBitsToDevice(dc, 1, 1, w, h, 0, 0, 0, h, bits.data(), &info, DIB_RGB_COLORS), h);
      DeleteDC(dc);

      gdi::DibRowsInfo rows{w, info.header.height, d.bitCount, d.compression,
                            {info.colors[0], info.colors[1], info.colors[2]},
                            reinterpret_cast<const uint8_t*>(info.colors), 256};
      const int32_t pitch = w * 3;
      std::vector<uint8_t> rgb(static_cast<size_t>(pitch) * h);
      ASSERT_EQ(gdi::ConvertDibRowsToRgb24Generic(rows, bits.data(), bits.size(), rgb.data(), pitch), 0);
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          const uint8_t* p = &rgb[static_cast<size_t>(y) * pitch + 3 * x];
          gdi::WriteRgb(reference.pixels, 1 + x, 1 + y, p[0] | p[1] << 8 | p[2] << 16);
        }
      }
      ASSERT_EQ(ours.memory, reference.memory);
    }
  }
}

}  // namespace
