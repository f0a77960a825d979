// The Direct3D globals, device slots, scenes, transforms and the vertex batch.
#include <cstring>

#include "framework/core/log.h"
#include "framework/core/window/main_window.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/screen/screen.h"

namespace qor {

namespace {

D3DGlobals g_d3d;
bool g_d3dReady = false;

void InitGlobals() {
  std::memset(static_cast<void*>(&g_d3d), 0, sizeof(g_d3d));
  InitHandleTable(&g_d3d.pieces, kSurface3DHandleTag, kSurface3DHandleMax, g_d3d.pieceSlots);
  g_d3d.captureMethod[0] = g_d3d.captureMethod[1] = -1;
  g_d3dReady = true;
}

}  // namespace

D3DGlobals& GetD3D() {
  if (!g_d3dReady) InitGlobals();
  return g_d3d;
}

void ResetD3D() {
  if (g_d3dReady) {
    g_d3d.object = 1;  // so the deletes below run
    DeleteAllSurface3DData();
    for (D3DDeviceState& slot : g_d3d.devices) delete slot.device;
  }
  InitGlobals();
}

D3DDeviceState* DeviceSlot(uint32_t device) {
  const uint32_t index = device & 0xFFFFu;
  return index < kD3DDeviceSlots ? &GetD3D().devices[index] : nullptr;
}

D3DDeviceState* InUseDevice(uint32_t device) {
  D3DDeviceState* slot = DeviceSlot(device);
  if (slot == nullptr || !GetD3D().object || !slot->inUse || slot->device == nullptr) return nullptr;
  return slot;
}

int BeginSceneIfNeeded(uint32_t device) {
  D3DDeviceState* s = InUseDevice(device);
  if (s == nullptr) return -1;
  if (!s->inScene) {
    // A flip swaps the memory behind the back buffer: bind the target anew.
    if (s->currentTarget != nullptr) {
      s->device->SetRenderTarget(SurfaceViewOf(s->currentTarget));
      s->device->SetViewport(s->viewport);
    }
    s->device->BeginScene();
    s->inScene = 1;
    s->lastPiece = nullptr;
    s->lastFlags = 0;
  }
  return 0;
}

void SendDeviceMatrix(D3DDeviceState* s, uint32_t type, const float* matrix16) {
  plat::d3d::Matrix16 m;
  std::memcpy(m.m, matrix16, sizeof m.m);
  s->device->SetTransform(type, &m);
}

// Matrix index 0-3 names the world matrices (types 1, 4, 5, 6); a larger
// index sends nothing.
int SetDeviceTransform(uint32_t device, int32_t index, const float* matrix16) {
  D3DDeviceState* s = InUseDevice(device);
  if (s == nullptr) return -1;
  static constexpr uint32_t kWorldTypes[4] = {plat::d3d::kTransformWorld, plat::d3d::kTransformWorld1,
                                              plat::d3d::kTransformWorld2, plat::d3d::kTransformWorld3};
  if (index < 0 || index > 3 || matrix16 == nullptr) return 0;
  SendDeviceMatrix(s, kWorldTypes[index], matrix16);
  return 0;
}

int FlushVertexBatch(uint32_t device) {
  D3DDeviceState* s = InUseDevice(device);
  if (s == nullptr) return -1;
  if (s->vertexCount > 0 && !IsQuitRequested() && !s->drawingOff) {
    const void* buffers[3] = {s->buffer0, s->buffer1, s->buffer2};
    s->device->DrawPrimitive(s->primitiveType, kBatchFvf[s->format], buffers[s->format],
                             static_cast<uint32_t>(s->vertexCount), 0);
  }
  s->vertexCount = 0;
  return 0;
}

int FlushCurrentVertexBatch() { return FlushVertexBatch(GetD3D().currentDevice); }

int EndSceneIfBegun(uint32_t device) {
  D3DDeviceState* s = InUseDevice(device);
  if (s == nullptr) return -1;
  if (s->inScene) {
    FlushVertexBatch(device);
    s->device->EndScene();
    s->inScene = 0;
    if (s->currentTarget != nullptr) s->currentTarget->DeviceWrote();
  }
  return 0;
}

int EndSceneCurrentDevice() { return EndSceneIfBegun(GetD3D().currentDevice); }

int DeleteD3DDevice(uint32_t device) {
  D3DDeviceState* s = DeviceSlot(device);
  if (s == nullptr) return -1;
  if (s->device == nullptr) return 0;
  D3DGlobals& d = GetD3D();
  for (int32_t slot = 0; slot < d.pieces.usedEnd; ++slot) {
    const auto* p = static_cast<const Surface3DData*>(d.pieces.slots[slot]);
    if (p != nullptr) DropSurfaceDataSurface(p->texture);
  }
  delete s->device;
  s->device = nullptr;
  LogOutput("Ｄｉｒｅｃｔ３Ｄデバイスを削除しました\n");
  return 0;
}

int DoNothingD3D() { return 0; }

bool IsDirect3DInUse() { return GetScreenState().direct3DInUse != 0; }

plat::d3d::Device* GetCurrentD3DDevice() {
  const D3DDeviceState* s = DeviceSlot(GetD3D().currentDevice);
  return s != nullptr ? s->device : nullptr;
}

void UpdateDiffuseColor() {
  const DrawState& ds = GetDrawState();
  const uint32_t alpha = ds.blendMode != 0 ? static_cast<uint32_t>(ds.blendParam & 255) : 255u;
  GetD3D().diffuseColor = alpha << 24 | uint32_t{ds.tintRed} << 16 | uint32_t{ds.tintGreen} << 8 | ds.tintBlue;
}

plat::d3d::SurfaceView SurfaceViewOf(plat::DDSurface* surface) {
  plat::d3d::SurfaceView view{};
  if (surface == nullptr) return view;
  plat::DDPixelFormat f;
  surface->GetPixelFormat(&f);
  view.bits = surface->deviceMemory();
  view.pitch = surface->pitch();
  view.width = surface->width();
  view.height = surface->height();
  view.layout = {static_cast<int32_t>(f.bitCount), {f.redMask, f.greenMask, f.blueMask, f.alphaMask}};
  return view;
}

}  // namespace qor
