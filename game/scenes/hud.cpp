// The HUD: hit-point and power bars and the face of each player on the
// field, and the boss bar with the boss fight's bookkeeping.
#include "framework/qorlib.h"
#include "game/world/asset_table.h"
#include "game/world/game_state.h"
#include "game/graph_calls.h"
#include "game/world/pools.h"
#include "game/scenes/scenes.h"
#include "game/world/stage_load.h"

namespace orb {

namespace {

struct Rgb {
  int r, g, b;
};

// One bar: background to the maximum, fill to the value, texture, caps and
// frame. `right` bars grow leftward from x.
void Bar(int x, int y, int value, int maximum, Rgb fill, bool right) {
  const int from = right ? x - maximum : x;
  const int fillFrom = right ? x - value : x;
  PaintBoxRGB(from, y, from + maximum, y + 12, 11, 11, 11);
  PaintBoxRGB(fillFrom, y, fillFrom + value, y + 12, fill.r, fill.g, fill.b);
  BlitGraphPart(fillFrom, y, 0, 0, value, 12, assets.effectLife[0], 1);
  BlitGraph(from - 3, y - 1, assets.effectLifec[0], 1);
  BlitGraph(from + maximum, y - 1, assets.effectLifec[1], 1);
  BlitGraphPart(from, y - 1, 0, 0, maximum, 14, assets.effectLifeb[0], 1);
}

void PlayerBars(int p, int y) {
  const int m = game.ActiveCharacter[p];
  if (m < 0 || m >= kMemberCount) return;  // the life cell has no bars
  const PartyMember& member = game.party[m];
  const bool right = p == 1;
  const int x = right ? 578 : 62;
  Bar(x, y, member.hitPoints, member.hitPointsMax, right ? Rgb{211, 12, 111} : Rgb{211, 12, 77}, right);
  Bar(x, y + 17, ToInt(member.power), member.powerMax, right ? Rgb{12, 111, 211} : Rgb{12, 77, 211},
      right);
  BlitGraph(right ? 592 : 16, y, assets.titleFace[m], 1);
}

void BossBar() {
  EnemyRecord& boss = pools.enemies[1];
  scenes.BossShownHp = boss.hitPoints / 20;
  if (scenes.BossShownHp < 1) {
    boss.hitPoints = 0;
    scenes.BossShownHp = 0;
    game.BossMode = 0;
    qor::StopSoundPublic(stageLoad.MusicHandle);
  }
  int32_t& t = game.BossIntroTimer;
  if (t < 5) scenes.BossFullHp = scenes.BossShownHp;
  if (t < 209) ++t;
  const int y = 448;
  Rgb fill{77, 211, 12};
  if (t >= 128) {
    if (t < 144) qor::SelectBlendPublic(1, ClampBlend((t - 128) * 16));
    if (t < 208) {
      scenes.BossShownHp = t < 144 ? 0 : static_cast<int>(static_cast<int64_t>(t - 144) * scenes.BossFullHp / 64);
      if (t % 4 == 0) PlaySe(assets.seBossup);
      fill = Rgb{12, 211, 77};
    } else if (scenes.BossShownHp < scenes.BossFullHp / 3) {
      const int64_t f = game.PlayFrameCount;
      fill = Rgb{static_cast<int>((f * 32) % 256), static_cast<int>(170 - (f * 16) % 128), 12};
    }
  }
  if (t < 128) return;
  BlitGraph(23, 437, assets.effectBoss[0], 1);
  PaintBoxRGB(100, y, 100 + scenes.BossFullHp, y + 12, 11, 11, 11);
  PaintBoxRGB(100, y, 100 + scenes.BossShownHp, y + 12, fill.r, fill.g, fill.b);
  BlitGraphPart(100, y, 0, 0, scenes.BossShownHp, 12, assets.effectBlife[0], 1);
  BlitGraph(97, y - 1, assets.effectLifec[0], 1);
  BlitGraph(100 + scenes.BossFullHp, y - 1, assets.effectLifec[1], 1);
  BlitGraphPart(100, y - 1, 0, 0, scenes.BossFullHp, 14, assets.effectBlifeb[0], 1);
  if (t < 144) qor::SelectBlendPublic(0, 0);
}

}  // namespace

int HudRow() {
  float top = pools.players[0].head.y;
  if (game.OnFieldMode == 2) top = pools.players[1].head.y;
  if (game.OnFieldMode == 1 && pools.players[1].head.y < top) top = pools.players[1].head.y;
  const int t = ToInt(top);
  return t < 64 ? static_cast<int>(static_cast<int64_t>(t) - 63) : 1;
}

void DrawHud() {
  if (game.EndingPhase == 0) {
    const int y = HudRow();
    if (game.OnFieldMode <= 1) PlayerBars(0, y);
    if (game.OnFieldMode >= 1) PlayerBars(1, y);
  }
  if (game.BossMode == 1) BossBar();
}

}  // namespace orb
