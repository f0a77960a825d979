// The temporary primaries by the system the kernel reports: the one of
// screen size whenever the option is on, the 320 x 240 one on every system
// but the one of code 264 (which also turns the option on by itself).
#include <gtest/gtest.h>

#include "framework/core/life/system_info.h"
#include "framework/core/life_test_support.h"
#include "framework/graphics/screen/screen.h"
#include "platform/kernel/os_version.h"
#include "screen_test_support.h"

namespace {

using namespace qor;

TEST(TempPrimary, TheSmallOneIsMadeUnlessTheSystemCodeIs264) {
  // {major, minor, the system code the report gives}
  const int rows[][3] = {{5, 0, 262}, {5, 1, 263}, {6, 0, 264}, {6, 1, 264}};
  for (const auto& row : rows) {
    for (const bool windowed : {false, true}) {
      SCOPED_TRACE(row[0] * 10 + row[1]);
      SCOPED_TRACE(windowed);
      lifetest::LifeScope scope;
      plat::SetReportedOsVersion(static_cast<uint32_t>(row[0]), static_cast<uint32_t>(row[1]), 6000);
      SetTempPrimaryOption(1);
      screentest::StartRoad(false, 16, windowed);
      ASSERT_EQ(GetSystemInfo().osCode, row[2]);
      const ScreenState& s = GetScreenState();
      ASSERT_NE(s.tempPrimary, nullptr);
      EXPECT_EQ(s.tempPrimary->width(), 640);
      if (row[2] == 264) {
        EXPECT_EQ(s.tempPrimarySmall, nullptr);
      } else {
        ASSERT_NE(s.tempPrimarySmall, nullptr);
        EXPECT_EQ(s.tempPrimarySmall->width(), 320);
        EXPECT_EQ(s.tempPrimarySmall->height(), 240);
      }
      EndFramework();
    }
  }
}

}  // namespace
