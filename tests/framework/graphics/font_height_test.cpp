// A font's height and cell for every size from 7 to 32, odd and even, plain
// and edged (the edge set by the type bit or by an edge size above 1),
// against the layout rule written out here: the face's text height (read
// from the font file through FreeType) plus two edges when edged, rounded
// up to even; the cell is the widest character plus 2 and two edges,
// rounded up to a multiple of 8 and never below the height.
#include <gtest/gtest.h>

#include "font_test_support.h"
#include "framework/graphics/fonts/font_handles.h"
#include "graphics_test_support.h"
#include "platform/gdi/gdi.h"

using namespace qor;

namespace {

struct Style {
  int32_t type, edge;  // as passed to the creation
  bool edged;          // what the rule sees
  int32_t edgeSize;
};

// Type bit 0 edges a font; an edge size above 1 sets it. -1 means edge 1.
constexpr Style kStyles[] = {{0, -1, false, 1}, {2, 1, false, 1}, {1, -1, true, 1},
                             {1, 1, true, 1},   {0, 2, true, 2},  {3, 3, true, 3}};

int32_t WidestCharacter(const FontRecord* f) {
  const plat::Hdc dc = plat::CreateCompatibleDC(0);
  plat::SelectObject(dc, plat::FontObjectHandle(f->gdiFont));
  plat::gdi::TextMetricA tm;
  EXPECT_TRUE(plat::GetTextMetricsA(dc, &tm));
  plat::DeleteDC(dc);
  return tm.tmMaxCharWidth;
}

}  // namespace

TEST(FontHeight, HeightAndCellFollowTheRuleForOddAndEvenSizesWithAndWithoutAnEdge) {
  gfxtest::Road road(true, 32);
  fonttest::FaceFile file;
  ASSERT_NE(file.face, nullptr);
  int oddTextHeights = 0;
  for (int size = 7; size <= 32; ++size) {
    oddTextHeights += file.Height(size) % 2;
    for (const Style& s : kStyles) {
      SCOPED_TRACE(testing::Message() << "size " << size << " type " << s.type << " edge " << s.edge);
      const int32_t h = CreateFontHandle(nullptr, size, 4, s.type, -1, s.edge, 0, -1, -1);
      ASSERT_NE(h, -1);
      const FontRecord* f = GetFontRecord(h);
      ASSERT_NE(f, nullptr);
      EXPECT_EQ((f->type & kFontTypeEdged) != 0, s.edged);
      const int32_t edges = s.edged ? 2 * s.edgeSize : 0;
      int32_t height = file.Height(size) + edges;
      if (height % 2 != 0) ++height;
      EXPECT_EQ(f->height, height);
      int32_t cell = WidestCharacter(f) + 2 + edges;
      cell = (cell + 7) / 8 * 8;
      EXPECT_EQ(f->cell, cell < height ? height : cell);
      EXPECT_EQ(ReleaseFontHandle(h), 0);
    }
  }
  EXPECT_GT(oddTextHeights, 3);  // the sweep meets odd text heights to round up
}
