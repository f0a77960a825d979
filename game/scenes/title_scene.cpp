// The title scene: scrolling background, logo and five menu pages (main,
// file select, difficulty, options, pad buttons).
#include "framework/qorlib.h"
#include "game/world/asset_table.h"
#include "game/world/config_file.h"
#include "game/world/game_state.h"
#include "game/graph_calls.h"
#include "game/world/input.h"
#include "game/world/roster.h"
#include "game/world/save_slots.h"
#include "game/scenes/scenes.h"
#include "game/world/stage_load.h"

namespace orb {

namespace {

enum TitlePage { kMainPage = 0, kFilePage = 1, kLevelPage = 2, kOptionPage = 3, kPadPage = 4 };
enum class Leave { Stay, Quit, Play, Restart };

constexpr int kPadRows[2] = {7, 5};  // player 1: actions 0-4, defaults, back; player 2: actions 0-3, defaults

void OpenPage(int page, int cursor) {
  scenes.TitleSubState = page;
  scenes.TitleMenuTimer = 0;
  if (page < kPadPage) scenes.titleCursor[page] = cursor;
  scenes.padCursor[0] = scenes.padCursor[1] = 0;
}

void Cursor(int x, int y) {
  BlitGraphRotatedInt(x, y, 1.0, game.PlayFrameCount / 10.0, assets.titleOnnmyou[0], 1, 0);
}

// Moves a cursor with a player's up and down bits, wrapping.
bool MoveCursor(int32_t* cursor, int rows, uint32_t pressed) {
  int step = 0;
  if (pressed & kPadDown) step = 1;
  if (pressed & kPadUp) step = -1;
  if (step == 0) return false;
  *cursor = (*cursor + step + rows) % rows;
  PlaySe(assets.seSelect);
  return true;
}

void DrawSlot(int slot, int y) {
  BlitGraph(64, y, assets.titleFile[slot], 1);
  if (!SlotUsed(slot)) {
    BlitGraph(192, y + 48, assets.titleNewgame[0], 1);
    return;
  }
  const SlotSummary& s = saves.summaries[slot];
  for (int m = 0; m < kMemberCount; ++m) {
    if (s.joined[m]) BlitGraph(96 + 40 * m, y + 24, assets.titleFace[m], 1);
  }
  BlitGraph(96, y + 72, assets.titleLevel[s.difficulty & 3], 1);
}

void DrawPage() {
  const int page = scenes.TitleSubState;
  const int32_t* cur = scenes.titleCursor;
  if (page == kMainPage) {
    for (int r = 0; r < 4; ++r) BlitGraph(192, 240 + 48 * r, assets.titleMenu[r], 1);
    Cursor(168, 256 + 48 * cur[kMainPage]);
    return;
  }
  const int64_t t = scenes.TitleMenuTimer;
  qor::SelectBlendPublic(1, t < 32 ? ClampBlend(t * 4) : 128);
  PaintBoxRGB(0, 0, 640, 480, 0, 0, 0);
  qor::SelectBlendPublic(1, t < 32 ? ClampBlend(t * 8) : 255);
  switch (page) {
    case kFilePage:
      for (int s = 0; s < 3; ++s) DrawSlot(s, 64 + 136 * s);
      break;
    case kLevelPage:
      for (int r = 0; r < 4; ++r) BlitGraph(192, 176 + 48 * r, assets.titleLevel[r], 1);
      BlitGraph(64, 376, assets.titleLevelmenu[cur[kLevelPage]], 1);
      break;
    case kOptionPage:
      for (int r = 0; r < 4; ++r) BlitGraph(160, 200 + 48 * r, assets.titleOptionmenu[r], 1);
      BlitGraph(368, 200, assets.titleOptionmenu[config.WindowedMode ? 4 : 5], 1);
      BlitGraph(368, 248, assets.titlePad[config.CameraFollowOne ? 1 : 0], 1);
      break;
    default:
      for (int p = 0; p < 2; ++p) {
        const int x = 48 + 304 * p;
        const int* rows = p == 0 ? assets.titlePadmenu : assets.titlePadmenu2;
        const int* nums = p == 0 ? assets.titlePadnum : assets.titlePadnum2;
        for (int r = 0; r < kPadRows[p]; ++r) {
          BlitGraph(x + 24, 160 + 36 * r, rows[r], 1);
          if (r < kPadRows[p] - 2 + p) {
            BlitGraph(x + 168, 160 + 36 * r, nums[GetPadButtonIndex(input.ConfigButtonMasks[p * 5 + r])], 1);
          }
        }
      }
      break;
  }
  qor::SelectBlendPublic(0, 0);
  switch (page) {
    case kFilePage: Cursor(48, 128 + 136 * cur[kFilePage]); break;
    case kLevelPage: Cursor(168, 192 + 48 * cur[kLevelPage]); break;
    case kOptionPage: Cursor(136, 216 + 48 * cur[kOptionPage]); break;
    default:
      for (int p = 0; p < 2; ++p) Cursor(56 + 304 * p, 176 + 36 * scenes.padCursor[p]);
      break;
  }
}

bool LeaveOptions(int sound) {
  PlaySe(sound);
  SaveConfigFile();
  OpenPage(kMainPage, 0);
  return (config.WindowedMode != 0) != (qor::IsWindowedModePublic() != 0);
}

Leave PageKeys() {
  const uint32_t pressed = input.PressedInput[0];
  const uint32_t decide = input.ConfigButtonMasks[kActionDecide], cancel = input.ConfigButtonMasks[kActionCancel];
  int32_t* cur = scenes.titleCursor;
  switch (scenes.TitleSubState) {
    case kMainPage:
      MoveCursor(&cur[kMainPage], 4, pressed);
      if (!(pressed & decide)) return Leave::Stay;
      PlaySe(assets.seDecide);
      if (cur[kMainPage] <= 1) {
        game.TitlePlayerCount = static_cast<uint8_t>(cur[kMainPage]);
        ReadSaveSlotSummaries();
        OpenPage(kFilePage, 0);
      } else if (cur[kMainPage] == 2) {
        OpenPage(kOptionPage, 0);
      } else {
        return Leave::Quit;
      }
      return Leave::Stay;
    case kFilePage:
      if (MoveCursor(&cur[kFilePage], 3, pressed)) scenes.DeleteHoldFrames = 0;
      scenes.DeleteHoldFrames = qor::QueryKeyPressedPublic(0xD3) ? scenes.DeleteHoldFrames + 1 : 0;
      if (scenes.DeleteHoldFrames > 299) {
        game.SaveSlotIndex = static_cast<uint8_t>(cur[kFilePage]);
        scenes.DeleteHoldFrames = 0;
        if (SlotUsed(cur[kFilePage])) {
          PlaySe(assets.seDead);
          saves.summaries[cur[kFilePage]].joined[0] = 0;
          game.party[0].joined = 0;
          WriteSaveSlot();
        }
      }
      if (pressed & decide) {
        PlaySe(assets.seDecide);
        game.SaveSlotIndex = static_cast<uint8_t>(cur[kFilePage]);
        if (SlotUsed(cur[kFilePage])) {
          ResetNewGame();
          ReadSaveSlot();
          return Leave::Play;
        }
        OpenPage(kLevelPage, 1);
      } else if (pressed & cancel) {
        PlaySe(assets.seCancel);
        OpenPage(kMainPage, 0);
      }
      return Leave::Stay;
    case kLevelPage:
      MoveCursor(&cur[kLevelPage], 4, pressed);
      if (pressed & decide) {
        PlaySe(assets.seDecide);
        game.DifficultyLevel = static_cast<uint8_t>(cur[kLevelPage]);
        ResetNewGame();
        return Leave::Play;
      }
      if (pressed & cancel) {
        PlaySe(assets.seCancel);
        OpenPage(kFilePage, cur[kFilePage]);
      }
      return Leave::Stay;
    case kOptionPage:
      MoveCursor(&cur[kOptionPage], 4, pressed);
      if (pressed & (kPadLeft | kPadRight)) {
        if (cur[kOptionPage] == 0) config.WindowedMode = config.WindowedMode ? 0 : 1;
        if (cur[kOptionPage] == 1) config.CameraFollowOne = config.CameraFollowOne ? 0 : 1;
        if (cur[kOptionPage] <= 1) PlaySe(assets.seSelect);
      }
      if ((pressed & decide) && cur[kOptionPage] == 2) {
        PlaySe(assets.seDecide);
        OpenPage(kPadPage, 0);
      } else if ((pressed & decide) && cur[kOptionPage] == 3) {
        if (LeaveOptions(assets.seDecide)) return Leave::Restart;
      } else if (pressed & cancel) {
        if (LeaveOptions(assets.seCancel)) return Leave::Restart;
      }
      return Leave::Stay;
    default:
      for (int p = 0; p < 2; ++p) {
        const uint32_t bits = input.PressedInput[p];
        int32_t& row = scenes.padCursor[p];
        MoveCursor(&row, kPadRows[p], bits);
        const int defaultsRow = kPadRows[p] - 2 + p;
        uint32_t* masks = input.ConfigButtonMasks + 5 * p;
        if (row < defaultsRow) {
          AssignPadButton(static_cast<uint32_t>(p), static_cast<uint32_t>(row));
        } else if (bits & masks[kActionDecide]) {
          PlaySe(assets.seDecide);
          if (row == defaultsRow) {
            DefaultPlayerMasks(masks);
          } else {
            SaveConfigFile();
            OpenPage(kOptionPage, 2);
            return Leave::Stay;
          }
        }
      }
      return Leave::Stay;
  }
}

}  // namespace

void DrawTitleFrame() {
  const int64_t f = game.PlayFrameCount;
  BlitGraph(0, 0, assets.titleTitlehaik[0], 0);
  const int fast = static_cast<int>((f * 2) % 640), slow = static_cast<int>((f / 2) % 640);
  qor::SelectBlendPublic(2, 64);
  BlitGraph(fast, 0, assets.titleTitlehaikkumo[0], 1);
  BlitGraph(fast - 640, 0, assets.titleTitlehaikkumo[0], 1);
  qor::SelectBlendPublic(2, 211);
  BlitGraph(slow, 0, assets.titleTitlehaikkumo[0], 1);
  BlitGraph(slow - 640, 0, assets.titleTitlehaikkumo[0], 1);
  qor::SelectBlendPublic(0, 0);
  BlitGraph(64, 32, assets.titleTitle[0], 1);
  DrawPage();
  ++scenes.TitleMenuTimer;
  if (f < 32) {
    qor::SelectBlendPublic(1, ClampBlend((32 - f) * 8));
    PaintBoxRGB(0, 0, 640, 480, 255, 255, 255);
    qor::SelectBlendPublic(0, 0);
  }
}

int RunTitleScreen() {
  StartSceneFrames(true);
  ClearPlayerInputs();
  OpenPage(kMainPage, 0);
  game.PlayFrameCount = 0;
  scenes.SceneExitFlag = 1;
  if (stageLoad.MusicNumber != 0) PlayTitleMusic();
  if (qor::ProcessFrameMessages() != 0) return scenes.SceneExitFlag;
  for (;;) {
    if (qor::QueryKeyPressedPublic(1) || QuitKeysHeld()) return scenes.SceneExitFlag;
    qor::EraseDrawTargetPublic();
    scenes.LastFrameMillis = qor::GetNowMillisPublic();
    ++game.PlayFrameCount;
    ReadPlayerInputs();
    if (game.PlayFrameCount < 4) input.PressedInput[0] = input.PressedInput[1] = 0;
    DrawTitleFrame();
    if (scenes.TitleMenuTimer >= 32) {
      const Leave leave = PageKeys();
      if (leave == Leave::Quit) return scenes.SceneExitFlag;
      if (leave == Leave::Play || leave == Leave::Restart) {
        scenes.SceneExitFlag = leave == Leave::Play ? 0 : 2;
        return scenes.SceneExitFlag;
      }
    }
    qor::PresentFramePublic();
    if (qor::ProcessFrameMessages() != 0) return scenes.SceneExitFlag;
  }
}

}  // namespace orb
