// Starting graphics on a chosen road for the graphics tests, and making
// graphs straight from test pictures.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "framework/core/life_test_support.h"
#include "framework/graphics/graphs/graph_record.h"
#include "framework/graphics/screen/screen.h"
#include "framework/graphics/surfaces/surface_2d.h"
#include "framework/qorlib.h"

namespace gfxtest {

// Software road ("soft", windowed, GDI) or DirectDraw full screen (without
// the Direct3D device unless `road` asks for it).
struct Road : lifetest::LifeScope {
  // `overlays` false: a display without overlays (the stand-in offers them).
  // `bits` 15: a 16-bit display of 5:5:5 pixels.
  explicit Road(bool software, int bits = 16, bool windowed = false, const char* road = nullptr,
                bool overlays = true) {
    if (!overlays) plat::DdOfferOverlays(false);
    if (bits == 15) plat::DdUse555(true);
    setenv("ORB_GFX", road != nullptr ? road : software ? "soft" : "ddraw", 1);
    if (!windowed) qor::SwitchWindowModePublic(0);
    qor::RequestScreenModePublic(640, 480, bits == 15 ? 16 : bits, -1);
    EXPECT_EQ(qor::InitFramework(), 0);
    unsetenv("ORB_GFX");
  }
  ~Road() { qor::EndFramework(); }
};

// A picture with a key-coloured (0, 255, 0) border and diagonals and a
// pattern that shows every channel: 24-bit RGB, or A8R8G8B8 with an alpha
// ramp (and no key) when `alpha`.
inline void MakePicture(qor::GraphImage* image, int w, int h, bool alpha, int seed) {
  *image = qor::GraphImage{};
  ASSERT_EQ(alpha ? qor::CreateArgb8GraphImage(w, h, image) : qor::CreateRgb24GraphImage(w, h, image), 0);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t* p = image->pixels + y * image->pitch + x * image->format.bytesPerPixel;
      const bool key = !alpha && (x < 2 || y < 2 || (x + y) % 11 == 0);
      p[0] = key ? 0 : static_cast<uint8_t>((x ^ y) * 5);
      p[1] = key ? 255 : static_cast<uint8_t>(y * 7 + seed * 3);
      p[2] = key ? 0 : static_cast<uint8_t>(x * 13 + seed);
      if (alpha) p[3] = static_cast<uint8_t>((x * 255) / (w - 1));
    }
  }
}

// A graph of the screen's depth holding MakePicture's picture, or blank when
// drawable.
inline int32_t MakeGraph(int w, int h, bool systemMemory, bool drawable, int seed = 0, bool alpha = false) {
  qor::GraphCreateSettings settings{};
  settings.newGraphSystemMemory = systemMemory ? 1 : 0;
  settings.newGraphDrawable = drawable ? 1 : 0;
  settings.softwareRendering = qor::IsSoftwareRendering();
  qor::GraphRecord* g = nullptr;
  const int32_t handle = qor::AddGraphRecord(w, h, 0, &g, alpha ? 1 : 0, 0, &settings);
  EXPECT_EQ(qor::CreateGraphSurface2D(g), 0);
  if (!drawable) {
    qor::GraphImage image;
    MakePicture(&image, w, h, alpha, seed);
    const qor::Rect all{0, 0, w, h};
    EXPECT_EQ(qor::BlitImageToGraphPieces(&image, nullptr, &all, 0, 0, g, 1), 0);
    qor::FreeGraphImage(&image);
  }
  return handle;
}

// The pixel values (raw, 16 or 32 bits) of a rectangle of the current draw
// target's store.
inline std::vector<uint32_t> TargetPixels(int x, int y, int w, int h) {
  const qor::ScreenState& s = qor::GetScreenState();
  const uint8_t* base;
  int32_t pitch, bytes;
  int32_t ox = s.targetOffsetX, oy = s.targetOffsetY;
  if (s.targetSurface != nullptr) {
    base = s.targetSurface->memory();
    pitch = s.targetSurface->pitch();
    plat::DDPixelFormat f;
    s.targetSurface->GetPixelFormat(&f);
    bytes = static_cast<int32_t>(f.bitCount / 8);
  } else {
    base = s.targetImage->pixels;
    pitch = s.targetImage->buffer->pitch;
    bytes = s.targetImage->buffer->format->bytesPerPixel;
  }
  std::vector<uint32_t> out;
  for (int row = 0; row < h; ++row)
    for (int col = 0; col < w; ++col) {
      uint32_t v = 0;
      std::memcpy(&v, base + (oy + y + row) * pitch + (ox + x + col) * bytes, bytes);
      out.push_back(v);
    }
  return out;
}

// A 24-bit bottom-up BMP of w x h whose colours are all exact on 16-bit
// screens.
inline void WriteBmp(const char* path, int w, int h) {
  const int pitch = (w * 3 + 3) & ~3;
  std::vector<uint8_t> f(54 + static_cast<size_t>(pitch) * h, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) f[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  f[0] = 'B', f[1] = 'M';
  put32(2, static_cast<uint32_t>(f.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(w));
  put32(22, static_cast<uint32_t>(h));
  f[26] = 1, f[28] = 24;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &f[54 + static_cast<size_t>(h - 1 - y) * pitch + x * 3];
      p[0] = static_cast<uint8_t>((x * 24) & 0xF8), p[1] = static_cast<uint8_t>((y * 40) & 0xF8),
      p[2] = static_cast<uint8_t>(((x ^ y) * 56) & 0xF8);
    }
  FILE* out = std::fopen(path, "wb");
  ASSERT_NE(out, nullptr);
  std::fwrite(f.data(), 1, f.size(), out);
  std::fclose(out);
}

}  // namespace gfxtest
