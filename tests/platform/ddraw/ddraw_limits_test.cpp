// The DirectDraw stand-in's rules on both of its roads and at each limit:
// colour keys through Blt and BltFast on 8-, 16- and 32-bit surfaces, the
// key range's two ends, rectangles at the surface edge and one past, the
// stretch of Blt against a nearest-pixel formula written here, size,
// palette and video memory limits, and refusals checked for their code.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <utility>
#include <vector>

#include "ddraw_test_support.h"
#include "platform/ddraw/ddraw.h"
#include "platform/ddraw/ddraw_state.h"
#include "platform/gdi/gdi.h"
#include "platform/host/headless/headless_control.h"
#include "platform/window/window.h"

namespace {

using namespace plat;

struct DdLimits : ::testing::Test {
  Hwnd window = 0;
  DirectDraw* dd = nullptr;
  std::vector<DDSurface*> made;
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(ddtest::OpenDisplay("ddl", 100, 50, 64, 32, &window, &dd));
    ASSERT_EQ(dd->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
  }
  void TearDown() override {
    for (DDSurface* s : made) s->Release();
    dd->Release();
    EXPECT_EQ(GetDdCounters().liveSurfaces, 0);
    ddtest::ResetDisplayStandIns();
  }
  // A system-memory surface of the given depth (0: the display's).
  DDSurface* Make(int w, int h, int bits, uint32_t memory = DDSCAPS_SYSTEMMEMORY) {
    DDSurfaceDesc d;
    d.caps = DDSCAPS_OFFSCREENPLAIN | memory;
    d.width = w;
    d.height = h;
    if (bits != 0) {
      d.hasPixelFormat = true;
      d.pixelFormat = DdFormatOfDepth(bits);
    }
    DDSurface* s = nullptr;
    EXPECT_EQ(dd->CreateSurface(&d, &s), DD_OK) << w << "x" << h << " " << bits;
    if (s != nullptr) made.push_back(s);
    return s;
  }
  static int Bpp(DDSurface* s) {
    DDPixelFormat f;
    s->GetPixelFormat(&f);
    return static_cast<int>(f.bitCount / 8);
  }
  static uint32_t Get(DDSurface* s, int x, int y) {
    uint32_t v = 0;
    std::memcpy(&v, s->memory() + y * s->pitch() + x * Bpp(s), static_cast<size_t>(Bpp(s)));
    return v;
  }
  static void Set(DDSurface* s, int x, int y, uint32_t v) {
    int32_t pitch = 0;
    uint8_t* p = nullptr;
    ASSERT_EQ(s->Lock(nullptr, &pitch, &p, DDLOCK_WAIT), DD_OK);
    std::memcpy(p + y * pitch + x * Bpp(s), &v, static_cast<size_t>(Bpp(s)));
    ASSERT_EQ(s->Unlock(nullptr), DD_OK);
  }
  static void Fill(DDSurface* s, uint32_t v) {
    DDBltFx fx;
    fx.fillColor = v;
    ASSERT_EQ(s->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK);
  }
};

struct Depth {
  int bits;
  uint32_t key;    // the key range is key .. key + 1
  uint32_t fill;   // what the target holds before
  uint32_t widest; // the largest value of the depth
};
const Depth kDepths[] = {{8, 0x80, 0x11, 0xFF}, {16, 0x1234, 0x4321, 0xFFFF}, {32, 0x00ABCDEF, 0x00102030, 0xFFFFFFFF}};

TEST_F(DdLimits, ColourKeysHoldOnBothRoadsAtEveryDepth) {
  for (const Depth& d : kDepths) {
    SCOPED_TRACE(d.bits);
    // Values below, at both ends of, and above the key range; 0 and the widest.
    const uint32_t values[] = {d.key - 1, d.key, d.key + 1, d.key + 2, 0, d.widest};
    const bool keyed[] = {false, true, true, false, false, false};
    DDSurface* src = Make(6, 1, d.bits);
    for (int x = 0; x < 6; ++x) Set(src, x, 0, values[x]);
    ASSERT_EQ(src->SetColorKey(DDCKEY_SRCBLT, d.key, d.key + 1), DD_OK);
    DDSurface* blt = Make(6, 1, d.bits);
    DDSurface* fast = Make(6, 1, d.bits);
    Fill(blt, d.fill);
    Fill(fast, d.fill);
    ASSERT_EQ(blt->Blt(nullptr, src, nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr), DD_OK);
    ASSERT_EQ(fast->BltFast(0, 0, src, nullptr, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT), DD_OK);
    for (int x = 0; x < 6; ++x) {
      const uint32_t want = keyed[x] ? d.fill : values[x];
      EXPECT_EQ(Get(blt, x, 0), want) << "Blt " << x;
      EXPECT_EQ(Get(fast, x, 0), want) << "BltFast " << x;
    }
    // Without the key flag both roads copy every pixel.
    Fill(blt, d.fill);
    Fill(fast, d.fill);
    ASSERT_EQ(blt->Blt(nullptr, src, nullptr, 0, nullptr), DD_OK);
    ASSERT_EQ(fast->BltFast(0, 0, src, nullptr, 0), DD_OK);
    for (int x = 0; x < 6; ++x) {
      EXPECT_EQ(Get(blt, x, 0), values[x]) << "Blt " << x;
      EXPECT_EQ(Get(fast, x, 0), values[x]) << "BltFast " << x;
    }
    // With the flag but no key on the source, likewise.
    DDSurface* plain = Make(6, 1, d.bits);
    for (int x = 0; x < 6; ++x) Set(plain, x, 0, values[x]);
    Fill(blt, d.fill);
    Fill(fast, d.fill);
    ASSERT_EQ(blt->Blt(nullptr, plain, nullptr, DDBLT_KEYSRC, nullptr), DD_OK);
    ASSERT_EQ(fast->BltFast(0, 0, plain, nullptr, DDBLTFAST_SRCCOLORKEY), DD_OK);
    for (int x = 0; x < 6; ++x) {
      EXPECT_EQ(Get(blt, x, 0), values[x]);
      EXPECT_EQ(Get(fast, x, 0), values[x]);
    }
  }
}

TEST_F(DdLimits, FillsAndCopiesTouchOnlyTheirPixelsBytes) {
  for (const Depth& d : kDepths) {
    SCOPED_TRACE(d.bits);
    DDSurface* s = Make(4, 2, d.bits);
    Fill(s, d.fill);
    DDBltFx fx;
    fx.fillColor = 0xFFFFFFFF;
    const Rect one{1, 0, 2, 1};
    ASSERT_EQ(s->Blt(&one, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 4; ++x) EXPECT_EQ(Get(s, x, y), x == 1 && y == 0 ? d.widest : d.fill) << x << "," << y;
    DDSurface* src = Make(1, 1, d.bits);
    Set(src, 0, 0, d.key);
    ASSERT_EQ(s->BltFast(3, 1, src, nullptr, 0), DD_OK);
    EXPECT_EQ(Get(s, 3, 1), d.key);
    EXPECT_EQ(Get(s, 2, 1), d.fill);
    EXPECT_EQ(Get(s, 3, 0), d.fill);
  }
}

TEST_F(DdLimits, RectanglesAtTheEdgeAndOnePast) {
  DDSurface* dst = Make(8, 6, 32);
  DDSurface* src = Make(3, 2, 32);
  // Blt: a destination and a source that reach the far edges exactly.
  EXPECT_EQ(dst->Blt(nullptr, src, nullptr, 0, nullptr), DD_OK);
  const Rect full{0, 0, 8, 6}, wide{0, 0, 9, 6}, tall{0, 0, 8, 7}, left{-1, 0, 8, 6}, up{0, -1, 8, 6};
  const Rect empty{2, 2, 2, 4}, flat{2, 2, 4, 2}, inverted{4, 2, 2, 4};
  EXPECT_EQ(dst->Blt(&full, src, nullptr, 0, nullptr), DD_OK);
  for (const Rect& r : {wide, tall, left, up, empty, flat, inverted}) {
    EXPECT_EQ(dst->Blt(&r, src, nullptr, 0, nullptr), DDERR_INVALIDRECT) << r.left << r.top << r.right << r.bottom;
  }
  const Rect srcFull{0, 0, 3, 2}, srcWide{0, 0, 4, 2}, srcTall{0, 0, 3, 3}, srcLeft{-1, 0, 3, 2};
  EXPECT_EQ(dst->Blt(nullptr, src, &srcFull, 0, nullptr), DD_OK);
  for (const Rect& r : {srcWide, srcTall, srcLeft}) EXPECT_EQ(dst->Blt(nullptr, src, &r, 0, nullptr), DDERR_INVALIDRECT);
  // BltFast: the last place the source fits, and one further on each axis.
  EXPECT_EQ(dst->BltFast(5, 4, src, nullptr, 0), DD_OK);
  EXPECT_EQ(dst->BltFast(6, 4, src, nullptr, 0), DDERR_INVALIDRECT);
  EXPECT_EQ(dst->BltFast(5, 5, src, nullptr, 0), DDERR_INVALIDRECT);
  EXPECT_EQ(dst->BltFast(-1, 0, src, nullptr, 0), DDERR_INVALIDRECT);
  EXPECT_EQ(dst->BltFast(0, -1, src, nullptr, 0), DDERR_INVALIDRECT);
  EXPECT_EQ(dst->BltFast(0, 0, src, &srcFull, 0), DD_OK);
  EXPECT_EQ(dst->BltFast(0, 0, src, &srcWide, 0), DDERR_INVALIDRECT);
  EXPECT_EQ(dst->BltFast(0, 0, src, &srcTall, 0), DDERR_INVALIDRECT);
  // Lock: the whole surface and one pixel past.
  int32_t pitch = 0;
  uint8_t* p = nullptr;
  EXPECT_EQ(dst->Lock(&full, &pitch, &p, 0), DD_OK);
  EXPECT_EQ(p, dst->memory());
  EXPECT_EQ(dst->Unlock(nullptr), DD_OK);
  const Rect corner{7, 5, 8, 6};
  EXPECT_EQ(dst->Lock(&corner, &pitch, &p, 0), DD_OK);
  EXPECT_EQ(p, dst->memory() + 5 * pitch + 7 * 4);
  EXPECT_EQ(dst->Unlock(nullptr), DD_OK);
  EXPECT_EQ(dst->Lock(&wide, &pitch, &p, 0), DDERR_INVALIDRECT);
  EXPECT_EQ(dst->Lock(&tall, &pitch, &p, 0), DDERR_INVALIDRECT);
  EXPECT_EQ(dst->Unlock(nullptr), DDERR_NOTLOCKED);
}

TEST_F(DdLimits, BltStretchesByTheNearestSourcePixel) {
  DDSurface* src = Make(5, 3, 32);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) Set(src, x, y, static_cast<uint32_t>(0x100 * y + x + 1));
  DDSurface* dst = Make(13, 9, 32);
  struct Case {
    Rect to, from;
  };
  const Case cases[] = {{{0, 0, 13, 9}, {0, 0, 5, 3}},  // enlarged, uneven factors
                        {{1, 2, 3, 3}, {0, 0, 5, 3}},   // shrunk
                        {{0, 0, 4, 6}, {1, 1, 5, 3}},   // a part of the source
                        {{2, 1, 12, 2}, {4, 0, 5, 3}}}; // one column spread
  for (const Case& c : cases) {
    Fill(dst, 0xEEEEEEEE);
    ASSERT_EQ(dst->Blt(&c.to, src, &c.from, 0, nullptr), DD_OK);
    const int dw = c.to.right - c.to.left, dh = c.to.bottom - c.to.top;
    const int sw = c.from.right - c.from.left, sh = c.from.bottom - c.from.top;
    for (int y = 0; y < 9; ++y) {
      for (int x = 0; x < 13; ++x) {
        uint32_t want = 0xEEEEEEEE;
        if (x >= c.to.left && x < c.to.right && y >= c.to.top && y < c.to.bottom) {
          // Pixel (x, y) takes source pixel floor((x - left) * sw / dw).
          const int sx = c.from.left + (x - c.to.left) * sw / dw;
          const int sy = c.from.top + (y - c.to.top) * sh / dh;
          want = static_cast<uint32_t>(0x100 * sy + sx + 1);
        }
        ASSERT_EQ(Get(dst, x, y), want) << x << "," << y << " case " << c.to.right;
      }
    }
  }
}

TEST_F(DdLimits, SizePaletteAndVideoMemoryLimits) {
  DDSurfaceDesc d;
  d.caps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
  d.hasPixelFormat = true;
  d.pixelFormat = DdFormatOfDepth(8);
  DDSurface* s = nullptr;
  d.width = 16384;
  d.height = 1;
  ASSERT_EQ(dd->CreateSurface(&d, &s), DD_OK);
  made.push_back(s);
  d.width = 1;
  d.height = 16384;
  ASSERT_EQ(dd->CreateSurface(&d, &s), DD_OK);
  made.push_back(s);
  for (auto [w, h] : std::initializer_list<std::pair<int, int>>{{16385, 1}, {1, 16385}, {0, 1}, {1, 0}, {-1, 4}}) {
    d.width = w;
    d.height = h;
    EXPECT_EQ(dd->CreateSurface(&d, &s), DDERR_INVALIDPARAMS) << w << "x" << h;
    EXPECT_EQ(s, nullptr);
  }
  d.width = d.height = 4;
  d.pixelFormat.bitCount = 12;
  EXPECT_EQ(dd->CreateSurface(&d, &s), DDERR_INVALIDPIXELFORMAT);

  // Palette entries: first + count up to 256.
  uint32_t entries[256] = {};
  for (uint32_t i = 0; i < 256; ++i) entries[i] = 0xFF000000u | i * 0x010101u;
  DDPalette* pal = nullptr;
  ASSERT_EQ(dd->CreatePalette(DDPCAPS_8BIT, entries, &pal), DD_OK);
  uint32_t out[256] = {};
  EXPECT_EQ(pal->GetEntries(0, 256, out), DD_OK);
  EXPECT_EQ(out[255], 0xFFFFFFu) << "the top byte is not kept";
  EXPECT_EQ(pal->SetEntries(255, 1, entries + 7), DD_OK);
  EXPECT_EQ(pal->SetEntries(256, 0, entries), DD_OK);
  EXPECT_EQ(pal->SetEntries(0, 257, entries), DDERR_INVALIDPARAMS);
  EXPECT_EQ(pal->SetEntries(1, 256, entries), DDERR_INVALIDPARAMS);
  EXPECT_EQ(pal->SetEntries(257, 0, entries), DDERR_INVALIDPARAMS);
  EXPECT_EQ(pal->GetEntries(255, 2, out), DDERR_INVALIDPARAMS);
  EXPECT_EQ(pal->GetEntries(256, 0, out), DD_OK);
  EXPECT_EQ(pal->GetEntries(255, 1, out), DD_OK);
  EXPECT_EQ(out[0], 0x070707u) << "the one entry set again";
  pal->Release();
  EXPECT_EQ(dd->CreatePalette(0, entries, &pal), DDERR_INVALIDPARAMS);

  // Video memory: a surface that takes exactly what is left goes there; one
  // byte more falls back to system memory, or is refused when video memory
  // was asked for.
  uint32_t total = 0, free = 0;
  ASSERT_EQ(dd->GetAvailableVidMem(0, &total, &free), DD_OK);
  EXPECT_EQ(total, kDdVideoMemoryBytes);
  EXPECT_EQ(free, total);
  DDSurfaceDesc v;
  v.caps = DDSCAPS_OFFSCREENPLAIN;
  v.hasPixelFormat = true;
  v.pixelFormat = DdFormatOfDepth(32);
  v.width = 4096;
  v.height = static_cast<int32_t>(kDdVideoMemoryBytes / (4096 * 4)) - 1;
  DDSurface* big = nullptr;
  ASSERT_EQ(dd->CreateSurface(&v, &big), DD_OK);
  made.push_back(big);
  dd->GetAvailableVidMem(0, &total, &free);
  ASSERT_EQ(free, 4096u * 4);
  v.width = 1025;  // 4,100 bytes a row: 4 more than is left
  v.height = 4;
  DDSurface* over = nullptr;
  v.caps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY;
  EXPECT_EQ(dd->CreateSurface(&v, &over), DDERR_OUTOFVIDEOMEMORY);
  v.caps = DDSCAPS_OFFSCREENPLAIN;
  ASSERT_EQ(dd->CreateSurface(&v, &over), DD_OK);
  made.push_back(over);
  uint32_t caps = 0;
  over->GetCaps(&caps);
  EXPECT_TRUE(caps & DDSCAPS_SYSTEMMEMORY);
  EXPECT_FALSE(caps & DDSCAPS_VIDEOMEMORY);
  v.width = 1024;  // exactly what is left
  DDSurface* exact = nullptr;
  v.caps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY;
  ASSERT_EQ(dd->CreateSurface(&v, &exact), DD_OK);
  made.push_back(exact);
  exact->GetCaps(&caps);
  EXPECT_TRUE(caps & DDSCAPS_VIDEOMEMORY);
  dd->GetAvailableVidMem(0, &total, &free);
  EXPECT_EQ(free, 0u);
  // Released, its bytes come back.
  made.pop_back();
  exact->Release();
  dd->GetAvailableVidMem(0, &total, &free);
  EXPECT_EQ(free, 4096u * 4);
}

TEST_F(DdLimits, PitchesAndOnePrimaryPerObject) {
  // Rows of RGB surfaces are padded to 4 bytes; YV12 luma rows to 8.
  for (int bits : {8, 16, 32}) {
    for (int w = 1; w <= 9; ++w) {
      DDSurface* s = Make(w, 2, bits);
      EXPECT_EQ(s->pitch(), (w * bits / 8 + 3) / 4 * 4) << bits << " " << w;
    }
  }
  DDSurfaceDesc d;
  d.caps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
  d.height = 4;
  d.hasPixelFormat = true;
  d.pixelFormat.flags = DDPF_FOURCC;
  d.pixelFormat.fourCC = DdFourCC('Y', 'V', '1', '2');
  for (auto [w, pitch] : std::initializer_list<std::pair<int, int>>{{20, 24}, {36, 40}, {32, 32}, {2, 8}}) {
    d.width = w;
    DDSurface* s = nullptr;
    ASSERT_EQ(dd->CreateSurface(&d, &s), DD_OK) << w;
    made.push_back(s);
    DDSurfaceDesc out;
    ASSERT_EQ(s->GetSurfaceDesc(&out), DD_OK);
    EXPECT_EQ(out.pitch, pitch) << w;
  }
  // One primary per object, and a new one once it is released.
  DDSurfaceDesc p;
  p.caps = DDSCAPS_PRIMARYSURFACE;
  DDSurface* primary = nullptr;
  ASSERT_EQ(dd->CreateSurface(&p, &primary), DD_OK);
  DDSurface* second = nullptr;
  EXPECT_EQ(dd->CreateSurface(&p, &second), DDERR_GENERIC);
  EXPECT_EQ(second, nullptr);
  primary->Release();
  ASSERT_EQ(dd->CreateSurface(&p, &primary), DD_OK);
  primary->Release();
}

TEST_F(DdLimits, BlankAndScanLineAtTheLastVisibleLine) {
  int w = 0, h = 0, bits = 0, rate = 0;
  ASSERT_EQ(dd->GetDisplayMode(&w, &h, &bits, &rate), DD_OK);
  const uint64_t period = 1000000u / 60;  // the desktop reports no rate: 60 Hz
  const uint64_t lines = static_cast<uint64_t>(h) + 45;
  headless::SetClockStep(0);
  // The first microsecond of a line, well after the clock's start.
  const auto at = [&](uint64_t line) { return 1000 * period + (line * period + lines - 1) / lines; };
  uint32_t line = 0;
  int32_t blank = -1;
  headless::SetClock(at(static_cast<uint64_t>(h) - 1));
  EXPECT_EQ(dd->GetScanLine(&line), DD_OK);
  EXPECT_EQ(line, static_cast<uint32_t>(h - 1));
  ASSERT_EQ(dd->GetVerticalBlankStatus(&blank), DD_OK);
  EXPECT_EQ(blank, 0);
  headless::SetClock(at(static_cast<uint64_t>(h)));
  EXPECT_EQ(dd->GetScanLine(&line), DDERR_VERTICALBLANKINPROGRESS);
  EXPECT_EQ(line, static_cast<uint32_t>(h));
  ASSERT_EQ(dd->GetVerticalBlankStatus(&blank), DD_OK);
  EXPECT_EQ(blank, 1);
  headless::SetClock(at(lines - 1));
  EXPECT_EQ(dd->GetScanLine(&line), DDERR_VERTICALBLANKINPROGRESS);
  EXPECT_EQ(line, static_cast<uint32_t>(lines - 1));
  headless::SetClock(at(lines));  // the next frame's first line
  EXPECT_EQ(dd->GetScanLine(&line), DD_OK);
  EXPECT_EQ(line, 0u);
  headless::SetClockStep(headless::kDefaultClockStep);
}

TEST_F(DdLimits, ModesChainsZBuffersAndPalettes) {
  // A display mode needs the exclusive level.
  EXPECT_EQ(dd->SetDisplayMode(640, 480, 32, 0, 0), DDERR_NOEXCLUSIVEMODE);
  ASSERT_EQ(dd->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
  EXPECT_EQ(dd->SetDisplayMode(640, 480, 24, 0, 0), DDERR_INVALIDPARAMS);
  ASSERT_EQ(dd->SetDisplayMode(640, 480, 32, 0, 0), DD_OK);
  // A flip chain in video memory takes room for each of its buffers.
  uint32_t total = 0, free = 0;
  DDSurfaceDesc d;
  d.caps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
  d.backBufferCount = 1;
  DDSurface* primary = nullptr;
  ASSERT_EQ(dd->CreateSurface(&d, &primary), DD_OK);
  dd->GetAvailableVidMem(0, &total, &free);
  EXPECT_EQ(total - free, 2u * 640 * 4 * 480);
  // A z-buffer must match the surface in both sizes.
  DDSurfaceDesc z;
  z.caps = DDSCAPS_ZBUFFER | DDSCAPS_SYSTEMMEMORY;
  z.width = 640;
  z.height = 479;
  DDSurface* shortZ = nullptr;
  ASSERT_EQ(dd->CreateSurface(&z, &shortZ), DD_OK);
  made.push_back(shortZ);
  z.height = 480;
  z.width = 639;
  DDSurface* narrowZ = nullptr;
  ASSERT_EQ(dd->CreateSurface(&z, &narrowZ), DD_OK);
  made.push_back(narrowZ);
  z.width = 640;
  DDSurface* fitZ = nullptr;
  ASSERT_EQ(dd->CreateSurface(&z, &fitZ), DD_OK);
  made.push_back(fitZ);
  EXPECT_EQ(primary->AddAttachedSurface(shortZ), DDERR_INVALIDPARAMS);
  EXPECT_EQ(primary->AddAttachedSurface(narrowZ), DDERR_INVALIDPARAMS);
  EXPECT_EQ(primary->AddAttachedSurface(fitZ), DD_OK);
  EXPECT_EQ(primary->DeleteAttachedSurface(fitZ), DD_OK);
  primary->Release();
  // Palettes go on 8-bit surfaces only.
  DDPalette* pal = nullptr;
  ASSERT_EQ(dd->CreatePalette(DDPCAPS_8BIT, nullptr, &pal), DD_OK);
  EXPECT_EQ(Make(4, 4, 8)->SetPalette(pal), DD_OK);
  EXPECT_EQ(Make(4, 4, 16)->SetPalette(pal), DDERR_INVALIDPIXELFORMAT);
  EXPECT_EQ(Make(4, 4, 32)->SetPalette(pal), DDERR_INVALIDPIXELFORMAT);
  made.front()->SetPalette(nullptr);
  for (DDSurface* s : made) s->SetPalette(nullptr);
  pal->Release();
}

TEST_F(DdLimits, ClipperEdgesAndLockedFlips) {
  // Windowed: a clipper on the window keeps Blts to the primary inside the
  // client area, its last column and row included.
  DDSurfaceDesc p;
  p.caps = DDSCAPS_PRIMARYSURFACE;
  DDSurface* primary = nullptr;
  ASSERT_EQ(dd->CreateSurface(&p, &primary), DD_OK);
  DDClipper* clipper = nullptr;
  ASSERT_EQ(dd->CreateClipper(0, &clipper), DD_OK);
  // The window stands away from the desktop's edges: every side is checked.
  ASSERT_EQ(clipper->SetHWnd(0, window), DD_OK);
  ASSERT_EQ(primary->SetClipper(clipper), DD_OK);
  Rect client;
  Point origin{0, 0};
  ASSERT_TRUE(GetClientRect(window, &client));
  ASSERT_TRUE(ClientToScreen(window, &origin));
  ASSERT_GT(origin.x, 0);
  ASSERT_GT(origin.y, 0);
  DDBltFx fx;
  fx.fillColor = 0x123456;
  ASSERT_EQ(primary->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK);
  const int right = origin.x + client.right, bottom = origin.y + client.bottom;
  EXPECT_EQ(Get(primary, right - 1, bottom - 1), 0x123456u);
  EXPECT_EQ(Get(primary, origin.x, origin.y), 0x123456u);
  EXPECT_EQ(Get(primary, right, bottom - 1), 0u);
  EXPECT_EQ(Get(primary, right - 1, bottom), 0u);
  EXPECT_EQ(Get(primary, origin.x - 1, origin.y), 0u);
  EXPECT_EQ(Get(primary, origin.x, origin.y - 1), 0u);
  primary->SetClipper(nullptr);
  clipper->Release();
  primary->Release();
  // Full screen: a flip waits for both buffers to be unlocked.
  ASSERT_EQ(dd->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
  ASSERT_EQ(dd->SetDisplayMode(320, 240, 32, 0, 0), DD_OK);
  DDSurfaceDesc d;
  d.caps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
  d.backBufferCount = 1;
  ASSERT_EQ(dd->CreateSurface(&d, &primary), DD_OK);
  DDSurface* back = nullptr;
  ASSERT_EQ(primary->GetAttachedSurface(DDSCAPS_BACKBUFFER, &back), DD_OK);
  int32_t pitch = 0;
  uint8_t* bits = nullptr;
  ASSERT_EQ(back->Lock(nullptr, &pitch, &bits, 0), DD_OK);
  EXPECT_EQ(primary->Flip(nullptr, DDFLIP_NOVSYNC), DDERR_SURFACEBUSY);
  ASSERT_EQ(back->Unlock(nullptr), DD_OK);
  ASSERT_EQ(primary->Lock(nullptr, &pitch, &bits, 0), DD_OK);
  EXPECT_EQ(primary->Flip(nullptr, DDFLIP_NOVSYNC), DDERR_SURFACEBUSY);
  ASSERT_EQ(primary->Unlock(nullptr), DD_OK);
  EXPECT_EQ(primary->Flip(nullptr, DDFLIP_NOVSYNC), DD_OK);
  primary->Release();
}

TEST_F(DdLimits, RefusalsNameTheirReason) {
  DDSurface* a = Make(4, 4, 32);
  DDSurface* b = Make(4, 4, 32);
  DDSurface* c16 = Make(4, 4, 16);
  int32_t pitch = 0;
  uint8_t* p = nullptr;
  // Busy: a locked end refuses both roads and a DC; a DC refuses a lock.
  ASSERT_EQ(b->Lock(nullptr, &pitch, &p, 0), DD_OK);
  EXPECT_EQ(b->Lock(nullptr, &pitch, &p, 0), DDERR_SURFACEBUSY);
  EXPECT_EQ(a->Blt(nullptr, b, nullptr, 0, nullptr), DDERR_SURFACEBUSY);
  EXPECT_EQ(a->BltFast(0, 0, b, nullptr, 0), DDERR_SURFACEBUSY);
  EXPECT_EQ(b->Blt(nullptr, a, nullptr, 0, nullptr), DDERR_SURFACEBUSY);
  EXPECT_EQ(b->BltFast(0, 0, a, nullptr, 0), DDERR_SURFACEBUSY);
  Hdc dc = 0;
  EXPECT_EQ(b->GetDC(&dc), DDERR_SURFACEBUSY);
  ASSERT_EQ(b->Unlock(nullptr), DD_OK);
  ASSERT_EQ(b->GetDC(&dc), DD_OK);
  EXPECT_EQ(b->Lock(nullptr, &pitch, &p, 0), DDERR_SURFACEBUSY);
  EXPECT_EQ(b->ReleaseDC(dc + 1), DDERR_INVALIDPARAMS);
  ASSERT_EQ(b->ReleaseDC(dc), DD_OK);
  // Formats, parameters.
  EXPECT_EQ(a->Blt(nullptr, c16, nullptr, 0, nullptr), DDERR_INVALIDPIXELFORMAT);
  EXPECT_EQ(c16->BltFast(0, 0, a, nullptr, 0), DDERR_INVALIDPIXELFORMAT);
  EXPECT_EQ(a->Blt(nullptr, nullptr, nullptr, 0, nullptr), DDERR_INVALIDPARAMS);
  EXPECT_EQ(a->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, nullptr), DDERR_INVALIDPARAMS);
  EXPECT_EQ(a->BltFast(0, 0, nullptr, nullptr, 0), DDERR_INVALIDPARAMS);
  EXPECT_EQ(a->Lock(nullptr, nullptr, &p, 0), DDERR_INVALIDPARAMS);
  EXPECT_EQ(a->SetColorKey(0, 1, 1), DDERR_INVALIDPARAMS);
  EXPECT_EQ(a->SetPalette(nullptr), DDERR_INVALIDPIXELFORMAT);  // not 8 bits
  // Lost ends refuse before anything else is looked at.
  DDSurface* v = Make(4, 4, 32, DDSCAPS_VIDEOMEMORY);
  DdLoseVideoSurfaces();
  EXPECT_EQ(a->Blt(nullptr, v, nullptr, 0, nullptr), DDERR_SURFACELOST);
  EXPECT_EQ(v->Blt(nullptr, nullptr, nullptr, 0, nullptr), DDERR_SURFACELOST);
  EXPECT_EQ(a->BltFast(0, 0, v, nullptr, 0), DDERR_SURFACELOST);
  EXPECT_EQ(v->GetDC(&dc), DDERR_SURFACELOST);
  // Injected failures: the next lock, then locks work again.
  DdFailNext(DdOp::Lock, 1);
  EXPECT_EQ(a->Lock(nullptr, &pitch, &p, 0), DDERR_GENERIC);
  EXPECT_EQ(a->Lock(nullptr, &pitch, &p, 0), DD_OK);
  EXPECT_EQ(a->Unlock(nullptr), DD_OK);
}

}  // namespace
