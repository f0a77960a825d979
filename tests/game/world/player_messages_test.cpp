// What the player is told about the game's own files, one line on stderr
// each: a damaged config.ini replaced by defaults, a config or save that
// cannot be written (play goes on), a damaged save kept aside under a new
// name before a new one is written over its place.
#include <sys/stat.h>

#include <string>

#include "game/world/config_file.h"
#include "game/world/game_state.h"
#include "game/world/input.h"
#include "game/world/save_slots.h"
#include "game_test_support.h"

namespace orb::test {
namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

using MessagesTest = GameFilesTest;

#define EXPECT_SAYS(text, part) EXPECT_NE((text).find(part), std::string::npos) << (text)

int Lines(const std::string& text) {
  int n = 0;
  for (char c : text) n += c == '\n';
  return n;
}

bool Exists(const char* path) {
  struct stat st;
  return stat(path, &st) == 0;
}

TEST_F(MessagesTest, ADamagedConfigIsReplacedByDefaultsWithOneLine) {
  CaptureStderr();
  LoadConfigFile();  // missing: the first run, nothing to say
  EXPECT_EQ(GetCapturedStderr(), "");

  WriteBytes("config.ini", std::vector<uint8_t>(201, 7));  // one byte short
  CaptureStderr();
  LoadConfigFile();
  const std::string said = GetCapturedStderr();
  EXPECT_EQ(Lines(said), 1) << said;
  EXPECT_SAYS(said, ("orbworld: config.ini in " + dir_.host + " is damaged (201 bytes, not 202)"));
  EXPECT_SAYS(said, ("replaced by the default settings"));
  EXPECT_EQ(ReadBytes("config.ini").size(), 202u);
  EXPECT_EQ(input.LiveButtonMasks[0], 0x10u);

  // Whole, but with player 2's buttons all on one bit: those come back alone.
  std::vector<uint8_t> bytes = ReadBytes("config.ini");
  for (int i = 5; i < 10; ++i) Le32(bytes, 162 + i * 4, 0x40);
  bytes[160] = 0;
  WriteBytes("config.ini", bytes);
  CaptureStderr();
  LoadConfigFile();
  const std::string buttons = GetCapturedStderr();
  EXPECT_EQ(Lines(buttons), 1) << buttons;
  EXPECT_SAYS(buttons, ("damaged buttons for player 2; replaced by the default buttons"));
  EXPECT_EQ(config.WindowedMode, 0);  // the rest of the file still counts
  EXPECT_EQ(input.LiveButtonMasks[5], 0x10u);
}

TEST_F(MessagesTest, AConfigThatCannotBeWrittenSaysSoAndTheSettingsStay) {
  ASSERT_EQ(mkdir("config.ini.tmp", 0777), 0);  // the temporary file cannot be made
  config.WindowedMode = 0;
  CaptureStderr();
  EXPECT_FALSE(SaveConfigFile());
  const std::string said = GetCapturedStderr();
  EXPECT_EQ(Lines(said), 1) << said;
  EXPECT_SAYS(said, ("cannot write config.ini in " + dir_.host + " ("));
  EXPECT_SAYS(said, ("the settings hold for this run only"));
  EXPECT_EQ(config.WindowedMode, 0);
  EXPECT_FALSE(Exists("config.ini"));
}

TEST_F(MessagesTest, ASaveThatCannotBeWrittenSaysSoOnce) {
  // "file" is a plain file: no folder for the slots.
  WriteBytes("file", {1, 2, 3});
  game.SaveSlotIndex = 1;
  CaptureStderr();
  EXPECT_FALSE(WriteSaveSlot());
  std::string said = GetCapturedStderr();
  EXPECT_EQ(Lines(said), 1) << said;
  EXPECT_SAYS(said, ("cannot save to " + dir_.host + "/file/data2.dat ("));
  EXPECT_SAYS(said, ("play goes on unsaved"));
  EXPECT_EQ(ReadBytes("file"), (std::vector<uint8_t>{1, 2, 3}));

  // The folder is there but the summary cannot be written.
  std::remove("file");
  ASSERT_TRUE(EnsureFolder());
  ASSERT_EQ(mkdir("file/setdata2.dat.tmp", 0777), 0);
  CaptureStderr();
  EXPECT_FALSE(WriteSaveSlot());
  said = GetCapturedStderr();
  EXPECT_EQ(Lines(said), 1) << said;
  EXPECT_SAYS(said, ("cannot save to " + dir_.host + "/file/setdata2.dat ("));
  EXPECT_EQ(ReadBytes("file/data2.dat").size(), 1936u);
}

TEST_F(MessagesTest, ADamagedSaveIsKeptAsideNeverOverwritten) {
  ASSERT_TRUE(EnsureFolder());
  const std::vector<uint8_t> damaged(100, 0xAB), again(1937, 0xCD);
  WriteBytes("file/data1.dat", damaged);
  game.SaveSlotIndex = 0;
  CaptureStderr();
  ReadSaveSlot();
  std::string said = GetCapturedStderr();
  EXPECT_EQ(Lines(said), 1) << said;
  EXPECT_SAYS(said, (dir_.host + "/file/data1.dat is damaged (100 bytes, not 1936); kept as "
                                          "file/data1.dat.damaged, the slot starts afresh"));
  EXPECT_FALSE(Exists("file/data1.dat"));
  EXPECT_EQ(ReadBytes("file/data1.dat.damaged"), damaged);

  // The new save takes the slot's place; the kept file stays as it was.
  ASSERT_TRUE(WriteSaveSlot());
  EXPECT_EQ(ReadBytes("file/data1.dat").size(), 1936u);
  EXPECT_EQ(ReadBytes("file/data1.dat.damaged"), damaged);

  // A second damaged file takes the next free name.
  WriteBytes("file/data1.dat", again);
  CaptureStderr();
  ReadSaveSlot();
  said = GetCapturedStderr();
  EXPECT_SAYS(said, ("(1937 bytes, not 1936); kept as file/data1.dat.damaged2"));
  EXPECT_EQ(ReadBytes("file/data1.dat.damaged"), damaged);
  EXPECT_EQ(ReadBytes("file/data1.dat.damaged2"), again);
}

TEST_F(MessagesTest, ADamagedSummaryTakesItsFullFileAsideWithIt) {
  ASSERT_TRUE(EnsureFolder());
  game.SaveSlotIndex = 2;
  ASSERT_TRUE(WriteSaveSlot());
  const std::vector<uint8_t> full = ReadBytes("file/data3.dat");
  WriteBytes("file/setdata3.dat", std::vector<uint8_t>(10, 1));
  CaptureStderr();
  ReadSaveSlotSummaries();
  const std::string said = GetCapturedStderr();
  EXPECT_EQ(Lines(said), 1) << said;
  EXPECT_SAYS(said, ("file/setdata3.dat is damaged (10 bytes, not 319); kept as file/setdata3.dat.damaged "
                              "and file/data3.dat as file/data3.dat.damaged"));
  EXPECT_FALSE(SlotUsed(2));
  // A new game in the slot now writes fresh files; the old pair is kept.
  ASSERT_TRUE(WriteSaveSlot());
  EXPECT_EQ(ReadBytes("file/data3.dat.damaged"), full);
  EXPECT_EQ(ReadBytes("file/setdata3.dat.damaged"), std::vector<uint8_t>(10, 1));
}

}  // namespace
}  // namespace orb::test
