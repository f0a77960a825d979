// Fitting the picture into a window of any size: aspect kept, whole-number
// scale whenever one fits, centred, never outside the window.
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
      ASSERT_EQ(whole, scale >= 1);
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

}  // namespace
