#include "framework/graphics/surfaces/surface_data.h"

#include <cstring>

#include "framework/core/log.h"
#include "framework/core/memory.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/handle_table.h"
#include "framework/graphics/screen/screen.h"
#include "framework/graphics/screen/screen_size.h"

namespace qor {

namespace {

struct SurfaceDataSlots {
  HandleTable table;
  void* slots[kSurfaceDataHandleMax];
};

SurfaceDataSlots g_data;
bool g_dataReady = false;

HandleTable* Table() {
  if (!g_dataReady) ResetSurfaceDataTable();
  return &g_data.table;
}

bool ScreenIs8Bit() { return GetScreenColorBits() == 8; }

// The pixel format a DirectDraw surface of the entry shows.
const PixelFormatInfo* SurfaceFormat(plat::DDSurface* surface) {
  static PixelFormatInfo formats[4];
  static int next = 0;
  plat::DDPixelFormat f;
  surface->GetPixelFormat(&f);
  PixelFormatInfo* out = &formats[next++ & 3];
  MakeFormatFromDirectDraw(&f, out);
  return out;
}

}  // namespace

void ResetSurfaceDataTable() {
  if (g_dataReady) {
    for (int32_t slot = 0; slot < g_data.table.usedEnd; ++slot) {
      const int32_t handle = HandleOfSlot(&g_data.table, slot);
      if (handle != -1) DeleteSurfaceData(handle);
    }
  }
  InitHandleTable(&g_data.table, kSurfaceDataHandleTag, kSurfaceDataHandleMax, g_data.slots);
  g_dataReady = true;
}

const HandleTable* SurfaceDataTable() { return Table(); }

SurfaceDataRecord* LookupSurfaceData(int32_t handle) {
  return static_cast<SurfaceDataRecord*>(LookupHandleEntry(Table(), handle));
}

int32_t AddSurfaceData(int32_t refCount, int32_t width, int32_t height, uint32_t colorKey, const SurfaceFlags* flags) {
  // The entry's size fields are 16 bits: a size outside them would wrap.
  if (width < 1 || height < 1 || width > kSurfaceSizeMax || height > kSurfaceSizeMax) return -1;
  HandleTable* t = Table();
  if (IsHandleTableFull(t)) {
    LogOutput("サーフェスのデータ数が許容量を越えました。\n");
    return -1;
  }
  auto* r = static_cast<SurfaceDataRecord*>(AllocMemoryZeroed(sizeof(SurfaceDataRecord), __FILE__, __LINE__));
  if (r == nullptr) {
    LogOutput("サーフェス用データを保存するメモリ領域の確保に失敗しました\n");
    return -1;
  }
  const int32_t handle = AddHandleEntry(t, r);
  if (handle < 0) {
    FreeMemory(r);
    return -1;
  }
  r->flags = *flags;
  r->width = static_cast<uint16_t>(width);
  r->height = static_cast<uint16_t>(height);
  r->colorKey = colorKey;
  r->refCount = refCount;
  SurfaceFlags& f = r->flags;
  if (!f.texture) {
    if (f.alpha || f.memImageOption) f.systemMemory = 1;
    f.drawable = 1;
    f.alphaTest = 0;
  } else {
    f.systemMemory = 0;
    if (f.drawable || f.alpha) f.alphaTest = 0;
  }
  r->memImageMode = f.systemMemory || IsMemImageScreen() ? 1 : 0;
  if (CreateSurfaceDataSurface(handle) != 0) {
    DeleteSurfaceData(handle);
    return -1;
  }
  ApplySurfaceColorKey(handle);
  return handle;
}

int AddSurfaceDataRef(int32_t handle) {
  SurfaceDataRecord* r = LookupSurfaceData(handle);
  return r == nullptr ? -1 : ++r->refCount;
}

int ReleaseSurfaceDataRef(int32_t handle) {
  SurfaceDataRecord* r = LookupSurfaceData(handle);
  return r == nullptr ? -1 : --r->refCount;
}

int CreateSurfaceDataSurface(int32_t handle) {
  SurfaceDataRecord* r = LookupSurfaceData(handle);
  if (r == nullptr) return -1;
  if (r->surface != nullptr || IsMemImgValid(&r->image)) return 0;
  ScreenState& s = GetScreenState();
  if (!r->memImageMode && s.directDraw == nullptr) return -1;
  if (r->flags.texture && CreateTextureSurface(r) == 0) return 0;
  if (r->flags.texture) {
    LogOutput("テクスチャサーフェスの作成に失敗しました\n");
    LogPrintf("DrawValid:%d  AlphaChFlag%d  AlphaTestFlag:%d  ColorBitDepth:%d", r->flags.drawable, r->flags.alpha,
              r->flags.alphaTest, r->flags.colorBits);
    return -1;
  }
  if (r->memImageMode) {
    int result;
    if (r->flags.memImageOption) {
      result = CreateMemImg(&r->image, r->width, r->height, -1, 0, kMemImgKindOne8, 0, 0, 0, nullptr);
    } else {
      const int32_t kind = r->flags.colorBits == 16 ? kMemImgKindRgb565 : kMemImgKindXrgb8888;
      const PixelFormatInfo* f = GetMemImgColorFormat(kind, r->flags.alpha, r->flags.paletteSource);
      const uint32_t t = GetDrawState().transparentColor;
      const uint32_t key = r->flags.paletteSource
                               ? kPaletteBufferNoKey
                               : PackColorForFormat(f, (t >> 16) & 255, (t >> 8) & 255, t & 255, 255);
      result = CreateMemImg(&r->image, r->width, r->height, -1, key, kind, r->flags.paletteSource, r->flags.alpha, 1,
                            nullptr);
    }
    if (result != 0) {
      LogOutput("メモリイメージの作成に失敗しました\n");
      return -1;
    }
    return AttachZBuffer(handle, static_cast<int32_t>(r->zOn)) == 0 || !r->zOn ? 0 : -1;
  }
  plat::DDSurfaceDesc desc;
  desc.width = r->width;
  desc.height = r->height;
  const bool system = r->flags.systemMemory || r->width > (s.width ? s.width : 640) || s.softwareRendering;
  desc.caps = plat::DDSCAPS_OFFSCREENPLAIN |
              (system ? plat::DDSCAPS_SYSTEMMEMORY : plat::DDSCAPS_VIDEOMEMORY | plat::DDSCAPS_3DDEVICE);
  if (s.directDraw->CreateSurface(&desc, &r->surface) != plat::DD_OK) {
    desc.caps = plat::DDSCAPS_OFFSCREENPLAIN | plat::DDSCAPS_SYSTEMMEMORY;
    if (s.directDraw->CreateSurface(&desc, &r->surface) != plat::DD_OK) {
      LogOutput("標準サーフェスの作成に失敗しました\n");
      r->surface = nullptr;
      return -1;
    }
  }
  uint32_t caps = 0;
  r->surface->GetCaps(&caps);
  r->flags.systemMemory = (caps & plat::DDSCAPS_VIDEOMEMORY) ? 0 : 1;
  r->flags.drawable = 1;
  if (r->zOn && AttachZBuffer(handle, 1) != 0) {
    DropSurfaceDataSurface(handle);
    return -1;
  }
  return 0;
}

int DropSurfaceDataSurface(int32_t handle) {
  SurfaceDataRecord* r = LookupSurfaceData(handle);
  if (r == nullptr) return 0;
  if (IsMemImgValid(&r->zImage)) ReleaseMemImg(&r->zImage);
  if (IsMemImgValid(&r->image)) ReleaseMemImg(&r->image);
  if (r->zSurface != nullptr) {
    if (r->surface != nullptr) r->surface->DeleteAttachedSurface(r->zSurface);
    r->zSurface->Release();
    r->zSurface = nullptr;
  }
  if (r->surface != nullptr) {
    if (r->lockCount > 0) r->surface->Unlock(nullptr);
    r->surface->Release();
    r->surface = nullptr;
  }
  r->lockCount = 0;
  return 0;
}

// Validates before touching anything, so a stale handle frees nothing.
int DeleteSurfaceData(int32_t handle) {
  SurfaceDataRecord* r = LookupSurfaceData(handle);
  if (r == nullptr) return -1;
  DropSurfaceDataSurface(handle);
  if (r->diedFlag != nullptr) *r->diedFlag = 1;
  RemoveHandleEntry(Table(), handle);
  FreeMemory(r);
  return 0;
}

int AttachZBuffer(int32_t handle, int32_t on) {
  SurfaceDataRecord* r = LookupSurfaceData(handle);
  if (r == nullptr) return -1;
  ScreenState& s = GetScreenState();
  if (!r->memImageMode && s.directDraw == nullptr) return -1;
  const bool has = r->memImageMode ? IsMemImgValid(&r->zImage) != 0 : r->zSurface != nullptr;
  if ((on != 0) == (r->zOn != 0) && has == (on != 0)) return 0;
  if (!r->flags.drawable) return -1;
  if (!on) {
    if (IsMemImgValid(&r->zImage)) ReleaseMemImg(&r->zImage);
    if (r->zSurface != nullptr) {
      if (r->surface != nullptr) r->surface->DeleteAttachedSurface(r->zSurface);
      r->zSurface->Release();
      r->zSurface = nullptr;
    }
    r->zOn = 0;
    return 0;
  }
  if (r->memImageMode) {
    if (CreateMemImgKind3(&r->zImage, r->width, r->height) != 0) {
      LogOutput("Ｚバッファの作成に失敗しました");
      return -1;
    }
  } else {
    plat::DDSurfaceDesc desc;
    desc.caps = plat::DDSCAPS_ZBUFFER | plat::DDSCAPS_VIDEOMEMORY;
    desc.width = r->width;
    desc.height = r->height;
    // The 16-bit depth format the Direct3D set-up found, when it found one.
    const plat::DDPixelFormat* z = GetZBufferPixelFormat();
    desc.hasPixelFormat = z->bitCount == 16;
    if (desc.hasPixelFormat) desc.pixelFormat = *z;
    if (s.directDraw->CreateSurface(&desc, &r->zSurface) != plat::DD_OK ||
        r->surface->AddAttachedSurface(r->zSurface) != plat::DD_OK) {
      if (r->zSurface != nullptr) r->zSurface->Release();
      r->zSurface = nullptr;
      LogOutput("Ｚバッファの作成に失敗しました");
      return -1;
    }
  }
  r->zOn = 1;
  return 0;
}

int ApplySurfaceColorKey(int32_t handle) {
  SurfaceDataRecord* r = LookupSurfaceData(handle);
  if (r == nullptr || r->surface == nullptr) return 0;
  if (r->flags.texture) {
    // A texture keeps its key in its own format, which need not be the
    // screen's: opaque, with every alpha and spare bit set.
    const PixelFormatInfo* f = SurfaceFormat(r->surface);
    const uint32_t key = PackColorForFormat(f, (r->colorKey >> 16) & 255, (r->colorKey >> 8) & 255, r->colorKey & 255,
                                            255) |
                         f->masks[3] | f->spareMask;
    if (r->surface->SetColorKey(plat::DDCKEY_SRCBLT, key, key) != plat::DD_OK) {
      LogOutput("テクスチャサーフェスのカラーキーの設定に失敗しました\n");
      return -1;
    }
    return 0;
  }
  const uint32_t key = ScreenIs8Bit() ? 0
                                      : PackColorRGB(static_cast<int32_t>((r->colorKey >> 16) & 255),
                                                     static_cast<int32_t>((r->colorKey >> 8) & 255),
                                                     static_cast<int32_t>(r->colorKey & 255));
  if (r->surface->SetColorKey(plat::DDCKEY_SRCBLT, key, key) != plat::DD_OK) {
    LogOutput("標準サーフェスのカラーキーの設定に失敗しました\n");
    return -1;
  }
  return 0;
}

int RestoreSurfaceDataSurface(int32_t handle) {
  SurfaceDataRecord* r = LookupSurfaceData(handle);
  if (r == nullptr) return -1;
  int lost = 0;
  if (r->surface != nullptr && r->surface->IsLost() == plat::DDERR_SURFACELOST) {
    r->surface->Restore();
    lost = 1;
  }
  if (r->zSurface != nullptr && r->zSurface->IsLost() == plat::DDERR_SURFACELOST) {
    r->zSurface->Restore();
    lost = 1;
  }
  return lost ? -1 : 0;
}

int LockSurfaceDataPixels(int32_t handle, int32_t* pitch, uint8_t** pixels, int32_t writeOnly, const Rect* rect,
                          const PixelFormatInfo** format) {
  SurfaceDataRecord* r = LookupSurfaceData(handle);
  if (r == nullptr) return -1;
  // A rectangle outside the store would hand out memory beyond it.
  if (rect != nullptr && (rect->left < 0 || rect->top < 0 || rect->left >= rect->right || rect->top >= rect->bottom ||
                          rect->right > r->width || rect->bottom > r->height))
    return -1;
  if (r->memImageMode) {
    if (format != nullptr) *format = r->image.buffer != nullptr ? r->image.buffer->format : nullptr;
  } else if (format != nullptr && r->surface != nullptr) {
    *format = SurfaceFormat(r->surface);
  }
  if (r->lockCount > 0) {
    *pitch = r->lockPitch;
    *pixels = r->lockPixels;
    ++r->lockCount;
    return -2;
  }
  if (r->memImageMode) {
    if (!IsMemImgValid(&r->image)) return -1;
    const MemImgBuffer* b = r->image.buffer;
    *pitch = b->pitch;
    *pixels = r->image.pixels;
    if (rect != nullptr) *pixels += static_cast<std::ptrdiff_t>(rect->top) * b->pitch + rect->left * b->format->bytesPerPixel;
  } else {
    if (r->surface == nullptr) return -1;
    const uint32_t flags = plat::DDLOCK_WAIT | (writeOnly ? plat::DDLOCK_WRITEONLY : 0);
    const plat::Rect pr = rect != nullptr ? plat::Rect{rect->left, rect->top, rect->right, rect->bottom} : plat::Rect{};
    if (r->surface->Lock(rect != nullptr ? &pr : nullptr, pitch, pixels, flags) != plat::DD_OK) {
      LogOutput("グラフィックのロックに失敗しました");
      return -1;
    }
  }
  r->lockPitch = *pitch;
  r->lockPixels = *pixels;
  r->lockCount = 1;
  return 0;
}

int UnlockSurfaceDataPixels(int32_t handle, const Rect* /*rect*/) {
  SurfaceDataRecord* r = LookupSurfaceData(handle);
  if (r == nullptr || r->lockCount == 0) return -1;
  if (--r->lockCount == 0 && !r->memImageMode && r->surface != nullptr) r->surface->Unlock(nullptr);
  return 0;
}

// A memory-image entry has no surface to colour-fill: its image is filled.
int FillSurfaceDataColor(int32_t handle, int32_t r, int32_t g, int32_t b, int32_t a) {
  SurfaceDataRecord* d = LookupSurfaceData(handle);
  if (d == nullptr) return -1;
  if (d->memImageMode) {
    if (!IsMemImgValid(&d->image)) return -1;
    const PixelFormatInfo* f = d->image.buffer->format;
    FillMemImgRect(&d->image, nullptr,
                   PackColorForFormat(f, static_cast<uint32_t>(r & 255), static_cast<uint32_t>(g & 255),
                                      static_cast<uint32_t>(b & 255), static_cast<uint32_t>(a & 255)));
    return 0;
  }
  if (GetScreenState().directDraw == nullptr || d->surface == nullptr) return -1;
  plat::DDBltFx fx;
  fx.fillColor = PackColorForFormat(SurfaceFormat(d->surface), static_cast<uint32_t>(r & 255),
                                    static_cast<uint32_t>(g & 255), static_cast<uint32_t>(b & 255),
                                    static_cast<uint32_t>(a & 255));
  return d->surface->Blt(nullptr, nullptr, nullptr, plat::DDBLT_COLORFILL | plat::DDBLT_WAIT, &fx) == plat::DD_OK ? 0
                                                                                                                 : -1;
}

int PickSurfaceFormatIndex(const SurfaceFlags* f) {
  const int d = f->colorBits == 16 ? 0 : 1;
  if (f->drawable) return f->alpha || f->alphaTest ? 8 : 6 + d;
  if (f->alpha) return 2 + d;
  if (f->alphaTest) return 4 + d;
  return d;
}

int MakeFormatFromDirectDraw(const plat::DDPixelFormat* format, PixelFormatInfo* out) {
  if (format->flags & plat::DDPF_PALETTEINDEXED8) return MakeFormatPal8(out);
  return MakeFormatFromMasks(out, static_cast<int32_t>(format->bitCount), format->redMask, format->greenMask,
                             format->blueMask, format->alphaMask);
}

int BuildDirectDrawPixelFormat(plat::DDPixelFormat* out, int32_t bits, uint32_t red, uint32_t green, uint32_t blue,
                               uint32_t alpha) {
  *out = plat::DDPixelFormat{plat::DDPF_RGB, static_cast<uint32_t>(bits), red, green, blue, alpha};
  return 0;
}

const plat::DDPixelFormat* GetMemImgColorFormatShort(int32_t formatKind, int32_t alphaFlag, int32_t paletteFlag) {
  static plat::DDPixelFormat formats[4][2][2];
  static bool built[4][2][2];
  if (formatKind < 0 || formatKind > 3) return nullptr;
  const int a = alphaFlag ? 1 : 0, p = paletteFlag ? 1 : 0;
  plat::DDPixelFormat* f = &formats[formatKind][a][p];
  if (built[formatKind][a][p]) return f;
  if (formatKind <= kMemImgKindXrgb8888) {
    const PixelFormatInfo* info = GetMemImgColorFormat(formatKind, a, p);
    BuildDirectDrawPixelFormat(f, info->bitDepth, info->masks[0], info->masks[1], info->masks[2], info->masks[3]);
  } else {
    const uint32_t all = formatKind == kMemImgKindOne8 ? 0xFFu : 0xFFFFu;
    *f = plat::DDPixelFormat{0, formatKind == kMemImgKindOne8 ? 8u : 16u, all, all, all, all};
  }
  built[formatKind][a][p] = true;
  return f;
}

void FillUnusedPixelBits(uint8_t* pixels, int32_t pitch, const PixelFormatInfo* format, const Rect* rect) {
  const int bpp = format->bytesPerPixel;
  if (bpp != 2 && bpp != 4) return;
  const uint32_t set = bpp == 4 && format->masks[3] == 0xFF000000u ? 0xFF000000u : format->spareMask;
  for (int32_t y = rect->top; y < rect->bottom; ++y) {
    uint8_t* row = pixels + static_cast<std::ptrdiff_t>(y) * pitch;
    for (int32_t x = rect->left; x < rect->right; ++x) {
      uint32_t v = 0;
      std::memcpy(&v, row + x * bpp, bpp);
      v |= set;
      std::memcpy(row + x * bpp, &v, bpp);
    }
  }
}

}  // namespace qor
