// Until the game's scenes exist, the program shows a moving test pattern
// through the host: colour bars, a grey ramp and a bouncing box, at about 60
// frames a second, until Esc or the window's close button. Run headless it
// shows ORB_FRAMES frames (120 by default), writes the last one to the PNG
// named by ORB_SHOT, and ends.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/host/headless/headless_control.h"
#include "platform/host/host.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

uint16_t Rgb565(int r, int g, int b) {
  return static_cast<uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3));
}

void DrawPattern(std::vector<uint16_t>& pic, uint64_t frame) {
  static const uint16_t bars[8] = {
      Rgb565(255, 255, 255), Rgb565(255, 255, 0), Rgb565(0, 255, 255), Rgb565(0, 255, 0),
      Rgb565(255, 0, 255),   Rgb565(255, 0, 0),   Rgb565(0, 0, 255),   Rgb565(0, 0, 0),
  };
  const int barBottom = kHeight * 2 / 3;
  for (int y = 0; y < kHeight; ++y) {
    uint16_t* row = pic.data() + static_cast<size_t>(y) * kWidth;
    for (int x = 0; x < kWidth; ++x) {
      if (y < barBottom) {
        row[x] = bars[x * 8 / kWidth];
      } else {
        const int v = x * 255 / (kWidth - 1);
        row[x] = Rgb565(v, v, v);
      }
    }
  }
  // A box bouncing between the edges, so a stuck picture is easy to see.
  constexpr int box = 48;
  const int spanX = kWidth - box, spanY = kHeight - box;
  const int px = static_cast<int>((frame * 5) % (2 * spanX));
  const int py = static_cast<int>((frame * 3) % (2 * spanY));
  const int bx = px < spanX ? px : 2 * spanX - px;
  const int by = py < spanY ? py : 2 * spanY - py;
  for (int y = by; y < by + box; ++y) {
    for (int x = bx; x < bx + box; ++x) {
      const bool edge = x < bx + 4 || x >= bx + box - 4 || y < by + 4 || y >= by + box - 4;
      pic[static_cast<size_t>(y) * kWidth + x] = edge ? Rgb565(0, 0, 0) : Rgb565(255, 128, 0);
    }
  }
}

uint64_t FrameLimit() {
  const char* s = std::getenv("ORB_FRAMES");
  if (!s || !*s) return 120;
  char* end = nullptr;
  const long long n = std::strtoll(s, &end, 10);
  if (*end != 0 || n < 1 || n > 10'000'000) {
    std::fprintf(stderr, "orbworld: ORB_FRAMES=%s is not a frame count; showing 120\n", s);
    return 120;
  }
  return static_cast<uint64_t>(n);
}

}  // namespace

int main() {
  const bool headless = plat::HostGetKind() == plat::HostKind::Headless;
  plat::HostSetTitle("ORBWORLD");
  if (!plat::HostCreateWindow(kWidth, kHeight)) {
    std::fprintf(stderr, "orbworld: cannot open a %dx%d window (ORB_HOST=headless runs without one)\n", kWidth,
                 kHeight);
    return 1;
  }
  plat::HostShowWindow(true);

  const uint64_t limit = headless ? FrameLimit() : 0;
  std::vector<uint16_t> pic(static_cast<size_t>(kWidth) * kHeight);
  const uint32_t start = plat::HostMillis();
  bool running = true;
  for (uint64_t frame = 0; running && (limit == 0 || frame < limit); ++frame) {
    plat::HostEvent e;
    while (plat::HostPollEvent(&e)) {
      if (e.kind == plat::HostEventKind::CloseRequest) running = false;
      if (e.kind == plat::HostEventKind::KeyDown && e.key == plat::hid::Escape) running = false;
    }
    if (!running) break;
    DrawPattern(pic, frame);
    plat::HostPresent(pic.data(), kWidth * 2, kWidth, kHeight, plat::HostPixelFormat::Rgb565);
    // Frame n+1 is due at n+1 sixtieths of a second after the start; the
    // difference is taken in 32 bits so the millisecond wrap does no harm.
    const uint32_t due = start + static_cast<uint32_t>((frame + 1) * 1000 / 60);
    const int32_t wait = static_cast<int32_t>(due - plat::HostMillis());
    if (wait > 0) plat::HostSleepMs(static_cast<uint32_t>(wait));
  }

  int rc = 0;
  const char* shot = std::getenv("ORB_SHOT");
  if (headless && shot && *shot) {
    const plat::headless::KeptFrame* last = plat::headless::LastFrame();
    if (!last || !plat::headless::WriteFramePng(*last, shot)) {
      std::fprintf(stderr, "orbworld: cannot write the picture to %s\n", shot);
      rc = 1;
    }
  }
  plat::HostDestroyWindow();
  plat::HostReset();
  return rc;
}
