// The play scene on the placeholder assets, run by the program's own play
// loop with a pad whose shoot button goes down and up every frame; what the
// players got is read once per frame from the message processing. The
// first frames see no new press (the fade-in and the first-frames rule both
// keep it out), a boss's intro and the ending take no input at all, and a
// kept frame's HUD shows the pixels worked out here from the asset
// pictures and the layout of the bars.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/core/life/module_hooks.h"
#include "framework/core/life_test_support.h"
#include "framework/qorlib.h"
#include "game/game_reset.h"
#include "game/world/game_state.h"
#include "game/graph_calls.h"
#include "game/world/input.h"
#include "game/world/pools.h"
#include "game/world/roster.h"
#include "game/scenes/scenes.h"
#include "platform/host/headless/headless_control.h"
#include "support/asset_files.h"

namespace {

using namespace orb;
namespace hl = plat::headless;

struct Seen {
  int32_t frame;
  uint8_t state;
  uint32_t held, pressed;
};
std::vector<Seen> g_seen;
constexpr int kTurnFrame = 24;    // a play frame well inside state 0
void (*g_atTurn)() = nullptr;  // what the test sets there

void RecordFrame() {
  if (!g_seen.empty() && g_seen.back().frame == game.PlayFrameCount) return;
  g_seen.push_back({game.PlayFrameCount, game.InGameState, input.HeldInput[0], input.PressedInput[0]});
  if (game.PlayFrameCount == kTurnFrame && g_atTurn != nullptr) g_atTurn();
}

// The frames in [from, to] on which the players got any button.
int FramesWithInput(int from, int to) {
  int n = 0;
  for (const Seen& s : g_seen) n += s.frame >= from && s.frame <= to && (s.held | s.pressed) != 0;
  return n;
}

// What the last run left: its last frame and the state the HUD drew from.
std::vector<uint32_t> g_lastFrame;
PartyMember g_party0;
int g_member0;
float g_top;

// Runs the play scene for `frames` frames of stage 1 after `setup`, the
// shoot button (the third) going down on every other frame from the start.
void RunPlay(int frames, void (*atTurn)(), int bits = 16, void (*afterRun)() = nullptr) {
  ResetGameModules();
  lifetest::LifeScope scope;  // a scratch folder, the framework's modules reset
  hl::AddPad("scripted pad", 2, 0, 10, false);  // there when the input devices start
  qor::SwitchWindowModePublic(0);
  qor::ChooseDrawModePublic(0);  // the program's own set-up
  qor::SetKeyColorRGBPublic(0, 255, 0);
  qor::RequestScreenModePublic(640, 480, bits, -1);
  ASSERT_EQ(qor::InitFramework(), 0);
  ASSERT_EQ(std::system((std::string(ORB_MKASSETS_PATH) + " . > /dev/null").c_str()), 0);
  InstallFrameworkGraphCalls();
  LoadGameAssets();
  ResetNewGame();
  DefaultPlayerMasks(input.LiveButtonMasks);
  DefaultPlayerMasks(input.LiveButtonMasks + 5);
  game.CurrentStage = 1;
  const uint64_t start = hl::FrameCount();
  for (int f = 0; f <= frames + 2; ++f) {
    plat::HostPadState pad;
    pad.buttons[2] = f % 2 == 0 ? 1 : 0;
    hl::ScriptPadStateAtFrame(start + static_cast<uint64_t>(f), 0, pad);
  }
  plat::HostEvent close;
  close.kind = plat::HostEventKind::CloseRequest;
  hl::ScriptEventAtFrame(start + static_cast<uint64_t>(frames), close);
  g_seen.clear();
  g_atTurn = atTurn;
  qor::GetModuleHooks().refillStreamSounds = RecordFrame;
  RunGameLoop();
  g_party0 = game.party[game.ActiveCharacter[0]];
  g_member0 = game.ActiveCharacter[0];
  g_top = pools.players[0].head.y;
  const hl::KeptFrame* last = hl::LastFrame();
  g_lastFrame = last != nullptr ? last->pixels : std::vector<uint32_t>{};
  if (afterRun != nullptr) afterRun();  // still in the run's folder
  ResetGameModules();
  qor::EndFramework();
}

TEST(PlayFramesE2E, TheFirstFramesSeeNoNewPress) {
  RunPlay(40, nullptr);
  ASSERT_GE(g_seen.size(), 30u);
  for (const Seen& s : g_seen) {
    if (s.frame >= 1 && s.frame <= 3) {
      EXPECT_EQ(s.pressed, 0u) << s.frame;
    }
  }
  // The pad reaches the players once the scene is under way: every other
  // frame a new press of the shoot button.
  int presses = 0;
  for (const Seen& s : g_seen) presses += s.frame > kTurnFrame && s.pressed == input.LiveButtonMasks[kActionShoot];
  EXPECT_GE(presses, 6);
}

TEST(PlayFramesE2E, ABossIntroTakesNoInputForItsFirst200Frames) {
  RunPlay(kTurnFrame + 240, [] {
    game.BossMode = 1;
    game.BossIntroTimer = 0;
    pools.enemies[1].hitPoints = 6000;  // the bar stays up
  });
  EXPECT_EQ(FramesWithInput(kTurnFrame + 1, kTurnFrame + 200), 0);
  EXPECT_GE(FramesWithInput(kTurnFrame + 202, kTurnFrame + 230), 10);
  EXPECT_GE(FramesWithInput(kTurnFrame - 5, kTurnFrame), 2);  // before it, every other frame
}

TEST(PlayFramesE2E, TheEndingTakesNoInput) {
  RunPlay(kTurnFrame + 60, [] { game.EndingPhase = 1; });
  EXPECT_GE(FramesWithInput(kTurnFrame - 5, kTurnFrame), 2);
  EXPECT_EQ(FramesWithInput(kTurnFrame + 1, kTurnFrame + 60), 0);
}

// A picture of mkassets (8-bit, run-length coded or not), decoded here as
// 0xRRGGBB rows top first.
struct Picture {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

Picture ReadBmp8(const char* name) {
  const std::vector<uint8_t> b = testsupport::ReadBytes(testsupport::LocalPath(name));
  Picture p;
  if (b.size() < 54) return p;
  auto le = [&](size_t at, int n) { return testsupport::Le(b, at, n); };
  p.width = static_cast<int>(le(18, 4));
  p.height = static_cast<int>(le(22, 4));
  const uint32_t colours = le(46, 4) != 0 ? le(46, 4) : 256;
  const size_t palette = 14 + le(14, 4), bits = le(10, 4);
  std::vector<uint8_t> index(static_cast<size_t>(p.width) * p.height, 0);
  if (le(30, 4) == 1) {  // run-length coded, rows bottom first
    int x = 0, y = 0;
    for (size_t at = bits; at + 1 < b.size();) {
      const uint8_t n = b[at], v = b[at + 1];
      at += 2;
      if (n > 0) {
        for (int i = 0; i < n && x < p.width; ++i) index[static_cast<size_t>(y) * p.width + x++] = v;
      } else if (v == 0) {
        x = 0, ++y;
      } else if (v == 1) {
        break;
      } else if (v == 2) {
        x += b[at], y += b[at + 1], at += 2;
      } else {
        for (int i = 0; i < v && x < p.width; ++i) index[static_cast<size_t>(y) * p.width + x++] = b[at + i];
        at += (v + 1u) & ~1u;
      }
      if (y >= p.height) break;
    }
  } else {
    const int pitch = (p.width + 3) & ~3;
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x) index[static_cast<size_t>(y) * p.width + x] = b[bits + y * pitch + x];
  }
  p.pixels.resize(index.size());
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      const uint8_t i = index[static_cast<size_t>(p.height - 1 - y) * p.width + x];
      const size_t e = palette + 4 * static_cast<size_t>(i < colours ? i : 0);
      p.pixels[static_cast<size_t>(y) * p.width + x] = le(e + 2, 1) << 16 | le(e + 1, 1) << 8 | le(e, 1);
    }
  return p;
}

constexpr uint32_t kKey = 0x00FF00;

// The HUD as worked out from the layout: each pixel's colour where the
// bars and the face decide it, -1 where only the scene under them shows.
struct Expected {
  std::vector<int64_t> px = std::vector<int64_t>(640 * 48, -1);
  void Box(int x1, int y1, int x2, int y2, uint32_t c) {
    for (int y = std::max(y1, 0); y < std::min(y2, 48); ++y)
      for (int x = x1; x < x2; ++x) px[static_cast<size_t>(y) * 640 + x] = c;
  }
  void Blit(int x0, int y0, const Picture& p, int sx, int sy, int w, int h) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const uint32_t c = p.At(sx + x, sy + y);
        if (c != kKey && y0 + y >= 0 && y0 + y < 48) px[static_cast<size_t>(y0 + y) * 640 + x0 + x] = c;
      }
  }
  // Background to the maximum, fill to the value, the bar texture cut to
  // the value, the two caps, the frame cut to the maximum.
  void Bar(int y, int value, int maximum, uint32_t fill, const Picture& life, const Picture& caps,
           const Picture& frame) {
    Box(62, y, 62 + maximum, y + 12, 0x0B0B0B);
    Box(62, y, 62 + value, y + 12, fill);
    Blit(62, y, life, 0, 0, value, 12);
    Blit(59, y - 1, caps, 0, 0, 3, 14);
    Blit(62 + maximum, y - 1, caps, 3, 0, 3, 14);
    Blit(62, y - 1, frame, 0, 0, maximum, 14);
  }
};

Picture life, caps, frame, faces;

TEST(PlayFramesE2E, TheHudOfAKeptFrameShowsTheBarsAndTheFace) {
  RunPlay(40, nullptr, 32, [] {
    life = ReadBmp8("effect\\life.bmp");
    caps = ReadBmp8("effect\\lifec.bmp");
    frame = ReadBmp8("effect\\lifeb.bmp");
    faces = ReadBmp8("title\\face.bmp");
  });
  ASSERT_EQ(g_lastFrame.size(), 640u * 480u);
  ASSERT_EQ(life.width, 256);
  ASSERT_EQ(caps.width, 6);
  ASSERT_EQ(faces.width, 160);
  const int t = static_cast<int>(g_top);
  const int y = t < 64 ? t - 63 : 1;
  Expected e;
  e.Bar(y, g_party0.hitPoints, g_party0.hitPointsMax, 0xD30C4D, life, caps, frame);
  e.Bar(y + 17, static_cast<int>(g_party0.power), g_party0.powerMax, 0x0C4DD3, life, caps, frame);
  e.Blit(16, y, faces, g_member0 % 5 * 32, g_member0 / 5 * 32, 32, 32);
  int checked = 0, wrong = 0;
  for (size_t i = 0; i < e.px.size(); ++i) {
    if (e.px[i] < 0) continue;
    ++checked;
    if ((g_lastFrame[i] & 0xFFFFFF) != static_cast<uint32_t>(e.px[i]) && wrong++ < 5) {
      ADD_FAILURE() << "at " << i % 640 << "," << i / 640 << ": " << std::hex << (g_lastFrame[i] & 0xFFFFFF)
                    << " instead of " << e.px[i];
    }
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_GT(checked, 2 * 12 * 50);  // both bars and the face were there to check
}

}  // namespace
