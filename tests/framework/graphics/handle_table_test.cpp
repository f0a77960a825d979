#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "framework/graphics/graphs/handle_table.h"

namespace qor {
namespace {

struct TestRecord {
  uint32_t check;
  int value;
};

class HandleTableTest : public ::testing::Test {
 protected:
  static constexpr int kMax = 6;
  void SetUp() override { InitHandleTable(&table, kFontHandleTag, kMax, slots); }
  int32_t Add(TestRecord* r) { return AddHandleEntry(&table, r); }
  HandleTable table;
  void* slots[kMax];
  TestRecord records[kMax + 1] = {};
};

TEST_F(HandleTableTest, HandleLayoutAndRefusals) {
  int32_t a = Add(&records[0]);
  int32_t b = Add(&records[1]);
  EXPECT_EQ(a, kFontHandleTag | (0 << 16) | 0);
  EXPECT_EQ(b, kFontHandleTag | (1 << 16) | 1);
  EXPECT_EQ(LookupHandleEntry(&table, b), &records[1]);

  EXPECT_EQ(LookupHandleEntry(&table, b | INT32_MIN), nullptr);                            // bit 31
  EXPECT_EQ(LookupHandleEntry(&table, (b & ~kHandleKindMask) | kSoundHandleTag), nullptr);  // kind
  EXPECT_EQ(LookupHandleEntry(&table, (b & ~kHandleIndexMask) | kMax), nullptr);            // index
  EXPECT_EQ(LookupHandleEntry(&table, (b & ~kHandleIndexMask) | 2), nullptr);               // empty slot
  EXPECT_EQ(LookupHandleEntry(&table, b ^ (5 << 16)), nullptr);                              // check
  EXPECT_EQ(LookupHandleEntry(&table, -1), nullptr);
  for (int i = 2; i < kMax; ++i) Add(&records[i]);
  EXPECT_EQ(Add(&records[kMax]), -1);  // full
}

TEST_F(HandleTableTest, StaleHandleRefusedUntilCheckNumbersComeRound) {
  int32_t first = Add(&records[0]);
  ASSERT_EQ(RemoveHandleEntry(&table, first), 0);
  EXPECT_EQ(RemoveHandleEntry(&table, first), -1);
  // Records 2..2048 reuse slot 0 with new check numbers; the stale handle
  // stays refused all that time.
  for (int n = 1; n < kHandleCheckLimit; ++n) {
    int32_t h = Add(&records[1]);
    ASSERT_EQ((h >> 16) & 0x7FF, n);
    ASSERT_EQ(LookupHandleEntry(&table, first), nullptr);
    ASSERT_EQ(RemoveHandleEntry(&table, h), 0);
  }
  // The 2049th record gets check number 0 again: the scheme's limit.
  int32_t again = Add(&records[2]);
  EXPECT_EQ(again, first);
  EXPECT_EQ(LookupHandleEntry(&table, first), &records[2]);
}

TEST_F(HandleTableTest, UsedEndWalksDownPastHoles) {
  std::vector<int32_t> h;
  for (int i = 0; i < 5; ++i) h.push_back(Add(&records[i]));
  EXPECT_EQ(table.usedEnd, 5);
  RemoveHandleEntry(&table, h[1]);
  RemoveHandleEntry(&table, h[2]);
  EXPECT_EQ(table.usedEnd, 5);  // holes below do not move it
  RemoveHandleEntry(&table, h[4]);
  EXPECT_EQ(table.usedEnd, 4);
  RemoveHandleEntry(&table, h[3]);
  EXPECT_EQ(table.usedEnd, 1);  // past the holes at 2 and 1
  EXPECT_EQ(HandleOfSlot(&table, 0), h[0]);
  EXPECT_EQ(HandleOfSlot(&table, 1), -1);
  RemoveHandleEntry(&table, h[0]);
  EXPECT_EQ(table.usedEnd, 0);
  EXPECT_EQ(table.liveCount, 0);
}

TEST(HandleTableWide, KindsWith65536SlotsTestTheTagOnly) {
  static void* slots[kSurfaceDataHandleMax];
  HandleTable table;
  InitHandleTable(&table, kSurfaceDataHandleTag, kSurfaceDataHandleMax, slots);
  TestRecord r = {};
  table.usedEnd = 65535;  // the next entry lands in the last slot
  int32_t h = AddHandleEntry(&table, &r);
  EXPECT_EQ(HandleSlotIndex(h), 65535);
  EXPECT_EQ(LookupHandleEntry(&table, h), &r);
  EXPECT_EQ(LookupHandleEntry(&table, (h & ~kHandleKindMask) | kSurface3DHandleTag), nullptr);
}

}  // namespace
}  // namespace qor
