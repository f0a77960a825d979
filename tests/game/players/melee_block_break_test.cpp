// Character 8's strong attack breaks blocks, played through the play frame:
// only an active block showing frame 5, not rolling and 32 pixels wide that
// the strong box overlaps on the side faced; each break plays bomb0 and
// leaves a burst where the block stood. The expected outcome of every case
// comes from the rule written out below with the character table's numbers.
#include <cmath>
#include <cstdint>
#include <vector>

#include "framework/sound/sound_load.h"
#include "framework/sound/sound_play.h"
#include "game/actors/blocks.h"
#include "game/world/asset_table.h"
#include "player_test_support.h"

namespace orb::test {
namespace {

// What a case spawns: the block's centre relative to the player's, its size,
// first frame and roll.
struct BlockCase {
  float dx, dy, width, height;
  int32_t frame;
  float roll;
};

enum class Attack { StrongStanding, Crouching, ThirdOfCombo };

struct Attacker {
  int32_t character;
  Attack attack;
  bool facingRight;
};

// The rule: character 8 in phase 2 or 3 breaks an active block showing frame
// 5 with roll 0 and sprite width 32 whose box (its hitbox, 2 smaller than its
// size) shares area with the strong box: 32 out from the front of the 22-wide
// hitbox, from 20 above the centre to 30 below.
bool BreaksByRule(const Attacker& a, int phase, const BlockCase& b) {
  if (a.character != 8 || (phase != 2 && phase != 3)) return false;
  if (b.frame != 5 || b.roll != 0.0f || std::trunc(b.width) != 32.0f) return false;
  const float front = a.facingRight ? 11.0f : -11.0f;
  const float boxLeft = a.facingRight ? front : front - 32.0f, boxRight = boxLeft + 32.0f;
  const float boxTop = -20.0f, boxBottom = 30.0f;
  const float halfW = (b.width - 2) / 2, halfH = (b.height - 2) / 2;
  return b.dx - halfW < boxRight && boxLeft < b.dx + halfW && b.dy - halfH < boxBottom && boxTop < b.dy + halfH;
}

// A silent 8-bit mono WAV two seconds long, made here byte by byte.
std::vector<uint8_t> SilentWav() {
  const uint32_t samples = 16000;
  std::vector<uint8_t> w;
  auto put = [&](uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) w.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  auto id = [&](const char* s) { w.insert(w.end(), s, s + 4); };
  id("RIFF"), put(36 + samples, 4), id("WAVE");
  id("fmt "), put(16, 4), put(1, 2), put(1, 2), put(8000, 4), put(8000, 4), put(1, 2), put(8, 2);
  id("data"), put(samples, 4);
  w.insert(w.end(), samples, 128);
  return w;
}

class MeleeBlockBreak : public PlayerWorld {
 protected:
  void SetUp() override {
    PlayerWorld::SetUp();
    StartOnFloor();
    ClearStage();
    const std::vector<uint8_t> wav = SilentWav();
    assets.seBomb0 = qor::CreateSoundFromMemory(wav.data(), static_cast<uint32_t>(wav.size()), 3, -1);
    ASSERT_GE(assets.seBomb0, 0);
  }
  // No enemy, block, item or burst left from the stage's own set-up.
  static void ClearStage() {
    for (EnemyRecord& e : pools.enemies) e.head.state = kActorFree;
    for (BlockRecord& b : pools.blocks) b.head.state = kActorFree;
    for (ItemRecord& i : pools.items) i.head.state = kActorFree;
    for (EffectRecord& f : pools.effects) f.head.state = kActorFree;
  }
  // Puts a character on the field, standing still at x 900 facing as asked,
  // with its attack timer run out.
  static void Ready(int32_t character, bool facingRight) {
    game.ActiveCharacter[0] = character;
    SetupPlayerCharacters();
    Stand(0, 900);
    P(0).facing = facingRight ? 1 : 0;
    Frames(30);
    ClearStage();
  }
  // A still block (motion kind 0, push weight 0) centred relative to player 1.
  static BlockRecord& Spawn(const BlockCase& c) {
    const float x = P(0).head.x + c.dx, y = P(0).head.y + c.dy;
    const int32_t slot = SpawnBlock(x - c.width / 2, y - c.height / 2, c.width, c.height, assets.blockBlock32, 8,
                                    c.frame, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, c.roll, 0);
    EXPECT_GE(slot, 0);
    return pools.blocks[slot];
  }
  // Plays the attack; returns the strongest phase it reached.
  static int Strike(Attack attack) {
    int phase = 0;
    auto frame = [&](uint32_t pad) {
      Frame(pad);
      if (P(0).attackPhase > phase) phase = P(0).attackPhase;
    };
    switch (attack) {
      case Attack::StrongStanding:
        frame(kDecide);
        break;
      case Attack::Crouching:
        for (int i = 0; i < 4; ++i) frame(kPadDown);
        frame(kPadDown | kDecide);
        break;
      case Attack::ThirdOfCombo:
        // Presses in rhythm, each buffered during the attack before.
        for (int f = 0; f < 40; ++f) frame(f == 0 || f == 4 || f == 20 ? kDecide : 0);
        break;
    }
    for (int i = 0; i < 20; ++i) frame(0);  // to the attack's end
    return phase;
  }
  static int LiveEffects() {
    int n = 0;
    for (const EffectRecord& f : pools.effects) n += f.head.state == kActorActive;
    return n;
  }
};

TEST_F(MeleeBlockBreak, AStrongAttackFreesTheQualifyingBlockWithItsBurstAndLeavesTheOtherStanding) {
  Ready(8, true);
  // Stacked in front of the player, both inside the strong box; only the
  // upper one shows frame 5.
  const BlockCase breakable{30, -10, 32, 32, 5, 0.0f}, other{30, 22, 32, 32, 4, 0.0f};
  BlockRecord& a = Spawn(breakable);
  BlockRecord& b = Spawn(other);
  const float ax = a.head.x, ay = a.head.y;
  Frames(3);
  ASSERT_EQ(a.head.state, kActorActive);
  ASSERT_EQ(qor::IsSoundPlaying(assets.seBomb0), 0);

  Frame(kDecide);
  EXPECT_EQ(P(0).attackPhase, 2);
  EXPECT_EQ(a.head.state, kActorFree);
  EXPECT_EQ(b.head.state, kActorActive);
  EXPECT_EQ(qor::IsSoundPlaying(assets.seBomb0), 1);
  ASSERT_EQ(LiveEffects(), 1);
  for (const EffectRecord& f : pools.effects) {
    if (f.head.state != kActorActive) continue;
    EXPECT_EQ(f.head.x, ax);
    EXPECT_EQ(f.head.y, ay);
    EXPECT_EQ(f.scale, 0.8f);
    EXPECT_TRUE(f.angle >= 0 && f.angle <= 359 && f.angle == std::trunc(f.angle)) << f.angle;
    EXPECT_EQ(f.counter, 1);  // drawn once in the frame that spawned it
  }
  // The rest of the attack leaves the other block as it was.
  Frames(20);
  EXPECT_EQ(b.head.state, kActorActive);
  EXPECT_EQ(b.head.frame, 4);
}

TEST_F(MeleeBlockBreak, EachConditionAtItsLimitAndOnePast) {
  struct Row {
    Attacker who;
    BlockCase block;
  };
  const Attacker right{8, Attack::StrongStanding, true};
  // Facing right the strong box spans x + 11 .. x + 43 and y - 20 .. y + 30;
  // a 32 x 32 block's box reaches 15 from its centre.
  const Row rows[] = {
      {right, {57, 0, 32, 32, 5, 0.0f}},                        // 1 inside the far end
      {right, {58, 0, 32, 32, 5, 0.0f}},                        // touching the far end
      {right, {30, -34, 32, 32, 5, 0.0f}},                      // 1 inside the top
      {right, {30, -35, 32, 32, 5, 0.0f}},                      // touching the top
      {right, {30, 44, 32, 32, 5, 0.0f}},                       // 1 inside the bottom
      {right, {30, 45, 32, 32, 5, 0.0f}},                       // touching the bottom
      {right, {-30, 0, 32, 32, 5, 0.0f}},                       // behind the player
      {{8, Attack::StrongStanding, false}, {-30, 0, 32, 32, 5, 0.0f}},  // facing it on the left
      {{8, Attack::StrongStanding, false}, {30, 0, 32, 32, 5, 0.0f}},   // behind, facing left
      {right, {30, 0, 32, 32, 4, 0.0f}},                        // frames either side of 5
      {right, {30, 0, 32, 32, 6, 0.0f}},
      {right, {30, 0, 32, 32, 5, 0.5f}},                        // rolling either way
      {right, {30, 0, 32, 32, 5, -0.5f}},
      {right, {30, 0, 31, 32, 5, 0.0f}},                        // widths either side of 32
      {right, {30, 0, 33, 32, 5, 0.0f}},
      {right, {45, 0, 64, 32, 5, 0.0f}},                        // the 64-wide block
      {right, {30, 0, 32, 64, 5, 0.0f}},                        // height does not matter
      {{8, Attack::Crouching, true}, {30, 10, 32, 32, 5, 0.0f}},     // a crouching attack is phase 1
      {{0, Attack::ThirdOfCombo, true}, {30, 0, 32, 32, 5, 0.0f}},   // another character's strong attack
  };
  int broken = 0;
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << "character " << r.who.character << " block at " << r.block.dx << ", "
                                    << r.block.dy << " " << r.block.width << " x " << r.block.height << " frame "
                                    << r.block.frame << " roll " << r.block.roll);
    qor::StopSound(assets.seBomb0);
    Ready(r.who.character, r.who.facingRight);
    BlockRecord& b = Spawn(r.block);
    const int phase = Strike(r.who.attack);
    EXPECT_EQ(phase, r.who.attack == Attack::Crouching ? 1 : 2);
    const bool expected = BreaksByRule(r.who, phase, r.block);
    broken += expected;
    EXPECT_EQ(b.head.state == kActorFree, expected);
    EXPECT_EQ(qor::IsSoundPlaying(assets.seBomb0) == 1, expected);
    // A burst lives 31 frames; the attack's end came sooner.
    EXPECT_EQ(LiveEffects(), expected ? 1 : 0);
  }
  EXPECT_EQ(broken, 5);  // the table holds both outcomes
}

}  // namespace
}  // namespace orb::test
