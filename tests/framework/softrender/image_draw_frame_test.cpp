// The frames of the two image draws: refusals, clipping, the run-table
// choice, the stretched sampling, and the faults mended in them.
#include <cstring>

#include "image_draw_support.h"

namespace qor::test {
namespace {

using Values = std::vector<uint32_t>;

class ImageDrawFrameTest : public ImageDrawTest {
 protected:
  // A one-row 32-bit source whose pixel x holds x + 1.
  MemImage* Numbered(int width) {
    return Source(1, ref::kDirect, width, 1, 0, [](int x, int) { return Cell{static_cast<uint32_t>(x + 1), 0}; },
                  nullptr, false);
  }
  static Values RowOf(const MemImage* m) {
    Values out;
    for (int x = 0; x < m->width; ++x) out.push_back(GetPixel(m, x, 0));
    return out;
  }
  SoftDrawSettings copy = {{0, 0, 100, 100}, 0, 0, 0xFFFFFF};
};

TEST_F(ImageDrawFrameTest, RefusesWhatItCannotDraw) {
  MemImage* src16 = Source(0, ref::kDirect, 2, 2, 0, [](int, int) { return Cell{0xFFFF, 0}; }, nullptr, false);
  MemImage* src32 = Source(1, ref::kDirect, 2, 2, 0, [](int, int) { return Cell{0xFFFFFF, 0}; }, nullptr, false);
  MemImage* dst32 = Dest(1, 2, 2, [](int, int) { return 0x11; });
  MemImage palettised = {}, alpha = {}, one8 = {}, invalid = {};
  ASSERT_EQ(CreateMemImg(&palettised, 2, 2, -1, 0, 1, 1, 0, 0, nullptr), 0);
  ASSERT_EQ(CreateMemImg(&alpha, 2, 2, -1, 0, 1, 0, 1, 0, nullptr), 0);
  ASSERT_EQ(CreateMemImg(&one8, 2, 2, -1, 0, 2, 0, 0, 0, nullptr), 0);
  Rect r = {0, 0, 3, 3};
  for (MemImage* d : {&palettised, &alpha, &one8}) {
    std::memset(d->pixels, 0x11, static_cast<size_t>(d->buffer->pitch) * 2);
    DrawMemImgAt(d, src32, 0, 0, 0, nullptr, &copy);
    DrawMemImgStretched(d, src32, &r, 0, nullptr, &copy);
    EXPECT_EQ(d->pixels[0], 0x11);
  }
  DrawMemImgAt(dst32, src16, 0, 0, 0, nullptr, &copy);      // kinds differ
  DrawMemImgAt(dst32, &one8, 0, 0, 0, nullptr, &copy);      // kind 2
  DrawMemImgAt(dst32, &invalid, 0, 0, 0, nullptr, &copy);   // not an image
  DrawMemImgAt(dst32, src32, 0, 0, 0, &invalid, &copy);     // graph not an image
  DrawMemImgStretched(dst32, src16, &r, 0, nullptr, &copy);
  DrawMemImgAt(dst32, src32, 0, 0, 0, nullptr, nullptr);    // no settings
  DrawMemImgStretched(dst32, src32, nullptr, 0, nullptr, &copy);
  SoftDrawSettings empty = {{1, 1, 1, 5}, 0, 0, 0xFFFFFF};
  DrawMemImgAt(dst32, src32, 0, 0, 0, nullptr, &empty);
  SoftDrawSettings outside = {{5, 5, 9, 9}, 0, 0, 0xFFFFFF};  // wholly off the destination
  DrawMemImgAt(dst32, src32, 5, 5, 0, nullptr, &outside);
  DrawMemImgAt(dst32, src32, 2, 0, 0, nullptr, &copy);       // wholly right of it
  DrawMemImgAt(dst32, src32, INT32_MAX - 1, INT32_MAX, 0, nullptr, &copy);  // x + width past the int range
  EXPECT_EQ(GetPixel(dst32, 0, 0), 0x11u);
  EXPECT_EQ(GetPixel(dst32, 1, 1), 0x11u);
  for (MemImage* m : {&palettised, &alpha, &one8}) ReleaseMemImg(m);
}

// Fault mended: a draw area larger than the destination reached past it.
TEST_F(ImageDrawFrameTest, NeverWritesOutsideTheDestination) {
  MemImage* whole = Dest(1, 8, 8, [](int, int) { return 0x77; });
  MemImage* view = NewImage();
  MakeMemImgView(view, whole, 2, 2, 3, 3);
  MemImage* src = Source(1, ref::kDirect, 6, 6, 0, [](int, int) { return Cell{0x55, 0}; }, nullptr, false);
  SoftDrawSettings s = {{-50, -50, 50, 50}, 0, 0, 0xFFFFFF};
  DrawMemImgAt(view, src, -1, -1, 0, nullptr, &s);
  Rect r = {-2, -2, 20, 20};
  DrawMemImgStretched(view, src, &r, 0, nullptr, &s);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      bool inside = x >= 2 && x < 5 && y >= 2 && y < 5;
      EXPECT_EQ(GetPixel(whole, x, y), inside ? 0x55u : 0x77u) << x << "," << y;
    }
  }
}

// Fault mended: a blend graph smaller than the source was read past its end.
TEST_F(ImageDrawFrameTest, GraphSmallerThanTheSourceDrawsNothing) {
  MemImage* src = Numbered(4);
  MemImage* narrow = Graph(3, 1, [](int, int) { return 255; });
  MemImage* wide = Graph(5, 2, [](int, int) { return 255; });
  MemImage* dst = Dest(1, 4, 1, [](int, int) { return 0; });
  Rect r = {0, 0, 8, 1};
  DrawMemImgAt(dst, src, 0, 0, 0, narrow, &copy);
  DrawMemImgStretched(dst, src, &r, 0, narrow, &copy);
  EXPECT_EQ(RowOf(dst), (Values{0, 0, 0, 0}));
  DrawMemImgAt(dst, src, 0, 0, 0, wide, &copy);
  EXPECT_EQ(RowOf(dst), (Values{0, 1, 2, 3}));  // (s x 255) >> 8
  MemImage* tall = Source(1, ref::kDirect, 4, 3, 0, [](int, int) { return Cell{9, 0}; }, nullptr, false);
  DrawMemImgAt(dst, tall, 0, 0, 0, wide, &copy);  // the graph is one row short
  DrawMemImgStretched(dst, tall, &r, 0, wide, &copy);
  EXPECT_EQ(RowOf(dst), (Values{0, 1, 2, 3}));
}

// Fault mended: the palette was copied into one static array, entries past
// the count in use keeping an earlier draw's colours.
TEST_F(ImageDrawFrameTest, EachDrawReadsItsOwnPalette) {
  auto source = [&](uint32_t colour) {
    MemImage* m = Source(1, ref::kPalette, 1, 1, 300, [](int, int) { return Cell{5, 0}; },
                         [=](int i) { return i == 5 ? colour : 0; }, false);
    m->buffer->paletteColorCount = 2;  // index 5 lies past the entries in use
    return m;
  };
  MemImage* first = source(0xAA);
  MemImage* second = source(0xBB);
  MemImage* dst = Dest(1, 1, 1, [](int, int) { return 0; });
  DrawMemImgAt(dst, first, 0, 0, 0, nullptr, &copy);
  EXPECT_EQ(GetPixel(dst, 0, 0), 0xAAu);
  DrawMemImgAt(dst, second, 0, 0, 0, nullptr, &copy);
  EXPECT_EQ(GetPixel(dst, 0, 0), 0xBBu);
}

// Fault mended: the run table describes the whole buffer, but a view's draw
// walked it from the buffer's first row.
TEST_F(ImageDrawFrameTest, RunTableServesOnlyTheWholeBuffer) {
  const uint32_t key = 0x99;
  MemImage* whole = Source(1, ref::kDirect, 4, 2, key,
                           [&](int x, int y) { return Cell{y == 0 && x < 2 ? key : 0x10u + x + 4 * y, 0}; }, nullptr,
                           true);
  ASSERT_TRUE(whole->buffer->runTableValid);
  MemImage* view = NewImage();
  MakeMemImgView(view, whole, 2, 0, 2, 2);
  MemImage* dst = Dest(1, 4, 2, [](int, int) { return 0; });
  DrawMemImgAt(dst, view, 0, 0, 1, nullptr, &copy);
  EXPECT_EQ(RowOf(dst), (Values{0x12, 0x13, 0, 0}));
  DrawMemImgAt(dst, whole, 0, 0, 1, nullptr, &copy);
  EXPECT_EQ(RowOf(dst), (Values{0x12, 0x13, 0x12, 0x13}));  // the key is skipped
}

// Fault mended: a parameter outside 0..255 indexed past the table rows.
TEST_F(ImageDrawFrameTest, ParameterOutsideItsRangeIsClamped) {
  MemImage* src = Numbered(4);
  MemImage* dst = Dest(1, 4, 1, [](int, int) { return 0x40; });
  SoftDrawSettings below = {{0, 0, 4, 1}, 1, -7, 0xFFFFFF};
  DrawMemImgAt(dst, src, 0, 0, 0, nullptr, &below);  // as 0: nothing
  EXPECT_EQ(RowOf(dst), (Values{0x40, 0x40, 0x40, 0x40}));
  SoftDrawSettings above = {{0, 0, 4, 1}, 1, 1000, 0xFFFFFF};
  DrawMemImgAt(dst, src, 0, 0, 0, nullptr, &above);  // as 255: the copy
  EXPECT_EQ(RowOf(dst), (Values{1, 2, 3, 4}));
}

// An image drawn onto itself moves its pixels like a block move.
TEST_F(ImageDrawFrameTest, DrawOntoItselfOverlapping) {
  MemImage* image = Numbered(6);
  DrawMemImgAt(image, image, 1, 0, 0, nullptr, &copy);
  EXPECT_EQ(RowOf(image), (Values{1, 1, 2, 3, 4, 5}));
}

// Shrinking samples every few columns; a rectangle of no width keeps the
// destination.
TEST_F(ImageDrawFrameTest, StretchedColumns) {
  MemImage* ten = Numbered(10);
  MemImage* dst = Dest(1, 3, 1, [](int, int) { return 0; });
  Rect r = {0, 0, 3, 1};
  DrawMemImgStretched(dst, ten, &r, 0, nullptr, &copy);
  EXPECT_EQ(RowOf(dst), (Values{1, 4, 7}));
  Rect flat = {0, 0, 0, 1};
  DrawMemImgStretched(dst, ten, &flat, 0, nullptr, &copy);
  EXPECT_EQ(RowOf(dst), (Values{1, 4, 7}));
}

// Fault mended: the 16.16 arithmetic overflowed 32 bits for wide rectangles
// and, for sources wider than 65536, sampled past the source's last column.
TEST_F(ImageDrawFrameTest, StretchArithmeticIn64Bits) {
  MemImage* src = Numbered(8);
  MemImage* dst = Dest(1, 4, 1, [](int, int) { return 0; });
  Rect huge = {INT32_MIN, 0, INT32_MAX, 1};  // 2^32 - 1 wide: the visible pixels show column 4
  DrawMemImgStretched(dst, src, &huge, 0, nullptr, &copy);
  EXPECT_EQ(RowOf(dst), (Values{5, 5, 5, 5}));

  const int wide = 70000;
  MemImage* long_ = Numbered(wide);
  MemImage* three = Dest(1, 3, 1, [](int, int) { return 0; });
  Rect r = {0, 0, 3, 1};  // scale 2: destination pixel k shows column 32768 k
  DrawMemImgStretched(three, long_, &r, 0, nullptr, &copy);
  EXPECT_EQ(RowOf(three), (Values{1, 32769, 65537}));
  Rect mirrored = {3, 0, 0, 1};
  DrawMemImgStretched(three, long_, &mirrored, 0, nullptr, &copy);
  EXPECT_EQ(RowOf(three), (Values{wide, wide - 32768, wide - 65536}));
  // Scale 1 on a source of 100000 would sample column 131072: kept inside.
  MemImage* longer = Numbered(100000);
  DrawMemImgStretched(three, longer, &r, 0, nullptr, &copy);
  EXPECT_EQ(RowOf(three), (Values{1, 65537, 100000}));
  DrawMemImgStretched(three, longer, &mirrored, 0, nullptr, &copy);
  EXPECT_EQ(RowOf(three), (Values{100000, 100000 - 65536, 1}));
  Rect one = {0, 0, 1, 1};  // no 16.16 scale at all: nothing drawn
  DrawMemImgStretched(three, longer, &one, 0, nullptr, &copy);
  EXPECT_EQ(GetPixel(three, 0, 0), 100000u);
}

}  // namespace
}  // namespace qor::test
