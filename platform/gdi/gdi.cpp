#include "platform/gdi/gdi.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

#include "platform/gdi/dib_bits.h"
#include "platform/gdi/gdi_font_internal.h"
#include "platform/gdi/gdi_pixels.h"
#include "platform/host/host.h"

namespace plat {

using gdi::CopyBlock;

namespace {

enum class DcKind { Window, Pixels, Memory };

struct Bitmap {
  std::vector<uint8_t> memory;
  GdiPixels pixels;
  uint32_t palette[256] = {};
};

struct Dc {
  DcKind kind = DcKind::Memory;
  Hwnd window = 0;
  GdiPixels pixels;
  PixelsReleasedProc released = nullptr;
  void* owner = nullptr;
  HGdiObj bitmap = 0;
  HGdiObj font = 0;
};

struct GdiState {
  std::map<Hdc, Dc> dcs;
  std::map<HGdiObj, Bitmap> bitmaps;
  uintptr_t nextHandle = 0x1000;
  std::vector<uint32_t> canvas;  // the window's client area, X8R8G8B8
  int canvasWidth = 0, canvasHeight = 0;
  uint32_t placeholder = 0;  // a memory DC's 1 x 1 picture before a bitmap is selected
  GdiCounters counters;
  bool failNextBitBlt = false;
  gdi::Hfont stockFont = nullptr;
  bool failNextDibSection = false;
  bool failNextSetDIBits = false;
  bool failNextMemoryDc = false;
  int glyphOutlinesBeforeFailure = -1;  // -1: none fails
  uint32_t nextReportedGlyphSize = 0;   // 0: the true size
};

GdiState g_gdi;

GdiPixels CanvasPixels() {
  GdiPixels p;
  p.pixels = reinterpret_cast<uint8_t*>(g_gdi.canvas.data());
  p.pitch = g_gdi.canvasWidth * 4;
  p.width = g_gdi.canvasWidth;
  p.height = g_gdi.canvasHeight;
  p.bits = 32;
  p.masks[0] = 0xFF0000;
  p.masks[1] = 0xFF00;
  p.masks[2] = 0xFF;
  return p;
}

void SizeCanvasToWindow(Hwnd window) {
  Rect client;
  if (!GetClientRect(window, &client)) return;
  const int w = client.right - client.left, h = client.bottom - client.top;
  if (w == g_gdi.canvasWidth && h == g_gdi.canvasHeight) return;
  g_gdi.canvasWidth = w > 0 ? w : 0;
  g_gdi.canvasHeight = h > 0 ? h : 0;
  g_gdi.canvas.assign(static_cast<size_t>(g_gdi.canvasWidth) * g_gdi.canvasHeight, 0);
}

Dc* FindDc(Hdc dc) {
  const auto it = g_gdi.dcs.find(dc);
  return it == g_gdi.dcs.end() ? nullptr : &it->second;
}

// What a DC draws on now.
bool StoreOf(Hdc handle, GdiPixels* out) {
  Dc* dc = FindDc(handle);
  if (dc == nullptr) return false;
  if (dc->kind == DcKind::Window) {
    *out = CanvasPixels();
  } else if (dc->kind == DcKind::Memory && dc->bitmap != 0) {
    *out = g_gdi.bitmaps[dc->bitmap].pixels;
  } else {
    *out = dc->pixels;
  }
  return out->pixels != nullptr;
}

// A write to the window's DC reaches the screen at once.
void Written(Hdc handle) {
  Dc* dc = FindDc(handle);
  if (dc == nullptr || dc->kind != DcKind::Window || g_gdi.canvas.empty()) return;
  ++g_gdi.counters.canvasPresents;
  HostPresent(g_gdi.canvas.data(), g_gdi.canvasWidth * 4, g_gdi.canvasWidth, g_gdi.canvasHeight,
              HostPixelFormat::Xrgb8888);
}

Hdc AddDc(const Dc& dc) {
  const Hdc handle = g_gdi.nextHandle++;
  g_gdi.dcs[handle] = dc;
  ++g_gdi.counters.liveDCs;
  return handle;
}

// The DIB of a BitmapInfo as a store; false for layouts the stand-in lacks.
bool DibPixels(const void* bits, const BitmapInfo* info, GdiPixels* out, bool* topDown) {
  if (info == nullptr || bits == nullptr) return false;
  const BitmapInfoHeader& h = info->header;
  if (h.width <= 0 || h.height == 0 || h.height == INT32_MIN) return false;
  GdiPixels p;
  p.bits = h.bitCount;
  p.width = h.width;
  p.height = std::abs(h.height);
  p.pitch = ((h.width * h.bitCount + 31) / 32) * 4;
  p.pixels = static_cast<uint8_t*>(const_cast<void*>(bits));
  if (h.compression == BI_BITFIELDS && (h.bitCount == 16 || h.bitCount == 32)) {
    std::memcpy(p.masks, info->colors, sizeof p.masks);
  } else if (h.compression == BI_RGB && h.bitCount == 16) {
    p.masks[0] = 0x7C00; p.masks[1] = 0x03E0; p.masks[2] = 0x001F;
  } else if (h.compression == BI_RGB && h.bitCount == 32) {
    p.masks[0] = 0xFF0000; p.masks[1] = 0xFF00; p.masks[2] = 0xFF;
  } else if (h.compression == BI_RGB && h.bitCount == 8) {
    p.palette = info->colors;
  } else if (!(h.compression == BI_RGB && h.bitCount == 24)) {
    return false;
  }
  *topDown = h.height < 0;
  *out = p;
  return true;
}

// Copies source rectangle (sx, syBottom counted from the DIB's bottom, sw x
// sh) of the DIB onto (x, y, w, h) of the DC, stretching by nearest pixel.
// The columns are worked out once per call; each row is read, picked from
// and written whole.
int DibToDc(Hdc handle, int x, int y, int w, int h, int sx, int syBottom, int sw, int sh, const void* bits,
            const BitmapInfo* info) {
  GdiPixels dst, src;
  bool topDown = false;
  if (!StoreOf(handle, &dst) || !DibPixels(bits, info, &src, &topDown)) return 0;
  // A negative source width reads the columns from sx leftward (a mirror).
  if (w <= 0 || h <= 0 || sw == 0 || sh <= 0) return 0;
  const int topRow = src.height - syBottom - sh;  // the source rectangle's top row, counted from the top
  // The destination columns that land inside both pictures, and the source
  // column of each: a source column moves one way only as the destination
  // column grows, so both limits cut the columns to one run.
  std::vector<int> columns;
  int first = -1, low = 0, high = 0;
  for (int col = 0; col < w; ++col) {
    const int dx = x + col;
    const int srcX = sx + static_cast<int>(static_cast<int64_t>(col) * sw / w);
    if (dx < 0 || dx >= dst.width || srcX < 0 || srcX >= src.width) continue;
    if (first < 0) first = col, low = high = srcX;
    low = srcX < low ? srcX : low;
    high = srcX > high ? srcX : high;
    columns.push_back(srcX);
  }
  if (first >= 0) {
    const int n = static_cast<int>(columns.size());
    const bool straight = sw == w;  // one source column per column, left to right
    const gdi::RowLayout from = gdi::RowLayoutOf(src), to = gdi::RowLayoutOf(dst);
    std::vector<uint32_t> read(static_cast<size_t>(high - low + 1)), picked(static_cast<size_t>(n));
    for (int row = 0; row < h; ++row) {
      const int dy = y + row;
      if (dy < 0 || dy >= dst.height) continue;
      const int fromTop = topRow + static_cast<int>(static_cast<int64_t>(row) * sh / h);
      if (fromTop < 0 || fromTop >= src.height) continue;
      const int memoryRow = topDown ? fromTop : src.height - 1 - fromTop;
      gdi::ReadRgbRow(src, from, low, memoryRow, high - low + 1, read.data());
      if (!straight) {
        for (int i = 0; i < n; ++i) picked[static_cast<size_t>(i)] = read[static_cast<size_t>(columns[static_cast<size_t>(i)] - low)];
      }
      gdi::WriteRgbRow(dst, to, x + first, dy, n, straight ? read.data() : picked.data());
    }
  }
  Written(handle);
  return h;
}

}  // namespace

Hdc GetDC(Hwnd window) {
  if (window == 0 || !IsWindow(window)) return 0;
  SizeCanvasToWindow(window);
  Dc dc;
  dc.kind = DcKind::Window;
  dc.window = window;
  return AddDc(dc);
}

int ReleaseDC(Hwnd /*window*/, Hdc dc) { return DeleteDC(dc) ? 1 : 0; }

Hdc CreatePixelsDC(const GdiPixels& pixels, PixelsReleasedProc released, void* owner) {
  Dc dc;
  dc.kind = DcKind::Pixels;
  dc.pixels = pixels;
  dc.released = released;
  dc.owner = owner;
  return AddDc(dc);
}

Hdc CreateCompatibleDC(Hdc /*dc*/) {
  if (g_gdi.failNextMemoryDc) {
    g_gdi.failNextMemoryDc = false;
    return 0;
  }
  Dc dc;
  dc.kind = DcKind::Memory;
  dc.pixels.pixels = reinterpret_cast<uint8_t*>(&g_gdi.placeholder);
  dc.pixels.width = dc.pixels.height = 1;
  dc.pixels.pitch = 4;
  dc.pixels.bits = 32;
  dc.pixels.masks[0] = 0xFF0000;
  dc.pixels.masks[1] = 0xFF00;
  dc.pixels.masks[2] = 0xFF;
  return AddDc(dc);
}

bool DeleteDC(Hdc handle) {
  Dc* dc = FindDc(handle);
  if (dc == nullptr) return false;
  const PixelsReleasedProc released = dc->released;
  void* owner = dc->owner;
  g_gdi.dcs.erase(handle);
  --g_gdi.counters.liveDCs;
  if (released != nullptr) released(owner);
  return true;
}

HGdiObj CreateDIBSection(Hdc /*dc*/, const BitmapInfo* info, uint32_t /*usage*/, void** bits) {
  if (g_gdi.failNextDibSection) {
    g_gdi.failNextDibSection = false;
    return 0;
  }
  if (info == nullptr || info->header.width <= 0 || info->header.height == 0 || info->header.height == INT32_MIN ||
      info->header.width > 65535 || std::abs(info->header.height) > 65535)
    return 0;
  Bitmap bitmap;
  bool topDown = false;
  const int64_t pitch = ((static_cast<int64_t>(info->header.width) * info->header.bitCount + 31) / 32) * 4;
  bitmap.memory.assign(static_cast<size_t>(pitch * std::abs(info->header.height)), 0);
  std::memcpy(bitmap.palette, info->colors, sizeof bitmap.palette);
  BitmapInfo local = *info;
  if (!DibPixels(bitmap.memory.data(), &local, &bitmap.pixels, &topDown)) return 0;
  const HGdiObj handle = g_gdi.nextHandle++;
  Bitmap& kept = g_gdi.bitmaps[handle] = std::move(bitmap);
  kept.pixels.pixels = kept.memory.data();
  if (kept.pixels.bits == 8) kept.pixels.palette = kept.palette;
  if (!topDown) {  // rows run upward in memory: show them top first
    kept.pixels.pixels += static_cast<std::ptrdiff_t>(kept.pixels.pitch) * (kept.pixels.height - 1);
    kept.pixels.pitch = -kept.pixels.pitch;
  }
  ++g_gdi.counters.liveObjects;
  if (bits != nullptr) *bits = kept.memory.data();
  return handle;
}

HGdiObj CreateCompatibleBitmap(Hdc dc, int width, int height) {
  GdiPixels like;
  if (!StoreOf(dc, &like) || width <= 0 || height <= 0) return 0;
  BitmapInfo info;
  info.header.width = width;
  info.header.height = -height;
  info.header.bitCount = static_cast<uint16_t>(like.bits);
  info.header.compression = like.bits == 16 || like.bits == 32 ? BI_BITFIELDS : BI_RGB;
  if (like.bits == 8 && like.palette != nullptr) std::memcpy(info.colors, like.palette, 1024);
  else std::memcpy(info.colors, like.masks, sizeof like.masks);
  return CreateDIBSection(dc, &info, DIB_RGB_COLORS, nullptr);
}

HGdiObj SelectObject(Hdc handle, HGdiObj object) {
  Dc* dc = FindDc(handle);
  if (dc != nullptr && gdi::IsLiveFont(reinterpret_cast<gdi::FontObject*>(object))) {
    const HGdiObj previous = dc->font;
    dc->font = object;
    return previous != 0 ? previous : 1;
  }
  // 1 stands for the placeholder picture: selecting it back frees the bitmap.
  if (dc == nullptr || dc->kind != DcKind::Memory || (object != 1 && g_gdi.bitmaps.count(object) == 0)) return 0;
  const HGdiObj previous = dc->bitmap;
  dc->bitmap = object == 1 ? 0 : object;
  return previous != 0 ? previous : 1;
}

bool DeleteObject(HGdiObj object) {
  if (gdi::IsLiveFont(reinterpret_cast<gdi::FontObject*>(object))) {
    for (auto& [h, dc] : g_gdi.dcs) {
      if (dc.font == object) return false;
    }
    return gdi::DeleteFontObject(reinterpret_cast<gdi::FontObject*>(object));
  }
  if (g_gdi.bitmaps.count(object) == 0) return false;
  for (auto& [h, dc] : g_gdi.dcs) {
    if (dc.bitmap == object) return false;  // still selected
  }
  g_gdi.bitmaps.erase(object);
  --g_gdi.counters.liveObjects;
  return true;
}

namespace {

// The DC's font, or a stock font made on first need (freed with the stand-in).
gdi::Hfont FontOfDc(Hdc handle) {
  const Dc* dc = FindDc(handle);
  if (dc == nullptr) return nullptr;
  auto* font = reinterpret_cast<gdi::FontObject*>(dc->font);
  if (gdi::IsLiveFont(font)) return font;
  if (!gdi::IsLiveFont(g_gdi.stockFont)) {
    g_gdi.stockFont = gdi::CreateFontA(16, 0, 0, 0, gdi::FW_NORMAL, 0, 0, 0, gdi::SHIFTJIS_CHARSET, 0, 0, 0, 0,
                                       nullptr);
  }
  return g_gdi.stockFont;
}

}  // namespace

bool GetTextMetricsA(Hdc dc, gdi::TextMetricA* out) { return gdi::GetTextMetricsForFont(FontOfDc(dc), out); }

uint32_t GetGlyphOutlineA(Hdc dc, uint32_t code, uint32_t format, gdi::GlyphMetrics* metrics, uint32_t bufferSize,
                          void* buffer, const gdi::Mat2* matrix) {
  if (g_gdi.glyphOutlinesBeforeFailure >= 0 && g_gdi.glyphOutlinesBeforeFailure-- == 0) return gdi::GDI_ERROR;
  const uint32_t size = gdi::GetGlyphOutlineForFont(FontOfDc(dc), code, format, metrics, bufferSize, buffer, matrix);
  if (g_gdi.nextReportedGlyphSize != 0 && size != gdi::GDI_ERROR && (buffer == nullptr || bufferSize == 0)) {
    const uint32_t reported = g_gdi.nextReportedGlyphSize;
    g_gdi.nextReportedGlyphSize = 0;
    return reported;
  }
  return size;
}

bool BitBlt(Hdc destination, int x, int y, int width, int height, Hdc source, int sx, int sy, uint32_t rop) {
  ++g_gdi.counters.bitBlts;
  if (g_gdi.failNextBitBlt) {
    g_gdi.failNextBitBlt = false;
    return false;
  }
  GdiPixels dst, src;
  if (rop != SRCCOPY || !StoreOf(destination, &dst) || !StoreOf(source, &src)) return false;
  // Cut to both stores.
  if (x < 0) { sx -= x; width += x; x = 0; }
  if (y < 0) { sy -= y; height += y; y = 0; }
  if (sx < 0) { x -= sx; width += sx; sx = 0; }
  if (sy < 0) { y -= sy; height += sy; sy = 0; }
  if (width > dst.width - x) width = dst.width - x;
  if (width > src.width - sx) width = src.width - sx;
  if (height > dst.height - y) height = dst.height - y;
  if (height > src.height - sy) height = src.height - sy;
  CopyBlock(dst, x, y, src, sx, sy, width, height);
  Written(destination);
  return true;
}

int StretchDIBits(Hdc dc, int x, int y, int width, int height, int sourceX, int sourceY, int sourceWidth,
                  int sourceHeight, const void* bits, const BitmapInfo* info, uint32_t /*usage*/, uint32_t rop) {
  ++g_gdi.counters.stretchDIBits;
  if (rop != SRCCOPY) return 0;
  return DibToDc(dc, x, y, width, height, sourceX, sourceY, sourceWidth, sourceHeight, bits, info);
}

int SetDIBitsToDevice(Hdc dc, int x, int y, uint32_t width, uint32_t height, int sourceX, int sourceY,
                      uint32_t startScan, uint32_t lines, const void* bits, const BitmapInfo* info,
                      uint32_t /*usage*/) {
  ++g_gdi.counters.setDIBitsToDevice;
  if (g_gdi.failNextSetDIBits) {
    g_gdi.failNextSetDIBits = false;
    return 0;
  }
  if (startScan != 0 || info == nullptr || bits == nullptr || info->header.height == INT32_MIN ||
      lines < static_cast<uint32_t>(std::abs(info->header.height)) || width > 65535 || height > 65535 ||
      info->header.width <= 0 || info->header.width > 65535 || std::abs(info->header.height) > 65535)
    return 0;
  const BitmapInfoHeader& h = info->header;
  const int w = static_cast<int>(width), hh = static_cast<int>(height);
  // Every layout goes through the one row converter into top-down rows of
  // 0x00RRGGBB words, which the transfer then draws like any 32-bit 8:8:8
  // DIB (the colours a 24-bit DIB of the same rows would give).
  gdi::DibRowsInfo rows{};
  rows.width = h.width;
  rows.height = h.height;
  rows.bitCount = h.bitCount;
  rows.compression = h.compression;
  std::memcpy(rows.masks, info->colors, sizeof rows.masks);
  rows.palette = reinterpret_cast<const uint8_t*>(info->colors);
  rows.paletteCount = 256;
  const int64_t rowBytes = gdi::DibRowBytes(h.width, h.bitCount);
  const int64_t lastRow = (static_cast<int64_t>(h.width) * h.bitCount + 7) / 8;
  const int64_t height64 = std::abs(h.height);
  BitmapInfo rgb;
  rgb.header.width = h.width;
  rgb.header.bitCount = 32;
  const int32_t pitch = static_cast<int32_t>(static_cast<int64_t>(h.width) * 4);
  std::vector<uint8_t> converted(static_cast<size_t>(pitch * height64));
  if (rowBytes <= 0 || gdi::ConvertDibRowsToXrgb(rows, static_cast<const uint8_t*>(bits),
                                                 static_cast<size_t>(rowBytes * (height64 - 1) + lastRow),
                                                 converted.data(), pitch) != 0)
    return 0;
  rgb.header.height = -static_cast<int32_t>(height64);
  return DibToDc(dc, x, y, w, hh, sourceX, sourceY, w, hh, converted.data(), &rgb) != 0 ? static_cast<int>(lines)
                                                                                         : 0;
}

int GetObjectA(HGdiObj object, int size, void* out) {
  const auto it = g_gdi.bitmaps.find(object);
  if (it == g_gdi.bitmaps.end() || out == nullptr || size < static_cast<int>(sizeof(BitmapObject))) return 0;
  const GdiPixels& p = it->second.pixels;
  BitmapObject o;
  o.width = p.width;
  o.height = p.height;
  o.widthBytes = p.pitch < 0 ? -p.pitch : p.pitch;
  o.bitsPixel = static_cast<uint16_t>(p.bits);
  o.bits = it->second.memory.data();
  std::memcpy(out, &o, sizeof o);
  return static_cast<int>(sizeof o);
}

int GetDIBits(Hdc /*dc*/, HGdiObj bitmap, uint32_t startScan, uint32_t lines, void* bits, BitmapInfo* info,
              uint32_t /*usage*/) {
  const auto it = g_gdi.bitmaps.find(bitmap);
  GdiPixels dst;
  bool topDown = false;
  if (it == g_gdi.bitmaps.end() || !DibPixels(bits, info, &dst, &topDown)) return 0;
  const GdiPixels& src = it->second.pixels;
  if (dst.width != src.width || dst.height != src.height) return 0;
  const gdi::RowLayout from = gdi::RowLayoutOf(src), to = gdi::RowLayoutOf(dst);
  std::vector<uint32_t> row(static_cast<size_t>(src.width));
  int done = 0;
  for (uint32_t i = 0; i < lines; ++i) {
    const int fromBottom = static_cast<int>(startScan + i);
    if (fromBottom >= src.height) break;
    const int fromTop = src.height - 1 - fromBottom;
    const int memoryRow = topDown ? fromTop : fromBottom;
    gdi::ReadRgbRow(src, from, 0, fromTop, src.width, row.data());
    gdi::WriteRgbRow(dst, to, 0, memoryRow, src.width, row.data());
    ++done;
  }
  return done;
}

bool GdiFlush() { return true; }

bool GetDCPixels(Hdc dc, GdiPixels* out) { return StoreOf(dc, out); }

GdiCounters GetGdiCounters() { return g_gdi.counters; }
void FailNextBitBlt() { g_gdi.failNextBitBlt = true; }
void FailNextCreateDIBSection() { g_gdi.failNextDibSection = true; }
void FailNextSetDIBitsToDevice() { g_gdi.failNextSetDIBits = true; }
void FailNextCreateCompatibleDC() { g_gdi.failNextMemoryDc = true; }
void FailGlyphOutlineAfter(int calls) { g_gdi.glyphOutlinesBeforeFailure = calls; }
void ReportNextGlyphOutlineSize(uint32_t size) { g_gdi.nextReportedGlyphSize = size; }

void ResetGdiStandIn() {
  if (gdi::IsLiveFont(g_gdi.stockFont)) gdi::DeleteFontObject(g_gdi.stockFont);
  g_gdi = GdiState{};
}

}  // namespace plat
