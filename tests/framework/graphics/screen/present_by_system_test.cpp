// The full-screen present of the hardware road by the system the kernel
// reports: on the system of code 264 the back surface is brought up to the
// primary (and presenting through GDI flips GDI's surface to the front);
// on the others the back surface goes to the primary.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "framework/core/life/system_info.h"
#include "framework/core/life_test_support.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/screen/screen.h"
#include "platform/kernel/os_version.h"
#include "screen_test_support.h"

namespace {

using namespace qor;

// Fills a surface through its lock with bytes that differ per surface and
// from row to row; returns the pixels as laid out (pitch included).
std::vector<uint8_t> Fill(plat::DDSurface* s, uint8_t seed) {
  int32_t pitch = 0;
  uint8_t* pixels = nullptr;
  EXPECT_EQ(s->Lock(nullptr, &pitch, &pixels, plat::DDLOCK_WAIT), plat::DD_OK);
  for (int32_t y = 0; y < s->height(); ++y)
    for (int32_t x = 0; x < pitch; ++x) pixels[y * pitch + x] = static_cast<uint8_t>(seed + x * 3 + y * 7);
  s->Unlock(nullptr);
  return std::vector<uint8_t>(s->memory(), s->memory() + static_cast<size_t>(pitch) * s->height());
}

std::vector<uint8_t> Held(const plat::DDSurface* s) {
  return std::vector<uint8_t>(s->memory(), s->memory() + static_cast<size_t>(s->pitch()) * s->height());
}

TEST(PresentBySystem, TheBackIsBroughtUpToThePrimaryOnlyOnTheSystemOfCode264) {
  // {major, minor, GDI presentation}
  const int rows[][3] = {{5, 1, 0}, {5, 1, 1}, {6, 0, 0}, {6, 0, 1}, {6, 1, 1}};
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row[0] << "." << row[1] << " gdi " << row[2]);
    lifetest::LifeScope scope;
    plat::SetReportedOsVersion(static_cast<uint32_t>(row[0]), static_cast<uint32_t>(row[1]), 6000);
    screentest::StartRoad(false, 16, false);
    const bool vista = GetSystemInfo().osCode == 264;
    ASSERT_EQ(vista, row[0] == 6);
    ASSERT_EQ(SetGdiPresentMode(row[2]), 0);
    ASSERT_EQ(SelectDrawTarget(kBackScreen), 0);
    ScreenState& s = GetScreenState();
    ASSERT_NE(s.primary, nullptr);
    ASSERT_NE(s.back, nullptr);
    ASSERT_EQ(s.primary->pitch(), s.back->pitch());

    const std::vector<uint8_t> primary = Fill(s.primary, 11), back = Fill(s.back, 200);
    ASSERT_NE(primary, back);
    const uint64_t frames = s.frameCounter;
    const plat::DdCounters before = plat::GetDdCounters();
    EXPECT_EQ(PresentToWindow(nullptr), 0);
    const plat::DdCounters after = plat::GetDdCounters();

    // The whole screen moves one way: the primary's picture into the back
    // surface on that system, the back surface's onto the display elsewhere.
    const std::vector<uint8_t>& shown = vista ? primary : back;
    EXPECT_TRUE(Held(s.primary) == shown);
    EXPECT_TRUE(Held(s.back) == shown);
    EXPECT_EQ(after.flipsToGdi - before.flipsToGdi, vista && row[2] ? 1 : 0);
    EXPECT_EQ(after.flips, before.flips);
    EXPECT_EQ(after.bltFasts - before.bltFasts, row[2] ? 0 : 1);  // GDI presentation blits whole
    EXPECT_EQ(s.frameCounter, frames + 1);
    EndFramework();
  }
}

}  // namespace
