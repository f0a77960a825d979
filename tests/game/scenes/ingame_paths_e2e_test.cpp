// Scripted headless play-throughs of the ways out of play, on the
// placeholder assets with the framework drawing: a knock-out with nothing
// left through the game over to the retry, a recruit's join banner, a held
// life reviving a member on the character panel, and a save slot deleted
// on the title by holding Delete. The backdrop of each in-game screen is
// checked against the back screen as the frame left it just before the
// screen drew over it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "framework/core/life_test_support.h"
#include "framework/graphics/screen/screen.h"
#include "framework/qorlib.h"
#include "game/enemies/enemies.h"
#include "game/game_reset.h"
#include "game/graph_calls.h"
#include "game/world/asset_table.h"
#include "game/world/game_state.h"
#include "game/world/input.h"
#include "game/world/pools.h"
#include "game/world/roster.h"
#include "game/world/save_slots.h"
#include "game/scenes/scenes.h"
#include "game/stages/stage_setup.h"
#include "platform/host/headless/headless_control.h"

namespace orb::test {
namespace {

namespace hl = plat::headless;

constexpr uint32_t kDecide = 0x10, kCancel = 0x20, kChange = 0x80;

// FNV-1a over the rows of the surface the game draws on.
uint64_t DrawTargetHash() {
  const qor::ScreenState& s = qor::GetScreenState();
  const plat::DDSurface* t = s.targetSurface;
  if (t == nullptr) return 0;
  uint64_t h = 1469598103934665603ull;
  const size_t row = static_cast<size_t>(t->width()) * s.format.bytesPerPixel;
  for (int y = 0; y < t->height(); ++y) {
    const uint8_t* p = t->memory() + static_cast<size_t>(y) * static_cast<size_t>(t->pitch());
    for (size_t i = 0; i < row; ++i) h = (h ^ p[i]) * 1099511628211ull;
  }
  return h;
}

// Every draw of the backdrop graph (a plain whole-screen blit): the screen
// just before it and just after it, which is the graph's picture.
struct BackdropDraw {
  uint8_t state;
  int32_t timer;
  uint64_t before, after;
};
std::vector<BackdropDraw> g_backdrops;
BackdropDraw g_capture;  // the screen at the last capture, with the state
int g_captures = 0;
int (*g_blit)(int, int, int, int) = nullptr;
int (*g_captureCall)(int, int, int, int, int, int) = nullptr;

int RecordBlit(int x, int y, int graph, int transparent) {
  if (graph != assets.stateBackdrop) return g_blit(x, y, graph, transparent);
  const uint64_t before = DrawTargetHash();
  const int r = g_blit(x, y, graph, transparent);
  g_backdrops.push_back({game.InGameState, game.InGameStateTimer, before, DrawTargetHash()});
  return r;
}
int RecordCapture(int x1, int y1, int x2, int y2, int graph, int flag) {
  g_capture = {game.InGameState, game.InGameStateTimer, DrawTargetHash(), 0};
  ++g_captures;
  return g_captureCall(x1, y1, x2, y2, graph, flag);
}

uint32_t g_pad = 0;
int ScriptedPad(int padValue) { return padValue == 2 ? 0 : static_cast<int>(g_pad); }

// Framework up headless at 640 x 480 x 16 in a scratch folder.
void StartFramework() {
  hl::SetMaxKeptFrames(1);
  qor::SwitchWindowModePublic(1);
  qor::ChooseDrawModePublic(0);
  qor::SetKeyColorRGBPublic(0, 255, 0);
  qor::RequestScreenModePublic(640, 480, 16, 60);
  ASSERT_EQ(qor::InitFramework(), 0);
}

class InGamePathsE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameModules();
    StartFramework();
    ASSERT_EQ(std::system((std::string(ORB_MKASSETS_PATH) + " . > /dev/null").c_str()), 0);
    InstallFrameworkGraphCalls();
    LoadGameAssets();
    g_blit = graphCalls.blitGraph;
    graphCalls.blitGraph = RecordBlit;
    g_captureCall = graphCalls.captureScreenToGraph;
    graphCalls.captureScreenToGraph = RecordCapture;
    input.padReader = ScriptedPad;
    DefaultPlayerMasks(input.LiveButtonMasks);
    DefaultPlayerMasks(input.LiveButtonMasks + 5);
    ResetNewGame();
    game.DifficultyLevel = 1;
    StartSceneFrames(false);
    RunStageSetup(1);
    game.InGameState = 0;
    game.InGameStateTimer = 0;
    game.PlayFrameCount = 100;
    Frames(30);  // the players land at the hub
    ASSERT_EQ(pools.players[0].inAir, 0);
    g_backdrops.clear();
  }
  void TearDown() override {
    ResetGameModules();
    qor::EndFramework();
  }

  // One frame of the play scene's skeleton with player 1's pad bits.
  static void Frame(uint32_t pad = 0) {
    g_pad = pad;
    qor::EraseDrawTargetPublic();
    StepPlayFrame();
    qor::PresentFramePublic();
  }
  static void Frames(int n, uint32_t pad = 0) {
    for (int i = 0; i < n; ++i) Frame(pad);
  }
  // Frames until the in-game state is `state`; how many were played.
  static int FramesUntil(uint8_t state, int limit) {
    int n = 0;
    while (game.InGameState != state && n < limit) Frame(), ++n;
    return n;
  }

  // The backdrops drawn in `state`: how many, and how many show `picture`
  // (by default the screen as it stood before the first of them, the frame
  // just played when the state began).
  static std::pair<size_t, size_t> Backdrops(uint8_t state, uint64_t picture = 0) {
    size_t drawn = 0, showing = 0;
    for (const BackdropDraw& d : g_backdrops) {
      if (d.state != state) continue;
      if (drawn++ == 0 && picture == 0) picture = d.before;
      showing += d.after == picture;
    }
    return {drawn, showing};
  }

  lifetest::LifeScope scope_;
};

TEST_F(InGamePathsE2E, ALastKnockOutWithNoLifeLeftRunsTheGameOverToTheRetry) {
  game.LivesLeft = 0;
  game.party[1].down = 1;
  game.party[0].hitPoints = 0;
  Frame();
  ASSERT_EQ(pools.players[0].knockedOut, 1);
  // The knock-out hands over on its 32nd frame: the game over.
  EXPECT_EQ(FramesUntil(3, 100), 32);
  EXPECT_EQ(game.InGameStateTimer, 1);
  EXPECT_EQ(pools.players[0].knockedOut, 0);
  // 144 frames of game over, the last of which is the retry's.
  EXPECT_EQ(FramesUntil(1, 400), 143);
  EXPECT_EQ(Backdrops(3), std::make_pair(size_t{15}, size_t{15}));  // timers 1 to 15, then black
  EXPECT_EQ(game.InGameStateTimer, 16);
  EXPECT_EQ(game.CurrentStage, 1);
  EXPECT_EQ(game.LivesLeft, 3);
  EXPECT_EQ(game.ActiveCharacter[0], 0);
  EXPECT_EQ(game.ActiveCharacter[1], 1);
  for (const PartyMember& m : game.party) {
    EXPECT_EQ(m.down, 0);
    EXPECT_EQ(m.hitPoints, m.hitPointsMax);
    EXPECT_EQ(m.power, static_cast<float>(m.powerMax));
  }
  // The retry's first frame is stage 1's world frame, captured at timer 16;
  // the fade back into play shows it.
  g_captures = 0;
  EXPECT_EQ(FramesUntil(0, 100), 16);
  EXPECT_EQ(g_captures, 1);
  EXPECT_EQ(g_capture.state, 1);
  EXPECT_EQ(g_capture.timer, 16);
  EXPECT_EQ(Backdrops(1, g_capture.before), std::make_pair(size_t{15}, size_t{15}));
}

TEST_F(InGamePathsE2E, ARecruitsJoinBannerShowsTheFrameOfTheRecruit) {
  PlayerRecord& p = pools.players[0];
  SpawnEnemy(0, 0, 30, 0, 1, 50, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);  // a beaten boss of member 3
  EnemyRecord& boss = LastEnemy();
  boss.head.state = kActorActive;
  boss.head.x = p.head.x;
  boss.head.y = p.head.y;
  ASSERT_EQ(game.party[3].joined, 0);
  int frames = 0;
  while (game.InGameState != 5 && frames < 4) Frame(kPadDown), ++frames;  // crouch onto it
  ASSERT_EQ(game.InGameState, 5);
  EXPECT_EQ(scenes.JoinedMemberIndex, 3);
  EXPECT_EQ(game.party[3].joined, 1);
  EXPECT_EQ(boss.head.state, kActorFree);
  // The banner runs 128 frames, its first the recruit's; a backdrop in each.
  EXPECT_EQ(FramesUntil(0, 200), 127);
  EXPECT_EQ(Backdrops(5), std::make_pair(size_t{128}, size_t{128}));
}

// The character panel, one press per step (and a frame with nothing held
// after it): what the cursor, the lives and the member show afterwards.
struct PanelStep {
  uint32_t press;
  int32_t cell, lives;
  uint8_t holding, down;
  bool closing;
  const char* what;
};

TEST_F(InGamePathsE2E, AHeldLifeRevivesADownMemberAndThePanelRefusesTheRest) {
  game.LivesLeft = 1;
  game.party[1].down = 1;
  game.party[1].hitPoints = 0;
  game.party[1].power = 0;
  Frame(kChange);
  ASSERT_EQ(game.InGameState, 2);
  Frames(16);  // the panel slides up and takes keys from timer 16
  const PanelStep steps[] = {
      {kPadRight, 1, 1, 0, 1, false, "onto the down member"},
      {kChange, 1, 1, 0, 1, false, "a down member cannot be chosen"},
      {kPadDown, 10, 1, 0, 1, false, "past the empty row to the life cell"},
      {kChange, 10, 1, 0, 1, false, "the life cell cannot be chosen"},
      {kDecide, 10, 0, 1, 1, false, "a life taken"},
      {kCancel, 10, 1, 0, 1, false, "and put back"},
      {kDecide, 10, 0, 1, 1, false, "taken again"},
      {kDecide, 10, 0, 1, 1, false, "the life cell takes no second life"},
      {kPadUp, 0, 0, 1, 1, false, "up from the life cell to row 0"},
      {kChange, 0, 0, 1, 1, false, "no choosing while a life is held"},
      {kDecide, 0, 0, 1, 1, false, "a member up is not revived"},
      {kPadRight, 1, 0, 1, 1, false, "onto the down member, still holding"},
      {kDecide, 1, 0, 0, 0, false, "revived"},
      {kPadDown, 10, 0, 0, 0, false, "back to the life cell"},
      {kDecide, 10, 0, 0, 0, false, "no life left to take"},
      {kPadUp, 0, 0, 0, 0, false, "row 0"},
      {kPadRight, 1, 0, 0, 0, false, "the revived member"},
      {kChange, 1, 0, 0, 0, true, "chosen"},
  };
  for (const PanelStep& s : steps) {
    Frame(s.press);
    Frame();
    EXPECT_EQ(std::make_tuple(game.InGameState, game.ActiveCharacter[0], game.LivesLeft, scenes.HoldingLife[0],
                              game.party[1].down, game.InGameStateTimer >= 100000),
              std::make_tuple(uint8_t{2}, s.cell, s.lives, s.holding, s.down, s.closing))
        << s.what;
  }
  EXPECT_EQ(game.party[1].hitPoints, game.party[1].hitPointsMax);
  EXPECT_EQ(game.party[1].power, static_cast<float>(game.party[1].powerMax));
  EXPECT_EQ(FramesUntil(0, 100), 15);  // 16 frames of closing, the first already played
  EXPECT_EQ(game.ActiveCharacter[0], 1);
}

// The title with slot 1 in use: the file page opened, Delete held for a
// number of frames, the window closed; whether the slot's summary on disk
// still names member 0.
class TitleDeleteE2E : public ::testing::TestWithParam<int> {};

int g_decideFrame = 0;
int TitlePad(int padValue) {
  const int64_t f = static_cast<int64_t>(hl::FrameCount());
  return padValue != 2 && f >= g_decideFrame && f < g_decideFrame + 3 ? static_cast<int>(kDecide) : 0;
}

TEST_P(TitleDeleteE2E, TheSlotGoesAfter300FramesHeldAndNotOneSooner) {
  const int held = GetParam();
  lifetest::LifeScope scope;
  ResetGameModules();
  StartFramework();
  ResetNewGame();
  game.SaveSlotIndex = 0;
  ASSERT_TRUE(WriteSaveSlot());
  ASSERT_EQ(testsupport::ReadBytes("file/setdata1.dat").at(164), 1);
  DefaultPlayerMasks(input.ConfigButtonMasks);
  DefaultPlayerMasks(input.ConfigButtonMasks + 5);
  input.padReader = TitlePad;
  const uint64_t start = hl::FrameCount();
  g_decideFrame = static_cast<int>(start) + 40;  // main page ready: the file page
  const uint64_t down = start + 100;                // the file page ready
  hl::ScriptEventAtFrame(down, hl::KeyEvent(true, plat::hid::Delete));
  hl::ScriptEventAtFrame(down + static_cast<uint64_t>(held), hl::KeyEvent(false, plat::hid::Delete));
  plat::HostEvent close;
  close.kind = plat::HostEventKind::CloseRequest;
  hl::ScriptEventAtFrame(down + static_cast<uint64_t>(held) + 20, close);
  RunTitleScreen();
  EXPECT_EQ(scenes.TitleSubState, 1);
  EXPECT_EQ(scenes.DeleteHoldFrames, 0);
  EXPECT_EQ(testsupport::ReadBytes("file/setdata1.dat").at(164), held >= 300 ? 0 : 1) << held;
  ResetGameModules();
  qor::EndFramework();
}

INSTANTIATE_TEST_SUITE_P(HeldFrames, TitleDeleteE2E, ::testing::Values(299, 300));

}  // namespace
}  // namespace orb::test
