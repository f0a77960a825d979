// Graph loading and the draw entries against independent oracles: the
// software renderer's reference model for an "_a" picture, the screen
// palette's nearest colours on an 8-bit screen, and draws that must agree
// (mirrored against reversed stretches, divided pieces against the whole).
// Also the refusals mended here: carves outside their parent, stretched
// parts of no size, NaN boxes, and the GDI route's failures.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <cmath>
#include <vector>

#include "framework/core/archives/archive_writer.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/screen/dib_section.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_load.h"
#include "framework/graphics/images/soft_image.h"
#include "graphics_test_support.h"
#include "image_test_support.h"
#include "platform/gdi/gdi.h"
#include "../softrender/reference_blend.h"

using namespace qor;
using gfxtest::TargetPixels;
using imagetest::kH;
using imagetest::kW;

namespace {

void WriteFixture(const char* name, const char* fixture) {
  mkdir("Pics", 0755);
  ASSERT_EQ(WriteWholeFile(name, imagetest::ReadFixture(fixture)), 0);
}

}  // namespace

TEST(GraphLoad, AlphaCompanionDrawsAsTheReferenceModelComputes) {
  gfxtest::Road road(true, 32);
  WriteFixture("Pics/rich.bmp", "n_rich24.bmp");
  WriteFixture("Pics/rich_a.bmp", "n_sixteen4.bmp");  // alpha from its red channel
  const int32_t g = OpenGraphFile("pics\\rich.bmp", 1);
  ASSERT_GE(g, 0);
  SelectDrawTarget(kBackScreen);
  const uint32_t background = PackColorRGB(30, 140, 220);
  PaintBoxFilled(0, 0, 64, 64, background);
  for (int p : {255, 100}) {
    SelectBlend(1, p);
    BlitGraph(5, 5, g, 1);
    const std::vector<uint32_t> got = TargetPixels(5, 5, kW, kH);
    ref::Draw draw{1, 1, p, 0xFFFFFF, ref::Road::kAtSize, ref::kAlpha, 1, false};
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        const imagetest::Rgba c = imagetest::Rich(x, y);
        const int a = static_cast<int>(imagetest::Sixteen(x, y).r);
        const uint32_t argb = static_cast<uint32_t>(a) << 24 | c.r << 16 | c.g << 8 | c.b;
        const ref::Sample s{argb, argb, a, 0};
        ASSERT_EQ(got[y * kW + x] & 0xFFFFFF, ref::Pixel(draw, 0, s, 0, background) & 0xFFFFFF) << x << "," << y;
      }
    PaintBoxFilled(0, 0, 64, 64, background);
  }
}

TEST(GraphLoad, EightBitScreenShowsABmpThroughItsPalette) {
  gfxtest::Road road(false, 8);
  WriteFixture("Pics/rich.bmp", "n_rich24.bmp");
  const int32_t g = OpenGraphFile("Pics\\Rich.bmp", 1);
  ASSERT_GE(g, 0);
  SelectDrawTarget(kBackScreen);
  ASSERT_EQ(BlitGraph(0, 0, g, 0), 0);
  const std::vector<uint32_t> got = TargetPixels(0, 0, kW, kH);
  const uint32_t* palette = GetScreenState().paletteEntries;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const imagetest::Rgba c = imagetest::Rich(x, y);
      uint32_t best = 0, bestDistance = UINT32_MAX;
      for (uint32_t i = 0; i < 256; ++i) {
        const int dr = static_cast<int>((palette[i] >> 16) & 255) - static_cast<int>(c.r);
        const int dg = static_cast<int>((palette[i] >> 8) & 255) - static_cast<int>(c.g);
        const int db = static_cast<int>(palette[i] & 255) - static_cast<int>(c.b);
        const uint32_t d = static_cast<uint32_t>(dr * dr + dg * dg + db * db);
        if (d < bestDistance) bestDistance = d, best = i;
      }
      ASSERT_EQ(got[y * kW + x] & 0xFF, best) << x << "," << y;
    }
}

TEST(GraphLoad, DivisionsAndCarvesStayInsideTheirPicture) {
  gfxtest::Road road(true, 32);
  WriteFixture("Pics/rich.bmp", "n_rich24.bmp");
  const int32_t whole = OpenGraphFile("pics\\rich.bmp", 1);
  const int32_t other = CreateBlankGraph(4, 4, 1);
  SetGraphSourceNames(LookupGraph(other), "kept", "");
  int32_t pieces[8] = {-7, -7, -7, -7, -7, -7, other, -7};
  // Two more handles than the 3 x 2 grid holds: those stay as they were.
  ASSERT_EQ(OpenDividedGraph("pics\\rich.bmp", 8, 3, 2, 4, 3, pieces, 1), 0);
  EXPECT_EQ(pieces[6], other);
  EXPECT_STREQ(LookupGraph(other)->fileName, "kept");
  EXPECT_STREQ(LookupGraph(pieces[5])->fileName, "pics\\rich.bmp");
  // A mirrored division of one-pixel columns gives the columns left to right.
  int32_t columns[kW];
  ASSERT_EQ(OpenDividedGraphFile("pics\\rich.bmp", kW, kW, 1, 1, kH, columns, 0, 1), 0);

  SelectDrawTarget(kBackScreen);
  for (int i = 0; i < 6; ++i) {
    BlitGraph(100 + (i % 3) * 4, 100 + (i / 3) * 3, pieces[i], 0);
    BlitGraphPart(200 + (i % 3) * 4, 100 + (i / 3) * 3, (i % 3) * 4, (i / 3) * 3, 4, 3, whole, 0, 0);
  }
  EXPECT_EQ(TargetPixels(100, 100, 12, 6), TargetPixels(200, 100, 12, 6));
  for (int i = 0; i < kW; ++i) BlitGraph(100 + i, 200, columns[i], 0);
  BlitGraph(200, 200, whole, 0);
  EXPECT_EQ(TargetPixels(100, 200, kW, kH), TargetPixels(200, 200, kW, kH));

  // Carves: a start outside the parent or no size is refused and leaves no
  // handle behind; a rectangle past the edge is cut to it.
  const int32_t live = GraphTable()->liveCount;
  for (const auto& c : {std::array<int, 4>{-1, 0, 2, 2}, {kW, 0, 2, 2}, {0, kH, 2, 2}, {0, 0, 0, 2}, {0, 0, 2, -3}})
    EXPECT_EQ(CarveSubGraph(c[0], c[1], c[2], c[3], whole), -1);
  EXPECT_EQ(GraphTable()->liveCount, live);
  const GraphRecord* cut = LookupGraph(CarveSubGraph(10, 5, 10, 10, whole));
  ASSERT_NE(cut, nullptr);
  EXPECT_EQ(cut->width * 100 + cut->height, 302);
  EXPECT_EQ(cut->sourceX * 100 + cut->sourceY, 1005);

  // A file that exists but no reader takes: the second message only.
  ASSERT_EQ(WriteWholeFile("Pics/note.bmp", std::vector<uint8_t>{'h', 'i'}), 0);
  EXPECT_EQ(OpenGraphFile("pics\\note.bmp", 1), -1);
  EXPECT_FALSE(road.Logged("グラフィックファイル pics\\note.bmp がありません"));
  EXPECT_TRUE(road.Logged("右記のグラフィックファイルのロードに失敗しました：pics\\note.bmp"));
}

TEST(DrawEntries, MirroredAndReversedStretchesAgreeAndBadBoxesDrawNothing) {
  gfxtest::Road road(true, 16);
  WriteFixture("Pics/rich.bmp", "n_rich24.bmp");
  const int32_t g = OpenGraphFile("pics\\rich.bmp", 1);
  SelectDrawTarget(kBackScreen);
  EXPECT_EQ(BlitGraphMirrored(10, 10, g, 0), 0);
  EXPECT_EQ(BlitGraphStretched(40 + kW, 10, 40, 10 + kH, g, 0), 0);
  EXPECT_EQ(BlitGraphPartStretched(70 + kW, 10, 70, 10 + kH, 0, 0, kW, kH, g, 0), 0);
  EXPECT_EQ(TargetPixels(10, 10, kW, kH), TargetPixels(40, 10, kW, kH));
  EXPECT_EQ(TargetPixels(10, 10, kW, kH), TargetPixels(70, 10, kW, kH));
  // A part stretched twice as large, both axes reversed, against the part
  // mirrored by hand from a 1:1 part draw.
  EXPECT_EQ(BlitGraphPartStretched(110 + 8, 10 + 6, 110, 10, 2, 1, 4, 3, g, 0), 0);
  BlitGraphPart(150, 10, 2, 1, 4, 3, g, 0, 0);
  const std::vector<uint32_t> big = TargetPixels(110, 10, 8, 6), part = TargetPixels(150, 10, 4, 3);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(big[y * 8 + x], part[(2 - y / 2) * 4 + (3 - x / 2)]) << x << "," << y;

  Rect area, after;
  CopyDrawArea(&area);
  EXPECT_EQ(BlitGraphPartStretched(0, 0, 50, 50, 0, 0, 0, 3, g, 0), -1);  // no source width
  EXPECT_EQ(BlitGraphPartStretched(0, 0, 50, 50, 0, 0, 3, 0, g, 0), -1);
  EXPECT_EQ(BlitGraphRotated(NAN, 20.0f, 1.0, 0.5, g, 1, 0), 0);
  EXPECT_EQ(BlitGraphRotated(20.0f, 20.0f, NAN, 0.5, g, 1, 0), 0);
  EXPECT_EQ(BlitGraphQuad(NAN, 0, 10, 0, 0, 10, 10, 10, g, 1), 0);
  BlitGraphRotated(20.0f, 20.0f, 1e300, 0.5, g, 1, 0);  // saturates, no fault
  BlitGraphPartStretched(0, 0, 2000000000, 5, 1, 0, 1, 1, g, 0);
  EXPECT_EQ(BlitGraphPart(5, 5, 0, 0, 4, 4, g + 1, 0, 1), -1);  // bad handle, mirrored branch
  BlitGraphPart(5, 5, 0, 0, 4, 4, g, 0, 1);
  CopyDrawArea(&after);
  EXPECT_EQ(std::vector<int>({area.left, area.top, area.right, area.bottom}),
            std::vector<int>({after.left, after.top, after.right, after.bottom}));
}

TEST(GraphLoad, GdiRouteRefusesWhenItsSectionOrTransferFails) {
  gfxtest::Road road(true, 32);
  const std::vector<uint8_t> bits = imagetest::ReadFixture("t_two1_v3.bmp");  // 1 bit: the GDI route
  const int held = plat::GetGdiCounters().liveObjects + plat::GetGdiCounters().liveDCs;
  GraphImage image{};
  plat::FailNextCreateDIBSection();
  EXPECT_EQ(imagetest::Decode(bits, &image, DecodeBmpImage), -1);
  plat::FailNextSetDIBitsToDevice();
  EXPECT_EQ(imagetest::Decode(bits, &image, DecodeBmpImage), -1);
  EXPECT_EQ(plat::GetGdiCounters().liveObjects + plat::GetGdiCounters().liveDCs, held);
  ASSERT_EQ(imagetest::Decode(bits, &image, DecodeBmpImage), 0);
  EXPECT_EQ(plat::GetGdiCounters().liveObjects + plat::GetGdiCounters().liveDCs, held);
  int32_t r = -1, a = -1;
  EXPECT_EQ(GetGraphImagePixel(&image, 0, 0, &r, nullptr, nullptr, &a), 0);
  EXPECT_EQ(r, static_cast<int32_t>(imagetest::Two(0, 0).r));
  FreeGraphImage(&image);
  // Pixel writes and reads on the framework's own formats.
  ASSERT_EQ(AllocGraphImagePixels(2, 2, &image), 0);
  SetGraphImagePixel(&image, 1, 1, 1, 2, 3, 0);
  EXPECT_EQ(reinterpret_cast<uint32_t*>(image.pixels + image.pitch)[1], 0xFF010203u);
  EXPECT_EQ(SetGraphImagePixel(&image, 2, 0, 1, 2, 3, 0), -1);
  FreeGraphImage(&image);

  // A DIB section mirrored from the caller's bits, which stay as they were;
  // a 32-bit format asks for 24-bit rows.
  plat::BitmapInfo info;
  info.header.width = 3;
  info.header.height = -2;
  info.header.bitCount = 24;
  std::vector<uint8_t> source(24);
  for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<uint8_t>(i * 11 + 1);
  const std::vector<uint8_t> copy = source;
  PixelFormatInfo format{};
  MakeFormatX8R8G8B8(&format);
  const plat::HGdiObj section = CreateGraphFromDIB(&info, source.data(), 1, &format);
  plat::BitmapObject object;
  ASSERT_NE(plat::GetObjectA(section, sizeof object, &object), 0);
  EXPECT_EQ(format.bitDepth * 100 + object.bitsPixel, 2424);
  const auto* out = static_cast<const uint8_t*>(object.bits);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x)
      for (int c = 0; c < 3; ++c) EXPECT_EQ(out[y * 12 + x * 3 + c], source[y * 12 + (2 - x) * 3 + c]);
  EXPECT_EQ(source, copy);
  EXPECT_TRUE(plat::DeleteObject(section));
  EXPECT_EQ(plat::GetGdiCounters().liveObjects + plat::GetGdiCounters().liveDCs, held);
}

TEST(GraphLoad, DamagedFilesGiveMinusOneOrAPicture) {
  gfxtest::Road road(true, 16);
  mkdir("Pics", 0755);
  for (const char* fixture : {"t_rich8_rle.bmp", "t_sixteen_565.bmp", "n_sixteen4.bmp"}) {
    const std::vector<uint8_t> good = imagetest::ReadFixture(fixture);
    for (size_t step = 0; step < good.size(); step += 13) {
      std::vector<uint8_t> bad(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(step));  // truncated
      if (step % 2 == 1) {  // or whole with bits flipped, and a huge size claimed now and then
        bad = good;
        bad[step] ^= static_cast<uint8_t>(1u << (step % 8));
        if (step % 3 == 0) bad[21] = 0x7F;
      }
      ASSERT_EQ(WriteWholeFile("Pics/bad.bmp", bad), 0);
      const int32_t graph = OpenGraphFile("pics\\bad.bmp", 1);
      const int32_t soft = CreateSoftImageFromFile("pics\\bad.bmp");
      EXPECT_TRUE(graph == -1 || LookupGraph(graph) != nullptr);
      EXPECT_EQ(soft == -1, graph == -1) << fixture << " " << step;
      DestroyGraph(graph, 0);
      DeleteSoftImageHandle(soft);
    }
  }
}

// Loading, building and capturing a graph first end the device's scene, so
// what the vertex batch holds lands before new surfaces are made or the
// screen is read: a 2D graph made or captured on the Direct3D road finds
// the scene closed, and the capture holds what the batch drew. Making a
// blank graph has no such step.
TEST(GraphLoad, LoadsBuildsAndCapturesEndTheDeviceSceneFirst) {
  gfxtest::Road road(false, 32, false, "d3d");
  ASSERT_EQ(GetScreenState().direct3DInUse, 1);
  WriteFixture("Pics/rich.bmp", "n_rich24.bmp");
  GraphImage picture;
  gfxtest::MakePicture(&picture, 24, 16, false, 4);
  const int32_t drawn3D = BuildGraphFromImage(&picture, nullptr, 1, 0, 0);
  ASSERT_TRUE(LookupGraph(drawn3D)->is3D);
  const int32_t into = CreateBlankGraph(24, 16, 1);
  ASSERT_FALSE(LookupGraph(into)->is3D);
  int32_t pieces[2] = {-1, -1};
  const struct {
    const char* name;
    bool endsScene;
    int (*step)(GraphImage* picture, int32_t into, int32_t* pieces);
  } steps[] = {
      {"open", true, [](GraphImage*, int32_t, int32_t*) { return OpenGraphFile("Pics\\rich.bmp", 1) > 0 ? 0 : -1; }},
      {"open missing", true,
       [](GraphImage*, int32_t, int32_t*) { return OpenGraphFile("Pics\\none.bmp", 1) == -1 ? 0 : -1; }},
      {"divide", true,
       [](GraphImage*, int32_t, int32_t* p) { return OpenDividedGraph("Pics\\rich.bmp", 2, 2, 1, 8, 8, p, 1); }},
      {"build", true,
       [](GraphImage* g, int32_t, int32_t*) { return BuildGraphFromImage(g, nullptr, 0, 0, 0) > 0 ? 0 : -1; }},
      {"create for", true,
       [](GraphImage* g, int32_t, int32_t*) { return CreateGraphForImage(g, nullptr, 0) > 0 ? 0 : -1; }},
      {"capture", true,
       [](GraphImage*, int32_t to, int32_t*) { return CaptureScreenToGraph(100, 50, 124, 66, to, 0); }},
      {"blank", false, [](GraphImage*, int32_t, int32_t*) { return CreateBlankGraph(8, 8, 1) > 0 ? 0 : -1; }},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.name);
    ASSERT_EQ(SelectDrawTarget(kBackScreen), 0);
    EraseDrawTarget();
    ASSERT_EQ(BlitGraph(100, 50, drawn3D, 0), 0);
    ASSERT_TRUE(GetCurrentD3DDevice()->InScene());
    const int64_t ends = GetCurrentD3DDevice()->Counters().endScene;
    ASSERT_EQ(s.step(&picture, into, pieces), 0);
    EXPECT_EQ(GetCurrentD3DDevice()->InScene(), !s.endsScene);
    EXPECT_EQ(GetCurrentD3DDevice()->Counters().endScene, ends + (s.endsScene ? 1 : 0));
  }
  // The capture holds the picture the batch drew (whole, keyed pixels too).
  EndSceneCurrentDevice();
  const std::vector<uint32_t> screen = TargetPixels(100, 50, 24, 16);
  ASSERT_EQ(SelectDrawTarget(kBackScreen), 0);
  EraseDrawTarget();
  ASSERT_EQ(BlitGraph(300, 200, into, 0), 0);
  EndSceneCurrentDevice();
  EXPECT_EQ(TargetPixels(300, 200, 24, 16), screen);
  size_t lit = 0;
  for (uint32_t v : screen) lit += (v & 0xFFFFFF) != 0 ? 1 : 0;
  EXPECT_GT(lit, screen.size() / 2);
  FreeGraphImage(&picture);
}
