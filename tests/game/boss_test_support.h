// Shared by the boss tests: a boss room entered through its set-up routine
// (checked to spawn its boss first, with its hit points), a flat floor under the boss with walls at the room's edges,
// and one play frame's world pass with what it did: the bullets the boss
// fired, the bullets that bursting bullets released, the enemies spawned,
// and the boss's motion before and after.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "game/enemies/enemies.h"
#include "game/world/game_state.h"
#include "game/world/pools.h"
#include "game/scenes/scenes.h"
#include "game/stages/stage_setup.h"
#include "game/world/tile_map.h"
#include "game/scenes/world_hooks.h"
#include "game_test_support.h"

namespace orb {
void RunWorldPass();
}

namespace orb::test {

// Where each boss room puts its boss (the room routine's spawn values).
struct BossRoom {
  int32_t stage, kind;
  float x, y;
  int32_t hitPointsEasy, hitPoints;  // difficulty 0, 1 and above
  int32_t framePeriod;
  float gravity;
  int32_t floorRow;  // the tile row the boss stands on
};

// clang-format off
inline constexpr BossRoom kBossRooms[] = {
    {16, 29, 1088.0f, 377.6f, 3000, 3000, 6, 0.4f, 13},  {31, 15, 640.0f, 282.88f, 3000, 3000, 10, 0.4f, 10},
    {43, 30, 1088.0f, 345.6f, 3500, 3500, 6, 0.4f, 12},  {56, 31, 1088.0f, 345.6f, 4300, 5200, 6, 0.4f, 12},
    {70, 32, 1088.0f, 345.6f, 3000, 3600, 6, 0.4f, 12},  {87, 33, 1088.0f, 345.6f, 3500, 4300, 6, 0.4f, 12},
    {101, 34, 1088.0f, 345.6f, 4300, 4500, 6, 0.7f, 12}, {119, 35, 1088.0f, 313.6f, 3900, 4500, 6, 0.7f, 11},
    {136, 36, 1088.0f, 313.6f, 4300, 5000, 6, 0.2f, 11}, {146, 37, 1088.0f, 153.6f, 4500, 6000, 6, 0.05f, 12},
    {149, 45, 1088.0f, 345.6f, 4800, 6000, 6, 0.3f, 12},
};
// clang-format on

inline const BossRoom& RoomOfKind(int32_t kind) {
  for (const BossRoom& r : kBossRooms) {
    if (r.kind == kind) return r;
  }
  return kBossRooms[0];
}

// What one frame did.
struct BossFrame {
  int32_t timer;      // the boss's timer in this frame
  int32_t playFrame;  // the play frame counter in this frame
  bool hard;          // the hard-phase test as the boss saw it
  uint8_t airborneBefore, airborneAfter;
  int32_t facingBefore;
  float xBefore, yBefore;
  float speedXBefore, speedYBefore;  // the record's x and y speeds
  float speedX, speedY, gravity;
  std::vector<ShotRecord> fired;     // carrying the boss's follow-up values
  std::vector<ShotRecord> released;  // the plain bullets bursting bullets released
  std::vector<EnemyRecord> spawned;  // enemies new in this frame
};

class BossFight : public ::testing::Test {
 public:
  void SetUp() override { ResetGameModules(); }

  static EnemyRecord& Boss() { return pools.enemies[1]; }

  // Enters the room of a boss kind from its left neighbour at a difficulty.
  static void EnterRoom(int32_t kind, int32_t difficulty) {
    const BossRoom& r = RoomOfKind(kind);
    game.DifficultyLevel = static_cast<uint8_t>(difficulty);
    game.DifficultySpeedBonus = DifficultyExcess();
    game.CurrentStage = r.stage;
    game.EntrySide = kEnteredLeftEnd;
    game.EntryY = 300.0f;
    RunStageSetup(r.stage);
    EXPECT_EQ(Boss().kind, r.kind) << "stage " << r.stage << " spawns its boss first";
    EXPECT_EQ(Boss().hitPoints, difficulty == 0 ? r.hitPointsEasy : r.hitPoints);
    EXPECT_EQ(Boss().head.x, r.x + Boss().head.hitboxWidth / 2);
    EXPECT_EQ(Boss().motion.accelY, r.gravity);
    for (int row = 0; row < kTileRows; ++row) {
      for (int col = 0; col < kTileColumns; ++col) {
        const bool wall = col == 19 || col == 40;
        tiles.TileMap[row][col] = row >= r.floorRow || wall ? kTileSolid : kTileOpen;
      }
    }
    for (PlayerRecord& p : pools.players) p.head.y = static_cast<float>(32 * r.floorRow) - 40.0f;
  }

  // The hard phase from the next sampled frame on: a bar under a third.
  static void ForceHard() { Boss().hitPoints = 20 * (scenes.BossFullHp / 3 - 1); }

  // One play frame of the world pass.
  static BossFrame Step() {
    BossFrame f{};
    EnemyRecord& b = Boss();
    f.hard = scenes.BossShownHp < scenes.BossFullHp / 3;
    f.airborneBefore = b.airborne;
    f.facingBefore = b.facing;
    f.xBefore = b.head.x;
    f.yBefore = b.head.y;
    f.speedXBefore = b.motion.velocityX;
    f.speedYBefore = b.motion.velocityY;
    uint8_t states[kEnemyRingSlots];
    for (int i = 0; i < kEnemyRingSlots; ++i) states[i] = pools.enemies[i].head.state;
    const int32_t ring = pools.EnemyBulletRing;

    // The players are held out of harm (full hit points, never hurt), so
    // that no knock-out draws from the generator the bosses draw from.
    for (PlayerRecord& p : pools.players) p.invulnerableTimer = 64;
    for (PartyMember& m : game.party) m.hitPoints = m.hitPointsMax = 1000;
    ++game.PlayFrameCount;
    game.DifficultySpeedBonus = DifficultyExcess();
    RunWorldPass();

    f.timer = b.timer;
    f.playFrame = game.PlayFrameCount;
    f.airborneAfter = b.airborne;
    f.speedX = b.motion.velocityX;
    f.speedY = b.motion.velocityY;
    f.gravity = b.motion.accelY;
    for (int32_t i = ring; i != pools.EnemyBulletRing; i = (i + 1) % (kEnemyBulletCount - 1)) {
      const ShotRecord& s = pools.enemyBullets[i];
      const ShotChildSpec& c = s.child;
      const bool plain = c.patternKind == 0 && c.count == 1 && c.childTypeCode == 1 && c.childLifetime == 1;
      (plain ? f.released : f.fired).push_back(s);
    }
    for (int i = 0; i < kEnemyRingSlots; ++i) {
      if (states[i] == kActorFree && pools.enemies[i].head.state != kActorFree) f.spawned.push_back(pools.enemies[i]);
    }
    return f;
  }

  static std::vector<BossFrame> Run(int frames) {
    std::vector<BossFrame> out;
    for (int i = 0; i < frames; ++i) out.push_back(Step());
    return out;
  }
};

}  // namespace orb::test
