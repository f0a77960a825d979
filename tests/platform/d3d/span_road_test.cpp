// The span road against the per-pixel road: two devices, one held to the
// per-pixel road, draw the same random triangles under random states (every
// texture-stage operation, argument and modifier, two stages, every blend
// factor, alpha test function, address mode and filter, flat and Gouraud
// shading, specular, colour keys, every target layout) and must leave the
// same bits and count the same pixels.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "d3d_test_support.h"

namespace {

using namespace d3dtest;

struct Vertex {
  float x, y, z, rhw;
  uint32_t diffuse, specular;
  float u0, v0, u1, v1;
};
constexpr uint32_t kFvf = kFvfXyzRhw | kFvfDiffuse | kFvfSpecular | 0x200;

// The device's own layouts and two odd ones, so that channels of every
// width from 1 to 8 bits are widened and narrowed.
const PixelLayout kLayouts[] = {kLayoutR5G6B5,   kLayoutX1R5G5B5, kLayoutX8R8G8B8,
                                kLayoutA8R8G8B8, kLayoutA4R4G4B4, kLayoutA1R5G5B5,
                                {16, {0xE000, 0x1FC0, 0x0030, 0x000F}}, {32, {0x1, 0x6, 0xF8, 0xFF00}}};
constexpr uint32_t kLayoutCount = sizeof kLayouts / sizeof kLayouts[0];

uint32_t Pick(std::mt19937& rng, uint32_t below) { return rng() % below; }

uint32_t RandomArg(std::mt19937& rng) {
  uint32_t arg = Pick(rng, 6);  // 5 reads current, as an unknown selection does
  if (Pick(rng, 4) == 0) arg |= kTaComplement;
  if (Pick(rng, 4) == 0) arg |= kTaAlphaReplicate;
  return arg;
}

// Coordinates that often sit on whole and half pixels, sometimes far out.
float RandomCoord(std::mt19937& rng, int extent) {
  if (Pick(rng, 40) == 0) return Pick(rng, 2) ? 40000.0f : -40000.0f;
  std::uniform_real_distribution<float> d(-20.0f, static_cast<float>(extent) + 20.0f);
  const float v = d(rng);
  switch (Pick(rng, 3)) {
    case 0: return std::floor(v);
    case 1: return std::floor(v) + 0.5f;
    default: return v;
  }
}

Vertex RandomVertex(std::mt19937& rng, int w, int h) {
  std::uniform_real_distribution<float> uv(-1.5f, 2.5f);
  return {RandomCoord(rng, w), RandomCoord(rng, h), 0.0f, 1.0f, static_cast<uint32_t>(rng()),
          static_cast<uint32_t>(rng()), uv(rng), uv(rng), uv(rng), uv(rng)};
}

void Configure(Device& d, std::mt19937& rng, const Texture* const textures[2]) {
  d.SetRenderState(kRsCullMode, kCullNone);
  d.SetRenderState(kRsShadeMode, Pick(rng, 2) ? kShadeFlat : kShadeGouraud);
  d.SetRenderState(kRsSpecularEnable, Pick(rng, 3) == 0);
  d.SetRenderState(kRsColorKeyEnable, Pick(rng, 2));
  d.SetRenderState(kRsTextureFactor, static_cast<uint32_t>(rng()));
  d.SetRenderState(kRsAlphaTestEnable, Pick(rng, 2));
  d.SetRenderState(kRsAlphaFunc, 1 + Pick(rng, 8));
  d.SetRenderState(kRsAlphaRef, Pick(rng, 256));
  d.SetRenderState(kRsAlphaBlendEnable, Pick(rng, 3) != 0);
  d.SetRenderState(kRsSrcBlend, 1 + Pick(rng, 13));
  d.SetRenderState(kRsDestBlend, 1 + Pick(rng, 11));
  const uint32_t stages = 1 + Pick(rng, 3);  // one, two, or none at all
  for (uint32_t k = 0; k < 2; ++k) {
    const bool on = k < stages && stages < 3;
    d.SetTextureStageState(k, kTssColorOp, on ? 2 + Pick(rng, 15) : kTopDisable);
    d.SetTextureStageState(k, kTssColorArg1, RandomArg(rng));
    d.SetTextureStageState(k, kTssColorArg2, RandomArg(rng));
    d.SetTextureStageState(k, kTssAlphaOp, 1 + Pick(rng, 16));
    d.SetTextureStageState(k, kTssAlphaArg1, RandomArg(rng));
    d.SetTextureStageState(k, kTssAlphaArg2, RandomArg(rng));
    d.SetTextureStageState(k, kTssTexCoordIndex, Pick(rng, 2));
    d.SetTextureStageState(k, kTssAddressU, 1 + Pick(rng, 4));
    d.SetTextureStageState(k, kTssAddressV, 1 + Pick(rng, 4));
    d.SetTextureStageState(k, kTssBorderColor, static_cast<uint32_t>(rng()));
    d.SetTextureStageState(k, kTssMagFilter, 1 + Pick(rng, 2));
    d.SetTextureStageState(k, kTssMinFilter, 1 + Pick(rng, 2));
    d.SetTexture(k, Pick(rng, 5) == 0 ? nullptr : textures[k]);
  }
}

// Draws `cases` random scenes on both roads and compares them.
void CompareRoads(uint32_t seed, int cases) {
  std::mt19937 rng(seed);
  const int w = 45, h = 27;
  for (int c = 0; c < cases; ++c) {
    SCOPED_TRACE(c);
    const PixelLayout& target = kLayouts[Pick(rng, kLayoutCount)];
    OwnedTexture t0(kLayouts[Pick(rng, kLayoutCount)], 1 + static_cast<int>(Pick(rng, 16)), 1 + static_cast<int>(Pick(rng, 16)),
                    rng(), Pick(rng, 2));
    OwnedTexture t1(kLayouts[Pick(rng, kLayoutCount)], 1 + static_cast<int>(Pick(rng, 8)), 1 + static_cast<int>(Pick(rng, 8)),
                    rng(), Pick(rng, 2));
    const Texture* textures[2] = {&t0.texture, &t1.texture};
    std::vector<Vertex> tris;
    const int count = 1 + static_cast<int>(Pick(rng, 6));
    for (int i = 0; i < 3 * count; ++i) tris.push_back(RandomVertex(rng, w, h));

    Canvas perPixel(target, w, h, rng());
    Canvas spans(perPixel);
    const Canvas before(perPixel);
    const uint32_t stateSeed = rng();
    const RoadCounters counters = DrawOnBothRoads(
        perPixel, spans,
        [&](Device& d) {
          std::mt19937 same(stateSeed);
          Configure(d, same, textures);
          if (Pick(same, 4) == 0) d.SetViewport({3, 2, w - 7, h - 4, 0.0f, 1.0f});
        },
        [&](Device& d) {
          EXPECT_EQ(d.DrawPrimitive(kPtTriangleList, kFvf, tris.data(), static_cast<uint32_t>(tris.size()), 0), kOk);
        });
    ASSERT_EQ(spans.memory, perPixel.memory);
    EXPECT_EQ(counters.spans.pixelsWritten, counters.perPixel.pixelsWritten);
    EXPECT_TRUE(spans.BorderSame(before));
  }
}

TEST(D3DSpanRoad, AgreesWithThePerPixelRoadUnderRandomStates) { CompareRoads(7, 600); }

// The same over many more scenes, by hand (ctest label slow).
TEST(D3DSpanRoad, SlowAgreesWithThePerPixelRoadOverManyScenes) { CompareRoads(2026, 60000); }

// Rows longer than a chunk of the span road, a texture read 1:1 and
// stretched, on both roads.
TEST(D3DSpanRoad, LongRowsAndWholeTargetQuadsAgree) {
  std::mt19937 rng(99);
  const int w = 301, h = 40;
  OwnedTexture texture(kLayoutA8R8G8B8, 64, 16, 5, true);
  const Texture* textures[2] = {&texture.texture, &texture.texture};
  for (int c = 0; c < 40; ++c) {
    SCOPED_TRACE(c);
    Canvas perPixel(kLayouts[c % kLayoutCount], w, h, rng());
    Canvas spans(perPixel);
    const float right = c % 2 ? static_cast<float>(w) - 0.5f : 63.5f;
    const float bottom = c % 2 ? static_cast<float>(h) - 0.5f : 15.5f;
    const Vertex quad[6] = {
        {-0.5f, -0.5f, 0, 1, 0xFFFFFFFF, 0, 0, 0, 0, 0},  {right, -0.5f, 0, 1, 0x80FF00FF, 0, 1, 0, 1, 0},
        {-0.5f, bottom, 0, 1, 0x40FFFF00, 0, 0, 1, 0, 1}, {right, -0.5f, 0, 1, 0x80FF00FF, 0, 1, 0, 1, 0},
        {right, bottom, 0, 1, 0x20FF80FF, 0, 1, 1, 1, 1}, {-0.5f, bottom, 0, 1, 0x40FFFF00, 0, 0, 1, 0, 1},
    };
    const uint32_t stateSeed = rng();
    const RoadCounters counters = DrawOnBothRoads(
        perPixel, spans,
        [&](Device& d) {
          std::mt19937 same(stateSeed);
          Configure(d, same, textures);
        },
        [&](Device& d) { EXPECT_EQ(d.DrawPrimitive(kPtTriangleList, kFvf, quad, 6, 0), kOk); });
    ASSERT_EQ(spans.memory, perPixel.memory);
    EXPECT_EQ(counters.spans.pixelsWritten, counters.perPixel.pixelsWritten);
  }
}

// Draws large enough to be split into bands of rows across threads: the
// same bits and counts as the per-pixel road on one thread.
TEST(D3DSpanRoad, LargeDrawsSplitIntoBandsAgree) {
  std::mt19937 rng(404);
  const int w = 333, h = 211;
  for (int c = 0; c < 6; ++c) {
    SCOPED_TRACE(c);
    OwnedTexture t0(kLayouts[c % kLayoutCount], 32, 32, rng(), true);
    OwnedTexture t1(kLayoutA8R8G8B8, 8, 8, rng(), false);
    const Texture* textures[2] = {&t0.texture, &t1.texture};
    std::vector<Vertex> tris;
    for (int i = 0; i < 3 * 20; ++i) tris.push_back(RandomVertex(rng, w, h));
    Canvas perPixel(kLayouts[(c + 3) % kLayoutCount], w, h, rng());
    Canvas spans(perPixel);
    const uint32_t stateSeed = rng();
    const RoadCounters counters = DrawOnBothRoads(
        perPixel, spans,
        [&](Device& d) {
          std::mt19937 same(stateSeed);
          Configure(d, same, textures);
          if (c % 3 == 0) d.SetViewport({5, 7, w - 20, h - 9, 0.0f, 1.0f});
        },
        [&](Device& d) {
          EXPECT_EQ(d.DrawPrimitive(kPtTriangleList, kFvf, tris.data(), static_cast<uint32_t>(tris.size()), 0), kOk);
          EXPECT_EQ(d.DrawPrimitive(kPtTriangleStrip, kFvf, tris.data(), 20, 0), kOk);
        });
    ASSERT_EQ(spans.memory, perPixel.memory);
    EXPECT_EQ(counters.spans.pixelsWritten, counters.perPixel.pixelsWritten);
  }
}

}  // namespace
