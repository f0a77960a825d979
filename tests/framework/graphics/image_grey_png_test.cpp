// Grey PNGs with alpha, written by netpbm and ImageMagick: the reader keeps
// them as 16-bit grey (grey byte, alpha byte), and every consumer of that
// format (graphs on the software, DirectDraw and Direct3D roads, pixel
// reads) shows what the same picture shows as A8R8G8B8.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_load.h"
#include "framework/graphics/graphs/graph_record.h"
#include "framework/graphics/images/soft_image.h"
#include "graphics_test_support.h"
#include "image_test_support.h"

namespace qor {
namespace {

using namespace imagetest;

uint32_t Grey(int x, int y) { return Rich(x, y).r; }

struct GreyFixture {
  const char* name;
  bool keyed;  // alpha from a transparent entry (grey 0x25) instead of a channel
};
const GreyFixture kGreyFixtures[] = {
    {"n_grey_alpha.png", false}, {"t_grey_alpha16.png", false}, {"n_grey_trns.png", true}};

uint32_t AlphaOf(const GreyFixture& f, int x, int y) {
  return f.keyed ? (Grey(x, y) == 0x25 ? 0u : 255u) : RichAlpha(x, y);
}

// The same picture as A8R8G8B8.
void ArgbTwin(const GreyFixture& f, GraphImage* out) {
  ASSERT_EQ(CreateArgb8GraphImage(kW, kH, out), 0);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const uint32_t g = Grey(x, y), v = (AlphaOf(f, x, y) << 24) | (g << 16) | (g << 8) | g;
      std::memcpy(out->pixels + y * out->pitch + x * 4, &v, 4);
    }
}

TEST(ImagePngReader, GreyWithAlphaArrivesAsSixteenBitGrey) {
  for (const GreyFixture& f : kGreyFixtures) {
    SCOPED_TRACE(f.name);
    Decoded d(ReadFixture(f.name));
    ASSERT_EQ(d.result, 0);
    const PixelFormatInfo& fmt = d.image.format;
    EXPECT_EQ(fmt.bitDepth, 16);
    EXPECT_EQ(fmt.bytesPerPixel, 2);
    EXPECT_EQ(d.image.pitch, 2 * kW);
    const uint32_t masks[4] = {0xFF, 0xFF, 0xFF, 0xFF00};
    for (int k = 0; k < 4; ++k) EXPECT_EQ(fmt.masks[k], masks[k]) << k;
    EXPECT_EQ(fmt.spareMask, 0u);
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        const uint8_t* p = d.image.pixels + y * d.image.pitch + 2 * x;
        ASSERT_EQ(p[0], Grey(x, y)) << x << "," << y;
        ASSERT_EQ(p[1], AlphaOf(f, x, y)) << x << "," << y;
        int32_t c[4] = {};
        ASSERT_EQ(GetGraphImagePixel(&d.image, x, y, &c[0], &c[1], &c[2], &c[3]), 0);
        ASSERT_EQ(c[0], static_cast<int32_t>(Grey(x, y)));
        ASSERT_EQ(c[2], c[0]);
        ASSERT_EQ(c[3], static_cast<int32_t>(AlphaOf(f, x, y)));
      }
  }
}

// Each road draws the grey graph and its A8R8G8B8 twin over the same
// stripes, plainly and alpha-blended: the two must agree pixel for pixel.
TEST(ImagePngReader, GreyGraphsDrawAsTheirArgbTwinOnEveryRoad) {
  struct RoadCase {
    bool software;
    int bits;
    const char* road;
  };
  const RoadCase roads[] = {{true, 16, nullptr}, {true, 32, nullptr}, {false, 16, "ddraw"},
                            {false, 32, "ddraw"}, {false, 32, "d3d"},  {false, 16, "d3d"}};
  for (const RoadCase& rc : roads) {
    SCOPED_TRACE(::testing::Message() << (rc.road ? rc.road : "soft") << " " << rc.bits);
    gfxtest::Road road(rc.software, rc.bits, false, rc.road);
    SelectDrawTarget(kBackScreen);
    for (const GreyFixture& f : kGreyFixtures) {
      SCOPED_TRACE(f.name);
      Decoded d(ReadFixture(f.name));
      ASSERT_EQ(d.result, 0);
      GraphImage twin{};
      ArgbTwin(f, &twin);
      const int32_t grey = BuildGraphFromImage(&d.image, nullptr, 1, 0, 0);
      const int32_t argb = BuildGraphFromImage(&twin, nullptr, 1, 0, 0);
      FreeGraphImage(&twin);
      ASSERT_NE(grey, -1);
      ASSERT_NE(argb, -1);
      std::vector<uint32_t> shown[2];
      const int32_t graphs[2] = {grey, argb};
      for (int i = 0; i < 2; ++i) {
        SelectBlend(0, 255);
        for (int k = 0; k < 60; k += 3) PaintBoxFilled(k, 0, k + 3, 20, PackColorRGB(k * 4, 200 - k, 90));
        BlitGraph(2, 2, graphs[i], 1);
        SelectBlend(1, 150);
        BlitGraph(30, 4, graphs[i], 1);
        SelectBlend(0, 255);
        FlushCurrentVertexBatch();
        shown[i] = gfxtest::TargetPixels(0, 0, 60, 20);
      }
      EXPECT_EQ(shown[0], shown[1]);
      DestroyGraph(grey, 0);
      DestroyGraph(argb, 0);
    }
  }
}

}  // namespace
}  // namespace qor
