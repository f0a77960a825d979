// The boss hook of the enemy behaviour: one entry per enemy kind; an empty
// entry does nothing.
#include "game/bosses/boss_blocks.h"

namespace orb {


const BossBehaviour kBossBehaviours[kLastEnemyKind + 1] = {
    nullptr,   nullptr,   nullptr,   nullptr,   nullptr,   nullptr,   nullptr,   nullptr,    // 0-7
    nullptr,   nullptr,   nullptr,   nullptr,   nullptr,   nullptr,   nullptr,   RunBoss15,  // 8-15
    nullptr,   nullptr,   nullptr,   nullptr,   nullptr,   nullptr,   nullptr,   nullptr,    // 16-23
    nullptr,   nullptr,   nullptr,   nullptr,   nullptr,   RunBoss29, RunBoss30, RunBoss31,  // 24-31
    RunBoss32, RunBoss33, RunBoss34, RunBoss35, RunBoss36, RunBoss37, nullptr,   nullptr,    // 32-39
    nullptr,   nullptr,   nullptr,   nullptr,   nullptr,   RunBoss45, RunBoss46, RunBoss47,  // 40-47
};

void RunBossAI(EnemyRecord& e) {
  if (e.kind < 0 || e.kind > kLastEnemyKind) return;
  if (const BossBehaviour run = kBossBehaviours[e.kind]) run(e);
}

}  // namespace orb
