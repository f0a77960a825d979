// GDI stand-in: device contexts, bitmaps and the bit-block transfers the
// graphics code calls.
//
// Model:
// - A DC draws onto one pixel store: the window's canvas (GetDC of a window:
//   an X8R8G8B8 picture of the client area, shown through the host after
//   every write), a DirectDraw surface's memory (made by the surface's GetDC
//   through CreatePixelsDC), or the bitmap selected into a memory DC
//   (CreateCompatibleDC; a 1 x 1 placeholder until a bitmap is selected).
// - GDI objects live in one handle table: bitmaps (DIB sections and
//   compatible bitmaps) and fonts (gdi_font.h; the handle is the font
//   object's address). SelectObject keeps one current object per kind.
// - Every transfer converts between the formats of its two ends: RGB by bit
//   masks (16 and 32 bits), 24-bit BGR, and 8-bit palette indices (written
//   as the nearest palette entry).
// - DIB source rectangles count y from the bottom of the DIB for both
//   bottom-up and top-down DIBs, as StretchDIBits callers of this program
//   expect.
#pragma once

#include <cstdint>

#include "platform/gdi/gdi_font.h"
#include "platform/window/window.h"

namespace plat {

using Hdc = uintptr_t;
using HGdiObj = uintptr_t;

constexpr uint32_t SRCCOPY = 0x00CC0020;
constexpr uint32_t DIB_RGB_COLORS = 0;
constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_BITFIELDS = 3;

struct BitmapInfoHeader {
  uint32_t size = 40;
  int32_t width = 0;
  int32_t height = 0;  // negative: rows top first
  uint16_t planes = 1;
  uint16_t bitCount = 0;
  uint32_t compression = BI_RGB;
  uint32_t sizeImage = 0;
  int32_t xPelsPerMeter = 0, yPelsPerMeter = 0;
  uint32_t clrUsed = 0, clrImportant = 0;
};

// With BI_BITFIELDS the first three colours are the red, green and blue
// masks; with 8 bits they are 0x00RRGGBB palette entries.
struct BitmapInfo {
  BitmapInfoHeader header;
  uint32_t colors[256] = {};
};

// A pixel store as the GDI code sees it. `palette` (256 0x00RRGGBB) only for
// 8 bits.
struct GdiPixels {
  uint8_t* pixels = nullptr;
  int32_t pitch = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t bits = 0;  // 8, 16, 24 or 32
  uint32_t masks[3] = {};
  const uint32_t* palette = nullptr;
};

// Called when a DC over caller pixels is released (the surface presents).
using PixelsReleasedProc = void (*)(void* owner);

Hdc GetDC(Hwnd window);  // the window's canvas; 0 without a window
int ReleaseDC(Hwnd window, Hdc dc);
Hdc CreatePixelsDC(const GdiPixels& pixels, PixelsReleasedProc released, void* owner);
Hdc CreateCompatibleDC(Hdc dc);
bool DeleteDC(Hdc dc);

HGdiObj CreateDIBSection(Hdc dc, const BitmapInfo* info, uint32_t usage, void** bits);
HGdiObj CreateCompatibleBitmap(Hdc dc, int width, int height);
// Selects a bitmap into a memory DC, or a font into any DC; the previously
// selected object of that kind, or 0 (a DC's first font selection gives 1,
// the stock font).
HGdiObj SelectObject(Hdc dc, HGdiObj object);
// A font is deleted through DeleteFontObject; an object still selected into
// a DC is refused.
bool DeleteObject(HGdiObj object);
inline HGdiObj FontObjectHandle(gdi::Hfont font) { return reinterpret_cast<HGdiObj>(font); }

// The font selected into the DC (the default face at 16 pixels until one is).
bool GetTextMetricsA(Hdc dc, gdi::TextMetricA* out);
uint32_t GetGlyphOutlineA(Hdc dc, uint32_t code, uint32_t format, gdi::GlyphMetrics* metrics, uint32_t bufferSize,
                          void* buffer, const gdi::Mat2* matrix);

bool BitBlt(Hdc destination, int x, int y, int width, int height, Hdc source, int sourceX, int sourceY, uint32_t rop);
// Lines copied (the destination height), 0 on failure. A negative source
// width mirrors, reading leftward from sourceX.
int StretchDIBits(Hdc dc, int x, int y, int width, int height, int sourceX, int sourceY, int sourceWidth,
                  int sourceHeight, const void* bits, const BitmapInfo* info, uint32_t usage, uint32_t rop);
// Takes 1-, 4-, 8-, 16-, 24- and 32-bit rows, plain or with bit fields (16
// and 32 bits); the DIB must hold all its lines (only the last row's padding
// may be missing). Lines set, 0 on failure.
int SetDIBitsToDevice(Hdc dc, int x, int y, uint32_t width, uint32_t height, int sourceX, int sourceY,
                      uint32_t startScan, uint32_t lines, const void* bits, const BitmapInfo* info, uint32_t usage);
// What GetObjectA tells of a bitmap.
struct BitmapObject {
  int32_t type = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t widthBytes = 0;  // bytes of one row in memory
  uint16_t planes = 1;
  uint16_t bitsPixel = 0;
  void* bits = nullptr;  // the DIB section's rows, as CreateDIBSection gave them
};
// Copies the object's description into `out` (at most `size` bytes); the
// bytes written, 0 for an unknown object or a short buffer.
int GetObjectA(HGdiObj object, int size, void* out);
// Reads `lines` rows from `startScan` (counted from the bottom) of a bitmap
// into `bits` in the layout `info` gives. Lines read, 0 on failure.
int GetDIBits(Hdc dc, HGdiObj bitmap, uint32_t startScan, uint32_t lines, void* bits, BitmapInfo* info,
              uint32_t usage);
bool GdiFlush();

// The pixel store of a DC, for tests and the presenters; false for a bad DC.
bool GetDCPixels(Hdc dc, GdiPixels* out);

struct GdiCounters {
  int liveDCs = 0, liveObjects = 0, bitBlts = 0, stretchDIBits = 0, setDIBitsToDevice = 0;
  int canvasPresents = 0;
};
GdiCounters GetGdiCounters();
void FailNextBitBlt();
void FailNextCreateDIBSection();
void FailNextSetDIBitsToDevice();
void FailNextCreateCompatibleDC();
// GetGlyphOutlineA fails (GDI_ERROR) once `calls` more calls have passed.
void FailGlyphOutlineAfter(int calls);
// The next GetGlyphOutlineA that asks only for the size reports `size`.
void ReportNextGlyphOutlineSize(uint32_t size);
void ResetGdiStandIn();

}  // namespace plat
