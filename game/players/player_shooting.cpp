// Player shooting: while the shoot button is held, the character fires its
// own pattern at its own interval, paying each volley out of the member's
// power gauge. The fans reuse the enemies' fan geometry; the player's
// scatter draws its own random offsets.
#include "framework/qorlib.h"
#include "game/world/asset_table.h"
#include "game/world/crt_rand.h"
#include "game/world/input.h"
#include "game/players/players.h"
#include "game/world/pools.h"
#include "game/scenes/scenes.h"
#include "game/actors/shots.h"
#include "game/actors/volley.h"

namespace orb {

namespace {

struct ShotArgs {
  float speedAccel, driftAccelX, driftAccelY, angleAccel;
  int32_t lifetime, typeCode, damage;
  uint8_t damageClass;
};

void SpawnFanShot(const VolleyBullet& b, void* context) {
  const ShotArgs& a = *static_cast<const ShotArgs*>(context);
  ApplyPlayerShotChildSpec();
  SpawnPlayerShot(b.x, b.y, b.speed, b.angle, a.speedAccel, a.driftAccelX, a.driftAccelY, a.angleAccel, a.typeCode,
                  a.damage, a.damageClass, a.lifetime);
}

// One player's shooting this frame: its pad, facing, member and the cost
// factor of the difficulty.
struct Shooter {
  explicit Shooter(PlayerRecord& p)
      : player(p), member(MemberOf(p)), held(HeldBits(p)), right(p.facing != 0),
        costFactor(game.DifficultyLevel == 0 ? 1.3f : 1.7f) {}

  bool Held(uint32_t bits) const { return (held & bits) != 0; }
  // The value for facing right or facing left.
  float Side(float r, float l) const { return right ? r : l; }

  void Muzzle(float mx, float my) {
    player.muzzleX = player.head.x + Side(mx, -mx);
    player.muzzleY = player.head.y + my;
  }

  // Paid and sounded when the counter is on the interval and the power suffices.
  bool Due(int32_t interval, float baseCost, int sound) {
    return player.fireCounter % interval == 0 && Pay(baseCost, sound);
  }
  // Modes fired every n with the counter cycling 0 .. n - 1.
  bool DueCycling(int32_t n, float baseCost, int sound) {
    const bool due = Due(n, baseCost, sound);
    if (player.fireCounter >= n) player.fireCounter -= n;
    return due;
  }
  bool Pay(float baseCost, int sound) {
    const float cost = costFactor * baseCost;
    if (!member || member->power < cost) return false;
    member->power -= cost;
    PlaySe(sound);
    return true;
  }

  void Fire(int32_t kind, int32_t count, float spread, float speed, float angle, float speedAccel, float driftX,
            int32_t lifetime, int32_t type, int32_t damage, uint8_t damageClass = 1, float angleAccel = 0.0f) {
    FirePlayerShotPattern(player.muzzleX, player.muzzleY, kind, count, spread, speed, angle, speedAccel, driftX, 0.0f,
                          angleAccel, lifetime, type, damage, damageClass);
  }

  // Angle number n of a sweep of five (or four) angles by facing.
  float Sweep(const float (&r)[5], const float (&l)[5], int32_t n) {
    for (int i = 0; i < 5; ++i) player.shotAngles[i] = right ? r[i] : l[i];
    return player.shotAngles[n];
  }

  PlayerRecord& player;
  PartyMember* member;
  uint32_t held;
  bool right;
  float costFactor;
};

// Down 30, up -30, else straight (for facing right; mirrored for left).
float AimedByHeld(const Shooter& s) {
  if (s.Held(kPadDown)) return s.Side(30, 150);
  if (s.Held(kPadUp)) return s.Side(-30, 210);
  return s.Side(0, 180);
}

void Character0To4(Shooter& s, int32_t character) {
  PlayerRecord& p = s.player;
  const int32_t fc = p.fireCounter;
  switch (character) {
    case 0: {
      s.Muzzle(22, 4);
      const float a = AimedByHeld(s);
      if (s.Due(5, 4.6f, assets.seShot2)) s.Fire(1, 1, 0, 12.0f, a, 0, 0, 0, 10000, 32);
      break;
    }
    case 1: {
      s.Muzzle(22, 4);
      p.shotDriftAccelX = s.Side(0.3f, -0.3f);
      p.spread = s.Held(kPadDown) ? 360.0f : s.Held(kPadUp) ? 110.0f : 70.0f;
      if (s.Due(6, 4.8f, assets.seShot7)) {
        const int32_t type = 10100 + Rand() % 4;
        s.Fire(3, 1, p.spread, 4.0f, s.Side(0, 180), 0, p.shotDriftAccelX, 30, type, 47);
      }
      break;
    }
    case 2: {
      s.Muzzle(22, 4);
      p.muzzle2X = p.head.x;
      p.muzzle2Y = p.head.y - 8;
      p.spread = s.Held(kPadLeft | kPadRight) ? 15.0f : 60.0f;
      const float second = AimedByHeld(s);
      if (s.Due(7, 4.7f, assets.seShot3)) {
        s.Fire(1, 1, 0, 5.0f, s.Side(0, 180), 0, 0, 0, 10203, 24);
        FirePlayerShotPattern(p.muzzle2X, p.muzzle2Y, 3, 1, p.spread, 5.0f, second, 0, 0, 0, 0, 0, 10200, 24, 1);
      }
      break;
    }
    case 3:
      s.Muzzle(12, 10);
      if (s.Due(5, 2.3f, assets.seShot4)) s.Fire(3, 1, 30.0f, 18.0f, s.Side(0, 180), -0.7f, 0, 23, 10300, 47, 3);
      break;
    case 4: {
      s.Muzzle(22, 4);
      const int32_t n = (fc % 40) / 5;
      const float a = s.Sweep({32, 16, 0, -16, -32}, {148, 164, 180, 196, 212}, n < 5 ? n : 4);
      if (fc % 40 < 25 && s.Due(5, 3.0f, assets.seShot7b)) {
        s.Fire(1, 5, 68.0f, 7.0f, a, -0.11f, 0, 32, 10400 + n % 4, 11);
      }
      break;
    }
    default: break;
  }
}

void Character5To9(Shooter& s, int32_t character) {
  PlayerRecord& p = s.player;
  int32_t& fc = s.player.fireCounter;
  if (fc < 0) fc = 0;
  const bool up = s.Held(kPadUp), down = s.Held(kPadDown);
  switch (character) {
    case 5:
      if (down) {
        s.Muzzle(15, 4);
        const float a = static_cast<float>((fc * 4) % 360);
        if (s.Due(12, 14.0f, assets.seShot5)) s.Fire(1, 6, 360.0f, 10.0f, a, -0.3f, 0, 20, 10500, 50, 2, 4.0f);
      } else if (up) {
        s.Muzzle(22, 4);
        if (s.DueCycling(16, 18.0f, assets.seShot6)) {
          s.Fire(1, 3, 60.0f, 12.5f, s.Side(0, 180), -0.5f, 0, 25, 11300, 43);
        }
      } else if (s.Held(kPadLeft | kPadRight)) {
        s.Muzzle(22, 4);
        if (s.Due(6, 5.2f, assets.seShot4)) s.Fire(3, 1, 20.0f, 17.0f, s.Side(0, 180), -0.4f, 0, 10, 10300, 35, 3);
      } else {
        s.Muzzle(22, 4);
        p.shotDriftAccelX = s.Side(-0.3f, 0.3f);
        if (s.Due(7, 5.5f, assets.seShot0)) {
          p.muzzleY += static_cast<float>(Rand() % 21 - 10);
          s.Fire(1, 1, 0, 9.0f, s.Side(0, 180), 0, p.shotDriftAccelX, 17, 10500, 50, 2);
        }
      }
      break;
    case 6:
      if (up) {
        s.Muzzle(30, 4);
        const int32_t i = fc / 2;
        const float a = static_cast<float>(i % 20 < 10 ? i % 10 - 5 : 5 - i % 10) + s.Side(0, 180);
        if (s.Due(5, 4.4f, assets.seShot7c)) s.Fire(1, 2, 10.0f, 16.0f, a, -1.0f, 0, 10, 10600, 21);
      } else if (down && ActionPressed(p, kActionShoot)) {
        // The warp move instead of a shot.
        if (!p.inAir && p.stairsMode == 0 && !p.warpFade && s.Pay(16.0f, assets.seShot9)) {
          p.warpFade = 1;
          p.fadeCounter = 0;
        }
      } else {
        s.Muzzle(38, 4);
        const int32_t n = (fc % 30) / 5;
        const float a = s.Sweep({24, 8, -8, -24, -24}, {156, 172, 188, 204, 204}, n < 4 ? n : 3);
        if (fc % 30 < 20 && s.Due(5, 5.1f, assets.seShot7c)) s.Fire(1, 4, 45.0f, 0.1f, a, 0.5f, 0, 10, 10600, 21);
      }
      break;
    case 7:
      if (up) {
        s.Muzzle(24, 7);
        const float a = s.Side(0, 180);
        if (s.DueCycling(20, 23.0f, assets.seShot5)) {
          s.Fire(1, 1, 0, 10.0f, a, 0, 0, 0, 10703, 40);
          s.Fire(3, 4, 20.0f, 10.0f, a, -0.3f, 0, 10, 11503, 15);
          s.Fire(3, 6, 20.0f, 9.0f, a, -0.3f, 0, 10, 11403, 8);
        }
      } else {
        s.Muzzle(20, 7);
        if (s.Due(5, 4.6f, assets.seShot3b)) s.Fire(3, 2, 30.0f, 15.0f, s.Side(0, 180), -0.5f, 0, 10, 10403, 24);
      }
      break;
    case 8:
      if (up) {
        s.Muzzle(25, -8);
        if (s.DueCycling(20, 20.0f, assets.seShot6)) {
          s.Fire(1, 1, 1.0f, 12.0f, s.Side(0, 180), -0.4f, 0, 30, 11100, 120);
        }
      } else {
        s.Muzzle(25, 8);
        const int32_t n = (fc % 35) / 5;
        const float a = s.Sweep({8, 4, 0, -4, -8}, {172, 176, 180, 184, 188}, n < 5 ? n : 4);
        if (fc % 35 <= 24 && s.Due(5, 5.0f, assets.seShot7d)) s.Fire(1, 1, 1.0f, 0, a, 0.7f, 0, 10, 10800, 43);
      }
      break;
    case 9:
      if (up) {
        s.Muzzle(39, 5);
        const int32_t n = (fc % 42) / 7;
        const float a = s.Sweep({56, 48, 40, 32, 24}, {124, 132, 140, 148, 156}, n < 5 ? n : 4);
        if (fc % 42 < 28 && s.Due(7, 9.0f, assets.seShot6)) {
          s.Fire(1, 1, 1.0f, 5.0f, a, 0.2f, 0, 23, 11100, 70, 1, s.Side(-3.0f, 3.0f));
        }
      } else {
        s.Muzzle(33, down ? -13 : -6);
        const float a = down ? s.Side(-35, 215) : s.Side(0, 180);
        if (fc % 35 < 21 && s.Due(7, 8.0f, assets.seShot8)) {
          s.Fire(1, 5, down ? 70.0f : 60.0f, 0, a, 0.5f, 0, 13, 10900 + (fc % 35) / 5, 23);
        }
      }
      break;
    default: break;
  }
}

}  // namespace

// No player ever has a follow-up pattern of its own pending, so the slot
// keeps the empty follow-up (kind 0) and player shots never burst.
void ApplyPlayerShotChildSpec() { SetDefaultShotChildSpec(NextPlayerShot()); }

void FirePlayerShotPattern(float x, float y, int32_t kind, int32_t count, float spread, float speed, float angle,
                           float speedAccel, float driftAccelX, float driftAccelY, float angleAccel,
                           int32_t lifetime, int32_t typeCode, int32_t damage, uint8_t damageClass) {
  ShotArgs args{speedAccel, driftAccelX, driftAccelY, angleAccel, lifetime, typeCode, damage, damageClass};
  if (kind == 1) {
    const VolleyShape shape{1, count, spread, 0, 0, x, y, speed, angle};
    EmitVolley(shape, SpawnFanShot, &args);
    return;
  }
  if (kind != 3) return;
  // A spread that truncates below 1 leaves no range to draw from: offset 0.
  const int32_t range = spread >= 1.0f && spread < 2147483647.0f ? static_cast<int32_t>(spread) : 0;
  for (int32_t i = 0; i < count; ++i) {
    const float offset = range > 0 ? static_cast<float>(Rand() % range) : 0.0f;
    const float heading = angle - spread / 2 + offset;
    const float scaled = speed * static_cast<float>(Rand() % 41 + 80) / 100;
    SpawnFanShot({x, y, scaled, heading}, &args);
  }
}

void UpdatePlayerAttack(PlayerRecord& p) {
  int32_t& fc = p.fireCounter;
  const bool held = ActionHeld(p, kActionShoot);
  if (ActionPressed(p, kActionShoot) && fc > 4) fc = -1;
  if (!held && fc < 5) ++fc;
  if (!held) return;
  ++fc;
  ++p.holdCounter;
  Shooter s(p);
  const int32_t character = game.ActiveCharacter[p.playerIndex == 1 ? 1 : 0];
  if (character <= 4) {
    Character0To4(s, character);
  } else {
    Character5To9(s, character);
  }
}

}  // namespace orb
