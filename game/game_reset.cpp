#include "game/game_reset.h"

#include "game/asset_table.h"
#include "game/config_file.h"
#include "game/crt_rand.h"
#include "game/game_state.h"
#include "game/graph_calls.h"
#include "game/input.h"
#include "game/players.h"
#include "game/pools.h"
#include "game/save_slots.h"
#include "game/scenes.h"
#include "game/stage_load.h"
#include "game/tile_map.h"

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
