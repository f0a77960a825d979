// 4 x 4 float matrices for the Direct3D transforms, in row order with
// row-vector points (a point is multiplied from the left; the translation is
// the fourth row), and 3-vectors.
#pragma once

namespace qor {

struct Matrix4 {
  float m[4][4];  // m[row][column]
};

struct Vector3 {
  float x;
  float y;
  float z;
};

int CopyIdentityMatrix(Matrix4* out);

// out = a x b, computed into a temporary first so `out` may be `a` or `b`;
// nothing is written when `out` is null. 0.
int MultiplyMatrix(Matrix4* out, const Matrix4* a, const Matrix4* b);

// Perspective projection from the full vertical field of view (radians), the
// near and far planes and the aspect (height / width; a negative aspect takes
// the screen's). -1 without touching `out` when the field of view is too
// small, near and far are too close, or any input is not a number.
int MakePerspectiveMatrix(Matrix4* out, float fieldOfView, float nearZ, float farZ, float aspect);

// Maps x and y of -1..1 onto a screen area of `width` x `height` centred on
// the offsets, y pointing down. 0.
int MakeOrthoMatrix(Matrix4* out, float offsetX, float offsetY, float width, float height);

float DotProduct3(const Vector3* a, const Vector3* b);

// View matrix looking from `eye` at `target` with `up` giving the vertical.
// -1 without touching `out` when eye and target coincide or `up` is parallel
// to the view direction (no sideways axis exists).
int MakeLookAtMatrix(Matrix4* out, const Vector3* eye, const Vector3* target, const Vector3* up);

}  // namespace qor
