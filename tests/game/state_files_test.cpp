// config.ini and the save slots against files built here from the offset
// tables, and damaged files that must give defaults or values in range.
#include <cmath>
#include <random>

#include "game/config_file.h"
#include "game/game_state.h"
#include "game/input.h"
#include "game/save_slots.h"
#include "game_test_support.h"

namespace orb::test {
namespace {

using ConfigFileTest = GameFilesTest;
using SaveSlotTest = GameFilesTest;

std::vector<uint8_t> ConfigBytes(uint8_t windowed, uint8_t camera, const uint32_t (&masks)[10]) {
  std::vector<uint8_t> b(202);
  for (int i = 0; i < 32; ++i) {
    b[i * 5] = static_cast<uint8_t>(200 - i);
    Le32(b, i * 5 + 1, 0xA0000000u + i);
  }
  b[160] = windowed;
  b[161] = camera;
  for (int i = 0; i < 10; ++i) Le32(b, 162 + i * 4, masks[i]);
  return b;
}

TEST_F(ConfigFileTest, ReadsTheFieldsAndWritesBackTheSameBytes) {
  const uint32_t masks[10] = {0x2000, 0x10, 0x400, 0x20, 0x80, 0x100, 0x200, 0x800, 0x1000, 0x40};
  const std::vector<uint8_t> file = ConfigBytes(0, 1, masks);
  WriteBytes("config.ini", file);
  LoadConfigFile();
  EXPECT_EQ(config.WindowedMode, 0);
  EXPECT_EQ(config.CameraFollowOne, 1);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(input.ConfigButtonMasks[i], masks[i]);
    EXPECT_EQ(input.LiveButtonMasks[i], masks[i]);
  }
  EXPECT_EQ(config.ConfigFillerWords[31], 0xA000001Fu);
  std::remove("config.ini");
  ASSERT_TRUE(SaveConfigFile());
  EXPECT_EQ(ReadBytes("config.ini"), file);
  EXPECT_TRUE(ReadBytes("config.ini.tmp").empty());
}

TEST_F(ConfigFileTest, MissingShortOrBadFilesGiveUsableValues) {
  const uint32_t defaults[5] = {0x10, 0x20, 0x40, 0x80, 0x100};
  // Missing: defaults, written back.
  LoadConfigFile();
  EXPECT_EQ(config.WindowedMode, 1);
  EXPECT_EQ(config.CameraFollowOne, 0);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(input.LiveButtonMasks[i], defaults[i % 5]);
  EXPECT_EQ(ReadBytes("config.ini").size(), 202u);

  // Short: defaults again, even over values read before.
  input.ConfigButtonMasks[0] = 0x2000;
  WriteBytes("config.ini", std::vector<uint8_t>(201, 0));
  LoadConfigFile();
  EXPECT_EQ(input.ConfigButtonMasks[0], 0x10u);
  EXPECT_EQ(ReadBytes("config.ini").size(), 202u);

  // Options other than 0/1 read as 1; a player with a zero, doubled or
  // direction mask gets the defaults while the other keeps his.
  const uint32_t masks[10] = {0, 0x20, 0x40, 0x80, 0x100, 0x200, 0x400, 0x800, 0x1000, 0x2000};
  WriteBytes("config.ini", ConfigBytes(7, 255, masks));
  LoadConfigFile();
  EXPECT_EQ(config.WindowedMode, 1);
  EXPECT_EQ(config.CameraFollowOne, 1);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(input.LiveButtonMasks[i], defaults[i]);
  for (int i = 5; i < 10; ++i) EXPECT_EQ(input.LiveButtonMasks[i], masks[i]);
  const uint32_t doubled[10] = {0x10, 0x10, 0x40, 0x80, 0x100, 0x4, 0x20, 0x40, 0x80, 0x100};
  WriteBytes("config.ini", ConfigBytes(1, 0, doubled));
  LoadConfigFile();
  for (int i = 0; i < 10; ++i) EXPECT_EQ(input.LiveButtonMasks[i], defaults[i % 5]);
}

struct SaveContents {
  std::vector<uint8_t> full, summary;
};

// A slot as the offset tables lay it out.
SaveContents SlotBytes(uint8_t slotIndex) {
  SaveContents s{std::vector<uint8_t>(1936), std::vector<uint8_t>(319)};
  for (int i = 0; i < 32; ++i) {
    s.full[i * 5] = static_cast<uint8_t>(i + 1);
    Le32(s.full, i * 5 + 1, 0x11110000u + i);
    Le32(s.full, 1808 + i * 4, 0x22220000u + i);
    Le32(s.summary, i * 5, 0x22220000u + i);
    s.summary[i * 5 + 4] = static_cast<uint8_t>(i + 1);
    Le32(s.summary, 191 + i * 4, 0x11110000u + i);
  }
  Le32(s.full, 160, FloatBits(123456.0f));
  Le32(s.summary, 160, FloatBits(123456.0f));
  for (int m = 0; m < 10; ++m) {
    const uint8_t joined = m < 4 ? 1 : 0;
    s.full[164 + m * 9] = joined;
    Le32(s.full, 164 + m * 9 + 1, 100 + m);
    Le32(s.full, 164 + m * 9 + 5, 150 + m);
    s.summary[164 + m] = joined;
  }
  for (int i = 0; i < 4; ++i) {
    Le32(s.full, 254 + i * 4, 3 + i);
    Le32(s.summary, 174 + i * 4, 3 + i);
  }
  for (int stage = 0; stage < 256; ++stage) {
    for (int t = 0; t < 6; ++t) s.full[270 + stage * 6 + t] = (stage + t) % 7 == 0 ? 1 : 0;
  }
  s.full[1806] = 2;
  s.summary[190] = 2;
  s.full[1807] = slotIndex;
  return s;
}

TEST_F(SaveSlotTest, ReadsTheOffsetTableAndWritesItBackByteForByte) {
  ASSERT_TRUE(EnsureFolder());
  const SaveContents s = SlotBytes(1);
  WriteBytes("file/data2.dat", s.full);
  WriteBytes("file/setdata2.dat", s.summary);
  game.SaveSlotIndex = 1;
  ReadSaveSlot();
  EXPECT_EQ(game.PlayTimeFrames, 123456.0f);
  EXPECT_EQ(game.party[3].joined, 1);
  EXPECT_EQ(game.party[4].joined, 0);
  EXPECT_EQ(game.party[9].hitPointsMax, 109);
  EXPECT_EQ(game.party[9].hitPoints, 109);  // full after a load
  EXPECT_EQ(game.party[2].power, 152.0f);
  EXPECT_EQ(game.ItemCounters[3], 6);
  EXPECT_EQ(game.TakenItem6[7], 1);
  EXPECT_EQ(game.WarpGapOpen[2], 1);  // (2 + 5) % 7 == 0
  EXPECT_EQ(game.StageEventDone[3], 1);
  EXPECT_EQ(game.DifficultyLevel, 2);

  ReadSaveSlotSummaries();
  EXPECT_FALSE(SlotUsed(0));
  EXPECT_TRUE(SlotUsed(1));
  EXPECT_EQ(saves.summaries[1].counters[0], 3);

  std::remove("file/data2.dat");
  std::remove("file/setdata2.dat");
  ASSERT_TRUE(WriteSaveSlot());
  EXPECT_EQ(ReadBytes("file/data2.dat"), s.full);
  EXPECT_EQ(ReadBytes("file/setdata2.dat"), s.summary);
}

TEST_F(SaveSlotTest, TheSlotIndexInTheFileNeverRedirectsSaves) {
  ASSERT_TRUE(EnsureFolder());
  WriteBytes("file/data1.dat", SlotBytes(2).full);
  game.SaveSlotIndex = 0;
  ReadSaveSlot();
  EXPECT_EQ(game.SaveSlotIndex, 0);
  ASSERT_TRUE(WriteSaveSlot());
  EXPECT_TRUE(ReadBytes("file/data3.dat").empty());
  EXPECT_EQ(ReadBytes("file/data1.dat")[1807], 0);
}

TEST_F(SaveSlotTest, MissingFilesGiveAFreshGameAndTheFolderIsMade) {
  game.party[0].hitPointsMax = 100;
  game.party[0].joined = 1;
  ReadSaveSlot();  // no folder, no file
  EXPECT_EQ(game.party[0].hitPointsMax, 100);
  EXPECT_EQ(game.party[0].hitPoints, 100);
  ReadSaveSlotSummaries();
  for (int slot = 0; slot < 3; ++slot) EXPECT_FALSE(SlotUsed(slot));
  ASSERT_TRUE(WriteSaveSlot());
  EXPECT_EQ(ReadBytes("file/data1.dat").size(), 1936u);
  EXPECT_EQ(ReadBytes("file/setdata1.dat").size(), 319u);

  // A full file of the wrong size is a fresh game too.
  std::vector<uint8_t> longer = SlotBytes(0).full;
  longer.push_back(0);
  WriteBytes("file/data1.dat", longer);
  ReadSaveSlot();
  EXPECT_EQ(game.party[0].hitPointsMax, 100);
}

TEST_F(SaveSlotTest, DamagedFilesGiveValuesInRange) {
  ASSERT_TRUE(EnsureFolder());
  std::mt19937 rng(19);
  const SaveContents base = SlotBytes(0);
  for (int round = 0; round < 300; ++round) {
    SaveContents s = base;
    // Out-of-range values first, then random flips over the whole file.
    s.full[1806] = static_cast<uint8_t>(rng());
    Le32(s.full, 164 + 5 * 9 + 1, rng());
    Le32(s.full, 254, rng());
    Le32(s.full, 160, round % 3 == 0 ? FloatBits(NAN) : round % 3 == 1 ? FloatBits(-5.0f) : rng());
    Le32(s.summary, 160, FloatBits(INFINITY));
    for (int flips = 0; flips < 8; ++flips) {
      s.full[rng() % s.full.size()] ^= static_cast<uint8_t>(1u << (rng() % 8));
      s.summary[rng() % s.summary.size()] ^= static_cast<uint8_t>(1u << (rng() % 8));
    }
    if (round % 10 == 9) s.summary.resize(rng() % 319);
    WriteBytes("file/data1.dat", s.full);
    WriteBytes("file/setdata1.dat", s.summary);
    game.SaveSlotIndex = 0;
    ReadSaveSlot();
    ReadSaveSlotSummaries();
    EXPECT_LE(game.DifficultyLevel, 3);
    EXPECT_TRUE(std::isfinite(game.PlayTimeFrames) && game.PlayTimeFrames >= 0.0f);
    for (const PartyMember& m : game.party) {
      EXPECT_TRUE(m.hitPointsMax >= 1 && m.hitPointsMax <= 255 && m.powerMax >= 1 && m.powerMax <= 255);
      EXPECT_LE(m.joined, 1);
    }
    for (int c : game.ItemCounters) EXPECT_TRUE(c >= 0 && c <= 14);
    for (int st = 0; st < 256; ++st) EXPECT_LE(game.TakenItem6[st] | game.WarpGapOpen[st] | game.StageEventDone[st], 1);
    const SlotSummary& sum = saves.summaries[0];
    EXPECT_TRUE(std::isfinite(sum.playTime) && sum.playTime >= 0.0f);
    EXPECT_LE(sum.difficulty, 3);
    for (int c : sum.counters) EXPECT_TRUE(c >= 0 && c <= 14);
  }
}

}  // namespace
}  // namespace orb::test
