// The screen: the DirectDraw object and its surfaces (or the memory images
// of software rendering), the display mode, the start and end of graphics
// management, presentation and the DirectDraw side of the draw target.
// One record holds it all; ResetScreenState returns it to program load.
#pragma once

#include <cstdint>

#include "framework/graphics/images/pixel_format.h"
#include "framework/graphics/graphs/rect.h"
#include "framework/softrender/mem_image.h"
#include "platform/ddraw/ddraw.h"

namespace qor {

// Format classes of the screen.
constexpr int kScreenClass565 = 0;
constexpr int kScreenClass555 = 1;
constexpr int kScreenClass8888 = 2;
constexpr int kScreenClassOther = 3;

constexpr uintptr_t kScreenRefreshTimerId = 32767;
constexpr uint32_t kScreenRefreshPeriodMs = 17;
constexpr uint32_t kModeChangeSpacingMs = 2000;

// A rectangle as the display stand-in takes it.
inline plat::Rect PlatRect(const Rect& r) { return plat::Rect{r.left, r.top, r.right, r.bottom}; }

struct ScreenState {
  plat::DirectDraw* directDraw;
  plat::DDClipper* clipper;
  plat::DDPalette* palette;
  plat::DDSurface* primary;
  plat::DDSurface* back;
  plat::DDSurface* tempPrimary;
  plat::DDSurface* tempPrimarySmall;  // 320 x 240
  plat::DDSurface* work[2];
  plat::DDSurface* zBuffer;
  MemImage frontImage;  // software rendering
  MemImage backImage;
  MemImage zImage;
  int32_t backImageInSurface;  // 1: backImage wraps the locked back surface

  int32_t width, height;  // 0 = unset (640 x 480)
  int32_t colorBits;      // 0 = unset (16)
  int32_t requestedBits;
  int32_t refreshRate;    // 0 = default
  uint32_t coopFlags;
  int32_t modeChanged;
  PixelFormatInfo format;
  int32_t formatClass;
  uint32_t paletteEntries[256];

  int32_t directDrawUnusable;
  int32_t softwareRendering;
  int32_t direct3DOff;
  int32_t direct3DInUse;  // stays 0 until the Direct3D back-end exists
  int32_t direct3DStart;  // the last Direct3D start's result (-1: not started)
  int32_t mmxUsable;      // remembered by the DirectDraw start
  int32_t initialised;
  int32_t managerStarted;
  int32_t gdiPresent;
  int32_t tempPrimaryOption;
  int32_t fpuPreserve;  // the floating-point option: cooperative levels keep the FPU state
  int32_t useGdiCopy;  // surface-to-surface copies by BitBlt (1) or BltFast (0)

  uint32_t lastModeChange;  // ms, 0 = none
  int32_t frameMs;          // -1 unknown
  int32_t deviceRate;       // -1 unknown
  int32_t vblankInterval;   // ms, -1: wait on every call
  uint32_t lastVBlankWait;
  uint64_t frameCounter;

  // The DirectDraw side of the draw target.
  plat::DDSurface* targetSurface;
  MemImage* targetImage;
  MemImage* targetZ;
  int32_t targetOffsetX, targetOffsetY;
  int32_t targetInVideo;
  int32_t framePresented;
};

ScreenState& GetScreenState();
// Frees whatever the screen holds (surfaces, images, the object) and returns
// the record to its state at program load.
void ResetScreenState();

// --- modes and life (screen_mode.cpp) -------------------------------------------
int RequestScreenMode(int32_t width, int32_t height, int32_t bits, int32_t rate);
int SwitchScreenMode(int32_t width, int32_t height, int32_t bits, int32_t force, int32_t rate);
int SetSoftwareRendering(int32_t useDirectDraw);
// Sets the switches ORB_GFX names (before the graphics start).
void ApplyGraphicsRoadChoice();
// 1 while a refused display can still be answered by the software retry of
// the first start; afterwards the screen's failures are fatal.
int IsSoftwareRetryOpen();
// Full screen: the exclusive level and the mode (falling back to the
// default rate); windowed: the normal level on the desktop. 0 or -1.
int ApplyDisplayMode(int32_t width, int32_t height, int32_t bits, int32_t rate);
int InitDirectDraw();
int EndDirectDraw();
// Framework start: DirectDraw, or software rendering when it fails (fatal
// when that fails too). ORB_GFX=d3d that cannot start the Direct3D road, or
// an unknown ORB_GFX value, is -1 with a message.
int SwitchToSoftwareRendering(plat::Hwnd window);
int InitGraphicsManager();
int EndGraphicsManager();
int EndScreenAndGraphics();
// The framework start's last graphics step: each graph road taken once and
// both screens blanked. 0.
int WarmGraphPaths();
// Full screen (or a changed mode): the normal level and the desktop's mode.
int RestoreDesktopMode();
// What the framework's options add to a cooperative level it sets for its
// own use: FPU-preserve under the floating-point option.
uint32_t CooperativeOptionFlags();
int SetGdiPresentMode(int32_t on);
int SetTempPrimaryOption(int32_t on);
int SetDirect3DOffFlag(int32_t on);
int QueryScreenState(int32_t* width, int32_t* height, int32_t* bits);
int IsDirectDrawUsable();
int IsSoftwareRendering();
int IsDisplayModeChanged();
int IsMemImageScreen();
int GetScreenPixelMasks(uint32_t* red, uint32_t* green, uint32_t* blue, uint32_t* alpha);  // software rendering on a screen other than 8-bit
void CountFrame();
uint64_t GetFrameCounter();
void ResetFrameCounter();

// --- screen surfaces (screen_surfaces.cpp) ------------------------------------------
int CreateScreenSurfaces();
int ReleaseScreenSurfaces();
int RestoreLostScreenSurfaces();
int LogScreenColorFormat();
int CreateScreenPalette();
int ReloadScreenPalette();
int AwaitVBlankInterval();
int CopyPrimaryToTempSurface();
int CopyTempSurfaceToPrimary();
void OnScreenRefreshTimer(plat::Hwnd window, uint32_t message, uintptr_t id, uint32_t time);
// The memory-image format of a colour depth (16 -> R5G6B5, else X8R8G8B8).
const PixelFormatInfo* MemImageFormatOfDepth(int32_t bits);

// --- presentation and the target (screen_present.cpp) --------------------------------
int PresentFrame();
int PresentToWindow(const Rect* rect);
int SwitchDirectDrawTarget(int32_t target, int32_t previous);
int WaitVBlankCount(int32_t count);
int CopySurfaceRect(plat::DDSurface* destination, plat::DDSurface* source, int32_t x, int32_t y, const Rect* rect,
                    int32_t method);
int GetScreenRectOnDesktop(Rect* out);
int PresentRectToWindow(const Rect* rect);
int CaptureWindowToSoftBuffer();
int LeaveExclusiveMode();
int ReapplyDisplayMode();
int ClearScreenDirectDraw();

}  // namespace qor
