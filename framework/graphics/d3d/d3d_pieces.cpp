// The 3D piece table: texture rectangles of graphs and their ready-made
// vertices.
#include <cstring>

#include "framework/core/log.h"
#include "framework/core/memory.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/draw_state.h"

namespace qor {

int32_t AddSurface3DData(int32_t textureWidth, int32_t textureHeight, int32_t x, int32_t y, int32_t width,
                         int32_t height, int32_t sourceX, int32_t sourceY, int32_t owner, const Surface3DData* parent,
                         int32_t textureX, int32_t textureY, const SurfaceFlags* flags) {
  D3DGlobals& d = GetD3D();
  if (!d.object) return LogOutput("３Ｄグラフィックエンジンが初期化されていません\n");
  if (d.pieces.liveCount >= kSurface3DHandleMax) return LogOutput("３Ｄグラフィックの数が許容量を越えました。\n");
  auto* p = static_cast<Surface3DData*>(AllocMemoryZeroed(sizeof(Surface3DData), __FILE__, __LINE__));
  if (p == nullptr) return LogOutput("メモリの確保に失敗しました in AddSurface3DData \n");
  if (parent != nullptr) {
    p->texture = parent->texture;
    AddSurfaceDataRef(p->texture);
  } else {
    SurfaceFlags f = *flags;
    f.texture = 1;
    f.systemMemory = 0;
    p->texture = AddSurfaceData(1, textureWidth, textureHeight, GetDrawState().transparentColor, &f);
    if (p->texture < 0) {
      FreeMemory(p);
      return -1;
    }
  }
  const int32_t handle = AddHandleEntry(&d.pieces, p);
  if (handle < 0) {
    if (ReleaseSurfaceDataRef(p->texture) <= 0) DeleteSurfaceData(p->texture);
    FreeMemory(p);
    return -1;
  }
  p->x = static_cast<uint16_t>(x);
  p->y = static_cast<uint16_t>(y);
  p->textureX = static_cast<uint16_t>(textureX + (parent != nullptr ? parent->textureX : 0));
  p->textureY = static_cast<uint16_t>(textureY + (parent != nullptr ? parent->textureY : 0));
  p->sourceX = static_cast<uint16_t>(sourceX + (parent != nullptr ? parent->sourceX : 0));
  p->sourceY = static_cast<uint16_t>(sourceY + (parent != nullptr ? parent->sourceY : 0));
  p->width = static_cast<uint16_t>(width);
  p->height = static_cast<uint16_t>(height);
  p->owner = owner;
  const SurfaceDataRecord* t = LookupSurfaceData(p->texture);
  const float rw = 1.0f / static_cast<float>(t->width), rh = 1.0f / static_cast<float>(t->height);
  for (int i = 0; i < 4; ++i) {
    const bool right = (i & 1) != 0, bottom = (i & 2) != 0;
    TexVertex& v = p->vertices[i];
    v.x = static_cast<float>(x + (right ? width : 0));
    v.y = static_cast<float>(y + (bottom ? height : 0));
    v.z = 0.0f;
    v.rhw = 1.0f;
    v.diffuse = 0xFFFFFFFFu;
    v.u = static_cast<float>(p->textureX + (right ? width : 0)) * rw;
    v.v = static_cast<float>(p->textureY + (bottom ? height : 0)) * rh;
  }
  return handle;
}

Surface3DData* LookupSurface3DData(int32_t handle) {
  return static_cast<Surface3DData*>(LookupHandleEntry(&GetD3D().pieces, handle));
}

plat::DDSurface* PieceTexture(const Surface3DData* piece) {
  const SurfaceDataRecord* t = piece != nullptr ? LookupSurfaceData(piece->texture) : nullptr;
  return t != nullptr ? t->surface : nullptr;
}

int DeleteSurface3DData(int32_t handle) {
  Surface3DData* p = LookupSurface3DData(handle);
  if (p == nullptr) return -1;
  if (ReleaseSurfaceDataRef(p->texture) <= 0) {
    ForgetTextureSurface(PieceTexture(p));
    DeleteSurfaceData(p->texture);
  }
  for (D3DDeviceState& device : GetD3D().devices) {
    if (device.lastPiece == p) device.lastPiece = nullptr;
  }
  RemoveHandleEntry(&GetD3D().pieces, handle);
  if (p->diedFlag != nullptr) *p->diedFlag = 1;
  FreeMemory(p);
  return 0;
}

Surface3DData* GetSurface3DData(int32_t handle) { return LookupSurface3DData(handle); }

int UnlockSurface3DData(int32_t handle, const Rect* rect) {
  const Surface3DData* p = LookupSurface3DData(handle);
  return p == nullptr ? -1 : UnlockSurfaceDataPixels(p->texture, rect);
}

int RestoreGraphPieces3D(GraphRecord* graph) {
  int result = 0;
  for (int32_t i = 0; i < graph->pieceCount; ++i) {
    const Surface3DData* p = LookupSurface3DData(graph->pieceHandles[i]);
    if (p == nullptr) return -1;
    result |= RestoreSurfaceDataSurface(p->texture);
  }
  return result;
}

int RestoreAllGraphPieces3D() {
  D3DGlobals& d = GetD3D();
  for (int32_t slot = 0; slot < d.pieces.usedEnd; ++slot) {
    const auto* p = static_cast<const Surface3DData*>(d.pieces.slots[slot]);
    if (p != nullptr) RestoreSurfaceDataSurface(p->texture);
  }
  return 0;
}

int DeleteAllSurface3DData() {
  D3DGlobals& d = GetD3D();
  if (!d.object) return -1;
  for (int32_t slot = d.pieces.usedEnd - 1; slot >= 0; --slot) {
    const int32_t handle = HandleOfSlot(&d.pieces, slot);
    if (handle != -1) DeleteSurface3DData(handle);
  }
  return 0;
}

// A vertex lies on the top-left side of the graph's falling diagonal.
void ComputeDiagonalFlags(Surface3DData* piece, double height, double ratio) {
  for (int i = 0; i < 4; ++i) {
    const double vx = piece->vertices[i].x, vy = piece->vertices[i].y;
    piece->diagonal[i] = height - vx * ratio >= vy ? 1 : 0;
  }
}

}  // namespace qor
