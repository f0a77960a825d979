// Image pixels into texture pieces: the whole image under each piece and a
// rectangle laid anywhere on a graph cut into many textures, texel by texel
// against the image; a refused texture lock through a temporary texture and
// the device's load, and a load that fails ending the program; the texture
// formats by index at the ends of the nine; a keyed picture in a texture
// format with alpha, keyed by that alpha.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "d3d_test_support.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_image.h"
#include "framework/graphics/graphs/graph_load.h"
#include "framework/graphics/graphs/graph_record.h"

namespace {

using namespace qor;

uint32_t ImagePixel(const GraphImage& image, int x, int y) {
  uint32_t v = 0;
  std::memcpy(&v, image.pixels + y * image.pitch + x * 4, 4);
  return v;
}

// An A8R8G8B8 picture in which every pixel differs from its neighbours.
GraphImage Picture(int w, int h) {
  GraphImage image{};
  EXPECT_EQ(CreateArgb8GraphImage(w, h, &image), 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t v = 0x80000000u | static_cast<uint32_t>(x * 0x010305 + y * 0x070B00 + 0x11);
      std::memcpy(image.pixels + y * image.pitch + x * 4, &v, 4);
    }
  return image;
}

// A 32-bit graph with alpha cut into 32-pixel textures, filled with one
// texel value.
int32_t CutGraph(int w, int h) {
  GetD3D().maxTexture = 32;
  SetNewGraphBitDepth(32);
  const int32_t g = CreateSizedGraph(w, h, 1, 1, 0);
  EXPECT_GE(g, 0);
  EXPECT_EQ(FillGraphPieces3D(LookupGraph(g), 1, 2, 3, 4), 0);
  return g;
}

// Each graph texel against `expect`, which gives the image's pixel for it
// or -1 where the graph keeps its fill.
template <typename Expect>
int Mismatches(int32_t graph, const GraphImage& image, uint32_t fill, Expect expect) {
  const GraphRecord* g = LookupGraph(graph);
  int wrong = 0;
  for (int y = 0; y < g->height; ++y)
    for (int x = 0; x < g->width; ++x) {
      int ix = 0, iy = 0;
      const uint32_t want = expect(x, y, &ix, &iy) ? ImagePixel(image, ix, iy) : fill;
      wrong += d3dtest::GraphTexel(graph, x, y) != want;
    }
  return wrong;
}

TEST(D3DUpload, ImageAndRectanglesLandUnderEveryPiece) {
  gfxtest::Road road(false, 32, false, "d3d");
  GraphImage image = Picture(90, 50);
  const int32_t probe = CutGraph(70, 40);
  ASSERT_EQ(LookupGraph(probe)->pieceCount, 6);  // 32 + 32 + 32 across, 32 + 32 down, cut at 70 x 40
  const uint32_t fill = d3dtest::GraphTexel(probe, 0, 0);
  ASSERT_EQ(GetTexturePixelFormatInfo(kTexAlpha8888)->bitDepth, 32);

  // The graph's top-left on the image's (x, y): the image under each piece,
  // cut where the image ends.
  const struct {
    int x, y;
  } origins[] = {{0, 0}, {5, 3}, {31, 9}, {33, 20}, {-4, -2}};
  for (const auto& o : origins) {
    SCOPED_TRACE(testing::Message() << "origin " << o.x << "," << o.y);
    const int32_t g = CutGraph(70, 40);
    ASSERT_EQ(BlitImageToGraphPieces3D(&image, nullptr, o.x, o.y, LookupGraph(g), 0), 0);
    EXPECT_EQ(Mismatches(g, image, fill, [&](int x, int y, int* ix, int* iy) {
                *ix = x + o.x;
                *iy = y + o.y;
                return *ix >= 0 && *iy >= 0 && *ix < 90 && *iy < 50;
              }),
              0);
    DestroyGraph(g, 0);
  }

  // A rectangle of the image laid at (x, y) of the graph: only the graph's
  // pixels under it change, across piece edges and past the graph's end.
  const struct {
    Rect source;
    int x, y;
  } rects[] = {{{3, 2, 50, 30}, 20, 5},  {{0, 0, 90, 50}, 0, 0},  {{10, 10, 11, 11}, 31, 31},
               {{10, 10, 12, 12}, 31, 31}, {{40, 5, 80, 45}, 50, 20}, {{0, 0, 5, 5}, 70, 0}};
  for (const auto& c : rects) {
    SCOPED_TRACE(testing::Message() << "at " << c.x << "," << c.y);
    const int32_t g = CutGraph(70, 40);
    ASSERT_EQ(BlitImageRectToGraphPieces3D(&image, nullptr, &c.source, c.x, c.y, LookupGraph(g), 0), 0);
    const int w = c.source.right - c.source.left, h = c.source.bottom - c.source.top;
    EXPECT_EQ(Mismatches(g, image, fill, [&](int x, int y, int* ix, int* iy) {
                *ix = x - c.x + c.source.left;
                *iy = y - c.y + c.source.top;
                return x >= c.x && y >= c.y && x < c.x + w && y < c.y + h;
              }),
              0);
    DestroyGraph(g, 0);
  }

  // A refused lock: the same texels through a temporary texture that the
  // device loads into the piece's texture, once for each piece written.
  const int32_t locked = CutGraph(70, 40);
  const Rect inside{7, 8, 27, 20};
  const int64_t loads = GetCurrentD3DDevice()->Counters().load;
  plat::DdFailNext(plat::DdOp::Lock, 1);
  ASSERT_EQ(BlitImageRectToGraphPieces3D(&image, nullptr, &inside, 2, 3, LookupGraph(locked), 0), 0);
  EXPECT_EQ(GetCurrentD3DDevice()->Counters().load, loads + 1);
  EXPECT_EQ(Mismatches(locked, image, fill, [&](int x, int y, int* ix, int* iy) {
              *ix = x - 2 + 7;
              *iy = y - 3 + 8;
              return x >= 2 && y >= 3 && x < 22 && y < 15;
            }),
            0);
  FreeGraphImage(&image);
}

TEST(D3DUploadDeathTest, AFailedLoadEndsTheProgramWithItsText) {
  lifetest::LifeScope scope;
  EXPECT_EXIT(
      {
        setenv("ORB_GFX", "d3d", 1);
        RequestScreenModePublic(640, 480, 32, -1);
        if (InitFramework() != 0) _exit(2);
        GraphImage image = Picture(20, 20);
        const int32_t g = CreateSizedGraph(20, 20, 1, 0, 0);
        if (g < 0) _exit(4);
        plat::DdFailNext(plat::DdOp::Lock, 1);
        GetCurrentD3DDevice()->FailNextLoads(1);
        BlitImageToGraphPieces3D(&image, nullptr, 0, 0, LookupGraph(g), 0);
        _exit(3);
      },
      testing::ExitedWithCode(255), "");
  EXPECT_TRUE(scope.Logged("作業用テクスチャサーフェスから描画用テクスチャサーフェスへの画像転送に失敗しました"));
}

// Format indexes 0 to 8 name the nine records; -1 and 9 name none.
TEST(D3DUpload, TextureFormatsByIndex) {
  gfxtest::Road road(false, 16, false, "d3d");
  for (int32_t i = -1; i <= kTexFormatCount; ++i) {
    const bool known = i >= 0 && i < kTexFormatCount;
    EXPECT_EQ(GetTexturePixelFormatInfo(i), known ? &GetD3D().formats[i].info : nullptr) << i;
    EXPECT_EQ(GetTextureFormatRecord(i), known ? &GetD3D().formats[i] : nullptr) << i;
  }
  EXPECT_EQ(GetTexturePixelFormatInfo(kTexAlpha4444)->widths[3], 4);
}

// A keyed picture in a texture whose format has alpha (the alpha-test
// format a new graph gets by default: 1:5:5:5 or 8:8:8:8) while its graph
// has no alpha of its own: the key colour's texels get alpha 0, the others
// full alpha, so a transparent draw leaves the screen exactly as it was
// under the key and shows what the opaque draw shows everywhere else.
// Without the alpha-test flag the format has no alpha and the texture's
// colour key does the same.
TEST(D3DUpload, AKeyedPictureInAFormatWithAlphaKeysByAlpha) {
  for (const int bits : {16, 32})
    for (const int alphaTest : {1, 0}) {
      SCOPED_TRACE(testing::Message() << bits << " bits, alpha test " << alphaTest);
      gfxtest::Road road(false, bits, false, "d3d");
      SetKeyColorRGB(0, 255, 0);  // the picture's key, as the game sets it
      SetNewGraphAlphaTest(alphaTest);
      GraphImage image;
      gfxtest::MakePicture(&image, 48, 40, false, 7);
      const int32_t g = BuildGraphFromImage(&image, nullptr, 1, 0, 0);
      std::vector<bool> keyed;
      for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 48; ++x) {
          const uint8_t* p = image.pixels + y * image.pitch + x * 3;
          keyed.push_back(p[0] == 0 && p[1] == 255 && p[2] == 0);
        }
      FreeGraphImage(&image);
      ASSERT_GE(g, 0);
      const GraphRecord* record = LookupGraph(g);
      ASSERT_TRUE(record->is3D && !record->alpha);
      plat::DDPixelFormat format;
      LookupSurfaceData(LookupSurface3DData(record->pieceHandles[0])->texture)->surface->GetPixelFormat(&format);
      EXPECT_EQ(format.alphaMask, alphaTest ? (bits == 16 ? 0x8000u : 0xFF000000u) : 0u);
      std::vector<uint32_t> frames[2];
      for (const int transparent : {0, 1}) {
        ASSERT_EQ(SelectDrawTarget(kBackScreen), 0);
        PaintBoxFilled(0, 0, 640, 480, PackColorRGB(40, 80, 120));
        EXPECT_EQ(BlitGraph(100, 60, g, transparent), 0);
        frames[transparent] = d3dtest::Frame();
      }
      const uint32_t screen = frames[1][0];
      int keys = 0, alphaWrong = 0, shown = 0, hidden = 0, drawn = 0, drawnWrong = 0;
      for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 48; ++x) {
          const bool key = keyed[static_cast<size_t>(y) * 48 + x];
          keys += key;
          alphaWrong += (d3dtest::GraphTexel(g, x, y) & format.alphaMask) != (key ? 0 : format.alphaMask);
          const size_t at = static_cast<size_t>(60 + y) * 640 + 100 + x;
          if (key) {
            shown += frames[0][at] != screen;  // the key colour shows without transparency
            hidden += frames[1][at] == screen;
          } else {
            drawn += frames[1][at] != screen;
            drawnWrong += frames[1][at] != frames[0][at];
          }
        }
      EXPECT_GT(keys, 200);
      EXPECT_EQ(alphaWrong, 0);
      EXPECT_EQ(shown, keys);
      EXPECT_EQ(hidden, keys);
      EXPECT_EQ(drawn, 48 * 40 - keys);
      EXPECT_EQ(drawnWrong, 0);
    }
}

}  // namespace
