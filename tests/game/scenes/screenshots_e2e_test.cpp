// Screenshots of the pages a player meets, taken from a scripted headless
// run of the whole program on the placeholder set the asset tool makes:
// title, options, file select, difficulty, stage 1 with the HUD, pause and
// the character panel. Checked here: no key green shows anywhere (the
// pictures drawn without transparency are opaque), the menu rows carry
// words, and the words of the main, option and pause rows are read back by
// matching them against the IPA face rendered here with FreeType. With
// ORB_SHOTS_DIR set, the pictures are also written there as PNG files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "framework/core/life_test_support.h"
#include "game/game_reset.h"
#include "game/graph_calls.h"
#include "game/scenes/scenes.h"
#include "game/world/game_state.h"
#include "platform/host/headless/headless_control.h"
#include "support/ipa_face.h"

namespace {

using namespace orb;

constexpr uint64_t kSkipFrame = 136;
constexpr uint64_t kTitleStart = 200;

// A frame as RGB rows.
struct Shot {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

std::map<uint64_t, Shot> g_shots;
std::vector<uint64_t> g_wanted;
int (*g_blit)(int, int, int, int) = nullptr;

// Every draw call looks whether a wanted frame has been presented meanwhile.
int CatchFrames(int x, int y, int graph, int transparent) {
  for (uint64_t n : g_wanted) {
    if (g_shots.count(n)) continue;
    if (const plat::headless::KeptFrame* f = plat::headless::GetFrame(n)) {
      g_shots[n] = Shot{f->width, f->height, f->pixels};
    }
  }
  return g_blit(x, y, graph, transparent);
}

enum Button { kDecide = 0, kCancel = 1, kChange = 3, kPause = 4, kDown = 100 };

void Press(uint64_t frame, Button b) {
  plat::HostPadState down;
  if (b == kDown) {
    down.axes[1] = 32767;
  } else {
    down.buttons[b] = 1;
  }
  plat::headless::ScriptPadStateAtFrame(frame, 0, down);
  plat::headless::ScriptPadStateAtFrame(frame + 3, 0, plat::HostPadState{});
}

bool KeyGreen(uint32_t c) {
  const int r = (c >> 16) & 255, g = (c >> 8) & 255, b = c & 255;
  return g >= 0xF0 && r <= 0x10 && b <= 0x10;
}
bool White(uint32_t c) { return ((c >> 16) & 255) >= 0xE0 && ((c >> 8) & 255) >= 0xE0 && (c & 255) >= 0xE0; }

// The white ink of a rectangle, cropped to its bounding box (1 ink, 0 not).
struct InkMask {
  int width = 0, height = 0;
  std::vector<uint8_t> bits;
  int Count() const {
    int n = 0;
    for (uint8_t b : bits) n += b;
    return n;
  }
};

InkMask Crop(const std::vector<uint8_t>& bits, int w, int h) {
  int x0 = w, y0 = h, x1 = -1, y1 = -1;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (!bits[static_cast<size_t>(y) * w + x]) continue;
      x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    }
  }
  InkMask m;
  if (x1 < 0) return m;
  m.width = x1 - x0 + 1;
  m.height = y1 - y0 + 1;
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) m.bits.push_back(bits[static_cast<size_t>(y) * w + x]);
  }
  return m;
}

// The ink inside a plate (a rectangle less its border and cut corners,
// where the scene behind may show through).
InkMask InkOf(const Shot& s, int x, int y, int w, int h) {
  x += 3, y += 3, w -= 6, h -= 6;
  std::vector<uint8_t> bits(static_cast<size_t>(w) * h);
  for (int r = 0; r < h; ++r) {
    for (int c = 0; c < w; ++c) bits[static_cast<size_t>(r) * w + c] = White(s.At(x + c, y + r));
  }
  return Crop(bits, w, h);
}

// The proportional IPA face, opened here without the asset tool.
class Reader {
 public:

  // The word's ink at an em size, glyphs cut at half coverage.
  InkMask Render(const std::string& word, int px) {
    FT_Set_Pixel_Sizes(ipa_.face, 0, static_cast<FT_UInt>(px));
    const int w = px * static_cast<int>(word.size()) + 2 * px, h = 2 * px;
    std::vector<uint8_t> bits(static_cast<size_t>(w) * h);
    int pen = px;
    for (char ch : word) {
      if (FT_Load_Char(ipa_.face, static_cast<unsigned char>(ch), FT_LOAD_RENDER | FT_LOAD_NO_BITMAP) != 0) continue;
      const FT_GlyphSlot g = ipa_.face->glyph;
      for (unsigned r = 0; r < g->bitmap.rows; ++r) {
        for (unsigned c = 0; c < g->bitmap.width; ++c) {
          const int x = pen + g->bitmap_left + static_cast<int>(c), y = px * 3 / 2 - g->bitmap_top + static_cast<int>(r);
          if (g->bitmap.buffer[r * g->bitmap.pitch + c] >= 128 && x >= 0 && x < w && y >= 0 && y < h) {
            bits[static_cast<size_t>(y) * w + x] = 1;
          }
        }
      }
      pen += static_cast<int>(g->advance.x >> 6);
    }
    return Crop(bits, w, h);
  }

  // How well the word at its best size covers the ink: shared over joined pixels.
  double Match(const InkMask& ink, const std::string& word) {
    double best = 0;
    for (int px = 8; px <= 32; ++px) {
      const InkMask m = Render(word, px);
      if (m.width != ink.width || m.height != ink.height) continue;
      int both = 0, either = 0;
      for (size_t i = 0; i < m.bits.size(); ++i) {
        both += m.bits[i] & ink.bits[i];
        either += m.bits[i] | ink.bits[i];
      }
      best = std::max(best, either ? static_cast<double>(both) / either : 0.0);
    }
    return best;
  }

  // The candidate that reads best from the ink, and how well.
  std::string Read(const InkMask& ink, const std::vector<std::string>& candidates, double* score) {
    std::string best;
    *score = 0;
    for (const std::string& c : candidates) {
      const double s = Match(ink, c);
      if (s > *score) *score = s, best = c;
    }
    return best;
  }

 private:
  testsupport::IpaFace ipa_{"IPAPGothic"};
};

class ScreenshotsE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(std::system((std::string(ORB_MKASSETS_PATH) + " . > /dev/null").c_str()), 0);
  }
  void TearDown() override {
    graphCalls.blitGraph = g_blit;
    ResetGameModules();
    lifetest::ResetLife();
  }
  coretest::ScratchDir dir_;
};

TEST_F(ScreenshotsE2E, PagesShowWordsAndNoKeyGreen) {
  ResetGameModules();
  lifetest::ResetLife();
  plat::headless::SetMaxKeptFrames(2);
  plat::headless::AddPad("scripted pad", 2, 0, 10, false);
  Press(kSkipFrame, kDecide);
  // Title; down twice to the options; back; one player; slot 1 (empty);
  // the difficulty page; play; pause; resume; the character panel.
  const uint64_t t = kTitleStart;
  std::map<std::string, uint64_t> at = {{"title", t + 34}};
  Press(t + 36, kDown), Press(t + 42, kDown), Press(t + 48, kDecide);
  at["options"] = t + 84;
  Press(t + 86, kCancel);
  Press(t + 124, kDecide);
  at["file_select"] = t + 160;
  Press(t + 162, kDecide);
  at["difficulty"] = t + 198;
  Press(t + 200, kDecide);
  at["stage1"] = t + 290;
  Press(t + 292, kPause);
  at["pause"] = t + 322;
  Press(t + 324, kDecide);
  Press(t + 370, kChange);
  at["panel"] = t + 400;
  plat::HostEvent close;
  close.kind = plat::HostEventKind::CloseRequest;
  plat::headless::ScriptEventAtFrame(t + 404, close);

  g_shots.clear();
  g_wanted.clear();
  for (const auto& [name, frame] : at) g_wanted.push_back(frame);
  InstallFrameworkGraphCalls();
  g_blit = graphCalls.blitGraph;
  graphCalls.blitGraph = CatchFrames;
  EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, 0), 0);
  graphCalls.blitGraph = g_blit;
  EXPECT_EQ(scenes.SceneExitFlag, 1);

  const char* out = std::getenv("ORB_SHOTS_DIR");
  for (const auto& [name, frame] : at) {
    ASSERT_TRUE(g_shots.count(frame)) << name;
    const Shot& s = g_shots[frame];
    ASSERT_EQ(s.width, 640);
    ASSERT_EQ(s.height, 480);
    int green = 0;
    for (uint32_t c : s.pixels) green += KeyGreen(c);
    EXPECT_EQ(green, 0) << name;
    if (out) {
      plat::headless::KeptFrame f;
      f.width = s.width, f.height = s.height, f.pixels = s.pixels;
      plat::headless::WriteFramePng(f, (std::string(out) + "/" + name + ".png").c_str());
    }
  }

  Reader reader;
  double score = 0;
  // Main page rows at (192, 240 + 48 r), 256 x 32.
  const std::vector<std::string> mainRows = {"1 Player", "2 Players", "Options", "Quit"};
  for (int r = 0; r < 4; ++r) {
    const InkMask ink = InkOf(g_shots[at["title"]], 192, 240 + 48 * r, 256, 32);
    EXPECT_GT(ink.Count(), 60) << r;
    EXPECT_EQ(reader.Read(ink, mainRows, &score), mainRows[r]);
    EXPECT_GT(score, 0.9) << mainRows[r];
  }
  // Option rows at (160, 200 + 48 r), 192 x 32, and the window mode's value.
  const std::vector<std::string> optionRows = {"Window mode", "Camera", "Pad buttons", "Back", "Windowed", "Full screen"};
  for (int r = 0; r < 4; ++r) {
    const InkMask ink = InkOf(g_shots[at["options"]], 160, 200 + 48 * r, 192, 32);
    EXPECT_EQ(reader.Read(ink, optionRows, &score), optionRows[r]);
    EXPECT_GT(score, 0.9) << optionRows[r];
  }
  EXPECT_EQ(reader.Read(InkOf(g_shots[at["options"]], 368, 200, 192, 32), optionRows, &score), "Windowed");
  // Pause rows at (256, 200) and (256, 248), 128 x 32.
  const std::vector<std::string> pauseRows = {"Resume", "Save & title"};
  for (int r = 0; r < 2; ++r) {
    EXPECT_EQ(reader.Read(InkOf(g_shots[at["pause"]], 256, 200 + 48 * r, 128, 32), pauseRows, &score), pauseRows[r]);
    EXPECT_GT(score, 0.9) << pauseRows[r];
  }
  // Difficulty rows at (192, 176 + 48 r); the slots' plates and "New game".
  for (int r = 0; r < 4; ++r) EXPECT_GT(InkOf(g_shots[at["difficulty"]], 192, 176 + 48 * r, 256, 32).Count(), 40) << r;
  for (int slot = 0; slot < 3; ++slot) {
    EXPECT_GT(InkOf(g_shots[at["file_select"]], 192, 64 + 136 * slot + 48, 256, 32).Count(), 40) << slot;
  }
  // The HUD: player 1's face (the initial in white); the panel: the two members' cells below the item bar.
  const Shot& stage = g_shots[at["stage1"]];
  EXPECT_GT(InkOf(stage, 16, 1, 32, 32).Count(), 10);
  for (int cell = 0; cell < 2; ++cell) {
    EXPECT_GT(InkOf(g_shots[at["panel"]], 128 * cell + 40, 352 + 32, 88, 48).Count(), 40) << cell;
  }
  EXPECT_EQ(game.InGameState, 2);
}

}  // namespace
