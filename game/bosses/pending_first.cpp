// Boss blocks not built yet: each leaves its record as it is.
#include "game/bosses/boss_blocks.h"

namespace orb {

void RunBoss15(EnemyRecord&) {}
void RunBoss29(EnemyRecord&) {}
void RunBoss30(EnemyRecord&) {}
void RunBoss31(EnemyRecord&) {}
void RunBoss32(EnemyRecord&) {}
void RunBoss33(EnemyRecord&) {}

}  // namespace orb
