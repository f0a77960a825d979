// Melee attacks: buffered presses, a three-hit combo, the attack phase timed
// against the character's four timing values, the attack sounds, and the
// melee box placed on the facing side against enemies and breakable blocks.
#include "framework/qorlib.h"
#include "game/world/asset_table.h"
#include "game/world/input.h"
#include "game/actors/items.h"
#include "game/players/players.h"
#include "game/world/pools.h"
#include "game/scenes/scenes.h"

namespace orb {

namespace {

int32_t CharacterOf(const PlayerRecord& p) { return game.ActiveCharacter[p.playerIndex == 1 ? 1 : 0]; }


// Each character's own attack sound, played at timer 1.
int AttackSound(int32_t character) {
  switch (character) {
    case 0: return assets.seAttack0;
    case 1: return assets.seAttack1;
    case 3: return assets.seAttack2;
    case 4: return assets.seAttack4;
    case 5: return assets.seAttack0b;
    case 6: return assets.seAttack1b;
    case 7: return assets.seAttack2b;
    case 9: return assets.seAttack4b;
    default: return -1;
  }
}

void PlayAttackSound(const PlayerRecord& p, int32_t character) {
  const int32_t t = p.attackTimer;
  const uint8_t phase = p.attackPhase;
  if (character == 2) {
    if (phase == 1 && t == 1) PlaySe(assets.seAttack1);
    if ((phase == 2 || phase == 3) && t == 9) PlaySe(assets.seAttack3);
  } else if (character == 8) {
    if (t == 1) PlaySe(phase == 2 ? assets.seAttack5 : assets.seAttack1);
  } else if (t == 1) {
    PlaySe(AttackSound(character));
  }
}

void BeginAttack(PlayerRecord& p, int32_t character, uint32_t held) {
  const bool sideways = (held & (kPadLeft | kPadRight)) != 0;
  const bool special = ((character == 1 || character == 2) && !p.inAir && !p.crouch && sideways) ||
                       (character != 8 && p.stairsMode != 0);
  if (special) {
    p.attackPhase = 3;
  } else {
    if (!p.attackBuffered) {
      p.comboCount = 0;
    } else if (!(held & (kPadLeft | kPadRight | kPadDown)) && !p.inAir) {
      ++p.comboCount;  // from 255 (after a strong attack) to 0
    }
    if (p.comboCount == 2) {
      p.attackPhase = 2;
      p.comboCount = 0;
    } else if (character == 2 && p.inAir) {
      p.attackPhase = 3;
    } else if (character == 8 && !p.inAir && !p.crouch) {
      p.attackPhase = 2;
      p.comboCount = 0;
    } else {
      p.attackPhase = 1;
    }
  }
  p.attackBuffered = 0;
  p.attackTimer = 0;
}

void EndAttack(PlayerRecord& p, int32_t character) {
  const int32_t* t = p.params.meleeTiming;
  const int32_t timer = p.attackTimer;
  if (p.attackPhase == 1 || (p.attackPhase == 3 && character != 2)) {
    if (timer >= t[0]) {
      p.attackPhase = 0;
      p.specialFinished = 0;
    }
  } else if (p.attackPhase == 3) {
    if (timer >= t[2]) {
      p.attackPhase = 0;
      p.specialFinished = 1;
    }
  } else if (p.attackPhase == 2 && timer >= t[2]) {
    p.attackPhase = 0;
    p.comboCount = 255;
    p.attackTimer = t[1] - t[3] + t[0];
  }
}

}  // namespace

WorldBox PlayerMeleeBox(const PlayerRecord& p, bool strong, bool facingRight) {
  const PlayerParams& c = p.params;
  float reach = c.reachStanding;
  MeleeSpan span = c.spanStanding;
  if (strong) {
    reach = c.reachStrong, span = c.spanStrong;
  } else if (p.inAir) {
    reach = c.reachAir, span = c.spanAir;
  } else if (p.crouch) {
    reach = c.reachCrouching, span = c.spanCrouching;
  }
  const float half = p.head.hitboxWidth / 2;
  const float front = facingRight ? p.head.x + half : p.head.x - half;
  const float left = facingRight ? front : front - reach;
  return {left, p.head.y + span.top, left + reach, p.head.y + span.bottom};
}

void UpdateMeleeBookkeeping(PlayerRecord& p) {
  const int32_t character = CharacterOf(p);
  const int32_t* t = p.params.meleeTiming;
  const bool follow = character == 2 && p.specialFollow;
  const int32_t cooldown = follow ? t[2] + t[3] : t[0] + t[1];
  playerPass.AttackAllowed = p.attackTimer < cooldown ? 0 : 1;
  ++p.attackTimer;
  if (p.attackPhase != 0) PlayAttackSound(p, character);

  const bool pressed = ActionPressed(p, kActionDecide);
  if ((pressed || p.attackBuffered) && playerPass.AttackAllowed && p.attackPhase == 0 && !p.holdPose) {
    BeginAttack(p, character, HeldBits(p));
  }
  EndAttack(p, character);
  if (pressed && p.attackTimer > 0 && !p.holdPose && p.attackPhase != 2) {
    p.attackBuffered = 1;
    if (character == 2) p.specialFollow = p.attackPhase == 3 || p.specialFinished;
  }
}

void MeleeHitEnemy(PlayerRecord& p, EnemyRecord& e) {
  if (p.attackPhase == 0) return;
  const int32_t character = CharacterOf(p);
  const bool strong = p.attackPhase == 2 || p.attackPhase == 3;
  const WorldBox box = e.kind == 43 ? PlayerMeleeBox(p, true, false) : PlayerMeleeBox(p, strong, p.facing != 0);
  int32_t damage = p.attackPhase == 2 ? p.params.meleeDamageStrong : p.params.meleeDamage;
  if (character == 2 && strong) {
    if (p.attackTimer < p.params.meleeTiming[2] - 7) return;
    damage = p.params.meleeDamageStrong;
  }
  const ActorHead& h = e.head;
  if (!BoxesOverlap(box, CentredBox(h, 0.9f * h.hitboxWidth, h.hitboxHeight / 2))) return;
  if (e.damageFactors[0] == 0.0f) {
    if (game.PlayFrameCount % 4 == 0) PlaySe(assets.seShield0);
    return;
  }
  if (e.frozenTimer >= 11) return;
  e.frozenTimer = 21;
  const int64_t left = static_cast<int64_t>(e.hitPoints) - damage;
  e.hitPoints = left < INT32_MIN ? INT32_MIN : static_cast<int32_t>(left);
  PlaySe(e.hitPoints < 1 ? assets.seBomb0 : assets.seHit0);
}

void MeleeBreakBlocks(PlayerRecord& p) {
  if (CharacterOf(p) != 8 || (p.attackPhase != 2 && p.attackPhase != 3)) return;
  const WorldBox box = PlayerMeleeBox(p, true, p.facing != 0);
  for (BlockRecord& b : pools.blocks) {
    const ActorHead& h = b.head;
    if (h.state != kActorActive || h.frame != 5 || b.roll != 0.0f || h.spriteWidth != 32) continue;
    if (!BoxesOverlap(box, CentredBox(h, h.hitboxWidth / 2, h.hitboxHeight / 2))) continue;
    PlaySe(assets.seBomb0);
    RemoveObjectWithBurst(b.head);
  }
}

}  // namespace orb
