// Scripted headless play-throughs of the whole program on the placeholder
// assets: pad presses by frame, the program's own entry point, and checks
// on the game state, the files it leaves and the frames it presents.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/core/life_test_support.h"
#include "framework/graphics/graphs/graph_record.h"
#include "framework/sound/sound_state.h"
#include "framework/qorlib.h"
#include "game/world/config_file.h"
#include "game/game_reset.h"
#include "game/world/game_state.h"
#include "game/graph_calls.h"
#include "game/scenes/scenes.h"
#include "platform/host/headless/headless_control.h"

namespace {

using namespace orb;

enum Press { kDecide, kCancel, kPause, kDown, kUp, kRight };

struct Step {
  int gap;  // frames after the previous press
  Press press;
};

// Splash (127 pictures) and the first frames of the opening; the skip lands
// on opening frame 10 and the title starts about 73 pictures later.
constexpr uint64_t kSkipFrame = 136;
constexpr uint64_t kTitleStart = 200;

struct Box {
  uint64_t frame;
  int x1, y1, x2, y2;
  uint32_t colour;
  int graphs, sounds;  // live handles when the box was painted
  int graphUsedEnd, graphChecks;  // the graph table's used end and next check number then
};
std::vector<Box> g_boxes;
int (*g_paint)(int, int, int, int, uint32_t, int) = nullptr;

int RecordBox(int x1, int y1, int x2, int y2, uint32_t colour, int filled) {
  const qor::HandleTable* graphs = qor::GraphTable();
  g_boxes.push_back({plat::headless::FrameCount(), x1, y1, x2, y2, colour, graphs->liveCount,
                     qor::GetSoundState().table.liveCount, graphs->usedEnd, graphs->checkCounter});
  return g_paint(x1, y1, x2, y2, colour, filled);
}

void ScriptPress(uint64_t frame, Press press) {
  plat::HostPadState down;
  switch (press) {
    case kDecide: down.buttons[0] = 1; break;
    case kCancel: down.buttons[1] = 1; break;
    case kPause: down.buttons[4] = 1; break;
    case kDown: down.axes[1] = 32767; break;
    case kUp: down.axes[1] = -32768; break;
    case kRight: down.axes[0] = 32767; break;
  }
  plat::headless::ScriptPadStateAtFrame(frame, 0, down);
  plat::headless::ScriptPadStateAtFrame(frame + 3, 0, plat::HostPadState{});
}

struct RunResult {
  int rc = 0;
  std::vector<uint64_t> hashes;
};

// Runs the program from a clean state with presses from the title on.
RunResult RunScript(const std::vector<Step>& steps, uint64_t closeAtFrame = 0,
                    const std::vector<std::pair<uint64_t, Press>>& extra = {}) {
  ResetGameModules();
  lifetest::ResetLife();
  plat::headless::SetMaxKeptFrames(2);
  plat::headless::AddPad("scripted pad", 2, 0, 10, false);
  ScriptPress(kSkipFrame, kDecide);
  for (const auto& [frame, press] : extra) ScriptPress(frame, press);
  uint64_t at = kTitleStart;
  for (const Step& s : steps) {
    at += static_cast<uint64_t>(s.gap);
    ScriptPress(at, s.press);
  }
  {
    // A script that goes astray still ends (at the title, a close writes nothing).
    if (!closeAtFrame) closeAtFrame = at + 1000;
    plat::HostEvent close;
    close.kind = plat::HostEventKind::CloseRequest;
    plat::headless::ScriptEventAtFrame(closeAtFrame, close);
  }
  InstallFrameworkGraphCalls();
  g_paint = graphCalls.paintBox;
  graphCalls.paintBox = RecordBox;
  g_boxes.clear();
  RunResult r;
  r.rc = WinMain(nullptr, nullptr, nullptr, 0);
  r.hashes = plat::headless::FrameHashes();
  return r;
}

long FileSize(const char* path) {
  struct stat st;
  return stat(path, &st) == 0 ? static_cast<long>(st.st_size) : -1;
}

// Frames in which the HUD painted player 1's hit-point background.
int HudFrames(int hpMax) {
  const uint32_t grey = static_cast<uint32_t>(qor::PackColorRGBPublic(11, 11, 11));
  int n = 0;
  for (const Box& b : g_boxes) n += b.x1 == 62 && b.y1 == 1 && b.x2 == 62 + hpMax && b.y2 == 13 && b.colour == grey;
  return n;
}

bool Painted(int x1, int y1, int x2, int y2, int r, int g, int b) {
  const uint32_t c = static_cast<uint32_t>(qor::PackColorRGBPublic(r, g, b));
  for (const Box& box : g_boxes) {
    if (box.x1 == x1 && box.y1 == y1 && box.x2 == x2 && box.y2 == y2 && box.colour == c) return true;
  }
  return false;
}

class ScenesE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string cmd = std::string(ORB_MKASSETS_PATH) + " . > /dev/null";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
  }
  void TearDown() override {
    ResetGameModules();
    lifetest::ResetLife();
  }
  coretest::ScratchDir dir_;
};

// Title, one player, empty slot 1, difficulty 2; in play pause, second row
// (back to the title), then up to the quit row and quit.
const std::vector<Step> kNewGameScript = {
    {36, kDecide}, {38, kDecide}, {38, kDown}, {2, kDecide},  // into play
    {50, kPause},  {20, kDown},   {4, kDecide},               // pause, title row
    {40, kUp},     {4, kDecide},                              // quit
};

TEST_F(ScenesE2E, NewGameSavesItsSlotAndTheSameScriptGivesTheSameFrames) {
  const std::string config = dir_.Read("config.ini");
  const RunResult first = RunScript(kNewGameScript);
  EXPECT_EQ(first.rc, 0);
  EXPECT_EQ(game.DifficultyLevel, 2);
  EXPECT_EQ(game.CurrentStage, 1);
  EXPECT_EQ(FileSize("file/data1.dat"), 1936);
  EXPECT_EQ(FileSize("file/setdata1.dat"), 319);
  EXPECT_EQ(FileSize("file/data2.dat"), -1);
  EXPECT_EQ(dir_.Read("config.ini"), config);  // the title's quit wrote nothing

  // Member 0 (100 hit points, 110 power) at y 320: the bars on row 1.
  const int worldFrames = HudFrames(100);
  EXPECT_GT(worldFrames, 20);
  EXPECT_EQ(game.PlayTimeFrames, static_cast<float>(worldFrames));
  EXPECT_TRUE(Painted(62, 18, 172, 30, 11, 11, 11));
  EXPECT_TRUE(Painted(62, 1, 162, 13, 211, 12, 77));
  EXPECT_TRUE(Painted(62, 18, 172, 30, 12, 77, 211));

  // The same script from the same files gives the same pictures.
  ASSERT_EQ(std::system("rm -r file"), 0);
  const RunResult second = RunScript(kNewGameScript);
  EXPECT_EQ(second.rc, 0);
  EXPECT_EQ(second.hashes, first.hashes);
  std::vector<uint64_t> distinct = first.hashes;
  std::sort(distinct.begin(), distinct.end());
  EXPECT_GT(std::unique(distinct.begin(), distinct.end()) - distinct.begin(), 100);  // the hashes tell frames apart

  // Slot 1 is now used: deciding on it resumes with its difficulty and time.
  const float saved = game.PlayTimeFrames;
  const std::vector<Step> resume = {
      {36, kDecide}, {38, kDecide},               // one player, slot 1
      {50, kPause},  {20, kDown}, {4, kDecide},   // back to the title
      {40, kUp},     {4, kDecide},
  };
  EXPECT_EQ(RunScript(resume).rc, 0);
  EXPECT_EQ(game.DifficultyLevel, 2);
  EXPECT_EQ(game.PlayTimeFrames, saved + static_cast<float>(HudFrames(100)));
}

TEST_F(ScenesE2E, ClosingTheWindowSavesInPlayButNotAtTheTitle) {
  EXPECT_EQ(RunScript({}, kTitleStart + 60).rc, 0);
  EXPECT_EQ(FileSize("file/data1.dat"), -1);
  const std::vector<Step> toPlay = {{36, kDecide}, {38, kDecide}, {38, kDecide}};
  EXPECT_EQ(RunScript(toPlay, kTitleStart + 160).rc, 0);
  EXPECT_EQ(FileSize("file/data1.dat"), 1936);
  EXPECT_EQ(game.DifficultyLevel, 1);  // the difficulty page opens on its second row
}

TEST_F(ScenesE2E, ChangingTheWindowModeRerunsTheStartUpWithoutGrowingTheTables) {
  // Options, window mode toggled, cancel: the start-up pass runs again in
  // full screen; its opening is skipped and the second title is closed.
  const std::vector<Step> toggle = {{36, kDown}, {6, kDown}, {6, kDecide}, {38, kRight}, {6, kCancel}};
  const uint64_t rerun = kTitleStart + 92;
  const RunResult r = RunScript(toggle, rerun + 400, {{rerun + 147, kDecide}, {rerun + 197, kDecide}});
  EXPECT_EQ(r.rc, 0);
  EXPECT_EQ(config.WindowedMode, 0);
  EXPECT_EQ(qor::IsWindowedModePublic(), 0);
  ASSERT_FALSE(g_boxes.empty());
  const Box* firstTitle = nullptr;
  for (const Box& b : g_boxes) {
    if (!firstTitle && b.frame >= kTitleStart) firstTitle = &b;
  }
  ASSERT_NE(firstTitle, nullptr);
  const Box& secondTitle = g_boxes.back();
  EXPECT_GT(secondTitle.frame, rerun + 127);
  EXPECT_EQ(secondTitle.graphs, firstTitle->graphs);
  EXPECT_EQ(secondTitle.sounds, firstTitle->sounds);
  // The mode change started graphics management afresh: the second pass
  // loaded its pictures into the same slots under the same check numbers.
  EXPECT_EQ(secondTitle.graphUsedEnd, firstTitle->graphUsedEnd);
  EXPECT_EQ(secondTitle.graphChecks, firstTitle->graphChecks);
}

}  // namespace
