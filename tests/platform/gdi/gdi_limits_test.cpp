// The GDI stand-in's transfers at their edges: BitBlt cut to both stores
// against a per-pixel rule written here, StretchDIBits' nearest-pixel
// stretch and mirror with fixed expected pixels, and the size limits of
// SetDIBitsToDevice, GetDIBits and GetObjectA at the limit and one past.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/host/headless/headless_control.h"
#include "platform/window/window.h"

namespace {

using namespace plat;

LResult Proc(Hwnd w, uint32_t m, WParam wp, LParam lp) { return DefWindowProc(w, m, wp, lp); }

BitmapInfo Info32(int w, int h) {
  BitmapInfo info;
  info.header.width = w;
  info.header.height = h;
  info.header.bitCount = 32;
  return info;
}

struct GdiLimits : ::testing::Test {
  Hwnd window = 0;
  Hdc screen = 0;
  std::vector<std::pair<Hdc, HGdiObj>> made;
  void SetUp() override {
    ResetGdiStandIn();
    ResetWindowStandIn();
    headless::Reset();
    ASSERT_TRUE(RegisterClass("gdil", Proc));
    window = CreateWindowEx(0, "gdil", "gdil", WS_POPUP | WS_VISIBLE, 0, 0, 8, 8);
    screen = GetDC(window);
    ASSERT_NE(screen, 0u);
  }
  void TearDown() override {
    for (auto [dc, bitmap] : made) {
      DeleteDC(dc);
      EXPECT_TRUE(DeleteObject(bitmap));
    }
    ReleaseDC(window, screen);
    EXPECT_EQ(GetGdiCounters().liveDCs, 0);
    EXPECT_EQ(GetGdiCounters().liveObjects, 0);
    ResetGdiStandIn();
    ResetWindowStandIn();
    headless::Reset();
  }
  // A memory DC over a top-down 32-bit DIB section; its pixels.
  Hdc Store(int w, int h, uint32_t** pixels) {
    const BitmapInfo info = Info32(w, -h);
    const Hdc dc = CreateCompatibleDC(screen);
    void* bits = nullptr;
    const HGdiObj bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits);
    EXPECT_NE(bitmap, 0u);
    SelectObject(dc, bitmap);
    made.push_back({dc, bitmap});
    *pixels = static_cast<uint32_t*>(bits);
    return dc;
  }
};

TEST_F(GdiLimits, BitBltIsCutToBothStores) {
  constexpr int kDw = 7, kDh = 5, kSw = 4, kSh = 3;
  uint32_t* d = nullptr;
  uint32_t* s = nullptr;
  const Hdc dst = Store(kDw, kDh, &d);
  const Hdc src = Store(kSw, kSh, &s);
  for (int i = 0; i < kSw * kSh; ++i) s[i] = 0x010203u * static_cast<uint32_t>(i + 1);
  // Places at, inside and one past every edge of either store.
  const int xs[] = {-5, -1, 0, 1, 3, 6, 7};
  const int sxs[] = {-2, -1, 0, 1, 3, 4};
  const int sizes[] = {0, 1, 3, 4, 8};
  int cases = 0;
  for (int x : xs) {
    for (int sx : sxs) {
      for (int w : sizes) {
        const int y = x / 2, sy = sx / 2, h = w / 2 + 1;
        for (int i = 0; i < kDw * kDh; ++i) d[i] = 0xEEEEEE;
        ASSERT_TRUE(BitBlt(dst, x, y, w, h, src, sx, sy, SRCCOPY));
        for (int dy = 0; dy < kDh; ++dy) {
          for (int dx = 0; dx < kDw; ++dx) {
            // A destination pixel is written when it lies in the asked
            // rectangle and its source pixel lies inside the source.
            const int fx = sx + dx - x, fy = sy + dy - y;
            const bool written = dx >= x && dx < x + w && dy >= y && dy < y + h && fx >= 0 && fx < kSw && fy >= 0 &&
                                 fy < kSh;
            const uint32_t want = written ? s[fy * kSw + fx] : 0xEEEEEEu;
            ASSERT_EQ(d[dy * kDw + dx] & 0xFFFFFF, want)
                << "x " << x << " y " << y << " sx " << sx << " sy " << sy << " w " << w << " at " << dx << "," << dy;
          }
        }
        ++cases;
      }
    }
  }
  EXPECT_EQ(cases, 7 * 6 * 5);
  EXPECT_FALSE(BitBlt(dst, 0, 0, 1, 1, src, 0, 0, 0x00EE0086));  // other raster operations
  EXPECT_FALSE(BitBlt(dst, 0, 0, 1, 1, 12345, 0, 0, SRCCOPY));
  FailNextBitBlt();
  EXPECT_FALSE(BitBlt(dst, 0, 0, 1, 1, src, 0, 0, SRCCOPY));
  EXPECT_TRUE(BitBlt(dst, 0, 0, 1, 1, src, 0, 0, SRCCOPY));
}

TEST_F(GdiLimits, StretchDIBitsEnlargesMirrorsAndClips) {
  uint32_t* d = nullptr;
  const Hdc dst = Store(8, 2, &d);
  const uint32_t row[4] = {1, 2, 3, 4};
  const BitmapInfo info = Info32(4, 1);
  auto run = [&](int x, int w, int sx, int sw) {
    for (int i = 0; i < 16; ++i) d[i] = 0xEE;
    return StretchDIBits(dst, x, 0, w, 1, sx, 0, sw, 1, row, &info, DIB_RGB_COLORS, SRCCOPY);
  };
  // Colour bits only: a written pixel's spare bits are set.
  auto first = [&](int n) {
    std::vector<uint32_t> v(d, d + n);
    for (uint32_t& p : v) p &= 0xFFFFFF;
    return v;
  };
  ASSERT_EQ(run(0, 8, 0, 4), 1);
  EXPECT_EQ(first(8), (std::vector<uint32_t>{1, 1, 2, 2, 3, 3, 4, 4}));
  ASSERT_EQ(run(0, 3, 0, 4), 1);  // shrunk: columns 0, 1, 2 of 4 * col / 3
  EXPECT_EQ(first(4), (std::vector<uint32_t>{1, 2, 3, 0xEE}));
  ASSERT_EQ(run(0, 4, 3, -4), 1);  // mirrored from column 3 leftward
  EXPECT_EQ(first(4), (std::vector<uint32_t>{4, 3, 2, 1}));
  ASSERT_EQ(run(-2, 4, 0, 4), 1);  // the left two cut off
  EXPECT_EQ(first(3), (std::vector<uint32_t>{3, 4, 0xEE}));
  ASSERT_EQ(run(7, 4, 0, 4), 1);  // only the first reaches the last column
  EXPECT_EQ(first(9), (std::vector<uint32_t>{0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 1, 0xEE}))
      << "nothing wraps onto the next row";
  ASSERT_EQ(run(0, 4, 2, 4), 1);  // source columns past the DIB are skipped
  EXPECT_EQ(first(4), (std::vector<uint32_t>{3, 4, 0xEE, 0xEE}));
  // Nothing to copy: refused.
  EXPECT_EQ(run(0, 0, 0, 4), 0);
  EXPECT_EQ(run(0, 4, 0, 0), 0);
  EXPECT_EQ(StretchDIBits(dst, 0, 0, 4, 1, 0, 0, 4, 0, row, &info, DIB_RGB_COLORS, SRCCOPY), 0);
  EXPECT_EQ(StretchDIBits(dst, 0, 0, 4, 1, 0, 0, 4, 1, row, &info, DIB_RGB_COLORS, 0x00EE0086), 0);
  BitmapInfo bad = info;
  bad.header.height = 0;
  EXPECT_EQ(StretchDIBits(dst, 0, 0, 4, 1, 0, 0, 4, 1, row, &bad, DIB_RGB_COLORS, SRCCOPY), 0);
  bad = info;
  bad.header.bitCount = 12;
  EXPECT_EQ(StretchDIBits(dst, 0, 0, 4, 1, 0, 0, 4, 1, row, &bad, DIB_RGB_COLORS, SRCCOPY), 0);
}

TEST_F(GdiLimits, SetDIBitsToDeviceSizesAtTheLimitAndOnePast) {
  uint32_t* d = nullptr;
  const Hdc dst = Store(4, 4, &d);
  // A 24-bit DIB one row high and 65,535 wide: taken; 65,536: refused.
  std::vector<uint8_t> wide((65536 * 3 + 3) / 4 * 4, 0x40);
  BitmapInfo info;
  info.header.bitCount = 24;
  info.header.height = 1;
  info.header.width = 65535;
  EXPECT_EQ(SetDIBitsToDevice(dst, 0, 0, 4, 1, 0, 0, 0, 1, wide.data(), &info, DIB_RGB_COLORS), 1);
  EXPECT_EQ(d[0] & 0xFFFFFF, 0x404040u);
  info.header.width = 65536;
  EXPECT_EQ(SetDIBitsToDevice(dst, 0, 0, 4, 1, 0, 0, 0, 1, wide.data(), &info, DIB_RGB_COLORS), 0);
  // 65,535 rows of one pixel: taken; 65,536: refused.
  std::vector<uint8_t> tall(65536 * 4, 0x20);
  info.header.width = 1;
  info.header.height = 65535;
  EXPECT_EQ(SetDIBitsToDevice(dst, 0, 0, 1, 1, 0, 0, 0, 65535, tall.data(), &info, DIB_RGB_COLORS), 65535);
  info.header.height = -65536;
  EXPECT_EQ(SetDIBitsToDevice(dst, 0, 0, 1, 1, 0, 0, 0, 65536, tall.data(), &info, DIB_RGB_COLORS), 0);
  // The destination size: 65,535 taken, 65,536 refused.
  info.header.height = 2;
  EXPECT_EQ(SetDIBitsToDevice(dst, 0, 0, 65535, 1, 0, 0, 0, 2, tall.data(), &info, DIB_RGB_COLORS), 2);
  EXPECT_EQ(SetDIBitsToDevice(dst, 0, 0, 65536, 1, 0, 0, 0, 2, tall.data(), &info, DIB_RGB_COLORS), 0);
  EXPECT_EQ(SetDIBitsToDevice(dst, 0, 0, 1, 65536, 0, 0, 0, 2, tall.data(), &info, DIB_RGB_COLORS), 0);
  // Lines: all of them, not one fewer; scans start at 0.
  EXPECT_EQ(SetDIBitsToDevice(dst, 0, 0, 1, 1, 0, 0, 0, 1, tall.data(), &info, DIB_RGB_COLORS), 0);
  EXPECT_EQ(SetDIBitsToDevice(dst, 0, 0, 1, 1, 0, 0, 1, 2, tall.data(), &info, DIB_RGB_COLORS), 0);
  EXPECT_EQ(SetDIBitsToDevice(dst, 0, 0, 1, 1, 0, 0, 0, 2, nullptr, &info, DIB_RGB_COLORS), 0);
  FailNextSetDIBitsToDevice();
  EXPECT_EQ(SetDIBitsToDevice(dst, 0, 0, 1, 1, 0, 0, 0, 2, tall.data(), &info, DIB_RGB_COLORS), 0);
  EXPECT_EQ(SetDIBitsToDevice(dst, 0, 0, 1, 1, 0, 0, 0, 2, tall.data(), &info, DIB_RGB_COLORS), 2);
}

TEST_F(GdiLimits, GetDIBitsAndGetObjectAtTheirLimits) {
  uint32_t* d = nullptr;
  const Hdc dc = Store(2, 3, &d);
  const HGdiObj bitmap = made.back().second;
  for (int i = 0; i < 6; ++i) d[i] = static_cast<uint32_t>(0x10 * (i + 1));  // rows top first
  uint32_t out[6] = {};
  BitmapInfo info = Info32(2, -3);
  // Scans count from the bottom: the last scan alone, then past the end.
  EXPECT_EQ(GetDIBits(dc, bitmap, 0, 3, out, &info, DIB_RGB_COLORS), 3);
  EXPECT_EQ(out[0] & 0xFFFFFF, 0x10u);
  EXPECT_EQ(out[5] & 0xFFFFFF, 0x60u);
  std::memset(out, 0, sizeof out);
  EXPECT_EQ(GetDIBits(dc, bitmap, 2, 5, out, &info, DIB_RGB_COLORS), 1);
  EXPECT_EQ(out[0] & 0xFFFFFF, 0x10u) << "scan 2 from the bottom is the top row";
  EXPECT_EQ(out[2], 0u);
  EXPECT_EQ(GetDIBits(dc, bitmap, 3, 1, out, &info, DIB_RGB_COLORS), 0);
  info = Info32(2, 4);
  EXPECT_EQ(GetDIBits(dc, bitmap, 0, 3, out, &info, DIB_RGB_COLORS), 0) << "another size";
  // GetObjectA: a buffer of the record's size, not one byte less.
  BitmapObject o;
  EXPECT_EQ(GetObjectA(bitmap, sizeof o, &o), static_cast<int>(sizeof o));
  EXPECT_EQ(o.width, 2);
  EXPECT_EQ(o.height, 3);
  EXPECT_EQ(o.widthBytes, 8);
  EXPECT_EQ(o.bitsPixel, 32);
  EXPECT_EQ(o.bits, d);
  EXPECT_EQ(GetObjectA(bitmap, sizeof o - 1, &o), 0);
  EXPECT_EQ(GetObjectA(bitmap + 1, sizeof o, &o), 0);
  // A DIB section's own refusals.
  void* bits = nullptr;
  BitmapInfo zero = Info32(0, 2);
  EXPECT_EQ(CreateDIBSection(dc, &zero, DIB_RGB_COLORS, &bits), 0u);
  zero = Info32(2, 0);
  EXPECT_EQ(CreateDIBSection(dc, &zero, DIB_RGB_COLORS, &bits), 0u);
  FailNextCreateDIBSection();
  BitmapInfo ok = Info32(2, 2);
  EXPECT_EQ(CreateDIBSection(dc, &ok, DIB_RGB_COLORS, &bits), 0u);
}

}  // namespace
