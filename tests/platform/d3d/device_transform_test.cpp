// The device keeps one matrix per transform type as given, refuses the
// types around them, and fails exactly the number of viewports it is told.
#include <gtest/gtest.h>

#include <vector>

#include "d3d_test_support.h"

namespace {

using namespace d3dtest;

TEST(D3DDeviceTransform, EachTypeKeepsItsMatrixAndTheTypesAroundAreRefused) {
  Device d;
  const Matrix16 identity{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
  auto kept = [&d](uint32_t type) {
    Matrix16 m{};
    return d.GetTransform(type, &m) == kOk ? std::vector<float>(m.m, m.m + 16) : std::vector<float>{};
  };
  for (uint32_t type = 0; type <= kTransformTypeEnd; ++type) {
    SCOPED_TRACE(type);
    const bool known = type >= kTransformWorld && type < kTransformTypeEnd;
    EXPECT_EQ(kept(type), known ? std::vector<float>(identity.m, identity.m + 16) : std::vector<float>{});
    Matrix16 m;
    for (int i = 0; i < 16; ++i) m.m[i] = static_cast<float>(type * 100 + i) - 0.5f;
    EXPECT_EQ(d.SetTransform(type, &m), known ? kOk : kErrInvalidCall);
    if (known) {
      EXPECT_EQ(kept(type), std::vector<float>(m.m, m.m + 16));
    }
  }
  EXPECT_EQ(d.SetTransform(kTransformView, nullptr), kErrInvalidCall);
  EXPECT_EQ(d.Counters().setTransform, kTransformTypeEnd + 2);
}

TEST(D3DDeviceTransform, InjectedViewportFailuresEndAtTheirCount) {
  Canvas canvas(kLayoutR5G6B5, 16, 16, 1);
  Device d;
  ASSERT_EQ(d.SetRenderTarget(canvas.view), kOk);
  const Viewport part{2, 3, 8, 9, 0.0f, 1.0f};
  d.FailNextViewports(2);
  EXPECT_EQ(d.SetViewport(part), kErrInvalidCall);
  EXPECT_EQ(d.SetViewport(part), kErrInvalidCall);
  Viewport got{};
  ASSERT_EQ(d.GetViewport(&got), kOk);
  EXPECT_EQ(got.width, 16);  // a refused viewport changes nothing
  EXPECT_EQ(d.SetViewport(part), kOk);
  ASSERT_EQ(d.GetViewport(&got), kOk);
  EXPECT_EQ(std::vector<int32_t>({got.x, got.y, got.width, got.height}), std::vector<int32_t>({2, 3, 8, 9}));
}

}  // namespace
