// The device's calls: scenes, lost device and injected failures, counters,
// indexed strips against lists, viewport, clear, depth, and hostile vertices.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "d3d_test_support.h"

namespace {

using namespace d3dtest;
using d3dref::Config;
using d3dref::Vtx;

Config FlatColour() {
  Config c;
  c.color = d3dref::kColorDiffuse;
  c.alpha = d3dref::kAlphaDiffuse;
  return c;
}

std::vector<Vtx> Quad(float x0, float y0, float x1, float y1, uint32_t colour) {
  return {{x0, y0, colour, 0, 0}, {x1, y0, colour, 1, 0}, {x0, y1, colour, 0, 1},
          {x1, y1, colour, 1, 1}, {x0, y1, colour, 0, 1}, {x1, y0, colour, 1, 0}};
}

TEST(D3DDevice, ScenesLossAndInjectedFailuresRefuseDrawsAndLeaveTheTarget) {
  Canvas canvas(kLayoutR5G6B5, 16, 16, 1);
  const Canvas before(canvas);
  Device d;
  ASSERT_EQ(d.SetRenderTarget(canvas.view), kOk);
  Configure(d, FlatColour());
  auto quad = Quad(-1, -1, 20, 20, 0xFFFFFFFF);
  EXPECT_EQ(DrawList(d, quad), kErrSceneState);
  EXPECT_EQ(d.EndScene(), kErrSceneState);
  ASSERT_EQ(d.BeginScene(), kOk);
  EXPECT_EQ(d.BeginScene(), kErrSceneState);
  d.FailNextDraws(2);
  EXPECT_EQ(DrawList(d, quad), kErrDrawFailed);
  EXPECT_EQ(DrawList(d, quad), kErrDrawFailed);
  d.SetLost(true);
  EXPECT_EQ(DrawList(d, quad), kErrDeviceLost);
  EXPECT_EQ(d.Clear(0, nullptr, kClearTarget, 0, 1.0f, 0), kErrDeviceLost);
  EXPECT_EQ(d.EndScene(), kErrDeviceLost);
  EXPECT_EQ(d.BeginScene(), kErrDeviceLost);
  EXPECT_EQ(std::memcmp(canvas.memory.data(), before.memory.data(), canvas.memory.size()), 0);

  d.SetLost(false);
  ASSERT_EQ(d.BeginScene(), kOk);
  EXPECT_EQ(DrawList(d, quad), kOk);
  EXPECT_EQ(d.Counters().drawPrimitive, 5);
  EXPECT_EQ(d.Counters().verticesSubmitted, 6);
  EXPECT_EQ(d.Counters().trianglesSubmitted, 2);
  EXPECT_EQ(d.Counters().pixelsWritten, 16 * 16);
  EXPECT_TRUE(canvas.BorderSame(before));
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) ASSERT_EQ(canvas.Pixel(x, y), 0xFFFFu);
  }

  // Unsupported primitives and formats are refused, not guessed at.
  TexturedVertex v[3] = {};
  EXPECT_EQ(d.DrawPrimitive(kPtLineList, kFvfTextured, v, 2, 0), kErrUnsupported);
  EXPECT_EQ(d.DrawPrimitive(kPtTriangleList, 0x002 | kFvfDiffuse, v, 3, 0), kErrUnsupported);
}

// An 8 x 8 grid as one indexed strip, rows joined by repeated indices, draws
// what the same triangles draw as a plain list.
TEST(D3DDevice, IndexedStripMatchesTheListOfItsTriangles) {
  OwnedTexture tex(kLayoutA8R8G8B8, 16, 16, 3, false);
  Config c;
  c.texture = &tex.texture;
  c.color = d3dref::kColorTextureTimesDiffuse;
  c.linear = true;
  std::vector<TexturedVertex> grid;
  for (int r = 0; r < 8; ++r) {
    for (int k = 0; k < 8; ++k) {
      float t = r / 7.0f, s = k / 7.0f;
      float left = 3 + 10 * t, right = 50 - 6 * t;  // a trapezoid
      grid.push_back({left + (right - left) * s, 2 + 40 * t, 0, 1, 0xFF8040C0u ^ (r * 8 + k), s, t});
    }
  }
  std::vector<uint16_t> strip;
  for (int r = 0; r + 1 < 8; ++r) {
    if (r > 0) strip.push_back(static_cast<uint16_t>((r + 1) * 8));
    for (int k = 0; k < 8; ++k) {
      strip.push_back(static_cast<uint16_t>((r + 1) * 8 + k));
      strip.push_back(static_cast<uint16_t>(r * 8 + k));
    }
    if (r + 2 < 8) strip.push_back(static_cast<uint16_t>(r * 8 + 7));
  }
  std::vector<TexturedVertex> list;
  for (size_t i = 0; i + 2 < strip.size(); ++i) {
    uint16_t a = strip[i], b = strip[i + 1], e = strip[i + 2];
    if (i % 2) std::swap(a, b);
    for (uint16_t idx : {a, b, e}) list.push_back(grid[idx]);
  }

  Canvas one(kLayoutR5G6B5, 56, 48, 5);
  Canvas two(one);
  const Canvas before(one);
  Device d;
  for (Canvas* canvas : {&one, &two}) {
    d.Reset();
    ASSERT_EQ(d.SetRenderTarget(canvas->view), kOk);
    Configure(d, c);
    d.SetRenderState(kRsShadeMode, kShadeGouraud);
    d.BeginScene();
    if (canvas == &one) {
      ASSERT_EQ(d.DrawIndexedPrimitive(kPtTriangleStrip, kFvfTextured, grid.data(), 64, strip.data(),
                                       static_cast<uint32_t>(strip.size()), 0), kOk);
    } else {
      ASSERT_EQ(d.DrawPrimitive(kPtTriangleList, kFvfTextured, list.data(), static_cast<uint32_t>(list.size()), 0), kOk);
    }
    d.EndScene();
  }
  EXPECT_EQ(one.memory, two.memory);
  EXPECT_NE(one.memory, before.memory);
  EXPECT_TRUE(one.BorderSame(before));

  // Indexes past the vertices drop their own triangles only.
  std::vector<uint16_t> listIdx = {0, 1, 8, 9, 8, 1, 2, 3, 10, 11, 10, 3};
  Canvas three(kLayoutR5G6B5, 56, 48, 5);
  Canvas four(three);
  d.Reset();
  d.SetRenderTarget(three.view);
  Configure(d, c);
  d.BeginScene();
  std::vector<uint16_t> bad = listIdx;
  bad[7] = 64;
  bad[9] = 65535;
  ASSERT_EQ(d.DrawIndexedPrimitive(kPtTriangleList, kFvfTextured, grid.data(), 64, bad.data(), 12, 0), kOk);
  d.SetRenderTarget(four.view);
  ASSERT_EQ(d.DrawIndexedPrimitive(kPtTriangleList, kFvfTextured, grid.data(), 64, listIdx.data(), 6, 0), kOk);
  d.EndScene();
  EXPECT_EQ(three.memory, four.memory);
}

// A viewport keeps the draw inside it: the full draw cut to the rectangle.
TEST(D3DDevice, ViewportCutsTheDrawAndClearFillsItsPart) {
  OwnedTexture tex(kLayoutA4R4G4B4, 8, 8, 2, false);
  Config c;
  c.texture = &tex.texture;
  c.wrap = true;
  c.blend = true;
  c.src = kBlendSrcAlpha;
  c.dst = kBlendInvSrcAlpha;
  Canvas full(kLayoutX8R8G8B8, 40, 30, 9);
  Canvas cut(full);
  Device d;
  std::vector<Vtx> tri = {{-5, -3, ~0u, -1, -1}, {45, 4, ~0u, 3, 0}, {10, 35, ~0u, 0, 2.5f}};
  for (Canvas* canvas : {&full, &cut}) {
    d.Reset();
    d.SetRenderTarget(canvas->view);
    Configure(d, c);
    if (canvas == &cut) {
      ASSERT_EQ(d.SetViewport({7, 5, 20, 11, 0.0f, 1.0f}), kOk);
    }
    d.BeginScene();
    ASSERT_EQ(DrawList(d, tri), kOk);
    d.EndScene();
  }
  Canvas original(kLayoutX8R8G8B8, 40, 30, 9);
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 40; ++x) {
      bool inside = x >= 7 && x < 27 && y >= 5 && y < 16;
      ASSERT_EQ(cut.Pixel(x, y), inside ? full.Pixel(x, y) : original.Pixel(x, y)) << x << "," << y;
    }
  }
  EXPECT_EQ(d.SetViewport({30, 0, 11, 5, 0.0f, 1.0f}), kErrInvalidCall);

  // Clear: rectangles cut to the viewport, the colour packed by truncation.
  Canvas c16(kLayoutR5G6B5, 16, 8, 4);
  const Canvas before(c16);
  d.Reset();
  d.SetRenderTarget(c16.view);
  d.SetViewport({2, 1, 10, 6, 0.0f, 1.0f});
  ClearRect r = {-5, -5, 4, 100};
  ASSERT_EQ(d.Clear(1, &r, kClearTarget, 0xFF123456u, 1.0f, 0), kOk);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 16; ++x) {
      bool hit = x >= 2 && x < 4 && y >= 1 && y < 7;
      ASSERT_EQ(c16.Pixel(x, y), hit ? 0x11AAu : before.Pixel(x, y)) << x << "," << y;
    }
  }
}

TEST(D3DDevice, DepthKeepsTheNearerDraw) {
  Canvas canvas(kLayoutX8R8G8B8, 8, 8, 1);
  std::vector<uint16_t> zbuf(8 * 8, 0x1234);
  DepthView depth = {zbuf.data(), 16, 8, 8};
  Device d;
  d.SetRenderTarget(canvas.view);
  ASSERT_EQ(d.SetDepthBuffer(&depth), kOk);
  Configure(d, FlatColour());
  ASSERT_EQ(d.Clear(0, nullptr, kClearTarget | kClearZBuffer, 0, 1.0f, 0), kOk);
  EXPECT_EQ(zbuf[0], 65535);
  auto draw = [&](float z, uint32_t colour, float x1) {
    std::vector<TexturedVertex> v;
    for (const Vtx& q : Quad(-0.5f, -0.5f, x1, 7.5f, colour)) v.push_back({q.x, q.y, z, 1.0f, colour, 0, 0});
    ASSERT_EQ(d.DrawPrimitive(kPtTriangleList, kFvfTextured, v.data(), 6, 0), kOk);
  };
  d.BeginScene();
  draw(0.25f, 0xFF0000FF, 3.5f);  // near, left half
  draw(0.75f, 0xFFFF0000, 7.5f);  // far, everywhere
  d.EndScene();
  for (int x = 0; x < 8; ++x) {
    EXPECT_EQ(canvas.Pixel(x, 3) & 0xFFFFFF, x < 4 ? 0x0000FFu : 0xFF0000u) << x;
    EXPECT_EQ(zbuf[3 * 8 + x], x < 4 ? 16384 : 49151) << x;
  }
}

// Hostile vertices: nothing is written outside the target, non-finite
// triangles draw nothing, huge ones cover the target exactly once.
TEST(D3DDevice, HostileVerticesStayInsideTheTarget) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const float big = 3.0e38f;
  Canvas canvas(kLayoutX8R8G8B8, 24, 20, 0);
  std::fill(canvas.memory.begin(), canvas.memory.end(), 0);
  for (size_t i = 0; i < canvas.memory.size(); ++i) canvas.memory[i] = static_cast<uint8_t>(i * 7);
  for (int y = 0; y < 20; ++y) std::memset(canvas.view.bits + y * canvas.view.pitch, 0, 24 * 4);
  const Canvas before(canvas);
  OwnedTexture tex(kLayoutR5G6B5, 8, 8, 1, false);
  Config c = FlatColour();
  c.blend = true;
  c.dst = kBlendOne;
  Device d;
  d.SetRenderTarget(canvas.view);
  Configure(d, c);
  d.BeginScene();
  const uint32_t one = 0xFF010101;
  std::vector<Vtx> dropped = {
      {nan, 1, one, 0, 0},   {20, 1, one, 0, 0},  {1, 18, one, 0, 0},   // NaN position
      {-inf, 1, one, 0, 0},  {20, 1, one, 0, 0},  {1, 18, one, 0, 0},   // infinite position
      {1, 1, one, nan, 0},   {20, 1, one, 0, 0},  {1, 18, one, 0, 0},   // NaN coordinate
      {1, 1, one, 0, 0},     {10, 10, one, 0, 0}, {19, 19, one, 0, 0},  // collinear
      {5, 5, one, 0, 0},     {5, 5, one, 0, 0},   {5, 5, one, 0, 0},    // a point
  };
  ASSERT_EQ(DrawList(d, dropped), kOk);
  EXPECT_EQ(canvas.memory, before.memory);

  // Each of these covers the whole target once.
  std::vector<Vtx> huge = {
      {-1e7f, -1e7f, one, 0, 0}, {1e7f, -1e7f, one, 0, 0}, {0, 1e7f, one, 0, 0},
      {-big, -big, one, 0, 0},   {big, 0, one, 0, 0},      {-big, big, one, 0, 0},
  };
  for (size_t i = 0; i < huge.size(); i += 3) {
    ASSERT_EQ(DrawList(d, {huge.begin() + i, huge.begin() + i + 3}), kOk);
    EXPECT_EQ(d.Counters().pixelsWritten, static_cast<int64_t>(24 * 20 * (i / 3 + 1))) << i;
  }
  // Huge texture coordinates and mirrored, off-target slivers.
  Config t = c;
  t.texture = &tex.texture;
  t.wrap = true;
  Configure(d, t);
  d.SetTextureStageState(0, kTssAddress, kAddressMirror);
  std::vector<Vtx> odd = {
      {-3, -3, one, 1e30f, -1e30f}, {30, 2, one, -3e38f, 5}, {4, 25, one, 7, 3e38f},
      {-100, 5, one, 0, 0},         {-50, 5.2f, one, 0, 0},  {-75, 40, one, 0, 0},
  };
  ASSERT_EQ(DrawList(d, odd), kOk);
  d.EndScene();
  EXPECT_TRUE(canvas.BorderSame(before));
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 24; ++x) ASSERT_NE(canvas.Pixel(x, y) & 0xFFFFFF, 0u) << x << "," << y;
  }
}

}  // namespace
