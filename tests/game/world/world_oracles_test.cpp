// World rules checked against values worked out here by hand: the block
// stage of the box mover on its own, and the save and config values read
// at each limit and one past it, from files whose every other field differs
// from what the game holds.
#include <cmath>
#include <limits>

#include "game/actors/blocks.h"
#include "game/world/config_file.h"
#include "game/world/input.h"
#include "game/world/save_slots.h"
#include "game/world/game_state.h"
#include "game/world/map_collision.h"
#include "game/world/pools.h"
#include "game/world/tile_map.h"
#include "game_test_support.h"

namespace orb::test {
namespace {

class WorldOracle : public ::testing::Test {
 protected:
  void SetUp() override { ResetGameModules(); }
  void TearDown() override { ResetGameModules(); }
};

// An open map, one still 64 x 32 block with its top at 300 (centre 352, 316).
BlockRecord& StillBlock() {
  const int32_t slot = SpawnBlock(320, 300, 64, 32, nullptr, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  BlockRecord& b = pools.blocks[slot];
  b.tileDistance = 0;
  b.tileRow = 9;
  return b;
}

TEST_F(WorldOracle, TheBlockStageLandsAFallingBoxOnABlockAndLetsItPassBeside) {
  BlockRecord& b = StillBlock();
  // A 20 x 40 box (hitbox 18 x 38 of a 64 x 32 block: 62 x 30) falling 6 px onto it.
  float x = 350, y = 300 - 20 - 3, fall = 6;
  uint8_t airborne = 1, riding = 0;
  int32_t ridden = 0;
  CollideBoxWithBlocks(&x, &y, &fall, 0, 6, 20, 40, &airborne, &riding, &ridden, -1);
  // Block top is 316 - 15 = 301 (hitbox 30 high): the box stops 1 px above it.
  EXPECT_FLOAT_EQ(y + 20, 301.0f - 1.0f);
  EXPECT_FLOAT_EQ(fall, 0.0f);
  EXPECT_EQ(airborne, 0);
  EXPECT_EQ(riding, 1);
  EXPECT_EQ(ridden, b.slot);
  EXPECT_EQ(b.steppedOn, 0);  // an item mover sets no block flag

  // The same fall beside the block goes its whole way.
  float x2 = 200, y2 = 277, fall2 = 6;
  uint8_t airborne2 = 1, riding2 = 0;
  int32_t ridden2 = 0;
  CollideBoxWithBlocks(&x2, &y2, &fall2, 0, 6, 20, 40, &airborne2, &riding2, &ridden2, -1);
  EXPECT_FLOAT_EQ(y2, 283.0f);
  EXPECT_EQ(riding2, 0);
}


// Value written, value read back.
struct Bound {
  int32_t written, read;
};

using SaveBounds = GameFilesTest;

TEST_F(SaveBounds, EachSavedValueAtItsLimitAndOnePastReadsInRangeIntoItsOwnField) {
  ASSERT_TRUE(EnsureFolder());
  // Hit points and power maxima: 1 to 255.
  const Bound maxima[10] = {{1, 1},     {0, 1},    {255, 255}, {256, 255},  {-1, 1},
                            {2, 2},     {254, 254}, {INT32_MIN, 1}, {INT32_MAX, 255}, {100, 100}};
  // Item counters: 0 to 14.
  const Bound counters[4] = {{0, 0}, {-1, 0}, {14, 14}, {15, 14}};
  for (const Bound difficulty : {Bound{3, 3}, Bound{4, 3}, Bound{0, 0}, Bound{255, 3}}) {
    std::vector<uint8_t> full(1936, 0), summary(319, 0);
    for (int m = 0; m < 10; ++m) {
      full[164 + m * 9] = static_cast<uint8_t>(m % 3);  // joined 0, 1, 2
      Le32(full, 164 + m * 9 + 1, static_cast<uint32_t>(maxima[m].written));
      Le32(full, 164 + m * 9 + 5, static_cast<uint32_t>(maxima[9 - m].written));
      summary[164 + m] = static_cast<uint8_t>((m + 1) % 3);
    }
    for (int i = 0; i < 4; ++i) {
      Le32(full, 254 + i * 4, static_cast<uint32_t>(counters[i].written));
      Le32(summary, 174 + i * 4, static_cast<uint32_t>(counters[3 - i].written));
    }
    Le32(full, 160, FloatBits(std::numeric_limits<float>::max()));
    Le32(summary, 160, FloatBits(-std::numeric_limits<float>::denorm_min()));
    full[1806] = static_cast<uint8_t>(difficulty.written);
    summary[190] = static_cast<uint8_t>(difficulty.written);
    WriteBytes("file/data2.dat", full);
    WriteBytes("file/setdata2.dat", summary);

    // What the game holds before the read differs in every field.
    for (PartyMember& m : game.party) {
      m.joined = 7;
      m.hitPointsMax = 77;
      m.powerMax = 88;
    }
    for (int32_t& c : game.ItemCounters) c = 9;
    game.DifficultyLevel = 2;
    game.PlayTimeFrames = 5.0f;
    game.SaveSlotIndex = 1;
    ReadSaveSlot();
    ReadSaveSlotSummaries();
    for (int m = 0; m < 10; ++m) {
      EXPECT_EQ(game.party[m].joined, m % 3 == 0 ? 0 : 1) << m;
      EXPECT_EQ(game.party[m].hitPointsMax, maxima[m].read) << "member " << m;
      EXPECT_EQ(game.party[m].hitPoints, maxima[m].read) << "member " << m;
      EXPECT_EQ(game.party[m].powerMax, maxima[9 - m].read) << "member " << m;
      EXPECT_EQ(game.party[m].power, static_cast<float>(maxima[9 - m].read)) << "member " << m;
      EXPECT_EQ(saves.summaries[1].joined[m], (m + 1) % 3 == 0 ? 0 : 1) << m;
    }
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(game.ItemCounters[i], counters[i].read) << i;
      EXPECT_EQ(saves.summaries[1].counters[i], counters[3 - i].read) << i;
    }
    EXPECT_EQ(game.PlayTimeFrames, std::numeric_limits<float>::max());
    EXPECT_EQ(saves.summaries[1].playTime, 0.0f);
    EXPECT_EQ(game.DifficultyLevel, difficulty.read) << difficulty.written;
    EXPECT_EQ(saves.summaries[1].difficulty, difficulty.read) << difficulty.written;
    EXPECT_EQ(game.SaveSlotIndex, 1);
  }
}

using ConfigBounds = GameFilesTest;

TEST_F(ConfigBounds, OptionsAndMasksAtTheirLimitsAndOnePast) {
  struct Case {
    uint8_t windowed, camera;
    uint32_t masks[10];
    uint8_t wantWindowed, wantCamera;
    bool firstKept, secondKept;  // else that player's defaults
  };
  const Case cases[] = {
      // The lowest and highest buttons are masks; one below and one above are not.
      {0, 1, {0x10, 0x20, 0x40, 0x80, 0x2000, 0x1000, 0x800, 0x400, 0x200, 0x100}, 0, 1, true, true},
      {1, 0, {0x8, 0x20, 0x40, 0x80, 0x100, 0x10, 0x20, 0x40, 0x80, 0x4000}, 1, 0, false, false},
      {2, 2, {0x10, 0x20, 0x40, 0x80, 0x100, 0x30, 0x20, 0x40, 0x80, 0x100}, 1, 1, true, false},
      {255, 0, {0x2000, 0x1000, 0x800, 0x400, 0x2000, 0x10, 0x20, 0x40, 0x80, 0x100}, 1, 0, false, true},
  };
  const uint32_t defaults[5] = {0x10, 0x20, 0x40, 0x80, 0x100};
  for (const Case& c : cases) {
    std::vector<uint8_t> b(202, 0);
    for (int i = 0; i < 32; ++i) {
      b[i * 5] = static_cast<uint8_t>(i + 3);
      Le32(b, i * 5 + 1, 0x5A5A0000u + i);
    }
    b[160] = c.windowed;
    b[161] = c.camera;
    for (int i = 0; i < 10; ++i) Le32(b, 162 + i * 4, c.masks[i]);
    WriteBytes("config.ini", b);
    config.WindowedMode = static_cast<uint8_t>(1 - c.wantWindowed);
    config.CameraFollowOne = static_cast<uint8_t>(1 - c.wantCamera);
    for (uint32_t& m : input.LiveButtonMasks) m = 0x1234;
    LoadConfigFile();
    EXPECT_EQ(config.WindowedMode, c.wantWindowed) << int{c.windowed};
    EXPECT_EQ(config.CameraFollowOne, c.wantCamera) << int{c.camera};
    for (int i = 0; i < 10; ++i) {
      const bool kept = i < 5 ? c.firstKept : c.secondKept;
      EXPECT_EQ(input.LiveButtonMasks[i], kept ? c.masks[i] : defaults[i % 5]) << "mask " << i;
      EXPECT_EQ(input.ConfigButtonMasks[i], input.LiveButtonMasks[i]) << "mask " << i;
    }
    EXPECT_EQ(config.ConfigFillerBytes[31], 34);
    EXPECT_EQ(config.ConfigFillerWords[0], 0x5A5A0000u);
  }
}

}  // namespace
}  // namespace orb::test
