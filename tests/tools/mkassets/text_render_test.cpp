// The asset tool's word rendering at its limits: a box exactly as wide and
// as high as the words and their rim takes the largest size, one pixel less
// takes a smaller one, a box too small for the smallest size draws nothing;
// every glyph pixel FreeType covers by half or more is ink, and the rim
// never covers ink. The reference glyphs come straight from FreeType here.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ipa_face.h"
#include "text_render.h"

namespace {

using namespace mkassets;

constexpr uint8_t kInk = 200, kRim = 100, kGround = 7;

struct Box {
  int x0 = 1 << 20, y0 = 1 << 20, x1 = -1, y1 = -1;  // inclusive
  int Width() const { return x1 - x0 + 1; }
  int Height() const { return y1 - y0 + 1; }
};

Box Bounds(const IndexedPicture& pic, uint8_t a, uint8_t b) {
  Box box;
  for (int y = 0; y < pic.height; ++y) {
    for (int x = 0; x < pic.width; ++x) {
      const uint8_t v = pic.pixels[static_cast<size_t>(y) * pic.width + x];
      if (v != a && v != b) continue;
      box.x0 = std::min(box.x0, x), box.x1 = std::max(box.x1, x);
      box.y0 = std::min(box.y0, y), box.y1 = std::max(box.y1, y);
    }
  }
  return box;
}

IndexedPicture Ground(int w, int h) {
  IndexedPicture pic;
  pic.width = w;
  pic.height = h;
  pic.Fill(kGround);
  return pic;
}

TextStyle Style(int maxPixels) {
  TextStyle s;
  s.ink = kInk;
  s.rim = kRim;
  s.maxPixels = maxPixels;
  s.minPixels = 8;
  return s;
}

class TextRender : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(OpenFonts()); }
  static void TearDownTestSuite() { CloseFonts(); }
};

TEST_F(TextRender, TheBoxLimitChoosesTheSize) {
  // At 24 pixels in a roomy box: the size of words plus rim.
  IndexedPicture roomy = Ground(400, 100);
  ASSERT_EQ(DrawWords(roomy, 0, 0, 400, 100, "Options", Style(24)), 24);
  const Box full = Bounds(roomy, kInk, kRim);
  ASSERT_GT(full.Width(), 20);
  // Exactly that box: still 24. One pixel narrower or lower: smaller.
  IndexedPicture exact = Ground(400, 100);
  EXPECT_EQ(DrawWords(exact, 10, 10, full.Width(), full.Height(), "Options", Style(24)), 24);
  const Box placed = Bounds(exact, kInk, kRim);
  EXPECT_EQ(placed.x0, 10);
  EXPECT_EQ(placed.y0, 10);
  EXPECT_EQ(placed.Width(), full.Width());
  IndexedPicture narrow = Ground(400, 100);
  EXPECT_LT(DrawWords(narrow, 10, 10, full.Width() - 1, full.Height(), "Options", Style(24)), 24);
  EXPECT_LE(Bounds(narrow, kInk, kRim).Width(), full.Width() - 1);
  IndexedPicture low = Ground(400, 100);
  EXPECT_LT(DrawWords(low, 10, 10, full.Width(), full.Height() - 1, "Options", Style(24)), 24);
  EXPECT_LE(Bounds(low, kInk, kRim).Height(), full.Height() - 1);
  // Nothing fits: nothing drawn.
  IndexedPicture tiny = Ground(40, 40);
  EXPECT_EQ(DrawWords(tiny, 0, 0, 6, 6, "Options", Style(24)), 0);
  EXPECT_EQ(Bounds(tiny, kInk, kRim).x1, -1);
}

TEST_F(TextRender, LinesStackAndDescendersStayWhole) {
  IndexedPicture one = Ground(300, 200);
  const int px = DrawWords(one, 0, 0, 300, 200, "gyp", Style(30));
  ASSERT_EQ(px, 30);
  IndexedPicture two = Ground(300, 200);
  ASSERT_EQ(DrawWords(two, 0, 0, 300, 200, "gyp\ngyp", Style(30)), 30);
  // Two lines are taller than one by a line's height, and each keeps its descenders.
  EXPECT_GT(Bounds(two, kInk, kRim).Height(), Bounds(one, kInk, kRim).Height() + 20);

  // The reference: FreeType's own coverage of "g" at 30 pixels, cut at half.
  testsupport::IpaFace ipa("IPAPGothic");
  ASSERT_NE(ipa.face, nullptr);
  FT_Face face = ipa.face;
  FT_Set_Pixel_Sizes(face, 0, 30);
  ASSERT_EQ(FT_Load_Char(face, 'g', FT_LOAD_RENDER | FT_LOAD_NO_BITMAP), 0);
  const FT_Bitmap& b = face->glyph->bitmap;
  int refInk = 0;
  for (unsigned y = 0; y < b.rows; ++y) {
    for (unsigned x = 0; x < b.width; ++x) refInk += b.buffer[y * b.pitch + x] >= 128;
  }
  IndexedPicture g = Ground(100, 100);
  ASSERT_EQ(DrawWords(g, 0, 0, 100, 100, "g", Style(30)), 30);
  int ink = 0;
  for (uint8_t v : g.pixels) ink += v == kInk;
  EXPECT_EQ(ink, refInk);  // every covered pixel is ink: no row cut, no rim over ink
  const Box inkBox = Bounds(g, kInk, kInk);
  int rows = 0;
  for (unsigned y = 0; y < b.rows; ++y) {
    bool any = false;
    for (unsigned x = 0; x < b.width; ++x) any |= b.buffer[y * b.pitch + x] >= 128;
    rows += any;
  }
  EXPECT_EQ(inkBox.Height(), rows);
}

}  // namespace
