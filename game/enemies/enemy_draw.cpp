// The enemy draw: fades, the white hit flash and the pulsing frozen tint
// around the sprite draw, which advances the animation, picks the frame for
// the kind and pose and decides the facing.
#include <cmath>

#include "framework/qorlib.h"
#include "game/enemies/enemies.h"
#include "game/world/game_state.h"
#include "game/graph_calls.h"
#include "game/world/map_collision.h"
#include "game/world/pools.h"
#include "game/actors/sprite_draw.h"
#include "game/actors/wave_motion.h"

namespace orb {

namespace {

struct EntranceStep {
  int8_t below, frame;
};
struct Entrance {
  int8_t kind;
  EntranceStep steps[16];
};

// clang-format off
const Entrance kEntrances[] = {
    {29, {{4, 0}, {7, 5}, {8, 0}, {11, 5}, {12, 0}, {16, 13}, {17, 0}, {20, 7}, {21, 0}, {27, 9}, {50, 6}}},
    {30, {{4, 0}, {7, 5}, {8, 0}, {11, 9}, {12, 0}, {16, 7}, {17, 0}, {20, 9}, {21, 0}, {27, 6}, {50, 13}}},
    {31, {{4, 0}, {7, 5}, {8, 0}, {11, 7}, {12, 0}, {16, 6}, {17, 0}, {20, 12}, {21, 0}, {27, 5}, {50, 13}}},
    {33, {{4, 0}, {7, 5}, {8, 0}, {11, 7}, {12, 0}, {16, 6}, {17, 0}, {20, 12}, {21, 0}, {27, 5}, {50, 13}}},
    {32, {{4, 0}, {7, 5}, {8, 0}, {11, 6}, {12, 0}, {16, 7}, {17, 0}, {20, 12}, {21, 0}, {27, 5}, {50, 13}}},
    {34, {{4, 0}, {7, 5}, {8, 0}, {11, 6}, {12, 0}, {16, 7}, {17, 0}, {20, 12}, {21, 0}, {27, 5}, {50, 13}}},
    {35, {{4, 0}, {7, 7}, {8, 0}, {9, 5}, {10, 6}, {11, 14}, {12, 0}, {16, 7}, {17, 0}, {20, 9}, {21, 0},
          {24, 5}, {25, 6}, {26, 14}, {50, 13}}},
    {36, {{4, 0}, {7, 5}, {8, 0}, {11, 6}, {12, 0}, {18, 7}, {19, 0}, {21, 9}, {22, 0}, {26, 12}, {27, 0},
          {50, 13}}},
    {37, {{18, 13}, {21, 5}, {22, 0}, {26, 7}, {27, 0}, {50, 6}}},
    {45, {{4, 0}, {7, 5}, {8, 0}, {11, 7}, {12, 0}, {18, 6}, {21, 5}, {22, 0}, {26, 6}, {27, 0}, {50, 13}}},
};
// clang-format on

bool IsBossKind(int32_t k) { return k == 15 || (k >= 29 && k <= 37) || (k >= 45 && k <= 47); }

// The entrance frame of step s, or -1 when the kind has none there.
int32_t EntranceFrame(int32_t kind, int32_t s) {
  if (kind == 37 && game.CurrentStage == 151) return s < 40 ? 13 : -1;
  for (const Entrance& en : kEntrances) {
    if (en.kind != kind) continue;
    for (const EntranceStep& st : en.steps) {
      if (st.below == 0) break;
      if (s < st.below) return st.frame;
    }
  }
  return -1;
}

bool InRange(int32_t v, int32_t lo, int32_t hi) { return v >= lo && v <= hi; }

int32_t BossGroundStanding(const EnemyRecord& e, int32_t c) {
  if (e.kind == 31 && InRange(c, 41, 230)) return 13;
  if (e.kind == 31 && InRange(c, 251, 300)) return 6;
  if (e.kind == 45 && e.attackCycle < 300) return 11;
  return 0;
}

int32_t BossAir(const EnemyRecord& e, int32_t c) {
  if (e.kind == 15) return 5;
  if (e.kind == 31) {
    if (InRange(c, 40, 109) || InRange(c, 800, 999)) return 12;
    if (InRange(c, 110, 199)) return 10;
    if (InRange(c, 220, 299)) return 6;
  }
  if ((e.kind == 33 && InRange(c, 572, 959)) || (e.kind == 34 && InRange(c, 564, 959)) ||
      (e.kind == 36 && InRange(c, 370, 449))) {
    return 13;
  }
  if (e.attackPoseTimer > 0) {
    if (e.kind != 35) return 10;
    return e.attackPoseTimer > 8 ? 5 : e.attackPoseTimer < 5 ? 14 : 6;
  }
  return 8;
}

// Advances the counter on the period's frames; frozen enemies stand still
// unless told otherwise.
void Tick(EnemyRecord& e, int32_t period, bool evenWhenFrozen) {
  if (period < 1 || e.timer % period != 0) return;
  if (e.frozenTimer != 0 && !evenWhenFrozen) return;
  e.animationCounter += 1;
}

void ChooseFrame(EnemyRecord& e) {
  const int32_t k = e.kind;
  const int32_t period = e.head.framePeriod;
  const bool flier = e.mapCollision == 0;
  const bool ground = !flier && e.airborne == 0;
  const bool moving = e.motion.velocityX != 0.0f;
  int32_t& frame = e.head.frame;
  if (k == 38) {
    Tick(e, period, false);
    frame = e.animationCounter % 15;
    if (e.hitPoints == 1111) {
      if (e.timer == 32) e.head.state = kEnemyLeaving;
      if (e.timer > 63) e.head.state = kActorFree;
    }
  } else if (k == 39 || k == 40) {
    if (e.frozenTimer == 0 && e.timer % 2 == 0) e.animationCounter += 1;
    frame = e.animationCounter % 6 == 0 ? 1 : 0;
  } else if (k == 43) {
    frame = 0;
  } else if (k == 1 || k == 2 || k == 3 || k == 42 || (k >= 23 && k <= 25)) {
    Tick(e, period, false);
    frame = e.animationCounter % 4;
  } else if ((k >= 4 && k <= 14) || (k >= 16 && k <= 19) || k == 44) {
    Tick(e, period, false);
    const int32_t m = e.animationCounter;
    if (flier) {
      if (k >= 4 && k <= 6) frame = m % 3 + 6;
      if (k == 7) frame = 4;
      if (k == 19) frame = (e.timer / 2) % 4 + 8;
    } else if (ground) {
      frame = moving ? m % 4 + 1 : e.attackPoseTimer > 0 ? 5 : 0;
    } else {
      frame = k == 18 && e.attackPoseTimer > 0 ? 7 : 6;
    }
  } else if (k >= 20 && k <= 22) {
    const int64_t p = period;
    const bool slow = p >= 1 && game.PlayFrameCount % (8 * p) >= 4 * p;
    Tick(e, slow ? static_cast<int32_t>(2 * p) : period, false);
    frame = e.animationCounter % 2 + (ground ? 0 : 2);
  } else if (k == 26) {
    if (flier) frame = moving ? 1 : 2;
    else frame = ground ? (moving ? 1 : 0) : 2;
  } else if (k == 27 || k == 28) {
    if (e.frozenTimer == 0) e.animationCounter += period;
    frame = 0;
  } else if (IsBossKind(k)) {
    Tick(e, period, true);
    frame = BossFrame(e);
  }
}

void DrawBody(EnemyRecord& e, bool mirrored, int32_t dx) {
  if (e.head.spriteHeight == 128) {
    if (mirrored) DrawActorCenteredOffsetMirrored(e.head, dx, -4);
    else DrawActorCenteredOffset(e.head, dx, -4);
  } else if (mirrored) {
    DrawActorCenteredMirrored(e.head);
  } else {
    DrawActorCentered(e.head);
  }
}

void Place(EnemyRecord& e) {
  const int32_t k = e.kind;
  if (k == 28) {
    const double angle = static_cast<double>(e.animationCounter) * static_cast<double>(kGamePi) / 180.0;
    BlitGraphRotatedInt(TruncToInt(e.head.x - game.CameraScrollX), TruncToInt(e.head.y), 1.0, angle,
                        ActorFrameGraph(e.head), 1, 0);
    return;
  }
  if (k == 38 || k == 42) {
    DrawActorCentered(e.head);
    return;
  }
  if (k == 43) {
    const double swing = std::sin(static_cast<double>(e.timer) * static_cast<double>(e.motion.phaseStep));
    const float degrees = static_cast<float>(swing * (e.head.framePeriod == 1 ? -31.0 : 31.0));
    DrawActorRotatedOffset(e.head, degrees, 1.0f);
    return;
  }
  if (k == 41) return;
  if (game.CurrentStage == 152 && game.EndingPhase > 2) {
    e.facing = 0;
    const bool tinted = game.EndingTimer > 2219;
    if (tinted) qor::SetTintRGBPublic(255, 111, 77);
    DrawBody(e, true, 0);
    if (tinted) qor::SetTintRGBPublic(255, 255, 255);
    return;
  }
  const bool stands = k == 39 || k == 40;
  if (e.frozenTimer != 0) {
    DrawBody(e, !stands && e.facing != 1, 0);
    return;
  }
  bool mirrored;
  if (e.motion.velocityX > 0.0f) {
    e.facing = 1;
    mirrored = false;
  } else if (e.motion.velocityX < 0.0f) {
    e.facing = 0;
    mirrored = true;
  } else if (stands) {
    mirrored = false;
  } else {
    e.facing = e.head.x < pools.players[e.targetPlayer == 1 ? 1 : 0].head.x ? 1 : 0;
    mirrored = e.facing != 1;
  }
  int32_t dx = 0;
  if (k == 29 && e.head.frame == 6) dx = e.facing == 1 ? 32 : -32;
  if (k == 29 && e.head.frame == 12 && InRange(e.attackCycle % 1000, 500, 799)) mirrored = !mirrored;
  DrawBody(e, mirrored, dx);
}

void DrawFaded(EnemyRecord& e) {
  if (e.fadeCounter >= 16) return;
  qor::SelectBlendPublic(1, ClampBlend(255 - 16 * e.fadeCounter));
  DrawEnemySprite(e);
  qor::SelectBlendPublic(0, 0);
}

}  // namespace

int32_t BossFrame(const EnemyRecord& e) {
  const int32_t c = e.attackCycle % 1000;
  int32_t frame;
  if (e.mapCollision == 0) {
    frame = 8;
  } else if (e.airborne != 0) {
    frame = BossAir(e, c);
  } else if (e.attackPoseTimer > 0) {
    frame = e.kind == 15 ? 6 : e.kind == 45 ? 12 : 7;
  } else if (e.motion.velocityX != 0.0f) {
    frame = e.animationCounter % 4 + 1;
  } else {
    frame = BossGroundStanding(e, c);
  }
  if (e.animationId != 0) frame = e.animationId;
  if (e.mode < 50) {
    if (e.kind == 15 && e.timer > 119 && e.timer < 200) frame = 5;
    const int32_t s = e.timer / 4 - 4;
    if (s < 50) {
      const int32_t f = EntranceFrame(e.kind, s);
      if (f >= 0) frame = f;
    }
  }
  return frame;
}

void DrawEnemySprite(EnemyRecord& e) {
  ChooseFrame(e);
  if (e.kind == 37 && e.mode < 50) {
    if (game.CurrentStage == 151) {
      if (e.timer < 90) e.fadeCounter = 16;
      else if (e.timer == 90) e.head.state = kActorActive;
    } else if (e.timer < 5) {
      e.fadeCounter = 16;
    }
  }
  Place(e);
}

void DrawEnemy(EnemyRecord& e) {
  if (e.head.state == kEnemyLeaving) {
    if (e.fadeCounter < 16) e.fadeCounter += 1;
    DrawFaded(e);
    return;
  }
  if (e.fadeCounter >= 1) {
    e.fadeCounter -= 1;
    DrawFaded(e);
    return;
  }
  DrawEnemySprite(e);
  if (e.hitFlash > 0) {
    qor::SelectBlendPublic(2, 255);
    DrawEnemySprite(e);
    qor::SelectBlendPublic(0, 0);
    e.hitFlash -= 1;
  }
  if (e.frozenTimer >= 1) {
    const int32_t f = e.frozenTimer;
    const int32_t r = f % 8;
    const int32_t p = r < 4 ? 32 * r : 32 * (8 - r);
    qor::SetTintRGBPublic(0, 255, 255);
    qor::SelectBlendPublic(3, ClampBlend(static_cast<int64_t>(static_cast<double>(f) / 10.0 * p)));
    DrawEnemySprite(e);
    qor::SelectBlendPublic(0, 0);
    qor::SetTintRGBPublic(255, 255, 255);
    e.frozenTimer -= 1;
  }
}

}  // namespace orb
