// The in-game states, the status panel, the HUD's boss bar, the ending's
// last frame and the sprite draws, run on game state set directly, with
// every draw recorded instead of drawn.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "game/world/asset_table.h"
#include "game/game_reset.h"
#include "game/world/game_state.h"
#include "game/graph_calls.h"
#include "game/world/input.h"
#include "game/world/pools.h"
#include "game/world/roster.h"
#include "game/scenes/scenes.h"
#include "game/actors/sprite_draw.h"
#include "game/world/stage_load.h"

namespace {

using namespace orb;

struct Call {
  int x1, y1, x2, y2;
};
struct Record {
  std::vector<Call> boxes, blits;
  int captures = 0, destroys = 0, dividedOpens = 0, stageLoads = 0;
} rec;

int Box(int x1, int y1, int x2, int y2, uint32_t, int) {
  rec.boxes.push_back({x1, y1, x2, y2});
  return 0;
}
int Blit(int x, int y, int graph, int) {
  rec.blits.push_back({x, y, graph, 0});
  return 0;
}
int Capture(int, int, int, int, int, int) { return ++rec.captures, 0; }
int Destroy(int) { return ++rec.destroys, 0; }
int OpenDivided(const char*, int pieces, int, int, int, int, int* handles) {
  ++rec.dividedOpens;
  for (int i = 0; i < pieces; ++i) handles[i] = 500 + i;
  return 0;
}
int StageGraph(const char*) { return ++rec.stageLoads, -1; }

class SceneStates : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameModules();
    rec = Record{};
    graphCalls.paintBox = Box;
    graphCalls.blitGraph = Blit;
    graphCalls.captureScreenToGraph = Capture;
    graphCalls.destroyGraph = Destroy;
    graphCalls.openDividedGraph = OpenDivided;
    StageLoadHooks hooks{};
    hooks.openGraph = StageGraph;
    SetStageLoadHooks(hooks);
    ResetNewGame();
    DefaultPlayerMasks(input.LiveButtonMasks);
    DefaultPlayerMasks(input.LiveButtonMasks + 5);
  }
  // Steps the state machine until state 0; the number of calls.
  static int FramesToPlay(int limit = 1000) {
    int n = 0;
    while (game.InGameState != 0 && n < limit) {
      RunInGameStateMachine();
      ++n;
    }
    return n;
  }
};

TEST_F(SceneStates, StageChangeRunsTheSetUpOnceAtItsMidpointAndPauseResumesIn16Frames) {
  game.InGameState = 1;
  game.InGameStateTimer = 0;
  int setupAt = -1;
  for (int frame = 0; game.InGameState != 0 && frame < 100; ++frame) {
    const int before = rec.stageLoads;
    RunInGameStateMachine();
    if (rec.stageLoads != before) {
      EXPECT_EQ(setupAt, -1) << "set-up ran twice";
      setupAt = game.InGameStateTimer;
    }
  }
  EXPECT_EQ(setupAt, 16);
  EXPECT_EQ(game.InGameState, 0);
  EXPECT_EQ(rec.captures, 2);  // on entering, and the new stage's first frame

  game.InGameState = 4;
  game.InGameStateTimer = 100000;  // the resume row was chosen
  EXPECT_EQ(FramesToPlay(), 16);
}

TEST_F(SceneStates, PanelCursorSkipsEmptyRowsSwapsAndTheLifeCellHasNoMember) {
  // A new game: members 0 and 1 in row 0, row 1 empty.
  MovePanelCursor(0, kPadDown);
  EXPECT_EQ(game.ActiveCharacter[0], 10);  // past the empty row to the life cell
  MovePanelCursor(0, kPadUp);
  EXPECT_EQ(game.ActiveCharacter[0], 0);   // past the empty row to row 0
  MovePanelCursor(0, kPadUp);
  EXPECT_EQ(game.ActiveCharacter[0], 10);
  MovePanelCursor(0, kPadDown);
  EXPECT_EQ(game.ActiveCharacter[0], 0);
  game.party[7].joined = 1;
  MovePanelCursor(0, kPadDown);
  EXPECT_EQ(game.ActiveCharacter[0], 7);   // the first joined member of row 1

  game.ActiveCharacter[0] = 0;
  game.ActiveCharacter[1] = 1;
  MovePanelCursor(0, kPadRight);
  EXPECT_EQ(game.ActiveCharacter[0], 1);
  EXPECT_EQ(game.ActiveCharacter[1], 0);   // the other player takes the one left

  // On the life cell: no portrait, no name, no HUD bars.
  EXPECT_EQ(PortraitOfMember(10), -1);
  EXPECT_EQ(NameOfMember(10), -1);
  game.ActiveCharacter[0] = 10;
  game.PlayFrameCount = INT_MAX - 1;  // the cursor blink's product stays in range
  DrawStatusPanel(352);
  DrawHud();
  for (const Call& b : rec.boxes) EXPECT_NE(b.x1, 62) << "bars drawn for the life cell";
}

TEST_F(SceneStates, WithTwoPlayersBothPortraitsSlideToTheSameRestAndTheNamesStandSideBySide) {
  // Distinct handles for the two members' portraits and name pieces.
  assets.titleTovelt = 7000;
  assets.titleQuenbyt = 7001;
  assets.titleCharaname[0] = 8000;
  assets.titleCharaname[1] = 8001;
  game.OnFieldMode = 1;
  game.ActiveCharacter[0] = 0;
  game.ActiveCharacter[1] = 1;
  input.padReader = [](int) { return 0; };  // nobody presses
  game.InGameState = 2;
  game.InGameStateTimer = 0;
  std::vector<int> slidesSeen;
  for (int frame = 0; frame < 30; ++frame) {
    rec.blits.clear();
    RunInGameStateMachine();
    int portraits = 0;
    for (const Call& b : rec.blits) {
      const int p = b.x2 == 7000 || b.x2 == 8000 ? 0 : b.x2 == 7001 || b.x2 == 8001 ? 1 : -1;
      if (p < 0) continue;
      if (b.x2 >= 8000) {
        // The name pieces: (0, 224) for player 1, (320, 224) for player 2.
        EXPECT_EQ(b.x1, 320 * p) << "frame " << frame;
        EXPECT_EQ(b.y1, 224) << "frame " << frame;
        continue;
      }
      // A portrait enters at slide - 144 and rests at -64 once the slide
      // reaches 80, whichever player it belongs to.
      const int slide = scenes.PanelSlide[p];
      EXPECT_EQ(b.x1, (slide < 80 ? slide : 80) - 144) << "player " << p + 1 << " slide " << slide;
      EXPECT_EQ(b.y1, -32);
      if (p == 0) slidesSeen.push_back(slide);
      ++portraits;
    }
    if (portraits > 0) {
      EXPECT_EQ(portraits, 2) << "frame " << frame;
    }
  }
  // The sweep crossed the rest: its first step, the limit and one past it.
  for (int slide : {4, 76, 80, 84}) {
    EXPECT_NE(std::find(slidesSeen.begin(), slidesSeen.end(), slide), slidesSeen.end()) << slide;
  }
}

TEST_F(SceneStates, ASecondPlayerJoinsOnlyWithTwoMembersUpOrALife) {
  game.OnFieldMode = 0;
  game.party[1].down = 1;  // one member up
  game.LivesLeft = 0;
  input.PressedInput[1] = input.LiveButtonMasks[5 + kActionDecide];
  RunInGameStateMachine();
  EXPECT_EQ(game.InGameState, 0);
  EXPECT_EQ(game.OnFieldMode, 0);
  game.LivesLeft = 1;
  pools.players[0].head.x = 900;
  RunInGameStateMachine();
  EXPECT_EQ(game.InGameState, 2);
  EXPECT_EQ(game.OnFieldMode, 1);
  EXPECT_EQ(pools.players[1].head.x, 900);
}

TEST_F(SceneStates, BossBarLengthAndEnd) {
  game.BossMode = 1;
  game.BossIntroTimer = 0;
  pools.enemies[1].hitPoints = 6000;
  game.PlayFrameCount = INT_MAX - 1;
  for (int i = 0; i < 220; ++i) DrawHud();
  EXPECT_EQ(scenes.BossFullHp, 300);
  bool background = false;
  for (const Call& b : rec.boxes) background |= b.x1 == 100 && b.y1 == 448 && b.x2 == 400 && b.y2 == 460;
  EXPECT_TRUE(background);
  pools.enemies[1].hitPoints = 1000;  // below a third: the flashing fill
  DrawHud();
  pools.enemies[1].hitPoints = 20;
  DrawHud();
  EXPECT_EQ(game.BossMode, 1);
  pools.enemies[1].hitPoints = 19;
  DrawHud();
  EXPECT_EQ(game.BossMode, 0);
  EXPECT_EQ(scenes.BossShownHp, 0);
  EXPECT_EQ(pools.enemies[1].hitPoints, 0);
}

TEST_F(SceneStates, FilmStripIsReleasedBeforeReloadAndTheEndingReturnsToTheTitle) {
  game.CurrentStage = 149;
  game.EndingPhase = 1;
  game.EndingTimer = 328;
  DrawStageEffectsAndEnding();
  DrawStageEffectsAndEnding();  // a second load (a retry after a game over)
  EXPECT_EQ(rec.dividedOpens, 2);
  EXPECT_EQ(rec.destroys, 40);  // the first strip, not leaked

  game.CurrentStage = 152;
  game.EndingPhase = 3;
  game.EndingTimer = 8628;
  scenes.SceneExitFlag = 1;
  DrawStageEffectsAndEnding();
  EXPECT_EQ(rec.destroys, 80);
  EXPECT_EQ(game.EndingPhase, 0);
  EXPECT_EQ(game.EndingTimer, 0);
  EXPECT_EQ(scenes.SceneExitFlag, 0);
  EXPECT_EQ(scenes.LeavePlayFlag, 1);
}

TEST_F(SceneStates, SpritesPlacedByTheCameraAndFramesOutsideTheArrayDrawNothing) {
  const int sheet[2] = {41, 42};
  ActorHead h{};
  h.x = 700;
  h.y = 300;
  h.spriteWidth = h.spriteHeight = 128;
  h.images = sheet;
  h.frameCount = 2;
  h.frame = 1;
  game.CameraScrollX = 640;
  DrawActorCentered(h);
  ASSERT_EQ(rec.blits.size(), 1u);
  EXPECT_EQ(rec.blits[0].x1, -4);
  EXPECT_EQ(rec.blits[0].y1, 236);
  EXPECT_EQ(rec.blits[0].x2, 42);
  h.frame = 2;
  DrawActorCentered(h);
  h.frame = -1;
  DrawActorCentered(h);
  EXPECT_EQ(rec.blits.size(), 1u);
  DrawHitboxDebug(h);  // debug mode off
  EXPECT_TRUE(rec.boxes.empty());
}

}  // namespace
