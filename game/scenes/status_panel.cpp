// The character-change panel: the party grid with one cursor per player on
// the field, lives held to revive down members, and the portraits.
#include "framework/qorlib.h"
#include "game/world/asset_table.h"
#include "game/world/game_state.h"
#include "game/graph_calls.h"
#include "game/world/input.h"
#include "game/scenes/scenes.h"

namespace orb {

namespace {

constexpr int kLifeCell = 10;
constexpr int kRowLength = 5;

bool OnField(int p) { return p == 0 ? game.OnFieldMode <= 1 : game.OnFieldMode >= 1; }

// The first joined member of a row (0 or 1), or -1 when none has joined.
int FirstJoined(int row) {
  for (int c = 0; c < kRowLength; ++c) {
    if (game.party[row * kRowLength + c].joined) return row * kRowLength + c;
  }
  return -1;
}

// Left or right within the row, wrapping, over members not joined.
int StepInRow(int cell, int step) {
  const int row = cell / kRowLength;
  int c = cell % kRowLength;
  for (int i = 0; i < kRowLength; ++i) {
    c = (c + step + kRowLength) % kRowLength;
    if (game.party[row * kRowLength + c].joined) return row * kRowLength + c;
  }
  return cell;
}

// Down goes row 0, row 1, the life cell, row 0 again; up goes the other
// way. A row with no joined member is passed over.
int StepVertically(int cell, int step) {
  static const int ring[3] = {0, 1, 2};  // row 0, row 1, life cell
  int at = cell == kLifeCell ? 2 : cell / kRowLength;
  for (int i = 0; i < 3; ++i) {
    at = ring[(at + step + 3) % 3];
    if (at == 2) return kLifeCell;
    const int member = FirstJoined(at);
    if (member >= 0) return member;
  }
  return cell;
}

void Cell(int cell, int* x, int* y, int top) {
  if (cell == kLifeCell) {
    *x = 256;
    *y = top + 32 + 96;
  } else {
    *x = 128 * (cell % kRowLength);
    *y = top + 32 + 48 * (cell / kRowLength);
  }
}

void HandleLives(int p) {
  const uint32_t pressed = input.PressedInput[p];
  const uint32_t decide = input.LiveButtonMasks[5 * p + kActionDecide];
  const uint32_t cancel = input.LiveButtonMasks[5 * p + kActionCancel];
  const int c = game.ActiveCharacter[p];
  if (scenes.HoldingLife[p] == 0) {
    if (c == kLifeCell && (pressed & decide) && game.LivesLeft >= 1) {
      PlaySe(assets.seDecide);
      --game.LivesLeft;
      scenes.HoldingLife[p] = 1;
    }
    return;
  }
  if (pressed & cancel) {
    PlaySe(assets.seCancel);
    ++game.LivesLeft;
    scenes.HoldingLife[p] = 0;
  } else if ((pressed & decide) && c >= 0 && c < kMemberCount && game.party[c].down) {
    PlaySe(assets.seUpitem);
    PartyMember& m = game.party[c];
    m.down = 0;
    m.hitPoints = m.hitPointsMax;
    m.power = static_cast<float>(m.powerMax);
    scenes.HoldingLife[p] = 0;
  }
}

void DrawPlayerSide(int p, int y) {
  const int m = game.ActiveCharacter[p];
  const int slide = scenes.PanelSlide[p];
  double alpha = y < 353 ? 3.2 * slide : (480.0 - y) * 2.0;
  if (slide < 80) alpha = alpha * 3.2 * slide / 256.0;
  const bool down = m >= 0 && m < kMemberCount && game.party[m].down;
  if (down) qor::SetTintRGBPublic(99, 99, 99);
  qor::SelectBlendPublic(1, ClampBlend(static_cast<int64_t>(alpha)));
  // Both players' portraits come to rest at the same place; only the name
  // pieces sit side by side.
  BlitGraph((slide < 80 ? slide : 80) - 144, -32, PortraitOfMember(m), 1);
  BlitGraph(320 * p, 224, NameOfMember(m), 1);
  qor::SelectBlendPublic(0, 0);
  if (down) qor::SetTintRGBPublic(255, 255, 255);
}

}  // namespace

void MovePanelCursor(int p, uint32_t pressed) {
  int& cell = game.ActiveCharacter[p];
  const int before = cell >= 0 && cell <= kLifeCell ? cell : 0;
  int after = before;
  if (pressed & kPadLeft) after = before == kLifeCell ? before : StepInRow(before, -1);
  if (pressed & kPadRight) after = before == kLifeCell ? before : StepInRow(before, 1);
  if (pressed & kPadUp) after = StepVertically(before, -1);
  if (pressed & kPadDown) after = StepVertically(before, 1);
  if (!(pressed & (kPadLeft | kPadRight | kPadUp | kPadDown))) return;
  PlaySe(assets.seSelect);
  scenes.PanelSlide[p] = 0;
  cell = after;
  int& other = game.ActiveCharacter[1 - p];
  if (after != before && other == after) other = before;
}

void DrawStatusPanel(int y) {
  for (int p = 0; p < 2; ++p) {
    if (!OnField(p)) continue;
    scenes.PanelSlide[p] += 4;
    DrawPlayerSide(p, y);
  }
  BlitGraph(0, y, assets.effectItemwin[0], 1);
  const int icons[4] = {assets.effectLitem[0], assets.effectSitem[0], assets.effectFitem[0], assets.effectUpitem[0]};
  for (int k = 0; k < 4; ++k) {
    for (int n = 0; n < game.ItemCounters[k] && n < 14; ++n) {
      BlitGraphRotatedInt(24 + 160 * k + 28 * n, y + 16, 0.5, 0.0, icons[k], 1, 0);
    }
  }
  for (int cell = 0; cell <= kLifeCell; ++cell) {
    int x, cy;
    Cell(cell, &x, &cy, y);
    const bool down = cell < kMemberCount && game.party[cell].down;
    if (cell < kMemberCount && !game.party[cell].joined) continue;
    if (down) qor::SetTintRGBPublic(99, 99, 99);
    BlitGraph(x, cy, assets.effectCharawin[cell], 1);
    if (down) qor::SetTintRGBPublic(255, 255, 255);
  }
  const int64_t blink = (static_cast<int64_t>(game.PlayFrameCount) * 20) % 256;
  for (int p = 0; p < 2; ++p) {
    if (!OnField(p)) continue;
    int x, cy;
    const int at = game.ActiveCharacter[p];
    Cell(at >= 0 && at <= kLifeCell ? at : 0, &x, &cy, y);
    qor::SelectBlendPublic(2, static_cast<int>(blink));
    BlitGraph(x, cy, assets.effectPlayerwin[p], 1);
    qor::SelectBlendPublic(0, 0);
    if (scenes.HoldingLife[p]) BlitGraph(x + 96, cy + 8, assets.effectPlayer12[2 + p], 1);
    if (y == 352) {
      MovePanelCursor(p, input.PressedInput[p]);
      HandleLives(p);
    }
  }
}

}  // namespace orb
