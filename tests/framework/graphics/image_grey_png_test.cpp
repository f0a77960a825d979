// Grey PNGs with alpha, written by netpbm and ImageMagick, stay 16-bit grey
// (grey byte, alpha byte); graphs made from them draw as their A8R8G8B8
// twin does on every road.
#include <gtest/gtest.h>

#include <cstring>

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

struct GreyFixture {
  const char* name;
  bool keyed;  // alpha from the transparent entry (grey 0x25), not a channel
};
const GreyFixture kGrey[] = {{"n_grey_alpha.png", false}, {"t_grey_alpha16.png", false}, {"n_grey_trns.png", true}};

uint32_t AlphaOf(const GreyFixture& f, int x, int y) {
  return f.keyed ? (Rich(x, y).r == 0x25 ? 0u : 255u) : RichAlpha(x, y);
}

TEST(ImagePngReader, GreyWithAlphaStaysSixteenBitGreyAndDrawsAsItsArgbTwin) {
  for (const GreyFixture& f : kGrey) {
    SCOPED_TRACE(f.name);
    Decoded d(ReadFixture(f.name));
    ASSERT_EQ(d.result, 0);
    const PixelFormatInfo& fmt = d.image.format;
    EXPECT_EQ(fmt.bitDepth, 16);
    EXPECT_EQ(fmt.bytesPerPixel, 2);
    EXPECT_EQ(d.image.pitch, 2 * kW);
    EXPECT_EQ(std::vector<uint32_t>(fmt.masks, fmt.masks + 4), (std::vector<uint32_t>{0xFF, 0xFF, 0xFF, 0xFF00}));
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        const uint8_t* p = d.image.pixels + y * d.image.pitch + 2 * x;
        ASSERT_EQ(p[0] | p[1] << 8, Rich(x, y).r | AlphaOf(f, x, y) << 8) << x << "," << y;
        int32_t c[4] = {};
        ASSERT_EQ(GetGraphImagePixel(&d.image, x, y, &c[0], &c[1], &c[2], &c[3]), 0);
        ASSERT_EQ(c[0] | c[2] << 8 | c[3] << 16, p[0] | p[0] << 8 | p[1] << 16);
      }
  }
  const struct {
    bool software;
    int bits;
    const char* road;
  } roads[] = {{true, 16, nullptr}, {true, 32, nullptr}, {false, 16, "ddraw"},
               {false, 32, "ddraw"}, {false, 16, "d3d"},  {false, 32, "d3d"}};
  for (const auto& rc : roads) {
    gfxtest::Road road(rc.software, rc.bits, false, rc.road);
    SelectDrawTarget(kBackScreen);
    for (const GreyFixture& f : kGrey) {
      SCOPED_TRACE(::testing::Message() << f.name << " " << (rc.road ? rc.road : "soft") << " " << rc.bits);
      Decoded grey(ReadFixture(f.name));
      GraphImage twin{};
      ASSERT_EQ(CreateArgb8GraphImage(kW, kH, &twin), 0);
      for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
          const uint32_t g = Rich(x, y).r, v = AlphaOf(f, x, y) << 24 | g * 0x010101u;
          std::memcpy(twin.pixels + y * twin.pitch + x * 4, &v, 4);
        }
      const int32_t graphs[2] = {BuildGraphFromImage(&grey.image, nullptr, 1, 0, 0),
                                 BuildGraphFromImage(&twin, nullptr, 1, 0, 0)};
      FreeGraphImage(&twin);
      std::vector<uint32_t> shown[2];
      for (int i = 0; i < 2; ++i) {
        ASSERT_NE(graphs[i], -1);
        for (int k = 0; k < 60; k += 3) PaintBoxFilled(k, 0, k + 3, 20, PackColorRGB(k * 4, 200 - k, 90));
        BlitGraph(2, 2, graphs[i], 1);
        SelectBlend(1, 150);
        BlitGraph(30, 4, graphs[i], 1);
        SelectBlend(0, 255);
        FlushCurrentVertexBatch();
        shown[i] = gfxtest::TargetPixels(0, 0, 60, 20);
        DestroyGraph(graphs[i], 0);
      }
      EXPECT_EQ(shown[0], shown[1]);
    }
  }
}

}  // namespace
}  // namespace qor
