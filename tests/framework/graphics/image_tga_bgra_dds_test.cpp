#include <gtest/gtest.h>

#include <cstring>

#include "framework/graphics/images/dxt_blocks.h"
#include "image_test_support.h"

#ifdef ORB_HAVE_SQUISH
#include <squish.h>
#endif

namespace qor {
namespace {

using namespace imagetest;

Rgba RichWithAlpha(int x, int y) {
  Rgba c = Rich(x, y);
  c.a = RichAlpha(x, y);
  return c;
}
// ImageMagick's reading of its own 16-bit TGA (a binary PPM).
Rgba Sixteen5Bits(int x, int y) {
  static const std::vector<uint8_t> ppm = ReadFixture("g_sixteen16_td_read.ppm");
  static const size_t start = ppm.size() - static_cast<size_t>(kW) * kH * 3;
  const uint8_t* p = &ppm[start + (static_cast<size_t>(y) * kW + x) * 3];
  return {p[0], p[1], p[2], 255};
}

// ImageMagick's TGA files of each type, depth and row order decode to their
// picture, with rows left unpadded.
TEST(ImageTgaReader, IndependentWriterFilesDecodeToTheirPicture) {
  const struct {
    const char* file;
    Rgba (*picture)(int, int);
    int bytesPerPixel;
    bool alpha;
  } cases[] = {
      {"n_rich24_bu.tga", Rich, 3, false},         {"g_rich24_td.tga", Rich, 3, false},
      {"n_rich24_rle.tga", Rich, 3, false},        {"n_rich32.tga", RichWithAlpha, 4, true},
      {"g_rich32_rle_td.tga", RichWithAlpha, 4, true}, {"n_rich8_map.tga", Rich, 3, false},
      {"n_rich8_map_rle.tga", Rich, 3, false},     {"g_sixteen16_td.tga", Sixteen5Bits, 2, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    Decoded d(ReadFixture(c.file), DecodeTgaImage);
    ASSERT_EQ(d.result, 0);
    EXPECT_EQ(d.image.format.bytesPerPixel, c.bytesPerPixel);
    EXPECT_EQ(d.image.pitch, kW * c.bytesPerPixel);
    // 5-bit channels: the two readers widen with their own rounding.
    EXPECT_TRUE(HoldsPicture(d.image, c.picture, c.bytesPerPixel == 2 ? 1 : 0, c.alpha));
  }
}

std::vector<uint8_t> Tga(uint8_t type, uint16_t width, uint16_t height, uint8_t bits, uint8_t descriptor,
                         const std::vector<uint8_t>& body, uint16_t mapFirst = 0, uint16_t mapLength = 0,
                         uint8_t mapBits = 0) {
  std::vector<uint8_t> t(18, 0);
  t[1] = mapLength != 0 ? 1 : 0;
  t[2] = type;
  PutLe16(&t, 3, mapFirst);
  PutLe16(&t, 5, mapLength);
  t[7] = mapBits;
  PutLe16(&t, 12, width);
  PutLe16(&t, 14, height);
  t[16] = bits;
  t[17] = descriptor;
  t.insert(t.end(), body.begin(), body.end());
  return t;
}

std::vector<uint32_t> Pixels32(const Decoded& d) {
  std::vector<uint32_t> v;
  for (int y = 0; y < d.image.height; ++y) {
    for (int x = 0; x < d.image.width; ++x) v.push_back(ReadImagePixel(&d.image, x, y));
  }
  return v;
}

// Row orders, RLE packets, colour maps and the header checks.
TEST(ImageTgaReader, LayoutsPacketsAndChecks) {
  // Right-to-left rows: each row is reversed.
  const std::vector<uint8_t> td = ReadFixture("g_rich24_td.tga");
  std::vector<uint8_t> rtl = td;
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) std::memcpy(&rtl[18 + (y * kW + x) * 3], &td[18 + (y * kW + kW - 1 - x) * 3], 3);
  }
  rtl[17] = 0x30;
  Decoded reversed(rtl, DecodeTgaImage);
  EXPECT_TRUE(HoldsPicture(reversed.image, Rich));
  // A true-colour file that carries a colour map steps over it; a footer
  // is not taken for pixel data.
  std::vector<uint8_t> withMap(td.begin(), td.begin() + 18);
  withMap[1] = 1;
  PutLe16(&withMap, 5, 5);
  withMap[7] = 15;
  withMap.insert(withMap.end(), 10, 0xEE);
  withMap.insert(withMap.end(), td.begin() + 18, td.end());
  Decoded mapSkipped(withMap, DecodeTgaImage);
  EXPECT_TRUE(HoldsPicture(mapSkipped.image, Rich));
  std::vector<uint8_t> footed = ReadFixture("n_rich24_rle.tga");
  const char footer[] = "\0\0\0\0\0\0\0\0TRUEVISION-XFILE.";
  footed.insert(footed.end(), footer, footer + 26);
  Decoded withFooter(footed, DecodeTgaImage);
  EXPECT_TRUE(HoldsPicture(withFooter.image, Rich));

  // Packets: 0x82 repeats one pixel three times, 0x02 copies three; a last
  // packet past the pixel count is cut; data ending first refuses.
  const std::vector<uint8_t> packets = {0x82, 1, 2, 3, 0x02, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  Decoded rle(Tga(10, 3, 2, 24, 0x20, packets), DecodeTgaImage);
  ASSERT_EQ(rle.result, 0);
  EXPECT_EQ(Pixels32(rle), (std::vector<uint32_t>{0x030201, 0x030201, 0x030201, 0x060504, 0x090807, 0x0C0B0A}));
  Decoded cut(Tga(10, 2, 1, 24, 0x20, {0x83, 1, 2, 3}), DecodeTgaImage);
  EXPECT_EQ(cut.result, 0);
  Decoded shortRle(Tga(10, 3, 2, 24, 0x20, {0x82, 1, 2, 3, 0x02, 4, 5, 6}), DecodeTgaImage);
  EXPECT_EQ(shortRle.result, -1);
  EXPECT_EQ(Decoded(Tga(10, 4, 4, 24, 0, std::vector<uint8_t>(3000, 0xFF)), DecodeTgaImage).result, 0);  // runaway

  // Colour-mapped, first entry 2: index 2 is the first stored entry.
  Decoded mapped(Tga(1, 2, 1, 8, 0x20, {0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 2, 3}, 2, 2, 24), DecodeTgaImage);
  ASSERT_EQ(mapped.result, 0);
  EXPECT_EQ(Pixels32(mapped), (std::vector<uint32_t>{0x302010, 0x605040}));

  const std::vector<uint8_t> six(6, 7);
  EXPECT_EQ(Decoded(Tga(2, 3, 1, 24, 0x20, {1, 2, 3, 4, 5, 6, 7, 8, 9}), DecodeTgaImage).image.pitch, 9);
  EXPECT_EQ(Decoded(Tga(3, 2, 1, 24, 0, six), DecodeTgaImage).result, -1);   // greyscale
  EXPECT_EQ(Decoded(Tga(11, 2, 1, 24, 0, six), DecodeTgaImage).result, -1);
  EXPECT_EQ(Decoded(Tga(2, 2, 1, 15, 0, six), DecodeTgaImage).result, -1);
  EXPECT_EQ(Decoded(Tga(2, 2, 1, 8, 0, six), DecodeTgaImage).result, -1);
  EXPECT_EQ(Decoded(Tga(2, 8193, 1, 24, 0, six), DecodeTgaImage).result, -1);
  EXPECT_EQ(Decoded(Tga(2, 0, 1, 24, 0, six), DecodeTgaImage).result, -1);
  std::vector<uint8_t> origin = Tga(2, 2, 1, 24, 0, six);
  origin[8] = 1;
  EXPECT_EQ(Decoded(origin, DecodeTgaImage).result, -1);
  // Colour maps past 256 entries, and 16-bit indices, are refused.
  EXPECT_EQ(Decoded(Tga(1, 1, 1, 8, 0, std::vector<uint8_t>(800, 1), 200, 60, 24), DecodeTgaImage).result, -1);
  EXPECT_EQ(Decoded(Tga(1, 1, 1, 16, 0, std::vector<uint8_t>(8, 0), 0, 2, 24), DecodeTgaImage).result, -1);
}

TEST(ImageBgraReader, GoldenPixelsAndChecks) {
  std::vector<uint8_t> wide = {'B', 'G', 'R', 'A', 0x10, 0x10, 0x10, 0x10, 1, 0, 0, 0, 1, 0, 0, 0,
                               0x34, 0x12, 0x78, 0x56, 0xBC, 0x9A, 0xF0, 0xDE};
  Decoded d16(wide, DecodeBgraImage);
  ASSERT_EQ(d16.result, 0);
  EXPECT_EQ(ReadImagePixel(&d16.image, 0, 0), 0xDE9A5612u);
  EXPECT_EQ(d16.image.format.spareMask, 0u);

  std::vector<uint8_t> narrow = {'B', 'G', 'R', 'A', 8, 8, 8, 8, 3, 0, 0, 0, 1, 0, 0, 0};
  for (int i = 0; i < 12; ++i) narrow.push_back(static_cast<uint8_t>(i * 16));
  Decoded d8(narrow, DecodeBgraImage);
  ASSERT_EQ(d8.result, 0);
  EXPECT_EQ(d8.image.pitch, 12);
  EXPECT_EQ(ReadImagePixel(&d8.image, 2, 0), 0xB0A09080u);

  std::vector<uint8_t> bad = narrow;
  PutLe32(&bad, 4, 0x08080807);
  EXPECT_EQ(Decoded(bad, DecodeBgraImage).result, -1);
  bad = narrow;
  PutLe32(&bad, 8, 0);
  EXPECT_EQ(Decoded(bad, DecodeBgraImage).result, -1);
  bad = narrow;
  PutLe32(&bad, 8, 0x40000000);  // far past the size limit: no allocation tried
  EXPECT_EQ(Decoded(bad, DecodeBgraImage).result, -1);
  EXPECT_EQ(Decoded(std::vector<uint8_t>(narrow.begin(), narrow.end() - 1), DecodeBgraImage).result, -1);
}

std::vector<uint8_t> Dds(uint32_t flags, int32_t width, int32_t height, uint32_t pitch, uint32_t pixelFlags,
                         const char* fourCc, uint32_t bits, std::vector<uint32_t> masks, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> d(128, 0);
  std::memcpy(d.data(), "DDS ", 4);
  PutLe32(&d, 4, 124);
  PutLe32(&d, 8, flags);
  PutLe32(&d, 12, static_cast<uint32_t>(height));
  PutLe32(&d, 16, static_cast<uint32_t>(width));
  PutLe32(&d, 20, pitch);
  PutLe32(&d, 80, pixelFlags);
  if (fourCc != nullptr) std::memcpy(&d[84], fourCc, 4);
  PutLe32(&d, 88, bits);
  for (size_t i = 0; i < masks.size(); ++i) PutLe32(&d, 92 + 4 * i, masks[i]);
  d.insert(d.end(), data.begin(), data.end());
  return d;
}

TEST(ImageDdsReader, MaskedFilesAndFormatChecks) {
  Decoded rgb(ReadFixture("d_rich24.dds"), DecodeDdsImage);
  ASSERT_EQ(rgb.result, 0);
  EXPECT_TRUE(HoldsPicture(rgb.image, Rich));
  Decoded rgba(ReadFixture("d_rich32.dds"), DecodeDdsImage);
  ASSERT_EQ(rgba.result, 0);
  EXPECT_TRUE(HoldsPicture(rgba.image, RichWithAlpha, 0, true));

  // 0x41 with the header's pitch; 0x40 alone reads the colour and drops
  // the alpha mask; a format code from the table.
  const std::vector<uint8_t> two(16, 0x80);
  Decoded pitched(Dds(0x8, 1, 2, 8, 0x41, nullptr, 32, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, two), DecodeDdsImage);
  ASSERT_EQ(pitched.result, 0);
  EXPECT_EQ(pitched.image.pitch, 8);
  EXPECT_EQ(pitched.image.format.masks[kAlpha], 0xFF000000u);
  Decoded noAlpha(Dds(0, 2, 1, 0, 0x40, nullptr, 32, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, {1, 2, 3, 4, 5, 6, 7, 8}),
                  DecodeDdsImage);
  ASSERT_EQ(noAlpha.result, 0);
  EXPECT_EQ(noAlpha.image.format.masks[kAlpha], 0u);
  EXPECT_EQ(ReadImagePixel(&noAlpha.image, 1, 0), 0x070605u);
  std::vector<uint8_t> code = Dds(0, 2, 1, 0, 0x4, nullptr, 0, {}, {0x00, 0xF8, 0x1F, 0x00});
  PutLe32(&code, 84, 23);  // R5G6B5
  Decoded fromCode(code, DecodeDdsImage);
  ASSERT_EQ(fromCode.result, 0);
  EXPECT_EQ(ReadImagePixel(&fromCode.image, 0, 0), 0xF80000u);
  EXPECT_EQ(ReadImagePixel(&fromCode.image, 1, 0), 0x0000F8u);

  const std::vector<uint32_t> m = {0xFF0000, 0xFF00, 0xFF, 0};
  EXPECT_EQ(Decoded(Dds(0x8, 2, 2, 4, 0x40, nullptr, 24, m, std::vector<uint8_t>(64, 0)), DecodeDdsImage).result,
            -1);  // pitch shorter than a row
  EXPECT_EQ(Decoded(Dds(0, 2, 2, 0, 0x40, nullptr, 24, m, std::vector<uint8_t>(11, 0)), DecodeDdsImage).result, -1);
  EXPECT_EQ(Decoded(Dds(0, 2, 1, 0, 0x40, nullptr, 12, m, std::vector<uint8_t>(8, 0)), DecodeDdsImage).result, -1);
  EXPECT_EQ(Decoded(Dds(0, 2, 1, 0, 0x1, nullptr, 24, m, std::vector<uint8_t>(8, 0)), DecodeDdsImage).result, -1);
  EXPECT_EQ(Decoded(Dds(0, 2, 1, 0, 0x4, "DXT9", 24, m, std::vector<uint8_t>(8, 0)), DecodeDdsImage).result, -1);
  EXPECT_EQ(Decoded(Dds(0, 0, 1, 0, 0x40, nullptr, 24, m, std::vector<uint8_t>(8, 0)), DecodeDdsImage).result, -1);
  EXPECT_EQ(Decoded(Dds(0, 0x10000, 0x10000, 0, 0x4, "DXT1", 0, {}, {}), DecodeDdsImage).result, -1);
  EXPECT_EQ(Decoded(Dds(0, 8, 8, 0, 0x4, "DXT5", 0, {}, std::vector<uint8_t>(63, 0)), DecodeDdsImage).result, -1);
}

std::vector<uint32_t> Block(int variant, const std::vector<uint8_t>& bytes) {
  std::vector<uint32_t> out(16);
  DecodeDxtBlock(variant, bytes.data(), out.data());
  return out;
}

TEST(ImageDdsReader, DxtGoldenBlocks) {
  EXPECT_EQ(Block(1, {0xFF, 0xFF, 0x00, 0x00, 0xAA, 0xAA, 0xAA, 0xAA}), std::vector<uint32_t>(16, 0xFFAAAAAAu));
  EXPECT_EQ(Block(1, {0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), std::vector<uint32_t>(16, 0x007F7F7Fu));
  // DXT3: four-bit alphas, low nibble first; the colour half never has the
  // three-colour mode.
  std::vector<uint32_t> dxt3 = Block(3, {0x0F, 0xF0, 0, 0, 0, 0, 0, 0, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
  EXPECT_EQ(dxt3[0], 0xFFAAAAAAu);
  EXPECT_EQ(dxt3[1], 0x00AAAAAAu);
  EXPECT_EQ(dxt3[3], 0xFFAAAAAAu);
  // DXT5: eight-step and six-step alpha tables.
  std::vector<uint8_t> dxt5 = {200, 100, 0x88, 0xC6, 0xFA, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0};
  std::vector<uint32_t> a = Block(5, dxt5);  // indices 0..7 on pixels 0..7
  const uint32_t want[8] = {200, 100, (6 * 200 + 100) / 7, (5 * 200 + 200) / 7, (4 * 200 + 300) / 7,
                            (3 * 200 + 400) / 7, (2 * 200 + 500) / 7, (200 + 600) / 7};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(a[i] >> 24, want[i]) << i;
  dxt5[0] = 10;
  dxt5[1] = 60;
  a = Block(5, dxt5);
  EXPECT_EQ(a[2] >> 24, (4u * 10 + 60) / 5);
  EXPECT_EQ(a[6] >> 24, 0u);
  EXPECT_EQ(a[7] >> 24, 255u);
  // DXT2 and DXT4 take colour back from premultiplied: alpha 0 gives colour
  // 0; a channel above its alpha saturates at 255.
  std::vector<uint32_t> pre = Block(2, {0x00, 0x88, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0});
  EXPECT_EQ(pre[0], 0x00000000u);
  EXPECT_EQ(pre[2], 0x88FFFFFFu);
  pre = Block(4, {0, 0, 0, 0, 0, 0, 0, 0, 0x10, 0x42, 0x10, 0x42, 0, 0, 0, 0});
  EXPECT_EQ(pre[0], 0u);

  // Block rows hold (width + 3) / 4 blocks: a 6 x 8 picture's second block
  // row is its own, and the edge columns are written.
  std::vector<uint8_t> blocks;
  const uint16_t colors[4] = {0xF800, 0x07E0, 0x001F, 0xFFFF};
  for (uint16_t c : colors) blocks.insert(blocks.end(), {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8), 0, 0, 0, 0, 0, 0});
  Decoded six(Dds(0, 6, 8, 0, 0x4, "DXT1", 0, {}, blocks), DecodeDdsImage);
  ASSERT_EQ(six.result, 0);
  EXPECT_EQ(ReadImagePixel(&six.image, 0, 0), 0xFFFF0000u);
  EXPECT_EQ(ReadImagePixel(&six.image, 5, 3), 0xFF00FF00u);
  EXPECT_EQ(ReadImagePixel(&six.image, 0, 4), 0xFF0000FFu);
  EXPECT_EQ(ReadImagePixel(&six.image, 5, 7), 0xFFFFFFFFu);
}

#ifdef ORB_HAVE_SQUISH
// Our DXT decode of a whole surface against libsquish's on the same blocks:
// within 1 per channel where the pixel is not fully transparent.
void ExpectAgreesWithSquish(const std::vector<uint8_t>& dds, int flags) {
  Decoded d(dds, DecodeDdsImage);
  ASSERT_EQ(d.result, 0);
  const int w = d.image.width;
  const int h = d.image.height;
  std::vector<uint8_t> rgba(static_cast<size_t>(w) * h * 4);
  squish::DecompressImage(rgba.data(), w, h, dds.data() + 128, flags);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const uint32_t ours = ReadImagePixel(&d.image, x, y);
      const uint8_t* theirs = &rgba[(static_cast<size_t>(y) * w + x) * 4];
      const int a = static_cast<int>(ours >> 24);
      ASSERT_LE(std::abs(a - theirs[3]), 1) << x << "," << y;
      if (theirs[3] == 0) continue;
      ASSERT_LE(std::abs(static_cast<int>((ours >> 16) & 0xFF) - theirs[0]), 1) << x << "," << y;
      ASSERT_LE(std::abs(static_cast<int>((ours >> 8) & 0xFF) - theirs[1]), 1) << x << "," << y;
      ASSERT_LE(std::abs(static_cast<int>(ours & 0xFF) - theirs[2]), 1) << x << "," << y;
    }
  }
}

TEST(ImageDdsReader, DxtFilesAgreeWithLibsquish) {
  ExpectAgreesWithSquish(ReadFixture("d_rich_dxt1.dds"), squish::kDxt1);
  ExpectAgreesWithSquish(ReadFixture("d_rich_dxt1_opaque.dds"), squish::kDxt1);
  ExpectAgreesWithSquish(ReadFixture("d_rich_dxt5.dds"), squish::kDxt5);
  ExpectAgreesWithSquish(ReadFixture("d_rich_dxt5_mips.dds"), squish::kDxt5);
  // DXT3 blocks made by libsquish itself from the alpha picture.
  std::vector<uint8_t> rgba;
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const Rgba c = RichWithAlpha(x, y);
      rgba.insert(rgba.end(), {static_cast<uint8_t>(c.r), static_cast<uint8_t>(c.g), static_cast<uint8_t>(c.b),
                               static_cast<uint8_t>(c.a)});
    }
  }
  for (int flags : {squish::kDxt1, squish::kDxt3, squish::kDxt5}) {
    std::vector<uint8_t> blocks(static_cast<size_t>(squish::GetStorageRequirements(kW, kH, flags)));
    squish::CompressImage(rgba.data(), kW, kH, blocks.data(), flags);
    const char* code = flags == squish::kDxt1 ? "DXT1" : flags == squish::kDxt3 ? "DXT3" : "DXT5";
    ExpectAgreesWithSquish(Dds(0, kW, kH, 0, 0x4, code, 0, {}, blocks), flags);
  }
}
#endif

}  // namespace
}  // namespace qor
