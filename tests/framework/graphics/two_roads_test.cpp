// The software road and the DirectDraw road draw one scene (every 2D draw,
// boxes and lines; blend modes 0-4, 10 and 11; tints; keys; an alpha graph
// and a blend graph) onto the back screen, the front screen and a drawable
// graph. The two must give the same pixels on R5G6B5 and X8R8G8B8 screens
// and stay within one step of each other on X1R5G5B5.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_load.h"
#include "framework/graphics/graphs/graph_record.h"
#include "framework/graphics/screen/screen.h"
#include "framework/graphics/surfaces/surface_2d.h"
#include "framework/qorlib.h"
#include "graphics_test_support.h"
#include "platform/ddraw/ddraw.h"

using namespace qor;
using gfxtest::MakeGraph;

namespace {

constexpr int kW = 640, kH = 480;

// `singleRounding`: quads only where drawing a pixel twice cannot add a
// second rounding (the shared diagonal of a quad is drawn by both its
// triangles, so adding modes would apply a 5-bit source's rounding twice).
void Scene(int32_t sprite, int32_t alphaSprite, int32_t blendGraph, bool singleRounding) {
  GraphRecord* g = LookupGraph(sprite);
  const int modes[][2] = {{0, 0}, {1, 128}, {2, 200}, {3, 100}, {4, 0}, {10, 90}, {11, 150}};
  int x = 4;
  for (const auto& m : modes) {
    SelectBlend(m[0], m[1]);
    DrawGraphDirectDraw(x, 10, g, 1);
    DrawGraphDirectDraw(x + 5, 50, g, 0);
    DrawSurface2DStretched(x + 40, 90, x, 140, g, 1);
    DrawSurface2DRotated(static_cast<float>(x + 20), 190.5f, 1.5, 0.7, g, 1, 0);
    const float quad[8] = {static_cast<float>(x), 230, static_cast<float>(x + 50), 240,
                           static_cast<float>(x + 5), 290, static_cast<float>(x + 45), 280};
    if (!singleRounding || m[0] == 0 || m[0] == 4) DrawGraphQuadDirectDraw(quad, g, 1);
    FillBoxDirectDraw(x, 300, x + 30, 320, PackColorRGB(200, 40, 90));
    DrawBoxFrameDirectDraw(x, 330, x + 40, 360, PackColorRGB(20, 250, 60));
    const LineRecord lines[2] = {{x, 370, x + 60, 400, static_cast<int32_t>(PackColorRGB(255, 255, 0)), 0},
                                 {x + 60, 370, x, 395, static_cast<int32_t>(PackColorRGB(0, 90, 255)), 0}};
    DrawLinesDirectDraw(lines, 2);
    x += 85;
  }
  SelectBlend(0, 0);
  SetTintRGB(200, 100, 50);
  DrawGraphDirectDraw(600, 10, g, 1);
  DrawSurface2DRotated(610.0f, 100.0f, 0.8, -2.0, g, 1, 1);
  SetTintRGB(255, 255, 255);
  DrawGraphDirectDraw(560, 150, LookupGraph(alphaSprite), 1);
  SelectBlendGraph(blendGraph, 64, 128);
  SelectBlend(1, 255);
  DrawGraphDirectDraw(560, 220, g, 1);
  SelectBlendGraph(-1, 0, 0);
  // Clipped by the draw area, also on the plain copy road.
  SetClipArea(0, 0, 620, 470);
  DrawGraphDirectDraw(600, 440, g, 1);
  SetClipArea(0, 0, kW, kH);
}

std::vector<uint32_t> ReadRgb(const uint8_t* pixels, int32_t pitch, int w, int h, const PixelFormatInfo* format) {
  std::vector<uint32_t> out(static_cast<size_t>(w) * h);
  PixelFormatInfo xrgb;
  MakeFormatX8R8G8B8(&xrgb);
  const PixelBlock to{reinterpret_cast<uint8_t*>(out.data()), w * 4, w, h, &xrgb};
  const PixelBlock from{const_cast<uint8_t*>(pixels), pitch, w, h, format};
  const Rect all{0, 0, w, h};
  EXPECT_EQ(ConvertPixelsBlt(&to, &from, nullptr, 0, 0, &all, nullptr), 0);
  for (uint32_t& v : out) v &= 0xFFFFFF;
  return out;
}

std::vector<uint32_t> ReadImage(const MemImage* image) {
  return ReadRgb(image->pixels, image->buffer->pitch, image->width, image->height, image->buffer->format);
}

std::vector<uint32_t> ReadSurface(plat::DDSurface* surface, int w, int h, int x = 0, int y = 0) {
  plat::DDPixelFormat f;
  surface->GetPixelFormat(&f);
  PixelFormatInfo info;
  MakeFormatFromDirectDraw(&f, &info);
  return ReadRgb(surface->memory() + y * surface->pitch() + x * (f.bitCount / 8), surface->pitch(), w, h, &info);
}

struct Pictures {
  std::vector<uint32_t> back, front, graph;
};

// Starts the road, draws the scene on the three targets and reads them back.
// `windowed`: the DirectDraw road draws on the desktop at the window's place.
Pictures RunRoad(bool software, int bits, bool use555, bool systemSources, bool singleRounding = false,
                 bool windowed = false) {
  lifetest::LifeScope scope;
  Pictures out;
  if (windowed) plat::headless::SetDesktopMode(1280, 1024, bits);
  if (software) setenv("ORB_GFX", "soft", 1);
  else if (!windowed) SwitchWindowModePublic(0);
  plat::DdUse555(use555);
  RequestScreenMode(kW, kH, bits, -1);
  EXPECT_EQ(InitFramework(), 0);
  unsetenv("ORB_GFX");
  EXPECT_EQ(IsSoftwareRendering() != 0, software);
  SetKeyColorRGB(0, 255, 0);
  const int32_t sprite = MakeGraph(40, 30, systemSources, false, 1);
  const int32_t alphaSprite = MakeGraph(40, 30, systemSources, false, 2, true);
  const int32_t blendGraph = MakeGraph(48, 40, true, false, 3);
  const int32_t canvas = MakeGraph(kW, kH, false, true);
  for (int32_t target : {kBackScreen, kFrontScreen, canvas}) {
    EXPECT_EQ(SelectDrawTarget(target), 0);
    EraseDrawTarget();
    Scene(sprite, alphaSprite, blendGraph, singleRounding);
  }
  const ScreenState& s = GetScreenState();
  const SurfaceDataRecord* c = LookupSurfaceData(LookupSurface2D(LookupGraph(canvas)->pieceHandles[0])->surfaceData);
  if (software) {
    out.back = ReadImage(&s.backImage);
    out.front = ReadImage(&s.frontImage);
    out.graph = ReadImage(&c->image);
  } else {
    out.back = ReadSurface(s.back, kW, kH);
    const plat::Rect client = GetMainWindowState().clientRect;
    out.front = windowed ? ReadSurface(s.primary, kW, kH, client.left, client.top) : ReadSurface(s.primary, kW, kH);
    out.graph = c->surface != nullptr ? ReadSurface(c->surface, kW, kH) : ReadImage(&c->image);
  }
  EndFramework();
  plat::DdUse555(false);
  return out;
}

// Channels apart by at most `step` in 8-bit terms (0: equal).
int CountDifferences(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int step) {
  int n = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    for (int shift = 0; shift < 24; shift += 8) {
      const int d = static_cast<int>((a[i] >> shift) & 255) - static_cast<int>((b[i] >> shift) & 255);
      if (d > step || d < -step) {
        if (n < 3) ADD_FAILURE() << "pixel " << i % kW << "," << i / kW << ": " << std::hex << a[i] << " vs " << b[i];
        ++n;
        break;
      }
    }
  }
  return n;
}

void ExpectSamePictures(const Pictures& a, const Pictures& b, int step) {
  ASSERT_EQ(a.back.size(), b.back.size());
  EXPECT_EQ(CountDifferences(a.back, b.back, step), 0) << "back";
  EXPECT_EQ(CountDifferences(a.front, b.front, step), 0) << "front";
  EXPECT_EQ(CountDifferences(a.graph, b.graph, step), 0) << "graph";
  int drawn = 0;
  for (uint32_t v : a.back) drawn += v != 0;
  EXPECT_GT(drawn, 20000);  // the scene really drew
}

TEST(TwoRoads, R5G6B5AndX8R8G8B8AgreeWithVideoAndSystemSources) {
  for (int bits : {16, 32}) {
    for (bool system : {false, true}) {
      SCOPED_TRACE(testing::Message() << bits << " bits, system sources " << system);
      ExpectSamePictures(RunRoad(true, bits, false, system), RunRoad(false, bits, false, system), 0);
    }
  }
}

TEST(TwoRoads, WindowedOnTheDesktopAgrees) {
  ExpectSamePictures(RunRoad(true, 16, false, false), RunRoad(false, 16, false, false, false, true), 0);
}

TEST(TwoRoads, X1R5G5B5WithinOneStep) {
  ExpectSamePictures(RunRoad(true, 16, false, false, true), RunRoad(false, 16, true, false, true), 9);  // one 5-bit step: 255 / 31 rounded up
}

// An 8-bit palette picture in a memory image keys on the index of the
// transparent colour: it was made with a key no index matches, so its key
// background showed on the software road while 2D surfaces hid it.
TEST(TwoRoads, PalettePicturesKeyOnTheTransparentColoursIndex) {
  gfxtest::Road road(true);
  SetKeyColorRGB(0, 255, 0);
  GraphImage image{};
  ASSERT_EQ(AllocGraphImagePixels(8, 1, &image), 0);  // 4 bytes a pixel: room for the indices
  MakeFormatPal8(&image.format);
  image.format.palette[3] = PaletteEntry{0, 255, 0, 0};  // the key colour, not at index 0
  image.format.palette[7] = PaletteEntry{0, 0, 255, 0};
  for (int x = 0; x < 8; ++x) image.pixels[x] = x < 4 ? 3 : 7;
  const int32_t graph = CreateGraphForImage(&image, nullptr, 0);
  ASSERT_GT(graph, 0);
  GraphRecord* g = LookupGraph(graph);
  const Rect all{0, 0, 8, 1};
  ASSERT_EQ(BlitImageToGraphPieces(&image, nullptr, &all, 0, 0, g, 1), 0);
  FreeGraphImage(&image);
  const SurfaceDataRecord* d = LookupSurfaceData(LookupSurface2D(g->pieceHandles[0])->surfaceData);
  ASSERT_TRUE(d->memImageMode);
  ASSERT_TRUE(d->image.buffer->paletteFlag);
  EXPECT_EQ(d->image.buffer->keyColor, 3u);
  ASSERT_EQ(SelectDrawTarget(kBackScreen), 0);
  EraseDrawTarget();
  ASSERT_EQ(BlitGraph(0, 0, graph, 1), 0);
  const std::vector<uint32_t> row = ReadImage(&GetScreenState().backImage);
  for (int x = 0; x < 8; ++x) EXPECT_EQ(row[x], x < 4 ? 0u : 0xF80000u) << x;  // red through 5:6:5
}

}  // namespace
