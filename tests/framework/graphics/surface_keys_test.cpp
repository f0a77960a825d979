// Format descriptions and colour keys: the DirectDraw descriptions of the
// memory-image formats against their table, a texture's colour key (opaque,
// with every alpha and spare bit set), and a palette picture's key index
// found through the packed colours.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphics_test_support.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/graph_load.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/surfaces/surface_data.h"

namespace {

using namespace qor;

struct ShortRow {
  int kind, alpha, palette;
  uint32_t flags, bits, red, green, blue, alphaMask;
};

// The memory-image formats' table: depth and masks per kind and flags.
const ShortRow kShortTable[] = {
    {0, 0, 0, plat::DDPF_RGB, 16, 0xF800, 0x07E0, 0x001F, 0},
    {0, 1, 0, plat::DDPF_RGB, 32, 0xF800, 0x07E0, 0x001F, 0x00FF0000},
    {0, 0, 1, plat::DDPF_RGB, 8, 0xF800, 0x07E0, 0x001F, 0},
    {0, 1, 1, plat::DDPF_RGB, 8, 0xF800, 0x07E0, 0x001F, 0x00FF0000},
    {1, 0, 0, plat::DDPF_RGB, 32, 0xFF0000, 0xFF00, 0xFF, 0},
    {1, 1, 0, plat::DDPF_RGB, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000},
    {1, 0, 1, plat::DDPF_RGB, 8, 0xFF0000, 0xFF00, 0xFF, 0},
    {1, 1, 1, plat::DDPF_RGB, 8, 0xFF0000, 0xFF00, 0xFF, 0xFF000000},
    {2, 0, 0, 0, 8, 0xFF, 0xFF, 0xFF, 0xFF},
    {2, 1, 1, 0, 8, 0xFF, 0xFF, 0xFF, 0xFF},
    {3, 0, 0, 0, 16, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF},
    {3, 1, 0, 0, 16, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF},
};

TEST(SurfaceKeys, MemoryImageFormatsAsDirectDrawDescriptions) {
  for (const ShortRow& r : kShortTable) {
    SCOPED_TRACE(testing::Message() << r.kind << r.alpha << r.palette);
    const plat::DDPixelFormat* f = GetMemImgColorFormatShort(r.kind, r.alpha, r.palette);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->flags, r.flags);
    EXPECT_EQ(f->bitCount, r.bits);
    EXPECT_EQ(f->redMask, r.red);
    EXPECT_EQ(f->greenMask, r.green);
    EXPECT_EQ(f->blueMask, r.blue);
    EXPECT_EQ(f->alphaMask, r.alphaMask);
    EXPECT_EQ(GetMemImgColorFormatShort(r.kind, r.alpha, r.palette), f);  // built once, kept
  }
  EXPECT_EQ(GetMemImgColorFormatShort(4, 0, 0), nullptr);
  EXPECT_EQ(GetMemImgColorFormatShort(-1, 0, 0), nullptr);
}

// The key of a texture of each format the device gives: the key colour's
// channels at full, the alpha bits and the bits of no channel all set.
TEST(SurfaceKeys, TextureKeysAreOpaqueWithTheSpareBitsSet) {
  gfxtest::Road road(false, 16, false, "d3d");
  ASSERT_EQ(GetScreenState().direct3DInUse, 1);
  SetKeyColorRGB(0, 255, 0);
  int checked = 0;
  for (int alpha : {0, 1}) {
    for (int alphaTest : {0, 1}) {
      SetNewGraphAlpha(alpha);
      SetNewGraphAlphaTest(alphaTest);
      const int32_t graph = CreateBlankGraph(16, 16, 0);
      ASSERT_NE(graph, -1);
      const GraphRecord* g = LookupGraph(graph);
      ASSERT_TRUE(g->is3D);
      const SurfaceDataRecord* d = LookupSurfaceData(LookupSurface3DData(g->pieceHandles[0])->texture);
      ASSERT_NE(d, nullptr);
      plat::DDPixelFormat f;
      d->surface->GetPixelFormat(&f);
      const uint32_t all = f.bitCount == 32 ? 0xFFFFFFFFu : (1u << f.bitCount) - 1;
      const uint32_t spare = all & ~(f.redMask | f.greenMask | f.blueMask | f.alphaMask);
      ASSERT_TRUE(d->surface->hasColorKey());
      EXPECT_EQ(d->surface->colorKey(), f.greenMask | f.alphaMask | spare) << std::hex << f.alphaMask;
      ++checked;
    }
  }
  SetNewGraphAlpha(0);
  SetNewGraphAlphaTest(1);
  EXPECT_EQ(checked, 4);
}

// A palette picture keys on the first entry whose colour packs like the
// transparent colour in the buffer's format: on 16 bits (4, 253, 6) packs
// as (0, 255, 0). Without such an entry the buffer keeps its unmatched key,
// so index 0 stays drawn.
TEST(SurfaceKeys, PalettePicturesKeyOnThePackedColour) {
  gfxtest::Road road(true, 16);
  SetKeyColorRGB(0, 255, 0);
  // Entry 5 packs to the key colour (true) or is a dark green (false); entry
  // 9 is the key colour exactly but comes later (in the last picture it is
  // not). Each picture is written into the same graph in turn, so a picture
  // without the key colour after one with it shows whether the key is set
  // at every transfer.
  const std::vector<std::vector<bool>> runs = {{true}, {false}, {true, false}, {false, true}};
  for (const std::vector<bool>& run : runs) {
    SCOPED_TRACE(testing::Message() << run.size() << run.front());
    int32_t graph = -1;
    uint32_t madeWith = 0;
    for (size_t n = 0; n < run.size(); ++n) {
      const bool match = run[n];
      GraphImage image{};
      ASSERT_EQ(AllocGraphImagePixels(8, 1, &image), 0);
      MakeFormatPal8(&image.format);
      image.format.palette[0] = PaletteEntry{0, 0, 255, 0};
      image.format.palette[5] = match ? PaletteEntry{6, 253, 4, 0} : PaletteEntry{0, 128, 0, 0};
      image.format.palette[9] = PaletteEntry{0, 255, 0, 0};
      for (int x = 0; x < 8; ++x) image.pixels[x] = x < 4 ? 5 : 0;
      if (n == 0) {
        graph = CreateGraphForImage(&image, nullptr, 0);
        ASSERT_GT(graph, 0);
        madeWith = LookupSurfaceData(LookupSurface2D(LookupGraph(graph)->pieceHandles[0])->surfaceData)
                       ->image.buffer->keyColor;
      }
      GraphRecord* g = LookupGraph(graph);
      if (n + 1 == run.size() && !match) image.format.palette[9] = PaletteEntry{1, 1, 1, 0};
      const Rect all{0, 0, 8, 1};
      ASSERT_EQ(BlitImageToGraphPieces(&image, nullptr, &all, 0, 0, g, 1), 0);
      FreeGraphImage(&image);
      const SurfaceDataRecord* d = LookupSurfaceData(LookupSurface2D(g->pieceHandles[0])->surfaceData);
      ASSERT_TRUE(d->image.buffer->paletteFlag);
      const bool keyed = match || n + 1 < run.size();  // entry 9 keys the earlier pictures
      EXPECT_EQ(d->image.buffer->keyColor, match ? 5u : keyed ? 9u : madeWith) << n;
      ASSERT_EQ(SelectDrawTarget(kBackScreen), 0);
      EraseDrawTarget();
      ASSERT_EQ(BlitGraph(0, 0, graph, 1), 0);
      const std::vector<uint32_t> row = gfxtest::TargetPixels(0, 0, 8, 1);
      for (int x = 0; x < 8; ++x) {
        const uint32_t drawn = x < 4 ? (match ? 0u : 0x0400u) : 0xF800u;  // index 5 hidden or dark green; index 0 red
        EXPECT_EQ(row[x], drawn) << n << " " << x;
      }
    }
    DestroyGraph(graph, 0);
  }
}

}  // namespace
