// The mask screen: the handle table's rules, a program that never asks for
// a mask screen (every call answers as without one), and a mask screen set
// up by hand that the draw hooks, the target switch, a device loss and the
// end of graphics management all go through.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/core/life/module_hooks.h"
#include "framework/core/memory.h"
#include "framework/graphics/graphics_test_support.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/screen/device_restore.h"
#include "framework/graphics/screen/mask_screen.h"
#include "screen_test_support.h"

namespace {

using namespace qor;

TEST(MaskTable, HandlesFollowTheTableRules) {
  lifetest::LifeScope scope;
  const int blocks = GetAllocatorState().liveCount;
  const int32_t a = screentest::AddMask(10, 3), b = screentest::AddMask(7, 2);
  // Kind 0x40000000, check numbers from 0, slots from 0.
  EXPECT_EQ(a, 0x40000000);
  EXPECT_EQ(b, 0x40000000 | (1 << 16) | 1);
  ASSERT_NE(LookupMaskData(a), nullptr);
  EXPECT_EQ(LookupMaskData(a)->pitch, 12);
  // Another check number, another kind, an index past the table, a negative
  // handle: none names a live record.
  for (int32_t bad : {a ^ (1 << 16), (a & ~kHandleKindMask) | kGraphHandleTag, 0x40000000 | 512, -1}) {
    EXPECT_EQ(LookupMaskData(bad), nullptr) << std::hex << bad;
    EXPECT_EQ(FreeMaskHandle(bad), -1) << std::hex << bad;
  }
  // A record not in use is not live, whatever its check number.
  GetMaskScreenState().records[1].inUse = 0;
  EXPECT_EQ(FreeMaskHandle(b), -1);
  GetMaskScreenState().records[1].inUse = 1;
  EXPECT_EQ(FreeMaskHandle(a), 0);
  EXPECT_EQ(FreeMaskHandle(a), -1);
  EXPECT_EQ(GetMaskScreenState().records[0].pixels, nullptr);
  EXPECT_EQ(GetAllocatorState().liveCount, blocks + 1);

  // Up to the limit: 512 live records, the 513th refused. A freed slot is
  // taken again with the next check number.
  for (int i = 2; i < kMaskHandleMax + 1; ++i) ASSERT_NE(screentest::AddMask(1, 1), -1) << i;
  EXPECT_EQ(GetMaskScreenState().table.liveCount, kMaskHandleMax);
  EXPECT_EQ(screentest::AddMask(1, 1), -1);
  const int32_t at100 = HandleOfSlot(&GetMaskScreenState().table, 100);
  ASSERT_EQ(FreeMaskHandle(at100), 0);
  const int32_t again = screentest::AddMask(1, 1);
  EXPECT_EQ(again & kHandleIndexMask, 100);
  EXPECT_EQ((again & kHandleCheckMask) >> 16, kMaskHandleMax + 1);
  EXPECT_EQ(LookupMaskData(at100), nullptr);

  EXPECT_EQ(DeleteAllMasks(), 0);
  EXPECT_EQ(GetMaskScreenState().table.liveCount, 0);
  EXPECT_EQ(GetMaskScreenState().table.usedEnd, 0);
  EXPECT_EQ(GetAllocatorState().liveCount, blocks);
  EXPECT_EQ(LookupMaskData(again), nullptr);
}

TEST(MaskScreen, WithoutAMaskScreenEveryCallChangesNothing) {
  gfxtest::Road road(false, 16, true);
  const DrawState& d = GetDrawState();
  ASSERT_EQ(SelectDrawTarget(kBackScreen), 0);
  SetClipArea(10, 20, 300, 200);
  const Rect area = d.drawArea;
  EXPECT_EQ(d.maskDrawing, 1);
  EXPECT_EQ(d.maskInUse, 0);
  for (int32_t on : {0, 1}) {
    EXPECT_EQ(ApplyMaskDrawTarget(on), -1);
    EXPECT_EQ(d.maskDrawing, 1);
    EXPECT_EQ(d.maskInUse, 0);
    EXPECT_EQ(d.drawArea.left, area.left);
    EXPECT_EQ(d.drawArea.right, area.right);
  }
  EXPECT_EQ(SetupMaskScreen(0), 0);
  EXPECT_EQ(RestoreMaskScreen(), 0);
  EXPECT_EQ(GetMaskScreenState().buffer, nullptr);
  EXPECT_EQ(GetMaskSurface(), nullptr);
  EXPECT_EQ(GetMaskMemImage(), nullptr);
  const int32_t g = gfxtest::MakeGraph(8, 8, false, false);
  EXPECT_EQ(BlitGraph(0, 0, g, 0), 0);
  EXPECT_EQ(GetMaskScreenState().begins, 0);
  EXPECT_EQ(EndMaskScreen(), 0);
  EXPECT_EQ(GetMaskUseFlag(), 1);  // nothing was there to switch off
}

void MaskThroughALoss(bool software) {
  SCOPED_TRACE(software ? "soft" : "ddraw");
  gfxtest::Road road(software, 16, false);
  MaskScreenState& m = GetMaskScreenState();
  const ScreenState& s = GetScreenState();
  const DrawState& d = GetDrawState();
  m.requested = 1;  // what a build that asks for a mask screen would set
  ASSERT_EQ(SetupMaskScreen(1), 0);
  ASSERT_NE(m.buffer, nullptr);
  EXPECT_EQ(m.pitch, 640);
  EXPECT_EQ(m.height, 480);
  if (software) {
    ASSERT_NE(GetMaskMemImage(), nullptr);
    EXPECT_EQ(GetMaskMemImage()->width, 640);
    EXPECT_EQ(GetMaskSurface(), nullptr);
  } else {
    ASSERT_NE(GetMaskSurface(), nullptr);
    EXPECT_EQ(GetMaskSurface()->width(), 640);
    EXPECT_TRUE(GetMaskSurface()->hasColorKey());
    EXPECT_EQ(m.surfaceInVideo, 1);
    EXPECT_EQ(GetMaskMemImage(), nullptr);
  }
  ASSERT_EQ(ApplyMaskDrawTarget(1), 0);
  EXPECT_EQ(d.maskInUse, 1);

  // The target switch runs with mask drawing off and puts it back.
  ASSERT_EQ(SelectDrawTarget(kBackScreen), 0);
  EXPECT_EQ(d.maskDrawing, 1);
  EXPECT_EQ(d.maskInUse, 1);
  GetModuleHooks().onDrawAreaMoved();
  EXPECT_EQ(d.maskDrawing, 1);

  // Every draw runs the two hooks around it with its ordered rectangle and
  // the target as an image (software) or a surface.
  const int32_t g = gfxtest::MakeGraph(16, 8, false, false);
  ASSERT_EQ(BlitGraph(5, 6, g, 0), 0);
  EXPECT_EQ(m.begins, 1);
  EXPECT_EQ(m.ends, 1);
  EXPECT_EQ(m.lastView.x1, 5);
  EXPECT_EQ(m.lastView.x2, 21);
  EXPECT_EQ(m.lastView.y2, 14);
  if (software) {
    EXPECT_EQ(m.lastView.pixels, s.backImage.pixels);
    EXPECT_EQ(m.lastView.pitch, s.backImage.buffer->pitch);
    EXPECT_EQ(m.lastView.surface, nullptr);
  } else {
    EXPECT_EQ(m.lastView.surface, s.back);
    EXPECT_EQ(m.lastView.pixels, nullptr);
  }
  ASSERT_EQ(BlitGraphStretched(50, 40, 10, 20, g, 0), 0);
  EXPECT_EQ(m.lastView.x1, 10);
  EXPECT_EQ(m.lastView.y1, 20);
  EXPECT_EQ(m.lastView.x2, 50);
  EXPECT_EQ(m.lastView.y2, 40);
  PaintBoxFilled(0, 0, 4, 4, PackColorRGB(1, 2, 3));
  EXPECT_EQ(m.begins, 3);
  EXPECT_EQ(m.ends, 3);

  // Released with the screen and made again, still in use.
  m.buffer[7] = 9;
  ASSERT_EQ(RestoreAfterDeviceLoss(), 0);
  ASSERT_NE(m.buffer, nullptr);
  EXPECT_EQ(m.buffer[7], 0);
  EXPECT_EQ(software, GetMaskMemImage() != nullptr);
  EXPECT_EQ(!software, GetMaskSurface() != nullptr);
  EXPECT_EQ(d.maskDrawing, 1);
  EXPECT_EQ(d.maskInUse, 1);

  EXPECT_EQ(EndMaskScreen(), 0);
  EXPECT_EQ(m.buffer, nullptr);
  EXPECT_EQ(m.requested, 0);
  EXPECT_EQ(d.maskInUse, 0);
  EXPECT_EQ(d.maskDrawing, 0);  // switched off before the buffer went
  EXPECT_EQ(GetMaskSurface(), nullptr);
  EXPECT_EQ(ApplyMaskDrawTarget(1), -1);
  BlitGraph(5, 6, g, 0);
  EXPECT_EQ(m.begins, 3);
}

TEST(MaskScreen, SetUpReleasedAndRestoredThroughADeviceLoss) {
  MaskThroughALoss(false);
  MaskThroughALoss(true);
}

TEST(MaskScreen, GraphicsEndDeletesEveryMask) {
  gfxtest::Road road(false);
  const int blocks = GetAllocatorState().liveCount;
  screentest::AddMask(32, 32);
  screentest::AddMask(32, 32);
  GetMaskScreenState().requested = 1;
  SetupMaskScreen(1);
  EXPECT_EQ(GetAllocatorState().liveCount, blocks + 3);
  ASSERT_EQ(EndGraphicsManager(), 0);
  EXPECT_EQ(GetMaskScreenState().table.liveCount, 0);
  EXPECT_EQ(GetMaskScreenState().buffer, nullptr);
  for (const MaskData& r : GetMaskScreenState().records) ASSERT_EQ(r.pixels, nullptr);
  InitGraphicsManager();
}

TEST(MaskScreenDeathTest, ASurfaceThatCannotBeMadeEndsTheProgram) {
  lifetest::LifeScope scope;
  EXPECT_EXIT(
      {
        screentest::StartRoad(false, 16, false);
        GetMaskScreenState().requested = 1;
        plat::DdFailNext(plat::DdOp::CreateSurface);
        SetupMaskScreen(1);
      },
      testing::ExitedWithCode(255), "");
  EXPECT_TRUE(scope.Logged("マスク用サーフェスの作成に失敗しました"));
}

}  // namespace
