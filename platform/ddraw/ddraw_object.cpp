#include <algorithm>
#include <cstring>

#include "platform/ddraw/ddraw_state.h"
#include "platform/host/host.h"
#include "platform/window/display_settings.h"

namespace plat {

namespace {

DdState g_dd;

constexpr int kBlankLines = 45;  // lines of the vertical blank below the visible ones

// Where the beam is now: the line (0 .. height + kBlankLines - 1).
uint32_t BeamLine(int height, int rate) {
  if (g_dd.beamFrozen) return 0;
  const uint64_t period = 1000000u / static_cast<uint64_t>(rate > 0 ? rate : 60);
  const uint64_t lines = static_cast<uint64_t>(height) + kBlankLines;
  return static_cast<uint32_t>((HostMicros() % period) * lines / period);
}

// Host micros when the next vertical blank begins on a display of this
// height and refresh rate.
uint64_t NextBlankAt(int height, int rate) {
  const uint64_t period = 1000000u / static_cast<uint64_t>(rate > 0 ? rate : 60);
  const uint64_t h = static_cast<uint64_t>(height > 0 ? height : 1);
  const uint64_t blankStart = period * h / (h + kBlankLines);
  const uint64_t start = HostMicros();
  const uint64_t at = start % period;
  return start + (at < blankStart ? blankStart - at : period - at + blankStart);
}

// The blank lasts under 1.5 ms, less than a sleep may overrun on a busy
// machine: sleeping up to it and then looking for it missed it in a quarter
// of the frames, each miss costing a whole frame. So sleep whole
// milliseconds to at least 1 ms short of it, then yield until it begins; a
// late wake-up returns late within this blank, never at the next one.
void WaitUntilBlank(uint64_t begins) {
  const uint64_t start = HostMicros();
  const uint64_t ahead = begins > start ? begins - start : 0;
  if (ahead > 2000) HostSleepMs(static_cast<uint32_t>(ahead / 1000 - 1));
  // A clock that stands still between sleeps (a test's) moves on with 1 ms ones.
  for (int yields = 0; HostMicros() < begins; ++yields) HostSleepMs(yields < 10000 ? 0 : 1);
}

}  // namespace

DdState& Dd() { return g_dd; }

bool DdTakeFailure(DdOp op) {
  int& n = g_dd.failNext[static_cast<int>(op)];
  if (n <= 0) return false;
  --n;
  return true;
}

void DdCurrentMode(int* width, int* height, int* bits, int* rate) {
  DisplayMode mode;
  GetCurrentDisplayMode(&mode);
  *width = mode.width;
  *height = mode.height;
  *bits = mode.bitsPerPixel;
  *rate = mode.refreshRate;
  for (const DirectDraw* d : g_dd.objects) {
    int w = 0, h = 0, b = 0, r = 0;
    const_cast<DirectDraw*>(d)->GetDisplayMode(&w, &h, &b, &r);
    if (IsDisplayModeSwitched()) *rate = r;
  }
}

DDPixelFormat DdFormatOfDepth(int bits) {
  DDPixelFormat f;
  f.bitCount = static_cast<uint32_t>(bits);
  if (bits == 8) {
    f.flags = DDPF_RGB | DDPF_PALETTEINDEXED8;
  } else if (bits == 16) {
    f.flags = DDPF_RGB;
    if (g_dd.use555) { f.redMask = 0x7C00; f.greenMask = 0x03E0; f.blueMask = 0x001F; }
    else { f.redMask = 0xF800; f.greenMask = 0x07E0; f.blueMask = 0x001F; }
  } else {
    f.flags = DDPF_RGB;
    f.bitCount = 32;
    f.redMask = 0xFF0000; f.greenMask = 0xFF00; f.blueMask = 0xFF;
  }
  return f;
}

bool DdSameFormat(const DDPixelFormat& a, const DDPixelFormat& b) {
  return a.flags == b.flags && a.bitCount == b.bitCount && a.redMask == b.redMask && a.greenMask == b.greenMask &&
         a.blueMask == b.blueMask && a.alphaMask == b.alphaMask && a.fourCC == b.fourCC;
}

bool DdYuvLayout(uint32_t fourCC, int width, int height, int32_t* pitch, uint64_t* bytes) {
  if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return false;
  if (fourCC == DdFourCC('Y', 'V', '1', '2')) {
    // Luma rows at the pitch, then the V and U planes at half the pitch.
    if (width % 2 != 0 || height % 2 != 0) return false;
    *pitch = (width + 7) & ~7;
    *bytes = static_cast<uint64_t>(*pitch) * static_cast<uint64_t>(height) * 3 / 2;
    return true;
  }
  if (fourCC == DdFourCC('Y', 'U', 'Y', '2') || fourCC == DdFourCC('U', 'Y', 'V', 'Y')) {
    if (width % 2 != 0) return false;
    *pitch = (width * 2 + 3) & ~3;
    *bytes = static_cast<uint64_t>(*pitch) * static_cast<uint64_t>(height);
    return true;
  }
  return false;
}

namespace {

// The overlay formats the hosts can show: packed YUV.
bool OverlayFormatAccepted(const DDPixelFormat& f) {
  return (f.flags & DDPF_FOURCC) && (f.fourCC == DdFourCC('U', 'Y', 'V', 'Y') || f.fourCC == DdFourCC('Y', 'U', 'Y', '2'));
}

}  // namespace

int32_t DirectDrawCreate(DirectDraw** out) {
  if (out == nullptr) return DDERR_INVALIDPARAMS;
  *out = nullptr;
  if (DdTakeFailure(DdOp::Create)) return DDERR_GENERIC;
  *out = new DirectDraw();
  g_dd.objects.push_back(*out);
  ++g_dd.counters.creates;
  ++g_dd.counters.liveObjects;
  return DD_OK;
}

int32_t DirectDraw::SetCooperativeLevel(Hwnd window, uint32_t flags) {
  DdPresentPending();  // what was written shows as the display was
  if (DdTakeFailure(DdOp::CooperativeLevel)) return DDERR_GENERIC;
  const bool exclusive = (flags & (DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN)) != 0;
  if (exclusive && (flags & (DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN)) != (DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN))
    return DDERR_INVALIDPARAMS;
  if (exclusive && window == 0) return DDERR_INVALIDPARAMS;
  coopWindow_ = window;
  coopFlags_ = flags;
  lost_ = false;
  return DD_OK;
}

int32_t DirectDraw::SetDisplayMode(int width, int height, int bits, int rate, uint32_t /*flags*/) {
  DdPresentPending();
  if (!(coopFlags_ & DDSCL_EXCLUSIVE)) return DDERR_NOEXCLUSIVEMODE;
  if (width <= 0 || height <= 0 || (bits != 8 && bits != 16 && bits != 32) || rate < 0) return DDERR_INVALIDPARAMS;
  for (const RefusedMode& m : g_dd.refused) {
    if (m.width == width && m.height == height && m.bits == bits && (m.rate == -1 || m.rate == rate))
      return DDERR_UNSUPPORTEDMODE;
  }
  if (!plat::SetDisplayMode(width, height, bits, rate)) return DDERR_UNSUPPORTEDMODE;
  ++g_dd.counters.modeSets;
  modeSet_ = true;
  modeWidth_ = width;
  modeHeight_ = height;
  modeBits_ = bits;
  modeRate_ = rate;
  return DD_OK;
}

int32_t DirectDraw::RestoreDisplayMode() {
  DdPresentPending();
  if (modeSet_) plat::RestoreDisplayMode();
  modeSet_ = false;
  return DD_OK;
}

int32_t DirectDraw::GetDisplayMode(int* width, int* height, int* bits, int* rate) {
  if (modeSet_) {
    *width = modeWidth_;
    *height = modeHeight_;
    *bits = modeBits_;
    *rate = modeRate_;
    return DD_OK;
  }
  DisplayMode desktop;
  GetDesktopMode(&desktop);
  *width = desktop.width;
  *height = desktop.height;
  *bits = desktop.bitsPerPixel;
  *rate = 0;
  return DD_OK;
}

int32_t DirectDraw::CreateSurface(const DDSurfaceDesc* desc, DDSurface** out) {
  if (desc == nullptr || out == nullptr) return DDERR_INVALIDPARAMS;
  *out = nullptr;
  ++g_dd.counters.createSurfaceCalls;
  const bool primary = (desc->caps & DDSCAPS_PRIMARYSURFACE) != 0;
  if (DdTakeFailure(DdOp::CreateSurface) || (primary && DdTakeFailure(DdOp::CreatePrimary))) return DDERR_GENERIC;
  if (lost_) return DDERR_WRONGMODE;
  int w = desc->width, h = desc->height, bits = 0, rate = 0;
  if (primary) {
    if (primary_ != nullptr) return DDERR_GENERIC;  // one primary per object
    GetDisplayMode(&w, &h, &bits, &rate);
  } else {
    int mw = 0, mh = 0;
    GetDisplayMode(&mw, &mh, &bits, &rate);
  }
  if (w <= 0 || h <= 0 || w > 16384 || h > 16384) return DDERR_INVALIDPARAMS;
  DDPixelFormat format = DdFormatOfDepth(bits);
  if (desc->caps & DDSCAPS_ZBUFFER) {
    format = DDPixelFormat{DDPF_ZBUFFER, 16, 0xFFFF, 0, 0, 0};
  } else if (desc->hasPixelFormat) {
    format = desc->pixelFormat;
    if (format.flags & DDPF_FOURCC) {
      if (!g_dd.yuvSurfaces && !(desc->caps & DDSCAPS_OVERLAY)) return DDERR_INVALIDPIXELFORMAT;
      format.bitCount = format.fourCC == DdFourCC('Y', 'V', '1', '2') ? 12 : 16;
    } else if (format.bitCount != 8 && format.bitCount != 16 && format.bitCount != 24 && format.bitCount != 32) {
      return DDERR_INVALIDPIXELFORMAT;
    }
  }
  if (desc->caps & DDSCAPS_OVERLAY) {
    if (!g_dd.overlays) return DDERR_NOOVERLAYHW;
    if (!OverlayFormatAccepted(format)) return DDERR_INVALIDPIXELFORMAT;
  }
  uint32_t caps = desc->caps;
  int32_t pitch = (w * static_cast<int32_t>(format.bitCount / 8) + 3) & ~3;
  uint64_t bytes = static_cast<uint64_t>(pitch) * static_cast<uint64_t>(h);
  if (format.flags & DDPF_FOURCC) {
    // YUV surfaces live in memory only and are never part of a chain.
    if (primary || (caps & (DDSCAPS_FLIP | DDSCAPS_TEXTURE)) != 0) return DDERR_INVALIDPARAMS;
    if (!DdYuvLayout(format.fourCC, w, h, &pitch, &bytes)) return DDERR_INVALIDPIXELFORMAT;
  }
  const int chain = (caps & DDSCAPS_FLIP) && (caps & DDSCAPS_COMPLEX) ? std::max(desc->backBufferCount, 1) : 0;
  if (!(caps & DDSCAPS_SYSTEMMEMORY)) {
    const uint64_t needed = bytes * static_cast<uint64_t>(1 + chain);
    const bool outOfVideo = DdTakeFailure(DdOp::VideoMemory) || g_dd.videoMemoryUsed + needed > kDdVideoMemoryBytes;
    if (outOfVideo) {
      if (caps & (DDSCAPS_VIDEOMEMORY | DDSCAPS_PRIMARYSURFACE | DDSCAPS_ZBUFFER)) return DDERR_OUTOFVIDEOMEMORY;
      caps |= DDSCAPS_SYSTEMMEMORY;
    } else {
      caps |= DDSCAPS_VIDEOMEMORY;
      g_dd.videoMemoryUsed += needed;
    }
  }
  auto make = [&](uint32_t surfaceCaps) {
    DDSurface* s = new DDSurface();
    s->owner_ = this;
    s->caps_ = surfaceCaps;
    s->width_ = w;
    s->height_ = h;
    s->pitch_ = pitch;
    s->format_ = format;
    s->memory_.assign(static_cast<size_t>(bytes), 0);
    g_dd.surfaces.push_back(s);
    ++g_dd.counters.liveSurfaces;
    return s;
  };
  DDSurface* s = make(caps | (chain ? DDSCAPS_FRONTBUFFER : 0));
  if (chain) {
    DDSurface* back = make((caps & ~(DDSCAPS_PRIMARYSURFACE | DDSCAPS_FRONTBUFFER)) | DDSCAPS_BACKBUFFER);
    s->back_ = back;
    back->front_ = s;
  }
  if (primary) primary_ = s;
  *out = s;
  return DD_OK;
}



int32_t DirectDraw::CreatePalette(uint32_t flags, const uint32_t* entries, DDPalette** out) {
  if (out == nullptr || !(flags & DDPCAPS_8BIT)) return DDERR_INVALIDPARAMS;
  *out = nullptr;
  if (DdTakeFailure(DdOp::CreatePalette)) return DDERR_OUTOFMEMORY;
  *out = new DDPalette();
  if (entries != nullptr) (*out)->SetEntries(0, 256, entries);
  return DD_OK;
}

int32_t DirectDraw::GetVerticalBlankStatus(int32_t* inBlank) {
  ++g_dd.counters.blankStatusReads;
  int w = 0, h = 0, b = 0, r = 0;
  GetDisplayMode(&w, &h, &b, &r);
  *inBlank = BeamLine(h, r) >= static_cast<uint32_t>(h) ? 1 : 0;
  return DD_OK;
}

int32_t DirectDraw::GetScanLine(uint32_t* line) {
  int w = 0, h = 0, b = 0, r = 0;
  GetDisplayMode(&w, &h, &b, &r);
  *line = BeamLine(h, r);
  return *line >= static_cast<uint32_t>(h) ? DDERR_VERTICALBLANKINPROGRESS : DD_OK;
}

uint64_t DdNextBlankAt(DirectDraw* dd) {
  int w = 0, h = 0, b = 0, r = 0;
  dd->GetDisplayMode(&w, &h, &b, &r);
  return NextBlankAt(h, r);
}

int32_t DirectDraw::WaitForVerticalBlank(uint32_t /*flags*/) {
  ++g_dd.counters.vblankWaits;
  WaitUntilBlank(DdNextBlankAt(this));
  return DD_OK;
}

int32_t DdDisplayBlankStatus(int32_t* inBlank) {
  ++g_dd.counters.blankStatusReads;
  DisplayMode mode;
  GetCurrentDisplayMode(&mode);
  *inBlank = BeamLine(mode.height, mode.refreshRate) >= static_cast<uint32_t>(mode.height) ? 1 : 0;
  return DD_OK;
}

int32_t DdWaitForDisplayBlank() {
  ++g_dd.counters.vblankWaits;
  DisplayMode mode;
  GetCurrentDisplayMode(&mode);
  WaitUntilBlank(NextBlankAt(mode.height, mode.refreshRate));
  return DD_OK;
}

// The stand-in's primary is always GDI's surface: there is nothing to move,
// only the call to count.
int32_t DirectDraw::FlipToGDISurface() {
  ++g_dd.counters.flipsToGdi;
  return DD_OK;
}

int32_t DirectDraw::GetCaps(DDCaps* out) const {
  if (out == nullptr) return DDERR_INVALIDPARAMS;
  *out = g_dd.overlays ? g_dd.overlayCaps : DDCaps{};
  if (g_dd.overlays) out->caps |= DDCAPS_OVERLAY;
  return DD_OK;
}

void DdOfferOverlays(bool on, const DDCaps& caps) {
  g_dd.overlays = on;
  g_dd.overlayCaps = caps;
}

void DdOfferYuvSurfaces(bool on) { g_dd.yuvSurfaces = on; }

void DdOfferOverlays(bool on) { DdOfferOverlays(on, DdDefaultOverlayCaps()); }

DDCaps DdDefaultOverlayCaps() {
  DDCaps caps;
  caps.minOverlayStretch = 100;
  caps.maxOverlayStretch = 32000;
  return caps;
}

const std::vector<DdOverlayCall>& DdOverlayCalls() { return g_dd.overlayCalls; }

int32_t DirectDraw::GetAvailableVidMem(uint32_t /*caps*/, uint32_t* total, uint32_t* free) {
  if (total) *total = static_cast<uint32_t>(kDdVideoMemoryBytes);
  if (free) *free = static_cast<uint32_t>(kDdVideoMemoryBytes - g_dd.videoMemoryUsed);
  return DD_OK;
}

void DirectDraw::Release() {
  RestoreDisplayMode();
  // Surfaces outlive their object only as lost husks.
  for (DDSurface* s : g_dd.surfaces) {
    if (s->owner_ == this) {
      s->owner_ = nullptr;
      s->lost_ = true;
    }
  }
  for (DDClipper* c : g_dd.clippers) {
    if (DdAccess::OwnerOf(c) == this) DdAccess::Orphan(c);
  }
  g_dd.objects.erase(std::remove(g_dd.objects.begin(), g_dd.objects.end(), this), g_dd.objects.end());
  --g_dd.counters.liveObjects;
  delete this;
}


int32_t DDPalette::GetEntries(uint32_t first, uint32_t count, uint32_t* out) const {
  if (first > 256 || count > 256 - first || out == nullptr) return DDERR_INVALIDPARAMS;
  std::memcpy(out, entries_ + first, count * 4);
  return DD_OK;
}

int32_t DDPalette::SetEntries(uint32_t first, uint32_t count, const uint32_t* entries) {
  DdPresentPending();  // in the colours it was written in
  if (first > 256 || count > 256 - first || entries == nullptr) return DDERR_INVALIDPARAMS;
  for (uint32_t i = 0; i < count; ++i) entries_[first + i] = entries[i] & 0xFFFFFF;
  return DD_OK;
}

void DDPalette::Release() {
  DdPresentPending();  // a write still to show reads these colours
  delete this;
}

void DdFailNext(DdOp op, int times) { g_dd.failNext[static_cast<int>(op)] += times; }
void DdRefuseMode(int width, int height, int bits, int rate) { g_dd.refused.push_back({width, height, bits, rate}); }
void DdUse555(bool on) { g_dd.use555 = on; }
void DdFreezeBeam(bool frozen) { g_dd.beamFrozen = frozen; }

void DdLoseVideoSurfaces() {
  DdPresentPending();
  for (DDSurface* s : g_dd.surfaces) {
    uint32_t caps = 0;
    s->GetCaps(&caps);
    if (caps & DDSCAPS_VIDEOMEMORY) DdAccess::MarkLost(s);
  }
}

DdCounters GetDdCounters() { return g_dd.counters; }

void ResetDirectDrawStandIn() {
  // Whatever a test left behind is freed here.
  DdPresentPending();
  DdForgetPending();
  for (DDSurface* s : g_dd.surfaces) DdAccess::Free(s);
  for (DirectDraw* d : g_dd.objects) DdAccess::Free(d);
  DdForgetOverlays();
  for (DDClipper* c : g_dd.clippers) DdAccess::Free(c);
  g_dd = DdState{};
}

}  // namespace plat
