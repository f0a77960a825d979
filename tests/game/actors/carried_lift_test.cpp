// Lifts triggered by a rider: a kind-11 lift moves at its velocity from the
// first step onto it until its delay, a kind-14 lift only while it carries
// someone and counts, both then take the wave motion. One schedule of rider
// flags walked frame by frame against the motion the rules give.
#include <gtest/gtest.h>

#include "game/actors/blocks.h"
#include "game/game_reset.h"
#include "game/world/asset_table.h"
#include "game/world/game_state.h"
#include "game/world/pools.h"

namespace orb::test {
namespace {

enum Motion { kStill, kVelocity, kWave };

Motion Seen(const BlockRecord& b) {
  if (b.head.vx == 0.0f && b.head.vy == 0.0f) return kStill;
  return b.head.vx == 1.5f && b.head.vy == -0.5f ? kVelocity : kWave;
}

TEST(CarriedLift, Kind14MovesOnlyWhileCarriedAndCountingKind11FromTheFirstStep) {
  // Frames 6-10 and 21 on carry a rider; from frame 6 the latch stays set.
  auto latched = [](int f) { return f >= 6; };
  auto carried = [](int f) { return (f >= 6 && f <= 10) || f >= 21; };
  struct Case {
    uint8_t kind;
    Motion (*expected)(int frame);
  } cases[] = {
      // Counting from frame 6, the delay of 8 is reached on frame 13.
      {11, [](int f) { return f < 6 ? kStill : f < 13 ? kVelocity : kWave; }},
      // Counting on frames 6-10 and from 21: the 8th count is frame 23.
      {14, [](int f) { return f < 6 ? kStill : f <= 10 ? kVelocity : f < 21 ? kStill : f < 23 ? kVelocity : kWave; }},
  };
  for (const Case& c : cases) {
    ResetGameModules();
    game.links.leftBound = 640.0f;
    game.links.rightBound = 2560.0f;
    const int slot = SpawnBlock(1000, 200, 64, 32, assets.blockBlockh, 8, 0, c.kind, 8, 0, 1.5f, -0.5f, 13, 7, 0.25f,
                                0, 0, 0, 0, 0, 0, 0, 0);
    ASSERT_GE(slot, 0);
    BlockRecord& b = pools.blocks[slot];
    for (int frame = 1; frame <= 30; ++frame) {
      b.steppedOn = latched(frame) ? 1 : 0;
      b.carrying = carried(frame) ? 1 : 0;
      UpdateBlock(b);
      EXPECT_EQ(Seen(b), c.expected(frame)) << "kind " << int{c.kind} << " frame " << frame;
    }
  }
}

}  // namespace
}  // namespace orb::test
