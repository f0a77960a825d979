// Scripted pads: added and removed with their events, state set directly or
// by frame, rumble recorded.
#include <gtest/gtest.h>

#include "platform/host/headless/headless_control.h"
#include "platform/host/host.h"

namespace hl = plat::headless;
using plat::HostEventKind;

namespace {

class HeadlessPads : public testing::Test {
 protected:
  void SetUp() override {
    hl::Reset();
    ASSERT_TRUE(plat::HostCreateWindow(8, 8));
  }
  void TearDown() override { plat::HostReset(); }

  plat::HostEvent Next() {
    plat::HostEvent e;
    EXPECT_TRUE(plat::HostPollEvent(&e));
    return e;
  }
};

TEST_F(HeadlessPads, AddAndRemoveShiftLikeTheRealList) {
  EXPECT_EQ(hl::AddPad("first", 2, 1, 10, false), 0);
  EXPECT_EQ(hl::AddPad("second", 20, 9, 99, true), 1);  // counts are capped
  EXPECT_EQ(plat::HostPadCount(), 2);
  plat::HostPadInfo info;
  ASSERT_TRUE(plat::HostGetPadInfo(1, &info));
  EXPECT_STREQ(info.name, "second");
  EXPECT_EQ(info.axisCount, plat::kHostPadMaxAxes);
  EXPECT_EQ(info.hatCount, plat::kHostPadMaxHats);
  EXPECT_EQ(info.buttonCount, plat::kHostPadMaxButtons);

  EXPECT_TRUE(hl::RemovePad(0));
  EXPECT_FALSE(hl::RemovePad(5));
  ASSERT_TRUE(plat::HostGetPadInfo(0, &info));
  EXPECT_STREQ(info.name, "second");
  EXPECT_FALSE(plat::HostGetPadInfo(1, &info));
  EXPECT_FALSE(plat::HostGetPadInfo(-1, &info));
  for (int i = 1; i < hl::kMaxPads; ++i) EXPECT_EQ(hl::AddPad("p", 1, 0, 1, false), i);
  EXPECT_EQ(hl::AddPad("one too many", 1, 0, 1, false), -1);

  plat::HostEvent e = Next();
  EXPECT_EQ(e.kind, HostEventKind::PadAdded);
  EXPECT_EQ(e.pad, 0);
  e = Next();
  EXPECT_EQ(e.kind, HostEventKind::PadAdded);
  EXPECT_EQ(e.pad, 1);
  e = Next();
  EXPECT_EQ(e.kind, HostEventKind::PadRemoved);
  EXPECT_EQ(e.pad, 0);
}

TEST_F(HeadlessPads, StateDirectAndByFrame) {
  ASSERT_EQ(hl::AddPad("pad", 2, 1, 4, false), 0);
  plat::HostPadState s;
  s.axes[0] = -32768;
  s.hats[0] = 1 | 2;
  s.buttons[3] = 1;
  EXPECT_TRUE(hl::SetPadState(0, s));
  EXPECT_FALSE(hl::SetPadState(1, s));
  plat::HostPadState got;
  ASSERT_TRUE(plat::HostGetPadState(0, &got));
  EXPECT_EQ(got.axes[0], -32768);
  EXPECT_EQ(got.hats[0], 3);
  EXPECT_EQ(got.buttons[3], 1);

  plat::HostPadState later;
  later.axes[1] = 32767;
  hl::ScriptPadStateAtFrame(2, 0, later);
  hl::ScriptPadStateAtFrame(2, 7, later);  // no such pad: dropped quietly
  const uint16_t px = 0;
  plat::HostPresent(&px, 2, 1, 1, plat::HostPixelFormat::Rgb565);
  ASSERT_TRUE(plat::HostGetPadState(0, &got));
  EXPECT_EQ(got.axes[1], 0);
  plat::HostPresent(&px, 2, 1, 1, plat::HostPixelFormat::Rgb565);
  ASSERT_TRUE(plat::HostGetPadState(0, &got));
  EXPECT_EQ(got.axes[1], 32767);
  EXPECT_EQ(got.axes[0], 0);
}

TEST_F(HeadlessPads, RumbleOnlyWhereThereIsAMotor) {
  ASSERT_EQ(hl::AddPad("still", 2, 0, 2, false), 0);
  ASSERT_EQ(hl::AddPad("shaky", 2, 0, 2, true), 1);
  EXPECT_FALSE(plat::HostRumblePad(0, 100, 100, 10));
  EXPECT_TRUE(plat::HostRumblePad(1, 70000, -5, 250));  // strengths are clamped
  hl::PadRumble r;
  ASSERT_TRUE(hl::GetPadRumble(1, &r));
  EXPECT_EQ(r.low, 65535);
  EXPECT_EQ(r.high, 0);
  EXPECT_EQ(r.durationMs, 250);
  EXPECT_EQ(r.calls, 1);
}

}  // namespace
