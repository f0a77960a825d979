// Surface data, 2D pieces and the draw state: sharing between carved
// graphs, draw targets, captures, lost surfaces, the temporary primary's
// timer, and the faults the original left in these paths.
#include <cmath>
#include <cstring>

#include "framework/graphics/graphs/graph_movie.h"
#include "framework/graphics/surfaces/blend_work.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/surfaces/surface_data.h"
#include "framework/sound/movie/movie.h"
#include "graphics_test_support.h"
#include "platform/window/window_timer.h"

using namespace qor;
using gfxtest::MakeGraph;
using gfxtest::Road;
using gfxtest::TargetPixels;

namespace {

// Draws `graph` at (x, y) on the back screen and returns the pixels there.
std::vector<uint32_t> DrawnAt(int32_t graph, int x, int y) {
  GraphRecord* g = LookupGraph(graph);
  EXPECT_EQ(SelectDrawTarget(kBackScreen), 0);
  EXPECT_EQ(DrawGraphDirectDraw(x, y, g, 0), 0);
  return TargetPixels(x, y, g->width, g->height);
}

TEST(Surfaces, CarvedGraphsShareTheStoreAndOutliveTheirParent) {
  for (bool software : {true, false}) {
    Road road(software);
    const int32_t parent = MakeGraph(256, 64, false, false, 9);
    const std::vector<uint32_t> whole = DrawnAt(parent, 0, 0);
    GraphRecord* child = nullptr;
    const GraphCreateSettings settings{};
    const int32_t carved = AddGraphRecord(32, 32, 0, &child, 0, 0, &settings);
    ASSERT_EQ(DeriveGraphSurface2D(child, 64, 0, 32, 32, LookupGraph(parent)), 0);
    // A carve of the carve sits at the carve's own place plus its offset.
    GraphRecord* grandchild = nullptr;
    const int32_t inner = AddGraphRecord(8, 8, 0, &grandchild, 0, 0, &settings);
    ASSERT_EQ(DeriveGraphSurface2D(grandchild, 8, 4, 8, 8, child), 0);
    GraphRecord* refused = nullptr;
    AddGraphRecord(8, 8, 0, &refused, 0, 0, &settings);
    EXPECT_EQ(DeriveGraphSurface2D(refused, 28, 0, 8, 8, child), -1);  // reaches past the carve
    EXPECT_EQ(DeriveGraphSurface2D(refused, -1, 0, 8, 8, child), -1);

    ASSERT_EQ(DestroyGraph(parent, 0), 0);
    const std::vector<uint32_t> a = DrawnAt(carved, 300, 100);
    const std::vector<uint32_t> b = DrawnAt(inner, 400, 100);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) ASSERT_EQ(a[y * 32 + x], whole[y * 256 + 64 + x]) << software;
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) ASSERT_EQ(b[y * 8 + x], whole[(4 + y) * 256 + 72 + x]) << software;
    const int32_t data = LookupSurface2D(child->pieceHandles[0])->surfaceData;
    EXPECT_EQ(LookupSurfaceData(data)->refCount, 2);
    DestroyGraph(carved, 0);
    DestroyGraph(inner, 0);
    EXPECT_EQ(LookupSurfaceData(data), nullptr);  // the last piece took the store with it
  }
}

TEST(Surfaces, ACarvedDrawTargetDrawsInItsOwnRectangle) {
  for (bool software : {true, false}) {
    Road road(software);
    const int32_t parent = MakeGraph(64, 64, software, true);
    SelectDrawTarget(parent);
    EraseDrawTarget();
    GraphRecord* child = nullptr;
    const GraphCreateSettings settings{};
    const int32_t carved = AddGraphRecord(16, 16, 0, &child, 0, 0, &settings);
    ASSERT_EQ(DeriveGraphSurface2D(child, 32, 40, 16, 16, LookupGraph(parent)), 0);
    ASSERT_EQ(SelectDrawTarget(carved), 0);
    const uint32_t red = PackColorRGB(255, 0, 0);
    ASSERT_EQ(FillBoxDirectDraw(0, 0, 4, 4, red), 0);
    SelectDrawTarget(parent);
    EXPECT_EQ(TargetPixels(32, 40, 1, 1)[0], red & 0xFFFF) << software;
    EXPECT_EQ(TargetPixels(0, 0, 1, 1)[0], 0u) << software;
    EXPECT_EQ(TargetPixels(36, 40, 1, 1)[0], 0u) << software;
  }
}

// Erasing a graph target paints all of it, and nothing else, in the
// background colour (black), on each road a graph's pixels can live on:
// the software road's memory image, a DirectDraw surface, a memory image
// kept in system memory.
TEST(Surfaces, ErasingAGraphTargetPaintsItBlackAndNothingBeyondIt) {
  const struct {
    bool software, systemMemory;
    int bits;
  } rows[] = {{true, false, 16}, {false, false, 16}, {false, true, 16}, {true, false, 32}, {false, false, 32}};
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.software << row.systemMemory << row.bits);
    Road road(row.software, row.bits);
    const uint32_t mask = row.bits == 16 ? 0xFFFFu : 0xFFFFFFFFu;
    const uint32_t red = PackColorRGB(255, 0, 0) & mask, black = PackColorRGB(0, 0, 0) & mask;
    const int32_t parent = MakeGraph(64, 48, row.systemMemory, true);
    GraphRecord* child = nullptr;
    const GraphCreateSettings settings{};
    const int32_t carved = AddGraphRecord(16, 8, 0, &child, 0, 0, &settings);
    ASSERT_EQ(DeriveGraphSurface2D(child, 32, 20, 16, 8, LookupGraph(parent)), 0);
    ASSERT_EQ(SelectDrawTarget(parent), 0);
    ASSERT_EQ(FillBoxDirectDraw(0, 0, 64, 48, red), 0);
    ASSERT_EQ(SelectDrawTarget(carved), 0);
    ASSERT_EQ(EraseDrawTarget(), 0);
    ASSERT_EQ(SelectDrawTarget(parent), 0);
    const std::vector<uint32_t> after = TargetPixels(0, 0, 64, 48);
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 64; ++x) {
        const bool inside = x >= 32 && x < 48 && y >= 20 && y < 28;
        ASSERT_EQ(after[y * 64 + x], inside ? black : red) << x << "," << y;
      }
    ASSERT_EQ(EraseDrawTarget(), 0);
    EXPECT_EQ(TargetPixels(0, 0, 64, 48), std::vector<uint32_t>(64 * 48, black));
  }
}

TEST(Surfaces, ACaptureDrawnBackIsUnchanged) {
  for (bool software : {true, false}) {
    Road road(software, 32);
    const int32_t picture = MakeGraph(100, 80, false, false, 3);
    SelectDrawTarget(kBackScreen);
    DrawGraphDirectDraw(50, 60, LookupGraph(picture), 0);
    SelectBlend(2, 120);
    FillBoxDirectDraw(70, 70, 130, 90, PackColorRGB(30, 60, 90));
    SelectBlend(0, 0);
    const int32_t capture = MakeGraph(40, 30, false, true);
    EXPECT_EQ(CaptureScreenRectDirectDraw(100, 100, 140, 130, LookupGraph(capture)), 0);
    EXPECT_EQ(CaptureScreenRectDirectDraw(100, 100, 141, 130, LookupGraph(capture)), -1);  // not the graph's size
    EXPECT_EQ(CaptureScreenRectDirectDraw(620, 460, 660, 490, LookupGraph(capture)), -1);  // outside the target
    DrawGraphDirectDraw(300, 300, LookupGraph(capture), 0);
    EXPECT_EQ(TargetPixels(300, 300, 40, 30), TargetPixels(100, 100, 40, 30)) << software;
  }
}

TEST(Surfaces, SurfaceDataRefusesBadSizesRectanglesAndHandles) {
  Road road(false);
  const SurfaceFlags flags{};
  EXPECT_EQ(AddSurfaceData(1, 0, 8, 0, &flags), -1);
  EXPECT_EQ(AddSurfaceData(1, 65536, 8, 0, &flags), -1);
  const int32_t data = AddSurfaceData(1, 16, 8, 0, &flags);
  ASSERT_GE(data, 0);
  int32_t pitch = 0;
  uint8_t* pixels = nullptr;
  const Rect outside{8, 0, 17, 8};
  EXPECT_EQ(LockSurfaceDataPixels(data, &pitch, &pixels, 0, &outside, nullptr), -1);
  const Rect inside{8, 0, 16, 8};
  EXPECT_EQ(LockSurfaceDataPixels(data, &pitch, &pixels, 0, &inside, nullptr), 0);
  EXPECT_EQ(LockSurfaceDataPixels(data, &pitch, &pixels, 0, &inside, nullptr), -2);
  EXPECT_EQ(UnlockSurfaceDataPixels(data, &inside), 0);
  EXPECT_EQ(LookupSurfaceData(data)->surface->Lock(nullptr, &pitch, &pixels, 0), plat::DDERR_SURFACEBUSY);
  EXPECT_EQ(UnlockSurfaceDataPixels(data, &inside), 0);
  EXPECT_EQ(UnlockSurfaceDataPixels(data, &inside), -1);
  EXPECT_EQ(DeleteSurfaceData(data), 0);
  EXPECT_EQ(DeleteSurfaceData(data), -1);  // stale: nothing touched
  // A memory-image entry is filled through its image.
  SurfaceFlags system{};
  system.systemMemory = 1;
  system.colorBits = 16;
  const int32_t image = AddSurfaceData(1, 4, 4, 0, &system);
  ASSERT_EQ(LookupSurfaceData(image)->memImageMode, 1);
  EXPECT_EQ(FillSurfaceDataColor(image, 0, 255, 0, 255), 0);
  uint16_t v = 0;
  std::memcpy(&v, LookupSurfaceData(image)->image.pixels, 2);
  EXPECT_EQ(v, 0x07E0);
  DeleteSurfaceData(image);
  int32_t flag = 7;
  EXPECT_EQ(RegisterSurface2DDiedFlag(0x28000000 | 123, &flag), -1);
  EXPECT_EQ(flag, 7);
}

TEST(Surfaces, AFailedLockReleasesTheLocksAlreadyTaken) {
  Road road(false);
  const int32_t sprite = MakeGraph(16, 16, false, false);
  SelectDrawTarget(kBackScreen);
  SelectBlend(1, 128);  // blends: through the work images
  plat::DDSurface* source = LookupSurfaceData(LookupSurface2D(LookupGraph(sprite)->pieceHandles[0])->surfaceData)->surface;
  int32_t pitch = 0;
  uint8_t* pixels = nullptr;
  ASSERT_EQ(source->Lock(nullptr, &pitch, &pixels, 0), plat::DD_OK);  // the source cannot be locked again
  EXPECT_EQ(DrawGraphDirectDraw(10, 10, LookupGraph(sprite), 0), -1);
  source->Unlock(nullptr);
  EXPECT_EQ(GetScreenState().back->Lock(nullptr, &pitch, &pixels, 0), plat::DD_OK);  // released
  GetScreenState().back->Unlock(nullptr);
  EXPECT_EQ(DrawGraphDirectDraw(10, 10, LookupGraph(sprite), 0), 0);
}

TEST(Surfaces, LostPrimaryIsRestoredAndPresentsAgain) {
  Road road(false);
  plat::DdLoseVideoSurfaces();
  const ScreenState& s = GetScreenState();
  EXPECT_EQ(s.primary->IsLost(), plat::DDERR_SURFACELOST);
  EXPECT_EQ(RestoreLostScreenSurfaces(), 0);
  EXPECT_EQ(s.primary->IsLost(), plat::DD_OK);
  EXPECT_EQ(s.back->IsLost(), plat::DD_OK);
  EXPECT_EQ(s.primary->memory()[0], plat::kDdRestoredByte);
  SelectDrawTarget(kBackScreen);
  EraseDrawTarget();
  const int flips = plat::GetDdCounters().flips;
  EXPECT_EQ(PresentFrame(), 0);
  EXPECT_EQ(plat::GetDdCounters().flips, flips + 1);
  EXPECT_EQ(plat::headless::LastFrame()->pixels[0], 0u);
}

TEST(Surfaces, TemporaryPrimaryIsCopiedOutByItsTimer) {
  lifetest::LifeScope scope;
  SetTempPrimaryOption(1);
  ASSERT_EQ(InitFramework(), 0);
  const ScreenState& s = GetScreenState();
  ASSERT_NE(s.tempPrimary, nullptr);
  const plat::Hwnd window = GetFrameWindowHandle();
  ASSERT_EQ(SelectDrawTarget(kFrontScreen), 0);
  EXPECT_TRUE(plat::IsTimerSet(window, kScreenRefreshTimerId));
  EXPECT_EQ(s.targetSurface, s.tempPrimary);
  FillBoxDirectDraw(0, 0, 8, 8, PackColorRGB(255, 255, 255));
  plat::HostSleepMs(kScreenRefreshPeriodMs);
  const int fired = plat::GetTimerCounters().fired;
  ProcessFrameMessages();
  EXPECT_EQ(plat::GetTimerCounters().fired, fired + 1);
  const plat::Rect c = GetMainWindowState().clientRect;
  uint32_t v = 0;
  std::memcpy(&v, s.primary->memory() + c.top * s.primary->pitch() + c.left * 4, 4);
  EXPECT_EQ(v & 0xFFFFFF, 0xFFFFFFu);
  SelectDrawTarget(kBackScreen);
  EXPECT_FALSE(plat::IsTimerSet(window, kScreenRefreshTimerId));
  EndFramework();
}

TEST(Surfaces, RepaintRectanglesAreCutToTheScreen) {
  Road road(false, 16, true);
  SelectDrawTarget(kBackScreen);
  FillBoxDirectDraw(0, 0, 640, 480, PackColorRGB(0, 0, 255));
  const int blts = plat::GetDdCounters().blts;
  const Rect huge{-100, -100, 100000, 100000};
  EXPECT_EQ(PresentToWindow(&huge), 0);
  EXPECT_EQ(plat::GetDdCounters().blts, blts + 1);
  const Rect off{700, 500, 800, 600};
  EXPECT_EQ(PresentToWindow(&off), 0);
  EXPECT_EQ(plat::GetDdCounters().blts, blts + 1);  // nothing left to copy
}

TEST(DrawState, SettersClampAndRefuse) {
  Road road(false);
  EXPECT_EQ(SelectBlend(1, 300), 0);
  EXPECT_EQ(GetDrawState().blendParam, 255);
  EXPECT_EQ(SelectBlend(1, -5), 0);
  EXPECT_EQ(GetDrawState().blendParam, 0);
  EXPECT_EQ(SelectBlend(12, 10), -1);  // the Direct3D blend table has 12 rows
  EXPECT_EQ(SelectBlend(-1, 10), -1);
  EXPECT_EQ(GetDrawState().blendMode, 1);
  SetTintRGB(-1, 128, 999);
  EXPECT_EQ(CurrentTint(), 0x0080FFu);
  EXPECT_EQ(PackColorRGB(0, 255, 0), 0x07E0u);
  int32_t r = 0, g = 0, b = 0;
  EXPECT_EQ(UnpackColorRGB(0xF81F, &r, &g, &b), 0);
  EXPECT_EQ(r * 1000 + g * 10 + b, 255 * 1000 + 255);
  SelectDrawTarget(kBackScreen);
  SetClipArea(100, 50, 20, 10);
  EXPECT_EQ(GetDrawState().drawArea.left, 20);
  EXPECT_EQ(GetDrawState().drawArea.bottom, 50);
  SetClipArea(700, 0, 800, 10);
  EXPECT_EQ(GetDrawState().drawArea.left, 640);
  EXPECT_EQ(GetDrawState().drawAreaEmpty, 1);
  float x = 0, y = 0, z = 0;
  ASSERT_EQ(GetLightDirection(GetDrawState().defaultLight, &x, &y, &z), 0);
  EXPECT_NEAR(x, 0.57735f, 1e-5f);
  EXPECT_NEAR(y, -0.57735f, 1e-5f);
  EXPECT_EQ(AddDirectionalLight(0, 0, 0), -1);
  EXPECT_EQ(AddDirectionalLight(NAN, 1, 0), -1);
  EXPECT_EQ(AddDirectionalLight(INFINITY, 1, 0), -1);
  // The default camera: the eye 240 x 1.7320509 in front of a 640 x 480 screen.
  SelectDrawTarget(kFrontScreen);
  const Matrix4& view = GetDrawState().view;
  EXPECT_NEAR(view.m[3][2], 415.69f, 0.01f);
}

// Without DirectDraw the front screen goes to the window through GDI at once
// and comes back from it by the window's DC.
TEST(Surfaces, SoftwareFrontScreenRoundTripsThroughTheWindow) {
  Road road(true, 16, true);
  ScreenState& s = GetScreenState();
  SelectDrawTarget(kFrontScreen);
  FillBoxDirectDraw(0, 0, 640, 480, PackColorRGB(10, 20, 30));
  FillBoxDirectDraw(100, 400, 140, 470, PackColorRGB(250, 0, 0));
  const Rect part{90, 390, 150, 480};
  ASSERT_EQ(PresentRectToWindow(&part), 0);
  const plat::headless::KeptFrame* f = plat::headless::LastFrame();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->pixels[400 * f->width + 100] & 0xF8F8F8, 0xF80000u);  // rows counted from the bottom land right
  EXPECT_EQ(f->pixels[395 * f->width + 100] & 0xF8F8F8, 0x081018u);
  EXPECT_EQ(f->pixels[380 * f->width + 100], 0u);  // outside the rectangle: not copied yet
  const Rect all{0, 0, 640, 480};
  PresentRectToWindow(&all);
  const std::vector<uint32_t> shown = TargetPixels(0, 0, 640, 480);
  FillMemImgRect(&s.frontImage, nullptr, 0);
  s.framePresented = 1;
  ASSERT_EQ(CaptureWindowToSoftBuffer(), 0);
  EXPECT_EQ(s.framePresented, 0);
  EXPECT_EQ(TargetPixels(0, 0, 640, 480), shown);
}

TEST(Surfaces, EntriesTakeTheirMemoryFromTheirFlags) {
  Road road(false);
  SurfaceFlags f{};
  f.colorBits = 32;
  f.drawable = 1;
  EXPECT_EQ(PickSurfaceFormatIndex(&f), 7);
  f = SurfaceFlags{};
  f.colorBits = 16;
  f.alphaTest = 1;
  EXPECT_EQ(PickSurfaceFormatIndex(&f), 4);
  // Alpha makes a memory image even in hardware rendering.
  SurfaceFlags alpha{};
  alpha.alpha = 1;
  alpha.colorBits = 16;
  const int32_t a = AddSurfaceData(1, 8, 8, 0, &alpha);
  EXPECT_EQ(LookupSurfaceData(a)->memImageMode, 1);
  EXPECT_EQ(LookupSurfaceData(a)->flags.systemMemory, 1);
  // Wider than the screen: system memory.
  const SurfaceFlags plain{};
  const int32_t wide = AddSurfaceData(1, 700, 8, 0, &plain);
  uint32_t caps = 0;
  LookupSurfaceData(wide)->surface->GetCaps(&caps);
  EXPECT_TRUE(caps & plat::DDSCAPS_SYSTEMMEMORY);
  // Z buffers: the state asked for when already there is no error; a
  // non-drawable entry takes none.
  EXPECT_EQ(AttachZBuffer(wide, 0), 0);
  EXPECT_EQ(AttachZBuffer(wide, 1), 0);
  EXPECT_NE(LookupSurfaceData(wide)->zSurface, nullptr);
  LookupSurfaceData(wide)->flags.drawable = 0;
  EXPECT_EQ(AttachZBuffer(wide, 1), 0);
  EXPECT_EQ(AttachZBuffer(wide, 0), -1);
  LookupSurfaceData(wide)->flags.drawable = 1;
  EXPECT_EQ(AttachZBuffer(wide, 0), 0);
  DeleteSurfaceData(a);
  DeleteSurfaceData(wide);
}

TEST(DrawState, TheDrawAreaFollowsTheTarget) {
  Road road(false, 16, true);
  const int32_t small = MakeGraph(100, 50, false, true);
  SelectDrawTarget(kBackScreen);
  SetClipArea(10, 10, 200, 200);
  SelectDrawTarget(kFrontScreen);  // same size: the area stays
  EXPECT_EQ(GetDrawState().drawArea.right, 200);
  SelectDrawTarget(small);  // another size: the whole target
  EXPECT_EQ(GetDrawState().drawArea.left, 0);
  EXPECT_EQ(GetDrawState().drawArea.right, 100);
  EXPECT_EQ(GetDrawState().targetHeight, 50);
  EXPECT_EQ(SelectDrawTarget(0x08000000 | 77), -1);  // no such graph: the old target stays
  EXPECT_EQ(QueryDrawTarget(), small);
  // The front screen of a window partly off the desktop's left edge starts
  // where the desktop does.
  SelectDrawTarget(kFrontScreen);
  GetMainWindowState().clientRect.left = -30;
  SetClipArea(0, 0, 640, 480);
  EXPECT_EQ(GetDrawState().drawArea.left, 30);
  TakeClientRect();
}

TEST(Surfaces, AnImageGoesIntoEachPieceAtItsPlace) {
  for (bool software : {true, false}) {
    Road road(software, 32);
    const int32_t graph = MakeGraph(16, 16, false, false);
    GraphImage picture;
    gfxtest::MakePicture(&picture, 64, 32, false, 5);
    // The graph shows the picture's rectangle at (16, 8), as a reload of a
    // divided graph does.
    ASSERT_EQ(BlitImageIntoGraph(&picture, nullptr, 16, 8, LookupGraph(graph), 0), 0);
    const std::vector<uint32_t> drawn = DrawnAt(graph, 0, 0);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        const uint8_t* p = picture.pixels + (8 + y) * picture.pitch + (16 + x) * 3;
        ASSERT_EQ(drawn[y * 16 + x] & 0xFFFFFF, static_cast<uint32_t>(p[2] << 16 | p[1] << 8 | p[0])) << software;
      }
    // A picture that ends inside the piece fills what it has.
    EXPECT_EQ(BlitImageIntoGraph(&picture, nullptr, 56, 24, LookupGraph(graph), 0), 0);
    EXPECT_EQ(BlitImageToOnePiece(&picture, nullptr, 0, 0, 0x28000000 | 99, 0), -1);
    FreeGraphImage(&picture);
  }
}

// A movie's frame goes into a graph on a DirectDraw surface by a lock and a
// conversion of its own, into a memory image through the piece transfer;
// either way the graph shows the frame exactly on a 32-bit screen. A lock
// that fails is the movie copy's own line, not the picture transfer's.
TEST(Surfaces, AMovieFrameGoesIntoItsGraphAndLogsItsOwnLockFailure) {
  for (bool software : {false, true}) {
    SCOPED_TRACE(software);
    Road road(software, 32);
    const int32_t graph = MakeGraph(40, 24, false, true);
    GraphRecord* g = LookupGraph(graph);
    ASSERT_EQ(LookupSurfaceData(LookupSurface2D(g->pieceHandles[0])->surfaceData)->memImageMode, software ? 1 : 0);
    GraphImage frame;
    gfxtest::MakePicture(&frame, 40, 24, false, 7);
    MovieData movie{};
    movie.currentImage = &frame;
    CopyMovieFrameToGraph(&movie, g);
    const std::vector<uint32_t> drawn = DrawnAt(graph, 0, 0);
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 40; ++x) {
        const uint8_t* p = frame.pixels + y * frame.pitch + x * 3;
        ASSERT_EQ(drawn[y * 40 + x] & 0xFFFFFF, static_cast<uint32_t>(p[2] << 16 | p[1] << 8 | p[0])) << x << "," << y;
      }
    if (!software) {
      plat::DdFailNext(plat::DdOp::Lock);
      CopyMovieFrameToGraph(&movie, g);
      EXPECT_EQ(road.CountLogged("ムービーグラフィック転送先サーフェスのロックに失敗しました"), 1);
      EXPECT_FALSE(road.Logged("２Ｄサーフェスのロックに失敗しました"));
    }
    FreeGraphImage(&frame);
  }
}

// Software rendering on a display of X1R5G5B5 keeps its screens as R5G6B5
// memory images and copies them out into the display's format: the whole
// back screen at a present, a rectangle of the front screen at once. Every
// 5:6:5 value is swept through both and must come out by the fixed pair's
// rule, green losing its lowest bit.
TEST(Surfaces, SoftwareScreensAreCopiedOutIntoA555Display) {
  Road road(false, 16);
  plat::DdUse555(true);
  ScreenState& s = GetScreenState();
  s.softwareRendering = 1;
  ASSERT_EQ(SwitchScreenMode(-1, -1, -1, 1, -1), 0);
  ASSERT_EQ(s.backImageInSurface, 0);
  ASSERT_EQ(s.format.masks[0], 0x7C00u);
  auto to555 = [](uint32_t v) { return ((v & 0xFFC0u) >> 1) | (v & 0x1Fu); };
  auto shown = [&](int x, int y) {
    uint32_t v = 0;
    std::memcpy(&v, s.primary->memory() + y * s.primary->pitch() + x * 2, 2);
    return v & 0x7FFFu;
  };
  auto sweep = [](MemImage* image, uint32_t start) {
    for (int y = 0; y < image->height; ++y)
      for (int x = 0; x < image->width; ++x) {
        const uint32_t v = (start + static_cast<uint32_t>(y * image->width + x)) & 0xFFFF;
        std::memcpy(image->pixels + y * image->buffer->pitch + x * 2, &v, 2);
      }
  };
  ASSERT_EQ(SelectDrawTarget(kBackScreen), 0);
  sweep(&s.backImage, 0);
  ASSERT_EQ(PresentFrame(), 0);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) ASSERT_EQ(shown(x, y), to555((y * 640u + x) & 0xFFFF)) << x << "," << y;
  ASSERT_EQ(SelectDrawTarget(kFrontScreen), 0);
  sweep(&s.frontImage, 12345);
  const Rect part{-20, 100, 300, 400};  // cut to the screen on the left
  ASSERT_EQ(PresentRectToWindow(&part), 0);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      const bool inside = x < 300 && y >= 100 && y < 400;
      const uint32_t v = inside ? (12345u + y * 640u + x) & 0xFFFF : (y * 640u + x) & 0xFFFF;
      ASSERT_EQ(shown(x, y), to555(v)) << x << "," << y;
    }
}

}  // namespace
