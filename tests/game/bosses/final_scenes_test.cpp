// The two final stages through the real play frame: every actor event at
// the timer or ending-clock value of their tables, the hand-over, the fans,
// the regrouping and the end of the play scene.
#include <cmath>

#include "game/enemies/enemies.h"
#include "game/world/input.h"
#include "player_test_support.h"

namespace orb::test {
namespace {

enum class Field { SpeedX, Anim, Jump, Flight, Hover, AccelX };

// One row of the stage-151 tables: at the actor's own timer t.
struct Event151 {
  int kind, t;
  Field field;
  float a, b = 0.0f, c = 0.0f;
};
// clang-format off
const Event151 kStage151[] = {
    {37, 150, Field::SpeedX, -2.0f}, {37, 250, Field::SpeedX, 0.0f}, {37, 260, Field::Anim, 14},
    {37, 300, Field::Anim, 0},       {37, 330, Field::Flight, -4.0f, -5.0f},
    {47, 350, Field::SpeedX, -2.0f}, {47, 350, Field::Anim, 0},       {47, 590, Field::SpeedX, 0.0f},
    {47, 610, Field::SpeedX, 4.0f},  {47, 630, Field::SpeedX, 0.0f},  {47, 630, Field::Anim, 15},
    {46, 630, Field::SpeedX, -2.0f}, {46, 630, Field::Anim, 0},       {47, 690, Field::Anim, 0},
    {47, 730, Field::SpeedX, -2.0f}, {47, 760, Field::SpeedX, 0.0f},  {47, 790, Field::Anim, 13},
    {46, 810, Field::SpeedX, 0.0f},  {47, 880, Field::Jump, -8.0f},   {47, 950, Field::Jump, -10.0f},
    {47, 1020, Field::Flight, -11.0f, 0.0f}, {47, 1050, Field::Hover, 1.0f, 0.1f},
    {47, 1160, Field::Anim, 16},     {46, 1260, Field::Jump, -7.0f},  {46, 1330, Field::Jump, -9.0f},
    {46, 1400, Field::Flight, -10.0f, 0.0f}, {46, 1430, Field::Hover, 0.8f, 0.08f},
    {47, 1520, Field::Anim, 13},     {47, 1560, Field::AccelX, -0.12f}, {46, 1600, Field::AccelX, -0.11f},
};
// clang-format on

class FinalScenes : public PlayerWorld {
 protected:
  static EnemyRecord* Actor(int kind) {
    for (EnemyRecord& e : pools.enemies) {
      if (e.head.state != kActorFree && e.kind == kind) return &e;
    }
    return nullptr;
  }
  // Frames until the stage change to the given stage has faded in.
  static int UntilPlayOn(int stage) {
    for (int n = 1; n < 100; ++n) {
      Frame();
      if (game.CurrentStage == stage && game.InGameState == 0) return n;
    }
    return -1;
  }

  static void Check151(const EnemyRecord& e) {
    for (const Event151& ev : kStage151) {
      if (ev.kind != e.kind || ev.t != e.timer) continue;
      SCOPED_TRACE(testing::Message() << "kind " << e.kind << " timer " << e.timer);
      const float g = e.motion.accelY;
      switch (ev.field) {
        case Field::SpeedX: EXPECT_FLOAT_EQ(e.motion.velocityX, ev.a); break;
        case Field::Anim: EXPECT_EQ(e.animationId, static_cast<int>(ev.a)); break;
        case Field::Jump:
        case Field::Flight:
          EXPECT_EQ(e.airborne, 1);
          EXPECT_EQ(e.poseFlag, 0);
          EXPECT_NEAR(e.motion.velocityY, ev.a + g, 1e-4);
          if (ev.field == Field::Flight) {
            EXPECT_EQ(e.mapCollision, 0);
            if (e.kind == 37) {
              EXPECT_FLOAT_EQ(e.motion.velocityX, ev.b);
            }
          }
          break;
        case Field::Hover:
          EXPECT_EQ(e.motion.velocityY, 0.0f);
          EXPECT_EQ(g, 0.0f);
          EXPECT_FLOAT_EQ(e.motion.waveAmplitudeY, ev.a);
          EXPECT_FLOAT_EQ(e.motion.phaseStep, ev.b);
          break;
        case Field::AccelX: EXPECT_FLOAT_EQ(e.motion.accelX, ev.a); break;
      }
    }
    const int flutterFrom = e.kind == 47 ? 1560 : e.kind == 46 ? 1600 : 1 << 30;
    if (e.timer >= flutterFrom) {
      EXPECT_EQ(e.animationId, e.timer % 4 <= 1 ? 13 : 14) << e.timer;
    }
  }

  // The stage-152 speeds at ending clock t, from the table; NAN: not set.
  static void Expected152(int kind, int t, float* sx, float* sy) {
    const double ramp = t >= 860 && t <= 1109 ? (t - 860) / 320.0 : 0.0;
    const bool floating = t >= 860 && t <= 2219;
    *sx = NAN;
    *sy = NAN;
    if (kind == 47) {
      if (t == 200) *sy = -0.07f;
      if (t >= 600 && t <= 639) *sx = static_cast<float>((600 - t) * 0.02);
      if (t == 640) *sx = -0.8f;
      if (t == 800) *sx = 0.3f;
      if (floating) *sy = static_cast<float>(std::cos((t - 500) / 10.0) * (ramp > 0 ? ramp : 1.4));
    } else if (kind == 46) {
      if (t == 600) *sy = 0.1f;
      if (t >= 600 && t <= 634) *sx = static_cast<float>((600 - t) * 0.02);
      if (t == 635) *sx = -0.7f;
      if (t == 800) {
        *sx = 0.3f;
        *sy = 0.0f;
      }
      if (floating) *sy = static_cast<float>(std::cos((t - 200) / 12.0) * (ramp > 0 ? ramp : 1.2));
    } else {
      if (t == 750) *sx = 1.7f;
      if (t >= 840 && t <= 856) *sx = static_cast<float>((857 - t) * 0.1);
      if (t == 857) *sx = 0.0f;
      if (floating) *sy = static_cast<float>(std::cos(t / 11.0) * (ramp > 0 ? ramp : 1.3));
    }
    if (t == 860) *sy = 0.0f;  // the ramp starts from 0
    if ((kind == 47 || kind == 46) && t == 1000) *sx = 0.0f;
    if (kind == 47 && t == 1500) *sx = -0.15f, *sy = 0.07f;
    if (kind == 46 && t == 1500) *sx = -0.21f, *sy = -0.14f;
    if (t == 2220) *sx = 0.0f, *sy = 0.0f;
  }
};

TEST_F(FinalScenes, ActorEventsHandOverAndEndingFollowTheirTables) {
  // The defeat sequence's stage change (its frames are the end-to-end
  // test's): stage 151 set up by the fade, each actor on its own timer.
  Floor(151, 13);
  Floor(152, 13);
  Begin(149);
  game.CurrentStage = 151;
  game.EntrySide = kEnteredAtPoint;
  game.InGameState = 1;
  game.InGameStateTimer = 0;
  ASSERT_GT(UntilPlayOn(151), 0);
  EXPECT_EQ(game.EndingPhase, 2);
  EXPECT_EQ(game.EndingTimer, 0);
  EnemyRecord* a37 = Actor(37);
  EnemyRecord* a46 = Actor(46);
  EnemyRecord* a47 = Actor(47);
  ASSERT_TRUE(a37 && a46 && a47);
  while (game.CurrentStage == 151) {
    Frame();
    for (const EnemyRecord* e : {a37, a47, a46}) {
      if (e->head.state != kActorFree && e->kind != 0) Check151(*e);
    }
    EXPECT_EQ(game.EndingTimer, 0);
    ASSERT_LE(a46->timer, 1690);
  }
  EXPECT_EQ(a46->timer, 1690);
  EXPECT_EQ(game.InGameState, 1);
  EXPECT_EQ(game.EntryX, 1840.0f);
  EXPECT_EQ(game.EntryY, 256.0f);
  EXPECT_EQ(game.EntrySide, kEnteredAtPoint);

  // Stage 152: the clock steps once per world frame, never in the fade.
  int fans = 0;
  float prevX = 0, prevY = 0, curX = 0, curY = 0;  // actor 37 at the start of the last two frames
  for (int frame = 0; frame < 20000 && !scenes.LeavePlayFlag; ++frame) {
    const bool world = game.InGameState == 0 || (game.InGameState == 1 && game.InGameStateTimer == 16);
    prevX = curX, prevY = curY;
    if (const EnemyRecord* a = Actor(37)) curX = a->head.x, curY = a->head.y;
    const int32_t before = game.EndingTimer;
    const int32_t ring = pools.EnemyBulletRing;
    const bool on152 = game.CurrentStage == 152 && game.EndingPhase == 3;
    Frame();
    if (scenes.LeavePlayFlag) {
      EXPECT_EQ(before, 8627);
      break;
    }
    if (!on152) {
      if (game.EndingPhase == 3) {
        EXPECT_EQ(game.EndingTimer, 0);
      }
      continue;
    }
    const int32_t t = game.EndingTimer;
    ASSERT_EQ(t, before + (world ? 1 : 0));
    SCOPED_TRACE(testing::Message() << "ending clock " << t);
    for (int kind : {47, 46, 37}) {
      const EnemyRecord* e = Actor(kind);
      ASSERT_NE(e, nullptr);
      float sx, sy;
      Expected152(kind, t, &sx, &sy);
      if (!std::isnan(sx)) {
        EXPECT_NEAR(e->motion.velocityX, sx, 1e-4) << kind;
      }
      if (!std::isnan(sy)) {
        EXPECT_NEAR(e->motion.velocityY, sy, 1e-4) << kind;
      }
      const int anim = t == 8500 ? 0 : kind == 37 ? 8 : e->timer % 4 <= 1 ? 13 : 14;
      EXPECT_EQ(e->animationId, anim) << kind;
    }
    if (t == 2220) {
      EXPECT_NEAR(Actor(47)->head.x, 1056.0f, 1.0f);
      EXPECT_NEAR(Actor(47)->head.y, 153.6f, 1.0f);
      EXPECT_NEAR(Actor(46)->head.x, 1120.0f, 1.0f);
      EXPECT_NEAR(Actor(46)->head.y, 217.6f, 1.0f);
      EXPECT_NEAR(Actor(37)->head.x, 736.0f, 1.0f);
      EXPECT_NEAR(Actor(37)->head.y, 185.6f, 1.0f);
      EXPECT_NEAR(P(0).head.x, 736.0f, 1.0f);
    }
    // Six fans toward the right: 5 bullets at -75..75 by 37.5, or 4 by 50,
    // from where actor 37 stood before the move of the frame before.
    std::vector<float> angles;
    for (int32_t i = ring; i != pools.EnemyBulletRing; i = (i + 1) % 511) {
      const ShotRecord& b = pools.enemyBullets[i];
      EXPECT_EQ(b.typeCode, 11002);
      EXPECT_NEAR(b.head.x - b.head.vx, prevX, 1e-3);
      EXPECT_NEAR(b.head.y - b.head.vy, prevY, 1e-3);
      angles.push_back(b.angle);
    }
    const bool five = t == 1150 || t == 1250 || t == 1350, four = t == 1200 || t == 1300 || t == 1380;
    ASSERT_EQ(angles.size(), five ? 5u : four ? 4u : 0u);
    for (size_t i = 0; i < angles.size(); ++i) {
      EXPECT_NEAR(angles[i], -75.0f + static_cast<float>(i) * (five ? 37.5f : 50.0f), 1e-3);
    }
    fans += !angles.empty();
  }
  EXPECT_EQ(fans, 6);
  EXPECT_EQ(scenes.LeavePlayFlag, 1);
  EXPECT_EQ(game.EndingPhase, 0);
  EXPECT_EQ(game.EndingTimer, 0);
}

}  // namespace
}  // namespace orb::test
