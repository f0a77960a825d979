#include <cstring>

#include "framework/core/life/framework_status.h"
#include "framework/graphics/screen/screen.h"
#include "framework/graphics/screen/screen_size.h"

namespace qor {

namespace {

ScreenState g_screen;

}  // namespace

ScreenState& GetScreenState() { return g_screen; }

void ResetScreenState() {
  ReleaseScreenSurfaces();
  ScreenState& s = g_screen;
  if (s.palette != nullptr) s.palette->Release();
  if (s.clipper != nullptr) s.clipper->Release();
  if (s.directDraw != nullptr) s.directDraw->Release();
  std::memset(&s, 0, sizeof s);
  s.frameMs = -1;
  s.deviceRate = -1;
  s.vblankInterval = -1;
  s.direct3DStart = -1;
  ResetScreenSizeState();
}

int QueryScreenState(int32_t* width, int32_t* height, int32_t* bits) {
  QueryScreenSize(width, height);
  if (bits != nullptr) *bits = GetScreenColorBits();
  return 0;
}

int IsSoftwareRetryOpen() {
  const ScreenState& s = g_screen;
  return GetFrameworkStatus().initialising && !s.initialised && !s.softwareRendering ? 1 : 0;
}

int IsDirectDrawUsable() { return g_screen.directDrawUnusable ? 0 : 1; }
int IsSoftwareRendering() { return g_screen.softwareRendering; }
int IsDisplayModeChanged() { return g_screen.modeChanged; }
int IsMemImageScreen() { return g_screen.softwareRendering && GetScreenColorBits() != 8 ? 1 : 0; }

int GetScreenPixelMasks(uint32_t* red, uint32_t* green, uint32_t* blue, uint32_t* alpha) {
  const PixelFormatInfo& f = g_screen.format;
  if (red != nullptr) *red = f.masks[0];
  if (green != nullptr) *green = f.masks[1];
  if (blue != nullptr) *blue = f.masks[2];
  if (alpha != nullptr) *alpha = f.masks[3];
  return 0;
}

void CountFrame() { ++g_screen.frameCounter; }
uint64_t GetFrameCounter() { return g_screen.frameCounter; }
void ResetFrameCounter() { g_screen.frameCounter = 0; }

int SetTempPrimaryOption(int32_t on) {
  g_screen.tempPrimaryOption = on;
  return 0;
}

int SetDirect3DOffFlag(int32_t on) {
  g_screen.direct3DOff = g_screen.directDrawUnusable ? 1 : on;
  return 0;
}

}  // namespace qor
