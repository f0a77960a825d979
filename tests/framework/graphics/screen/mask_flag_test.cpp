// The mask-drawing switch and the mask-in-use flag through every way they
// change: with and without a requested mask screen, with and without a
// mask buffer, switched on or off, through a draw, a target switch, a
// device loss and the end of the mask screen, on both roads. The expected
// flags come from the rules written out in the case walk below: the switch
// is written only while a mask buffer exists, mask drawing is in use only
// while the switch is on and a mask screen was requested, and only then do
// the draw hooks run.
#include <gtest/gtest.h>

#include "framework/graphics/graphics_test_support.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/screen/device_restore.h"
#include "framework/graphics/screen/mask_screen.h"

namespace {

using namespace qor;

struct Case {
  bool software, requested, setUp;
  int32_t on;
};

void Walk(const Case& c) {
  SCOPED_TRACE(testing::Message() << (c.software ? "soft" : "ddraw") << " requested " << c.requested << " set up "
                                  << c.setUp << " on " << c.on);
  gfxtest::Road road(c.software, 16, false);
  MaskScreenState& m = GetMaskScreenState();
  const DrawState& d = GetDrawState();
  ASSERT_EQ(GetMaskUseFlag(), 1);  // as the draw state is reset
  ASSERT_EQ(d.maskInUse, 0);
  m.requested = c.requested ? 1 : 0;
  if (c.setUp) {
    ASSERT_EQ(SetupMaskScreen(1), 0);
  }
  EXPECT_EQ(m.buffer != nullptr, c.setUp);

  // The switch follows the call only with a buffer; in use needs the request too.
  EXPECT_EQ(ApplyMaskDrawTarget(c.on), c.setUp ? 0 : -1);
  const int32_t flag = c.setUp ? c.on : 1;
  const bool inUse = c.setUp && c.on != 0 && c.requested;
  EXPECT_EQ(GetMaskUseFlag(), flag);
  EXPECT_EQ(d.maskInUse, inUse ? 1 : 0);

  // A draw runs the hooks only while mask drawing is in use.
  const int32_t g = gfxtest::MakeGraph(8, 8, false, false);
  const int begins = m.begins, ends = m.ends;
  EXPECT_EQ(BlitGraph(3, 4, g, 0), 0);
  EXPECT_EQ(m.begins - begins, inUse ? 1 : 0);
  EXPECT_EQ(m.ends - ends, inUse ? 1 : 0);

  // A target switch puts both back as they were.
  ASSERT_EQ(SelectDrawTarget(kBackScreen), 0);
  EXPECT_EQ(GetMaskUseFlag(), flag);
  EXPECT_EQ(d.maskInUse, inUse ? 1 : 0);

  // A device loss releases the mask screen and makes it again only when it
  // was requested; the switch, when on, is applied again.
  ASSERT_EQ(RestoreAfterDeviceLoss(), 0);
  const bool bufferAfter = c.requested;
  EXPECT_EQ(m.buffer != nullptr, bufferAfter);
  EXPECT_EQ(GetMaskUseFlag(), flag);
  const bool inUseAfter = bufferAfter && flag != 0 ? c.requested : inUse;
  EXPECT_EQ(d.maskInUse, inUseAfter ? 1 : 0);

  // The end switches mask drawing off first, which sticks only with a buffer.
  EXPECT_EQ(EndMaskScreen(), 0);
  EXPECT_EQ(GetMaskUseFlag(), bufferAfter && flag != 0 ? 0 : flag);
  EXPECT_EQ(d.maskInUse, 0);
  EXPECT_EQ(m.requested, 0);
  EXPECT_EQ(m.buffer, nullptr);
}

TEST(MaskFlag, SwitchAndInUseFollowBufferRequestAndCallOnBothRoads) {
  for (const bool software : {false, true}) {
    for (const bool requested : {false, true}) {
      for (const bool setUp : {false, true}) {
        for (const int32_t on : {0, 1}) Walk(Case{software, requested, setUp, on});
      }
    }
  }
}

}  // namespace
