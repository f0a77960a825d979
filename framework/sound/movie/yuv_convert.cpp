#include "framework/sound/movie/yuv_convert.h"

#include <algorithm>
#include <cstring>

namespace qor {

namespace {

YuvTables g_tables{};

// The BT.601 studio-range coefficients x 16384, fraction dropped.
constexpr int32_t kRedV = 26148;
constexpr int32_t kGreenU = -6406;
constexpr int32_t kGreenV = -13320;
constexpr int32_t kBlueU = 33062;
constexpr int32_t kLuma = 19070;

const YuvTables& Tables() {
  if (!g_tables.built) InitYuvToRgbTables();
  return g_tables;
}

inline uint8_t Clamp(const YuvTables& t, int32_t sum) { return t.clamp[sum / kYuvFixedOne - kYuvClampLow]; }

void Convert420Fixed(const YuvPlanes& p, uint8_t* pixels, int32_t pitch, int32_t width, int32_t height) {
  const YuvTables& t = Tables();
  const int32_t rowPairs = std::min(p.yHeight, height) / 2;
  const int32_t columnPairs = std::min(p.yWidth, width) / 2;
  for (int32_t k = 0; k < rowPairs; ++k) {
    const uint8_t* y0 = p.y + static_cast<intptr_t>(2 * k) * p.yStride;
    const uint8_t* y1 = y0 + p.yStride;
    const uint8_t* u = p.u + static_cast<intptr_t>(k) * p.chromaStride;
    const uint8_t* v = p.v + static_cast<intptr_t>(k) * p.chromaStride;
    uint8_t* out0 = pixels + static_cast<intptr_t>(2 * k) * pitch;
    uint8_t* out1 = out0 + pitch;
    for (int32_t j = 0; j < columnPairs; ++j) {
      const int32_t red = t.redFromV[v[j]];
      const int32_t green = t.greenFromU[u[j]] + t.greenFromV[v[j]];
      const int32_t blue = t.blueFromU[u[j]];
      const uint8_t* ys[4] = {y0 + 2 * j, y0 + 2 * j + 1, y1 + 2 * j, y1 + 2 * j + 1};
      uint8_t* outs[4] = {out0 + 8 * j, out0 + 8 * j + 4, out1 + 8 * j, out1 + 8 * j + 4};
      for (int i = 0; i < 4; ++i) {
        const int32_t luma = t.luma[*ys[i]];
        outs[i][0] = Clamp(t, luma + blue);
        outs[i][1] = Clamp(t, luma + green);
        outs[i][2] = Clamp(t, luma + red);
        outs[i][3] = 255;
      }
    }
  }
}

uint8_t TruncateClamp(double value) {
  if (!(value > 0.0)) return 0;  // also NaN
  if (value >= 255.0) return 255;
  return static_cast<uint8_t>(value);
}

// Any layout: each pixel takes the chroma sample that covers it.
void ConvertFloat(const YuvPlanes& p, uint8_t* pixels, int32_t pitch, int32_t width, int32_t height) {
  const int32_t rows = std::min(p.yHeight, height);
  const int32_t columns = std::min(p.yWidth, width);
  for (int32_t r = 0; r < rows; ++r) {
    const int32_t cr = static_cast<int32_t>(static_cast<int64_t>(r) * p.chromaHeight / p.yHeight);
    const uint8_t* yRow = p.y + static_cast<intptr_t>(r) * p.yStride;
    const uint8_t* uRow = p.u + static_cast<intptr_t>(cr) * p.chromaStride;
    const uint8_t* vRow = p.v + static_cast<intptr_t>(cr) * p.chromaStride;
    uint8_t* out = pixels + static_cast<intptr_t>(r) * pitch;
    for (int32_t c = 0; c < columns; ++c) {
      const int32_t cc = static_cast<int32_t>(static_cast<int64_t>(c) * p.chromaWidth / p.yWidth);
      const double cb = uRow[cc] - 128;
      const double crv = vRow[cc] - 128;
      const float y = 1.164f * static_cast<float>(yRow[c] - 16);
      out[4 * c + 0] = TruncateClamp(static_cast<double>(2.018f) * cb + y);
      out[4 * c + 1] = TruncateClamp(y - static_cast<double>(0.391f) * cb - static_cast<double>(0.813f) * crv);
      out[4 * c + 2] = TruncateClamp(static_cast<double>(1.596f) * crv + y);
      out[4 * c + 3] = 255;
    }
  }
}

bool PlanesUsable(const YuvPlanes& p) {
  return p.y != nullptr && p.u != nullptr && p.v != nullptr && p.yWidth > 0 && p.yHeight > 0 &&
         p.chromaWidth > 0 && p.chromaHeight > 0 && p.yStride >= p.yWidth && p.chromaStride >= p.chromaWidth;
}

void CopyPlane(const uint8_t* source, int32_t sourceStride, uint8_t* target, int32_t targetPitch, int32_t bytes,
               int32_t rows) {
  for (int32_t r = 0; r < rows; ++r) {
    std::memcpy(target + static_cast<intptr_t>(r) * targetPitch, source + static_cast<intptr_t>(r) * sourceStride,
                static_cast<size_t>(bytes));
  }
}

}  // namespace

const YuvTables& GetYuvTables() { return Tables(); }

int InitYuvToRgbTables() {
  YuvTables& t = g_tables;
  for (int v = kYuvClampLow; v < kYuvClampLow + 1280; ++v) {
    t.clamp[v - kYuvClampLow] = static_cast<uint8_t>(std::clamp(v, 0, 255));
  }
  for (int i = 0; i < 256; ++i) {
    t.redFromV[i] = kRedV * (i - 128);
    t.greenFromU[i] = kGreenU * (i - 128);
    t.greenFromV[i] = kGreenV * (i - 128);
    t.blueFromU[i] = kBlueU * (i - 128);
    t.luma[i] = kLuma * (i - 16);
  }
  t.built = 1;
  return 0;
}

void ResetYuvTables() { g_tables = YuvTables{}; }

int IsYuv420(const YuvPlanes& p) {
  return p.yWidth == 2 * p.chromaWidth && p.yHeight == 2 * p.chromaHeight ? 1 : 0;
}

int ConvertYuvToRgb32(const YuvPlanes& planes, uint8_t* pixels, int32_t pitch, int32_t width, int32_t height) {
  if (!PlanesUsable(planes) || pixels == nullptr || width <= 0 || height <= 0 || pitch < 4 * width) return -1;
  if (IsYuv420(planes)) Convert420Fixed(planes, pixels, pitch, width, height);
  else ConvertFloat(planes, pixels, pitch, width, height);
  return 0;
}

int CopyYuvToSurface(const YuvPlanes& p, const YuvSurfaceBlock& block) {
  if (!PlanesUsable(p) || !IsYuv420(p) || block.bits == nullptr || block.width <= 0 || block.height <= 0) return 0;
  const int32_t rows = std::min(p.yHeight, block.height);
  const int32_t columns = std::min(p.yWidth, block.width);
  if (block.fourcc == kFourCCYV12) {
    if (block.pitch < block.width) return 0;
    // The Y plane, then V and U at half the pitch and half the rows.
    CopyPlane(p.y, p.yStride, block.bits, block.pitch, columns, rows);
    const int32_t halfPitch = block.pitch / 2;
    const int32_t chromaRows = std::min(p.chromaHeight, block.height / 2);
    const int32_t chromaBytes = std::min({p.chromaWidth, block.width / 2, halfPitch});
    uint8_t* vPlane = block.bits + static_cast<intptr_t>(block.pitch) * block.height;
    uint8_t* uPlane = vPlane + static_cast<intptr_t>(halfPitch) * (block.height / 2);
    CopyPlane(p.v, p.chromaStride, vPlane, halfPitch, chromaBytes, chromaRows);
    CopyPlane(p.u, p.chromaStride, uPlane, halfPitch, chromaBytes, chromaRows);
    return 1;
  }
  if (block.fourcc != kFourCCYUY2 && block.fourcc != kFourCCUYVY) return 0;
  if (block.pitch < 2 * block.width) return 0;
  const bool yFirst = block.fourcc == kFourCCYUY2;
  for (int32_t k = 0; k < rows / 2; ++k) {
    const uint8_t* u = p.u + static_cast<intptr_t>(k) * p.chromaStride;
    const uint8_t* v = p.v + static_cast<intptr_t>(k) * p.chromaStride;
    for (int half = 0; half < 2; ++half) {
      const uint8_t* y = p.y + static_cast<intptr_t>(2 * k + half) * p.yStride;
      uint8_t* out = block.bits + static_cast<intptr_t>(2 * k + half) * block.pitch;
      for (int32_t j = 0; j < columns / 2; ++j, out += 4) {
        if (yFirst) {
          out[0] = y[2 * j];
          out[1] = u[j];
          out[2] = y[2 * j + 1];
          out[3] = v[j];
        } else {
          out[0] = u[j];
          out[1] = y[2 * j];
          out[2] = v[j];
          out[3] = y[2 * j + 1];
        }
      }
    }
  }
  return 1;
}

}  // namespace qor
