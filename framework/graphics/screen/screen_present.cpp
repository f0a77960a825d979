// Taking a finished frame to the display, and keeping the DirectDraw side of
// the draw target in step with the draw state.
#include <algorithm>
#include <cstring>

#include "framework/core/life/fatal.h"
#include "framework/core/life/system_info.h"
#include "framework/core/window/main_window.h"
#include "framework/graphics/images/convert_pixels.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/images/whole_block_copy.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_record.h"
#include "framework/graphics/screen/screen.h"
#include "framework/graphics/fonts/text_draw.h"
#include "framework/graphics/surfaces/surface_2d.h"
#include "platform/gdi/gdi.h"
#include "platform/host/host.h"
#include "platform/window/display_settings.h"
#include "platform/window/window_timer.h"

namespace qor {

namespace {

bool VSyncOn() { return GetDrawState().vsyncOff == 0; }

bool DirectDrawExpectedButMissing() {
  const ScreenState& s = GetScreenState();
  return !s.directDrawUnusable && s.directDraw == nullptr;
}

// Cuts a destination rectangle to a surface and the source with it (at the
// scale between the two).
bool CutToSurface(plat::Rect* d, plat::Rect* s, const plat::DDSurface* surface) {
  const double sx = static_cast<double>(s->right - s->left) / std::max(1, d->right - d->left);
  const double sy = static_cast<double>(s->bottom - s->top) / std::max(1, d->bottom - d->top);
  if (d->left < 0) { s->left += static_cast<int>(-d->left * sx); d->left = 0; }
  if (d->top < 0) { s->top += static_cast<int>(-d->top * sy); d->top = 0; }
  if (d->right > surface->width()) { s->right -= static_cast<int>((d->right - surface->width()) * sx); d->right = surface->width(); }
  if (d->bottom > surface->height()) { s->bottom -= static_cast<int>((d->bottom - surface->height()) * sy); d->bottom = surface->height(); }
  return d->left < d->right && d->top < d->bottom && s->left < s->right && s->top < s->bottom;
}

void BltToPrimary(plat::DDSurface* back, const plat::Rect& destination, const plat::Rect& source) {
  ScreenState& s = GetScreenState();
  plat::Rect d = destination, r = source;
  if (s.primary == nullptr || back == nullptr || !CutToSurface(&d, &r, s.primary)) return;
  s.primary->Blt(&d, back, &r, plat::DDBLT_WAIT, nullptr);
}

// Locked screen memory as a picture in the screen's format (not owned).
GraphImage LockedAsImage(uint8_t* pixels, int32_t pitch, int32_t width, int32_t height) {
  GraphImage image{};
  image.format = GetScreenState().format;
  image.width = width;
  image.height = height;
  image.pitch = pitch;
  image.pixels = pixels;
  return image;
}

plat::BitmapInfo TopFirstInfo(const MemImage* image, int32_t height) {
  plat::BitmapInfo info;
  const PixelFormatInfo* f = image->buffer->format;
  info.header.width = image->buffer->pitch / f->bytesPerPixel;
  info.header.height = -height;
  info.header.bitCount = f->bitDepth;
  info.header.compression = plat::BI_BITFIELDS;
  info.colors[0] = f->masks[0];
  info.colors[1] = f->masks[1];
  info.colors[2] = f->masks[2];
  return info;
}

int PresentSoftware(const plat::Rect& destination, const plat::Rect& source) {
  ScreenState& s = GetScreenState();
  if (s.directDraw != nullptr) {
    if (s.backImageInSurface) {
      s.back->Unlock(nullptr);
      if (VSyncOn()) AwaitVBlankInterval();
      BltToPrimary(s.back, destination, source);
      int32_t pitch = 0;
      uint8_t* pixels = nullptr;
      // The back image must never point at memory that is no longer locked:
      // later software draws would write there.
      if (s.back->Lock(nullptr, &pitch, &pixels, plat::DDLOCK_WAIT) != plat::DD_OK)
        FatalError("バックサーフェスのロックに失敗しました");
      ReleaseMemImg(&s.backImage);
      std::memset(&s.backImage, 0, sizeof s.backImage);
      CreateMemImg(&s.backImage, s.width, s.height, pitch, 0, s.colorBits == 16 ? kMemImgKindRgb565 : kMemImgKindXrgb8888,
                   0, 0, 0, pixels);
    } else {
      int32_t pitch = 0;
      uint8_t* pixels = nullptr;
      if (s.back->Lock(nullptr, &pitch, &pixels, plat::DDLOCK_WAIT) != plat::DD_OK)
        FatalError("バックサーフェスのロックに失敗しました");
      // The locked surface described as a picture the back image is copied
      // out into (the copy converts to the screen's format).
      GraphImage locked = LockedAsImage(pixels, pitch, s.width, s.height);
      CopyMemImgToGraphImage(&locked, &s.backImage, 0, 0, s.width, s.height, 0, 0, 0, 0);
      s.back->Unlock(nullptr);
      if (VSyncOn()) AwaitVBlankInterval();
      BltToPrimary(s.back, destination, source);
    }
  } else if (IsMemImgValid(&s.backImage)) {
    if (VSyncOn()) AwaitVBlankInterval();
    const plat::BitmapInfo info = TopFirstInfo(&s.backImage, s.height);
    const plat::Hwnd window = GetFrameWindowHandle();
    const plat::Hdc dc = plat::GetDC(window);
    if (dc != 0) {
      const int dw = destination.right - destination.left, dh = destination.bottom - destination.top;
      if (dw == s.width && dh == s.height) {
        plat::SetDIBitsToDevice(dc, 0, 0, static_cast<uint32_t>(s.width), static_cast<uint32_t>(s.height), 0, 0, 0,
                                static_cast<uint32_t>(s.height), s.backImage.pixels, &info, plat::DIB_RGB_COLORS);
      } else {
        plat::StretchDIBits(dc, 0, 0, dw, dh, 0, 0, s.width, s.height, s.backImage.pixels, &info,
                            plat::DIB_RGB_COLORS, plat::SRCCOPY);
      }
      plat::ReleaseDC(window, dc);
    }
  }
  s.framePresented = 1;
  CountFrame();
  return 0;
}

}  // namespace

int PresentFrame() {
  ScreenState& s = GetScreenState();
  EndSceneCurrentDevice();  // what the 3D device drew is on the surface first
  if (DirectDrawExpectedButMissing()) return -1;
  if (!IsWindowActive()) WaitWhileInactive();
  const bool flip = !s.softwareRendering && !s.gdiPresent && !s.directDrawUnusable && !IsWindowedMode();
  if (!flip) return PresentToWindow(nullptr);
  DrawScreenLogOverlay();
  if (GetDrawState().drawTarget == kFrontScreen && VSyncOn()) {
    CountFrame();
    return WaitVBlankCount(1);
  }
  if (s.primary != nullptr)
    s.primary->Flip(nullptr, plat::DDFLIP_WAIT | (VSyncOn() ? 0 : plat::DDFLIP_NOVSYNC));
  if (VSyncOn()) plat::HostSleepMs(1);
  CountFrame();
  return 0;
}

int PresentToWindow(const Rect* rect) {
  ScreenState& s = GetScreenState();
  EndSceneCurrentDevice();  // what the 3D device drew is on the surface first
  if (DirectDrawExpectedButMissing()) return -1;
  DrawScreenLogOverlay();
  // Draws on the front screen are shown as they are made: only the blank
  // is waited for, and a wait that cannot be made (no DirectDraw object)
  // is the present's result.
  if (GetDrawState().drawTarget == kFrontScreen) {
    CountFrame();
    return WaitVBlankCount(1);
  }
  int32_t w = 0, h = 0;
  QueryScreenState(&w, &h, nullptr);
  plat::Rect source{0, 0, w, h};
  plat::Rect destination = source;
  if (IsWindowedMode()) {
    plat::Rect area;
    GetDrawAreaRect(&area);
    const double scale = GetWindowScaleFactor();
    destination = plat::Rect{area.left, area.top, area.left + static_cast<int>(scale * w),
                             area.top + static_cast<int>(scale * h)};
    if (rect != nullptr) {
      // A repaint rectangle is cut to the picture first.
      Rect r = *rect;
      const Rect picture{0, 0, static_cast<int32_t>(scale * w), static_cast<int32_t>(scale * h)};
      ClipRect(&r, &picture);
      if (r.left >= r.right || r.top >= r.bottom) return 0;
      destination = plat::Rect{area.left + r.left, area.top + r.top, area.left + r.right, area.top + r.bottom};
      source = plat::Rect{static_cast<int>(r.left / scale), static_cast<int>(r.top / scale),
                          static_cast<int>(r.right / scale), static_cast<int>(r.bottom / scale)};
      if (source.left >= source.right || source.top >= source.bottom) return 0;
    }
  }
  if (s.softwareRendering && s.colorBits != 8) {
    // Without DirectDraw the window's DC takes window coordinates.
    if (s.directDraw == nullptr) {
      plat::Rect area;
      GetDrawAreaRect(&area);
      if (IsWindowedMode()) {
        destination.right -= area.left;
        destination.bottom -= area.top;
        destination.left -= area.left;
        destination.top -= area.top;
      }
    }
    return PresentSoftware(destination, source);
  }
  if (IsWindowedMode()) {
    if (VSyncOn()) AwaitVBlankInterval();
    BltToPrimary(s.back, destination, source);
  } else if (GetSystemInfo().osCode == 264) {
    // On that system the full-screen primary is what the back surface is
    // brought up to date from, and presenting through GDI flips GDI's
    // surface to the front; no blank is waited for.
    const bool surfaces = s.primary != nullptr && s.back != nullptr;
    if (!s.gdiPresent) {
      if (surfaces) s.back->BltFast(0, 0, s.primary, &source, plat::DDBLTFAST_WAIT);
    } else {
      if (surfaces) s.back->Blt(nullptr, s.primary, &source, plat::DDBLT_WAIT, nullptr);
      if (s.directDraw != nullptr) s.directDraw->FlipToGDISurface();
    }
  } else if (!s.gdiPresent) {
    if (VSyncOn()) AwaitVBlankInterval();
    if (s.primary != nullptr && s.back != nullptr) s.primary->BltFast(0, 0, s.back, &source, plat::DDBLTFAST_WAIT);
  } else {
    if (VSyncOn()) AwaitVBlankInterval();
    BltToPrimary(s.back, plat::Rect{0, 0, w, h}, source);
  }
  CountFrame();
  return 0;
}

int SwitchDirectDrawTarget(int32_t target, int32_t previous) {
  ScreenState& s = GetScreenState();
  const plat::Hwnd window = GetFrameWindowHandle();
  s.targetImage = nullptr;
  if (previous == kFrontScreen && s.tempPrimary != nullptr) {
    plat::KillTimer(window, kScreenRefreshTimerId);
    CopyTempSurfaceToPrimary();
  }
  const bool detachClipper = IsWindowedMode() || s.gdiPresent;
  if (target == kFrontScreen) {
    s.targetSurface = s.tempPrimary != nullptr ? s.tempPrimary : s.primary;
    s.targetImage = &s.frontImage;
    s.targetZ = nullptr;
    s.targetOffsetX = s.targetOffsetY = 0;
    if (s.directDraw != nullptr && s.primary != nullptr) {
      if (detachClipper) s.primary->SetClipper(nullptr);
      if (s.tempPrimary != nullptr) {
        s.primary->SetClipper(s.clipper);
        CopyPrimaryToTempSurface();
        plat::SetTimer(window, kScreenRefreshTimerId, kScreenRefreshPeriodMs, OnScreenRefreshTimer);
      }
    }
  } else if (target == kBackScreen) {
    s.targetSurface = s.back;
    s.targetImage = &s.backImage;
    s.targetZ = &s.zImage;
    s.targetOffsetX = s.targetOffsetY = 0;
  } else {
    const GraphRecord* graph = LookupGraph(target);
    if (graph == nullptr || graph->pieceCount < 1) return -1;
    if (graph->is3D) {
      // The first texture piece, drawable or not: whether the device can
      // render into it is the device's switch to decide.
      const Surface3DData* piece = LookupSurface3DData(graph->pieceHandles[0]);
      if (piece == nullptr) return -1;
      const SurfaceDataRecord* data = LookupSurfaceData(piece->texture);
      s.targetOffsetX = piece->textureX;
      s.targetOffsetY = piece->textureY;
      s.targetSurface = data != nullptr ? data->surface : nullptr;
      s.targetZ = nullptr;
    } else {
      const Surface2DPiece* piece = LookupSurface2D(graph->pieceHandles[0]);
      if (piece == nullptr) return -1;
      SurfaceDataRecord* data = LookupSurfaceData(piece->surfaceData);
      if (data == nullptr) return -1;
      // A carved graph draws in its own rectangle of the shared store.
      s.targetOffsetX = piece->surfaceX;
      s.targetOffsetY = piece->surfaceY;
      if (data->memImageMode) {
        s.targetImage = &data->image;
        s.targetSurface = nullptr;
      } else {
        s.targetSurface = data->surface;
      }
      s.targetZ = IsMemImgValid(&data->zImage) ? &data->zImage : nullptr;
    }
  }
  if (target != kFrontScreen && s.directDraw != nullptr && s.primary != nullptr && detachClipper)
    s.primary->SetClipper(s.clipper);
  uint32_t caps = 0;
  s.targetInVideo = s.targetSurface != nullptr && s.targetSurface->GetCaps(&caps) == plat::DD_OK &&
                            (caps & plat::DDSCAPS_VIDEOMEMORY)
                        ? 1
                        : 0;
  return 0;
}

// Each wait polls at most 100 ms of clock time: a display that never
// reports a blank cannot hang the present.
int WaitVBlankCount(int32_t count) {
  ScreenState& s = GetScreenState();
  if (s.directDraw == nullptr) return -1;
  if (!IsWindowActive()) WaitWhileInactive();
  auto blank = [&s] {
    int32_t b = 0;
    s.directDraw->GetVerticalBlankStatus(&b);
    return b != 0;
  };
  auto waitUntil = [&](bool wanted) {
    const uint64_t start = plat::HostMicros();
    if (PumpMessages() != 0) return -1;
    while (blank() != wanted) {
      if (PumpMessages() != 0) return -1;
      if (plat::HostMicros() - start > 100000) return 0;
    }
    return 0;
  };
  if (count < 0) return 0;
  if (count == 0) {
    waitUntil(true);
    return 0;
  }
  for (int32_t i = 0; i < count; ++i) {
    if (waitUntil(false) < 0) return -1;
    if (waitUntil(true) < 0) return -1;
  }
  return 0;
}

int CopySurfaceRect(plat::DDSurface* destination, plat::DDSurface* source, int32_t x, int32_t y, const Rect* rect,
                    int32_t method) {
  if (destination == nullptr || source == nullptr || rect == nullptr) return -1;
  const bool gdi = method == -1 ? GetScreenState().useGdiCopy != 0 : method == 1;
  if (gdi) {
    plat::Hdc d = 0, s = 0;
    if (destination->GetDC(&d) != plat::DD_OK) return -1;
    if (source->GetDC(&s) != plat::DD_OK) {
      destination->ReleaseDC(d);
      return -1;
    }
    const bool ok = plat::BitBlt(d, x, y, rect->right - rect->left, rect->bottom - rect->top, s, rect->left, rect->top,
                                 plat::SRCCOPY);
    plat::GdiFlush();
    source->ReleaseDC(s);
    destination->ReleaseDC(d);
    return ok ? 0 : -1;
  }
  const plat::Rect r = PlatRect(*rect);
  return destination->BltFast(x, y, source, &r, 0) == plat::DD_OK ? 0 : -1;
}

int GetScreenRectOnDesktop(Rect* out) {
  int32_t w = 0, h = 0;
  QueryScreenState(&w, &h, nullptr);
  *out = Rect{0, 0, w, h};
  if (GetScreenState().tempPrimary == nullptr && IsWindowedMode()) {
    plat::Rect area;
    GetDrawAreaRect(&area);
    *out = Rect{area.left, area.top, area.left + w, area.top + h};
  }
  return 0;
}

int PresentRectToWindow(const Rect* rect) {
  ScreenState& s = GetScreenState();
  if (!IsMemImgValid(&s.frontImage)) return 0;
  int32_t w = 0, h = 0;
  QueryScreenState(&w, &h, nullptr);
  Rect r = *rect;
  const Rect screen{0, 0, w, h};
  ClipRect(&r, &screen);
  if (r.left >= r.right || r.top >= r.bottom) return 0;
  if (s.directDraw != nullptr) {
    plat::DDSurface* surface = s.tempPrimary != nullptr ? s.tempPrimary : s.primary;
    if (surface == nullptr) return -1;
    Rect at = r;
    if (IsWindowedMode() && s.tempPrimary == nullptr) {
      plat::Rect area;
      GetDrawAreaRect(&area);
      at = Rect{r.left + area.left, r.top + area.top, r.right + area.left, r.bottom + area.top};
    }
    const Rect bounds{0, 0, surface->width(), surface->height()};
    const int32_t cutX = std::max(0, -at.left), cutY = std::max(0, -at.top);
    ClipRect(&at, &bounds);
    if (at.left >= at.right || at.top >= at.bottom) return 0;
    int32_t pitch = 0;
    uint8_t* pixels = nullptr;
    const plat::Rect lock = PlatRect(at);
    if (surface->Lock(&lock, &pitch, &pixels, plat::DDLOCK_WAIT | plat::DDLOCK_WRITEONLY) != plat::DD_OK) return -1;
    GraphImage locked = LockedAsImage(pixels, pitch, at.right - at.left, at.bottom - at.top);
    CopyMemImgToGraphImage(&locked, &s.frontImage, r.left + cutX, r.top + cutY, at.right - at.left,
                           at.bottom - at.top, 0, 0, 0, 0);
    surface->Unlock(nullptr);
    return 0;
  }
  const plat::BitmapInfo info = TopFirstInfo(&s.frontImage, h);
  const plat::Hwnd window = GetFrameWindowHandle();
  const plat::Hdc dc = plat::GetDC(window);
  if (dc == 0) return 0;
  plat::StretchDIBits(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, r.left, h - r.bottom, r.right - r.left,
                      r.bottom - r.top, s.frontImage.pixels, &info, plat::DIB_RGB_COLORS, plat::SRCCOPY);
  plat::ReleaseDC(window, dc);
  return 0;
}

int CaptureWindowToSoftBuffer() {
  ScreenState& s = GetScreenState();
  if (!s.softwareRendering || !s.framePresented || !IsMemImgValid(&s.frontImage)) return 0;
  if (s.directDraw != nullptr) {
    plat::DDSurface* surface = s.tempPrimary != nullptr ? s.tempPrimary : s.primary;
    Rect at;
    GetScreenRectOnDesktop(&at);
    const Rect bounds{0, 0, surface->width(), surface->height()};
    ClipRect(&at, &bounds);
    int32_t pitch = 0;
    uint8_t* pixels = nullptr;
    const plat::Rect lock = PlatRect(at);
    if (at.left >= at.right || surface->Lock(&lock, &pitch, &pixels, plat::DDLOCK_WAIT) != plat::DD_OK) return -1;
    const PixelBlock from{pixels, pitch, at.right - at.left, at.bottom - at.top, &s.format};
    const PixelBlock to = PixelBlockOfMemImg(&s.frontImage);
    ConvertWholeBlock(&to, &from);
    surface->Unlock(nullptr);
  } else {
    const plat::Hwnd window = GetFrameWindowHandle();
    const plat::Hdc dc = plat::GetDC(window);
    if (dc == 0) return -1;
    const plat::Hdc memory = plat::CreateCompatibleDC(dc);
    const plat::HGdiObj bitmap = plat::CreateCompatibleBitmap(dc, s.width, s.height);
    plat::SelectObject(memory, bitmap);
    plat::BitBlt(memory, 0, 0, s.width, s.height, dc, 0, 0, plat::SRCCOPY);
    plat::BitmapInfo info = TopFirstInfo(&s.frontImage, s.height);
    plat::GetDIBits(memory, bitmap, 0, static_cast<uint32_t>(s.height), s.frontImage.pixels, &info,
                    plat::DIB_RGB_COLORS);
    plat::DeleteDC(memory);
    plat::DeleteObject(bitmap);
    plat::ReleaseDC(window, dc);
  }
  s.framePresented = 0;
  return 0;
}

// Gives the display back to the desktop while the program keeps its
// surfaces; nothing is logged. The mode-changed flag says the program holds
// the display in a mode of its own.
int LeaveExclusiveMode() {
  ScreenState& s = GetScreenState();
  if (IsWindowedMode() || !s.modeChanged) return 0;
  if (s.directDraw != nullptr) {
    const uint32_t flags = plat::DDSCL_NORMAL | CooperativeOptionFlags();
    s.directDraw->SetCooperativeLevel(GetFrameWindowHandle(), flags);
    s.coopFlags = flags;
    s.directDraw->RestoreDisplayMode();
    s.modeChanged = 0;
  } else {
    plat::RestoreDisplayMode();
  }
  return 0;
}

// Windowed, the normal level is set again on the desktop; full screen, the
// exclusive level and the mode.
int ReapplyDisplayMode() {
  const ScreenState& s = GetScreenState();
  ApplyDisplayMode(s.width, s.height, s.colorBits, s.refreshRate);
  return 0;
}

}  // namespace qor
