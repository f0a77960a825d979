// A texture graph the device cannot render into, as the draw target on the
// Direct3D road: it is still the 2D road's target, whose draws land in it in
// its own format however narrow its pixels, while the device's draws land
// on the device's own target, the front screen. A 2D draw changes texels'
// colours only, and only those it touches.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "d3d_test_support.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_load.h"
#include "framework/graphics/images/convert_pixels.h"
#include "framework/graphics/surfaces/surface_data.h"

namespace {

using namespace qor;

TEST(D3DGraphTarget, DrawsOnATextureTheDeviceCannotRenderIntoLandSafely) {
  gfxtest::Road road(false, 32, false, "d3d");
  SetNewGraphBitDepth(16);
  const int32_t texture = d3dtest::PictureGraph(64, 32, 1);  // 16-bit pixels on a 32-bit screen
  SetNewGraphBitDepth(0);
  SetNewGraphDrawable(1);
  const int32_t same = gfxtest::MakeGraph(64, 32, false, true);  // a 2D graph in the screen's format
  SetNewGraphDrawable(0);
  const int32_t sprite = gfxtest::MakeGraph(40, 20, false, false, 3);
  const int32_t picture = d3dtest::PictureGraph(16, 16, 2);

  // A 2D draw that blends, on the texture and on a graph of the screen's
  // format: the texture holds the other's colours packed in its own format.
  std::vector<uint32_t> drawn[2];
  for (const int32_t target : {texture, same}) {
    ASSERT_EQ(SelectDrawTarget(target), 0);
    ASSERT_EQ(EraseDrawTarget(), 0);
    SelectBlend(1, 128);
    EXPECT_EQ(BlitGraph(4, 2, sprite, 1), 0);
    EXPECT_EQ(BlitGraph(56, 17, sprite, 1), 0);  // cut to 8 x 15 at the last rows
    SelectBlend(0, 0);
    drawn[target == same] = gfxtest::TargetPixels(0, 0, 64, 32);
  }
  ASSERT_EQ(SelectDrawTarget(texture), 0);
  PixelFormatInfo own;
  plat::DDPixelFormat dd;
  GetScreenState().targetSurface->GetPixelFormat(&dd);
  MakeFormatFromDirectDraw(&dd, &own);
  ASSERT_EQ(own.bitDepth, 16);
  const uint32_t colour = own.masks[0] | own.masks[1] | own.masks[2];  // spare bits aside
  int changed = 0;
  for (size_t i = 0; i < drawn[1].size(); ++i) {
    const uint32_t p = drawn[1][i];
    ASSERT_EQ(drawn[0][i] & colour, PackColorForFormat(&own, (p >> 16) & 255, (p >> 8) & 255, p & 255, 255) & colour)
        << i;
    changed += p != 0;
  }
  EXPECT_GT(changed, 100);

  // The device's draw goes to its own target, the front screen, as it does
  // with the front screen selected; the texture keeps what it had.
  const std::vector<uint32_t> kept = gfxtest::TargetPixels(0, 0, 64, 32);
  std::vector<uint32_t> front[2];
  for (const int32_t target : {texture, kFrontScreen}) {
    ASSERT_EQ(SelectDrawTarget(kFrontScreen), 0);
    ASSERT_EQ(EraseDrawTarget(), 0);
    ASSERT_EQ(SelectDrawTarget(target), 0);
    EXPECT_EQ(BlitGraph(10, 6, picture, 1), 0);
    ASSERT_EQ(SelectDrawTarget(kFrontScreen), 0);  // the batch drawn; the primary read
    front[target == kFrontScreen] = gfxtest::TargetPixels(0, 0, 40, 30);
  }
  EXPECT_EQ(front[0], front[1]);
  EXPECT_NE(front[1], std::vector<uint32_t>(front[1].size(), front[1][0]));
  ASSERT_EQ(SelectDrawTarget(texture), 0);
  EXPECT_EQ(gfxtest::TargetPixels(0, 0, 64, 32), kept);
}

// A texture graph of several pieces as the target: the 2D road draws into
// its first piece, in that piece's texture at the piece's place there (a
// carved graph starts inside a texture), and no other texel changes.
TEST(D3DGraphTarget, ATargetOfSeveralPiecesIsItsFirstPieceAtItsPlaceInItsTexture) {
  gfxtest::Road road(false, 32, false, "d3d");
  GetD3D().maxTexture = 32;  // a device with small textures
  const int32_t whole = CreateSizedGraph(70, 40, 1, 0, 0);
  const GraphRecord* w = LookupGraph(whole);
  ASSERT_EQ(w->pieceCount, 6);  // 32 + 32 + 6 across, 32 + 8 down, row by row
  std::vector<const plat::DDSurface*> textures;
  for (int32_t i = 0; i < w->pieceCount; ++i)
    textures.push_back(LookupSurfaceData(LookupSurface3DData(w->pieceHandles[i])->texture)->surface);
  auto texels = [&] {
    std::vector<std::vector<uint32_t>> all;
    for (const plat::DDSurface* t : textures) {
      all.emplace_back(static_cast<size_t>(t->width()) * t->height());
      for (int y = 0; y < t->height(); ++y)
        std::memcpy(&all.back()[static_cast<size_t>(y) * t->width()], t->memory() + y * t->pitch(), t->width() * 4u);
    }
    return all;
  };
  // The graph's rectangle in the whole one (the first row is the whole graph
  // itself); the texture (by the whole graph's piece) and the rectangle in
  // it that the graph's first piece covers.
  const struct {
    int32_t carve[4], texture, rect[4];
  } rows[] = {{{0, 0, 70, 40}, 0, {0, 0, 32, 32}},
              {{40, 10, 28, 26}, 1, {8, 10, 32, 32}},
              {{5, 20, 60, 20}, 0, {5, 20, 32, 32}},
              {{33, 34, 37, 6}, 4, {1, 2, 32, 8}}};
  const uint32_t colour = PackColorRGB(200, 100, 50), rgb = 0xFFFFFF;
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << "carved at " << row.carve[0] << "," << row.carve[1]);
    const int32_t g =
        &row == rows ? whole : CarveSubGraph(row.carve[0], row.carve[1], row.carve[2], row.carve[3], whole);
    ASSERT_GT(LookupGraph(g)->pieceCount, 1);
    ASSERT_EQ(FillGraphPieces3D(LookupGraph(whole), 10, 20, 30, 255), 0);
    const std::vector<std::vector<uint32_t>> before = texels();
    ASSERT_EQ(SelectDrawTarget(g), 0);
    SetUse3DGraphs(0);  // boxes on the 2D road
    EXPECT_EQ(PaintBox(0, 0, row.rect[2] - row.rect[0], row.rect[3] - row.rect[1], colour, 1), 0);
    SetUse3DGraphs(1);
    const std::vector<std::vector<uint32_t>> after = texels();
    int wrong = 0, painted = 0;
    for (size_t t = 0; t < textures.size(); ++t)
      for (int y = 0; y < textures[t]->height(); ++y)
        for (int x = 0; x < textures[t]->width(); ++x) {
          const size_t i = static_cast<size_t>(y) * textures[t]->width() + x;
          const bool inside = static_cast<int>(t) == row.texture && x >= row.rect[0] && y >= row.rect[1] &&
                              x < row.rect[2] && y < row.rect[3];
          painted += inside;
          wrong += inside ? (after[t][i] & rgb) != (colour & rgb) : after[t][i] != before[t][i];
        }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(painted, 0);
    ASSERT_EQ(SelectDrawTarget(kBackScreen), 0);
  }
}

// A colour of one format in another's colour fields, as the pixel
// conversion gives it: a narrower field keeps its top bits, a wider one
// keeps full scale, v x (2^to - 1) / (2^from - 1); only the fixed pair from
// 5:6:5 to X8:8:8:8 widens with low bits 0.
uint32_t ColourIn(const PixelFormatInfo& to, const PixelFormatInfo& from, uint32_t pixel) {
  const bool lowBitsZero = from.bitDepth == 16 && from.widths[1] == 6 && to.bitDepth == 32 && to.widths[3] == 0;
  uint32_t out = 0;
  for (int c = 0; c < 3; ++c) {
    uint32_t v = (pixel & from.masks[c]) >> from.shifts[c];
    if (to.widths[c] < from.widths[c]) {
      v >>= from.widths[c] - to.widths[c];
    } else if (to.widths[c] > from.widths[c]) {
      v = lowBitsZero ? v << (to.widths[c] - from.widths[c])
                      : v * ((1u << to.widths[c]) - 1u) / ((1u << from.widths[c]) - 1u);
    }
    out |= v << to.shifts[c];
  }
  return out;
}

// On 16-bit (5:6:5 and 5:5:5) and 32-bit screens, a texture of each of the
// nine formats, filled with every bit varied (alpha and spare bits too),
// takes a blended and a plain box, a plain outline, a blended and a plain
// transparent blit of a sprite with key-coloured pixels. Oracle: the same
// draw on a memory image in the work's format (the screen's, or 5:6:5 on
// the 5:5:5 screen) holding the texture's colours: each texel the draw
// changed there holds that colour in the texture's fields and its own other
// bits, every other texel is as it was.
TEST(D3DGraphTarget, TwoDDrawsChangeOnlyTheColoursOfTheTexelsTheyTouch) {
  constexpr int kW = 48, kH = 24;
  const Rect all{0, 0, kW, kH};
  for (const int bits : {16, 32, 15}) {
    SCOPED_TRACE(bits);
    gfxtest::Road road(false, bits, false, "d3d");
    ASSERT_EQ(GetScreenState().format.masks[0], bits == 15 ? 0x7C00u : bits == 16 ? 0xF800u : 0xFF0000u);
    const GraphCreateSettings settings = CurrentGraphCreateSettings();  // texture graphs
    SetUse3DGraphs(0);  // boxes and lines on the 2D road
    const int32_t sprite = gfxtest::MakeGraph(24, 12, false, false, 3);
    const int32_t oracle = gfxtest::MakeGraph(kW, kH, true, true);
    ASSERT_EQ(SelectDrawTarget(oracle), 0);
    const PixelBlock o = PixelBlockOfMemImg(GetScreenState().targetImage);
    const uint32_t shown = o.format->masks[0] | o.format->masks[1] | o.format->masks[2];
    // {blend mode, parameter, what (0 filled box, 1 outline, 2 transparent blit), x1, y1, x2, y2}
    const int32_t draws[][7] = {{1, 100, 0, 4, 3, 30, 15}, {0, 0, 0, 6, 14, 20, 22}, {0, 0, 1, 20, 8, 44, 22},
                                {1, 160, 2, 10, 6}, {0, 0, 2, 30, 1}};
    auto draw = [&](const int32_t* d) {
      SelectBlend(d[0], d[1]);
      if (d[2] < 2) PaintBox(d[3], d[4], d[5], d[6], PackColorRGB(40, 200, 96), d[2] == 0);  // exact in 5 bits
      if (d[2] == 2) BlitGraph(d[3], d[4], sprite, 1);
      SelectBlend(0, 0);
    };
    for (int index = 0; index < 9; ++index) {
      SCOPED_TRACE(index);
      GraphRecord* record = nullptr;
      const int32_t texture = AddGraphRecord(kW, kH, 1, &record, index == 2 || index == 3 || index == 8, 0, &settings);
      record->alphaTest = index == 4 || index == 5 ? 1 : 0;
      record->drawable = index >= 6 ? 1 : 0;
      record->colorBits = index % 2 == 1 || index == 8 ? 32 : 16;
      ASSERT_EQ(CreateGraphPieces3D(record), 0);
      ASSERT_EQ(SelectDrawTarget(texture), 0);
      plat::DDSurface* surface = GetScreenState().targetSurface;  // one piece, at (0, 0)
      PixelFormatInfo own;
      plat::DDPixelFormat dd;
      surface->GetPixelFormat(&dd);
      MakeFormatFromDirectDraw(&dd, &own);
      ASSERT_TRUE(IsSamePixelFormat(&own, GetTexturePixelFormatInfo(index)));
      PixelBlock t{nullptr, 0, kW, kH, &own};
      ASSERT_EQ(surface->Lock(nullptr, &t.pitch, &t.pixels, plat::DDLOCK_WAIT), plat::DD_OK);
      uint32_t seed = static_cast<uint32_t>(index * 7 + bits);
      for (int y = 0; y < kH; ++y)
        for (int i = 0; i < kW * own.bytesPerPixel; ++i)
          t.pixels[y * t.pitch + i] = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 23);
      surface->Unlock(nullptr);
      const uint32_t colour = own.masks[0] | own.masks[1] | own.masks[2];
      // A texture in the work's or the screen's format takes whole pixels
      // (drawn in place, or copied by BltFast): its spare bits are the draw's.
      const bool whole = IsSamePixelFormat(&own, o.format) || IsSamePixelFormat(&own, &GetScreenState().format);
      const uint32_t kept = whole ? colour | own.masks[3] : ~0u;
      for (const auto& d : draws) {
        SCOPED_TRACE(&d - draws);
        ASSERT_EQ(surface->Lock(nullptr, &t.pitch, &t.pixels, plat::DDLOCK_WAIT), plat::DD_OK);
        ConvertPixelsBlt(&o, &t, nullptr, 0, 0, &all, nullptr);
        surface->Unlock(nullptr);
        ASSERT_EQ(SelectDrawTarget(texture), 0);
        const std::vector<uint32_t> before = gfxtest::TargetPixels(0, 0, kW, kH);
        draw(d);
        const std::vector<uint32_t> after = gfxtest::TargetPixels(0, 0, kW, kH);
        ASSERT_EQ(SelectDrawTarget(oracle), 0);
        const std::vector<uint32_t> start = gfxtest::TargetPixels(0, 0, kW, kH);
        draw(d);
        const std::vector<uint32_t> want = gfxtest::TargetPixels(0, 0, kW, kH);
        if (d[0] == 0 && d[2] < 2) {  // the caller's colour reached the oracle as it was packed
          EXPECT_EQ(want[d[4] * kW + d[3]] & shown, PackColorForFormat(o.format, 40, 200, 96, 0) & shown);
        }
        int changed = 0;
        for (size_t i = 0; i < want.size(); ++i) {
          if (want[i] == start[i]) {
            ASSERT_EQ(after[i], before[i]) << i;
          } else {
            ASSERT_EQ(after[i] & kept, ((before[i] & ~colour) | ColourIn(own, *o.format, want[i])) & kept) << i;
            ++changed;
          }
        }
        EXPECT_GT(changed, 40);
      }
    }
  }
}

}  // namespace
