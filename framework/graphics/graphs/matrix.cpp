#include "framework/graphics/graphs/matrix.h"

#include <cmath>

#include "framework/core/math_helpers.h"
#include "framework/graphics/screen/screen_size.h"

namespace qor {

namespace {

constexpr Matrix4 kIdentity = {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};

Vector3 Cross(const Vector3& a, const Vector3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float Length(const Vector3& v) { return SqrtFloat(v.x * v.x + v.y * v.y + v.z * v.z); }

Vector3 Divide(const Vector3& v, float f) { return {v.x / f, v.y / f, v.z / f}; }

}  // namespace

int CopyIdentityMatrix(Matrix4* out) {
  *out = kIdentity;
  return 0;
}

int MultiplyMatrix(Matrix4* out, const Matrix4* a, const Matrix4* b) {
  if (out == nullptr) return 0;
  Matrix4 t;
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      float sum = 0.0f;
      for (int k = 0; k < 4; ++k) sum += a->m[i][k] * b->m[k][j];
      t.m[i][j] = sum;
    }
  }
  *out = t;
  return 0;
}

int MakePerspectiveMatrix(Matrix4* out, float fieldOfView, float nearZ, float farZ, float aspect) {
  if (aspect < 0.0f) {
    int32_t width, height;
    QueryScreenSize(&width, &height);
    aspect = static_cast<float>(height) / static_cast<float>(width);
  }
  float s, c;
  SinCosFloat(fieldOfView * 0.5f, &s, &c);
  // Written as "not at least" so that a NaN anywhere is refused as well.
  if (!(std::fabs(farZ - nearZ) >= 0.01f) || !(std::fabs(s) >= 0.01f) || std::isnan(aspect)) return -1;
  float t = c / s;
  float q = farZ / (farZ - nearZ);
  *out = {};
  out->m[0][0] = aspect * t;
  out->m[1][1] = t;
  out->m[2][2] = q;
  out->m[2][3] = 1.0f;
  out->m[3][2] = -q * nearZ;
  out->m[3][3] = 0.0f;
  return 0;
}

int MakeOrthoMatrix(Matrix4* out, float offsetX, float offsetY, float width, float height) {
  *out = {};
  out->m[0][0] = width * 0.5f;
  out->m[1][1] = height * -0.5f;
  out->m[2][2] = 1.0f;
  out->m[3][3] = 1.0f;
  out->m[3][0] = offsetX;
  out->m[3][1] = offsetY;
  out->m[3][2] = 0.0f;
  return 0;
}

float DotProduct3(const Vector3* a, const Vector3* b) { return a->z * b->z + a->y * b->y + a->x * b->x; }

int MakeLookAtMatrix(Matrix4* out, const Vector3* eye, const Vector3* target, const Vector3* up) {
  Vector3 d = {target->x - eye->x, target->y - eye->y, target->z - eye->z};
  Vector3 r = Cross(*up, d);
  Vector3 u = Cross(d, r);
  float lengthD = Length(d);
  float lengthR = Length(r);
  float lengthU = Length(u);
  // r is up x d, so its length is |up| |d| sin(angle): compare it with the
  // lengths it came from to catch an up vector (nearly) along the view.
  float limit = 1e-6f * Length(*up) * lengthD;
  if (!(lengthD > 0.0f) || !(lengthR > limit) || !(lengthU > 0.0f) || !std::isfinite(lengthU)) return -1;
  r = Divide(r, lengthR);
  u = Divide(u, lengthU);
  d = Divide(d, lengthD);
  out->m[0][0] = r.x; out->m[0][1] = u.x; out->m[0][2] = d.x; out->m[0][3] = 0.0f;
  out->m[1][0] = r.y; out->m[1][1] = u.y; out->m[1][2] = d.y; out->m[1][3] = 0.0f;
  out->m[2][0] = r.z; out->m[2][1] = u.z; out->m[2][2] = d.z; out->m[2][3] = 0.0f;
  out->m[3][0] = -DotProduct3(&r, eye);
  out->m[3][1] = -DotProduct3(&u, eye);
  out->m[3][2] = -DotProduct3(&d, eye);
  out->m[3][3] = 1.0f;
  return 0;
}

}  // namespace qor
