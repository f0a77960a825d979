#include "framework/graphics/surfaces/surface_2d.h"

#include <algorithm>
#include <cstring>

#include "framework/core/log.h"
#include "framework/core/memory.h"
#include "framework/graphics/images/convert_pixels.h"
#include "framework/graphics/screen/dib_section.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/handle_table.h"
#include "framework/graphics/screen/screen.h"
#include "framework/graphics/screen/screen_size.h"
#include "framework/softrender/blend_tables.h"

namespace qor {

namespace {

struct PieceTable {
  HandleTable table;
  void* slots[kSurface2DHandleMax];
};

PieceTable g_pieces;
bool g_piecesReady = false;

HandleTable* Table() {
  if (!g_piecesReady) ResetSurface2DTable();
  return &g_pieces.table;
}

SurfaceFlags FlagsOf(const GraphRecord* g) {
  return SurfaceFlags{g->is3D, g->alpha, g->drawable, g->systemMemory, g->textureOption, g->alphaTest,
                      g->colorBits, g->memImageOption, g->paletteSource};
}

template <typename Fn>
void ForEachPiece(Fn fn) {
  HandleTable* t = Table();
  for (int32_t slot = 0; slot < t->usedEnd; ++slot) {
    const int32_t handle = HandleOfSlot(t, slot);
    if (handle != -1) fn(handle);
  }
}

}  // namespace

void ResetSurface2DTable() {
  if (g_piecesReady) ForEachPiece([](int32_t h) { DeleteSurface2D(h); });
  InitHandleTable(&g_pieces.table, kSurface2DHandleTag, kSurface2DHandleMax, g_pieces.slots);
  g_piecesReady = true;
}

Surface2DPiece* LookupSurface2D(int32_t handle) {
  return static_cast<Surface2DPiece*>(LookupHandleEntry(Table(), handle));
}

int32_t AddSurface2D(int32_t width, int32_t height, int32_t graphX, int32_t graphY, int32_t owner,
                     const Surface2DPiece* share, int32_t sharedX, int32_t sharedY, const SurfaceFlags* flags) {
  const ScreenState& s = GetScreenState();
  if (s.directDraw == nullptr && !s.directDrawUnusable) {
    LogOutput("Qorlibが初期化されていません\n");
    return -1;
  }
  HandleTable* t = Table();
  if (IsHandleTableFull(t)) {
    LogOutput("２Ｄグラフィックの量が許容量を越えました\n");
    return -1;
  }
  if (width < 1 || height < 1 || width > kSurfaceSizeMax || height > kSurfaceSizeMax) return -1;
  auto* piece = static_cast<Surface2DPiece*>(AllocMemoryZeroed(sizeof(Surface2DPiece), __FILE__, __LINE__));
  if (piece == nullptr) {
    LogOutput("メモリの確保に失敗しました in AddSurface2D \n");
    return -1;
  }
  if (share != nullptr) {
    if (AddSurfaceDataRef(share->surfaceData) < 0) {
      FreeMemory(piece);
      return -1;
    }
    piece->surfaceData = share->surfaceData;
  } else {
    piece->surfaceData = AddSurfaceData(1, width, height, GetDrawState().transparentColor, flags);
    if (piece->surfaceData < 0) {
      LogOutput("メモリの確保に失敗しました in AddSurface2D \n");
      FreeMemory(piece);
      return -1;
    }
  }
  piece->graphX = static_cast<uint16_t>(graphX);
  piece->graphY = static_cast<uint16_t>(graphY);
  piece->surfaceX = static_cast<uint16_t>(sharedX);
  piece->surfaceY = static_cast<uint16_t>(sharedY);
  piece->width = static_cast<uint16_t>(width);
  piece->height = static_cast<uint16_t>(height);
  piece->owner = owner;
  const int32_t handle = AddHandleEntry(t, piece);
  if (handle < 0) {
    if (ReleaseSurfaceDataRef(piece->surfaceData) == 0) DeleteSurfaceData(piece->surfaceData);
    FreeMemory(piece);
  }
  return handle;
}

// A bad handle has no record to keep the flag in.
int RegisterSurface2DDiedFlag(int32_t handle, int32_t* flag) {
  Surface2DPiece* p = LookupSurface2D(handle);
  if (p == nullptr) return -1;
  p->diedFlag = flag;
  if (flag != nullptr) *flag = 0;
  return 0;
}

int CreateGraphSurface2D(GraphRecord* graph) {
  const SurfaceFlags flags = FlagsOf(graph);
  const int32_t piece = AddSurface2D(graph->width, graph->height, 0, 0, graph->handle, nullptr, 0, 0, &flags);
  if (piece < 0) return -1;
  graph->pieceHandles[0] = piece;
  graph->pieceCount = 1;
  return 0;
}

// The carve sits at the parent piece's own surface position plus (x, y), so a
// carve of a carve shows the pixels its reload record names; a rectangle
// outside the parent piece is refused.
int DeriveGraphSurface2D(GraphRecord* graph, int32_t x, int32_t y, int32_t width, int32_t height,
                         const GraphRecord* parent) {
  if (parent == nullptr || parent->pieceCount < 1) return -1;
  const Surface2DPiece* share = LookupSurface2D(parent->pieceHandles[0]);
  if (share == nullptr) return -1;
  if (x < 0 || y < 0 || width < 1 || height < 1 || x > share->width - width || y > share->height - height) return -1;
  const SurfaceFlags flags = FlagsOf(graph);
  const int32_t piece = AddSurface2D(width, height, 0, 0, graph->handle, share, share->surfaceX + x,
                                     share->surfaceY + y, &flags);
  if (piece < 0) return -1;
  graph->pieceHandles[0] = piece;
  graph->pieceCount = 1;
  return 0;
}

int BlitImageToGraphPieces(const GraphImage* image, const GraphImage* alphaImage, const Rect* source, int32_t x,
                           int32_t y, GraphRecord* graph, int32_t transparent) {
  for (int32_t i = 0; i < graph->pieceCount; ++i) {
    const Surface2DPiece* p = LookupSurface2D(graph->pieceHandles[i]);
    if (p == nullptr) return -1;
    const int32_t px = p->graphX, py = p->graphY;
    Rect part;
    if (!CutSourceToPiece(*source, x, y, px, py, p->width, p->height, &part)) continue;
    if (BlitImageToSurface2D(image, alphaImage, &part, std::max(0, x - px), std::max(0, y - py),
                             graph->pieceHandles[i], transparent) != 0)
      return -1;
  }
  return 0;
}

namespace {

// A palette buffer keys on an index: the first of the picture's entries
// equal to the transparent colour once both are packed in the buffer's
// colour format (compared on 16 bits for R5G6B5 entries, on the low 24 for
// 32-bit ones), so it hides what a 2D surface keyed on the packed colour
// hides. The key is set before the transfer, which builds the buffer's run
// table from it. When no entry matches, the key goes back to one no index
// can take: index 0 would hide a colour the picture does not key, and the
// previous picture's index would hide one of this picture's colours.
uint32_t PackPaletteEntry(int32_t kind, uint32_t r, uint32_t g, uint32_t b) {
  if (kind == kMemImgKindRgb565) return ((r & 0xF8u) << 8) | ((g & 0xFCu) << 3) | (b >> 3);
  return (r << 16) | (g << 8) | b;
}

void KeyPaletteBuffer(const GraphImage* image, MemImage* destination) {
  MemImgBuffer* b = destination->buffer;
  if (b == nullptr || !b->paletteFlag || image->format.bytesPerPixel != 1) return;
  const uint32_t t = GetDrawState().transparentColor;
  const uint32_t compared = b->formatKind == kMemImgKindRgb565 ? 0xFFFFu : 0xFFFFFFu;
  const uint32_t key = PackPaletteEntry(b->formatKind, (t >> 16) & 255, (t >> 8) & 255, t & 255) & compared;
  for (uint32_t i = 0; i < 256; ++i) {
    const PaletteEntry& e = image->format.palette[i];
    if ((PackPaletteEntry(b->formatKind, e.red, e.green, e.blue) & compared) == key) {
      b->keyColor = i;
      return;
    }
  }
  b->keyColor = kPaletteBufferNoKey;
}

}  // namespace

int BlitImageToSurface2D(const GraphImage* image, const GraphImage* alphaImage, const Rect* source, int32_t x,
                         int32_t y, int32_t piece, int32_t transparent) {
  const Surface2DPiece* p = LookupSurface2D(piece);
  if (p == nullptr) return -1;
  SurfaceDataRecord* d = LookupSurfaceData(p->surfaceData);
  if (d == nullptr) return -1;
  const int32_t w = source->right - source->left, h = source->bottom - source->top;
  if (w <= 0 || h <= 0) return 0;
  if (d->memImageMode) {
    KeyPaletteBuffer(image, &d->image);
    TransferMemImgRect(image, alphaImage, &d->image, source->left, source->top, w, h, p->surfaceX + x,
                       p->surfaceY + y, transparent);
  } else if (GetScreenColorBits() == 8 && d->surface != nullptr) {
    if (BlitImageThroughGdi(image, source, d->surface, p->surfaceX + x, p->surfaceY + y) != 0) return -1;
  } else {
    int32_t pitch = 0;
    uint8_t* pixels = nullptr;
    const PixelFormatInfo* format = nullptr;
    const Rect at{p->surfaceX + x, p->surfaceY + y, p->surfaceX + x + w, p->surfaceY + y + h};
    if (at.right > d->width || at.bottom > d->height ||
        LockSurfaceDataPixels(p->surfaceData, &pitch, &pixels, 1, &at, &format) < 0) {
      LogOutput("２Ｄサーフェスのロックに失敗しました");
      return -1;
    }
    const PixelBlock dst{pixels, pitch, w, h, format};
    const PixelBlock src = PixelBlockOfImage(image);
    const PixelBlock alpha = alphaImage != nullptr ? PixelBlockOfImage(alphaImage) : PixelBlock{};
    ConvertPixelsBlt(&dst, &src, alphaImage != nullptr ? &alpha : nullptr, 0, 0, source, nullptr);
    UnlockSurfaceDataPixels(p->surfaceData, &at);
  }
  ApplySurfaceColorKey(p->surfaceData);
  return 0;
}

int BlitImageToOnePiece(const GraphImage* image, const GraphImage* alphaImage, int32_t x, int32_t y, int32_t piece,
                        int32_t transparent) {
  const Surface2DPiece* p = LookupSurface2D(piece);
  if (p == nullptr) return -1;
  // The rectangle is cut to the image, so a picture smaller than the graph
  // fills what it has.
  Rect source{x, y, x + p->width, y + p->height};
  const Rect picture{0, 0, image->width, image->height};
  ClipRect(&source, &picture);
  if (source.left >= source.right || source.top >= source.bottom) return 0;
  return BlitImageToSurface2D(image, alphaImage, &source, source.left - x, source.top - y, piece, transparent);
}

int BlitImageIntoGraph(const GraphImage* image, const GraphImage* alphaImage, int32_t x, int32_t y,
                       GraphRecord* graph, int32_t transparent) {
  for (int32_t i = 0; i < graph->pieceCount; ++i) {
    const Surface2DPiece* p = LookupSurface2D(graph->pieceHandles[i]);
    if (p == nullptr ||
        BlitImageToOnePiece(image, alphaImage, x + p->graphX, y + p->graphY, graph->pieceHandles[i], transparent) != 0)
      return -1;
  }
  return 0;
}

int RestoreGraphPieces(GraphRecord* graph) {
  int result = 0;
  for (int32_t i = 0; i < graph->pieceCount; ++i) {
    const Surface2DPiece* p = LookupSurface2D(graph->pieceHandles[i]);
    result |= p == nullptr ? -1 : RestoreSurfaceDataSurface(p->surfaceData);
  }
  return result;
}

int RestoreAllPieces() {
  RestoreLostScreenSurfaces();
  int result = 0;
  ForEachPiece([&](int32_t h) { result |= RestoreSurfaceDataSurface(LookupSurface2D(h)->surfaceData); });
  return result;
}

int FillGraphPieces(GraphRecord* graph, int32_t r, int32_t g, int32_t b, int32_t a) {
  for (int32_t i = 0; i < graph->pieceCount; ++i) {
    const Surface2DPiece* p = LookupSurface2D(graph->pieceHandles[i]);
    if (p == nullptr) return -1;
    FillSurfaceDataColor(p->surfaceData, r, g, b, a);
  }
  return 0;
}

int SetSoftBlendGraph(const GraphRecord* /*graph*/, int32_t parameter1, int32_t parameter2) {
  BuildBlendGraphTable(parameter1, parameter2);
  return 0;
}

int DeleteSurface2D(int32_t handle) {
  Surface2DPiece* p = LookupSurface2D(handle);
  if (p == nullptr) return 0;
  if (ReleaseSurfaceDataRef(p->surfaceData) == 0) DeleteSurfaceData(p->surfaceData);
  if (p->diedFlag != nullptr) *p->diedFlag = 1;
  RemoveHandleEntry(Table(), handle);
  FreeMemory(p);
  return 0;
}

int DeleteGraphSurfaces2D(GraphRecord* graph) {
  for (int32_t i = 0; i < graph->pieceCount; ++i) DeleteSurface2D(graph->pieceHandles[i]);
  graph->pieceCount = 0;
  const ScreenState& s = GetScreenState();
  return s.directDraw == nullptr && !s.directDrawUnusable ? -1 : 0;
}

int DeleteAllSurface2D() {
  const ScreenState& s = GetScreenState();
  if (s.directDraw == nullptr && !s.softwareRendering) return -1;
  ForEachPiece([](int32_t h) { DeleteSurface2D(h); });
  return 0;
}

int ReleaseAllPieceSurfaces() {
  ForEachPiece([](int32_t h) { DropSurfaceDataSurface(LookupSurface2D(h)->surfaceData); });
  return 0;
}

int RecreateAllPieceSurfaces() {
  ForEachPiece([](int32_t h) {
    const int32_t d = LookupSurface2D(h)->surfaceData;
    CreateSurfaceDataSurface(d);
    ApplySurfaceColorKey(d);
  });
  return 0;
}

}  // namespace qor
