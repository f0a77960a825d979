#include "reference_raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "framework/graphics/images/convert_internal.h"
#include "framework/graphics/images/pixel_format.h"

namespace d3dref {
namespace {

using namespace plat::d3d;

struct Color {
  int c[4];  // r, g, b, a
};

qor::PixelFormatInfo FormatOf(const PixelLayout& layout) {
  qor::PixelFormatInfo f = {};
  qor::MakeFormatFromMasks(&f, layout.bitCount, layout.masks[0], layout.masks[1], layout.masks[2], layout.masks[3]);
  return f;
}

uint32_t ReadRaw(const SurfaceView& s, int x, int y) {
  const uint8_t* p = s.bits + y * s.pitch + x * (s.layout.bitCount / 8);
  uint32_t v = 0;
  std::memcpy(&v, p, s.layout.bitCount / 8);
  return v;
}

Color Widen(const qor::PixelFormatInfo& f, uint32_t raw) {
  Color c;
  for (int i = 0; i < 4; ++i) {
    c.c[i] = f.widths[i] == 0 ? (i == 3 ? 255 : 0)
                              : static_cast<int>(qor::WidenOrNarrowChannel((raw & f.masks[i]) >> f.shifts[i], f.widths[i], 8));
  }
  return c;
}

int Round255(double v) { return static_cast<int>(std::floor(v / 255.0 + 0.5)); }

int Address(int64_t i, int size, bool wrap) {
  if (wrap) return static_cast<int>(((i % size) + size) % size);
  return static_cast<int>(std::clamp<int64_t>(i, 0, size - 1));
}

// false: keyed out.
bool Texel(const Config& cfg, int64_t x, int64_t y, Color* out) {
  const SurfaceView& t = cfg.texture->view;
  uint32_t raw = ReadRaw(t, Address(x, t.width, cfg.wrap), Address(y, t.height, cfg.wrap));
  if (cfg.colorKey && cfg.texture->hasColorKey && raw == cfg.texture->colorKey) return false;
  *out = Widen(FormatOf(t.layout), raw);
  return true;
}

bool Sample(const Config& cfg, double u, double v, Color* out) {
  const SurfaceView& t = cfg.texture->view;
  if (!cfg.linear) return Texel(cfg, static_cast<int64_t>(std::floor(u * t.width)), static_cast<int64_t>(std::floor(v * t.height)), out);
  double fx = u * t.width - 0.5;
  double fy = v * t.height - 0.5;
  int64_t x0 = static_cast<int64_t>(std::floor(fx));
  int64_t y0 = static_cast<int64_t>(std::floor(fy));
  int wx = static_cast<int>((fx - std::floor(fx)) * 256.0);
  int wy = static_cast<int>((fy - std::floor(fy)) * 256.0);
  double sum[4] = {0, 0, 0, 0};
  int found = 0;
  for (int dy = 0; dy < 2; ++dy) {
    for (int dx = 0; dx < 2; ++dx) {
      Color c = {{0, 0, 0, 0}};
      if (Texel(cfg, x0 + dx, y0 + dy, &c)) ++found;
      double w = (dx ? wx : 256 - wx) * (dy ? wy : 256 - wy);
      for (int i = 0; i < 4; ++i) sum[i] += c.c[i] * w;
    }
  }
  for (int i = 0; i < 4; ++i) out->c[i] = static_cast<int>(std::floor(sum[i] / 65536.0 + 0.5));
  return found > 0;
}

bool Compare(uint32_t func, int a, int ref) {
  switch (func) {
    case kCmpGreater: return a > ref;
    case kCmpGreaterEqual: return a >= ref;
    default: return true;
  }
}

int Factor(uint32_t f, int i, const Color& s, const Color& d) {
  switch (f) {
    case kBlendZero: return 0;
    case kBlendOne: return 255;
    case kBlendSrcColor: return s.c[i];
    case kBlendSrcAlpha: return s.c[3];
    case kBlendInvSrcAlpha: return 255 - s.c[3];
    case kBlendInvDestColor: return 255 - d.c[i];
    default: return -1;  // not used by these tests
  }
}

double Snap(float v) { return std::floor(static_cast<double>(v) * 256.0 + 0.5) / 256.0; }

}  // namespace

void DrawTriangle(const SurfaceView& target, const Vtx tri[3], const Config& cfg) {
  const Vtx* v[3] = {&tri[0], &tri[1], &tri[2]};
  double X[3], Y[3];
  for (int i = 0; i < 3; ++i) {
    X[i] = Snap(v[i]->x);
    Y[i] = Snap(v[i]->y);
  }
  double area = (X[1] - X[0]) * (Y[2] - Y[0]) - (Y[1] - Y[0]) * (X[2] - X[0]);
  if (area == 0) return;
  if (area < 0) {
    std::swap(v[1], v[2]);
    std::swap(X[1], X[2]);
    std::swap(Y[1], Y[2]);
    area = -area;
  }
  const Color diffuse = {{static_cast<int>((tri[0].diffuse >> 16) & 255), static_cast<int>((tri[0].diffuse >> 8) & 255),
                          static_cast<int>(tri[0].diffuse & 255), static_cast<int>(tri[0].diffuse >> 24)}};
  const qor::PixelFormatInfo tf = FormatOf(target.layout);
  for (int py = 0; py < target.height; ++py) {
    for (int px = 0; px < target.width; ++px) {
      double e[3];
      bool inside = true;
      for (int k = 0; k < 3; ++k) {
        int p = (k + 1) % 3, q = (k + 2) % 3;
        double dx = X[q] - X[p], dy = Y[q] - Y[p];
        e[k] = dx * (py - Y[p]) - dy * (px - X[p]);
        bool topLeft = (dy == 0 && dx > 0) || dy < 0;
        if (!(e[k] > 0 || (e[k] == 0 && topLeft))) inside = false;
      }
      if (!inside) continue;

      Color t = {{255, 255, 255, 255}};
      if (cfg.texture != nullptr) {
        double u = (e[0] * v[0]->u + e[1] * v[1]->u + e[2] * v[2]->u) / area;
        double w = (e[0] * v[0]->v + e[1] * v[1]->v + e[2] * v[2]->v) / area;
        if (!Sample(cfg, u, w, &t)) continue;
      }
      Color s;
      for (int i = 0; i < 3; ++i) {
        switch (cfg.color) {
          case kColorTexture: s.c[i] = t.c[i]; break;
          case kColorTextureTimesDiffuse: s.c[i] = Round255(t.c[i] * diffuse.c[i]); break;
          case kColorDiffuse: s.c[i] = diffuse.c[i]; break;
          case kColorInvTextureTimesDiffuse: s.c[i] = Round255((255 - t.c[i]) * diffuse.c[i]); break;
        }
      }
      s.c[3] = cfg.alpha == kAlphaTexture ? t.c[3]
               : cfg.alpha == kAlphaDiffuse ? diffuse.c[3]
                                            : Round255(t.c[3] * diffuse.c[3]);
      if (cfg.fadeToFactor) {
        for (int i = 0; i < 3; ++i) {
          int f = (cfg.factor >> (16 - 8 * i)) & 255;
          s.c[i] = Round255(s.c[i] * s.c[3] + f * (255 - s.c[3]));
        }
      }
      if (cfg.alphaTest && !Compare(cfg.alphaFunc, s.c[3], cfg.alphaRef)) continue;
      uint8_t* dst = target.bits + py * target.pitch + px * (target.layout.bitCount / 8);
      if (cfg.blend) {
        uint32_t raw = 0;
        std::memcpy(&raw, dst, target.layout.bitCount / 8);
        Color d = Widen(tf, raw);
        for (int i = 0; i < 4; ++i) {
          int out = Round255(s.c[i] * Factor(cfg.src, i, s, d)) + Round255(d.c[i] * Factor(cfg.dst, i, s, d));
          s.c[i] = std::min(out, 255);
        }
      }
      uint32_t packed = qor::PackColorForFormat(&tf, s.c[0], s.c[1], s.c[2], s.c[3]);
      std::memcpy(dst, &packed, target.layout.bitCount / 8);
    }
  }
}

}  // namespace d3dref
