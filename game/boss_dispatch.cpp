// The boss hook of the enemy behaviour: one entry per enemy kind. The boss
// behaviours fill their kinds' entries; an empty entry does nothing.
#include "game/enemies.h"

namespace orb {

const BossBehaviour kBossBehaviours[kLastEnemyKind + 1] = {};

void RunBossAI(EnemyRecord& e) {
  if (e.kind < 0 || e.kind > kLastEnemyKind) return;
  if (const BossBehaviour run = kBossBehaviours[e.kind]) run(e);
}

}  // namespace orb
