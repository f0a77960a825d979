#include "game/game_reset.h"

#include "game/world/asset_table.h"
#include "game/world/config_file.h"
#include "game/world/crt_rand.h"
#include "game/world/game_state.h"
#include "game/graph_calls.h"
#include "game/world/input.h"
#include "game/players/players.h"
#include "game/world/pools.h"
#include "game/world/save_slots.h"
#include "game/scenes/scenes.h"
#include "game/world/stage_load.h"
#include "game/world/tile_map.h"

namespace orb {

void ResetGameModules() {
  ResetPools();
  ResetGameState();
  ResetInput();
  ResetConfig();
  ResetSaves();
  ResetTileMap();
  ResetStageLoad();
  ResetAssetHandles();
  ResetRand();
  ResetScenes();
  ResetGraphCalls();
  ResetPlayerPass();
}

}  // namespace orb
