// Stage overlays of the play frame: the gap layers and the final clouds,
// the blue tint, the lead-in after the final boss, the ending with its
// return to the title, and the collision map in debug mode.
#include <algorithm>
#include <initializer_list>

#include "framework/qorlib.h"
#include "game/world/asset_table.h"
#include "game/world/game_state.h"
#include "game/graph_calls.h"
#include "game/scenes/scenes.h"
#include "game/world/stage_load.h"
#include "game/world/tile_map.h"

namespace orb {

namespace {

constexpr int32_t kCounterWrap = 73920000;
constexpr double kPi = 3.14159;

void Blend(int mode, int64_t parameter) { qor::SelectBlendPublic(mode, ClampBlend(parameter)); }

void Box(int mode, int64_t parameter, int r, int g, int b) {
  Blend(mode, parameter);
  PaintBoxRGB(0, 0, 640, 480, r, g, b);
  Blend(0, 0);
}

// A picture tiled twice across the screen at x and x - 640.
void Wrapped(int graph, int x) {
  BlitGraph(x, 0, graph, 0);
  BlitGraph(x - 640, 0, graph, 0);
}

int CloudX() { return static_cast<int>(scenes.cloudOffset) % 640; }

void GapLayers(int mode0, int64_t p0, int mode1, int64_t p1) {
  const double c = scenes.overlayCounter, cam = game.CameraScrollX;
  Blend(mode0, p0);
  Wrapped(assets.backBacksukima0, ToInt(c * 0.5 + 6400 - cam * 0.5) % 640);
  Blend(mode1, p1);
  // The counter is divided as a whole number before the camera's half is added.
  const int64_t v = ToInt(scenes.overlayCounter / 3 + cam * 0.5);
  BlitGraph(static_cast<int>(640 - v % 640), 0, assets.backBacksukima1, 0);
  BlitGraph(static_cast<int>((-v) % 640), 0, assets.backBacksukima1, 0);
  Blend(0, 0);
}

float CloudSpeed(int32_t t) {
  if (t < 600) return 8.0f;
  if (t < 800) return (t - 600) / 20.0f + 8;
  if (t < 1850) return 18.0f;
  if (t < 2220) return (t - 1850) / 40.0f + 18;
  return 4.0f;
}

// A picture faded in over the given frames from `start`, then held.
void FadeInHeld(int graph, int x, int y, int32_t t, int32_t start, int rate) {
  if (t < start) return;
  Blend(1, static_cast<int64_t>(t - start) * rate);
  BlitGraph(x, y, graph, 1);
  Blend(0, 0);
}

void Digits(int value, int x, int y) {
  BlitGraph(x, y, assets.effectNumber[(value / 10) % 10], 1);
  BlitGraph(x + 20, y, assets.effectNumber[value % 10], 1);
}

void EndingResults(int32_t t) {
  if (t >= 7600) {
    Blend(1, static_cast<int64_t>(t) * 2 - 15200);
    BlitGraph(64, 96, assets.titleThank[0], 1);
    BlitGraph(64, 144, assets.titleThank[1], 1);
    Blend(0, 0);
  }
  if (t >= 7728) {
    const int frames = ToInt(game.PlayTimeFrames);
    Blend(1, static_cast<int64_t>(t) * 4 - 30912);
    Digits(frames / 216000 % 60, 280, 310);
    Digits(frames / 3600 % 60, 360, 310);
    Digits(frames / 60 % 60, 420, 310);
    Blend(0, 0);
  }
  if (t >= 7800) {
    int64_t sum = 0;
    for (int32_t c : game.ItemCounters) sum += c;
    const int percent = static_cast<int>(sum * 100 / 14);
    Blend(1, static_cast<int64_t>(t) * 4 - 31200);
    if (percent >= 100) BlitGraph(280, 360, assets.effectNumber[(percent / 100) % 10], 1);
    if (percent >= 10) BlitGraph(300, 360, assets.effectNumber[(percent / 10) % 10], 1);
    BlitGraph(320, 360, assets.effectNumber[percent % 10], 1);
    Blend(0, 0);
  }
  FadeInHeld(assets.titleOshimai, 0, 0, t, 7900, 4);
}

void EndingFilm(int32_t t) {
  for (int k = 0; k < kFilmCells; ++k) {
    const int x = (k % 5) * 213 - static_cast<int>((t - 4100) / 4 % 1065);
    BlitGraph(x, 40 + (k / 5) * 8 + 120, scenes.filmCells[k], 1);
  }
}

void EndingScreens() {
  const int32_t t = game.EndingTimer;
  const int x = CloudX();
  if (t < 2220) {
    Blend(2, 128);
    Wrapped(assets.backBackkumo, x);
  } else {
    qor::SetTintRGBPublic(255, 177, 133);
    Blend(2, 128);
    BlitGraphRotatedInt(x + 320, 240, 1.0, kPi, assets.titleTitlehaikkumo[0], 1, 0);
    BlitGraphRotatedInt(x - 320, 240, 1.0, kPi, assets.titleTitlehaikkumo[0], 1, 0);
    qor::SetTintRGBPublic(255, 255, 255);
  }
  for (int32_t from : {1850, 1950, 2050}) {
    if (t >= from && t < 2220) {
      Blend(2, t - from);
      Wrapped(assets.backBackkumo, x);
    }
  }
  Blend(0, 0);
  if (t >= 2100 && t < 2220) Box(2, 2 * static_cast<int64_t>(t) - 4200, 255, 255, 255);
  if (t >= 2220 && t < 4695) Box(2, 2475 - static_cast<int64_t>(t), 255, 255, 255);
  if (t >= 2400) Box(1, t < 2528 ? 2 * static_cast<int64_t>(t) - 4800 : 255, 0, 0, 0);
  for (int k = 0; k < 5; ++k) {
    const int32_t start = 2604 + 280 * k;
    if (t < start - 64 || t >= start + 200) continue;
    const int64_t alpha = t < start ? (t - start) * 4 + 256 : t < start + 136 ? 255 : (start + 200 - t) * 4;
    Blend(1, alpha);
    BlitGraph(0, 224, assets.titleStaff[k], 1);
    Blend(0, 0);
  }
  if (t >= 4100) EndingFilm(t);
  if (t >= 7472) Box(1, t < 7600 ? 2 * static_cast<int64_t>(t) - 14944 : 255, 0, 0, 0);
  EndingResults(t);
  if (t >= 8500) Box(1, 2 * static_cast<int64_t>(t) - 17000, 0, 0, 0);
  if (t >= 8628) {
    qor::StopSoundPublic(stageLoad.MusicHandle);
    qor::DeleteSoundPublic(stageLoad.MusicHandle, 0);
    stageLoad.MusicHandle = -1;
    DestroyFilmStrip();
    game.EndingTimer = 0;
    game.EndingPhase = 0;
    scenes.SceneExitFlag = 0;
    scenes.LeavePlayFlag = 1;
  }
}

void LeadIn() {
  const int32_t t = game.EndingTimer;
  if (t > 0) GapLayers(2, 2 * static_cast<int64_t>(t), 3, t);
  if (t >= 200) Box(2, static_cast<int64_t>(t) * 4 - 800, 255, 255, 255);
  if (t == 328) {
    DestroyFilmStrip();
    OpenDividedGraph("title\\film.bmp", kFilmCells, 5, 8, 213, 160, scenes.filmCells);
  }
}

}  // namespace

void DestroyFilmStrip() {
  for (int& h : scenes.filmCells) {
    DestroyGraph(h);
    h = -1;
  }
}

void DrawStageOverlayLayers() {
  const int stage = game.CurrentStage;
  if (stage >= 138 && stage <= 149) {
    if (++scenes.overlayCounter >= kCounterWrap) scenes.overlayCounter = 0;
    const bool bright = stage >= 148;
    GapLayers(2, bright ? 128 : 96, 3, bright ? 160 : 128);
  }
  if (stage == 152 && game.EndingPhase == 3) {
    const int32_t t = game.EndingTimer;
    scenes.cloudSpeed = CloudSpeed(t);
    scenes.cloudOffset += scenes.cloudSpeed;
    if (scenes.cloudOffset > kCounterWrap) scenes.cloudOffset = 0;
    const int x = CloudX();
    if (t < 2220) {
      const int modes[3][2] = {{1, 90}, {3, 64}, {2, 96}};
      for (const auto& m : modes) {
        Blend(m[0], m[1]);
        Wrapped(assets.backBackkumo, x);
      }
    } else {
      qor::SetTintRGBPublic(0, 78, 122);
      Blend(3, 51);
      Wrapped(assets.backBackkumo, x);
      qor::SetTintRGBPublic(255, 177, 133);
      Blend(2, 58);
      Wrapped(assets.backBackkumo, x);
      qor::SetTintRGBPublic(255, 255, 255);
    }
    Blend(0, 0);
  }
}

void DrawStageEffectsAndEnding() {
  const int stage = game.CurrentStage;
  if (stage == 152 && game.EndingPhase == 3) EndingScreens();
  if (game.EndingPhase == 1) LeadIn();
  int tint = -1;
  if (stage >= 21 && stage <= 30) tint = 10 + 5 * (stage - 21);
  if (stage == 150) tint = 55;
  if (stage == 31) tint = 60;
  if (tint >= 0) {
    Blend(3, tint);
    BlitGraph(0, 0, assets.backBlue, 0);
    Blend(0, 0);
  }
}

void DrawCollisionMapDebug() {
  struct Look {
    int r, g, b, height;
  };
  static const Look looks[11] = {{0, 0, 0, 0},       {255, 255, 255, 32}, {0, 255, 0, 4},   {127, 0, 0, 4},
                                 {0, 0, 127, 32},    {255, 0, 0, 32},     {0, 0, 255, 32},  {255, 255, 0, 32},
                                 {0, 255, 255, 32},  {0, 127, 0, 32},     {200, 0, 0, 32}};
  Blend(1, 77);
  const int64_t cam = ToInt(game.CameraScrollX);
  for (int r = 0; r < kTileRows; ++r) {
    for (int c = 0; c < kTileColumns; ++c) {
      const int code = tiles.TileMap[r][c];
      if (code < 1 || code > 10) continue;
      const Look& l = looks[code];
      const int x = static_cast<int>(std::clamp<int64_t>(32 * c - cam, -100000, 100000));
      PaintBoxRGB(x, 32 * r, x + 32, 32 * r + l.height, l.r, l.g, l.b);
    }
  }
  Blend(0, 0);
}

}  // namespace orb
