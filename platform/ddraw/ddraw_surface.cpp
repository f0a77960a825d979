#include <algorithm>
#include <cstring>

#include "platform/ddraw/ddraw_blit_rows.h"
#include "platform/ddraw/ddraw_state.h"
#include "platform/gdi/gdi_pixels.h"
#include "platform/host/host.h"

namespace plat {

namespace {

bool Inside(const Rect& r, int w, int h) {
  return r.left >= 0 && r.top >= 0 && r.left < r.right && r.top < r.bottom && r.right <= w && r.bottom <= h;
}

Rect Whole(const DDSurface* s) { return Rect{0, 0, s->width(), s->height()}; }

DdPlane SurfacePlane(DDSurface* s) {
  DDPixelFormat f;
  s->GetPixelFormat(&f);
  return DdPlane{s->deviceMemory(), s->pitch(), static_cast<int>(f.bitCount / 8)};
}

}  // namespace

GdiPixels DdSurfacePixels(DDSurface* s, const uint32_t* palette) {
  GdiPixels p;
  DDPixelFormat f;
  s->GetPixelFormat(&f);
  p.pixels = const_cast<uint8_t*>(s->memory());
  p.pitch = s->pitch();
  p.width = s->width();
  p.height = s->height();
  p.bits = static_cast<int32_t>(f.bitCount);
  p.masks[0] = f.redMask;
  p.masks[1] = f.greenMask;
  p.masks[2] = f.blueMask;
  p.palette = palette;
  return p;
}

namespace {

bool IsVisiblePrimary(const DDSurface* /*s*/, uint32_t caps) { return (caps & DDSCAPS_PRIMARYSURFACE) != 0; }

}  // namespace

int32_t DDSurface::Lock(const Rect* rect, int32_t* pitch, uint8_t** pixels, uint32_t /*flags*/) {
  ++Dd().counters.locks;
  if (pitch == nullptr || pixels == nullptr) return DDERR_INVALIDPARAMS;
  if (lost_) return DDERR_SURFACELOST;
  if (DdTakeFailure(DdOp::Lock)) return DDERR_GENERIC;
  if (lockCount_ > 0 || dc_ != 0) return DDERR_SURFACEBUSY;
  Rect r = rect != nullptr ? *rect : Whole(this);
  if (!Inside(r, width_, height_)) return DDERR_INVALIDRECT;
  ++lockCount_;
  *pitch = pitch_;
  *pixels = memory_.data() + static_cast<std::ptrdiff_t>(r.top) * pitch_ +
            static_cast<std::ptrdiff_t>(r.left) * (format_.bitCount / 8);
  return DD_OK;
}

int32_t DDSurface::DeviceWrote() {
  if (lost_) return DDERR_SURFACELOST;
  if (IsVisiblePrimary(this, caps_)) DdPrimaryWritten(this, owner_);
  return DD_OK;
}

int32_t DDSurface::Unlock(const Rect* /*rect*/) {
  ++Dd().counters.unlocks;
  if (lockCount_ == 0) return DDERR_NOTLOCKED;
  --lockCount_;
  if (IsVisiblePrimary(this, caps_)) DdPrimaryWritten(this, owner_);
  return DD_OK;
}

int32_t DDSurface::Blt(const Rect* destination, DDSurface* source, const Rect* sourceRect, uint32_t flags,
                       const DDBltFx* fx) {
  ++Dd().counters.blts;
  if (lost_ || (source != nullptr && source->lost_)) return DDERR_SURFACELOST;
  if (lockCount_ > 0 || (source != nullptr && source->lockCount_ > 0)) return DDERR_SURFACEBUSY;
  Rect d = destination != nullptr ? *destination : Whole(this);
  if (!Inside(d, width_, height_)) return DDERR_INVALIDRECT;
  // A clipper bound to a window limits the primary to the window's client area.
  Rect clip = Whole(this);
  if (clipper_ != nullptr && clipper_->window() != 0 && (caps_ & DDSCAPS_PRIMARYSURFACE)) {
    Rect client;
    Point origin{0, 0};
    if (GetClientRect(clipper_->window(), &client) && ClientToScreen(clipper_->window(), &origin)) {
      clip = Rect{std::max(0, origin.x), std::max(0, origin.y), std::min(width_, origin.x + client.right),
                  std::min(height_, origin.y + client.bottom)};
    }
  }
  const DdPlane to{memory_.data(), pitch_, static_cast<int>(format_.bitCount / 8)};
  if (flags & (DDBLT_COLORFILL | DDBLT_DEPTHFILL)) {
    if (fx == nullptr) return DDERR_INVALIDPARAMS;
    DdFillRows(to, d, clip, (flags & DDBLT_DEPTHFILL) ? fx->fillDepth : fx->fillColor);
  } else if (source != nullptr && (source->format_.flags & DDPF_FOURCC)) {
    const int32_t converted = DdBltFromYuv(this, d, clip, source, sourceRect);
    if (converted != DD_OK) return converted;
  } else {
    if (source == nullptr) return DDERR_INVALIDPARAMS;
    if (!DdSameFormat(format_, source->format_)) return DDERR_INVALIDPIXELFORMAT;
    const Rect s = sourceRect != nullptr ? *sourceRect : Whole(source);
    if (!Inside(s, source->width_, source->height_)) return DDERR_INVALIDRECT;
    const DdKeyRange key{(flags & DDBLT_KEYSRC) != 0 && source->hasKey_, source->keyLow_, source->keyHigh_};
    DdMoveRows(to, d, clip, SurfacePlane(source), s, key);
  }
  if (IsVisiblePrimary(this, caps_)) DdPrimaryWritten(this, owner_);
  return DD_OK;
}

int32_t DDSurface::BltFast(int x, int y, DDSurface* source, const Rect* sourceRect, uint32_t flags) {
  ++Dd().counters.bltFasts;
  if (source == nullptr) return DDERR_INVALIDPARAMS;
  if (lost_ || source->lost_) return DDERR_SURFACELOST;
  if (lockCount_ > 0 || source->lockCount_ > 0) return DDERR_SURFACEBUSY;
  if (!DdSameFormat(format_, source->format_)) return DDERR_INVALIDPIXELFORMAT;
  const Rect s = sourceRect != nullptr ? *sourceRect : Whole(source);
  if (!Inside(s, source->width_, source->height_)) return DDERR_INVALIDRECT;
  const Rect d{x, y, x + s.right - s.left, y + s.bottom - s.top};
  if (!Inside(d, width_, height_)) return DDERR_INVALIDRECT;
  const DdKeyRange key{(flags & DDBLTFAST_SRCCOLORKEY) != 0 && source->hasKey_, source->keyLow_, source->keyHigh_};
  DdMoveRows(SurfacePlane(this), d, d, SurfacePlane(source), s, key);
  if (IsVisiblePrimary(this, caps_)) DdPrimaryWritten(this, owner_);
  return DD_OK;
}

int32_t DDSurface::Flip(DDSurface* /*target*/, uint32_t flags) {
  ++Dd().counters.flips;
  if (back_ == nullptr) return DDERR_NOTFOUND;
  if (lost_ || back_->lost_) return DDERR_SURFACELOST;
  if (lockCount_ > 0 || back_->lockCount_ > 0) return DDERR_SURFACEBUSY;
  if (!(flags & DDFLIP_NOVSYNC) && owner_ != nullptr) {
    // As on a display card, a flip takes effect at the next vertical blank
    // and the call returns at once; only a flip made while the one before it
    // still waits for its blank waits for that blank first. So a frame that
    // runs long uses what the frame before it left over instead of missing a
    // whole refresh, and the pace stays the display's.
    if (HostMicros() < Dd().flipPendingUntil) owner_->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN);
    Dd().flipPendingUntil = DdNextBlankAt(owner_);
  }
  std::swap(memory_, back_->memory_);
  DdPresentNow(this, owner_);
  return DD_OK;
}

int32_t DDSurface::GetAttachedSurface(uint32_t caps, DDSurface** out) {
  if (out == nullptr) return DDERR_INVALIDPARAMS;
  *out = nullptr;
  if ((caps & DDSCAPS_BACKBUFFER) && back_ != nullptr) *out = back_;
  else if ((caps & DDSCAPS_ZBUFFER) && zBuffer_ != nullptr) *out = zBuffer_;
  return *out != nullptr ? DD_OK : DDERR_NOTFOUND;
}

int32_t DDSurface::EnumAttachedSurfaces(void* context, EnumSurfacesCallback callback) {
  if (callback == nullptr) return DDERR_INVALIDPARAMS;
  ++Dd().counters.attachedWalks;
  for (DDSurface* attached : {back_, zBuffer_}) {
    if (attached != nullptr && callback(attached, context) == DDENUMRET_CANCEL) break;
  }
  return DD_OK;
}

int32_t DDSurface::AddAttachedSurface(DDSurface* z) {
  if (z == nullptr || !(z->caps_ & DDSCAPS_ZBUFFER) || zBuffer_ != nullptr) return DDERR_INVALIDPARAMS;
  if (z->width_ != width_ || z->height_ != height_) return DDERR_INVALIDPARAMS;
  zBuffer_ = z;
  return DD_OK;
}

int32_t DDSurface::DeleteAttachedSurface(DDSurface* z) {
  if (z == nullptr || z != zBuffer_) return DDERR_NOTFOUND;
  zBuffer_ = nullptr;
  return DD_OK;
}

int32_t DDSurface::SetColorKey(uint32_t flags, uint32_t low, uint32_t high) {
  if (!(flags & DDCKEY_SRCBLT)) return DDERR_INVALIDPARAMS;
  hasKey_ = true;
  keyLow_ = low;
  keyHigh_ = high;
  return DD_OK;
}

int32_t DDSurface::SetClipper(DDClipper* clipper) {
  if (clipper != nullptr && clipper->owner() == nullptr) return DDERR_INVALIDOBJECT;
  clipper_ = clipper;
  return DD_OK;
}

int32_t DDSurface::SetPalette(DDPalette* palette) {
  if (format_.bitCount != 8) return DDERR_INVALIDPIXELFORMAT;
  palette_ = palette;
  return DD_OK;
}

int32_t DDSurface::GetCaps(uint32_t* caps) const {
  if (caps == nullptr) return DDERR_INVALIDPARAMS;
  *caps = caps_;
  return DD_OK;
}

int32_t DDSurface::GetPixelFormat(DDPixelFormat* out) const {
  if (out == nullptr) return DDERR_INVALIDPARAMS;
  *out = format_;
  return DD_OK;
}

int32_t DDSurface::GetSurfaceDesc(DDSurfaceDesc* out) const {
  if (out == nullptr) return DDERR_INVALIDPARAMS;
  out->caps = caps_;
  out->width = width_;
  out->height = height_;
  out->hasPixelFormat = true;
  out->pixelFormat = format_;
  out->pitch = pitch_;
  out->backBufferCount = back_ != nullptr ? 1 : 0;
  return DD_OK;
}

int32_t DDSurface::IsLost() const { return lost_ ? DDERR_SURFACELOST : DD_OK; }

int32_t DDSurface::Restore() {
  ++Dd().counters.restores;
  if (owner_ == nullptr) return DDERR_GENERIC;
  if (!lost_) return DD_OK;
  lost_ = false;
  // Contents are gone: a restored surface holds a recognisable pattern.
  std::fill(memory_.begin(), memory_.end(), kDdRestoredByte);
  return DD_OK;
}

namespace {
void SurfaceDcReleased(void* owner) {
  DDSurface* s = static_cast<DDSurface*>(owner);
  uint32_t caps = 0;
  s->GetCaps(&caps);
  if (caps & DDSCAPS_PRIMARYSURFACE) DdPrimaryWritten(s, nullptr);
}
}  // namespace

int32_t DDSurface::GetDC(Hdc* out) {
  ++Dd().counters.getDCs;
  if (out == nullptr) return DDERR_INVALIDPARAMS;
  *out = 0;
  if (lost_) return DDERR_SURFACELOST;
  if (DdTakeFailure(DdOp::GetDC)) return DDERR_GENERIC;
  if (lockCount_ > 0 || dc_ != 0) return DDERR_SURFACEBUSY;
  if (format_.flags & DDPF_ZBUFFER) return DDERR_INVALIDPIXELFORMAT;
  const uint32_t* palette = palette_ != nullptr ? palette_->entries() : nullptr;
  dc_ = CreatePixelsDC(DdSurfacePixels(this, palette), nullptr, nullptr);
  *out = dc_;
  return DD_OK;
}

int32_t DDSurface::ReleaseDC(Hdc dc) {
  if (dc == 0 || dc != dc_) return DDERR_INVALIDPARAMS;
  DeleteDC(dc);
  dc_ = 0;
  SurfaceDcReleased(this);
  return DD_OK;
}

void DDSurface::Release() {
  if (back_ != nullptr) {
    back_->front_ = nullptr;
    back_->Release();
    back_ = nullptr;
  }
  if (front_ != nullptr) return;  // a chain's back buffer goes with its primary
  DdPrimaryGoing(this);
  if (dc_ != 0) DeleteDC(dc_);
  DdState& st = Dd();
  if (caps_ & DDSCAPS_OVERLAY) DdOverlayGone(this);
  if (owner_ != nullptr && owner_->primary_ == this) owner_->primary_ = nullptr;
  if (caps_ & DDSCAPS_VIDEOMEMORY) {
    const uint64_t bytes = memory_.size();
    st.videoMemoryUsed = st.videoMemoryUsed >= bytes ? st.videoMemoryUsed - bytes : 0;
  }
  st.surfaces.erase(std::remove(st.surfaces.begin(), st.surfaces.end(), this), st.surfaces.end());
  --st.counters.liveSurfaces;
  delete this;
}

// --- presentation ---------------------------------------------------------------

void DdPresentPrimary(const DDSurface* primary, const DirectDraw* owner) {
  DDSurface* s = const_cast<DDSurface*>(primary);
  ++Dd().counters.presents;
  const DirectDraw* object = owner;
  for (const DirectDraw* d : Dd().objects) {
    if (object == nullptr) object = d;
  }
  // Windowed (no exclusive level): the window's client area of the desktop.
  Rect visible = Whole(s);
  if (object != nullptr && !(object->cooperativeFlags() & DDSCL_EXCLUSIVE)) {
    const Hwnd window = object->cooperativeWindow();
    Rect client;
    Point origin{0, 0};
    if (window == 0 || !GetClientRect(window, &client) || !ClientToScreen(window, &origin)) return;
    visible = Rect{std::max(0, origin.x), std::max(0, origin.y), std::min(s->width(), origin.x + client.right),
                   std::min(s->height(), origin.y + client.bottom)};
  }
  const int w = visible.right - visible.left, h = visible.bottom - visible.top;
  if (w <= 0 || h <= 0) return;
  DDPixelFormat f;
  s->GetPixelFormat(&f);
  const uint8_t* start = s->memory() + static_cast<std::ptrdiff_t>(visible.top) * s->pitch() +
                         static_cast<std::ptrdiff_t>(visible.left) * (f.bitCount / 8);
  DdShowOverlays(visible);
  if (f.bitCount == 16 && f.redMask == 0xF800) {
    HostPresent(start, s->pitch(), w, h, HostPixelFormat::Rgb565);
  } else if (f.bitCount == 32 && f.redMask == 0xFF0000) {
    HostPresent(start, s->pitch(), w, h, HostPixelFormat::Xrgb8888);
  } else {
    const GdiPixels from = DdSurfacePixels(s, s->palette() != nullptr ? s->palette()->entries() : nullptr);
    std::vector<uint32_t> picture(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) picture[static_cast<size_t>(y) * w + x] = gdi::ReadRgb(from, visible.left + x, visible.top + y);
    HostPresent(picture.data(), w * 4, w, h, HostPixelFormat::Xrgb8888);
  }
}

}  // namespace plat
