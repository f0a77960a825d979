// Presented pictures are counted and the last few kept as XRGB8888; a kept
// frame written as PNG and read back with libpng gives the same pixels.
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/host/headless/headless_control.h"
#include "platform/host/host.h"
#include "platform/host/host_backend.h"

namespace hl = plat::headless;

namespace {

// A widened 565 pixel must cut back to the same 565 value and lie within one
// step of the exact scale (31 -> 255, 63 -> 255) on every channel.
::testing::AssertionResult WidenedWell(uint16_t p, uint32_t x) {
  const int in[3] = {p >> 11, (p >> 5) & 63, p & 31};
  const int max[3] = {31, 63, 31};
  const int bits[3] = {5, 6, 5};
  for (int c = 0; c < 3; ++c) {
    const int v = static_cast<int>(x >> (16 - 8 * c)) & 255;
    const double exact = in[c] * 255.0 / max[c];
    if (v >> (8 - bits[c]) != in[c] || v < exact - 1 || v > exact + 1) {
      return ::testing::AssertionFailure() << std::hex << p << " -> " << x;
    }
  }
  if (x >> 24) return ::testing::AssertionFailure() << "top byte set " << std::hex << x;
  return ::testing::AssertionSuccess();
}

std::vector<uint32_t> ReadPng(const std::string& path, int* w, int* h) {
  png_image img;
  std::memset(&img, 0, sizeof img);
  img.version = PNG_IMAGE_VERSION;
  std::vector<uint32_t> out;
  if (!png_image_begin_read_from_file(&img, path.c_str())) return out;
  img.format = PNG_FORMAT_RGB;
  std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(img));
  if (!png_image_finish_read(&img, nullptr, rgb.data(), 0, nullptr)) return out;
  *w = static_cast<int>(img.width);
  *h = static_cast<int>(img.height);
  for (size_t i = 0; i + 2 < rgb.size(); i += 3) out.push_back(rgb[i] << 16 | rgb[i + 1] << 8 | rgb[i + 2]);
  return out;
}

// The frame written as a PNG and read back by libpng.
void ExpectPngRoundTrip(const hl::KeptFrame& f) {
  const std::string path = testing::TempDir() + "orb_host_" + std::to_string(getpid()) + ".png";
  ASSERT_TRUE(hl::WriteFramePng(f, path.c_str()));
  int w = 0, h = 0;
  EXPECT_EQ(ReadPng(path, &w, &h), f.pixels);
  EXPECT_EQ(w, f.width);
  EXPECT_EQ(h, f.height);
  std::remove(path.c_str());
}

class HeadlessFrames : public testing::Test {
 protected:
  void SetUp() override {
    hl::Reset();
    ASSERT_TRUE(plat::HostCreateWindow(640, 480));
  }
  void TearDown() override { plat::HostReset(); }
};

TEST_F(HeadlessFrames, Rgb565IsWidenedAndRoundTripsThroughPng) {
  // Every 16-bit value once, in a 256 x 256 picture with padded rows.
  const int w = 256, h = 256, pitch = w * 2 + 6;
  std::vector<unsigned char> buf(static_cast<size_t>(pitch) * h);
  for (int i = 0; i < w * h; ++i) {
    const uint16_t v = static_cast<uint16_t>(i);
    std::memcpy(&buf[static_cast<size_t>(i / w) * pitch + (i % w) * 2], &v, 2);
  }
  plat::HostPresent(buf.data(), pitch, w, h, plat::HostPixelFormat::Rgb565);
  const hl::KeptFrame* f = hl::LastFrame();
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(f->width, w);
  ASSERT_EQ(f->height, h);
  for (int i = 0; i < w * h; ++i) ASSERT_TRUE(WidenedWell(static_cast<uint16_t>(i), f->pixels[i]));
  EXPECT_EQ(f->pixels[0xFFFF], 0xFFFFFFu);
  EXPECT_EQ(f->pixels[0], 0u);

  ExpectPngRoundTrip(*f);
}

TEST_F(HeadlessFrames, Xrgb8888DropsTheTopByteAndRoundTrips) {
  const int w = 37, h = 11;  // odd sizes catch row mix-ups
  std::vector<uint32_t> pic(static_cast<size_t>(w) * h);
  uint32_t seed = 12345;
  for (uint32_t& p : pic) p = seed = seed * 1103515245u + 12345u;
  plat::HostPresent(pic.data(), w * 4, w, h, plat::HostPixelFormat::Xrgb8888);
  const hl::KeptFrame* f = hl::LastFrame();
  ASSERT_NE(f, nullptr);
  for (size_t i = 0; i < pic.size(); ++i) ASSERT_EQ(f->pixels[i], pic[i] & 0xFFFFFF);

  ExpectPngRoundTrip(*f);
  EXPECT_FALSE(hl::WriteFramePng(*f, "/nonexistent-dir/x.png"));
}

TEST_F(HeadlessFrames, BottomUpRowsWithNegativePitch) {
  const uint32_t rows[3] = {0x111111, 0x222222, 0x333333};  // stored bottom row first
  plat::HostPresent(&rows[2], -4, 1, 3, plat::HostPixelFormat::Xrgb8888);
  ASSERT_NE(hl::LastFrame(), nullptr);
  EXPECT_EQ(hl::LastFrame()->pixels, std::vector<uint32_t>({0x333333, 0x222222, 0x111111}));
}

TEST_F(HeadlessFrames, KeepsTheLastFewAndCountsAll) {
  uint16_t px = 0;
  for (int i = 0; i < 20; ++i) {
    px = static_cast<uint16_t>(i);
    plat::HostPresent(&px, 2, 1, 1, plat::HostPixelFormat::Rgb565);
  }
  EXPECT_EQ(hl::FrameCount(), 20u);
  EXPECT_EQ(hl::GetFrame(20 - hl::kDefaultKeptFrames - 1), nullptr);
  for (int n = 20 - hl::kDefaultKeptFrames; n < 20; ++n) {
    const hl::KeptFrame* f = hl::GetFrame(static_cast<uint64_t>(n));
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(WidenedWell(static_cast<uint16_t>(n), f->pixels[0]));
    EXPECT_EQ(f->number, static_cast<uint64_t>(n));
  }
  hl::SetMaxKeptFrames(2);
  EXPECT_EQ(hl::GetFrame(17), nullptr);
  EXPECT_NE(hl::GetFrame(18), nullptr);
  hl::SetMaxKeptFrames(0);
  plat::HostPresent(&px, 2, 1, 1, plat::HostPixelFormat::Rgb565);
  EXPECT_EQ(hl::LastFrame(), nullptr);
  EXPECT_EQ(hl::FrameCount(), 21u);
}

TEST_F(HeadlessFrames, UnreadablePicturesAreNotShown) {
  uint16_t px[4] = {};
  plat::HostPresent(nullptr, 2, 1, 1, plat::HostPixelFormat::Rgb565);
  plat::HostPresent(px, 2, 0, 1, plat::HostPixelFormat::Rgb565);
  plat::HostPresent(px, 2, 2, 1, plat::HostPixelFormat::Rgb565);  // pitch shorter than a row
  plat::HostPresent(px, 8, 1, 1, static_cast<plat::HostPixelFormat>(7));
  plat::HostDestroyWindow();
  plat::HostPresent(px, 2, 1, 1, plat::HostPixelFormat::Rgb565);  // no window
  EXPECT_EQ(hl::FrameCount(), 0u);
}

// The row conversion takes eight pixels at a time: at every row length
// around that, from rows at odd addresses, it gives what the one-pixel
// widening gives, and hashes tell equal frames from unequal ones.
TEST_F(HeadlessFrames, RowsOfEveryLengthMatchTheOnePixelWidening) {
  uint32_t seed = 77;
  for (int w = 1; w <= 19; ++w) {
    const int h = 3, pitch = w * 4 + 3;
    std::vector<unsigned char> buf(static_cast<size_t>(pitch) * h + 1);
    for (unsigned char& b : buf) b = static_cast<unsigned char>((seed = seed * 1103515245u + 12345u) >> 8);
    for (const plat::HostPixelFormat format : {plat::HostPixelFormat::Rgb565, plat::HostPixelFormat::Xrgb8888}) {
      SCOPED_TRACE(w);
      plat::HostPresent(buf.data() + 1, pitch, w, h, format);
      const hl::KeptFrame* f = hl::LastFrame();
      ASSERT_NE(f, nullptr);
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          const unsigned char* p = buf.data() + 1 + static_cast<size_t>(y) * pitch;
          uint32_t expected;
          if (format == plat::HostPixelFormat::Rgb565) {
            expected = plat::HostRgb565ToXrgb(static_cast<uint16_t>(p[2 * x] | p[2 * x + 1] << 8));
          } else {
            std::memcpy(&expected, p + 4 * x, 4);
            expected &= 0xFFFFFF;
          }
          ASSERT_EQ(f->pixels[static_cast<size_t>(y) * w + x], expected) << x << "," << y;
        }
      }
    }
  }
  // The same picture twice hashes alike; one changed bit, differently.
  std::vector<uint32_t> pic(64 * 8, 0x123456);
  plat::HostPresent(pic.data(), 256, 64, 8, plat::HostPixelFormat::Xrgb8888);
  plat::HostPresent(pic.data(), 256, 64, 8, plat::HostPixelFormat::Xrgb8888);
  pic[300] ^= 0x100;
  plat::HostPresent(pic.data(), 256, 64, 8, plat::HostPixelFormat::Xrgb8888);
  const std::vector<uint64_t>& hashes = hl::FrameHashes();
  ASSERT_GE(hashes.size(), 3u);
  EXPECT_EQ(hashes[hashes.size() - 3], hashes[hashes.size() - 2]);
  EXPECT_NE(hashes[hashes.size() - 2], hashes.back());
}

}  // namespace
