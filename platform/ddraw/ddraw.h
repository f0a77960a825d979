// DirectDraw stand-in: the display object, surfaces in memory with a pitch
// and a pixel format, Lock/Unlock, Blt/BltFast, the flip chain, clipper,
// palette, lost surfaces and the vertical blank, presenting the primary
// surface through the host.
//
// - The primary is the desktop when windowed (the host shows the window's
//   client area of it) and the mode's size in full screen. Every write to
//   the primary (Unlock, Blt, BltFast, Flip, a released DC) is presented.
// - Modes of 8, 16 (R5G6B5, or X1R5G5B5 when asked through DdUse555) and 32
//   bits (X8R8G8B8). Off-screen surfaces may also hold YUV by FOURCC
//   ("YV12", "YUY2", "UYVY"), never in a flip chain; Blt from one onto an
//   RGB surface converts (BT.601 studio range, see HostYuvToXrgb).
// - Overlays in "YUY2" and "UYVY", shown by the host over the presented
//   picture where UpdateOverlay placed them; DdOfferOverlays(false) turns
//   them off. Every UpdateOverlay is recorded.
// - The vertical blank and the scan line follow the host clock at the mode's
//   refresh rate (60 Hz when unset); waits sleep on that clock. A flip takes
//   effect at the next blank and returns at once, waiting for a blank only
//   while the flip before it is still pending.
// - Blt and BltFast refuse surfaces of different pixel formats, but for
//   Blt from YUV.
// - Every operation can be told to fail (DdFailNext) and is counted.
// - The display can be lost whole (DdLoseDevice): video surfaces are lost
//   and every object refuses new surfaces until its cooperative level is set
//   again; a released object leaves its clippers orphaned.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/window/window.h"

namespace plat {

constexpr int32_t DD_OK = 0;
constexpr int32_t DDERR_GENERIC = static_cast<int32_t>(0x80004005u);
constexpr int32_t DDERR_INVALIDPARAMS = static_cast<int32_t>(0x80070057u);
constexpr int32_t DDERR_OUTOFMEMORY = static_cast<int32_t>(0x8007000Eu);
constexpr int32_t DDERR_INVALIDPIXELFORMAT = static_cast<int32_t>(0x88760091u);
constexpr int32_t DDERR_INVALIDRECT = static_cast<int32_t>(0x88760096u);
constexpr int32_t DDERR_OUTOFVIDEOMEMORY = static_cast<int32_t>(0x8876017Cu);
constexpr int32_t DDERR_SURFACEBUSY = static_cast<int32_t>(0x887601AEu);
constexpr int32_t DDERR_SURFACELOST = static_cast<int32_t>(0x887601C2u);
constexpr int32_t DDERR_NOTLOCKED = static_cast<int32_t>(0x887601E6u);
constexpr int32_t DDERR_NOEXCLUSIVEMODE = static_cast<int32_t>(0x887601E1u);
constexpr int32_t DDERR_UNSUPPORTEDMODE = static_cast<int32_t>(0x8876024Eu);
constexpr int32_t DDERR_VERTICALBLANKINPROGRESS = static_cast<int32_t>(0x88760219u);
constexpr int32_t DDERR_NOTFOUND = static_cast<int32_t>(0x887600FFu);
constexpr int32_t DDERR_NOOVERLAYHW = static_cast<int32_t>(0x88760168u);
constexpr int32_t DDERR_INVALIDOBJECT = static_cast<int32_t>(0x88760082u);
constexpr int32_t DDERR_WRONGMODE = static_cast<int32_t>(0x8876024Bu);

constexpr uint32_t DDSCL_FULLSCREEN = 0x1;
constexpr uint32_t DDSCL_NORMAL = 0x8;
constexpr uint32_t DDSCL_EXCLUSIVE = 0x10;
constexpr uint32_t DDSCL_MULTITHREADED = 0x400;
constexpr uint32_t DDSCL_FPUPRESERVE = 0x1000;

constexpr uint32_t DDSCAPS_BACKBUFFER = 0x4;
constexpr uint32_t DDSCAPS_COMPLEX = 0x8;
constexpr uint32_t DDSCAPS_FLIP = 0x10;
constexpr uint32_t DDSCAPS_OFFSCREENPLAIN = 0x40;
constexpr uint32_t DDSCAPS_OVERLAY = 0x80;
constexpr uint32_t DDSCAPS_PRIMARYSURFACE = 0x200;
constexpr uint32_t DDSCAPS_FRONTBUFFER = 0x400;
constexpr uint32_t DDSCAPS_SYSTEMMEMORY = 0x800;
constexpr uint32_t DDSCAPS_TEXTURE = 0x1000;
constexpr uint32_t DDSCAPS_3DDEVICE = 0x2000;
constexpr uint32_t DDSCAPS_VIDEOMEMORY = 0x4000;
constexpr uint32_t DDSCAPS_ZBUFFER = 0x20000;

constexpr uint32_t DDLOCK_WAIT = 0x1;
constexpr uint32_t DDLOCK_WRITEONLY = 0x20;
constexpr uint32_t DDBLT_COLORFILL = 0x400;
constexpr uint32_t DDBLT_KEYSRC = 0x8000;
constexpr uint32_t DDBLT_WAIT = 0x1000000;
constexpr uint32_t DDBLT_DEPTHFILL = 0x2000000;
constexpr uint32_t DDBLTFAST_SRCCOLORKEY = 0x1;
constexpr uint32_t DDBLTFAST_WAIT = 0x10;
constexpr uint32_t DDFLIP_WAIT = 0x1;
constexpr uint32_t DDFLIP_NOVSYNC = 0x8;
constexpr uint32_t DDWAITVB_BLOCKBEGIN = 0x1;
constexpr uint32_t DDCKEY_SRCBLT = 0x8;
constexpr uint32_t DDPCAPS_8BIT = 0x4;

constexpr uint32_t DDPF_FOURCC = 0x4;
constexpr uint32_t DDPF_PALETTEINDEXED8 = 0x20;
constexpr uint32_t DDPF_RGB = 0x40;
constexpr uint32_t DDPF_ZBUFFER = 0x400;

struct DDPixelFormat {
  uint32_t flags = 0;
  uint32_t bitCount = 0;
  uint32_t redMask = 0, greenMask = 0, blueMask = 0, alphaMask = 0;  // redMask: the depth mask of a Z buffer
  uint32_t fourCC = 0;  // with DDPF_FOURCC
};

constexpr uint32_t DdFourCC(char a, char b, char c, char d) {
  return static_cast<uint32_t>(static_cast<uint8_t>(a)) | static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24;
}

constexpr uint32_t DDOVER_HIDE = 0x200;
constexpr uint32_t DDOVER_SHOW = 0x4000;
constexpr uint32_t DDCAPS_ALIGNBOUNDARYDEST = 0x2;
constexpr uint32_t DDCAPS_ALIGNSIZEDEST = 0x4;
constexpr uint32_t DDCAPS_ALIGNBOUNDARYSRC = 0x8;
constexpr uint32_t DDCAPS_ALIGNSIZESRC = 0x10;
constexpr uint32_t DDCAPS_OVERLAY = 0x800;

// The display's capabilities as far as overlays go.
struct DDCaps {
  uint32_t caps = 0;
  uint32_t alignBoundarySrc = 0, alignSizeSrc = 0, alignBoundaryDest = 0, alignSizeDest = 0;
  uint32_t minOverlayStretch = 0, maxOverlayStretch = 0;  // x 1000
};

struct DDSurfaceDesc {
  uint32_t caps = 0;
  int32_t width = 0, height = 0;     // ignored for the primary
  int32_t backBufferCount = 0;       // with DDSCAPS_FLIP | DDSCAPS_COMPLEX
  bool hasPixelFormat = false;       // false: the display's format
  DDPixelFormat pixelFormat;
  int32_t pitch = 0;                 // filled by GetSurfaceDesc
};

struct DDBltFx {
  uint32_t fillColor = 0;
  uint32_t fillDepth = 0;
};

class DirectDraw;
class DDPalette;
class DDSurface;

// Called once for each surface attached to another (EnumAttachedSurfaces);
// DDENUMRET_CANCEL stops the walk.
constexpr int32_t DDENUMRET_CANCEL = 0;
constexpr int32_t DDENUMRET_OK = 1;
using EnumSurfacesCallback = int32_t (*)(DDSurface* surface, void* context);

class DDClipper {
 public:
  // DDERR_INVALIDOBJECT once the object that made it is released.
  int32_t SetHWnd(uint32_t flags, Hwnd window);
  Hwnd window() const { return window_; }
  // The object that made it, or null once that object is gone.
  const DirectDraw* owner() const { return owner_; }
  void Release();

 private:
  friend class DirectDraw;
  friend struct DdAccess;
  Hwnd window_ = 0;
  DirectDraw* owner_ = nullptr;
};

// What the display driver says of itself.
struct DDDeviceIdentifier {
  char driver[512] = {};
  char description[512] = {};
  uint32_t version[4] = {};  // product, version, sub-version, build
};

class DDPalette {
 public:
  // Entries as 0x00RRGGBB.
  int32_t GetEntries(uint32_t first, uint32_t count, uint32_t* out) const;
  int32_t SetEntries(uint32_t first, uint32_t count, const uint32_t* entries);
  const uint32_t* entries() const { return entries_; }
  void Release();

 private:
  uint32_t entries_[256] = {};
};

class DDSurface {
 public:
  int32_t Lock(const Rect* rect, int32_t* pitch, uint8_t** pixels, uint32_t flags);
  int32_t Unlock(const Rect* rect);
  int32_t Blt(const Rect* destination, DDSurface* source, const Rect* sourceRect, uint32_t flags, const DDBltFx* fx);
  int32_t BltFast(int x, int y, DDSurface* source, const Rect* sourceRect, uint32_t flags);
  int32_t Flip(DDSurface* target, uint32_t flags);
  int32_t GetAttachedSurface(uint32_t caps, DDSurface** out);
  // The surfaces attached to this one (a primary's back buffer, a Z buffer),
  // each handed to `callback`.
  int32_t EnumAttachedSurfaces(void* context, EnumSurfacesCallback callback);
  int32_t AddAttachedSurface(DDSurface* zBuffer);
  int32_t DeleteAttachedSurface(DDSurface* zBuffer);
  int32_t SetColorKey(uint32_t flags, uint32_t low, uint32_t high);
  int32_t SetClipper(DDClipper* clipper);
  int32_t SetPalette(DDPalette* palette);
  int32_t GetCaps(uint32_t* caps) const;
  int32_t GetPixelFormat(DDPixelFormat* out) const;
  int32_t GetSurfaceDesc(DDSurfaceDesc* out) const;
  int32_t IsLost() const;
  int32_t Restore();
  int32_t GetDC(Hdc* out);
  // Shows (DDOVER_SHOW) the part `source` (null: all) of an overlay surface
  // at `destination` on `onto`, or hides it (DDOVER_HIDE).
  int32_t UpdateOverlay(const Rect* source, DDSurface* onto, const Rect* destination, uint32_t flags);
  // The 3D device has written the surface's memory: a primary is presented,
  // as after any other write.
  int32_t DeviceWrote();
  int32_t ReleaseDC(Hdc dc);
  // Releases the surface (and, for a primary, its attached back buffer).
  void Release();

  // Stand-in view for tests and the presenter.
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  int32_t pitch() const { return pitch_; }
  const uint8_t* memory() const { return memory_.data(); }
  // The memory the 3D device draws on and samples from while the surface
  // lives (its size never changes).
  uint8_t* deviceMemory() { return memory_.data(); }
  bool lost() const { return lost_; }
  bool hasColorKey() const { return hasKey_; }
  uint32_t colorKey() const { return keyLow_; }
  const DDPalette* palette() const { return palette_; }

 private:
  friend class DirectDraw;
  friend struct DdAccess;
  DirectDraw* owner_ = nullptr;
  uint32_t caps_ = 0;
  int32_t width_ = 0, height_ = 0, pitch_ = 0;
  DDPixelFormat format_;
  std::vector<uint8_t> memory_;
  bool lost_ = false;
  int lockCount_ = 0;
  bool hasKey_ = false;
  uint32_t keyLow_ = 0, keyHigh_ = 0;
  DDClipper* clipper_ = nullptr;
  DDPalette* palette_ = nullptr;
  DDSurface* back_ = nullptr;   // flip chain: the primary's back buffer
  DDSurface* front_ = nullptr;  // flip chain: the back buffer's primary
  DDSurface* zBuffer_ = nullptr;
  Hdc dc_ = 0;
};

class DirectDraw {
 public:
  // Refused once (DdOp::Initialize); a second call is harmless.
  int32_t Initialize();
  int32_t GetDeviceIdentifier(DDDeviceIdentifier* out) const;
  int32_t SetCooperativeLevel(Hwnd window, uint32_t flags);
  int32_t SetDisplayMode(int width, int height, int bitsPerPixel, int refreshRate, uint32_t flags);
  int32_t RestoreDisplayMode();
  int32_t CreateSurface(const DDSurfaceDesc* desc, DDSurface** out);
  int32_t CreateClipper(uint32_t flags, DDClipper** out);
  int32_t CreatePalette(uint32_t flags, const uint32_t* entries, DDPalette** out);
  int32_t GetVerticalBlankStatus(int32_t* inBlank);
  int32_t WaitForVerticalBlank(uint32_t flags);
  int32_t GetScanLine(uint32_t* line);
  int32_t FlipToGDISurface();
  int32_t GetAvailableVidMem(uint32_t caps, uint32_t* total, uint32_t* free);
  int32_t GetCaps(DDCaps* out) const;
  // The current display: the mode set, or the desktop. Refresh 0 = default.
  int32_t GetDisplayMode(int* width, int* height, int* bits, int* refreshRate);
  void Release();

  uint32_t cooperativeFlags() const { return coopFlags_; }
  Hwnd cooperativeWindow() const { return coopWindow_; }
  // Lost with the display: no new surfaces until the level is set again.
  bool lost() const { return lost_; }

 private:
  friend class DDSurface;
  friend struct DdAccess;
  bool lost_ = false;
  Hwnd coopWindow_ = 0;
  uint32_t coopFlags_ = 0;
  bool modeSet_ = false;
  int modeWidth_ = 0, modeHeight_ = 0, modeBits_ = 0, modeRate_ = 0;
  DDSurface* primary_ = nullptr;
};

int32_t DirectDrawCreate(DirectDraw** out);

// The pixel format of a depth on this display (8, 16 or 32; 16 follows
// DdUse555).
DDPixelFormat DdFormatOfDepth(int bits);
bool DdSameFormat(const DDPixelFormat& a, const DDPixelFormat& b);

// --- test controls ---------------------------------------------------------------
enum class DdOp {
  Create,             // DirectDrawCreate
  CreateSurface,      // any CreateSurface
  CreatePrimary,      // CreateSurface of a primary
  VideoMemory,        // CreateSurface in video memory (out of video memory)
  CooperativeLevel,
  Lock,
  GetDC,
  CreateClipper,
  Initialize,         // DirectDraw::Initialize
  CreatePalette,
  Count
};
void DdFailNext(DdOp op, int times = 1);
// Refuses SetDisplayMode of this mode (rate -1: at every rate).
void DdRefuseMode(int width, int height, int bits, int rate);
void DdUse555(bool on);
// Every video-memory surface reports lost until restored; a restored surface
// holds the byte pattern kDdRestoredByte.
constexpr uint8_t kDdRestoredByte = 0xA5;
void DdLoseVideoSurfaces();
// Overlays (offered from the start, with DdDefaultOverlayCaps): with `on`,
// the display reports these capabilities (with DDCAPS_OVERLAY added) and
// makes overlay surfaces of the FOURCCs "UYVY" and "YUY2"; off, it reports
// none and refuses them.
void DdOfferOverlays(bool on, const DDCaps& caps);
void DdOfferOverlays(bool on);
// Shrinks to a tenth, stretches 32 times, no alignment rules.
DDCaps DdDefaultOverlayCaps();
// Off: off-screen YUV surfaces are refused (DDERR_INVALIDPIXELFORMAT), as by
// a card without YUV support. On from the start.
void DdOfferYuvSurfaces(bool on);
// The display is lost whole (a task switch or another program's mode):
// video surfaces as above, and every live object answers CreateSurface with
// DDERR_WRONGMODE until SetCooperativeLevel is called on it again.
void DdLoseDevice();
struct DdOverlayCall {
  bool show;
  bool hasSource, hasDestination;
  Rect source, destination;
};
const std::vector<DdOverlayCall>& DdOverlayCalls();
// A display whose beam never moves: line 0, never a vertical blank.
void DdFreezeBeam(bool frozen);

// The display's own beam, for a program that shows its pictures through GDI
// without a DirectDraw object: the current mode's vertical blank on the
// clock, as an object would report it and wait for it.
int32_t DdDisplayBlankStatus(int32_t* inBlank);
int32_t DdWaitForDisplayBlank();

struct DdCounters {
  int creates = 0, liveObjects = 0, liveSurfaces = 0;
  int createSurfaceCalls = 0, locks = 0, unlocks = 0, blts = 0, bltFasts = 0, flips = 0, flipsToGdi = 0;
  int modeSets = 0, vblankWaits = 0, presents = 0, getDCs = 0, restores = 0;
  int blankStatusReads = 0, attachedWalks = 0;
  int clipperCreates = 0, liveClippers = 0;
};
DdCounters GetDdCounters();
void ResetDirectDrawStandIn();

}  // namespace plat
