// The game's view of graphics: only framework/qorlib.h. Pictures come from
// loose folders and an archive in any letter case; every public draw runs in
// every blend mode onto the back screen and a drawable graph, the screen is
// presented and captured; the software and DirectDraw roads must give the
// same frames, and the pixels read back must be the fixture's picture.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "framework/core/archives/archive_writer.h"
#include "framework/qorlib.h"
#include "graphics_test_support.h"
#include "image_test_support.h"
#include "platform/host/headless/headless_control.h"

namespace {

using imagetest::kH;
using imagetest::kW;

void WriteAssets() {
  mkdir("Pics", 0755);
  ASSERT_EQ(qor::WriteWholeFile("Pics/RICH.Bmp", imagetest::ReadFixture("n_rich24.bmp")), 0);
  qor::PackNode root;
  root.isDirectory = true;
  qor::PackNode file;
  file.name = "Sixteen.bmp";
  file.data = imagetest::ReadFixture("t_sixteen4_v3.bmp");
  root.children.push_back(file);
  std::vector<uint8_t> archive;
  ASSERT_EQ(qor::BuildArchive(root, qor::PackOptions{}, &archive), 0);
  ASSERT_EQ(qor::WriteWholeFile("Packed.dat", archive), 0);
}

struct Frames {
  std::vector<uint32_t> scene;
  std::vector<uint32_t> divided;  // the pieces, then BlitGraphPart of the whole, side by side
  std::vector<int> pixels;        // soft-image reads
  std::vector<int> results;
};

std::vector<uint32_t> Region(const plat::headless::KeptFrame* f, int x, int y, int w, int h) {
  std::vector<uint32_t> out;
  for (int row = y; row < y + h; ++row)
    for (int col = x; col < x + w; ++col) out.push_back(f->pixels[static_cast<size_t>(row) * f->width + col]);
  return out;
}

Frames RunScene(bool software) {
  gfxtest::Road road(software, 32);
  Frames out;
  WriteAssets();
  qor::SetArchiveExtensionPublic("dat");
  auto& r = out.results;
  const int rich = qor::OpenGraphFilePublic("pics\\rich.bmp", 0);
  const int sixteen = qor::OpenGraphFilePublic("PACKED\\SIXTEEN.BMP", 1);
  int pieces[6] = {-7, -7, -7, -7, -7, -7};
  r.push_back(qor::OpenDividedGraphPublic("Pics/Rich.bmp", 6, 3, 2, 5, 4, pieces, 0));
  const int canvas = qor::CreateBlankGraphPublic(64, 48, 0);
  r.insert(r.end(), {rich >= 0, sixteen >= 0, canvas >= 0, qor::OpenGraphFilePublic("pics\\none.bmp", 0)});

  const int soft = qor::CreateSoftImageFromFilePublic("PICS\\rich.bmp");
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      int c[4] = {-1, -1, -1, -1};
      r.push_back(qor::GetSoftImagePixel(soft, x, y, &c[0], &c[1], &c[2], &c[3]));
      const imagetest::Rgba want = imagetest::Rich(x, y);
      EXPECT_EQ(c[0] * 65536 + c[1] * 256 + c[2], static_cast<int>(want.r * 65536 + want.g * 256 + want.b));
    }
  r.push_back(qor::GetSoftImagePixel(soft, kW, 0, nullptr, nullptr, nullptr, nullptr));
  r.push_back(qor::DeleteSoftImageHandlePublic(soft));
  r.push_back(qor::GetSoftImagePixel(soft, 0, 0, nullptr, nullptr, nullptr, nullptr));
  r.push_back(qor::CreateSoftImageFromFilePublic("pics\\none.bmp"));
  qor::CreateSoftImageFromFilePublic("packed\\sixteen.bmp");

  for (int target : {canvas, -2}) {
    r.push_back(qor::SelectDrawTargetPublic(target));
    qor::EraseDrawTargetPublic();
    for (int mode = 0; mode <= 11; ++mode) {
      const int x = 4 + (mode % 6) * 100, y = 4 + (mode / 6) * 120;
      r.push_back(qor::SelectBlendPublic(mode, 40 + mode * 18));
      r.push_back(qor::BlitGraphPublic(x, y, rich, 1));
      r.push_back(qor::BlitGraphMirroredPublic(x + 20, y, sixteen, 0));
      r.push_back(qor::BlitGraphPartPublic(x, y + 12, 3, 2, 6, 4, rich, 1, mode & 1));
      r.push_back(qor::BlitGraphRotatedIntPublic(x + 40, y + 30, 1.5, 0.3 * mode, rich, 1, mode & 1));
      r.push_back(qor::PaintBoxPublic(x, y + 50, x + 30, y + 70, qor::PackColorRGBPublic(200, 30 * mode, 90), 1));
      r.push_back(qor::PaintBoxPublic(x + 35, y + 50, x + 60, y + 75, qor::PackColorRGBPublic(20, 250, 60), 0));
      for (int i = 0; i < 6; ++i) r.push_back(qor::BlitGraphPublic(x + 60 + (i % 3) * 6, y + 80 + (i / 3) * 5, pieces[i], 1));
    }
    qor::SelectBlendPublic(0, 0);
  }
  qor::SetTintRGBPublic(255, 255, 255);
  r.push_back(qor::BlitGraphPublic(300, 300, canvas, 0));
  // The divided pieces against BlitGraphPart of the whole, at 400 and 440.
  for (int i = 0; i < 6; ++i) {
    const int px = (i % 3) * 5, py = (i / 3) * 4;
    r.push_back(qor::BlitGraphPublic(400 + px, 400 + py, pieces[i], 0));
    r.push_back(qor::BlitGraphPartPublic(440 + px, 400 + py, px, py, 5, 4, rich, 0, 0));
  }
  const int grab = qor::CreateBlankGraphPublic(100, 80, 0);
  r.push_back(qor::CaptureScreenToGraphPublic(300, 300, 400, 380, grab, 0));
  r.push_back(qor::BlitGraphPublic(520, 380, grab, 0));
  r.push_back(qor::PresentFramePublic());
  const plat::headless::KeptFrame* f = plat::headless::LastFrame();
  EXPECT_NE(f, nullptr);
  if (f != nullptr) {
    out.scene = f->pixels;
    out.divided = Region(f, 400, 400, 15, 8);
    EXPECT_EQ(out.divided, Region(f, 440, 400, 15, 8));
    EXPECT_EQ(Region(f, 300, 300, 100, 80), Region(f, 520, 380, 100, 80));
  }
  for (int i = 0; i < 6; ++i) r.push_back(qor::DestroyGraphPublic(pieces[i]));
  r.insert(r.end(), {qor::DestroyGraphPublic(rich), qor::DestroyGraphPublic(rich), qor::DeleteAllSoftImagesPublic()});
  return out;
}

}  // namespace

TEST(GraphEntriesE2E, BothRoadsDrawOneSceneThroughThePublicEntries) {
  const Frames soft = RunScene(true);
  const Frames ddraw = RunScene(false);
  EXPECT_EQ(soft.results, ddraw.results);
  ASSERT_FALSE(soft.scene.empty());
  EXPECT_TRUE(soft.scene == ddraw.scene);
  // Loads: all made; a missing file -1; soft-image reads 0 inside, -1 outside
  // and after deletion; the second destroy of a graph -1.
  EXPECT_EQ(std::vector<int>(soft.results.begin(), soft.results.begin() + 5), (std::vector<int>{0, 1, 1, 1, -1}));
  EXPECT_EQ(soft.results[5 + kW * kH], -1);
  EXPECT_EQ(soft.results[6 + kW * kH], 0);
  EXPECT_EQ(soft.results[7 + kW * kH], -1);
  EXPECT_EQ(soft.results[8 + kW * kH], -1);
  EXPECT_EQ(soft.results[soft.results.size() - 2], -1);
}
