// The device against the per-pixel reference: random triangles under every
// blend factor pair the framework sets, alpha test, colour key, both
// filters, 16- and 32-bit targets; shared edges; 1:1 quads.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "d3d_test_support.h"
#include "framework/graphics/images/convert_internal.h"

namespace {

using namespace d3dtest;
using d3dref::Config;
using d3dref::Vtx;

struct BlendPair {
  bool on;
  uint32_t src, dst;
};
// Off, and the (SRCBLEND, DESTBLEND) pairs of the framework's blend modes.
const BlendPair kPairs[] = {
    {false, kBlendOne, kBlendZero},          {true, kBlendSrcAlpha, kBlendInvSrcAlpha},
    {true, kBlendSrcAlpha, kBlendOne},       {true, kBlendInvDestColor, kBlendZero},
    {true, kBlendZero, kBlendSrcColor},      {true, kBlendZero, kBlendOne},
};
const PixelLayout kTargets[] = {kLayoutR5G6B5, kLayoutX1R5G5B5, kLayoutX8R8G8B8, kLayoutA8R8G8B8};

// Coordinates that often fall on whole and half pixels, where the fill rule
// decides.
float RandomCoord(std::mt19937& rng, int extent) {
  std::uniform_real_distribution<float> d(-12.0f, extent + 12.0f);
  float v = d(rng);
  switch (rng() % 3) {
    case 0: return std::floor(v);
    case 1: return std::floor(v) + 0.5f;
    default: return v;
  }
}

Vtx RandomVertex(std::mt19937& rng, int w, int h) {
  std::uniform_real_distribution<float> uv(-0.3f, 1.3f);
  return {RandomCoord(rng, w), RandomCoord(rng, h), static_cast<uint32_t>(rng()), uv(rng), uv(rng)};
}

TEST(D3DRasterReference, RandomTrianglesAgreeBitForBit) {
  std::mt19937 rng(1234);
  const int w = 40, h = 32;
  OwnedTexture textures[] = {
      {kLayoutA4R4G4B4, 16, 8, 1, false}, {kLayoutA8R8G8B8, 8, 16, 2, false},
      {kLayoutR5G6B5, 16, 16, 3, true},   {kLayoutA1R5G5B5, 4, 8, 4, true},
  };
  int combo = 0;
  for (const PixelLayout& layout : kTargets) {
    for (const BlendPair& pair : kPairs) {
      for (int variant = 0; variant < 4; ++variant, ++combo) {
        Config c;
        c.texture = variant == 3 && combo % 2 ? nullptr : &textures[(combo + variant) % 4].texture;
        c.linear = variant % 2 == 1;
        c.wrap = combo % 3 == 0;
        c.color = static_cast<d3dref::ColorSource>(combo % 4);
        c.alpha = static_cast<d3dref::AlphaSource>((combo / 4) % 3);
        if (c.texture == nullptr) {
          c.color = d3dref::kColorDiffuse;
          c.alpha = d3dref::kAlphaDiffuse;
        }
        c.fadeToFactor = variant == 2;
        c.factor = 0xFF000000u | (rng() & 0xFFFFFF);
        c.colorKey = true;
        c.alphaTest = variant >= 1;
        c.alphaFunc = variant == 1 ? kCmpGreaterEqual : kCmpGreater;
        c.alphaRef = variant == 1 ? static_cast<int>(rng() % 256) : 16;
        c.blend = pair.on;
        c.src = pair.src;
        c.dst = pair.dst;

        Canvas ours(layout, w, h, 100 + combo);
        Canvas reference(ours);
        const Canvas before(ours);
        Device device;
        ASSERT_EQ(device.SetRenderTarget(ours.view), kOk);
        Configure(device, c);
        ASSERT_EQ(device.BeginScene(), kOk);
        std::vector<Vtx> tris;
        for (int t = 0; t < 12; ++t) {
          Vtx tri[3] = {RandomVertex(rng, w, h), RandomVertex(rng, w, h), RandomVertex(rng, w, h)};
          d3dref::DrawTriangle(reference.view, tri, c);
          tris.insert(tris.end(), tri, tri + 3);
        }
        ASSERT_EQ(DrawList(device, tris), kOk);
        ASSERT_EQ(device.EndScene(), kOk);
        ASSERT_TRUE(ours.BorderSame(before));
        for (int y = 0; y < h; ++y) {
          for (int x = 0; x < w; ++x) {
            ASSERT_EQ(ours.Pixel(x, y), reference.Pixel(x, y))
                << "target " << layout.bitCount << "-bit masks " << std::hex << layout.masks[0] << std::dec << ", blend "
                << pair.src << "/" << pair.dst << ", variant " << variant << ", pixel " << x << "," << y;
          }
        }
      }
    }
  }
}

// The device widens channels exactly as the framework's pixel conversion.
TEST(D3DRasterReference, ChannelWideningIsTheFrameworkRule) {
  for (int width = 1; width <= 8; ++width) {
    for (uint32_t v = 0; v < (1u << width); ++v) {
      ASSERT_EQ(static_cast<uint32_t>(WidenChannel(v, width)), qor::WidenOrNarrowChannel(v, width, 8)) << width << " " << v;
    }
  }
}

// Fans of triangles around a point and quads split on either diagonal,
// drawn additively with a colour of 1: every pixel is covered at most once,
// and the union is the reference's.
TEST(D3DRasterReference, SharedEdgesCoverEachPixelOnce) {
  std::mt19937 rng(99);
  const int w = 48, h = 40;
  for (int round = 0; round < 24; ++round) {
    Canvas ours(kLayoutX8R8G8B8, w, h, 0);
    std::fill(ours.memory.begin(), ours.memory.end(), 0);
    Canvas reference(ours);
    Device device;
    ASSERT_EQ(device.SetRenderTarget(ours.view), kOk);
    Config add;
    add.color = d3dref::kColorDiffuse;
    add.alpha = d3dref::kAlphaDiffuse;
    add.blend = true;
    add.dst = kBlendOne;
    Configure(device, add);
    Config plain = add;
    plain.blend = false;

    std::vector<Vtx> tris;
    const uint32_t one = 0xFF010101;
    if (round % 2 == 0) {
      Vtx centre = {RandomCoord(rng, w), RandomCoord(rng, h), one, 0, 0};
      const int n = 3 + static_cast<int>(rng() % 6);
      std::vector<Vtx> ring;
      for (int i = 0; i < n; ++i) {
        double angle = 2 * 3.14159265358979 * (i + 0.3 * (rng() % 3)) / n;
        double r = 6 + rng() % 20;
        ring.push_back({static_cast<float>(centre.x + r * std::cos(angle)), static_cast<float>(centre.y + r * std::sin(angle)),
                        one, 0, 0});
      }
      for (int i = 0; i < n; ++i) {
        Vtx tri[3] = {centre, ring[i], ring[(i + 1) % n]};
        tris.insert(tris.end(), tri, tri + 3);
      }
    } else {
      Vtx q[4];
      for (auto& v : q) v = {RandomCoord(rng, w), RandomCoord(rng, h), one, 0, 0};
      // q[0..3] in order around a convex quad: take the first diagonal split
      // only when it is convex; the test needs non-overlapping triangles.
      std::sort(q, q + 4, [](const Vtx& a, const Vtx& b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
      Vtx tri1[3] = {q[0], q[1], q[2]};
      Vtx tri2[3] = {q[1], q[2], q[3]};
      double s1 = (q[1].x - q[0].x) * (q[2].y - q[0].y) - (q[1].y - q[0].y) * (q[2].x - q[0].x);
      double s2 = (q[1].x - q[3].x) * (q[2].y - q[3].y) - (q[1].y - q[3].y) * (q[2].x - q[3].x);
      if (s1 * s2 >= 0) continue;  // q[0] and q[3] on the same side of q[1]-q[2]: they would overlap
      tris.insert(tris.end(), tri1, tri1 + 3);
      tris.insert(tris.end(), tri2, tri2 + 3);
    }
    for (size_t i = 0; i < tris.size(); i += 3) d3dref::DrawTriangle(reference.view, &tris[i], plain);
    ASSERT_EQ(device.BeginScene(), kOk);
    ASSERT_EQ(DrawList(device, tris), kOk);
    device.EndScene();
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        ASSERT_EQ(ours.Pixel(x, y) & 0xFFFFFF, reference.Pixel(x, y) & 0xFFFFFF) << "round " << round << " pixel " << x << "," << y;
      }
    }
  }
}

// A texture drawn 1:1 at whole-pixel positions (corners half a pixel up and
// left) with the point filter lands on the target texel for texel.
TEST(D3DRasterReference, WholePixelQuadCopiesTheTexture) {
  const PixelLayout layouts[] = {kLayoutR5G6B5, kLayoutA8R8G8B8, kLayoutA4R4G4B4, kLayoutA1R5G5B5};
  for (const PixelLayout& layout : layouts) {
    OwnedTexture tex(layout, 32, 32, 7, false);
    Canvas canvas(layout, 64, 48, 8);
    Device device;
    ASSERT_EQ(device.SetRenderTarget(canvas.view), kOk);
    Config c;
    c.texture = &tex.texture;
    Configure(device, c);
    // A 20 x 24 part of the texture at (5, 7), from texel (4, 3).
    const float x0 = 5 - 0.5f, y0 = 7 - 0.5f, x1 = x0 + 20, y1 = y0 + 24;
    const float u0 = 4 / 32.0f, v0 = 3 / 32.0f, u1 = 24 / 32.0f, v1 = 27 / 32.0f;
    std::vector<Vtx> quad = {{x0, y0, ~0u, u0, v0}, {x1, y0, ~0u, u1, v0}, {x0, y1, ~0u, u0, v1},
                             {x1, y1, ~0u, u1, v1}, {x0, y1, ~0u, u0, v1}, {x1, y0, ~0u, u1, v0}};
    device.BeginScene();
    ASSERT_EQ(DrawList(device, quad), kOk);
    device.EndScene();
    EXPECT_EQ(device.Counters().pixelsWritten, 20 * 24);
    const uint32_t channelBits = layout.masks[0] | layout.masks[1] | layout.masks[2] | layout.masks[3];
    for (int y = 0; y < 24; ++y) {
      for (int x = 0; x < 20; ++x) {
        uint32_t texel = 0;
        std::memcpy(&texel, tex.memory.data() + ((y + 3) * 32 + x + 4) * (layout.bitCount / 8), layout.bitCount / 8);
        ASSERT_EQ(canvas.Pixel(5 + x, 7 + y) & channelBits, texel & channelBits) << x << "," << y;
      }
    }
  }
}

}  // namespace
