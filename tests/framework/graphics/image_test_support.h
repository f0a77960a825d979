// Shared pieces of the image reader tests: the fixture pictures recomputed
// (tests/data/images/make_pictures.py writes the same ones), decoding a
// block of bytes and reading decoded pixels back. Damaged files are the
// fuzz targets' work (tests/fuzz), seeded with these fixtures.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/core/memory.h"
#include "framework/core/files/memory_stream.h"
#include "framework/graphics/images/image_loader.h"
#include "framework/graphics/images/pixel_access.h"
#include "support/scratch_folder.h"

namespace imagetest {

constexpr int kW = 13;
constexpr int kH = 7;

struct Rgba {
  uint32_t r, g, b, a;
};

inline Rgba Rich(int x, int y) {
  return {static_cast<uint32_t>((x * 17 + y * 3) & 0xFF), static_cast<uint32_t>((y * 31 + x * 5 + 40) & 0xFF),
          static_cast<uint32_t>((x * y * 7 + 9) & 0xFF), 255};
}
inline uint32_t RichAlpha(int x, int y) { return static_cast<uint32_t>((x * 19 + y * 11) & 0xFF); }
inline Rgba Sixteen(int x, int y) {
  static const uint8_t table[16][3] = {
      {0x00, 0x00, 0x00}, {0xFF, 0xFF, 0xFF}, {0xFF, 0x00, 0x00}, {0x00, 0xFF, 0x00},
      {0x00, 0x00, 0xFF}, {0xFF, 0xFF, 0x00}, {0x00, 0xFF, 0xFF}, {0xFF, 0x00, 0xFF},
      {0x84, 0x41, 0x10}, {0x10, 0x84, 0x41}, {0x41, 0x10, 0x84}, {0xC6, 0xC3, 0x39},
      {0x39, 0xC6, 0xC3}, {0xC3, 0x39, 0xC6}, {0x63, 0x82, 0xA5}, {0xA5, 0x63, 0x82},
  };
  const uint8_t* c = table[(x * 3 + y * 5) % 16];
  return {c[0], c[1], c[2], 255};
}
inline Rgba Two(int x, int y) {
  const uint32_t v = (x + y / 2) % 3 == 0 ? 255 : 0;
  return {v, v, v, 255};
}

inline std::vector<uint8_t> ReadFixture(const std::string& name) {
  return testsupport::ReadBytes(std::string(ORB_TEST_DATA_DIR) + "/images/" + name);
}

// Runs one reader (or the whole loader table when `reader` is null) over
// the bytes; the image is cleared first.
inline int Decode(const std::vector<uint8_t>& bytes, qor::GraphImage* image, qor::ImageReader reader = nullptr) {
  *image = qor::GraphImage{};
  const qor::StreamHandle stream = qor::OpenMemoryStream(bytes.data(), bytes.size());
  qor::StreamSource source = qor::MakeStreamSource(qor::GetMemoryStreamTable(), stream);
  const int result = reader != nullptr ? reader(&source, image) : qor::DecodeImageStream(&source, image);
  qor::FreeMemoryStream(stream);
  return result;
}

// Owns a decoded picture for the length of a test.
struct Decoded {
  qor::GraphImage image{};
  int result = -1;
  explicit Decoded(const std::vector<uint8_t>& bytes, qor::ImageReader reader = nullptr)
      : result(Decode(bytes, &image, reader)) {}
  ~Decoded() { qor::FreeGraphImage(&image); }
  Decoded(const Decoded&) = delete;
  Decoded& operator=(const Decoded&) = delete;
};

// A decoded pixel by the format's own description: a palette entry, or each
// channel scaled to 0-255; alpha 255 when the format has none.
inline Rgba PixelAt(const qor::GraphImage& image, int x, int y) {
  const qor::PixelFormatInfo& f = image.format;
  const uint8_t* p = image.pixels + static_cast<size_t>(y) * image.pitch + static_cast<size_t>(x) * f.bytesPerPixel;
  if (qor::IsPaletteFormat(&f)) {
    const qor::PaletteEntry& e = f.palette[*p];
    return {e.red, e.green, e.blue, 255};
  }
  Rgba c{};
  qor::UnpackColorFromFormat(&f, qor::LoadPixel(p, f.bytesPerPixel), &c.r, &c.g, &c.b, &c.a);
  if (f.masks[qor::kAlpha] == 0) c.a = 255;
  return c;
}

// Every pixel within `tolerance` of the picture (alpha too when asked).
template <typename Picture>
::testing::AssertionResult HoldsPicture(const qor::GraphImage& image, Picture picture, int tolerance = 0,
                                        bool checkAlpha = false) {
  if (image.pixels == nullptr || image.width != kW || image.height != kH) {
    return ::testing::AssertionFailure() << "size " << image.width << " x " << image.height;
  }
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const Rgba got = PixelAt(image, x, y);
      const Rgba want = picture(x, y);
      auto off = [&](uint32_t a, uint32_t b) { return std::abs(static_cast<int>(a) - static_cast<int>(b)) > tolerance; };
      if (off(got.r, want.r) || off(got.g, want.g) || off(got.b, want.b) || (checkAlpha && off(got.a, want.a))) {
        return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << got.r << "," << got.g << ","
                                             << got.b << "," << got.a << " not " << want.r << "," << want.g << ","
                                             << want.b << "," << want.a;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

inline void PutLe16(std::vector<uint8_t>* v, size_t at, uint32_t x) {
  (*v)[at] = static_cast<uint8_t>(x);
  (*v)[at + 1] = static_cast<uint8_t>(x >> 8);
}
inline void PutLe32(std::vector<uint8_t>* v, size_t at, uint32_t x) {
  for (int i = 0; i < 4; ++i) (*v)[at + i] = static_cast<uint8_t>(x >> (8 * i));
}
inline uint32_t GetLe32(const std::vector<uint8_t>& v, size_t at) {
  return v[at] | (v[at + 1] << 8) | (v[at + 2] << 16) | (static_cast<uint32_t>(v[at + 3]) << 24);
}

}  // namespace imagetest
