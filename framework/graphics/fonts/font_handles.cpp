// Font handles: the table of 40 fonts, creating and releasing them, the
// default font, and re-creating fonts after the display was lost or the
// graphics restarted.
#include "framework/graphics/fonts/font_handles.h"

#include <algorithm>
#include <cstring>

#include "framework/core/log.h"
#include "framework/core/memory.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_load.h"
#include "framework/graphics/screen/screen.h"
#include "framework/graphics/surfaces/surface_2d.h"
#include "platform/gdi/gdi.h"
#include "platform/kernel/text_encoding.h"
#include "platform/window/window.h"

namespace qor {

namespace {

FontTableState g_fontTable;

constexpr uint32_t kCharSetValues[3] = {plat::gdi::DEFAULT_CHARSET, plat::gdi::SHIFTJIS_CHARSET,
                                        plat::gdi::HANGUL_CHARSET};

void ClearDefaults(FontDefaults* d) {
  *d = FontDefaults{};
  d->size = 16;
  d->thickness = 6;
  d->type = 0;
  d->charSet = 1;
  d->edgeSize = 1;
}

// Copies a CP932 text into `out` (capacity bytes, zero included), never
// ending on half a double-byte character.
void CopyFaceName(char* out, size_t capacity, const char* name) {
  if (capacity == 0) return;
  size_t n = 0;
  if (name != nullptr) {
    while (name[n] != '\0') {
      const size_t step = plat::IsCp932Lead(static_cast<uint8_t>(name[n])) && name[n + 1] != '\0' ? 2 : 1;
      if (n + step > capacity - 1) break;
      n += step;
    }
    std::memcpy(out, name, n);
  }
  out[n] = '\0';
}

bool DirectDrawMissing() {
  const ScreenState& s = GetScreenState();
  return !s.directDrawUnusable && s.directDraw == nullptr;
}

int32_t SlotOf(int32_t handle) { return handle & 0xFFFF; }

plat::gdi::Hfont MakeGdiFont(const char* face, int32_t size, int32_t thickness, int32_t italic, uint32_t charSet) {
  return plat::gdi::CreateFontA(size, 0, 0, 0, thickness * 100, static_cast<uint32_t>(italic), 0, 0, charSet, 0, 0,
                                plat::gdi::NONANTIALIASED_QUALITY, plat::gdi::FIXED_PITCH, face);
}

// The GDI font with its fall-backs; null with the message logged.
plat::gdi::Hfont OpenGdiFont(const FontRecord& f) {
  const uint32_t charSet = kCharSetValues[f.charSet];
  plat::gdi::Hfont font = nullptr;
  if (f.faceName[0] != '\0') {
    font = MakeGdiFont(f.faceName, f.size, f.thickness, f.italic, charSet);
    if (font == nullptr) font = MakeGdiFont(f.faceName, f.size, f.thickness, f.italic, plat::gdi::DEFAULT_CHARSET);
    if (font == nullptr) font = MakeGdiFont(f.faceName, f.size, f.thickness, f.italic, plat::gdi::SHIFTJIS_CHARSET);
    if (font == nullptr) LogOutput("指定のフォントの作成に失敗しました\n");
    return font;
  }
  font = MakeGdiFont("ＭＳ ゴシック", f.size, f.thickness, f.italic, charSet);
  if (font == nullptr) font = MakeGdiFont("ＭＳ ゴシック", f.size, f.thickness, f.italic, plat::gdi::DEFAULT_CHARSET);
  if (font == nullptr) font = MakeGdiFont(nullptr, f.size, f.thickness, f.italic, plat::gdi::DEFAULT_CHARSET);
  if (font == nullptr) LogOutput("フォントの作成に失敗しました\n");
  return font;
}

void DropTextureCache(FontRecord* f) {
  if (f->cacheGraph != -1 && !f->cacheGraphLost) {
    RegisterGraphDiedFlag(f->cacheGraph, nullptr);
    DestroyGraph(f->edgeGraph, 0);
    DestroyGraph(f->cacheGraph, 0);
  }
  f->cacheGraph = f->edgeGraph = -1;
  f->cacheGraphLost = 1;
}

void FreeRecord(int32_t slot) {
  FontRecord* f = g_fontTable.fonts[slot];
  if (f == nullptr) return;
  DropTextureCache(f);
  FreeGraphImage(&f->glyphImage);
  if (f->workSurface != -1) DeleteSurface2D(f->workSurface);
  if (f->gdiFont != nullptr) plat::DeleteObject(plat::FontObjectHandle(f->gdiFont));
  if (f->memoryCache != nullptr) FreeMemory(f->memoryCache);
  if (f->lostFlag != nullptr) *f->lostFlag = 1;
  FreeMemory(f);
  g_fontTable.fonts[slot] = nullptr;
}

// Measures the font: height and cell as the cache lays glyphs out.
bool MeasureFont(FontRecord* f) {
  const plat::Hdc dc = plat::CreateCompatibleDC(0);
  if (dc == 0) {
    LogOutput("ＤＣの取得に失敗しました\n");
    return false;
  }
  plat::SelectObject(dc, plat::FontObjectHandle(f->gdiFont));
  plat::gdi::TextMetricA tm;
  const bool ok = plat::GetTextMetricsA(dc, &tm);
  plat::DeleteDC(dc);
  if (!ok) return false;
  const int32_t edge2 = (f->type & kFontTypeEdged) ? 2 * f->edgeSize : 0;
  f->ascent = tm.tmAscent;
  f->height = (tm.tmHeight + edge2 + 1) & ~1;
  f->cell = (tm.tmMaxCharWidth + 2 + edge2 + 7) & ~7;
  if (f->cell < f->height) f->cell = f->height;
  return true;
}

int MakeWorkSurface(FontRecord* f, int32_t slot) {
  int32_t w = 0, h = 0, bits = 0;
  QueryScreenState(&w, &h, &bits);
  SurfaceFlags flags{};
  flags.colorBits = static_cast<uint8_t>(bits == 16 ? 16 : 32);
  flags.alpha = (f->type & kFontTypeAntialiased) ? 1 : 0;
  flags.systemMemory = 1;  // a memory image the text is written into
  flags.drawable = 1;
  f->workSurface = AddSurface2D(w > 0 ? w : 640, h > 0 ? h : 480, 0, 0, kFontHandleTag | slot, nullptr, 0, 0, &flags);
  if (f->workSurface == -1) return -1;
  f->workSurfaceLost = 0;
  RegisterSurface2DDiedFlag(f->workSurface, &f->workSurfaceLost);
  return 0;
}

// Direct3D draws, the software renderer does not, and the 16-bit texel
// formats with 4-bit and 1-bit alpha are there.
bool TextureCacheWanted() {
  const ScreenState& s = GetScreenState();
  const D3DGlobals& d = GetD3D();
  if (!s.direct3DInUse || s.softwareRendering || !d.object) return false;
  const PixelFormatInfo& aa = *GetTexturePixelFormatInfo(kTexAlpha4444);
  const PixelFormatInfo& key = *GetTexturePixelFormatInfo(kTexAlphaTest1555);
  return aa.bitDepth == 16 && aa.widths[3] == 4 && key.bitDepth == 16 && key.widths[3] == 1;
}

// The texture cache's size: from 512 x 512, the smaller side doubled until
// ten cells fit. The capacity, or 0 when the cache would be too large.
int32_t SizeTextureCache(FontRecord* f) {
  int64_t w = 512, h = 512;
  auto cells = [&] { return (w / f->cell) * (h / f->cell); };
  while (cells() < 10) {
    if (w > h) h *= 2;
    else w *= 2;
    if (w > 8192 || h > 8192) return 0;
  }
  f->cacheWidth = static_cast<int32_t>(w);
  f->cacheHeight = static_cast<int32_t>(h);
  f->glyphsPerColumn = static_cast<int32_t>(h / f->cell);
  return static_cast<int32_t>(std::min<int64_t>(cells(), kFontGlyphSlots));
}

// The glyph image: one cell of 16-bit texels (two side by side when edged,
// and then the edge's width again above and below).
int MakeGlyphImage(FontRecord* f) {
  const bool aa = (f->type & kFontTypeAntialiased) != 0, edged = (f->type & kFontTypeEdged) != 0;
  GraphImage& g = f->glyphImage;
  g.format = *GetTexturePixelFormatInfo(aa ? kTexAlpha4444 : kTexAlphaTest1555);
  g.width = edged ? 2 * f->cell : f->cell;
  g.height = edged ? f->cell + 2 * f->edgeSize : f->cell;
  g.pitch = PaddedImagePitch(2, g.width);
  g.pixels = static_cast<uint8_t*>(AllocMemoryZeroed(static_cast<size_t>(g.pitch) * g.height, __FILE__, __LINE__));
  return g.pixels != nullptr ? 0 : -1;
}

// Makes the texture cache graph (and its edge half) anew: 16-bit texels,
// alpha channel for antialiased fonts, alpha test otherwise, all white at
// alpha 0. The caller's settings for new graphs are kept.
int MakeTextureCache(FontRecord* f) {
  DrawState& ds = GetDrawState();
  const DrawState kept = ds;
  const bool aa = (f->type & kFontTypeAntialiased) != 0, edged = (f->type & kFontTypeEdged) != 0;
  ds.newGraphColorBits = 16;
  ds.use3DGraphs = 1;
  ds.newGraphDrawable = 0;
  ds.newGraphAlpha = aa ? 1 : 0;
  ds.newGraphAlphaTest = aa ? 0 : 1;
  ds.newGraphSystemMemory = 0;
  ds.newGraphTextureOption = 0;
  const int32_t graph = CreateBlankGraph(edged ? 2 * f->cacheWidth : f->cacheWidth, f->cacheHeight, 0);
  const int32_t edge = graph != -1 && edged ? CarveSubGraph(f->cacheWidth, 0, f->cacheWidth, f->cacheHeight, graph) : -1;
  ds.newGraphColorBits = kept.newGraphColorBits;
  ds.use3DGraphs = kept.use3DGraphs;
  ds.newGraphDrawable = kept.newGraphDrawable;
  ds.newGraphAlpha = kept.newGraphAlpha;
  ds.newGraphAlphaTest = kept.newGraphAlphaTest;
  ds.newGraphSystemMemory = kept.newGraphSystemMemory;
  ds.newGraphTextureOption = kept.newGraphTextureOption;
  const GraphRecord* record = LookupGraph(graph);
  if (record == nullptr || !record->is3D || (edged && edge == -1)) {
    DestroyGraph(edge, 0);
    DestroyGraph(graph, 0);
    return -1;
  }
  f->cacheGraph = graph;
  f->edgeGraph = edge;
  f->cacheGraphLost = 0;
  RegisterGraphDiedFlag(graph, &f->cacheGraphLost);
  FillGraphPieces3D(LookupGraph(graph), 255, 255, 255, 0);
  return 0;
}

bool InRange(int32_t v, int32_t lo, int32_t hi) { return v == -1 || (v >= lo && v <= hi); }

}  // namespace

FontTableState& GetFontTableState() { return g_fontTable; }

void ResetFontModule() {
  for (int32_t i = 0; i < kFontMax; ++i) FreeRecord(i);
  g_fontTable = FontTableState{};
  g_fontTable.defaultHandle = -1;
  ClearDefaults(&g_fontTable.defaults);
}

FontRecord* GetFontRecord(int32_t handle) {
  if ((handle & 0x78000000) != kFontHandleTag) return nullptr;
  const int32_t slot = SlotOf(handle);
  if (slot >= kFontMax) return nullptr;
  FontRecord* f = g_fontTable.fonts[slot];
  if (f == nullptr || f->check != static_cast<uint32_t>((handle >> 16) & 0x7FF)) return nullptr;
  return f;
}

int IsValidFontHandle(int32_t value) { return GetFontRecord(value) != nullptr ? 1 : 0; }

int32_t CreateFontHandle(const char* faceName, int32_t size, int32_t thickness, int32_t type, int32_t charSet,
                         int32_t edgeSize, int32_t italic, int32_t slot, int32_t check) {
  if (DirectDrawMissing()) return -1;
  if (type == -1) type = 0;
  if (edgeSize > 1) type |= kFontTypeEdged;
  if (size == -1) size = 16;
  if (thickness == -1) thickness = 6;
  if (edgeSize == -1) edgeSize = 1;
  if (charSet == -1) charSet = plat::GetOEMCP() == 949 ? 2 : 1;
  if (!InRange(slot, 0, kFontMax - 1) || !InRange(check, 0, kFontCheckLimit - 1) || size < 1 ||
      size > kFontSizeMax || edgeSize < 0 || edgeSize > kFontEdgeMax || thickness < 0 || thickness > 9 ||
      type < 0 || type > 3 || charSet < 0 || charSet > 2) {
    return -1;
  }
  if (slot != -1) {
    if (g_fontTable.fonts[slot] != nullptr) return -1;
  } else {
    for (int32_t i = 0; i < kFontMax && slot == -1; ++i) {
      if (g_fontTable.fonts[i] == nullptr) slot = i;
    }
    if (slot == -1) {
      LogPrintf("作成できるフォントハンドル数 %d の限界を超えました", kFontMax);
      return -1;
    }
  }
  auto* f = static_cast<FontRecord*>(AllocMemoryZeroed(sizeof(FontRecord), __FILE__, __LINE__));
  if (f == nullptr) {
    LogOutput("フォント管理用メモリ領域の確保に失敗しました\n");
    return -1;
  }
  g_fontTable.fonts[slot] = f;
  int32_t bits = 0;
  QueryScreenState(nullptr, nullptr, &bits);
  if (bits == 8) type &= ~static_cast<int32_t>(kFontTypeAntialiased);
  if (check == -1) {
    check = g_fontTable.checkCounter;
    g_fontTable.checkCounter = (g_fontTable.checkCounter + 1) % kFontCheckLimit;
  }
  f->check = static_cast<uint32_t>(check);
  f->workSurface = -1;
  f->cacheGraph = f->edgeGraph = -1;
  f->cacheGraphLost = 1;
  CopyFaceName(f->faceName, sizeof f->faceName, faceName);
  f->size = size;
  f->thickness = thickness;
  f->italic = italic != 0 ? 1 : 0;
  f->type = static_cast<uint32_t>(type);
  f->charSet = charSet;
  f->edgeSize = edgeSize;
  f->gdiFont = OpenGdiFont(*f);
  if (f->gdiFont == nullptr || !MeasureFont(f)) {
    FreeRecord(slot);
    return -1;
  }
  int64_t capacity = TextureCacheWanted() ? SizeTextureCache(f) : 0;
  if (capacity > 0) {
    f->capacity = static_cast<int32_t>(capacity);
    if (MakeTextureCache(f) == 0) {
      f->textureCache = 1;
      if (MakeGlyphImage(f) != 0) {
        LogOutput("文字キャッシュ処理用メモリの確保に失敗しました\n");
        FreeRecord(slot);
        return -1;
      }
    } else {
      LogOutput("テクスチャ文字キャッシュの作成に失敗しました\n");
    }
  }
  if (!f->textureCache) {
    const int64_t cellArea = static_cast<int64_t>(f->cell) * f->cell;
    capacity = 0x50000 / cellArea;
    if (capacity < 20) capacity = 20;
    if (capacity > kFontGlyphSlots) capacity = kFontGlyphSlots;
    f->capacity = static_cast<int32_t>(capacity);
    f->cacheWidth = f->cell;
    f->cacheHeight = f->capacity * f->cell;
    f->glyphsPerColumn = f->capacity;
  }
  // The memory cache backs both: the texture cells are made from its cells.
  f->memoryBits = type == 0 ? 1 : 8;
  f->memoryRowBytes = (f->cell * f->memoryBits + 7) / 8;
  const int64_t bytes = static_cast<int64_t>(f->capacity) * f->cell * f->memoryRowBytes;
  f->memoryCache = static_cast<uint8_t*>(AllocMemoryZeroed(static_cast<size_t>(bytes), __FILE__, __LINE__));
  if (f->memoryCache == nullptr) {
    LogOutput("フォントのキャッシュ用メモリの確保に失敗しました in CreateFontHandle");
    FreeRecord(slot);
    return -1;
  }
  if (MakeWorkSurface(f, slot) != 0) {
    LogOutput("フォント用描画スクリーンの作成に失敗しました\n");
    FreeRecord(slot);
    return -1;
  }
  const int32_t handle = static_cast<int32_t>((static_cast<uint32_t>(check) | 0x2000u) << 16) | slot;
  ResetFontCache(handle);
  f->lostFlag = nullptr;
  return handle;
}

int ReleaseFontHandle(int32_t handle) {
  if (GetFontRecord(handle) == nullptr) return -1;
  FreeRecord(SlotOf(handle));
  return 0;
}

int QueryFontSize(int32_t handle) {
  const FontRecord* f = GetFontRecord(handle);
  return f != nullptr ? f->size : -1;
}

int GetFontParams(char* name, int32_t nameCapacity, int32_t* size, int32_t* thickness, int32_t handle) {
  const FontRecord* f = GetFontRecord(handle);
  if (f == nullptr) return -1;
  if (name != nullptr && nameCapacity > 0) CopyFaceName(name, static_cast<size_t>(nameCapacity), f->faceName);
  if (size != nullptr) *size = f->size;
  if (thickness != nullptr) *thickness = f->thickness;
  return 0;
}

int SetFontAdvanceExtra(int32_t pixels, int32_t handle) {
  FontRecord* f = GetFontRecord(handle);
  if (f == nullptr) return -1;
  f->extraAdvance = pixels;
  return 0;
}

int RegisterFontLostFlag(int32_t handle, int32_t* flag) {
  FontRecord* f = GetFontRecord(handle);
  if (f == nullptr) return -1;
  f->lostFlag = flag;
  if (flag != nullptr) *flag = 0;
  return 0;
}

int32_t GetStandardFontHandle() { return g_fontTable.defaultHandle; }

int RebuildFontCacheSurface(int32_t handle) {
  FontRecord* f = GetFontRecord(handle);
  if (f == nullptr) return -1;
  if (f->workSurfaceLost || f->workSurface == -1) {
    if (f->workSurface != -1 && LookupSurface2D(f->workSurface) != nullptr) DeleteSurface2D(f->workSurface);
    f->workSurface = -1;
    if (MakeWorkSurface(f, SlotOf(handle)) != 0) return -1;
  }
  if (f->textureCache && f->cacheGraphLost) {
    DropTextureCache(f);
    if (MakeTextureCache(f) != 0) return -1;
    ResetFontCache(handle);
  }
  return 0;
}

// The handle stays valid, so whoever registered a lost flag keeps it unset:
// nothing they hold was lost.
int RecreateAllFonts() {
  for (int32_t slot = 0; slot < kFontMax; ++slot) {
    FontRecord* f = g_fontTable.fonts[slot];
    if (f == nullptr) continue;
    char face[kFontFaceNameSize];
    std::memcpy(face, f->faceName, sizeof face);
    const FontRecord keep = *f;
    const int32_t handle = static_cast<int32_t>((keep.check | 0x2000u) << 16) | slot;
    f->lostFlag = nullptr;
    ReleaseFontHandle(handle);
    const int32_t again = CreateFontHandle(face, keep.size, keep.thickness, static_cast<int32_t>(keep.type),
                                           keep.charSet, keep.edgeSize, keep.italic, slot,
                                           static_cast<int32_t>(keep.check));
    if (again == -1) {
      if (keep.lostFlag != nullptr) *keep.lostFlag = 1;
      continue;
    }
    SetFontAdvanceExtra(keep.extraAdvance, again);
    g_fontTable.fonts[slot]->lostFlag = keep.lostFlag;
  }
  return 0;
}

int ApplyDefaultFont() {
  const FontDefaults& d = g_fontTable.defaults;
  const FontRecord* f = GetFontRecord(g_fontTable.defaultHandle);
  if (f != nullptr && std::strcmp(f->faceName, d.faceName) == 0 && f->type == d.type && f->size == d.size &&
      f->thickness == d.thickness && f->charSet == d.charSet && f->edgeSize == d.edgeSize && f->italic == d.italic) {
    return 0;
  }
  ReleaseFontHandle(g_fontTable.defaultHandle);
  g_fontTable.defaultHandle =
      CreateFontHandle(d.faceName, d.size, d.thickness, static_cast<int32_t>(d.type), d.charSet,
                       (d.type & kFontTypeEdged) ? d.edgeSize : -1, d.italic, -1, -1);
  SetFontAdvanceExtra(d.extraAdvance, g_fontTable.defaultHandle);
  return 0;
}

int SetStandardFontSize(int32_t size, int32_t thickness) {
  if (size == -1) size = 16;
  if (thickness == -1) thickness = 6;
  if (size < 1 || size > kFontSizeMax || thickness < 0 || thickness > 9) return -1;
  g_fontTable.defaults.size = size;
  g_fontTable.defaults.thickness = thickness;
  return ApplyDefaultFont();
}

int InitFontModule() {
  if (DirectDrawMissing()) return -1;
  g_fontTable.textDrawingOff = 0;
  LogOutput("フォントの初期化を行います\n");
  IncreaseLogIndent();
  FontDefaults remembered = g_fontTable.defaults;
  const FontRecord* standard = GetFontRecord(g_fontTable.defaultHandle);
  const bool had = standard != nullptr;
  if (had) {
    std::memcpy(remembered.faceName, standard->faceName, sizeof remembered.faceName);
    remembered.size = standard->size;
    remembered.thickness = standard->thickness;
    remembered.type = standard->type;
    remembered.charSet = standard->charSet;
    remembered.edgeSize = standard->edgeSize;
    remembered.italic = standard->italic;
  }
  for (int32_t i = 0; i < kFontMax; ++i) FreeRecord(i);
  g_fontTable.defaultHandle =
      had ? CreateFontHandle(remembered.faceName, remembered.size, remembered.thickness,
                             static_cast<int32_t>(remembered.type), remembered.charSet, remembered.edgeSize,
                             remembered.italic, -1, -1)
          : CreateFontHandle(nullptr, 16, 6, -1, -1, -1, -1, -1, -1);
  DecreaseLogIndent();
  LogOutput("フォントの初期化は正常に終了しました\n");
  return 0;
}

int ResetFontSystem() {
  for (int32_t i = 0; i < kFontMax; ++i) FreeRecord(i);
  g_fontTable.defaultHandle = -1;
  ClearDefaults(&g_fontTable.defaults);
  InitFontModule();
  return 0;
}

// Graphics end: no font stays, also when the screen is already gone and
// the module cannot start again.
int ReinitFontSystem() {
  InitFontModule();
  for (int32_t i = 0; i < kFontMax; ++i) FreeRecord(i);
  g_fontTable.defaultHandle = -1;
  g_fontTable.textDrawingOff = 1;
  return 0;
}

bool IsTextDrawingOff() { return g_fontTable.textDrawingOff != 0; }

}  // namespace qor
