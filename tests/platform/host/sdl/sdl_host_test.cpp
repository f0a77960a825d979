// The SDL host under SDL's dummy video and audio drivers: where the picture
// lands in windows and full screen of several sizes (read back from the
// window's own pixels), and pads made as SDL virtual joysticks, both game
// controllers in their standard mapping and raw joysticks; the real clock's
// sleeps and its millisecond count; and which GL renderers give way to SDL's
// software renderer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/host/host_backend.h"
#include "platform/host/sdl/sdl_state.h"

namespace {

using namespace plat;

struct SdlScope : ::testing::Test {
  void SetUp() override {
    HostReset();
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    HostSelect(HostKind::Sdl);
  }
  void TearDown() override {
    HostReset();
  }
};

// A 640 x 480 picture of flat 16 x 16 blocks, each its own colour.
uint32_t BlockColour(int x, int y) {
  const uint32_t bx = static_cast<uint32_t>(x / 16), by = static_cast<uint32_t>(y / 16);
  return (40 + bx * 5) << 16 | (40 + by * 6) << 8 | ((bx + by) % 2 ? 200 : 90);
}

std::vector<uint32_t> BlockPicture() {
  std::vector<uint32_t> p(640 * 480);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) p[static_cast<size_t>(y) * 640 + x] = BlockColour(x, y);
  return p;
}

// The window's pixels as 0x00RRGGBB, read through SDL's own conversion.
std::vector<uint32_t> WindowPixels(int* w, int* h) {
  SDL_Surface* s = SDL_GetWindowSurface(sdl::State().window);
  if (s == nullptr) return {};
  *w = s->w;
  *h = s->h;
  std::vector<uint32_t> out(static_cast<size_t>(s->w) * s->h);
  SDL_ConvertPixels(s->w, s->h, s->format->format, s->pixels, s->pitch, SDL_PIXELFORMAT_RGB888, out.data(), s->w * 4);
  for (uint32_t& p : out) p &= 0xFFFFFFu;
  return out;
}

struct Shown {
  int left = 0, top = 0, right = 0, bottom = 0;  // bounds of the pixels that are not black
};

Shown Bounds(const std::vector<uint32_t>& px, int w, int h) {
  Shown b{w, h, 0, 0};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (px[static_cast<size_t>(y) * w + x] != 0) {
        b.left = std::min(b.left, x);
        b.top = std::min(b.top, y);
        b.right = std::max(b.right, x + 1);
        b.bottom = std::max(b.bottom, y + 1);
      }
  return b;
}

void ExpectShownAt(int outW, int outH, int left, int top, int right, int bottom, int wholeScale) {
  int w = 0, h = 0;
  const std::vector<uint32_t> px = WindowPixels(&w, &h);
  ASSERT_EQ(w, outW);
  ASSERT_EQ(h, outH);
  const Shown b = Bounds(px, w, h);
  EXPECT_EQ(b.left, left);
  EXPECT_EQ(b.top, top);
  EXPECT_EQ(b.right, right);
  EXPECT_EQ(b.bottom, bottom);
  const int fw = right - left, fh = bottom - top;
  if (wholeScale > 0) {
    // Nearest sampling: every window pixel is exactly its picture pixel.
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x)
        ASSERT_EQ(px[static_cast<size_t>(y) * w + x], BlockColour((x - left) / wholeScale, (y - top) / wholeScale))
            << x << "," << y;
  } else {
    // Filtered: block centres keep their colour, and some pixel between two
    // blocks is a blend that neither block has.
    bool blended = false;
    for (int by = 0; by < 30; ++by)
      for (int bx = 0; bx < 40; ++bx) {
        const int x = left + (bx * 16 + 8) * fw / 640, y = top + (by * 16 + 8) * fh / 480;
        EXPECT_EQ(px[static_cast<size_t>(y) * w + x], BlockColour(bx * 16 + 8, by * 16 + 8)) << x << "," << y;
      }
    for (int x = left; x < right && !blended; ++x) {
      const uint32_t p = px[static_cast<size_t>(top + fh / 2) * w + x];
      const int sx = (x - left) * 640 / fw;
      blended = true;
      for (int n = std::max(0, sx - 3); n <= std::min(639, sx + 3); ++n) blended = blended && p != BlockColour(n, 240);
    }
    if (fw > 640) {
      EXPECT_TRUE(blended);  // SDL's software renderer filters only when enlarging
    }
  }
}

TEST_F(SdlScope, WindowsShowThePictureAsLargeAsFitsWithItsAspectKept) {
  const std::vector<uint32_t> pic = BlockPicture();
  struct Case {
    int w, h, left, top, right, bottom, whole;
  };
  const Case cases[] = {
      {640, 480, 0, 0, 640, 480, 1},        // 1:1
      {1280, 960, 0, 0, 1280, 960, 2},      // twice, sharp
      {1300, 1000, 10, 20, 1290, 980, 2},   // twice, small bars
      {1280, 800, 107, 0, 1173, 800, 0},    // 1x would leave 40% empty: 1.67, filtered
      {500, 300, 50, 0, 450, 300, 0},       // smaller than the picture: filtered
      {1024, 768, 0, 0, 1024, 768, 0},      // 1.6 times: filtered, filling the window
      {1920, 1080, 320, 60, 1600, 1020, 2}, // 2x fills 89% of the height: sharp
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
    ASSERT_TRUE(HostCreateWindow(c.w, c.h));
    HostPresent(pic.data(), 640 * 4, 640, 480, HostPixelFormat::Xrgb8888);
    ExpectShownAt(c.w, c.h, c.left, c.top, c.right, c.bottom, c.whole);
    SDL_ScaleMode mode = SDL_ScaleModeBest;
    ASSERT_EQ(SDL_GetTextureScaleMode(sdl::State().texture, &mode), 0);
    EXPECT_EQ(mode, c.whole > 0 ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
    HostDestroyWindow();
  }
}

TEST(SdlRenderer, OnlyAGlThatDrawsInSoftwareGivesWayToSdlsOwnRenderer) {
  // Renderer strings as Mesa and GPU drivers report them.
  const char* const software[] = {"llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", "Software Rasterizer",
                                  "Mesa DRI swrast", "LLVMPIPE"};
  const char* const gpus[] = {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)",
                              "AMD Radeon RX 580 Series (polaris10, LLVM 15.0.6, DRM 3.49, 6.1.0-13-amd64)",
                              "NVIDIA GeForce GTX 1060 6GB/PCIe/SSE2", "virgl", "SVGA3D; build: RELEASE;  LLVM;", "",
                              "llvm pipe", "Software"};
  for (const char* name : software) {
    EXPECT_TRUE(sdl::GlDrawsInSoftware("opengl", name, nullptr)) << name;
    EXPECT_TRUE(sdl::GlDrawsInSoftware("opengles2", name, nullptr)) << name;
    EXPECT_FALSE(sdl::GlDrawsInSoftware("opengl", name, "opengl")) << name;  // the user's choice stands
    EXPECT_FALSE(sdl::GlDrawsInSoftware("opengl", name, "")) << name;
  }
  for (const char* name : gpus) EXPECT_FALSE(sdl::GlDrawsInSoftware("opengl", name, nullptr)) << name;
  // Not a GL renderer, or nothing to go by.
  EXPECT_FALSE(sdl::GlDrawsInSoftware("software", "llvmpipe", nullptr));
  EXPECT_FALSE(sdl::GlDrawsInSoftware("direct3d", "llvmpipe", nullptr));
  EXPECT_FALSE(sdl::GlDrawsInSoftware(nullptr, "llvmpipe", nullptr));
  EXPECT_FALSE(sdl::GlDrawsInSoftware("opengl", nullptr, nullptr));
}

TEST_F(SdlScope, TheClockSleepsToATimeNeverShortOfItAndCountsWholeMillis) {
  // Sleeps to times ahead end at or after them, whatever the machine's load.
  for (const uint64_t ahead : {1u, 999u, 1000u, 1001u, 2500u}) {
    const uint64_t at = HostMicros() + ahead;
    HostSleepUntilMicros(at);
    EXPECT_GE(HostMicros(), at) << ahead;
  }
  HostSleepUntilMicros(0);  // long past: returns
  // The millisecond count is the microsecond count in whole milliseconds.
  for (int i = 0; i < 20000; ++i) {
    const uint32_t before = HostMillis();
    const uint64_t micros = HostMicros();
    const uint32_t after = HostMillis();
    ASSERT_LE(before, micros / 1000);
    ASSERT_LE(micros / 1000, after);
  }
}

// Pumps SDL until the host has taken the pad events.
int PadsAfterEvents() {
  HostEvent e;
  for (int i = 0; i < 10; ++i) {
    while (HostPollEvent(&e)) {
    }
  }
  return HostPadCount();
}

HostPadState ReadPad(int pad) {
  HostEvent e;
  while (HostPollEvent(&e)) {
  }
  HostPadState s;
  EXPECT_TRUE(HostGetPadState(pad, &s));
  return s;
}

TEST_F(SdlScope, GameControllersReadInTheFixedLayout) {
  ASSERT_EQ(HostPadCount(), 0);
  const int device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                               SDL_CONTROLLER_BUTTON_MAX, 0);
  ASSERT_GE(device, 0) << SDL_GetError();
  ASSERT_EQ(PadsAfterEvents(), 1);
  HostPadInfo info;
  ASSERT_TRUE(HostGetPadInfo(0, &info));
  EXPECT_EQ(info.buttonCount, kHostControllerButtons);
  EXPECT_EQ(info.hatCount, 1);
  SDL_Joystick* joy = sdl::State().pads[0].joystick;

  // SDL's virtual controller numbers its buttons in SDL's own order; the host
  // gives them in its documented one.
  const struct {
    SDL_GameControllerButton sdl;
    int host;
  } buttons[] = {
      {SDL_CONTROLLER_BUTTON_A, 0},          {SDL_CONTROLLER_BUTTON_B, 1},
      {SDL_CONTROLLER_BUTTON_X, 2},          {SDL_CONTROLLER_BUTTON_Y, 3},
      {SDL_CONTROLLER_BUTTON_START, 4},      {SDL_CONTROLLER_BUTTON_BACK, 5},
      {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 6}, {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 7},
      {SDL_CONTROLLER_BUTTON_LEFTSTICK, 10}, {SDL_CONTROLLER_BUTTON_RIGHTSTICK, 11},
      {SDL_CONTROLLER_BUTTON_GUIDE, 12},
  };
  for (const auto& b : buttons) {
    ASSERT_EQ(SDL_JoystickSetVirtualButton(joy, b.sdl, 1), 0);
    const HostPadState s = ReadPad(0);
    for (int i = 0; i < kHostPadMaxButtons; ++i) EXPECT_EQ(s.buttons[i], i == b.host ? 1 : 0) << b.host << " " << i;
    ASSERT_EQ(SDL_JoystickSetVirtualButton(joy, b.sdl, 0), 0);
  }
  // Triggers count as buttons 8 and 9 past half way (SDL maps a virtual
  // trigger's -32768..32767 onto 0..32767).
  SDL_JoystickSetVirtualAxis(joy, SDL_CONTROLLER_AXIS_TRIGGERLEFT, -10000);
  SDL_JoystickSetVirtualAxis(joy, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 10000);
  HostPadState s = ReadPad(0);
  EXPECT_EQ(s.buttons[8], 0);
  EXPECT_EQ(s.buttons[9], 1);
  SDL_JoystickSetVirtualAxis(joy, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0);

  // The left stick is axes 0 and 1.
  SDL_JoystickSetVirtualAxis(joy, SDL_CONTROLLER_AXIS_LEFTX, -20000);
  SDL_JoystickSetVirtualAxis(joy, SDL_CONTROLLER_AXIS_LEFTY, 30000);
  s = ReadPad(0);
  EXPECT_EQ(s.axes[0], -20000);
  EXPECT_EQ(s.axes[1], 30000);
  EXPECT_EQ(s.hats[0], 0);
  // The d-pad is hat 0 and overrides the stick on the axis it pushes.
  SDL_JoystickSetVirtualButton(joy, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 1);
  s = ReadPad(0);
  EXPECT_EQ(s.hats[0], 2);
  EXPECT_EQ(s.axes[0], 32767);
  EXPECT_EQ(s.axes[1], 30000);
  SDL_JoystickSetVirtualButton(joy, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0);
  SDL_JoystickSetVirtualButton(joy, SDL_CONTROLLER_BUTTON_DPAD_UP, 1);
  SDL_JoystickSetVirtualButton(joy, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1);
  s = ReadPad(0);
  EXPECT_EQ(s.hats[0], 1 | 8);
  EXPECT_EQ(s.axes[0], -32768);
  EXPECT_EQ(s.axes[1], -32768);

  // Unplugged, the pad goes from the list.
  ASSERT_EQ(SDL_JoystickDetachVirtual(device), 0);
  EXPECT_EQ(PadsAfterEvents(), 0);
}

TEST_F(SdlScope, RawJoysticksKeepTheirOrderAndTheirHatSteers) {
  ASSERT_EQ(HostPadCount(), 0);
  SDL_VirtualJoystickDesc d;
  SDL_zero(d);
  d.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  d.type = SDL_JOYSTICK_TYPE_UNKNOWN;
  d.naxes = 2;
  d.nbuttons = 12;
  d.nhats = 1;
  d.name = "Raw stick";
  ASSERT_GE(SDL_JoystickAttachVirtualEx(&d), 0) << SDL_GetError();
  ASSERT_EQ(PadsAfterEvents(), 1);
  HostPadInfo info;
  ASSERT_TRUE(HostGetPadInfo(0, &info));
  EXPECT_EQ(info.buttonCount, 12);
  EXPECT_EQ(info.axisCount, 2);
  EXPECT_EQ(info.hatCount, 1);
  SDL_Joystick* joy = sdl::State().pads[0].joystick;
  ASSERT_EQ(sdl::State().pads[0].controller, nullptr);

  SDL_JoystickSetVirtualButton(joy, 11, 1);
  SDL_JoystickSetVirtualAxis(joy, 0, 12345);
  HostPadState s = ReadPad(0);
  EXPECT_EQ(s.buttons[11], 1);
  EXPECT_EQ(s.axes[0], 12345);
  SDL_JoystickSetVirtualHat(joy, 0, SDL_HAT_LEFTDOWN);
  s = ReadPad(0);
  EXPECT_EQ(s.hats[0], 8 | 4);
  EXPECT_EQ(s.axes[0], -32768);
  EXPECT_EQ(s.axes[1], 32767);
  SDL_JoystickSetVirtualHat(joy, 0, SDL_HAT_CENTERED);
  s = ReadPad(0);
  EXPECT_EQ(s.axes[0], 12345);  // a centred hat leaves the stick alone
  EXPECT_EQ(s.axes[1], 0);
}

void Silence(void*, int16_t*, int) {}

TEST_F(SdlScope, WithoutASoundDeviceOneLineSaysTheGameRunsSilent) {
  setenv("SDL_AUDIODRIVER", "no-such-device", 1);
  testing::internal::CaptureStderr();
  EXPECT_EQ(HostOpenAudio(44100, Silence, nullptr), 0);
  EXPECT_EQ(HostOpenAudio(44100, Silence, nullptr), 0);  // a second start-up pass says nothing more
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(said.rfind("orbworld: no sound device (", 0), 0u) << said;
  EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
  EXPECT_NE(said.find("); the game runs silent\n"), std::string::npos) << said;

  // ALSA with no usable device prints its own complaints: none get through.
  HostReset();
  HostSelect(HostKind::Sdl);
  setenv("SDL_AUDIODRIVER", "alsa", 1);
  setenv("AUDIODEV", "orb-no-such-pcm", 1);
  testing::internal::CaptureStderr();
  const int rate = HostOpenAudio(44100, Silence, nullptr);
  HostCloseAudio();
  const std::string alsa = testing::internal::GetCapturedStderr();
  unsetenv("AUDIODEV");
  if (rate == 0) {
    EXPECT_EQ(alsa.rfind("orbworld: no sound device (", 0), 0u) << alsa;
    EXPECT_EQ(alsa.find('\n'), alsa.size() - 1) << alsa;
  }

  // A device that works says nothing.
  HostReset();
  HostSelect(HostKind::Sdl);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  testing::internal::CaptureStderr();
  EXPECT_EQ(HostOpenAudio(44100, Silence, nullptr), 44100);
  HostCloseAudio();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(HostPads, AHatOverridesOnlyTheAxesItPushes) {
  for (int hat = 0; hat < 16; ++hat) {
    HostPadState s;
    s.axes[0] = 100;
    s.axes[1] = -200;
    s.axes[2] = 300;
    s.hats[0] = hat;
    HostFoldHatIntoStick(&s);
    // Up and down at once (or left and right) cannot come from a d-pad; down
    // and right win then, as the later test.
    const int x = hat & 2 ? 32767 : hat & 8 ? -32768 : 100;
    const int y = hat & 4 ? 32767 : hat & 1 ? -32768 : -200;
    EXPECT_EQ(s.axes[0], x) << hat;
    EXPECT_EQ(s.axes[1], y) << hat;
    EXPECT_EQ(s.axes[2], 300);
  }
}

}  // namespace
