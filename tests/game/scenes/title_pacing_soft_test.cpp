// The title waits for the vertical blank before each picture. On the
// headless virtual clock it shows one picture per refresh of the display:
// on the software road without a DirectDraw object as on the DirectDraw
// road, at 60 Hz and at another rate.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "framework/core/life_test_support.h"
#include "framework/qorlib.h"
#include "game/game_reset.h"
#include "game/graph_calls.h"
#include "game/scenes/scenes.h"
#include "game/world/config_file.h"

namespace {

using namespace orb;
namespace hl = plat::headless;

std::vector<uint64_t> g_frameStarts;  // clock at the first draw of each picture
uint64_t g_lastFrame = 0;
int (*g_blit)(int, int, int, int) = nullptr;

int NoteFrame(int x, int y, int graph, int transparent) {
  if (hl::FrameCount() != g_lastFrame) g_frameStarts.push_back(hl::PeekClock());
  g_lastFrame = hl::FrameCount();
  return g_blit(x, y, graph, transparent);
}

TEST(TitlePacing, OnePicturePerRefreshOnEveryRoad) {
  struct Case {
    const char* road;
    int windowed, rate;
  };
  const Case cases[] = {{"soft", 1, 60}, {"soft", 0, 60}, {"soft", 0, 75}, {"ddraw", 1, 60}, {"ddraw", 0, 75}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.road << " windowed " << c.windowed << " " << c.rate << " Hz");
    lifetest::LifeScope scope;
    ResetGameModules();
    config.WindowedMode = c.windowed;
    setenv("ORB_GFX", c.road, 1);
    qor::SwitchWindowModePublic(c.windowed);
    ASSERT_EQ(qor::InitFramework(), 0);
    unsetenv("ORB_GFX");
    qor::RequestScreenModePublic(640, 480, 16, c.rate);  // windowed, the desktop keeps its 60 Hz
    InstallFrameworkGraphCalls();
    g_blit = graphCalls.blitGraph;
    graphCalls.blitGraph = NoteFrame;
    g_frameStarts.clear();
    g_lastFrame = hl::FrameCount();
    plat::HostEvent close;
    close.kind = plat::HostEventKind::CloseRequest;
    hl::ScriptEventAtFrame(g_lastFrame + 300, close);
    RunTitleScreen();
    qor::EndFramework();
    // After the fade-in: the rate within a picture a second, and no refresh
    // with two pictures or none.
    ASSERT_GT(g_frameStarts.size(), 250u);
    const std::vector<uint64_t> t(g_frameStarts.begin() + 40, g_frameStarts.end());
    EXPECT_NEAR((t.size() - 1) * 1e6 / static_cast<double>(t.back() - t.front()), c.rate, 1.0);
    const uint64_t period = 1000000u / static_cast<uint64_t>(c.rate);
    for (size_t i = 1; i < t.size(); ++i) ASSERT_TRUE(t[i] - t[i - 1] > period / 2 && t[i] - t[i - 1] < period * 3 / 2) << i;
  }
}

}  // namespace
