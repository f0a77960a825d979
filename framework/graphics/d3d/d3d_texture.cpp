// Texture pieces: the power-of-two split of a graph, the texture formats,
// the texture surfaces, and the transfer of image pixels into them.
#include <algorithm>

#include "framework/core/life/fatal.h"
#include "framework/core/log.h"
#include "framework/graphics/images/convert_pixels.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/screen/screen.h"

namespace qor {

namespace {

constexpr int32_t kSizeListMax = 2048;  // more than any 16-bit length can need

SurfaceFlags FlagsOfGraph(const GraphRecord* g) {
  return SurfaceFlags{g->is3D, g->alpha, g->drawable, g->systemMemory, g->textureOption, g->alphaTest,
                      g->colorBits, g->memImageOption, g->paletteSource};
}

int32_t ScreenWidth() {
  const int32_t w = GetScreenState().width;
  return w > 0 ? w : 640;
}

}  // namespace

// The sizes are written only while they fit in the array; the count is
// always the full one, so a caller can refuse a split that is too large.
int32_t ChooseTextureSize(int32_t length, int32_t* sizes, int32_t sizesCapacity, int32_t single) {
  const D3DGlobals& d = GetD3D();
  const int32_t deviceMin = d.minTexture > 0 ? d.minTexture : 1;
  const int32_t deviceMax = d.maxTexture > 0 ? d.maxTexture : 256;
  int32_t count = 0, previous = 0, last = 0;
  auto put = [&](int32_t size) {
    if (sizes != nullptr && count < sizesCapacity) sizes[count] = size;
    ++count;
    previous = last;
    last = size;
  };
  const int32_t smallest = std::max(deviceMin, 32);
  if (length <= smallest) {
    int32_t s = smallest;
    while (s > deviceMin && s / 2 >= length) s /= 2;
    put(s);
    return count;
  }
  int32_t largest = deviceMax;
  if (!single) {
    int32_t p = 8;
    while (p < ScreenWidth()) p *= 2;
    if (p <= deviceMax) largest = p;
  }
  int32_t s = largest;
  while (s > smallest && s > length) s /= 2;
  if ((single || length < ScreenWidth()) && 2 * s <= largest) {
    put(s >= length ? s : 2 * s);
    return count;
  }
  int32_t remaining = length;
  for (;;) {
    put(s);
    remaining -= s;
    if (remaining < 1) break;
    if (remaining * 4 > s * 3 && s < largest) {
      last = 2 * s;
      if (sizes != nullptr && count - 1 < sizesCapacity) sizes[count - 1] = last;
      break;
    }
    while (s > remaining && s > smallest) s /= 2;
  }
  if (count >= 2 && previous == last && 2 * last <= largest) {
    --count;
    if (sizes != nullptr && count - 1 < sizesCapacity) sizes[count - 1] = 2 * last;
  }
  return count;
}

const TextureFormatRecord* GetTextureFormatRecord(int32_t index) {
  return index >= 0 && index < kTexFormatCount ? &GetD3D().formats[index] : nullptr;
}

const PixelFormatInfo* GetTexturePixelFormatInfo(int32_t index) {
  const TextureFormatRecord* r = GetTextureFormatRecord(index);
  return r != nullptr ? &r->info : nullptr;
}

const PixelFormatInfo* SelectTextureFormatByFlags(const SurfaceFlags* flags) {
  return GetTexturePixelFormatInfo(PickSurfaceFormatIndex(flags));
}

const PixelFormatInfo* SelectTextureFormat(int32_t alpha, int32_t alphaTest, int32_t bits32, int32_t drawable) {
  SurfaceFlags f{};
  f.alpha = alpha ? 1 : 0;
  f.alphaTest = alphaTest ? 1 : 0;
  f.colorBits = bits32 ? 32 : 16;
  f.drawable = drawable ? 1 : 0;
  return SelectTextureFormatByFlags(&f);
}

int CreateTextureSurface(SurfaceDataRecord* record) {
  const D3DGlobals& d = GetD3D();
  ScreenState& s = GetScreenState();
  if (!d.object || s.directDraw == nullptr) return -1;
  plat::DDSurfaceDesc desc;
  desc.caps = plat::DDSCAPS_TEXTURE | (record->flags.drawable ? plat::DDSCAPS_3DDEVICE : 0u);
  desc.width = record->width;
  desc.height = record->height;
  desc.hasPixelFormat = true;
  desc.pixelFormat = d.formats[PickSurfaceFormatIndex(&record->flags)].dd;
  if (s.directDraw->CreateSurface(&desc, &record->surface) != plat::DD_OK) {
    record->surface = nullptr;
    return -1;
  }
  return 0;
}

int CreateGraphPieces3D(GraphRecord* graph) {
  const D3DGlobals& d = GetD3D();
  if (!d.object) return -1;
  int32_t xs[kSizeListMax], ys[kSizeListMax];
  const int32_t single = graph->drawable | static_cast<int32_t>(graph->textureOption);
  const int32_t nx = ChooseTextureSize(graph->width, xs, kSizeListMax, single);
  const int32_t ny = ChooseTextureSize(graph->height, ys, kSizeListMax, single);
  struct Cut {
    int32_t x, y, w, h;
  };
  Cut cuts[kGraphPieceMax];
  int64_t count = 0;
  const bool squareOnly = (d.desc.textureCaps & plat::d3d::kTextureCapsSquareOnly) != 0;
  for (int32_t j = 0, py = 0; j < ny && j < kSizeListMax; py += ys[j++]) {
    for (int32_t i = 0, px = 0; i < nx && i < kSizeListMax; px += xs[i++]) {
      const int32_t side = squareOnly ? std::min(xs[i], ys[j]) : 0;
      const int32_t parts = squareOnly ? std::max(xs[i], ys[j]) / side : 1;
      for (int32_t k = 0; k < parts; ++k, ++count) {
        if (count >= kGraphPieceMax) continue;
        if (!squareOnly) {
          cuts[count] = {px, py, xs[i], ys[j]};
        } else if (xs[i] >= ys[j]) {
          cuts[count] = {px + k * side, py, side, side};
        } else {
          cuts[count] = {px, py + k * side, side, side};
        }
      }
    }
  }
  if (count > kGraphPieceMax) {
    LogPrintf("エラー：画像の分割数が最大数の %d を超えました", kGraphPieceMax);
    return -1;
  }
  const SurfaceFlags flags = FlagsOfGraph(graph);
  const double height = graph->height, ratio = static_cast<double>(graph->height) / graph->width;
  graph->pieceCount = 0;
  for (int64_t i = 0; i < count; ++i) {
    const Cut& c = cuts[i];
    const int32_t w = std::min(c.w, graph->width - c.x), h = std::min(c.h, graph->height - c.y);
    if (w <= 0 || h <= 0) continue;
    const int32_t piece =
        AddSurface3DData(c.w, c.h, c.x, c.y, w, h, c.x, c.y, graph->handle, nullptr, 0, 0, &flags);
    if (piece < 0) {
      DeleteGraphPieces3D(graph);
      return -1;
    }
    ComputeDiagonalFlags(LookupSurface3DData(piece), height, ratio);
    graph->pieceHandles[graph->pieceCount++] = piece;
  }
  return 0;
}

int DeleteGraphPieces3D(GraphRecord* graph) {
  if (!GetD3D().object) return -1;
  for (int32_t i = 0; i < graph->pieceCount; ++i) DeleteSurface3DData(graph->pieceHandles[i]);
  graph->pieceCount = 0;
  return 0;
}

int UploadImageToSurface3D(const GraphImage* image, const GraphImage* alphaImage, const Rect* source,
                           int32_t textureX, int32_t textureY, int32_t piece, int32_t transparent) {
  FlushCurrentVertexBatch();
  const Surface3DData* p = LookupSurface3DData(piece);
  SurfaceDataRecord* t = p != nullptr ? LookupSurfaceData(p->texture) : nullptr;
  if (t == nullptr || t->surface == nullptr) return -1;
  // The texture was made in the format its flags pick (CreateTextureSurface).
  const PixelFormatInfo* own = GetTexturePixelFormatInfo(PickSurfaceFormatIndex(&t->flags));
  int32_t pitch = 0;
  uint8_t* pixels = nullptr;
  plat::DDSurface* temporary = nullptr;
  if (LockSurfaceDataPixels(p->texture, &pitch, &pixels, 1, nullptr, nullptr) == -1) {
    plat::DDSurfaceDesc desc;
    desc.caps = plat::DDSCAPS_TEXTURE | plat::DDSCAPS_SYSTEMMEMORY;
    desc.width = t->width;
    desc.height = t->height;
    desc.hasPixelFormat = true;
    t->surface->GetPixelFormat(&desc.pixelFormat);
    if (GetScreenState().directDraw->CreateSurface(&desc, &temporary) != plat::DD_OK ||
        temporary->Lock(nullptr, &pitch, &pixels, plat::DDLOCK_WAIT | plat::DDLOCK_WRITEONLY) != plat::DD_OK)
      FatalError("テンポラリテクスチャサーフェスの作成に失敗しました");
  }
  const PixelBlock dst{pixels, pitch, t->width, t->height, own};
  const PixelBlock src = PixelBlockOfImage(image);
  const PixelBlock alpha = alphaImage != nullptr ? PixelBlockOfImage(alphaImage) : PixelBlock{};
  ConvertOptions options{};
  // A keyed picture in a format with alpha: its key colour becomes alpha 0.
  if (transparent && own->widths[3] != 0 && !t->flags.alpha && alphaImage == nullptr) {
    options.colorKeyMode = 1;
    options.key = t->colorKey;
  }
  ConvertPixelsBlt(&dst, &src, alphaImage != nullptr ? &alpha : nullptr, textureX, textureY, source, &options);
  if (temporary == nullptr) {
    UnlockSurface3DData(piece, nullptr);
  } else {
    // The device loads the written part into the texture at the same place.
    temporary->Unlock(nullptr);
    const plat::d3d::ClearRect part{
        textureX, textureY, std::clamp<int32_t>(textureX + source->right - source->left, textureX, t->width),
        std::clamp<int32_t>(textureY + source->bottom - source->top, textureY, t->height)};
    const plat::d3d::Texture from{SurfaceViewOf(temporary), false, 0}, to{SurfaceViewOf(t->surface), false, 0};
    const D3DDeviceState* device = InUseDevice(GetD3D().currentDevice);
    if (device == nullptr || device->device->Load(&to, textureX, textureY, &from, &part, 0) != plat::d3d::kOk)
      FatalError("作業用テクスチャサーフェスから描画用テクスチャサーフェスへの画像転送に失敗しました");
    temporary->Release();
  }
  ApplySurfaceColorKey(p->texture);
  return 0;
}

int BlitImageToGraphPieces3D(const GraphImage* image, const GraphImage* alphaImage, int32_t x, int32_t y,
                             GraphRecord* graph, int32_t transparent) {
  for (int32_t i = 0; i < graph->pieceCount; ++i) {
    const Surface3DData* p = LookupSurface3DData(graph->pieceHandles[i]);
    if (p == nullptr) return -1;
    // The image under the piece, cut to the image: a part cut at its left or
    // top lands as far into the texture.
    const int64_t left = int64_t{p->x} + x, top = int64_t{p->y} + y;
    const int64_t l = std::max<int64_t>(left, 0), t = std::max<int64_t>(top, 0);
    const int64_t r = std::min<int64_t>(left + p->width, image->width);
    const int64_t b = std::min<int64_t>(top + p->height, image->height);
    if (r <= l || b <= t) continue;
    const Rect part{static_cast<int32_t>(l), static_cast<int32_t>(t), static_cast<int32_t>(r), static_cast<int32_t>(b)};
    if (UploadImageToSurface3D(image, alphaImage, &part, p->textureX + static_cast<int32_t>(l - left),
                               p->textureY + static_cast<int32_t>(t - top), graph->pieceHandles[i], transparent) != 0)
      return -1;
  }
  return 0;
}

int BlitImageRectToGraphPieces3D(const GraphImage* image, const GraphImage* alphaImage, const Rect* source,
                                 int32_t x, int32_t y, GraphRecord* graph, int32_t transparent) {
  for (int32_t i = 0; i < graph->pieceCount; ++i) {
    const Surface3DData* p = LookupSurface3DData(graph->pieceHandles[i]);
    if (p == nullptr) return -1;
    const int32_t px = p->x, py = p->y;
    Rect part;
    if (!CutSourceToPiece(*source, x, y, px, py, p->width, p->height, &part)) continue;
    if (UploadImageToSurface3D(image, alphaImage, &part, p->textureX + std::max(0, x - px),
                               p->textureY + std::max(0, y - py), graph->pieceHandles[i], transparent) != 0)
      return -1;
  }
  return 0;
}

int FillGraphPieces3D(GraphRecord* graph, int32_t r, int32_t g, int32_t b, int32_t a) {
  const D3DGlobals& d = GetD3D();
  if (!d.object) return -1;
  if (d.drawingSuspended) return 0;
  for (int32_t i = 0; i < graph->pieceCount; ++i) {
    const Surface3DData* p = LookupSurface3DData(graph->pieceHandles[i]);
    if (p == nullptr || FillSurfaceDataColor(p->texture, r, g, b, a) != 0) return -1;
  }
  return 0;
}

}  // namespace qor
