// The direct road (pictures drawn at their own size, texels moved row by
// row) against the per-pixel road and the plain reference rasterizer: the
// same quads, under the stage, key, alpha-test and blend states a picture's
// draw uses, on every target and texture layout, mirrored and not, partly
// outside the target, must leave the same bits. Quads whose pixel centres
// fall on texel edges must not take the road at all.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "d3d_test_support.h"
#include "platform/d3d/span_direct.h"

namespace {

using namespace d3dtest;

const PixelLayout kLayouts[] = {kLayoutR5G6B5,   kLayoutX1R5G5B5, kLayoutX8R8G8B8, kLayoutA8R8G8B8,
                                kLayoutA4R4G4B4, kLayoutA1R5G5B5, {32, {0x1, 0x6, 0xF8, 0xFF00}}};
constexpr uint32_t kLayoutCount = sizeof kLayouts / sizeof kLayouts[0];

// The blend pairs the framework sets, and no blending.
constexpr uint32_t kBlendPairs[][2] = {{kBlendOne, kBlendZero},       {kBlendSrcAlpha, kBlendInvSrcAlpha},
                                       {kBlendSrcAlpha, kBlendOne},   {kBlendInvDestColor, kBlendZero},
                                       {kBlendZero, kBlendSrcColor},  {kBlendZero, kBlendOne}};

uint32_t Pick(std::mt19937& rng, uint32_t below) { return rng() % below; }

// A picture of w x h texels taken from (ox, oy) of the texture, drawn with
// its top-left pixel at (px, py) (corners half a pixel up and left of the
// grid, as the framework places them, plus `shift` pixels), mirrored as
// asked: two triangles sharing the diagonal.
std::vector<d3dref::Vtx> Quad(int px, int py, int w, int h, int ox, int oy, int tw, int th, bool mirrorX,
                              bool mirrorY, float shift, uint32_t diffuse) {
  const float x0 = static_cast<float>(px) - 0.5f + shift, y0 = static_cast<float>(py) - 0.5f + shift;
  const float x1 = x0 + static_cast<float>(w), y1 = y0 + static_cast<float>(h);
  float u0 = static_cast<float>(ox) / static_cast<float>(tw), u1 = static_cast<float>(ox + w) / static_cast<float>(tw);
  float v0 = static_cast<float>(oy) / static_cast<float>(th), v1 = static_cast<float>(oy + h) / static_cast<float>(th);
  if (mirrorX) std::swap(u0, u1);
  if (mirrorY) std::swap(v0, v1);
  const d3dref::Vtx a = {x0, y0, diffuse, u0, v0}, b = {x1, y0, diffuse, u1, v0};
  const d3dref::Vtx c = {x0, y1, diffuse, u0, v1}, d = {x1, y1, diffuse, u1, v1};
  return {a, b, c, b, d, c};
}

d3dref::Config RandomConfig(std::mt19937& rng, const Texture* texture) {
  d3dref::Config c;
  c.texture = texture;
  c.color = static_cast<d3dref::ColorSource>(Pick(rng, 4));
  c.alpha = static_cast<d3dref::AlphaSource>(Pick(rng, 3));
  c.colorKey = Pick(rng, 2) != 0;
  c.alphaTest = Pick(rng, 2) != 0;
  c.alphaFunc = Pick(rng, 2) ? kCmpGreater : kCmpGreaterEqual;  // the functions the framework sets
  c.alphaRef = static_cast<int>(Pick(rng, 256));
  const auto& pair = kBlendPairs[Pick(rng, sizeof kBlendPairs / sizeof kBlendPairs[0])];
  c.blend = pair[0] != kBlendOne || pair[1] != kBlendZero;
  c.src = pair[0];
  c.dst = pair[1];
  return c;
}

// Draws the quad three ways onto copies of one canvas: true when the
// per-pixel road, the span road and the reference leave the same bits (the
// reference writes the framework's screen layouts: 5:6:5, 5:5:5 and 32-bit).
bool DrawThreeWays(const PixelLayout& target, int cw, int ch, uint32_t seed, const d3dref::Config& config,
                   const std::vector<d3dref::Vtx>& quad) {
  Canvas perPixel(target, cw, ch, seed);
  Canvas spans(perPixel);
  Canvas reference(perPixel);
  const Canvas before(perPixel);
  const RoadCounters counters = DrawOnBothRoads(
      perPixel, spans, [&](Device& d) { Configure(d, config); }, [&](Device& d) { EXPECT_EQ(DrawList(d, quad), kOk); });
  for (size_t i = 0; i + 2 < quad.size(); i += 3) d3dref::DrawTriangle(reference.view, &quad[i], config);
  EXPECT_EQ(counters.spans.pixelsWritten, counters.perPixel.pixelsWritten);
  EXPECT_TRUE(spans.BorderSame(before));
  EXPECT_TRUE(spans.memory == perPixel.memory) << "the span road differs from the per-pixel road";
  const bool screen = target.bitCount == 32 ? target.masks[0] == 0xFF0000 : target.masks[3] == 0;
  EXPECT_TRUE(!screen || reference.memory == perPixel.memory) << "the device differs from the reference";
  return spans.memory == perPixel.memory && (!screen || reference.memory == perPixel.memory);
}

TEST(D3DDirectRoad, PicturesAtTheirSizeAgreeWithThePerPixelRoadAndTheReference) {
  std::mt19937 rng(1207);
  int64_t directTotal = 0;
  int directDraws = 0;
  for (int c = 0; c < 500; ++c) {
    SCOPED_TRACE(c);
    const int w = 1 + static_cast<int>(Pick(rng, 40)), h = 1 + static_cast<int>(Pick(rng, 12));
    // Textures as narrow as the picture (no room for a whole vector past
    // its edge) and wider, the picture anywhere inside.
    const int tw = w + static_cast<int>(Pick(rng, 3) == 0 ? 0 : Pick(rng, 20));
    const int th = h + static_cast<int>(Pick(rng, 5));
    const int ox = static_cast<int>(Pick(rng, static_cast<uint32_t>(tw - w + 1)));
    const int oy = static_cast<int>(Pick(rng, static_cast<uint32_t>(th - h + 1)));
    OwnedTexture texture(kLayouts[Pick(rng, kLayoutCount)], tw, th, rng(), Pick(rng, 2) != 0);
    const d3dref::Config config = RandomConfig(rng, &texture.texture);
    const int cw = 50, ch = 20;
    const int px = static_cast<int>(Pick(rng, cw + 20)) - 10, py = static_cast<int>(Pick(rng, ch + 10)) - 5;
    const auto quad = Quad(px, py, w, h, ox, oy, tw, th, Pick(rng, 2) != 0, Pick(rng, 2) != 0, 0.0f,
                           static_cast<uint32_t>(rng()));
    const int64_t before = DirectRoadPixels();
    ASSERT_TRUE(DrawThreeWays(kLayouts[Pick(rng, kLayoutCount)], cw, ch, rng(), config, quad));
    const int64_t drawn = DirectRoadPixels() - before;
    directTotal += drawn;
    directDraws += drawn > 0;
  }
  // The road is really taken, by well over a third of the draws (a quarter
  // complement the texel, which it leaves to the chunk road; some lie
  // outside the target or lose every pixel to the key or the alpha test).
  EXPECT_GT(directDraws, 180);
  EXPECT_GT(directTotal, 10000);
}

// Pixel centres on texel edges (corners on whole pixels) leave the choice of
// texel to the rounding of the interpolation: such quads keep the chunk
// road. A shift of a quarter pixel, or 1/256 pixel, keeps every centre
// inside its texel, and the road is taken.
TEST(D3DDirectRoad, QuadsWithCentresOnTexelEdgesKeepTheChunkRoad) {
  std::mt19937 rng(77);
  OwnedTexture texture(kLayoutA1R5G5B5, 40, 16, 9, true);
  d3dref::Config config;
  config.texture = &texture.texture;
  config.alphaTest = true;
  config.alphaRef = 0;
  for (const float shift : {0.5f, -0.5f, 0.25f, 1.0f / 256.0f, 0.5f - 1.0f / 256.0f}) {
    SCOPED_TRACE(shift);
    const bool onEdges = shift == 0.5f || shift == -0.5f;
    for (const bool mirror : {false, true}) {
      const auto quad = Quad(3, 2, 33, 11, 4, 3, 40, 16, mirror, false, shift, 0xFFFFFFFF);
      const int64_t before = DirectRoadPixels();
      ASSERT_TRUE(DrawThreeWays(kLayoutR5G6B5, 45, 17, 5, config, quad));
      EXPECT_EQ(DirectRoadPixels() - before > 0, !onEdges);
    }
  }
}

// A picture reaching past the texture on either side (coordinates beyond
// 0..1, where the address mode picks the texel) and a stretched one keep the
// chunk road.
TEST(D3DDirectRoad, AddressedAndStretchedPicturesKeepTheChunkRoad) {
  OwnedTexture texture(kLayoutA8R8G8B8, 16, 16, 3, false);
  d3dref::Config config;
  config.texture = &texture.texture;
  config.wrap = true;
  auto past = Quad(2, 2, 20, 8, 0, 0, 16, 16, false, false, 0.0f, 0xFFFFFFFF);  // u up to 20/16
  auto shortOf = Quad(2, 2, 10, 8, -1, 3, 16, 16, false, false, 0.0f, 0xFFFFFFFF);  // u from -1/16
  auto stretched = Quad(2, 2, 20, 8, 0, 0, 16, 16, false, false, 0.0f, 0xFFFFFFFF);
  for (auto& v : stretched) v.u = v.u * 16.0f / 20.0f;  // 16 texels over 20 pixels
  for (const auto* quad : {&past, &shortOf, &stretched}) {
    const int64_t before = DirectRoadPixels();
    ASSERT_TRUE(DrawThreeWays(kLayoutX8R8G8B8, 30, 14, 8, config, *quad));
    EXPECT_EQ(DirectRoadPixels(), before);
  }
}

// Targets and textures whose buffers end with their last pixel (no padding,
// no border): pictures ending at the right or bottom edge of either, and
// runs shorter than a vector, must neither read nor write past them (the
// sanitizer build catches a stray access) and still agree bit for bit.
TEST(D3DDirectRoad, PicturesAtTheEdgesOfTightBuffersStayInside) {
  constexpr int kTw = 11, kTh = 4, kCw = 13, kCh = 5;
  std::mt19937 rng(31);
  for (int c = 0; c < 64; ++c) {
    SCOPED_TRACE(c);
    const PixelLayout& layout = c % 2 ? kLayoutA1R5G5B5 : kLayoutA8R8G8B8;
    const int bytes = layout.bitCount / 8;
    std::vector<uint8_t> texels(static_cast<size_t>(kTw * kTh * bytes));
    for (auto& b : texels) b = static_cast<uint8_t>(rng());
    Texture texture = {};
    texture.view = {texels.data(), kTw * bytes, kTw, kTh, layout};
    const int w = 1 + static_cast<int>(Pick(rng, kTw)), h = 1 + static_cast<int>(Pick(rng, kTh));
    // At the texture's right and bottom edges, and at the target's.
    const int ox = kTw - w, oy = kTh - h;
    const int px = c % 4 < 2 ? kCw - w : static_cast<int>(Pick(rng, kCw - w + 1));
    const int py = c % 8 < 4 ? kCh - h : 0;
    d3dref::Config config = RandomConfig(rng, &texture);
    config.color = d3dref::kColorTextureTimesDiffuse;
    const auto quad = Quad(px, py, w, h, ox, oy, kTw, kTh, c % 3 == 0, c % 5 == 0, 0.0f, static_cast<uint32_t>(rng()));
    const PixelLayout& target = c % 3 ? kLayoutR5G6B5 : kLayoutX8R8G8B8;
    const int pitch = kCw * (target.bitCount / 8);
    std::vector<uint8_t> perPixel(static_cast<size_t>(pitch * kCh));
    for (auto& b : perPixel) b = static_cast<uint8_t>(rng());
    std::vector<uint8_t> spans(perPixel);
    Device a, b;
    a.UseSpanRoad(false);
    const int64_t before = DirectRoadPixels();
    for (Device* d : {&a, &b}) {
      const SurfaceView view = {d == &a ? perPixel.data() : spans.data(), pitch, kCw, kCh, target};
      ASSERT_EQ(d->SetRenderTarget(view), kOk);
      Configure(*d, config);
      d->BeginScene();
      ASSERT_EQ(DrawList(*d, quad), kOk);
      d->EndScene();
    }
    ASSERT_EQ(spans, perPixel);
    if (!config.alphaTest) {
      EXPECT_GT(DirectRoadPixels(), before);
    }
  }
}

// Quads as the device receives them from different callers: either
// diagonal, either winding, lists and strips, culled or not, the halves with
// the same or different flat colours, overlapping halves, part outside the
// viewport. Drawn as one rectangle or triangle by triangle, the bits and
// counts must be those of the per-pixel road.
TEST(D3DDirectRoad, TrianglePairsDrawnAsRectanglesAgreeWithThePerPixelRoad) {
  std::mt19937 rng(2468);
  int64_t pairs = 0;
  for (int c = 0; c < 400; ++c) {
    SCOPED_TRACE(c);
    const int w = 1 + static_cast<int>(Pick(rng, 30)), h = 1 + static_cast<int>(Pick(rng, 10));
    OwnedTexture texture(kLayouts[Pick(rng, kLayoutCount)], w + 3, h + 2, rng(), Pick(rng, 2) != 0);
    d3dref::Config config = RandomConfig(rng, &texture.texture);
    const auto q = Quad(static_cast<int>(Pick(rng, 50)) - 8, static_cast<int>(Pick(rng, 20)) - 4, w, h, 1, 2, w + 3,
                        h + 2, Pick(rng, 2) != 0, Pick(rng, 2) != 0, 0.0f, 0xFFFFFFFF);
    // The corners, each with its own colour when asked.
    d3dref::Vtx corner[4] = {q[0], q[1], q[2], q[4]};  // top left, top right, bottom left, bottom right
    const bool colours = Pick(rng, 3) == 0;
    for (auto& v : corner) v.diffuse = colours ? static_cast<uint32_t>(rng()) : 0x80FFFFFF;
    std::vector<d3dref::Vtx> list;
    uint32_t type = kPtTriangleList;
    switch (Pick(rng, 5)) {
      case 0: list = {corner[0], corner[1], corner[2], corner[1], corner[3], corner[2]}; break;
      case 1: list = {corner[0], corner[1], corner[3], corner[0], corner[3], corner[2]}; break;  // other diagonal
      case 2: list = {corner[0], corner[2], corner[1], corner[1], corner[2], corner[3]}; break;  // other winding
      case 3: list = {corner[0], corner[1], corner[2], corner[0], corner[1], corner[3]}; break;  // overlapping halves
      default: list = {corner[0], corner[1], corner[2], corner[3]}, type = kPtTriangleStrip; break;
    }
    const uint32_t cull = Pick(rng, 3) == 0 ? (Pick(rng, 2) ? kCullCw : kCullCcw) : kCullNone;
    const bool clipped = Pick(rng, 4) == 0;
    Canvas perPixel(kLayouts[Pick(rng, kLayoutCount)], 40, 16, rng());
    Canvas spans(perPixel);
    std::vector<TexturedVertex> vb;
    for (const auto& v : list) vb.push_back(ToVertex(v));
    const RoadCounters counters = DrawOnBothRoads(
        perPixel, spans,
        [&](Device& d) {
          Configure(d, config);
          d.SetRenderState(kRsCullMode, cull);
          if (clipped) d.SetViewport({3, 2, 30, 11, 0.0f, 1.0f});
        },
        [&](Device& d) {
          EXPECT_EQ(d.DrawPrimitive(type, kFvfTextured, vb.data(), static_cast<uint32_t>(vb.size()), 0), kOk);
        });
    ASSERT_EQ(spans.memory, perPixel.memory);
    EXPECT_EQ(counters.spans.pixelsWritten, counters.perPixel.pixelsWritten);
    EXPECT_EQ(counters.perPixel.trianglePairs, 0);
    pairs += counters.spans.trianglePairs;
  }
  // Many quads are drawn as rectangles (not the overlapping halves, the
  // culled ones, those whose halves differ in colour or that complement the
  // texel): about two in five.
  EXPECT_GT(pairs, 100);
}

// Quads large enough to be split into bands of rows across threads: each
// band draws its rows of the rectangles, with the bits of the per-pixel road.
TEST(D3DDirectRoad, LargeRectanglesSplitIntoBandsAgree) {
  std::mt19937 rng(515);
  OwnedTexture texture(kLayoutA8R8G8B8, 256, 200, 12, true);
  for (int c = 0; c < 6; ++c) {
    SCOPED_TRACE(c);
    d3dref::Config config = RandomConfig(rng, &texture.texture);
    config.color = d3dref::kColorTextureTimesDiffuse;
    std::vector<d3dref::Vtx> list;
    for (int q = 0; q < 3; ++q) {
      const auto quad = Quad(static_cast<int>(Pick(rng, 120)) - 30, static_cast<int>(Pick(rng, 80)) - 20, 240, 180,
                             static_cast<int>(Pick(rng, 16)), static_cast<int>(Pick(rng, 20)), 256, 200, q == 1, c % 2 == 1,
                             0.0f, 0xC0FFFFFF);
      list.insert(list.end(), quad.begin(), quad.end());
    }
    Canvas perPixel(kLayouts[c % kLayoutCount], 333, 211, rng());
    Canvas spans(perPixel);
    const RoadCounters counters = DrawOnBothRoads(
        perPixel, spans, [&](Device& d) { Configure(d, config); }, [&](Device& d) { EXPECT_EQ(DrawList(d, list), kOk); });
    ASSERT_EQ(spans.memory, perPixel.memory);
    EXPECT_EQ(counters.spans.pixelsWritten, counters.perPixel.pixelsWritten);
    EXPECT_EQ(counters.spans.trianglePairs, 3);
  }
}

}  // namespace
