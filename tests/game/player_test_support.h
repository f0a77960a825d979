// Drives the players through the real play frame (StepPlayFrame) with
// scripted pads, on synthetic tile maps the stage loader reads back at every
// stage change: Floor(2, 13); Begin(2); Stand(0, 900); Frames(10, kPadRight).
#pragma once

#include <cstdio>
#include <map>

#include "framework/core/life/framework_life.h"
#include "framework/core/life_test_support.h"
#include "framework/qorlib.h"
#include "game/world/character_tables.h"
#include "game/enemies/enemies.h"
#include "game/world/game_state.h"
#include "game/world/input.h"
#include "game/world/pools.h"
#include "game/world/roster.h"
#include "game/scenes/scenes.h"
#include "game/world/stage_load.h"
#include "game/stages/stage_setup.h"
#include "game/world/tile_map.h"
#include "game_test_support.h"

namespace orb::test {

// The buttons of the five actions (the pad screen's defaults).
constexpr uint32_t kDecide = 0x10, kJump = 0x20, kShoot = 0x40, kChange = 0x80;

struct StageTiles {
  int8_t t[kTileRows][kTileColumns];
};

class PlayerWorld : public ::testing::Test {
 public:
  // The framework runs headless underneath (the in-game states ask it for
  // keys); the game's graph table is empty, so nothing is drawn.
  void SetUp() override {
    lifetest::ResetLife();
    qor::SetLogFileOutputPublic(0);
    ASSERT_EQ(qor::InitFramework(), 0);
    ResetGameModules();
    maps().clear();
    input.padReader = ReadScriptedPad;
    DefaultPlayerMasks(input.LiveButtonMasks);
    DefaultPlayerMasks(input.LiveButtonMasks + 5);
    SetStageLoadHooks({nullptr, nullptr, OpenMap, ReadMapPixel, nullptr});
    game.TitlePlayerCount = 0;
    ResetNewGame();
    game.DifficultyLevel = 1;
  }
  void TearDown() override {
    qor::EndFramework();
    lifetest::ResetLife();
    ResetGameModules();
  }

  static StageTiles& Map(int stage) { return maps()[stage]; }
  static void Paint(int stage, int row, int first, int last, int8_t code) {
    for (int c = first; c <= last; ++c) Map(stage).t[row][c] = code;
  }
  static void Floor(int stage, int row) { Paint(stage, row, 0, kTileColumns - 1, kTileSolid); }

  // Runs a stage's set-up routine and plays there, as after the fade.
  static void Begin(int stage, int players = 1) {
    game.OnFieldMode = players == 2 ? 1 : 0;
    game.CurrentStage = stage;
    RunStageSetup(stage);
    game.InGameState = 0;
    game.InGameStateTimer = 0;
    game.PlayFrameCount = 100;  // past the frames that ignore presses
  }
  // Stage 2 with a floor on row 13 and player 1 standing at x 900, facing right.
  static void StartOnFloor() {
    Floor(2, 13);
    Begin(2);
    Stand(0, 900);
    P(0).facing = 1;
  }

  // A player standing on a floor whose top is at floorY, centre at x.
  static void Stand(int player, float x, float floorY = 416) {
    PlayerRecord& p = pools.players[player];
    p.head.x = x;
    p.head.y = floorY - 1 - p.head.hitboxHeight / 2 - p.head.hitboxOffsetY;
    p.inAir = 0;
    p.verticalSpeed = 0;
    p.stairsMode = 0;
  }

  // One play frame with these pad bits held; bits not held the frame
  // before are newly pressed.
  static void Frame(uint32_t pad1 = 0, uint32_t pad2 = 0) {
    pads()[0] = pad1;
    pads()[1] = pad2;
    StepPlayFrame();
  }
  static void Frames(int n, uint32_t pad1 = 0, uint32_t pad2 = 0) {
    for (int i = 0; i < n; ++i) Frame(pad1, pad2);
  }

  static PlayerRecord& P(int i) { return pools.players[i]; }

  // An awake enemy of a kind, mode and hit points centred at (x, y), its other settings 0.
  static EnemyRecord& AwakeEnemy(int32_t kind, int32_t mode, int32_t hp, float x, float y) {
    SpawnEnemy(0, 0, kind, 0, 1, mode, hp, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    EnemyRecord& e = LastEnemy();
    e.head.state = kActorActive;
    e.head.x = x;
    e.head.y = y;
    return e;
  }

 private:
  coretest::ScratchDir dir_;

  static std::map<int, StageTiles>& maps() {
    static std::map<int, StageTiles> m;
    return m;
  }
  static uint32_t* pads() {
    static uint32_t p[2];
    return p;
  }
  static int ReadScriptedPad(int padValue) { return static_cast<int>(pads()[padValue == 2 ? 1 : 0]); }
  // "stage\NNN.bmp": the stage number serves as the picture's handle.
  static int OpenMap(const char* file) {
    int stage = 0;
    return std::sscanf(file, "stage\\%d", &stage) == 1 && maps().count(stage) ? stage : -1;
  }
  static int ReadMapPixel(int stage, int x, int y, int* r, int* g, int* b) {
    uint8_t cr, cg, cb;
    if (!ColourOfTileCode(maps()[stage].t[y][x], &cr, &cg, &cb)) return -1;
    *r = cr, *g = cg, *b = cb;
    return 0;
  }
};

}  // namespace orb::test
