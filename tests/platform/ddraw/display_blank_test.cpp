// The display's vertical blank seen without a DirectDraw object agrees with
// what an object reports and waits for, on the desktop and in a mode of
// another rate; and the walk over a surface's attached surfaces.
#include <gtest/gtest.h>

#include <vector>

#include "ddraw_test_support.h"

using namespace plat;
namespace hl = plat::headless;

namespace {

TEST(DisplayBlank, WithoutAnObjectTheBlankIsTheObjectsOwn) {
  Hwnd window = 0;
  DirectDraw* dd = nullptr;
  ddtest::OpenDisplay("blank", 0, 0, 640, 480, &window, &dd);
  ASSERT_EQ(dd->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
  for (const int rate : {0, 75}) {  // the desktop, then a full-screen mode
    SCOPED_TRACE(rate);
    if (rate != 0) {
      ASSERT_EQ(dd->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
      ASSERT_EQ(dd->SetDisplayMode(640, 480, 16, rate, 0), DD_OK);
    }
    int blanks = 0;
    for (uint64_t t = 20'000'000; t < 20'000'000 + 40'000; t += 97) {
      int32_t object = -1, display = -1;
      hl::SetClock(t);
      dd->GetVerticalBlankStatus(&object);
      hl::SetClock(t);
      DdDisplayBlankStatus(&display);
      ASSERT_EQ(display, object) << t;
      blanks += display;
    }
    EXPECT_GT(blanks, 0);
    for (const uint64_t t : {uint64_t{30'000'000}, uint64_t{30'015'500}, uint64_t{30'016'600}}) {
      hl::SetClock(t);
      dd->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN);
      const uint64_t objectEnd = hl::PeekClock();
      hl::SetClock(t);
      DdWaitForDisplayBlank();
      EXPECT_EQ(hl::PeekClock(), objectEnd) << t;
      int32_t inBlank = 0;
      DdDisplayBlankStatus(&inBlank);
      EXPECT_EQ(inBlank, 1) << t;
    }
  }
  dd->Release();
  ddtest::ResetDisplayStandIns();
}

int32_t Collect(DDSurface* surface, void* context) {
  auto* seen = static_cast<std::vector<DDSurface*>*>(context);
  seen->push_back(surface);
  return seen->size() < 2 ? DDENUMRET_OK : DDENUMRET_CANCEL;
}

TEST(DisplayBlank, AttachedSurfacesAreWalkedUntilTheCallbackStops) {
  Hwnd window = 0;
  DirectDraw* dd = nullptr;
  ddtest::OpenDisplay("walk", 0, 0, 640, 480, &window, &dd);
  ASSERT_EQ(dd->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
  ASSERT_EQ(dd->SetDisplayMode(640, 480, 8, 60, 0), DD_OK);
  DDSurfaceDesc chain;
  chain.caps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
  chain.backBufferCount = 1;
  DDSurface* primary = nullptr;
  ASSERT_EQ(dd->CreateSurface(&chain, &primary), DD_OK);
  DDSurface* back = nullptr;
  ASSERT_EQ(primary->GetAttachedSurface(DDSCAPS_BACKBUFFER, &back), DD_OK);
  DDSurfaceDesc depth;
  depth.caps = DDSCAPS_ZBUFFER | DDSCAPS_VIDEOMEMORY;
  depth.width = 640;
  depth.height = 480;
  DDSurface* z = nullptr;
  ASSERT_EQ(dd->CreateSurface(&depth, &z), DD_OK);
  // The primary's chain holds its back buffer; a Z buffer on the primary
  // comes after it, and the callback's stop ends the walk there.
  ASSERT_EQ(primary->AddAttachedSurface(z), DD_OK);
  std::vector<DDSurface*> seen;
  EXPECT_EQ(primary->EnumAttachedSurfaces(&seen, Collect), DD_OK);
  EXPECT_EQ(seen, (std::vector<DDSurface*>{back, z}));
  std::vector<DDSurface*> one{nullptr};  // already one: stops after the first
  primary->EnumAttachedSurfaces(&one, Collect);
  EXPECT_EQ(one, (std::vector<DDSurface*>{nullptr, back}));
  std::vector<DDSurface*> none;
  EXPECT_EQ(back->EnumAttachedSurfaces(&none, Collect), DD_OK);
  EXPECT_TRUE(none.empty());
  EXPECT_EQ(back->EnumAttachedSurfaces(&none, nullptr), DDERR_INVALIDPARAMS);
  primary->DeleteAttachedSurface(z);
  z->Release();
  primary->Release();
  dd->Release();
  ddtest::ResetDisplayStandIns();
}

}  // namespace
