#include "framework/graphics/screen/movie_display.h"

#include "framework/core/life/system_info.h"
#include "framework/core/log.h"
#include "framework/graphics/screen/screen.h"
#include "framework/graphics/screen/screen_size.h"
#include "framework/sound/movie/theora_decoder.h"

namespace qor {

namespace {

// The overlay formats in the order they are tried.
struct OverlayFormatEntry {
  const char* name;
  plat::DDPixelFormat format;
};
const OverlayFormatEntry kOverlayFormats[kOverlayFormatCount] = {
    {"UYVY", {plat::DDPF_FOURCC, 0, 0, 0, 0, 0, plat::DdFourCC('U', 'Y', 'V', 'Y')}},
    {"YUY2", {plat::DDPF_FOURCC, 0, 0, 0, 0, 0, plat::DdFourCC('Y', 'U', 'Y', '2')}},
    {"RGB 5:5:5", {plat::DDPF_RGB, 16, 0x7C00, 0x3E0, 0x1F, 0, 0}},
    {"RGB 5:6:5", {plat::DDPF_RGB, 16, 0xF800, 0x7E0, 0x1F, 0, 0}},
};

struct MovieDisplay {
  int32_t overlayFormat = -1;  // index into kOverlayFormats, -1 none
  plat::DDCaps caps;           // as the probe read them
};
MovieDisplay g_display;

// --- the Theora decoder's YUV surfaces, made by the display -------------------------

void* CreateYuvSurface(int32_t width, int32_t height, uint32_t fourcc) {
  plat::DirectDraw* dd = GetScreenState().directDraw;
  if (dd == nullptr) return nullptr;
  plat::DDSurfaceDesc desc;
  desc.caps = plat::DDSCAPS_VIDEOMEMORY;
  desc.width = width;
  desc.height = height;
  desc.hasPixelFormat = true;
  desc.pixelFormat.flags = plat::DDPF_FOURCC;
  desc.pixelFormat.fourCC = fourcc;
  plat::DDSurface* s = nullptr;
  if (dd->CreateSurface(&desc, &s) != plat::DD_OK) return nullptr;
  return s;
}

int LockYuvSurface(void* surface, YuvSurfaceBlock* block) {
  plat::DDSurface* s = static_cast<plat::DDSurface*>(surface);
  int32_t pitch = 0;
  uint8_t* bits = nullptr;
  if (s->Lock(nullptr, &pitch, &bits, plat::DDLOCK_WAIT | plat::DDLOCK_WRITEONLY) != plat::DD_OK) return -1;
  plat::DDPixelFormat f;
  s->GetPixelFormat(&f);
  *block = YuvSurfaceBlock{bits, pitch, s->width(), s->height(), f.fourCC};
  return 0;
}

void UnlockYuvSurface(void* surface) { static_cast<plat::DDSurface*>(surface)->Unlock(nullptr); }
void ReleaseYuvSurface(void* surface) { static_cast<plat::DDSurface*>(surface)->Release(); }

const TheoraSurfaceOps kYuvSurfaceOps = {CreateYuvSurface, LockYuvSurface, UnlockYuvSurface, ReleaseYuvSurface};

}  // namespace

void StartMovieDisplay() {
  ScreenState& s = GetScreenState();
  // Theora frames go into the display's YUV surfaces whenever it makes them.
  SetTheoraSurfaceOps(&kYuvSurfaceOps);
  g_display = MovieDisplay{};
  if (s.directDraw != nullptr && GetSystemInfo().osCode != 264) {
    s.directDraw->GetCaps(&g_display.caps);
    const plat::DDCaps& c = g_display.caps;
    if (c.minOverlayStretch < 1000 || c.maxOverlayStretch < 2000) {
      for (int32_t i = 0; i < kOverlayFormatCount && g_display.overlayFormat == -1; ++i) {
        plat::DDSurfaceDesc desc;
        desc.caps = plat::DDSCAPS_OVERLAY | plat::DDSCAPS_VIDEOMEMORY;
        desc.width = 16;
        desc.height = 16;
        desc.hasPixelFormat = true;
        desc.pixelFormat = kOverlayFormats[i].format;
        plat::DDSurface* probe = nullptr;
        if (s.directDraw->CreateSurface(&desc, &probe) != plat::DD_OK) continue;
        uint32_t caps = 0;
        probe->GetCaps(&caps);
        if (caps & plat::DDSCAPS_VIDEOMEMORY) g_display.overlayFormat = i;
        probe->Release();
      }
    }
  }
  if (g_display.overlayFormat != -1) {
    LogPrintf("オーバーレイサーフェスを使用します　　　%s", kOverlayFormats[g_display.overlayFormat].name);
  } else {
    LogOutput("オーバーレイサーフェスは使用しません\n");
  }
}

int32_t GetOverlayFormatIndex() { return g_display.overlayFormat; }

const plat::DDPixelFormat* GetOverlayPixelFormat() {
  int32_t w = 0, h = 0;
  QueryScreenSize(&w, &h);
  if (g_display.overlayFormat == -1 || GetScreenState().directDraw == nullptr || w < 640 || h < 400) return nullptr;
  return &kOverlayFormats[g_display.overlayFormat].format;
}

int GetOverlayPixelFormat(plat::DDPixelFormat* out) {
  const plat::DDPixelFormat* f = GetOverlayPixelFormat();
  if (f == nullptr || out == nullptr) return -1;
  *out = *f;
  return 0;
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
