#include "framework/softrender/xform_triangle_setup.h"

#include <utility>

namespace qor {

namespace {

// Exchange sort of three vertex indices by key; equal keys keep their order
// of the vertex list, which decides the reference vertex on ties.
void SortByKey(int order[3], const int64_t key[3]) {
  for (int i = 0; i < 2; ++i) {
    for (int j = i + 1; j < 3; ++j) {
      if (key[order[i]] > key[order[j]]) std::swap(order[i], order[j]);
    }
  }
}

// One gradient: numerator x 2^18 / D, truncated toward zero.
int64_t Gradient(int64_t numerator, int64_t d) {
  return TruncSaturate(static_cast<double>(numerator) * static_cast<double>(kFixedOne) / static_cast<double>(d),
                       kFixedStepLimit);
}

TriangleSegment Segment(int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
  TriangleSegment s;
  s.x = x0;
  s.y = y0;
  s.rows = static_cast<int32_t>((y1 - y0) >> kFixedShift);
  s.step = s.rows > 0 ? (x1 - x0) / s.rows : 0;
  return s;
}

}  // namespace

int PrepareTriangle(const int32_t* vertices, TriangleSetup* t) {
  *t = {};
  int64_t X[3], Y[3], U[3], V[3];
  for (int k = 0; k < 3; ++k) {
    const int32_t* p = vertices + 4 * k;
    for (int i = 0; i < 4; ++i) {
      if (!PixelFitsFixed(p[i])) return -1;
    }
    // Destination positions sit at pixel centres; source positions at
    // pixel corners.
    X[k] = PixelToFixed(p[0]) + kFixedHalf;
    Y[k] = PixelToFixed(p[1]) + kFixedHalf;
    U[k] = PixelToFixed(p[2]);
    V[k] = PixelToFixed(p[3]);
  }
  int a[3] = {0, 1, 2};
  int b[3] = {0, 1, 2};
  SortByKey(a, X);
  SortByKey(b, Y);

  // The mapping, from the leftmost vertex. Whole-pixel differences are exact
  // since every position carries the same offset.
  auto whole = [&](const int64_t* q, int i) { return (q[a[i]] - q[a[0]]) >> kFixedShift; };
  int64_t xd1 = whole(X, 1), xd2 = whole(X, 2);
  int64_t yd1 = whole(Y, 1), yd2 = whole(Y, 2);
  int64_t ud1 = whole(U, 1), ud2 = whole(U, 2);
  int64_t vd1 = whole(V, 1), vd2 = whole(V, 2);
  int64_t d = yd1 * xd2 - yd2 * xd1;
  if (d == 0) return -1;
  t->ux = Gradient(yd1 * ud2 - yd2 * ud1, d);
  t->uy = Gradient(xd2 * ud1 - xd1 * ud2, d);
  t->vx = Gradient(yd1 * vd2 - yd2 * vd1, d);
  t->vy = Gradient(xd2 * vd1 - xd1 * vd2, d);
  t->x0 = static_cast<int32_t>(FixedToPixel(X[a[0]]));
  t->y0 = static_cast<int32_t>(FixedToPixel(Y[a[0]]));
  t->u0 = U[a[0]];
  t->v0 = V[a[0]];

  // The edges, from the topmost vertex.
  int b0 = b[0], b1 = b[1], b2 = b[2];
  if (Y[b0] == Y[b1]) {
    int l = X[b0] > X[b1] ? b1 : b0;
    int r = l == b0 ? b1 : b0;
    t->left = {{Segment(X[l], Y[l], X[b2], Y[b2])}, 1};
    t->right = {{Segment(X[r], Y[r], X[b2], Y[b2])}, 1};
  } else if (Y[b1] == Y[b2]) {
    int l = X[b1] > X[b2] ? b2 : b1;
    int r = l == b1 ? b2 : b1;
    t->left = {{Segment(X[b0], Y[b0], X[l], Y[l])}, 1};
    t->right = {{Segment(X[b0], Y[b0], X[r], Y[r])}, 1};
  } else {
    // Which side the middle vertex lies on, by comparing the slopes of the
    // two edges leaving the top vertex; exact in whole pixels.
    int64_t rows1 = (Y[b1] - Y[b0]) >> kFixedShift;
    int64_t rows2 = (Y[b2] - Y[b0]) >> kFixedShift;
    int64_t dx1 = (X[b1] - X[b0]) >> kFixedShift;
    int64_t dx2 = (X[b2] - X[b0]) >> kFixedShift;
    TriangleSegment longEdge = Segment(X[b0], Y[b0], X[b2], Y[b2]);
    if (dx2 * rows1 > dx1 * rows2) {
      t->left = {{Segment(X[b0], Y[b0], X[b1], Y[b1]), Segment(X[b1], Y[b1], X[b2], Y[b2])}, 2};
      t->right = {{longEdge}, 1};
    } else {
      // The right edge's lower segment starts one fixed unit right of the
      // middle vertex.
      t->left = {{longEdge}, 1};
      t->right = {{Segment(X[b0], Y[b0], X[b1], Y[b1]), Segment(X[b1] + 1, Y[b1], X[b2], Y[b2])}, 2};
    }
  }
  for (const TriangleEdge* e : {&t->left, &t->right}) {
    for (int i = 0; i < e->count; ++i) {
      if (e->segment[i].rows <= 0) return -1;
    }
  }
  return 0;
}

}  // namespace qor
