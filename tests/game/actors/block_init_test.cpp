// A block record filled from its spawn values over a record left dirty by an
// earlier block: every field the spawn sets, worked out here by hand.
#include <gtest/gtest.h>

#include <cstring>

#include "game/actors/blocks.h"
#include "game/game_reset.h"
#include "game/world/pools.h"

namespace orb::test {
namespace {

TEST(BlockInit, EveryFieldComesFromTheSpawnValuesOrStartsCleared) {
  ResetGameModules();
  BlockRecord b;
  std::memset(&b, 0x5A, sizeof b);
  static const int images[3] = {7, 8, 9};
  const BlockSpawnValues v{100.0f, 50.0f, 64.5f, 32.0f, images, 3,    2,     11,    40,    7,     1.5f, -2.5f,
                           3.0f,   4.0f,  0.25f, 0.5f,  6.0f,   7.0f, 0.75f, 1.25f, 12,    -0.5f, 21};
  InitBlock(b, v, 17);
  EXPECT_FLOAT_EQ(b.head.x, 132.25f);
  EXPECT_FLOAT_EQ(b.head.y, 66.0f);
  EXPECT_EQ(b.head.spriteWidth, 64);
  EXPECT_EQ(b.head.spriteHeight, 32);
  EXPECT_FLOAT_EQ(b.head.hitboxWidth, 62.5f);
  EXPECT_FLOAT_EQ(b.head.hitboxHeight, 30.0f);
  EXPECT_FLOAT_EQ(b.head.vx, 1.5f);
  EXPECT_FLOAT_EQ(b.head.vy, -2.5f);
  EXPECT_EQ(b.head.images, images);
  EXPECT_EQ(b.head.frameCount, 3);
  EXPECT_EQ(b.head.frame, 2);
  EXPECT_EQ(b.head.framePeriod, 2);
  EXPECT_EQ(b.head.state, kActorActive);
  EXPECT_EQ(b.slot, 17);
  EXPECT_EQ(b.motionKind, 11);
  EXPECT_EQ(b.delay, 40);
  EXPECT_EQ(b.pushWeight, 7);
  EXPECT_FLOAT_EQ(b.velocityX, 1.5f);
  EXPECT_FLOAT_EQ(b.velocityY, -2.5f);
  EXPECT_FLOAT_EQ(b.maxSpeedX, 3.0f);
  EXPECT_FLOAT_EQ(b.maxSpeedY, 4.0f);
  EXPECT_FLOAT_EQ(b.accelX, 0.25f);
  EXPECT_FLOAT_EQ(b.accelY, 0.5f);
  EXPECT_FLOAT_EQ(b.amplitudeX, 6.0f);
  EXPECT_FLOAT_EQ(b.amplitudeY, 7.0f);
  EXPECT_FLOAT_EQ(b.phaseStep, 0.75f);
  EXPECT_FLOAT_EQ(b.phase, 1.25f);
  EXPECT_FLOAT_EQ(b.period, 1.25f);  // the phase is also the generator period
  EXPECT_EQ(b.waveCode, 12);
  EXPECT_FLOAT_EQ(b.roll, -0.5f);
  EXPECT_EQ(b.overlay, 21);
  EXPECT_EQ(b.triggerCounter, 0);
  EXPECT_EQ(b.steppedOn, 0);
  EXPECT_EQ(b.carrying, 0);
  EXPECT_EQ(b.airborne, 0);
  EXPECT_EQ(b.frameCounter, 0);

  // SpawnBlock goes through it into the first free slot.
  pools.blocks[0].head.state = kActorActive;
  EXPECT_EQ(SpawnBlock(100.0f, 50.0f, 64.5f, 32.0f, images, 3, 2, 11, 40, 7, 1.5f, -2.5f, 3.0f, 4.0f, 0.25f, 0.5f,
                       6.0f, 7.0f, 0.75f, 1.25f, 12, -0.5f, 21),
            1);
  EXPECT_FLOAT_EQ(pools.blocks[1].head.x, 132.25f);
  EXPECT_EQ(pools.blocks[1].slot, 1);
  ResetGameModules();
}

}  // namespace
}  // namespace orb::test
