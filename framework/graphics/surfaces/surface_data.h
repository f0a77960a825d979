// Surface data: one real pixel store behind graphs (a DirectDraw surface, or
// a memory image in software rendering and for system-memory images), with
// its optional Z buffer and colour key. Pieces share an entry through its
// reference count.
#pragma once

#include <cstdint>

#include "framework/graphics/images/pixel_format.h"
#include "framework/graphics/graphs/handle_table.h"
#include "framework/graphics/graphs/rect.h"
#include "framework/softrender/mem_image.h"
#include "platform/ddraw/ddraw.h"

namespace qor {

// The graph's nine creation bytes.
struct SurfaceFlags {
  uint8_t texture;
  uint8_t alpha;
  uint8_t drawable;
  uint8_t systemMemory;
  uint8_t textureOption;
  uint8_t alphaTest;
  uint8_t colorBits;
  uint8_t memImageOption;
  uint8_t paletteSource;
};

struct SurfaceDataRecord {
  uint32_t check;
  int32_t* diedFlag;
  SurfaceFlags flags;
  uint8_t memImageMode;  // 1: the store is `image`, not `surface`
  uint32_t zOn;
  plat::DDSurface* surface;
  MemImage image;
  plat::DDSurface* zSurface;
  MemImage zImage;
  uint32_t colorKey;  // 0x00RRGGBB
  uint16_t width, height;
  int32_t refCount;
  int32_t lockPitch;
  uint8_t* lockPixels;
  int32_t lockCount;
};

constexpr int32_t kSurfaceSizeMax = 65535;
// The key of a palette memory image that keys on no index (no 8-bit index
// can equal it).
constexpr uint32_t kPaletteBufferNoKey = 65535;

// Empties the table (deleting any entry still held) to its load state.
void ResetSurfaceDataTable();
const HandleTable* SurfaceDataTable();
int32_t AddSurfaceData(int32_t refCount, int32_t width, int32_t height, uint32_t colorKey, const SurfaceFlags* flags);
SurfaceDataRecord* LookupSurfaceData(int32_t handle);
int AddSurfaceDataRef(int32_t handle);
int ReleaseSurfaceDataRef(int32_t handle);
int CreateSurfaceDataSurface(int32_t handle);
int DropSurfaceDataSurface(int32_t handle);
int DeleteSurfaceData(int32_t handle);
int AttachZBuffer(int32_t handle, int32_t on);
int ApplySurfaceColorKey(int32_t handle);
int RestoreSurfaceDataSurface(int32_t handle);
int LockSurfaceDataPixels(int32_t handle, int32_t* pitch, uint8_t** pixels, int32_t writeOnly, const Rect* rect,
                          const PixelFormatInfo** format);
int UnlockSurfaceDataPixels(int32_t handle, const Rect* rect);
int FillSurfaceDataColor(int32_t handle, int32_t r, int32_t g, int32_t b, int32_t a);
int PickSurfaceFormatIndex(const SurfaceFlags* flags);
int MakeFormatFromDirectDraw(const plat::DDPixelFormat* format, PixelFormatInfo* out);
int BuildDirectDrawPixelFormat(plat::DDPixelFormat* out, int32_t bits, uint32_t red, uint32_t green, uint32_t blue,
                               uint32_t alpha);
// The DirectDraw description of a memory-image format (the kind with its
// alpha and palette flags), built on first request and kept: kinds 0 and 1
// as RGB with the format's depth and masks, kinds 2 and 3 as one channel of
// 8 or 16 bits in every mask, without flags. Null for a kind above 3.
const plat::DDPixelFormat* GetMemImgColorFormatShort(int32_t formatKind, int32_t alphaFlag, int32_t paletteFlag);
// Sets the spare bits (or an 0xFF000000 alpha) of every pixel of the rectangle.
void FillUnusedPixelBits(uint8_t* pixels, int32_t pitch, const PixelFormatInfo* format, const Rect* rect);

}  // namespace qor
