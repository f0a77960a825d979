// From a save to the staff roll, headless on the placeholder assets through
// the program's own entry point: a slot written by the game's writer with
// the party in stage 148, continued through the title with scripted keys,
// the walk into 149 and the last boss brought down by shots (its hit points
// cut to 1 and the party's held: cheats of this test only), then the
// defeat sequence, the two final stages and the ending back to the title,
// checked at frame numbers computed from the sequence's own steps.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "framework/core/life_test_support.h"
#include "framework/qorlib.h"
#include "game/enemies/enemies.h"
#include "game/game_reset.h"
#include "game/world/game_state.h"
#include "game/graph_calls.h"
#include "game/world/input.h"
#include "game/players/players.h"
#include "game/world/pools.h"
#include "game/world/roster.h"
#include "game/world/save_slots.h"
#include "game/scenes/scenes.h"
#include "game/world/stage_load.h"
#include "platform/dsound/dsound.h"
#include "platform/host/headless/headless_control.h"
#include "game_test_support.h"

namespace orb::test {
namespace {

constexpr uint64_t kSkipFrame = 136;   // the opening skipped
constexpr uint64_t kTitleStart = 200;  // the title's first frame

// What the game showed in one world frame (seen from the stage picture's draw).
struct WorldFrame {
  uint64_t frame;
  int32_t stage, endingPhase, endingTimer;
  int32_t copyTimer;  // the last boss's beaten copy, -1 without
  int32_t actor46Timer;
  int activeBullets;
  int plays;  // sound buffers started so far
};

struct EndingRun {
  std::vector<WorldFrame> log;
  uint64_t copyFirst = 0;  // the frame of the copy's first step
  bool ended = false;      // the play scene ended from the ending
  int titleBlits = 0;      // title pictures drawn after the ending
  std::vector<std::vector<uint32_t>> kept;  // the frames at kKeepAt
  std::vector<uint64_t> hashes;
  int rc = -1;
};

// Ending-clock values whose frames are kept: the white-out at its peak, a
// staff line, the staff panel before it, and the black fade.
constexpr int32_t kKeepAt[] = {2219, 2700, 2530, 8620};

EndingRun* g_run = nullptr;
int (*g_blit)(int, int, int, int) = nullptr;
bool g_moved = false, g_released = false, g_closing = false;
bool g_stopAfter152 = false;

int ActiveBullets() {
  int n = 0;
  for (const ShotRecord& b : pools.enemyBullets) n += b.head.state == kActorActive;
  return n;
}

void Close() {
  plat::HostEvent close;
  close.kind = plat::HostEventKind::CloseRequest;
  plat::headless::PushEvent(close);
  g_closing = true;
}

// Once per world frame (the stage picture is drawn) and for every title
// picture after the ending.
void OnWorldFrame() {
  EndingRun& r = *g_run;
  const uint64_t frame = plat::headless::FrameCount();
  for (PartyMember& m : game.party) m.hitPoints = m.hitPointsMax;
  if (!g_moved) {
    // Play resumes in the hub; the party is taken to 148 as its door would.
    g_moved = true;
    const WarpDestination d = WarpGapDestination(147, 1000, 0, 0, 0, 0);
    game.CurrentStage = d.stage;
    game.EntryX = d.x;
    game.EntryY = d.y;
    game.EntrySide = kEnteredAtPoint;
    game.InGameState = 1;
    game.InGameStateTimer = 0;
    return;
  }
  EnemyRecord& first = pools.enemies[1];
  if (game.CurrentStage == 149 && first.kind == 45 && first.mode == 1 && first.timer >= 200) first.hitPoints = 1;
  WorldFrame w{frame, game.CurrentStage, game.EndingPhase, game.EndingTimer, -1, -1, ActiveBullets(),
               plat::dsound::GetCounters().play};
  for (const EnemyRecord& e : pools.enemies) {
    if (e.head.state == kActorFree) continue;
    if (e.kind == 45 && e.mode == 50) w.copyTimer = e.timer;
    if (e.kind == 46) w.actor46Timer = e.timer;
  }
  if (w.copyTimer >= 0 && r.copyFirst == 0) r.copyFirst = frame;
  // Right through 148; in 149 shots at the boss once its intro is over;
  // nothing once the ending has begun (no pad is read then).
  if (!g_released) {
    plat::HostPadState s;
    const bool shooting = game.CurrentStage == 149 && first.timer >= 200;
    s.axes[0] = shooting ? 0 : 32767;
    s.buttons[2] = shooting ? 1 : 0;
    plat::headless::SetPadState(0, game.EndingPhase == 0 ? s : plat::HostPadState{});
    g_released = game.EndingPhase != 0;
  }
  if (game.CurrentStage == 152 && game.EndingPhase == 3) {
    for (size_t i = 0; i < std::size(kKeepAt); ++i) {
      const plat::headless::KeptFrame* last = plat::headless::LastFrame();
      if (game.EndingTimer == kKeepAt[i] + 1 && last) r.kept[i] = last->pixels;
    }
    if (g_stopAfter152 && game.EndingTimer == 30 && !g_closing) Close();
  }
  r.log.push_back(w);
}

int HookBlit(int x, int y, int graph, int transparent) {
  EndingRun& r = *g_run;
  if (r.ended) {
    if (++r.titleBlits == 200 && !g_closing) Close();
  } else if (graph == stageLoad.StagePictureHandle || graph == stageLoad.StageAltPictureHandle) {
    OnWorldFrame();
  }
  const int rc = g_blit(x, y, graph, transparent);
  if (!r.ended && scenes.LeavePlayFlag && game.EndingPhase == 0 && !r.log.empty() &&
      r.log.back().endingPhase == 3) {
    r.ended = true;
  }
  return rc;
}

void PressDecide(uint64_t frame) {
  plat::HostPadState s;
  s.buttons[0] = 1;
  plat::headless::ScriptPadStateAtFrame(frame, 0, s);
  plat::headless::ScriptPadStateAtFrame(frame + 3, 0, plat::HostPadState{});
}

class EndingE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string cmd = std::string(ORB_MKASSETS_PATH) + " . > /dev/null";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    // The save, written by the game's own writer with the party in 148.
    ResetGameModules();
    ResetNewGame();
    game.DifficultyLevel = 1;
    game.CurrentStage = 148;
    game.SaveSlotIndex = 0;
    ASSERT_TRUE(WriteSaveSlot());
    saved_ = dir_.Read("file/data1.dat");
  }
  void TearDown() override {
    ResetGameModules();
    lifetest::ResetLife();
  }

  static EndingRun Play(bool stopAfter152) {
    ResetGameModules();
    lifetest::ResetLife();
    EndingRun r;
    r.kept.resize(std::size(kKeepAt));
    g_run = &r;
    g_moved = g_released = g_closing = false;
    g_stopAfter152 = stopAfter152;
    plat::headless::SetMaxKeptFrames(2);
    plat::headless::AddPad("scripted pad", 2, 0, 10, false);
    // Opening skipped; one player; slot 1 (used): play resumes.
    PressDecide(kSkipFrame);
    PressDecide(kTitleStart + 36);
    PressDecide(kTitleStart + 74);
    plat::HostEvent close;  // a script gone astray still ends
    close.kind = plat::HostEventKind::CloseRequest;
    plat::headless::ScriptEventAtFrame(20000, close);
    InstallFrameworkGraphCalls();
    g_blit = graphCalls.blitGraph;
    graphCalls.blitGraph = HookBlit;
    r.rc = WinMain(nullptr, nullptr, nullptr, 0);
    r.hashes = plat::headless::FrameHashes();
    g_run = nullptr;
    return r;
  }

  // The world frames from the copy's first step on, by frame number.
  static const WorldFrame* At(const EndingRun& r, uint64_t frame) {
    for (const WorldFrame& w : r.log) {
      if (w.frame == frame) return &w;
    }
    return nullptr;
  }

  // Checks from the defeat to stage 152's set-up; returns the frame of
  // stage 152's first world frame (0 when not reached).
  static uint64_t CheckDefeatTo152(const EndingRun& r) {
    EXPECT_GT(r.copyFirst, 0u);
    if (r.copyFirst == 0) return 0;
    const uint64_t f1 = r.copyFirst;
    // Copy frame k is frame f1 + k - 1. Its timer runs at two a frame to
    // 250 (frame 125), the leap; the crash at timer 270 (frame 145); the
    // stage change at timer 790 (frame 665), with the clock at 541.
    for (int k = 1; k <= 665; ++k) {
      const WorldFrame* w = At(r, f1 + static_cast<uint64_t>(k) - 1);
      EXPECT_NE(w, nullptr) << k;
      if (!w) return 0;
      EXPECT_EQ(w->stage, k < 665 ? 149 : 151);  // the change is made in the world step
      EXPECT_EQ(w->endingPhase, 1) << k;
      EXPECT_EQ(w->copyTimer, k < 125 ? 2 * k : k + 125) << k;
      EXPECT_EQ(w->endingTimer, k < 125 ? 0 : k - 124) << k;
      if (k <= 2) {
        EXPECT_EQ(w->activeBullets, 0) << k;
      }
    }
    // One sound started in the sequence (after the player's last shot of
    // the defeat frame): the crash, at copy frame 145.
    const int before = At(r, f1 + 1)->plays;
    for (int k = 3; k <= 665; ++k) {
      EXPECT_EQ(At(r, f1 + k - 1)->plays - before, k < 145 ? 0 : 1) << k;
    }
    // The fade: 15 frames out with the set-up on the last, one world frame
    // (the new actors' first), 15 frames in with none; an actor's timer j
    // (from 2) then falls on frame j + 14 after that middle frame.
    const uint64_t first151 = f1 + 664 + 16;
    const WorldFrame* s151 = At(r, first151);
    EXPECT_NE(s151, nullptr);
    if (!s151) return 0;
    EXPECT_EQ(s151->stage, 151);
    EXPECT_EQ(s151->endingPhase, 2);
    EXPECT_EQ(s151->endingTimer, 0);
    EXPECT_EQ(s151->actor46Timer, 1);
    EXPECT_EQ(At(r, first151 - 1), nullptr);
    EXPECT_EQ(At(r, first151 + 1), nullptr);
    EXPECT_EQ(At(r, first151 + 15), nullptr);
    // The hand-over at kind 46's timer 1690, then the same fade into 152.
    const WorldFrame* hand = At(r, first151 + 1690 + 14);
    EXPECT_NE(hand, nullptr);
    if (!hand) return 0;
    EXPECT_EQ(hand->actor46Timer, 1690);
    EXPECT_EQ(hand->stage, 152);
    const uint64_t first152 = first151 + 1690 + 14 + 16;
    const WorldFrame* s152 = At(r, first152);
    EXPECT_NE(s152, nullptr);
    if (!s152) return 0;
    EXPECT_EQ(s152->stage, 152);
    EXPECT_EQ(s152->endingPhase, 3);
    EXPECT_EQ(s152->endingTimer, 1);
    EXPECT_EQ(At(r, first152 + 1), nullptr);
    return first152;
  }

  coretest::ScratchDir dir_;
  std::string saved_;
};

double MeanLuma(const std::vector<uint32_t>& px, int y0, int y1, int x0, int x1) {
  double sum = 0;
  int n = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      const uint32_t p = px[static_cast<size_t>(y) * 640 + static_cast<size_t>(x)];
      sum += 0.299 * ((p >> 16) & 255) + 0.587 * ((p >> 8) & 255) + 0.114 * (p & 255);
      ++n;
    }
  }
  return n ? sum / n : 0;
}

TEST_F(EndingE2E, DefeatToStage152) {
  const EndingRun r = Play(true);
  EXPECT_EQ(r.rc, 0);
  EXPECT_GT(CheckDefeatTo152(r), 0u);
}

TEST_F(EndingE2E, SlowFromSaveToStaffRollAndTitleTwiceAlike) {
  const EndingRun r = Play(false);
  EXPECT_EQ(r.rc, 0);
  const uint64_t first152 = CheckDefeatTo152(r);
  ASSERT_GT(first152, 0u);
  // The clock steps once a world frame and never in the fade-in; at 8628
  // the play scene ends: no world frame follows.
  for (int32_t t = 2; t <= 8628; ++t) {
    const WorldFrame* w = At(r, first152 + static_cast<uint64_t>(t) + 14);
    ASSERT_NE(w, nullptr) << t;
    ASSERT_EQ(w->endingTimer, t);
  }
  EXPECT_EQ(r.log.back().frame, first152 + 8628 + 14);
  EXPECT_TRUE(r.ended);
  EXPECT_GT(r.titleBlits, 0);  // the title runs
  const std::string after = dir_.Read("file/data1.dat");
  EXPECT_EQ(after.size(), 1936u);
  EXPECT_NE(after, saved_);  // written again when the play scene ended

  // The kept frames: the white-out, a staff line on the dark panel, the fade.
  for (const auto& k : r.kept) ASSERT_EQ(k.size(), 640u * 480u);
  EXPECT_GT(MeanLuma(r.kept[0], 0, 480, 0, 640), 200.0);
  EXPECT_NE(MeanLuma(r.kept[1], 224, 264, 0, 310), MeanLuma(r.kept[2], 224, 264, 0, 310));
  EXPECT_LT(MeanLuma(r.kept[3], 0, 480, 0, 640), 40.0);

  // The same script from the same files gives the same frames.
  ASSERT_EQ(std::system("rm -r file"), 0);
  SetUp();
  const EndingRun again = Play(false);
  EXPECT_EQ(again.hashes, r.hashes);
}

}  // namespace
}  // namespace orb::test
