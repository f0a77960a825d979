// Overlay surfaces: where each shown overlay is placed, handed to the host
// at every present of the primary so that it shows over the picture as a
// display card's overlay shows over the screen.
#include <algorithm>
#include <vector>

#include "platform/ddraw/ddraw_state.h"
#include "platform/host/host.h"

namespace plat {

namespace {

struct ShownOverlay {
  const DDSurface* surface;
  Rect source, destination;  // destination in primary coordinates
};

struct OverlayTable {
  std::vector<ShownOverlay> shown;
  Rect visible{};  // the part of the primary presented last
};

OverlayTable g_overlays;

void Forget(const DDSurface* s) {
  auto& v = g_overlays.shown;
  v.erase(std::remove_if(v.begin(), v.end(), [s](const ShownOverlay& o) { return o.surface == s; }), v.end());
}

HostOverlayFormat HostFormatOf(const DDSurface* s) {
  DDPixelFormat f;
  s->GetPixelFormat(&f);
  return f.fourCC == DdFourCC('U', 'Y', 'V', 'Y') ? HostOverlayFormat::Uyvy : HostOverlayFormat::Yuy2;
}

void Publish() {
  std::vector<HostOverlay> list;
  const Rect& at = g_overlays.visible;
  for (const ShownOverlay& o : g_overlays.shown) {
    if (!Dd().overlays || o.surface->lost()) continue;
    HostOverlay h;
    h.id = reinterpret_cast<uintptr_t>(o.surface);
    h.format = HostFormatOf(o.surface);
    h.pixels = o.surface->memory();
    h.pitch = o.surface->pitch();
    h.width = o.surface->width();
    h.height = o.surface->height();
    h.source = HostRect{o.source.left, o.source.top, o.source.right, o.source.bottom};
    h.destination = HostRect{o.destination.left - at.left, o.destination.top - at.top, o.destination.right - at.left,
                             o.destination.bottom - at.top};
    list.push_back(h);
  }
  HostSetOverlays(list.data(), static_cast<int>(list.size()));
}

}  // namespace

int32_t DDSurface::UpdateOverlay(const Rect* source, DDSurface* onto, const Rect* destination, uint32_t flags) {
  DdPresentPending();  // the picture written so far shows with the overlays as they were
  if (!(caps_ & DDSCAPS_OVERLAY) || onto == nullptr) return DDERR_INVALIDPARAMS;
  if (lost_ || onto->lost_) return DDERR_SURFACELOST;
  DdOverlayCall call{};
  call.show = (flags & DDOVER_SHOW) != 0 && (flags & DDOVER_HIDE) == 0;
  call.hasSource = source != nullptr;
  call.hasDestination = destination != nullptr;
  if (source != nullptr) call.source = *source;
  if (destination != nullptr) call.destination = *destination;
  const Rect whole{0, 0, width_, height_};
  const Rect from = source != nullptr ? *source : whole;
  if (call.show) {
    const bool sourceInside = from.left >= 0 && from.top >= 0 && from.left < from.right && from.top < from.bottom &&
                              from.right <= width_ && from.bottom <= height_;
    if (destination == nullptr || !sourceInside || destination->left >= destination->right ||
        destination->top >= destination->bottom) {
      return DDERR_INVALIDRECT;
    }
  }
  Dd().overlayCalls.push_back(call);
  Forget(this);
  if (call.show) g_overlays.shown.push_back(ShownOverlay{this, from, *destination});
  Publish();
  return DD_OK;
}

void DdShowOverlays(const Rect& visible) {
  g_overlays.visible = visible;
  Publish();
}

void DdOverlayGone(const DDSurface* overlay) {
  Forget(overlay);
  Publish();
}

void DdForgetOverlays() {
  g_overlays = OverlayTable{};
  HostSetOverlays(nullptr, 0);
}

}  // namespace plat
