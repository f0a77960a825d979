// Overlays over presented pictures: the headless host composites them into
// the kept frame (placed, scaled, clipped, gone when unset); the SDL host,
// under SDL's dummy video driver, keeps one streaming texture per overlay
// shown and gives it back when the overlay goes, over 100 cycles.
#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/host/headless/headless_control.h"
#include "platform/host/host.h"
#include "platform/host/host_backend.h"

namespace hl = plat::headless;

namespace {

// A 4 x 2 overlay in YUY2: luma rising along each row, one chroma pair per
// two pixels.
struct SmallOverlay {
  std::vector<uint8_t> bytes = std::vector<uint8_t>(2 * 8, 0);
  SmallOverlay() {
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 4; ++x) {
        bytes[y * 8 + x * 2] = static_cast<uint8_t>(40 + 50 * x + 30 * y);
        bytes[y * 8 + x * 2 + 1] = static_cast<uint8_t>(x % 2 == 0 ? 100 + 40 * x : 180 - 20 * y);
      }
  }
  // The same overlay as UYVY.
  std::vector<uint8_t> Swapped() const {
    std::vector<uint8_t> out(bytes);
    for (size_t i = 0; i < out.size(); i += 2) std::swap(out[i], out[i + 1]);
    return out;
  }
  uint32_t Pixel(int x, int y) const {
    const uint8_t* pair = &bytes[y * 8 + (x & ~1) * 2];
    return plat::HostYuvToXrgb(pair[(x & 1) * 2], pair[1], pair[3]);
  }
};

plat::HostOverlay OverlayOf(const std::vector<uint8_t>& bytes, plat::HostOverlayFormat format, plat::HostRect dest) {
  plat::HostOverlay o;
  o.id = 7;
  o.format = format;
  o.pixels = bytes.data();
  o.pitch = 8;
  o.width = 4;
  o.height = 2;
  o.source = plat::HostRect{0, 0, 4, 2};
  o.destination = dest;
  return o;
}

}  // namespace

TEST(HostOverlay, YuvRuleAtItsWorkedPoints) {
  EXPECT_EQ(plat::HostYuvToXrgb(16, 128, 128), 0u);
  EXPECT_EQ(plat::HostYuvToXrgb(235, 128, 128), 0xFFFFFFu);
  EXPECT_EQ(plat::HostYuvToXrgb(255, 128, 128), 0xFFFFFFu);  // clamped
  EXPECT_EQ(plat::HostYuvToXrgb(0, 0, 0) >> 16, 0u);          // red below zero, clamped
  // Mid grey: 298 x 110 + 128 = 32908, >> 8 = 128.
  EXPECT_EQ(plat::HostYuvToXrgb(126, 128, 128), 0x808080u);
}

TEST(HostOverlay, HeadlessKeptFrameShowsOverlaysPlacedScaledAndClipped) {
  hl::Reset();
  ASSERT_TRUE(plat::HostCreateWindow(16, 8));
  const SmallOverlay small;
  const std::vector<uint8_t> uyvy = small.Swapped();
  const std::vector<uint32_t> black(16 * 8, 0);
  for (const auto format : {plat::HostOverlayFormat::Yuy2, plat::HostOverlayFormat::Uyvy}) {
    const std::vector<uint8_t>& bytes = format == plat::HostOverlayFormat::Yuy2 ? small.bytes : uyvy;
    // Doubled at (10, 5): it runs past the picture's right and bottom edges.
    const plat::HostOverlay o = OverlayOf(bytes, format, plat::HostRect{10, 5, 18, 9});
    plat::HostSetOverlays(&o, 1);
    ASSERT_EQ(plat::HostOverlayCount(), 1);
    plat::HostPresent(black.data(), 16 * 4, 16, 8, plat::HostPixelFormat::Xrgb8888);
    const hl::KeptFrame* f = hl::LastFrame();
    ASSERT_NE(f, nullptr);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 16; ++x) {
        const uint32_t want = x >= 10 && y >= 5 ? small.Pixel((x - 10) / 2, (y - 5) / 2) : 0u;
        ASSERT_EQ(f->pixels[y * 16 + x] & 0xFFFFFF, want) << x << "," << y;
      }
  }
  // A part of the overlay, shrunk; then none: the next picture is plain.
  plat::HostOverlay part = OverlayOf(small.bytes, plat::HostOverlayFormat::Yuy2, plat::HostRect{0, 0, 1, 1});
  part.source = plat::HostRect{1, 0, 3, 2};
  plat::HostSetOverlays(&part, 1);
  plat::HostPresent(black.data(), 16 * 4, 16, 8, plat::HostPixelFormat::Xrgb8888);
  EXPECT_EQ(hl::LastFrame()->pixels[0] & 0xFFFFFF, small.Pixel(1, 0));
  EXPECT_EQ(hl::LastFrame()->pixels[1], 0u);
  plat::HostSetOverlays(nullptr, 0);
  plat::HostPresent(black.data(), 16 * 4, 16, 8, plat::HostPixelFormat::Xrgb8888);
  EXPECT_EQ(hl::LastFrame()->pixels[0], 0u);
  // Overlays that cannot be read are not taken: odd width, source outside.
  plat::HostOverlay bad = OverlayOf(small.bytes, plat::HostOverlayFormat::Yuy2, plat::HostRect{0, 0, 4, 2});
  bad.source.right = 5;
  plat::HostSetOverlays(&bad, 1);
  EXPECT_EQ(plat::HostOverlayCount(), 0);
  bad = OverlayOf(small.bytes, plat::HostOverlayFormat::Yuy2, plat::HostRect{0, 0, 4, 2});
  bad.width = 3;
  plat::HostSetOverlays(&bad, 1);
  EXPECT_EQ(plat::HostOverlayCount(), 0);
  hl::Reset();
}

TEST(HostOverlay, SdlKeepsOneTexturePerShownOverlayAndGivesItBack) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  plat::HostReset();
  plat::HostSelect(plat::HostKind::Sdl);
  if (!plat::HostCreateWindow(64, 48)) {
    unsetenv("SDL_VIDEODRIVER");
    plat::HostReset();
    GTEST_SKIP() << "SDL's dummy video driver is not there";
  }
  const SmallOverlay small;
  const std::vector<uint8_t> uyvy = small.Swapped();
  const std::vector<uint32_t> picture(64 * 48, 0x336699);
  for (int cycle = 0; cycle < 100; ++cycle) {
    // Open: shown and updated at each present; a second overlay beside it.
    plat::HostOverlay shown[2] = {OverlayOf(small.bytes, plat::HostOverlayFormat::Yuy2, plat::HostRect{4, 4, 12, 8}),
                                  OverlayOf(uyvy, plat::HostOverlayFormat::Uyvy, plat::HostRect{20, 4, 28, 8})};
    shown[0].id = 1000 + static_cast<uintptr_t>(cycle);
    shown[1].id = 5000 + static_cast<uintptr_t>(cycle);
    plat::HostSetOverlays(shown, cycle % 2 == 0 ? 2 : 1);
    for (int frame = 0; frame < 2; ++frame) {
      plat::HostPresent(picture.data(), 64 * 4, 64, 48, plat::HostPixelFormat::Xrgb8888);
      ASSERT_EQ(plat::SdlOverlayTextureCount(), cycle % 2 == 0 ? 2 : 1) << cycle;
    }
    // Closed: its texture goes at the next present.
    plat::HostSetOverlays(nullptr, 0);
    plat::HostPresent(picture.data(), 64 * 4, 64, 48, plat::HostPixelFormat::Xrgb8888);
    ASSERT_EQ(plat::SdlOverlayTextureCount(), 0) << cycle;
  }
  // One still shown when the window goes: released with it.
  const plat::HostOverlay last = OverlayOf(small.bytes, plat::HostOverlayFormat::Yuy2, plat::HostRect{0, 0, 8, 4});
  plat::HostSetOverlays(&last, 1);
  plat::HostPresent(picture.data(), 64 * 4, 64, 48, plat::HostPixelFormat::Xrgb8888);
  EXPECT_EQ(plat::SdlOverlayTextureCount(), 1);
  plat::HostDestroyWindow();
  EXPECT_EQ(plat::SdlOverlayTextureCount(), 0);
  plat::HostReset();
  unsetenv("SDL_VIDEODRIVER");
  EXPECT_EQ(plat::HostOverlayCount(), 0);
}
