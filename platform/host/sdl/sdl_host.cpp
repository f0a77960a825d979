// The SDL host: start-up, the window, presentation and the real clock.
#include <errno.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>

#include "platform/host/host_backend.h"
#include "platform/host/sdl/sdl_state.h"

namespace plat::sdl {

namespace {

SdlHost g_sdl;

uint64_t MonotonicMicros() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint64_t>(ts.tv_sec) * 1000000u + static_cast<uint64_t>(ts.tv_nsec) / 1000u;
}

// The renderer string of the GL context current on this thread, or null.
const char* CurrentGlRenderer() {
  using GetString = const unsigned char* (*)(unsigned int);
  if (SDL_GL_GetCurrentContext() == nullptr) return nullptr;
  const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  constexpr unsigned int kGlRenderer = 0x1F01;
  return getString != nullptr ? reinterpret_cast<const char*>(getString(kGlRenderer)) : nullptr;
}

// An accelerated renderer unless its GL draws in software (a display without
// a GPU driver, such as Xvfb): there SDL's own software renderer, drawing
// into the window's shared-memory image, shows the same picture for a
// fraction of the CPU.
SDL_Renderer* CreateRenderer(SDL_Window* window) {
  SdlHost& s = g_sdl;
  SDL_Renderer* r = nullptr;
  if (!s.softwareGl) {
    r = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    SDL_RendererInfo info{};
    if (r != nullptr && SDL_GetRendererInfo(r, &info) == 0)
      s.softwareGl = GlDrawsInSoftware(info.name, CurrentGlRenderer(), SDL_GetHint(SDL_HINT_RENDER_DRIVER));
    if (r != nullptr && !s.softwareGl) return r;
  }
  if (r != nullptr) SDL_DestroyRenderer(r);
  // The window surface itself, not a GL texture SDL would otherwise put behind it.
  if (s.softwareGl && SDL_GetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION) == nullptr)
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  r = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  if (r == nullptr && s.softwareGl) r = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
  return r;
}

bool CreateWindow(int width, int height) {
  if (width <= 0 || height <= 0 || width > kHostMaxPictureSide || height > kHostMaxPictureSide) return false;
  if (!EnsureVideo()) return false;
  DestroyWindow();
  SdlHost& s = g_sdl;
  // Hidden until the program shows it, as a window is made and then shown.
  s.window = SDL_CreateWindow(s.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                              SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
  if (s.window) s.renderer = CreateRenderer(s.window);
  if (!s.window || !s.renderer) {
    std::fprintf(stderr, "SDL: cannot create a %dx%d window: %s\n", width, height, SDL_GetError());
    DestroyWindow();
    return false;
  }
  SDL_SetWindowMinimumSize(s.window, 160, 120);
  SDL_ShowCursor(s.cursorVisible ? SDL_ENABLE : SDL_DISABLE);
  SDL_StopTextInput();  // SDL starts with text input on; the program asks for it
  s.pictureWidth = width;
  s.pictureHeight = height;
  return true;
}

bool HasWindow() { return g_sdl.window != nullptr; }

void ShowWindow(bool show) {
  if (!g_sdl.window) return;
  if (show) {
    SDL_ShowWindow(g_sdl.window);
  } else {
    SDL_HideWindow(g_sdl.window);
  }
}

void SetTitle(const char* utf8) {
  g_sdl.title = utf8;
  if (g_sdl.window) SDL_SetWindowTitle(g_sdl.window, utf8);
}

bool SetFullscreen(bool on) {
  if (!g_sdl.window) return false;
  return SDL_SetWindowFullscreen(g_sdl.window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) == 0;
}

bool IsFullscreen() {
  return g_sdl.window && (SDL_GetWindowFlags(g_sdl.window) & SDL_WINDOW_FULLSCREEN) != 0;
}

HostRect GetClientRect() {
  HostRect r;
  if (g_sdl.window) SDL_GetWindowSize(g_sdl.window, &r.right, &r.bottom);
  return r;
}

bool GetDesktopMode(HostDesktopMode* out) {
  if (!EnsureVideo()) return false;
  SDL_DisplayMode mode{};
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return false;
  out->width = mode.w;
  out->height = mode.h;
  // SDL counts the significant bits (24 for XRGB8888); a display counts the bytes.
  out->bitsPerPixel = HostDepthFromFormat(SDL_BYTESPERPIXEL(mode.format), SDL_BITSPERPIXEL(mode.format));
  return true;
}

void SetCursorVisible(bool visible) {
  g_sdl.cursorVisible = visible;
  if (g_sdl.videoUp) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

void MinimizeWindow() {
  if (g_sdl.window) SDL_MinimizeWindow(g_sdl.window);
}

void RaiseWindow() {
  if (!g_sdl.window) return;
  SDL_RestoreWindow(g_sdl.window);
  SDL_RaiseWindow(g_sdl.window);
}

bool HasFocus() {
  return g_sdl.window && (SDL_GetWindowFlags(g_sdl.window) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

void Present(const void* pixels, int pitch, int width, int height, HostPixelFormat format) {
  SdlHost& s = g_sdl;
  if (!s.renderer) return;
  if (!s.texture || s.textureWidth != width || s.textureHeight != height) {
    if (s.texture) SDL_DestroyTexture(s.texture);
    s.texture = SDL_CreateTexture(s.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, width, height);
    s.textureWidth = s.texture ? width : 0;
    s.textureHeight = s.texture ? height : 0;
    if (!s.texture) return;
  }
  void* dst = nullptr;
  int dstPitch = 0;
  if (SDL_LockTexture(s.texture, nullptr, &dst, &dstPitch) != 0) return;
  HostConvertToXrgb(pixels, pitch, width, height, format, static_cast<uint32_t*>(dst), dstPitch);
  SDL_UnlockTexture(s.texture);
  s.pictureWidth = width;
  s.pictureHeight = height;

  int outW = 0, outH = 0;
  SDL_GetRendererOutputSize(s.renderer, &outW, &outH);
  bool integral = false;
  const HostRect fit = HostFitPicture(outW, outH, width, height, &integral);
  // Whole-number scales stay sharp; an in-between scale is smoothed.
  SDL_SetTextureScaleMode(s.texture, integral ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
  const SDL_Rect dstRect{fit.left, fit.top, fit.right - fit.left, fit.bottom - fit.top};
  SDL_SetRenderDrawColor(s.renderer, 0, 0, 0, 255);
  SDL_RenderClear(s.renderer);
  SDL_RenderCopy(s.renderer, s.texture, nullptr, &dstRect);
  DrawOverlays(fit, width, height);
  SDL_RenderPresent(s.renderer);
}

uint64_t Micros() {
  const uint64_t now = MonotonicMicros();
  if (!g_sdl.clockStarted) {
    g_sdl.clockStarted = true;
    g_sdl.clockBase = now;
  }
  return now - g_sdl.clockBase;
}

uint32_t Millis() { return static_cast<uint32_t>(Micros() / 1000u); }

void SleepMs(uint32_t ms) {
  timespec ts{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
  while (nanosleep(&ts, &ts) != 0) {
  }
}

void SleepUntilMicros(uint64_t micros) {
  Micros();  // the clock's base is fixed by its first read
  const uint64_t at = g_sdl.clockBase + micros;
  const timespec ts{static_cast<time_t>(at / 1000000u), static_cast<long>(at % 1000000u) * 1000L};
  // An absolute wake-up: an interrupted sleep resumes without drifting.
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
  }
}

void Reset() {
  CloseAudio();
  ClosePads();
  DestroyWindow();
  if (g_sdl.videoUp || g_sdl.padsUp || g_sdl.audioUp) SDL_Quit();
  g_sdl = SdlHost{};
}

}  // namespace

SdlHost& State() { return g_sdl; }

bool GlDrawsInSoftware(const char* rendererName, const char* glRenderer, const char* chosenDriver) {
  if (chosenDriver != nullptr || rendererName == nullptr || glRenderer == nullptr) return false;
  if (SDL_strncmp(rendererName, "opengl", 6) != 0) return false;  // opengl, opengles2
  static const char* const kSoftware[] = {"llvmpipe", "softpipe", "swrast", "software rasterizer"};
  for (const char* name : kSoftware) {
    if (SDL_strcasestr(glRenderer, name) != nullptr) return true;
  }
  return false;
}

bool EnsureVideo() {
  if (g_sdl.videoUp) return true;
  // The close button asks the program; it decides whether to quit.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "SDL: no video: %s\n", SDL_GetError());
    return false;
  }
  g_sdl.videoUp = true;
  return true;
}

void DestroyWindow() {
  SdlHost& s = g_sdl;
  ReleaseOverlayTextures();
  if (s.texture) SDL_DestroyTexture(s.texture);
  if (s.renderer) SDL_DestroyRenderer(s.renderer);
  if (s.window) SDL_DestroyWindow(s.window);
  s.texture = nullptr;
  s.renderer = nullptr;
  s.window = nullptr;
  s.textureWidth = s.textureHeight = 0;
}

void MapMouse(int windowX, int windowY, int* pictureX, int* pictureY) {
  const SdlHost& s = g_sdl;
  *pictureX = windowX;
  *pictureY = windowY;
  if (!s.window || s.pictureWidth <= 0 || s.pictureHeight <= 0) return;
  int w = 0, h = 0;
  SDL_GetWindowSize(s.window, &w, &h);
  const HostRect fit = HostFitPicture(w, h, s.pictureWidth, s.pictureHeight, nullptr);
  const int fw = fit.right - fit.left, fh = fit.bottom - fit.top;
  if (fw <= 0 || fh <= 0) return;
  // Pointer positions over the black bars land on the picture's nearest edge.
  const long long x = static_cast<long long>(windowX - fit.left) * s.pictureWidth / fw;
  const long long y = static_cast<long long>(windowY - fit.top) * s.pictureHeight / fh;
  *pictureX = static_cast<int>(x < 0 ? 0 : x >= s.pictureWidth ? s.pictureWidth - 1 : x);
  *pictureY = static_cast<int>(y < 0 ? 0 : y >= s.pictureHeight ? s.pictureHeight - 1 : y);
}

}  // namespace plat::sdl

namespace plat {

bool SdlDisplayAvailable() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if ((!x11 || !*x11) && (!wayland || !*wayland)) return false;
  return sdl::EnsureVideo();
}

const HostBackend kSdlHost = {
    HostKind::Sdl,
    sdl::CreateWindow, sdl::DestroyWindow, sdl::HasWindow, sdl::ShowWindow, sdl::SetTitle,
    sdl::SetFullscreen, sdl::IsFullscreen, sdl::GetClientRect, sdl::GetDesktopMode, sdl::SetCursorVisible,
    sdl::MinimizeWindow, sdl::RaiseWindow, sdl::HasFocus,
    sdl::PollEvent, sdl::StartTextInput, sdl::StopTextInput,
    sdl::PadCount, sdl::GetPadInfo, sdl::GetPadState, sdl::RumblePad,
    sdl::OpenAudio, sdl::PauseAudio, sdl::CloseAudio, sdl::LockAudio, sdl::UnlockAudio,
    sdl::Present,
    sdl::Millis, sdl::Micros, sdl::SleepMs, sdl::SleepUntilMicros,
    sdl::Reset,
};

}  // namespace plat
