// Fitting the picture into a window of any size: aspect kept, a whole-number
// scale when it fills most of the room, centred, never outside the window.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/host/host_backend.h"

namespace {

TEST(HostFit, FullHdShowsTwiceWithBars) {
  bool whole = false;
  const plat::HostRect r = plat::HostFitPicture(1920, 1080, 640, 480, &whole);
  EXPECT_TRUE(whole);
  EXPECT_EQ(r.left, 320);
  EXPECT_EQ(r.top, 60);
  EXPECT_EQ(r.right, 1600);
  EXPECT_EQ(r.bottom, 1020);
}

TEST(HostFit, EveryWindowSizeKeepsTheRules) {
  for (int w = 1; w <= 2000; w += 7) {
    for (int h = 1; h <= 1500; h += 11) {
      bool whole = false;
      const plat::HostRect r = plat::HostFitPicture(w, h, 640, 480, &whole);
      const int fw = r.right - r.left, fh = r.bottom - r.top;
      ASSERT_GE(r.left, 0);
      ASSERT_GE(r.top, 0);
      ASSERT_LE(r.right, w);
      ASSERT_LE(r.bottom, h);
      ASSERT_LE(std::abs((r.left) - (w - r.right)), 1);  // centred
      ASSERT_LE(std::abs((r.top) - (h - r.bottom)), 1);
      const int scale = std::min(w / 640, h / 480);
      // Most of the room: the whole-number picture reaches 85% of the side
      // the largest fit would fill (the tighter of the two ratios).
      const double largest = std::min(w / 640.0, h / 480.0);
      ASSERT_EQ(whole, scale >= 1 && scale / largest >= 0.85 - 1e-12) << w << "x" << h;
      if (whole) {
        ASSERT_EQ(fw, 640 * scale);
        ASSERT_EQ(fh, 480 * scale);
      } else {
        ASSERT_TRUE(fw == w || fh == h) << w << "x" << h;  // touches two sides
        ASSERT_LE(std::abs(fw * 480 - fh * 640), 640) << w << "x" << h;  // aspect within a pixel
      }
    }
  }
}

TEST(HostFit, DisplaysOfEverydaySizes) {
  struct Case {
    int w, h;
    bool whole;
    plat::HostRect r;
  };
  // Worked out by hand: 1280 x 800 gives 800 / 480 = 1.67, where 1x would
  // fill only 60% of the height; 1920 x 1200 gives 2.5, where 2x fills 80%.
  const Case cases[] = {
      {640, 480, true, {0, 0, 640, 480}},          {700, 520, true, {30, 20, 670, 500}},
      {800, 600, false, {0, 0, 800, 600}},         {1280, 800, false, {107, 0, 1173, 800}},
      {1280, 1024, true, {0, 32, 1280, 992}},      {1366, 768, false, {171, 0, 1195, 768}},
      {1920, 1200, false, {160, 0, 1760, 1200}},   {2560, 1440, true, {320, 0, 2240, 1440}},
      {3840, 2160, true, {640, 120, 3200, 2040}},  {320, 240, false, {0, 0, 320, 240}},
  };
  for (const Case& c : cases) {
    bool whole = !c.whole;
    const plat::HostRect r = plat::HostFitPicture(c.w, c.h, 640, 480, &whole);
    EXPECT_EQ(whole, c.whole) << c.w << "x" << c.h;
    EXPECT_EQ(r.left, c.r.left) << c.w << "x" << c.h;
    EXPECT_EQ(r.top, c.r.top) << c.w << "x" << c.h;
    EXPECT_EQ(r.right, c.r.right) << c.w << "x" << c.h;
    EXPECT_EQ(r.bottom, c.r.bottom) << c.w << "x" << c.h;
  }
}

}  // namespace
