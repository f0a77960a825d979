// The game's load list against the placeholder assets, through the
// framework: every entry loads on the Direct3D and the DirectDraw road, each
// divided graph as its piece count of graphs of the piece size, each whole
// picture at the size its file's header gives, each sound as a sound.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "framework/core/life_test_support.h"
#include "framework/graphics/graphs/graph_record.h"
#include "framework/graphics/graphics_test_support.h"
#include "framework/sound/sound_handles.h"
#include "game/world/asset_table.h"
#include "game/game_reset.h"
#include "game/graph_calls.h"
#include "game/scenes/scenes.h"
#include "support/asset_files.h"

namespace {

using namespace orb;

// Width and height from a BMP file's header, read here without the
// framework.
bool BmpSize(const char* file, int* width, int* height) {
  const std::vector<uint8_t> h = testsupport::ReadBytes(testsupport::LocalPath(file));
  if (h.size() < 26 || h[0] != 'B' || h[1] != 'M') return false;
  *width = static_cast<int>(testsupport::Le(h, 18, 4));
  const int32_t rows = static_cast<int32_t>(testsupport::Le(h, 22, 4));
  *height = rows < 0 ? -rows : rows;
  return true;
}

class AssetLoadE2E : public ::testing::Test {
 protected:
  void TearDown() override { ResetGameModules(); }
};

TEST_F(AssetLoadE2E, EveryEntryLoadsWithItsSizeAndPieceCount) {
  for (const char* road : {"d3d", "ddraw"}) {
    SCOPED_TRACE(road);
    ResetGameModules();
    gfxtest::Road r(false, 16, false, road);  // runs in a scratch folder of its own
    ASSERT_EQ(std::system((std::string(ORB_MKASSETS_PATH) + " . > /dev/null").c_str()), 0);
    InstallFrameworkGraphCalls();
    const int before = qor::GraphTable()->liveCount;  // the fonts' glyph caches on the Direct3D road
    LoadGameAssets();
    int graphs = 0;
    for (int i = 0; i < AssetTableSize(); ++i) {
      const AssetEntry& e = AssetTable()[i];
      const char* name = e.file != nullptr ? e.file : "(blank)";
      if (e.kind == AssetKind::Sound) {
        EXPECT_NE(qor::GetSoundData(e.handles[0]), nullptr) << name;
        continue;
      }
      int w = e.pieceWidth, h = e.pieceHeight;
      if (e.kind == AssetKind::WholeGraph) {
        ASSERT_TRUE(BmpSize(e.file, &w, &h)) << name;
      }
      const int pieces = e.kind == AssetKind::DividedGraph ? e.pieces : 1;
      for (int p = 0; p < pieces; ++p) {
        const qor::GraphRecord* g = qor::LookupGraph(e.handles[p]);
        ASSERT_NE(g, nullptr) << name << " piece " << p;
        EXPECT_EQ(g->width, w) << name;
        EXPECT_EQ(g->height, h) << name;
        EXPECT_EQ(g->is3D, road[1] == '3' ? 1 : 0) << name;
        ++graphs;
      }
    }
    // A divided file's whole picture lives only while it loads: what stays
    // is exactly the pieces and pictures of the list.
    EXPECT_EQ(qor::GraphTable()->liveCount - before, graphs);
  }
}

}  // namespace
