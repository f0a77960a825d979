// config.ini and the save slots against files built here from the offset
// tables, and damaged files that must give defaults or values in range.
#include <cmath>

#include "game/world/config_file.h"
#include "game/world/game_state.h"
#include "game/world/input.h"
#include "game/world/save_slots.h"
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

// Values out of range in an otherwise sound file are brought into range;
// damage anywhere in the files is the save_slot fuzz target's work.
TEST_F(SaveSlotTest, OutOfRangeValuesAreClamped) {
  ASSERT_TRUE(EnsureFolder());
  for (const float playTime : {NAN, -5.0f, INFINITY}) {
    SaveContents s = SlotBytes(0);
    s.full[1806] = 200;
    Le32(s.full, 164 + 5 * 9 + 1, 0xFFFFFFFFu);
    Le32(s.full, 164 + 6 * 9 + 5, 0);
    Le32(s.full, 254, 0x80000000u);
    Le32(s.full, 160, FloatBits(playTime));
    Le32(s.summary, 160, FloatBits(playTime));
    s.summary[164] = 9;
    Le32(s.summary, 174, 99);
    WriteBytes("file/data1.dat", s.full);
    WriteBytes("file/setdata1.dat", s.summary);
    game.SaveSlotIndex = 0;
    ReadSaveSlot();
    ReadSaveSlotSummaries();
    EXPECT_LE(game.DifficultyLevel, 3);
    EXPECT_TRUE(std::isfinite(game.PlayTimeFrames) && game.PlayTimeFrames >= 0.0f);
    EXPECT_TRUE(game.party[5].hitPointsMax >= 1 && game.party[5].hitPointsMax <= 255);
    EXPECT_TRUE(game.party[6].powerMax >= 1 && game.party[6].powerMax <= 255);
    EXPECT_TRUE(game.ItemCounters[0] >= 0 && game.ItemCounters[0] <= 14);
    const SlotSummary& sum = saves.summaries[0];
    EXPECT_TRUE(std::isfinite(sum.playTime) && sum.playTime >= 0.0f);
    EXPECT_LE(sum.joined[0], 1);
    EXPECT_TRUE(sum.counters[0] >= 0 && sum.counters[0] <= 14);
  }
}

}  // namespace
}  // namespace orb::test
