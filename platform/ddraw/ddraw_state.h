// The DirectDraw stand-in's process-wide state, shared by its files.
#pragma once

#include <vector>

#include "platform/ddraw/ddraw.h"

namespace plat {

struct RefusedMode {
  int width, height, bits, rate;
};

struct DdState {
  std::vector<DDSurface*> surfaces;  // live
  std::vector<DirectDraw*> objects;  // live
  std::vector<DDClipper*> clippers;  // live
  int failNext[static_cast<int>(DdOp::Count)] = {};
  std::vector<RefusedMode> refused;
  bool use555 = false;
  bool beamFrozen = false;
  bool overlays = true;
  bool yuvSurfaces = true;
  DDCaps overlayCaps = DdDefaultOverlayCaps();
  std::vector<DdOverlayCall> overlayCalls;
  uint64_t videoMemoryUsed = 0;
  uint64_t flipPendingUntil = 0;  // host micros of the blank the last flip waits for
  DdCounters counters;
};

DdState& Dd();
// Takes one injected failure of `op`; true when the call must fail.
bool DdTakeFailure(DdOp op);
// The display's current mode (set by a DirectDraw object, else the desktop).
void DdCurrentMode(int* width, int* height, int* bits, int* rate);
// Host micros when the next vertical blank begins on the display `dd` drives.
uint64_t DdNextBlankAt(DirectDraw* dd);
// Shows the visible part of a primary through the host.
void DdPresentPrimary(const DDSurface* primary, const DirectDraw* owner);
// Once per frame (ddraw_present_pending.cpp): a write to the primary marks
// it; the marked picture shows when the host asks (DdPresentPending), at a
// flip (DdPresentNow) or before the surface goes (DdPrimaryGoing).
void DdPrimaryWritten(const DDSurface* primary, const DirectDraw* owner);
void DdPresentPending();
void DdPresentNow(const DDSurface* primary, const DirectDraw* owner);
void DdPrimaryGoing(const DDSurface* surface);
void DdForgetPending();
GdiPixels DdSurfacePixels(DDSurface* surface, const uint32_t* palette);
// The bytes a YUV surface of a FOURCC needs per row and in all, or false for
// a FOURCC or size it cannot hold.
bool DdYuvLayout(uint32_t fourCC, int width, int height, int32_t* pitch, uint64_t* bytes);

// --- YUV surfaces and overlays (ddraw_yuv.cpp, ddraw_overlay.cpp) ---------------
// Blt from a YUV surface onto an RGB one: converted, nearest-pixel scaled,
// clipped to `clip`.
int32_t DdBltFromYuv(DDSurface* destination, const Rect& to, const Rect& clip, DDSurface* source, const Rect* from);
// Hands the overlays shown to the host, placed relative to the part of the
// primary (`visible`) about to be presented.
void DdShowOverlays(const Rect& visible);
// An overlay surface is released: it shows no more.
void DdOverlayGone(const DDSurface* overlay);
void DdForgetOverlays();

// Reaches the records' insides for the state's own upkeep.
struct DdAccess {
  static void MarkLost(DDSurface* s) { s->lost_ = true; }
  static void Free(DDSurface* s) { delete s; }
  static void Free(DirectDraw* d) { delete d; }
  static void Free(DDClipper* c) { delete c; }
  static void MarkLost(DirectDraw* d) { d->lost_ = true; }
  static void Orphan(DDClipper* c) { c->owner_ = nullptr; }
  static DirectDraw* OwnerOf(const DDClipper* c) { return c->owner_; }
};

constexpr uint64_t kDdVideoMemoryBytes = 64u << 20;

}  // namespace plat
