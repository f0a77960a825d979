#include "game/world/asset_table.h"

namespace orb {

AssetHandles assets;

namespace {

#define ORB_ENTRY_DIVIDED(name, file, pieces, across, down, w, h) \
  {file, AssetKind::DividedGraph, pieces, across, down, w, h, assets.name},
#define ORB_ENTRY_WHOLE(name, file) {file, AssetKind::WholeGraph, 1, 1, 1, 0, 0, &assets.name},
#define ORB_ENTRY_SOUND(name, file) {file, AssetKind::Sound, 1, 1, 1, 0, 0, &assets.name},

const AssetEntry kTable[] = {
    ORB_ASSET_LIST(ORB_ENTRY_DIVIDED, ORB_ENTRY_WHOLE, ORB_ENTRY_SOUND)
    {nullptr, AssetKind::BlankGraph, 1, 1, 1, 640, 480, &assets.stateBackdrop},
};

#undef ORB_ENTRY_DIVIDED
#undef ORB_ENTRY_WHOLE
#undef ORB_ENTRY_SOUND

}  // namespace

const AssetEntry* AssetTable() { return kTable; }

int AssetTableSize() { return static_cast<int>(sizeof kTable / sizeof kTable[0]); }

void ResetAssetHandles() {
  for (const AssetEntry& e : kTable) {
    for (int i = 0; i < e.pieces; ++i) e.handles[i] = -1;
  }
}

const int* CharacterSheet(int character) {
  static const int* const sheets[10] = {assets.grTovel,  assets.grQuenby, assets.grDorrin, assets.grFriska,
                                        assets.grGorvath, assets.grLismet, assets.grVerrow, assets.grNocta,
                                        assets.grKessel,  assets.grPallow};
  return character >= 0 && character < 10 ? sheets[character] : nullptr;
}

}  // namespace orb
