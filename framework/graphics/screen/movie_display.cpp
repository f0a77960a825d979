#include "framework/graphics/screen/movie_display.h"

#include "framework/graphics/screen/screen.h"
#include "framework/graphics/screen/screen_size.h"

namespace qor {

int GetOverlayPixelFormat(plat::DDPixelFormat* out) {
  const ScreenState& s = GetScreenState();
  int32_t w = 0, h = 0;
  QueryScreenSize(&w, &h);
  if (s.directDraw == nullptr || out == nullptr || w < 640 || h < 400) return -1;
  plat::DDCaps caps;
  if (s.directDraw->GetCaps(&caps) != plat::DD_OK || (caps.caps & plat::DDCAPS_OVERLAY) == 0) return -1;
  const plat::DDPixelFormat candidates[] = {
      {plat::DDPF_FOURCC, 0, 0, 0, 0, 0, plat::DdFourCC('U', 'Y', 'V', 'Y')},
      {plat::DDPF_FOURCC, 0, 0, 0, 0, 0, plat::DdFourCC('Y', 'U', 'Y', '2')},
      {plat::DDPF_RGB, 16, 0x7C00, 0x3E0, 0x1F, 0, 0},
      {plat::DDPF_RGB, 16, 0xF800, 0x7E0, 0x1F, 0, 0},
  };
  for (const plat::DDPixelFormat& f : candidates) {
    plat::DDSurfaceDesc desc;
    desc.caps = plat::DDSCAPS_OVERLAY | plat::DDSCAPS_VIDEOMEMORY;
    desc.width = 64;
    desc.height = 64;
    desc.hasPixelFormat = true;
    desc.pixelFormat = f;
    plat::DDSurface* probe = nullptr;
    if (s.directDraw->CreateSurface(&desc, &probe) == plat::DD_OK) {
      probe->Release();
      *out = f;
      return 0;
    }
  }
  return -1;
}

int CopyDisplayCaps(plat::DDCaps* out) {
  if (out == nullptr) return -1;
  *out = plat::DDCaps{};
  const ScreenState& s = GetScreenState();
  if (s.directDraw != nullptr) s.directDraw->GetCaps(out);
  return 0;
}

plat::DDSurface* GetPrimaryOrTempSurface() {
  const ScreenState& s = GetScreenState();
  return s.tempPrimary != nullptr ? s.tempPrimary : s.primary;
}

}  // namespace qor
