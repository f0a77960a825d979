// The screen's output surfaces (or the memory images of software
// rendering), its pixel format, the 8-bit palette and the vertical-blank
// wait of the windowed present.
#include <cstring>

#include "framework/core/life/fatal.h"
#include "framework/core/life/system_info.h"
#include "framework/core/log.h"
#include "framework/core/window/main_window.h"
#include "framework/graphics/screen/screen.h"
#include "framework/graphics/screen/screen_size.h"
#include "framework/graphics/surfaces/surface_data.h"
#include "platform/host/host.h"
#include "platform/window/window_timer.h"

namespace qor {

namespace {

constexpr uint32_t kBackgroundColor = 0;  // the window layer's background: black

// A 6 x 6 x 6 colour cube and a grey ramp; entry 0 black, entry 255 white.
void DefaultPalette(uint32_t* out) {
  for (int i = 0; i < 216; ++i) out[i] = static_cast<uint32_t>((i / 36) * 51 << 16 | ((i / 6) % 6) * 51 << 8 | (i % 6) * 51);
  for (int i = 216; i < 256; ++i) {
    const uint32_t v = static_cast<uint32_t>((i - 216) * 255 / 39);
    out[i] = v << 16 | v << 8 | v;
  }
}

plat::DDSurface* MakeSurface(uint32_t caps, int32_t w, int32_t h, int32_t backBuffers = 0) {
  plat::DDSurfaceDesc desc;
  desc.caps = caps;
  desc.width = w;
  desc.height = h;
  desc.backBufferCount = backBuffers;
  plat::DDSurface* s = nullptr;
  return GetScreenState().directDraw->CreateSurface(&desc, &s) == plat::DD_OK ? s : nullptr;
}

void FillSurface(plat::DDSurface* s, uint32_t flags) {
  plat::DDBltFx fx;
  const PixelFormatInfo& f = GetScreenState().format;
  fx.fillColor = f.bitDepth > 8 ? PackColorForFormat(&f, (kBackgroundColor >> 16) & 255, (kBackgroundColor >> 8) & 255,
                                                     kBackgroundColor & 255, 255)
                                : 0;
  s->Blt(nullptr, nullptr, nullptr, plat::DDBLT_COLORFILL | flags, &fx);
}

void Release(plat::DDSurface*& s) {
  if (s != nullptr) s->Release();
  s = nullptr;
}

bool ExactScreenFormat(const ScreenState& s) {
  return (s.colorBits == 32 && s.format.masks[0] == 0xFF0000 && s.format.masks[1] == 0xFF00 &&
          s.format.masks[2] == 0xFF) ||
         (s.colorBits == 16 && s.format.masks[0] == 0xF800 && s.format.masks[1] == 0x07E0 &&
          s.format.masks[2] == 0x001F);
}

// A screen that cannot be made ends the program, except at the first start
// while the software retry can still answer it.
int Fail(const char* text) {
  if (!IsSoftwareRetryOpen()) FatalError(text);
  LogOutput(text);
  ReleaseScreenSurfaces();
  return -1;
}

// Locks the back surface for good and makes the back image over it.
int LockBackIntoImage(ScreenState& s) {
  int32_t pitch = 0;
  uint8_t* pixels = nullptr;
  if (s.back->Lock(nullptr, &pitch, &pixels, plat::DDLOCK_WAIT) != plat::DD_OK) return -1;
  std::memset(&s.backImage, 0, sizeof s.backImage);
  if (CreateMemImg(&s.backImage, s.width, s.height, pitch, 0, s.colorBits == 16 ? kMemImgKindRgb565 : kMemImgKindXrgb8888,
                   0, 0, 0, pixels) != 0) {
    s.back->Unlock(nullptr);
    return -1;
  }
  s.backImageInSurface = 1;
  return 0;
}

int32_t SetPaletteOnAttached(plat::DDSurface* surface, void* palette) {
  surface->SetPalette(static_cast<plat::DDPalette*>(palette));
  return plat::DDENUMRET_OK;
}

// Windowed, the primary and the back surface take the palette; in full
// screen the primary and every surface of its flip chain.
void SetPaletteOnScreen() {
  ScreenState& s = GetScreenState();
  if (s.primary != nullptr) s.primary->SetPalette(s.palette);
  if (IsWindowedMode()) {
    if (s.back != nullptr) s.back->SetPalette(s.palette);
  } else if (s.primary != nullptr) {
    s.primary->EnumAttachedSurfaces(s.palette, SetPaletteOnAttached);
  }
}

}  // namespace

const PixelFormatInfo* MemImageFormatOfDepth(int32_t bits) {
  return GetMemImgColorFormat(bits == 16 ? kMemImgKindRgb565 : kMemImgKindXrgb8888, 0, 0);
}

int LogScreenColorFormat() {
  ScreenState& s = GetScreenState();
  if (s.primary != nullptr) {
    plat::DDPixelFormat f;
    s.primary->GetPixelFormat(&f);
    MakeFormatFromDirectDraw(&f, &s.format);
  } else if (GetScreenColorBits() == 8) {
    MakeFormatPal8(&s.format);
  } else {
    s.format = *MemImageFormatOfDepth(GetScreenColorBits());
  }
  LogOutput("カラー情報\n");
  LogPrintf("A:%08x  B:%08x  G:%08x  B:%08x", s.format.masks[3], s.format.masks[0], s.format.masks[1],
            s.format.masks[2]);
  if (s.format.bitDepth == 16 && s.format.masks[0] == 0xF800 && s.format.masks[1] == 0x07E0) s.formatClass = kScreenClass565;
  else if (s.format.bitDepth == 16 && s.format.masks[0] == 0x7C00 && s.format.masks[1] == 0x03E0) s.formatClass = kScreenClass555;
  else if (s.format.bitDepth == 32 && s.format.masks[0] == 0xFF0000 && s.format.masks[1] == 0xFF00) s.formatClass = kScreenClass8888;
  else s.formatClass = kScreenClassOther;
  return 0;
}

int CreateScreenSurfaces() {
  ScreenState& s = GetScreenState();
  if (!s.directDrawUnusable && s.directDraw == nullptr) return -1;
  LogOutput("出力画面用の DirectDrawSurface を作成します\n");
  const bool hasDD = s.directDraw != nullptr;
  if (IsMemImageScreen()) {
    if (hasDD) {
      // The primary first, for the screen's format the back image depends on.
      s.primary = MakeSurface(plat::DDSCAPS_PRIMARYSURFACE | plat::DDSCAPS_SYSTEMMEMORY, 0, 0);
      if (s.primary == nullptr) return Fail("プライマリサーフェスの作成に失敗しました");
      LogScreenColorFormat();
      s.back = MakeSurface(plat::DDSCAPS_OFFSCREENPLAIN | plat::DDSCAPS_SYSTEMMEMORY, s.width, s.height);
      if (s.back == nullptr) return Fail("バックサーフェスの作成に失敗しました");
      FillSurface(s.back, plat::DDBLT_WAIT);
    }
    if (CreateScreenMemImg(&s.frontImage, s.width, s.height, s.requestedBits == 16 ? 0 : 1) != 0)
      return Fail("プライマリサーフェス用の MemImage の作成に失敗しました\n");
    if (hasDD && s.requestedBits == s.colorBits && ExactScreenFormat(s)) {
      if (LockBackIntoImage(s) != 0) return Fail("バックサーフェスのロックに失敗しました");
    } else if (CreateScreenMemImg(&s.backImage, s.width, s.height, s.requestedBits == 16 ? 0 : 1) != 0) {
      return Fail("バックサーフェス用の MemImage の作成に失敗しました\n");
    }
    if (CreateMemImgKind3(&s.zImage, s.width, s.height) != 0)
      return Fail("Ｚバッファサーフェス用の MemImage の作成に失敗しました\n");
    const uint32_t fill = PackColorForFormat(s.frontImage.buffer->format, (kBackgroundColor >> 16) & 255,
                                             (kBackgroundColor >> 8) & 255, kBackgroundColor & 255, 255);
    FillMemImgRect(&s.frontImage, nullptr, fill);
    FillMemImgRect(&s.backImage, nullptr, fill);
  } else {
    s.requestedBits = s.colorBits;
    if (!hasDD) return Fail("プライマリサーフェスの作成に失敗しました");
    if (IsWindowedMode()) {
      s.primary = MakeSurface(plat::DDSCAPS_PRIMARYSURFACE | plat::DDSCAPS_3DDEVICE, 0, 0);
      if (s.primary == nullptr) return Fail("プライマリサーフェスの作成に失敗しました");
      LogScreenColorFormat();
      s.back = MakeSurface(plat::DDSCAPS_OFFSCREENPLAIN | plat::DDSCAPS_3DDEVICE, s.width, s.height);
      if (s.back == nullptr) return Fail("バックサーフェスの作成に失敗しました");
      FillSurface(s.back, plat::DDBLT_WAIT);
    } else {
      s.primary = MakeSurface(plat::DDSCAPS_PRIMARYSURFACE | plat::DDSCAPS_FLIP | plat::DDSCAPS_COMPLEX |
                                  plat::DDSCAPS_3DDEVICE, 0, 0, 1);
      if (s.primary == nullptr) return Fail("プライマリサーフェスの作成に失敗しました");
      LogScreenColorFormat();
      if (s.primary->GetAttachedSurface(plat::DDSCAPS_BACKBUFFER, &s.back) != plat::DD_OK)
        return Fail("バックバッファのポインタ取得に失敗しました");
      // Every buffer of the chain starts cleared.
      for (int i = 0; i < 3; ++i) {
        FillSurface(s.back, plat::DDBLT_WAIT);
        s.primary->Flip(nullptr, plat::DDFLIP_WAIT);
      }
    }
  }
  if (hasDD) {
    if (s.tempPrimaryOption) {
      s.tempPrimary = MakeSurface(plat::DDSCAPS_OFFSCREENPLAIN | plat::DDSCAPS_SYSTEMMEMORY, s.width, s.height);
      if (s.tempPrimary == nullptr) return Fail("テンポラリプライマリサーフェスの作成に失敗しました");
      FillSurface(s.tempPrimary, plat::DDBLT_WAIT);
      if (GetSystemInfo().osCode != 264) {
        s.tempPrimarySmall = MakeSurface(plat::DDSCAPS_OFFSCREENPLAIN | plat::DDSCAPS_SYSTEMMEMORY, 320, 240);
        if (s.tempPrimarySmall == nullptr) return Fail("320x240用テンポラリプライマリサーフェスの作成に失敗しました");
      }
    }
    for (int i = 0; i < 2; ++i) {
      s.work[i] = MakeSurface(plat::DDSCAPS_OFFSCREENPLAIN | plat::DDSCAPS_SYSTEMMEMORY, s.width, s.height);
      if (s.work[i] == nullptr) return Fail(i == 0 ? "作業用サーフェスの作成に失敗しました" : "作業用サーフェス２の作成に失敗しました");
      s.work[i]->SetColorKey(plat::DDCKEY_SRCBLT, 0, 0);
    }
    if (s.back != nullptr) {
      s.zBuffer = MakeSurface(plat::DDSCAPS_ZBUFFER | plat::DDSCAPS_VIDEOMEMORY, s.width, s.height);
      if (s.zBuffer == nullptr || s.back->AddAttachedSurface(s.zBuffer) != plat::DD_OK) {
        Release(s.zBuffer);
        LogOutput("Ｚバッファの作成に失敗しました\n");
      }
    }
  } else {
    LogScreenColorFormat();
  }
  LogOutput("各スクリーンメモリの配置位置\n");
  if (IsMemImageScreen()) {
    LogOutput("PrimaryBuffer : SYSTEMMEMORY( MemImage ) ");
    LogOutput("BaskBuffer : SYSTEMMEMORY( MemImage ) ");
  } else {
    uint32_t pc = 0, bc = 0;
    s.primary->GetCaps(&pc);
    s.back->GetCaps(&bc);
    LogPrintf("PrimaryBuffer : %s  ", (pc & plat::DDSCAPS_VIDEOMEMORY) ? "VIDEOMEMORY" : "SYSTEMMEMORY");
    LogPrintf("BaskBuffer : %s  ", (bc & plat::DDSCAPS_VIDEOMEMORY) ? "VIDEOMEMORY" : "SYSTEMMEMORY");
  }
  LogOutput("出力画面用の DirectDrawSurface の作成は正常に終了しました\n");
  return 0;
}

int ReleaseScreenSurfaces() {
  ScreenState& s = GetScreenState();
  const bool any = s.primary != nullptr || IsMemImgValid(&s.frontImage);
  if (any) LogOutput("メインサーフェスを破棄をします... ");
  if (s.backImageInSurface && s.back != nullptr) s.back->Unlock(nullptr);
  s.backImageInSurface = 0;
  if (s.zBuffer != nullptr && s.back != nullptr) s.back->DeleteAttachedSurface(s.zBuffer);
  Release(s.zBuffer);
  if (s.primary != nullptr && s.back != nullptr) {
    plat::DDSurface* attached = nullptr;
    if (s.primary->GetAttachedSurface(plat::DDSCAPS_BACKBUFFER, &attached) == plat::DD_OK && attached == s.back)
      s.back = nullptr;  // goes with the primary
  }
  Release(s.back);
  Release(s.primary);
  Release(s.tempPrimary);
  Release(s.tempPrimarySmall);
  Release(s.work[0]);
  Release(s.work[1]);
  for (MemImage* image : {&s.frontImage, &s.backImage, &s.zImage}) {
    if (IsMemImgValid(image)) ReleaseMemImg(image);
  }
  s.targetSurface = nullptr;
  s.targetImage = nullptr;
  s.targetZ = nullptr;
  if (any) LogOutput("完了しました\n");
  return 0;
}

int RestoreLostScreenSurfaces() {
  ScreenState& s = GetScreenState();
  for (plat::DDSurface* surface : {s.primary, s.tempPrimary, s.tempPrimarySmall, s.back, s.zBuffer}) {
    if (surface != nullptr && surface->IsLost() == plat::DDERR_SURFACELOST) surface->Restore();
  }
  return 0;
}

int CreateScreenPalette() {
  ScreenState& s = GetScreenState();
  if (GetScreenColorBits() != 8 || s.directDraw == nullptr || s.palette != nullptr) return 0;
  DefaultPalette(s.paletteEntries);
  if (s.directDraw->CreatePalette(plat::DDPCAPS_8BIT, s.paletteEntries, &s.palette) != plat::DD_OK) {
    // Fatal even while the software retry is open: software rendering
    // draws no 8-bit screen, so the retry could not answer it.
    s.palette = nullptr;
    FatalError("パレットの作成に失敗しました");
  }
  SetPaletteOnScreen();
  return 0;
}

// After a loss the palette is made again from the entries it had (the
// object that made the old one may be gone) and set on the new surfaces.
int ReloadScreenPalette() {
  ScreenState& s = GetScreenState();
  if (s.requestedBits != 8 || s.directDraw == nullptr) return 0;
  if (s.palette != nullptr) s.palette->Release();
  s.palette = nullptr;
  if (s.directDraw->CreatePalette(plat::DDPCAPS_8BIT, s.paletteEntries, &s.palette) != plat::DD_OK) {
    s.palette = nullptr;
    FatalError("パレットの作成に失敗しました");
  }
  SetPaletteOnScreen();
  return s.palette->SetEntries(0, 256, s.paletteEntries) == plat::DD_OK ? 0 : -1;
}

// Without a DirectDraw object (software rendering through GDI) the display's
// own blank is waited for on the clock, so that scenes paced by the blank
// show the frames they would with the object.
int AwaitVBlankInterval() {
  ScreenState& s = GetScreenState();
  plat::DirectDraw* dd = s.directDraw;
  auto inBlank = [dd] {
    int32_t blank = 0;
    if (dd != nullptr) dd->GetVerticalBlankStatus(&blank);
    else plat::DdDisplayBlankStatus(&blank);
    return blank != 0;
  };
  auto waitForBlank = [dd] {
    if (dd != nullptr) dd->WaitForVerticalBlank(plat::DDWAITVB_BLOCKBEGIN);
    else plat::DdWaitForDisplayBlank();
  };
  const uint32_t interval = static_cast<uint32_t>(s.vblankInterval);
  if (s.vblankInterval < 0 || plat::HostMillis() - s.lastVBlankWait >= interval) {
    plat::HostSleepMs(0);
    if (!inBlank()) waitForBlank();
  } else {
    while (plat::HostMillis() - s.lastVBlankWait < interval) plat::HostSleepMs(1);
    waitForBlank();
  }
  s.lastVBlankWait = plat::HostMillis();
  return 0;
}

int CopyPrimaryToTempSurface() {
  ScreenState& s = GetScreenState();
  if (s.primary == nullptr || s.tempPrimary == nullptr) return -1;
  const plat::Rect area = GetMainWindowState().clientRect;
  plat::Rect source{area.left, area.top, area.left + s.width, area.top + s.height};
  if (!IsWindowedMode()) source = plat::Rect{0, 0, s.width, s.height};
  if (source.left < 0 || source.top < 0 || source.right > s.primary->width() || source.bottom > s.primary->height())
    return -1;
  return s.tempPrimary->Blt(nullptr, s.primary, &source, plat::DDBLT_WAIT, nullptr) == plat::DD_OK ? 0 : -1;
}

int CopyTempSurfaceToPrimary() {
  ScreenState& s = GetScreenState();
  if (s.primary == nullptr || s.tempPrimary == nullptr) return -1;
  const plat::Rect area = GetMainWindowState().clientRect;
  plat::Rect to{area.left, area.top, area.left + s.width, area.top + s.height};
  if (!IsWindowedMode()) to = plat::Rect{0, 0, s.width, s.height};
  if (to.left < 0 || to.top < 0 || to.right > s.primary->width() || to.bottom > s.primary->height()) return -1;
  return s.primary->Blt(&to, s.tempPrimary, nullptr, plat::DDBLT_WAIT, nullptr) == plat::DD_OK ? 0 : -1;
}

void OnScreenRefreshTimer(plat::Hwnd window, uint32_t /*message*/, uintptr_t id, uint32_t /*time*/) {
  CopyTempSurfaceToPrimary();
  plat::SetTimer(window, id, kScreenRefreshPeriodMs, OnScreenRefreshTimer);
}

}  // namespace qor
