#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/graphics/graphs/graph_load.h"
#include "framework/graphics/graphs/graph_record.h"
#include "framework/graphics/screen/screen.h"
#include "framework/graphics/screen/screen_size.h"
#include "framework/graphics/surfaces/surface_2d.h"
#include "graphics_test_support.h"

namespace qor {
namespace {

class GraphRecordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGraphTables();
    ResetScreenSizeState();
    settings = {};
    settings.use3DGraphs = 1;
    settings.newGraphAlphaTest = 1;
  }
  void TearDown() override { ResetGraphTables(); }
  GraphCreateSettings settings;
};

TEST_F(GraphRecordTest, CreationFollowsTheSettings) {
  GraphRecord* r = nullptr;
  // No Direct3D: a 2D graph at the screen depth (16 while no mode is set).
  int32_t h = AddGraphRecord(10, 20, 1, &r, 1, 1, &settings);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(LookupGraph(h), r);
  EXPECT_EQ(r->handle, h);
  EXPECT_EQ(r->is3D, 0);
  EXPECT_EQ(r->colorBits, 16);
  EXPECT_EQ(r->paletteSource, 1);
  EXPECT_EQ(r->movieHandle, -1);

  settings.direct3DInUse = 1;
  settings.newGraphTextureOption = 1;
  AddGraphRecord(4, 4, 1, &r, 1, 1, &settings);
  EXPECT_EQ(r->is3D, 1);
  EXPECT_EQ(r->colorBits, 32);  // alpha graphs default to 32 bits
  EXPECT_EQ(r->paletteSource, 0);
  EXPECT_EQ(r->textureOption, 1);

  settings.softwareRendering = 1;
  settings.newGraphDrawable = 1;
  settings.newGraphColorBits = 32;
  RecordScreenSize(640, 480, 16);
  AddGraphRecord(4, 4, 1, &r, 1, 0, &settings);
  EXPECT_EQ(r->is3D, 0);
  EXPECT_EQ(r->drawable, 1);
  EXPECT_EQ(r->alpha, 0);
  EXPECT_EQ(r->colorBits, 32);
  settings.directDrawUnusable = 1;
  AddGraphRecord(4, 4, 0, &r, 0, 0, &settings);
  EXPECT_EQ(r->colorBits, 16);
}

TEST_F(GraphRecordTest, DiedFlagsAndDeletion) {
  int32_t a = AddGraphRecord(1, 1, 0, nullptr, 0, 0, &settings);
  int32_t b = AddGraphRecord(1, 1, 0, nullptr, 0, 0, &settings);
  int32_t flagA = 7, flagB = 7;
  EXPECT_EQ(RegisterGraphDiedFlag(a, &flagA), 0);
  EXPECT_EQ(flagA, 0);
  RegisterGraphDiedFlag(b, &flagB);
  EXPECT_EQ(DestroyGraph(a, 1), 0);
  EXPECT_EQ(flagA, 1);
  EXPECT_EQ(IsGraphValid(a), 0);
  EXPECT_EQ(DestroyGraph(a, 0), -1);
  EXPECT_EQ(RegisterGraphDiedFlag(a, &flagA), -1);

  AddGraphRecord(1, 1, 0, nullptr, 0, 0, &settings);
  EXPECT_EQ(DestroyAllGraphs(0), 0);
  EXPECT_EQ(flagB, 1);
  EXPECT_EQ(GraphTable()->usedEnd, 0);
  EXPECT_EQ(GraphTable()->liveCount, 0);
}

TEST_F(GraphRecordTest, TargetSizes) {
  int32_t w = 0, h = 0;
  EXPECT_EQ(QueryTargetSize(-4, &w, &h), 0);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);
  RecordScreenSize(800, 600, 32);
  QueryTargetSize(-2, &w, nullptr);
  EXPECT_EQ(w, 800);
  int32_t g = AddGraphRecord(33, 44, 0, nullptr, 0, 0, &settings);
  QueryTargetSize(g, &w, &h);
  EXPECT_EQ(w, 33);
  EXPECT_EQ(h, 44);
  EXPECT_EQ(QueryTargetSize(g + 1, &w, &h), -1);
}

TEST_F(GraphRecordTest, SourceNamesAreBoundedAndLongOnesAreNotReloaded) {
  GraphRecord* r = nullptr;
  AddGraphRecord(1, 1, 0, &r, 0, 0, &settings);
  EXPECT_EQ(IsGraphReloadable(r), 0);  // no file name
  std::string name64(64, 'a'), dir128(128, 'd');
  EXPECT_EQ(SetGraphSourceNames(r, name64.c_str(), dir128.c_str()), 0);
  EXPECT_EQ(IsGraphReloadable(r), 1);
  EXPECT_EQ(std::string(r->fileName), name64);

  std::string name65(65, 'b');
  EXPECT_EQ(SetGraphSourceNames(r, name65.c_str(), "dir"), -1);
  EXPECT_EQ(IsGraphReloadable(r), 0);
  EXPECT_EQ(std::strlen(r->fileName), 64u);
  EXPECT_EQ(std::string(r->loadDirectory), "dir");  // the other field is untouched by the overflow

  EXPECT_EQ(SetGraphSourceNames(r, "a.bmp", std::string(129, 'd').c_str()), -1);
  EXPECT_EQ(IsGraphReloadable(r), 0);

  // A two-byte character that does not fit whole is left out, not halved.
  std::string sjis = std::string(63, 'x') + "\x83\x41";
  SetGraphSourceNames(r, sjis.c_str(), "");
  EXPECT_EQ(std::string(r->fileName), std::string(63, 'x'));
}

TEST_F(GraphRecordTest, FullTableTakesLowestFreeSlotThenEndsTheProgram) {
  int32_t second = -1;
  for (int i = 0; i < kGraphHandleMax; ++i) {
    int32_t h = AddGraphRecord(1, 1, 0, nullptr, 0, 0, &settings);
    if (i == 1) second = h;
  }
  DestroyGraph(second, 0);
  EXPECT_EQ(GraphTable()->usedEnd, kGraphHandleMax);
  EXPECT_EQ(HandleSlotIndex(AddGraphRecord(1, 1, 0, nullptr, 0, 0, &settings)), 1);
  EXPECT_EXIT(AddGraphRecord(1, 1, 0, nullptr, 0, 0, &settings), ::testing::ExitedWithCode(255), "");
}

// Graphics management starts its graph and surface-data tables empty and
// numbered afresh, also when a screen-mode change starts it again: handles
// held from before name nothing, the first new graph takes slot 0 with check
// number 0, and two changes after different histories leave the surface
// data numbered alike (only the standard font's own made since).
TEST(GraphTables, AModeChangeNumbersGraphsAndSurfaceDataAfresh) {
  for (bool software : {false, true}) {
    SCOPED_TRACE(software);
    gfxtest::Road road(software, 16);
    struct After {
      int32_t live, usedEnd, checks, store;
      bool operator==(const After&) const = default;
    } after[2];
    const int32_t made[2] = {5, 40};
    const int32_t widths[2] = {800, 640};
    for (int change = 0; change < 2; ++change) {
      std::vector<int32_t> held;
      for (int32_t i = 0; i < made[change]; ++i) held.push_back(CreateBlankGraph(8, 8, 1));
      ASSERT_EQ(DestroyGraph(held[1], 0), 0);  // a hole below the used end
      ASSERT_GE(GraphTable()->checkCounter, made[change]);
      ASSERT_EQ(RequestScreenMode(widths[change], 480, 16, -1), 0);
      const HandleTable* graphs = GraphTable();
      EXPECT_EQ(graphs->liveCount, 0);
      EXPECT_EQ(graphs->usedEnd, 0);
      EXPECT_EQ(graphs->checkCounter, 0);
      for (int32_t h : held) EXPECT_EQ(IsGraphValid(h), 0);
      const HandleTable* data = SurfaceDataTable();
      after[change] = {data->liveCount, data->usedEnd, data->checkCounter, -1};
      const int32_t first = CreateBlankGraph(8, 8, 1);
      EXPECT_EQ(first, kGraphHandleTag);
      after[change].store = LookupSurface2D(LookupGraph(first)->pieceHandles[0])->surfaceData;
      EXPECT_EQ(CreateBlankGraph(8, 8, 1), kGraphHandleTag | (1 << 16) | 1);
    }
    EXPECT_TRUE(after[0] == after[1]);
    EXPECT_LT(after[0].checks, 8);
  }
}

}  // namespace
}  // namespace qor
