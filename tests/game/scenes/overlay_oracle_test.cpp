// The overlays of the last stages and the ending, recorded with the blend
// and tint each draw was made under, against the positions and timings
// worked out here from the rules: the gap layers, the cloud speeds, the
// lead-in, the staff roll and the closing screens frame by frame.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "framework/graphics/graphs/draw_state.h"
#include "game/game_reset.h"
#include "game/graph_calls.h"
#include "game/scenes/scenes.h"
#include "game/world/asset_table.h"
#include "game/world/game_state.h"

namespace orb::test {
namespace {

struct Draw {
  char what;  // 'b' blit, 'r' rotated, 'p' box
  int graph, x, y;
  int mode, param;
  int r, g, b;
};
std::vector<Draw> draws;

Draw Now(char what, int graph, int x, int y) {
  const qor::DrawState& s = qor::GetDrawState();
  return {what, graph, x, y, s.blendMode, s.blendParam, s.tintRed, s.tintGreen, s.tintBlue};
}
int Blit(int x, int y, int graph, int) { return draws.push_back(Now('b', graph, x, y)), 0; }
int Rotated(int x, int y, double, double, int graph, int, int) { return draws.push_back(Now('r', graph, x, y)), 0; }
int Box(int x1, int y1, int, int, uint32_t, int) { return draws.push_back(Now('p', -1, x1, y1)), 0; }
int Divided(const char*, int pieces, int, int, int, int, int* handles) {
  for (int i = 0; i < pieces; ++i) handles[i] = 700 + i;
  return 0;
}

constexpr int kSukima0 = 901, kSukima1 = 902, kKumo = 903, kHaikkumo = 904, kBlue = 905;

class OverlayOracle : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameModules();
    qor::ClearDrawState();
    graphCalls.blitGraph = Blit;
    graphCalls.blitGraphRotatedInt = Rotated;
    graphCalls.paintBox = Box;
    graphCalls.openDividedGraph = Divided;
    assets.backBacksukima0 = kSukima0;
    assets.backBacksukima1 = kSukima1;
    assets.backBackkumo = kKumo;
    assets.titleTitlehaikkumo[0] = kHaikkumo;
    assets.backBlue = kBlue;
    for (int k = 0; k < 5; ++k) assets.titleStaff[k] = 800 + k;
    draws.clear();
  }
  void TearDown() override {
    qor::ClearDrawState();
    ResetGameModules();
  }
  static std::vector<Draw> Of(int graph) {
    std::vector<Draw> out;
    for (const Draw& d : draws) {
      if (d.graph == graph) out.push_back(d);
    }
    return out;
  }
  static std::vector<Draw> Boxes() {
    std::vector<Draw> out;
    for (const Draw& d : draws) {
      if (d.what == 'p') out.push_back(d);
    }
    return out;
  }
};

int Mod(int64_t a, int n) { return static_cast<int>(a % n); }  // C's remainder, sign of a

TEST_F(OverlayOracle, GapLayersScrollByTheWholeCounterThirdAndBrightenOnTheLastTwoStages) {
  struct Case {
    int stage;
    int32_t counterBefore;
    float cam;
  };
  const Case cases[] = {{138, 1, 1.0f},      {140, 0, 0.0f},      {141, 3, 640.5f},   {147, 4, 1279.0f},
                        {148, 100, 3333.3f}, {149, 73919999, 5000.0f}, {145, 7, 641.0f}, {143, 8, 2.0f}};
  for (const Case& c : cases) {
    SetUp();
    game.CurrentStage = c.stage;
    game.CameraScrollX = c.cam;
    scenes.overlayCounter = c.counterBefore;
    DrawStageOverlayLayers();
    const int32_t n = c.counterBefore + 1 >= 73920000 ? 0 : c.counterBefore + 1;
    EXPECT_EQ(scenes.overlayCounter, n) << c.stage;
    const bool bright = c.stage >= 148;
    // First layer: (i32)(c x 0.5 + 6400 - cam x 0.5) % 640, and 640 to its left.
    const int x0 = Mod(static_cast<int64_t>(n * 0.5 + 6400 - c.cam * 0.5), 640);
    const auto first = Of(kSukima0);
    ASSERT_EQ(first.size(), 2u) << c.stage;
    EXPECT_EQ(first[0].x, x0) << c.stage;
    EXPECT_EQ(first[1].x, x0 - 640) << c.stage;
    for (const Draw& d : first) {
      EXPECT_EQ(d.mode, 2);
      EXPECT_EQ(d.param, bright ? 128 : 96);
    }
    // Second layer: v = (i32)(c / 3 + cam x 0.5), the counter divided as a whole number.
    const int64_t v = static_cast<int64_t>(n / 3 + c.cam * 0.5);
    const auto second = Of(kSukima1);
    ASSERT_EQ(second.size(), 2u) << c.stage;
    EXPECT_EQ(second[0].x, 640 - Mod(v, 640)) << "stage " << c.stage << " counter " << n << " cam " << c.cam;
    EXPECT_EQ(second[1].x, Mod(-v, 640)) << "stage " << c.stage << " counter " << n << " cam " << c.cam;
    for (const Draw& d : second) {
      EXPECT_EQ(d.mode, 3);
      EXPECT_EQ(d.param, bright ? 160 : 128);
    }
    EXPECT_EQ(qor::GetDrawState().blendMode, 0);
  }
  // Stages 137 and 150 have no gap layers and keep the counter.
  for (int stage : {137, 150}) {
    SetUp();
    game.CurrentStage = stage;
    scenes.overlayCounter = 5;
    DrawStageOverlayLayers();
    EXPECT_TRUE(draws.empty()) << stage;
    EXPECT_EQ(scenes.overlayCounter, 5);
  }
}

float CloudSpeedAt(int t) {
  if (t < 600) return 8.0f;
  if (t < 800) return (t - 600) / 20.0f + 8;
  if (t < 1850) return 18.0f;
  if (t < 2220) return (t - 1850) / 40.0f + 18;
  return 4.0f;
}

TEST_F(OverlayOracle, TheCloudsRunAtTheirSpeedEveryFrameAndChangeLayersAt2220) {
  game.CurrentStage = 152;
  game.EndingPhase = 3;
  double offset = 0;
  for (int t = 0; t < 2400; ++t) {
    draws.clear();
    game.EndingTimer = t;
    DrawStageOverlayLayers();
    offset += CloudSpeedAt(t);
    ASSERT_NEAR(scenes.cloudSpeed, CloudSpeedAt(t), 1e-5) << t;
    ASSERT_NEAR(scenes.cloudOffset, offset, 1e-2 * (1 + offset / 1000)) << t;
    const auto layers = Of(kKumo);
    ASSERT_EQ(layers.size(), t < 2220 ? 6u : 4u) << t;
    const int x = static_cast<int>(scenes.cloudOffset) % 640;
    EXPECT_EQ(layers[0].x, x) << t;
    EXPECT_EQ(layers[1].x, x - 640) << t;
    if (t < 2220) {
      const int want[3][2] = {{1, 90}, {3, 64}, {2, 96}};
      for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(layers[2 * k].mode, want[k][0]) << t;
        EXPECT_EQ(layers[2 * k].param, want[k][1]) << t;
        EXPECT_EQ(layers[2 * k].r, 255) << t;
      }
    } else {
      EXPECT_EQ(layers[0].mode, 3);
      EXPECT_EQ(layers[0].param, 51);
      EXPECT_EQ((std::vector<int>{layers[0].r, layers[0].g, layers[0].b}), (std::vector<int>{0, 78, 122}));
      EXPECT_EQ(layers[2].mode, 2);
      EXPECT_EQ(layers[2].param, 58);
      EXPECT_EQ((std::vector<int>{layers[2].r, layers[2].g, layers[2].b}), (std::vector<int>{255, 177, 133}));
    }
    const qor::DrawState& s = qor::GetDrawState();
    EXPECT_EQ(s.blendMode, 0) << t;
    EXPECT_EQ((std::vector<int>{s.tintRed, s.tintGreen, s.tintBlue}), (std::vector<int>{255, 255, 255})) << t;
  }
}

int Clamp(int64_t v) { return static_cast<int>(v < 0 ? 0 : v > 255 ? 255 : v); }

TEST_F(OverlayOracle, TheStaffRollAndTheClosingScreensFollowTheTimetable) {
  game.CurrentStage = 152;
  game.PlayTimeFrames = 3 * 216000 + 25 * 3600 + 47 * 60 + 59;  // 3:25:47
  for (int k = 0; k < 4; ++k) game.ItemCounters[k] = 2;           // 8 x 100 / 14 = 57 percent
  for (int k = 0; k < 40; ++k) scenes.filmCells[k] = 700 + k;
  for (int k = 0; k < 12; ++k) assets.effectNumber[k] = 600 + k;
  for (int t = 0; t < 8628; ++t) {
    draws.clear();
    game.EndingPhase = 3;
    game.EndingTimer = t;
    DrawStageEffectsAndEnding();
    // Staff line k: in over the 64 frames before its start, held 136, out over 64.
    for (int k = 0; k < 5; ++k) {
      const int start = 2604 + 280 * k;
      const auto line = Of(800 + k);
      const bool shown = t >= start - 64 && t < start + 200;
      ASSERT_EQ(line.size(), shown ? 1u : 0u) << "line " << k << " at " << t;
      if (!shown) continue;
      EXPECT_EQ(line[0].mode, 1);
      if (t < start) {
        EXPECT_EQ(line[0].param, Clamp((t - start) * 4 + 256)) << "line " << k << " at " << t;
      } else if (t < start + 136) {
        EXPECT_EQ(line[0].param, 255) << "line " << k << " at " << t;
      } else {
        EXPECT_LE(line[0].param, 255) << t;
        EXPECT_GT(line[0].param, 0) << t;
        EXPECT_EQ(line[0].param, Clamp(static_cast<int64_t>(start + 200 - t) * 4)) << "line " << k << " at " << t;
      }
    }
    // The full-screen boxes, in order, by their blend.
    std::vector<std::pair<int, int>> want;
    if (t >= 2100 && t < 2220) want.push_back({2, Clamp(2 * t - 4200)});
    if (t >= 2220 && t <= 4694) want.push_back({2, Clamp(2475 - t)});
    if (t >= 2400) want.push_back({1, t < 2528 ? Clamp(2 * t - 4800) : 255});
    if (t >= 7472) want.push_back({1, t < 7600 ? Clamp(2 * t - 14944) : 255});
    if (t >= 8500) want.push_back({1, Clamp(2 * t - 17000)});
    std::vector<std::pair<int, int>> got;
    for (const Draw& d : Boxes()) got.push_back({d.mode, d.param});
    ASSERT_EQ(got, want) << t;
    // The film from 4100: its 40 cells.
    int cells = 0;
    for (const Draw& d : draws) cells += d.graph >= 700 && d.graph < 740;
    ASSERT_EQ(cells, t >= 4100 ? 40 : 0) << t;
    // The sky picture from 2220, twice, tinted, additive 128; before it the clouds once more.
    const auto sky = Of(kHaikkumo);
    ASSERT_EQ(sky.size(), t >= 2220 ? 2u : 0u) << t;
    for (const Draw& d : sky) {
      EXPECT_EQ(d.what, 'r');
      EXPECT_EQ(d.mode, 2);
      EXPECT_EQ(d.param, 128);
      EXPECT_EQ((std::vector<int>{d.r, d.g, d.b}), (std::vector<int>{255, 177, 133})) << t;
      EXPECT_EQ(d.y, 240);
    }
    if (t >= 2220) {
      const int x = static_cast<int>(scenes.cloudOffset) % 640;
      EXPECT_EQ(sky[0].x, x + 320);
      EXPECT_EQ(sky[1].x, x - 320);
    }
    // Below 2220 the clouds once more (2 draws), plus a pass each from 1850, 1950 and 2050.
    size_t clouds = t < 2220 ? 2 : 0;
    for (int from : {1850, 1950, 2050}) clouds += t >= from && t < 2220 ? 2 : 0;
    ASSERT_EQ(Of(kKumo).size(), clouds) << t;
    if (t < 2220) {
      EXPECT_EQ(Of(kKumo)[0].mode, 2);
      EXPECT_EQ(Of(kKumo)[0].param, 128);
      int k = 2;
      for (int from : {1850, 1950, 2050}) {
        if (t < from) continue;
        EXPECT_EQ(Of(kKumo)[static_cast<size_t>(k)].param, Clamp(t - from)) << t;
        k += 2;
      }
    }
    // Results from 7600, play time from 7728, percentage from 7800, closing picture from 7900.
    // Play time 03:25:47 at y 310, the percentage 57 (no hundreds) at y 360.
    std::vector<std::pair<int, int>> time, percent;
    for (const Draw& d : draws) {
      if (d.graph < 600 || d.graph >= 612) continue;
      if (d.y == 310) {
        time.push_back({d.x, d.graph - 600});
        EXPECT_EQ(d.param, Clamp(4LL * t - 30912)) << t;
      } else if (d.y == 360) {
        percent.push_back({d.x, d.graph - 600});
        EXPECT_EQ(d.param, Clamp(4LL * t - 31200)) << t;
      }
    }
    using Digits = std::vector<std::pair<int, int>>;
    const Digits timeWant = {{280, 0}, {300, 3}, {360, 2}, {380, 5}, {420, 4}, {440, 7}};
    const Digits percentWant = {{300, 5}, {320, 7}};
    EXPECT_EQ(time, t >= 7728 ? timeWant : Digits()) << t;
    EXPECT_EQ(percent, t >= 7800 ? percentWant : Digits()) << t;
    EXPECT_EQ(game.EndingPhase, 3) << t;
  }
  draws.clear();
  game.EndingTimer = 8628;
  DrawStageEffectsAndEnding();
  EXPECT_EQ(game.EndingPhase, 0);
  EXPECT_EQ(game.EndingTimer, 0);
  EXPECT_EQ(scenes.LeavePlayFlag, 1);
  EXPECT_EQ(scenes.SceneExitFlag, 0);
}

TEST_F(OverlayOracle, TheLeadInFadesTheGapsWhitensFrom200AndLoadsTheFilmAt328) {
  game.CurrentStage = 149;
  for (int t = 0; t < 400; ++t) {
    draws.clear();
    game.EndingPhase = 1;
    game.EndingTimer = t;
    DrawStageEffectsAndEnding();
    const auto first = Of(kSukima0), second = Of(kSukima1);
    ASSERT_EQ(first.size(), t > 0 ? 2u : 0u) << t;
    ASSERT_EQ(second.size(), t > 0 ? 2u : 0u) << t;
    if (t > 0) {
      EXPECT_EQ(first[0].mode, 2);
      EXPECT_EQ(first[0].param, Clamp(2 * t)) << t;
      EXPECT_EQ(second[0].mode, 3);
      EXPECT_EQ(second[0].param, Clamp(t)) << t;
    }
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), t >= 200 ? 1u : 0u) << t;
    if (t >= 200) {
      EXPECT_EQ(boxes[0].mode, 2);
      EXPECT_EQ(boxes[0].param, Clamp(4 * t - 800)) << t;
    }
    EXPECT_EQ(scenes.filmCells[0], t >= 328 ? 700 : -1) << t;
  }
}

TEST_F(OverlayOracle, BlueTintByStage) {
  for (int stage = 1; stage <= 152; ++stage) {
    SetUp();
    game.CurrentStage = stage;
    DrawStageEffectsAndEnding();
    int want = -1;
    if (stage >= 21 && stage <= 30) want = 10 + 5 * (stage - 21);
    if (stage == 31) want = 60;
    if (stage == 150) want = 55;
    const auto blue = Of(kBlue);
    ASSERT_EQ(blue.size(), want >= 0 ? 1u : 0u) << stage;
    if (want >= 0) {
      EXPECT_EQ(blue[0].mode, 3);
      EXPECT_EQ(blue[0].param, want) << stage;
    }
  }
}

}  // namespace
}  // namespace orb::test
