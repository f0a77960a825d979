#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "framework/graphics/graphs/matrix.h"
#include "framework/graphics/graphs/rect.h"
#include "framework/graphics/screen/screen_size.h"

namespace qor {
namespace {

Matrix4 Filled(float v) {
  Matrix4 m;
  for (auto& row : m.m)
    for (float& e : row) e = v;
  return m;
}

bool SameBits(const Matrix4& a, const Matrix4& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

Vector3 Transform(const Matrix4& m, Vector3 p) {
  float in[4] = {p.x, p.y, p.z, 1};
  float out[4] = {};
  for (int j = 0; j < 4; ++j)
    for (int k = 0; k < 4; ++k) out[j] += in[k] * m.m[k][j];
  return {out[0], out[1], out[2]};
}

TEST(MatrixTest, MultiplyMayWriteIntoEitherInput) {
  Matrix4 a, b;
  for (int i = 0; i < 16; ++i) {
    a.m[i / 4][i % 4] = static_cast<float>(i + 1);
    b.m[i / 4][i % 4] = static_cast<float>(16 - i) * 0.5f;
  }
  Matrix4 separate;
  MultiplyMatrix(&separate, &a, &b);
  EXPECT_FLOAT_EQ(separate.m[0][0], 1 * 8 + 2 * 6 + 3 * 4 + 4 * 2);
  Matrix4 intoA = a, intoB = b;
  MultiplyMatrix(&intoA, &intoA, &b);
  MultiplyMatrix(&intoB, &a, &intoB);
  EXPECT_TRUE(SameBits(intoA, separate));
  EXPECT_TRUE(SameBits(intoB, separate));
  EXPECT_EQ(MultiplyMatrix(nullptr, &a, &b), 0);
}

TEST(MatrixTest, PerspectiveRefusesDegenerateInputWithoutWriting) {
  ResetScreenSizeState();
  Matrix4 m = Filled(7.0f);
  const Matrix4 untouched = m;
  EXPECT_EQ(MakePerspectiveMatrix(&m, 0.0f, 1.0f, 100.0f, 1.0f), -1);
  EXPECT_EQ(MakePerspectiveMatrix(&m, 1.0f, 5.0f, 5.0f, 1.0f), -1);
  EXPECT_EQ(MakePerspectiveMatrix(&m, NAN, 1.0f, 100.0f, 1.0f), -1);
  EXPECT_EQ(MakePerspectiveMatrix(&m, 1.0f, 1.0f, NAN, 1.0f), -1);
  EXPECT_TRUE(SameBits(m, untouched));

  ASSERT_EQ(MakePerspectiveMatrix(&m, static_cast<float>(M_PI / 2), 1.0f, 101.0f, -1.0f), 0);
  EXPECT_NEAR(m.m[1][1], 1.0f, 1e-6);
  EXPECT_FLOAT_EQ(m.m[0][0], 0.75f * m.m[1][1]);
  EXPECT_FLOAT_EQ(m.m[2][2], 101.0f / 100.0f);
  EXPECT_FLOAT_EQ(m.m[3][2], -101.0f / 100.0f);
  EXPECT_EQ(m.m[2][3], 1.0f);
  EXPECT_EQ(m.m[3][3], 0.0f);
  // The near plane maps to depth 0 and the far plane to depth 1.
  Vector3 nearPoint = Transform(m, {0, 0, 1});
  EXPECT_NEAR(nearPoint.z, 0.0f, 1e-6);
}

TEST(MatrixTest, LookAtMovesTheEyeToTheOriginFacingAlongZ) {
  Vector3 eye = {3, 4, -5}, target = {1, 1, 2}, up = {0, 1, 0};
  Matrix4 m;
  ASSERT_EQ(MakeLookAtMatrix(&m, &eye, &target, &up), 0);
  Vector3 e = Transform(m, eye);
  EXPECT_NEAR(e.x, 0, 1e-5);
  EXPECT_NEAR(e.y, 0, 1e-5);
  EXPECT_NEAR(e.z, 0, 1e-5);
  Vector3 t = Transform(m, target);
  float distance = std::sqrt(4.0f + 9.0f + 49.0f);
  EXPECT_NEAR(t.x, 0, 1e-5);
  EXPECT_NEAR(t.y, 0, 1e-5);
  EXPECT_NEAR(t.z, distance, 1e-4);
  for (int c = 0; c < 3; ++c) {
    Vector3 axis = {m.m[0][c], m.m[1][c], m.m[2][c]};
    EXPECT_NEAR(DotProduct3(&axis, &axis), 1.0f, 1e-5);
  }
  Vector3 above = Transform(m, {eye.x, eye.y + 1, eye.z});
  EXPECT_GT(above.y, 0.0f);  // up stays up
}

TEST(MatrixTest, LookAtRefusesUpAlongTheViewAndAZeroView) {
  Matrix4 m = Filled(3.0f);
  const Matrix4 untouched = m;
  Vector3 eye = {0, 0, 0}, target = {0, 5, 0}, up = {0, 1, 0}, down = {0, -2, 0};
  EXPECT_EQ(MakeLookAtMatrix(&m, &eye, &target, &up), -1);
  EXPECT_EQ(MakeLookAtMatrix(&m, &eye, &target, &down), -1);
  EXPECT_EQ(MakeLookAtMatrix(&m, &eye, &eye, &up), -1);
  EXPECT_TRUE(SameBits(m, untouched));
}

TEST(RectTest, ClipNormalizeAndSize) {
  const Rect clip = {0, 0, 100, 100};
  struct Case {
    Rect in, out;
  } cases[] = {
      {{10, 10, 5, 20}, {10, 10, 10, 20}},
      {{-50, -50, -10, -10}, {0, 0, 0, 0}},
      {{90, 90, 200, 200}, {90, 90, 100, 100}},
      {{-5, 30, 50, 20}, {0, 30, 50, 30}},
  };
  for (const Case& c : cases) {
    Rect r = c.in;
    EXPECT_EQ(ClipRect(&r, &clip), 0);
    EXPECT_EQ(std::memcmp(&r, &c.out, sizeof r), 0) << c.in.left << "," << c.in.top;
  }
  Rect r = {10, 20, 5, 2};
  NormalizeRect(&r);
  EXPECT_TRUE(r.left == 5 && r.top == 2 && r.right == 10 && r.bottom == 20);
  int32_t w = 0, h = 0;
  EXPECT_EQ(GetRectSize(&r, nullptr, nullptr), 0);
  GetRectSize(&r, &w, &h);
  EXPECT_EQ(w, 5);
  EXPECT_EQ(h, 18);
  Rect extreme = {INT32_MIN, 0, INT32_MAX, 1};
  GetRectSize(&extreme, &w, nullptr);
  EXPECT_EQ(w, INT32_MAX);
}

}  // namespace
}  // namespace qor
