// Boss blocks not built yet: each leaves its record as it is.
#include "game/bosses/boss_blocks.h"

namespace orb {

void RunBoss34(EnemyRecord&) {}
void RunBoss35(EnemyRecord&) {}
void RunBoss36(EnemyRecord&) {}
void RunBoss37(EnemyRecord&) {}
void RunBoss45(EnemyRecord&) {}
void RunBoss46(EnemyRecord&) {}
void RunBoss47(EnemyRecord&) {}

}  // namespace orb
