#include "game/world/stage_load.h"

#include <cstdio>
#include <initializer_list>

#include "framework/qorlib.h"
#include "game/world/game_state.h"
#include "game/world/map_collision.h"
#include "game/world/pools.h"
#include "game/world/tile_map.h"

namespace orb {

StageLoadState stageLoad;

namespace {

constexpr int kNamedStages = 201;
constexpr int kNameLength = 40;

struct StageNames {
  char back[kNamedStages][kNameLength];
  char backAlt[kNamedStages][kNameLength];
  char far[kNamedStages][kNameLength];
  char map[kNamedStages][kNameLength];
};

const StageNames& Names() {
  static StageNames names = [] {
    StageNames n{};
    for (int s = 0; s < kNamedStages; ++s) {
      std::snprintf(n.back[s], kNameLength, "back\\stage%03d.bmp", s);
      std::snprintf(n.backAlt[s], kNameLength, "back\\stage%03db.bmp", s);
      std::snprintf(n.far[s], kNameLength, "back\\stage%03dhaik.bmp", s);
      std::snprintf(n.map[s], kNameLength, s >= 198 ? "stage\\%03d.map" : "stage\\%03d.bmp", s);
    }
    return n;
  }();
  return names;
}

bool Named(int stage) { return stage >= 0 && stage < kNamedStages; }

int OpenGraph(const char* file) {
  return file && stageLoad.hooks.openGraph ? stageLoad.hooks.openGraph(file) : -1;
}

void DestroyGraph(int handle) {
  if (handle != -1 && stageLoad.hooks.destroyGraph) stageLoad.hooks.destroyGraph(handle);
}

// Every pixel that cannot be read, and every pixel of a missing picture,
// gives an open tile.
void DecodeTileMap(const char* file) {
  ResetTileMap();
  const StageLoadHooks& h = stageLoad.hooks;
  if (!file || !h.openMapPicture || !h.readMapPixel) return;
  const int picture = h.openMapPicture(file);
  if (picture == -1) return;
  for (int y = 0; y < kTileRows; ++y) {
    for (int x = 0; x < kTileColumns; ++x) {
      int r = 0, g = 0, b = 0;
      if (h.readMapPixel(picture, x, y, &r, &g, &b) != 0) continue;
      const bool byteColour = r >= 0 && r < 256 && g >= 0 && g < 256 && b >= 0 && b < 256;
      if (byteColour) {
        tiles.TileMap[y][x] = TileCodeOfColour(static_cast<uint8_t>(r), static_cast<uint8_t>(g),
                                               static_cast<uint8_t>(b));
      }
    }
  }
  if (h.closeMapPicture) h.closeMapPicture(picture);
}

// Rooms stacked with a horizontal offset: the x shift of a vertical entry.
float VerticalEntryShift(int side, int from, int to) {
  struct Shift {
    int from, to;
    float dx;
  };
  static const Shift fromBelow[] = {{25, 24, -1280}, {39, 41, -1280}, {26, 27, 1280}, {30, 29, 1280}};
  static const Shift fromAbove[] = {{24, 25, 1280}, {41, 39, 1280}, {27, 26, -1280}, {29, 30, -1280}};
  const Shift* table = side == kEnteredFromBelow ? fromBelow : fromAbove;
  for (int i = 0; i < 4; ++i) {
    if (table[i].from == from && table[i].to == to) return table[i].dx;
  }
  return 0.0f;
}

void PlacePlayers() {
  PlayerRecord& p1 = pools.players[0];
  PlayerRecord& p2 = pools.players[1];
  const float left = game.links.leftBound, right = game.links.rightBound;
  const bool boss = game.BossMode != 0;
  const int from = game.PreviousStage, to = game.CurrentStage;
  switch (game.EntrySide) {
    case kEnteredRightEnd:
      if (to == 56 && from == 58) {
        p1.head.x = p2.head.x = left + 320;
        p1.head.y = p2.head.y = game.EntryY;
      } else if (to == 122 && from == 124) {
        p1.head.x = p2.head.x = left + 640;
        p1.head.y = p2.head.y = 256.0f;
      } else {
        p1.head.x = right + 640 - (boss ? 128 : 0);
        p2.head.x = right + 640 - (boss ? 64 : 0);
        p1.head.y = p2.head.y = game.EntryY;
      }
      break;
    case kEnteredLeftEnd:
      p1.head.x = left + (boss ? 128 : 0);
      p2.head.x = left + (boss ? 64 : 0);
      p1.head.y = p2.head.y = game.EntryY;
      break;
    case kEnteredFromBelow:
    case kEnteredFromAbove: {
      const float x = game.EntryX + VerticalEntryShift(game.EntrySide, from, to);
      const float y = game.EntrySide == kEnteredFromBelow ? 480.0f : 0.0f;
      for (PlayerRecord* p : {&p1, &p2}) {
        p->head.x = x;
        p->head.y = y;
        p->verticalSpeed = 0.0f;
        p->inAir = 0;
      }
      break;
    }
    case kEnteredAtPoint:
      p1.head.x = p2.head.x = game.EntryX;
      p1.head.y = p2.head.y = game.EntryY;
      break;
    default:
      break;
  }
}

}  // namespace

void ResetStageLoad() {
  stageLoad = {};
  stageLoad.StagePictureHandle = stageLoad.StageAltPictureHandle = stageLoad.FarPictureHandle = -1;
  stageLoad.MusicHandle = -1;
}

void SetStageLoadHooks(const StageLoadHooks& hooks) { stageLoad.hooks = hooks; }

const char* StageBackName(int stage) { return Named(stage) ? Names().back[stage] : nullptr; }
const char* StageBackAltName(int stage) { return Named(stage) ? Names().backAlt[stage] : nullptr; }
const char* StageFarName(int stage) { return Named(stage) ? Names().far[stage] : nullptr; }
const char* StageMapName(int stage) { return Named(stage) ? Names().map[stage] : nullptr; }

int StageMusicNumber(int stage, bool bossMode) {
  if (bossMode) return stage == 149 ? 13 : 1;
  struct Range {
    int first, last, music;
  };
  static const Range ranges[] = {
      {0, 2, 2},     {18, 19, 2},    {3, 17, 3},     {20, 31, 4},    {150, 150, 4},  {32, 44, 5},
      {102, 104, 5}, {45, 57, 6},    {58, 73, 7},    {74, 87, 8},    {88, 101, 9},   {105, 119, 10},
      {120, 137, 11}, {138, 145, 12}, {151, 152, 14},
  };
  for (const Range& r : ranges) {
    if (stage >= r.first && stage <= r.last) return r.music;
  }
  return -1;
}

void SelectStageMusic() {
  const int music = StageMusicNumber(game.CurrentStage, game.BossMode != 0);
  if (music < 0 || music == stageLoad.MusicNumber) return;
  stageLoad.MusicNumber = music;
  qor::StopSoundPublic(stageLoad.MusicHandle);
  qor::DeleteSoundPublic(stageLoad.MusicHandle, 0);
  char file[32];
  std::snprintf(file, sizeof file, "sddata\\bgm%02d.wav", music);
  stageLoad.MusicHandle = qor::LoadSoundFilePublic(file, 3, -1);
  qor::PlaySoundHandlePublic(stageLoad.MusicHandle, music == 14 ? 1 : 3, 1);
}

void LoadStageLayers() {
  DestroyGraph(stageLoad.StagePictureHandle);
  DestroyGraph(stageLoad.StageAltPictureHandle);
  DestroyGraph(stageLoad.FarPictureHandle);
  const int stage = game.CurrentStage;
  stageLoad.StagePictureHandle = OpenGraph(StageBackName(stage));
  stageLoad.StageAltPictureHandle = OpenGraph(StageBackAltName(stage));
  stageLoad.FarPictureHandle = OpenGraph(StageFarName(stage));
  stageLoad.AltPictureShown = stageLoad.StageAltPictureHandle != -1;
  stageLoad.FarPictureShown = stageLoad.FarPictureHandle != -1;
  SelectStageMusic();
  DecodeTileMap(StageMapName(stage));
  if (!game.BossMode) OpenStageWalls(game.links.exitLeft != 0, game.links.exitRight != 0);
}

void BeginStage() {
  for (PlayerRecord& p : pools.players) {
    p.blockContactFloat = 0.0f;
    p.stairsMode = game.EntryWalkIn;
    p.facing = game.EntryFacing;
    p.stageMoveBytes[0] = p.stageMoveBytes[1] = p.stageMoveBytes[2] = 0;
    p.stageMoveCounter = 0;
    p.riding = 0;
    p.blockContactByte = 0;
  }
  game.BossIntroTimer = 0;
  pools.EnemyRingIndex = 0;
  FreeStageActors();
  LoadStageLayers();
  if (game.CurrentStage == 151 || game.CurrentStage == 152) {
    game.EndingPhase = game.CurrentStage == 151 ? 2 : 3;
    game.EndingTimer = 0;
  }
  PlacePlayers();
  for (PlayerRecord& p : pools.players) {
    p.respawnX = p.head.x;
    p.respawnY = p.head.y;
  }
  UpdateCamera();
  game.PreviousStage = game.CurrentStage;
}

}  // namespace orb
