// Triangle draw geometry: the edge walk and the source mapping against the
// closed-form reference, clipping, vertex order, and rounding of negative
// positions.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <random>
#include <set>
#include <utility>

#include "framework/softrender/blend_tables.h"
#include "framework/softrender/xform_draw.h"
#include "xform_test_util.h"

namespace qor {
namespace {

using xform_test::Canvas;
using xform_test::RefPixel;
using xform_test::ReferenceTriangle;
using xform_test::Source;
using xform_test::TriangleCoverage;

SoftDrawSettings Settings(Rect area) { return {area, 0, 255, 0xFFFFFF}; }

// Blend mode 0 with a white tint and a plain source: a copy of the cell.
void CopyTriangle(Canvas& canvas, const Source* source, const int32_t* vertices, const SoftDrawSettings& settings) {
  DrawMemImgTriangle(&canvas.view, source ? &source->image : nullptr, vertices, 0, nullptr, 0, &settings);
}

// What the reference says the canvas holds after a copy draw.
void ExpectReference(const Canvas& canvas, const std::vector<uint32_t>& before, const Source& source,
                     const int32_t* vertices, const Rect& area, const char* what) {
  std::vector<uint32_t> expected = before;
  int w = canvas.view.width;
  int32_t a[4] = {area.left, area.top, area.right, area.bottom};
  int64_t wf = int64_t{source.image.width} << 18, hf = int64_t{source.image.height} << 18;
  for (const RefPixel& p : ReferenceTriangle(vertices, a)) {
    if (p.u < 0 || p.u >= wf || p.v < 0 || p.v >= hf) continue;
    expected[p.y * w + p.x] = source.Get(static_cast<int>(p.u >> 18), static_cast<int>(p.v >> 18));
  }
  std::vector<uint32_t> got = canvas.Pixels();
  for (size_t i = 0; i < got.size(); ++i) {
    ASSERT_EQ(got[i], expected[i]) << what << " at (" << i % w << ", " << i / w << ")";
  }
}

class XformTriangleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetMemImageFormats();
    BuildBlendTables();
  }
};

// Every triangle with vertices on a 5 x 5 grid (some outside the image),
// with source positions that run partly off the source, in both depths.
TEST_F(XformTriangleTest, GridAgainstReference) {
  const int coords[5] = {-3, 0, 4, 9, 15};
  std::vector<std::array<int32_t, 2>> grid;
  for (int y : coords)
    for (int x : coords) grid.push_back({x, y});
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> uv(0, 12);
  const Rect areas[2] = {{0, 0, 14, 14}, {2, 1, 11, 12}};
  for (int kind = 0; kind < 2; ++kind) {
    Canvas canvas;
    canvas.Create(kind, 14, 14);
    Source source;
    source.Create(kind, 9, 8);
    std::vector<uint32_t> before = canvas.Pixels();
    int drawn = 0;
    for (size_t i = 0; i < grid.size(); ++i) {
      for (size_t j = i + 1; j < grid.size(); ++j) {
        for (size_t k = j + 1; k < grid.size(); ++k) {
          if (kind == 0 && (i + j + k) % 5 != 0) continue;  // a sample is enough for the 16-bit walk
          int32_t v[12] = {grid[i][0], grid[i][1], uv(rng), uv(rng), grid[j][0], grid[j][1], uv(rng), uv(rng),
                           grid[k][0], grid[k][1], uv(rng), uv(rng)};
          const Rect& area = areas[(i + j + k) % 2];
          CopyTriangle(canvas, &source, v, Settings(area));
          ExpectReference(canvas, before, source, v, area, "grid");
          if (HasFatalFailure()) {
            ADD_FAILURE() << v[0] << "," << v[1] << " " << v[4] << "," << v[5] << " " << v[8] << "," << v[9];
            return;
          }
          drawn += canvas.Pixels() != before;
          canvas.Restore(before);
        }
      }
    }
    EXPECT_GT(drawn, 100);
    EXPECT_TRUE(canvas.CanaryIntact());
  }
}

// Clipping one side of the area equals the unclipped draw restricted to the
// smaller area.
TEST_F(XformTriangleTest, ClippedSideEqualsRestrictedDraw) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> pos(-6, 26), uv(0, 15);
  Canvas canvas;
  canvas.Create(1, 20, 20);
  Source source;
  source.Create(1, 16, 16);
  std::vector<uint32_t> before = canvas.Pixels();
  const Rect full = {0, 0, 20, 20};
  const Rect sides[4] = {{7, 0, 20, 20}, {0, 6, 20, 20}, {0, 0, 9, 20}, {0, 0, 20, 11}};
  for (int n = 0; n < 300; ++n) {
    int32_t v[12];
    for (int k = 0; k < 3; ++k) {
      v[4 * k] = pos(rng);
      v[4 * k + 1] = pos(rng);
      v[4 * k + 2] = uv(rng);
      v[4 * k + 3] = uv(rng);
    }
    CopyTriangle(canvas, &source, v, Settings(full));
    std::vector<uint32_t> whole = canvas.Pixels();
    canvas.Restore(before);
    for (const Rect& side : sides) {
      CopyTriangle(canvas, &source, v, Settings(side));
      std::vector<uint32_t> got = canvas.Pixels();
      for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
          bool in = x >= side.left && x < side.right && y >= side.top && y < side.bottom;
          ASSERT_EQ(got[y * 20 + x], in ? whole[y * 20 + x] : before[y * 20 + x]) << n << " at " << x << "," << y;
        }
      }
      canvas.Restore(before);
    }
  }
  EXPECT_TRUE(canvas.CanaryIntact());
}

// All six orders of the same three vertices (both windings) cover the same
// pixels.
TEST_F(XformTriangleTest, VertexOrderDoesNotChangeCoverage) {
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> pos(-10, 40);
  const Rect area = {0, 0, 32, 32};
  for (int n = 0; n < 400; ++n) {
    std::array<std::array<int32_t, 4>, 3> p;
    for (auto& q : p) q = {pos(rng), pos(rng), 0, 0};
    if (n % 4 == 0) p[1][1] = p[0][1];  // flat top or bottom
    int perm[3] = {0, 1, 2};
    std::set<std::pair<int, int>> first;
    bool have = false;
    do {
      int32_t v[12];
      for (int k = 0; k < 3; ++k) std::memcpy(v + 4 * k, p[perm[k]].data(), 16);
      std::set<std::pair<int, int>> c = TriangleCoverage(v, area);
      if (!have) {
        first = c;
        have = true;
      }
      ASSERT_EQ(c, first) << "draw " << n;
    } while (std::next_permutation(perm, perm + 3));
  }
}

// Negative positions round down: a triangle moved by whole pixels covers
// the moved pixels, also where it crosses the top or left of the image.
TEST_F(XformTriangleTest, TranslationKeepsShapeAcrossZero) {
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> pos(0, 12);
  const Rect area = {-100, -100, 100, 100};
  for (int n = 0; n < 200; ++n) {
    int32_t v[12] = {pos(rng), pos(rng), 0, 0, pos(rng), pos(rng), 0, 0, pos(rng), pos(rng), 0, 0};
    std::set<std::pair<int, int>> base = TriangleCoverage(v, area);
    int32_t moved[12];
    std::memcpy(moved, v, sizeof v);
    for (int k = 0; k < 3; ++k) {
      moved[4 * k] -= 7;
      moved[4 * k + 1] -= 9;
    }
    std::set<std::pair<int, int>> shifted;
    for (auto [x, y] : base) shifted.insert({x - 7, y - 9});
    ASSERT_EQ(TriangleCoverage(moved, area), shifted) << "draw " << n;
  }
}

TEST_F(XformTriangleTest, DegenerateTrianglesDrawNothing) {
  Canvas canvas;
  canvas.Create(1, 16, 16);
  Source source;
  source.Create(1, 16, 16);
  const int32_t cases[][12] = {
      {1, 1, 0, 0, 5, 5, 4, 4, 9, 9, 8, 8},    // collinear
      {1, 3, 0, 0, 6, 3, 5, 0, 12, 3, 9, 0},   // one row
      {4, 2, 0, 0, 4, 2, 3, 3, 4, 2, 1, 5},    // one point
      {2, 0, 0, 0, 2, 9, 0, 9, 2, 14, 0, 14},  // one column
  };
  for (const auto& v : cases) {
    TriangleSetup t;
    EXPECT_EQ(PrepareTriangle(v, &t), -1);
    CopyTriangle(canvas, &source, v, Settings({0, 0, 16, 16}));
  }
  for (uint32_t p : canvas.Pixels()) ASSERT_EQ(p, 0u);
}

}  // namespace
}  // namespace qor
