// The title scene waits for the vertical blank before each picture, windowed
// and full screen. Run on the headless virtual clock, it shows one picture
// per refresh of the display: on the software road without a DirectDraw
// object as on the DirectDraw road, at 60 Hz and at another rate.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "framework/core/life_test_support.h"
#include "framework/qorlib.h"
#include "game/game_reset.h"
#include "game/graph_calls.h"
#include "game/scenes/scenes.h"
#include "game/world/config_file.h"
#include "platform/host/headless/headless_control.h"

namespace {

using namespace orb;
namespace hl = plat::headless;

struct Sample {
  uint64_t frame, micros;
};
std::vector<Sample> g_samples;
int (*g_blit)(int, int, int, int) = nullptr;

// The first draw of each frame notes the pictures shown so far and the clock.
int NoteFrame(int x, int y, int graph, int transparent) {
  const uint64_t frame = hl::FrameCount();
  if (g_samples.empty() || g_samples.back().frame != frame) g_samples.push_back({frame, hl::PeekClock()});
  return g_blit(x, y, graph, transparent);
}

struct PacingCase {
  const char* road;
  bool windowed;
  int rate;  // the display's refresh
};

TEST(TitlePacing, OnePicturePerRefreshOnEveryRoad) {
  const PacingCase cases[] = {
      {"soft", true, 60}, {"soft", false, 60}, {"soft", false, 75},
      {"ddraw", true, 60}, {"ddraw", false, 75},
  };
  for (const PacingCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.road << (c.windowed ? " windowed " : " full screen ") << c.rate << " Hz");
    lifetest::LifeScope scope;
    ResetGameModules();
    config.WindowedMode = c.windowed ? 1 : 0;
    setenv("ORB_GFX", c.road, 1);
    qor::SwitchWindowModePublic(config.WindowedMode);
    ASSERT_EQ(qor::InitFramework(), 0);
    unsetenv("ORB_GFX");
    // Windowed, the desktop's 60 Hz; full screen, the mode's rate.
    qor::RequestScreenModePublic(640, 480, 16, c.windowed ? 60 : c.rate);
    InstallFrameworkGraphCalls();
    g_blit = graphCalls.blitGraph;
    graphCalls.blitGraph = NoteFrame;
    g_samples.clear();
    const uint64_t first = hl::FrameCount();
    plat::HostEvent close;
    close.kind = plat::HostEventKind::CloseRequest;
    hl::ScriptEventAtFrame(first + 300, close);
    RunTitleScreen();
    qor::EndFramework();

    // From the end of the fade-in on.
    std::vector<Sample> paced;
    for (const Sample& s : g_samples) {
      if (s.frame >= first + 40) paced.push_back(s);
    }
    ASSERT_GT(paced.size(), 200u);
    const double frames = static_cast<double>(paced.back().frame - paced.front().frame);
    const double seconds = static_cast<double>(paced.back().micros - paced.front().micros) / 1e6;
    EXPECT_NEAR(frames / seconds, c.rate, 1.0);
    // No refresh shows two pictures and none is skipped.
    const uint64_t period = 1000000u / static_cast<uint64_t>(c.rate);
    for (size_t i = 1; i < paced.size(); ++i) {
      const uint64_t gap = paced[i].micros - paced[i - 1].micros;
      ASSERT_GT(gap, period / 2) << paced[i].frame;
      ASSERT_LT(gap, period * 3 / 2) << paced[i].frame;
    }
  }
}

}  // namespace
