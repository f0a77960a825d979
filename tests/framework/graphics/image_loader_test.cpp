#include <gtest/gtest.h>

#include <cstring>

#include "framework/core/archives/archive.h"
#include "framework/core/file_test_support.h"
#include "image_test_support.h"

namespace qor {
namespace {

using namespace imagetest;

// Every format through the loader table: the readers before the right one
// refuse from offset 0, and a stream nobody takes leaves a cleared record.
TEST(ImageLoader, TableTakesEveryFormatAndRefusesTheRest) {
  for (const char* file : {"t_rich24_v3.bmp", "g_rich24_td.tga", "n_rich8_map_rle.tga", "d_rich24.dds"}) {
    Decoded d(ReadFixture(file));
    EXPECT_EQ(d.result, 0) << file;
    EXPECT_TRUE(HoldsPicture(d.image, Rich)) << file;
  }
  std::vector<uint8_t> bgra = {'B', 'G', 'R', 'A', 8, 8, 8, 8, 1, 0, 0, 0, 1, 0, 0, 0, 1, 2, 3, 4};
  EXPECT_EQ(Decoded(bgra).result, 0);
  GraphImage image;
  std::memset(&image, 0x5A, sizeof image);
  EXPECT_EQ(Decode(std::vector<uint8_t>(300, 0x42), &image), -1);
  EXPECT_EQ(image.pixels, nullptr);
  EXPECT_EQ(image.format.bitDepth, 0);
}

struct LoadedImage {
  GraphImage image{};
  ~LoadedImage() { FreeGraphImage(&image); }
};

// Loose files in any letter case, files inside an archive, memory blocks,
// and the "_a" companion picture.
TEST(ImageLoader, FilesArchivesMemoryAndAlphaCompanion) {
  filetest::ScratchDir dir;
  dir.MakeDir("Game");
  dir.MakeDir("Game/gr");
  dir.MakeDir("Game/data.x");
  dir.WriteFile("Game/gr/Pic.BMP", ReadFixture("t_rich24_v3.bmp"));
  dir.WriteFile("Game/gr/pic_a.bmp", ReadFixture("t_rich8_v3.bmp"));
  dir.WriteFile("Game/gr/solo.tga", ReadFixture("g_rich24_td.tga"));
  dir.WriteFile("Game/data.x/pic", ReadFixture("d_rich24.dds"));
  dir.MakeDir("Game/data_a.x");
  dir.WriteFile("Game/data_a.x/pic", ReadFixture("n_rich8_map.tga"));
  std::vector<uint8_t> archive;
  ASSERT_EQ(BuildArchive(filetest::DirNode("", {filetest::FileNode("Packed.bmp", ReadFixture("t_rich8_rle.bmp")),
                                                filetest::FileNode("packed_a.bmp", ReadFixture("n_two1.bmp"))}),
                         PackOptions{}, &archive),
            0);
  dir.WriteFile("Game/pack.dat", archive);
  ASSERT_EQ(SetCurrentDirDispatch(dir.Z("game").c_str()), 0);
  SetArchiveExtension("dat");
  const int live = GetAllocatorState().liveCount;

  {
    LoadedImage a;
    EXPECT_EQ(LoadImageFileToGraphImage("GR\\pic.bmp", &a.image, 0), 0);
    EXPECT_TRUE(HoldsPicture(a.image, Rich));
    LoadedImage b;
    EXPECT_EQ(LoadImageFileToGraphImage("pack\\PACKED.BMP", &b.image, 0), 0);
    EXPECT_TRUE(HoldsPicture(b.image, Rich));
    LoadedImage none;
    EXPECT_EQ(LoadImageFileToGraphImage("gr\\missing.bmp", &none.image, 0), -1);
  }
  // The companion beside a loose file or in the same archive; the last '.'
  // of the whole name counts, folders included; a picture without one gives 1.
  const struct {
    const char* name;
    int result;
    Rgba (*alphaPicture)(int, int);
    int alphaBytes;
  } companions[] = {{"gr\\pic.bmp", 0, Rich, 1}, {"pack\\packed.bmp", 0, Two, 3},
                    {"data.x\\pic", 0, nullptr, 3}, {"gr\\solo.tga", 1, nullptr, 0}};
  for (const auto& c : companions) {
    SCOPED_TRACE(c.name);
    LoadedImage main, alpha;
    EXPECT_EQ(LoadImageWithAlphaFile(c.name, nullptr, 0, 0, nullptr, 0, 0, &main.image, &alpha.image, 0), c.result);
    EXPECT_TRUE(HoldsPicture(main.image, Rich));
    EXPECT_EQ(alpha.image.format.bytesPerPixel, c.alphaBytes);
    if (c.alphaPicture != nullptr) {
      EXPECT_TRUE(HoldsPicture(alpha.image, c.alphaPicture));
    }
    if (c.result == 1) {
      EXPECT_EQ(alpha.image.pixels, nullptr);
    }
  }
  {
    // A name whose companion would not fit the name buffer has none.
    std::string longName = "gr\\";
    while (longName.size() < 258 - 8) longName += ".\\";
    longName += "solo.tga";
    ASSERT_EQ(longName.size(), 259u);
    LoadedImage main, alpha;
    EXPECT_EQ(LoadImageWithAlphaFile(longName.c_str(), nullptr, 0, 0, nullptr, 0, 0, &main.image, &alpha.image, 0), 1);
    EXPECT_EQ(alpha.image.pixels, nullptr);
    const std::string shortName = std::string(255, 'b');
    EXPECT_EQ(LoadImageWithAlphaFile(shortName.c_str(), nullptr, 0, 0, nullptr, 0, 0, &main.image, &alpha.image, 0), -1);
  }
  {
    // Memory: the main picture and the companion from blocks; a null
    // companion block or another mode gives 1.
    const std::vector<uint8_t> mainBytes = ReadFixture("t_sixteen4_v3.bmp");
    const std::vector<uint8_t> alphaBytes = ReadFixture("n_two1.bmp");
    LoadedImage main, alpha;
    EXPECT_EQ(LoadImageWithAlphaFile(nullptr, mainBytes.data(), mainBytes.size(), 1, alphaBytes.data(),
                                     alphaBytes.size(), 1, &main.image, &alpha.image, 0),
              0);
    EXPECT_TRUE(HoldsPicture(main.image, Sixteen));
    EXPECT_TRUE(HoldsPicture(alpha.image, Two));
    LoadedImage main2, alpha2;
    EXPECT_EQ(LoadImageWithAlphaFile(nullptr, mainBytes.data(), mainBytes.size(), 1, nullptr, 0, 1, &main2.image,
                                     &alpha2.image, 0),
              1);
    LoadedImage main3, alpha3;
    EXPECT_EQ(LoadImageWithAlphaFile("gr\\pic.bmp", nullptr, 0, 0, nullptr, 0, 2, &main3.image, &alpha3.image, 0), 1);
    EXPECT_EQ(alpha3.image.pixels, nullptr);
  }
  ReleaseUnusedArchives();
  EXPECT_EQ(GetAllocatorState().liveCount, live);
}

// The mirror flag and the in-place mirror agree, for every pixel size.
TEST(ImageLoader, MirroredLoadEqualsInPlaceMirror) {
  for (const char* file : {"t_rich24_v3.bmp", "t_rich8_v3.bmp", "g_sixteen16_td.tga", "n_rich32.tga"}) {
    SCOPED_TRACE(file);
    const std::vector<uint8_t> bytes = ReadFixture(file);
    LoadedImage mirrored, plain;
    ASSERT_EQ(LoadImageToGraphImage(nullptr, bytes.data(), bytes.size(), 1, 1, &mirrored.image), 0);
    ASSERT_EQ(LoadImageToGraphImage(nullptr, bytes.data(), bytes.size(), 1, 0, &plain.image), 0);
    ASSERT_EQ(MirrorImageHorizontally(&plain.image), 0);
    for (int y = 0; y < kH; ++y) {
      for (int x = 0; x < kW; ++x) ASSERT_EQ(ReadImagePixel(&mirrored.image, x, y), ReadImagePixel(&plain.image, x, y));
    }
    Decoded original(bytes);
    EXPECT_EQ(ReadImagePixel(&mirrored.image, 0, 2), ReadImagePixel(&original.image, kW - 1, 2));
  }
  GraphImage row{};
  MakeFormatRGB24(&row.format);
  uint8_t pixels[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0xEE, 0xEE, 0xEE};
  row.width = 3;
  row.height = 1;
  row.pitch = 12;
  row.pixels = pixels;
  EXPECT_EQ(MirrorImageHorizontally(&row), 0);
  EXPECT_EQ(std::vector<uint8_t>(pixels, pixels + 12), (std::vector<uint8_t>{7, 8, 9, 4, 5, 6, 1, 2, 3, 0xEE, 0xEE, 0xEE}));
  row.width = 0;
  EXPECT_EQ(MirrorImageHorizontally(&row), -1);
}

TEST(ImageLoader, ReadImagePixelOfEveryFormat) {
  GraphImage image{};
  uint8_t pixels[8] = {};
  image.pixels = pixels;
  image.width = 2;
  image.height = 1;
  image.pitch = 8;
  // Palettised: the palette colour.
  MakeFormatPal8(&image.format);
  image.format.palette[3] = PaletteEntry{0x10, 0x20, 0x30, 0x99};
  pixels[1] = 3;
  EXPECT_EQ(ReadImagePixel(&image, 1, 0), 0x302010u);
  // Ten-bit channels by their top 8 bits; two-bit alpha in the top bits.
  MakeFormatFromMasks(&image.format, 32, 0x3FF00000, 0xFFC00, 0x3FF, 0xC0000000);
  const uint32_t v = (2u << 30) | (0x3FFu << 20) | (0x201u << 10) | 0x0FFu;
  std::memcpy(pixels, &v, 4);
  EXPECT_EQ(ReadImagePixel(&image, 0, 0), 0x80FF803Fu);
  // Five-bit channels: the top bits of their byte; no alpha: top byte 0.
  MakeFormatFromMasks(&image.format, 16, 0x7C00, 0x3E0, 0x1F, 0);
  pixels[2] = 0xFF;
  pixels[3] = 0xFF;
  EXPECT_EQ(ReadImagePixel(&image, 1, 0), 0xF8F8F8u);
  EXPECT_EQ(ReadImagePixel(&image, 2, 0), 0u);
  EXPECT_EQ(ReadImagePixel(&image, -1, 0), 0u);
  image.pixels = nullptr;
  EXPECT_EQ(ReadImagePixel(&image, 0, 0), 0u);
}

TEST(ImageLoader, ConvertGraphImageToDib) {
  DibInfo info{};
  uint8_t* bits = nullptr;
  // Padded 24-bit rows: the image's own block.
  Decoded bmp(ReadFixture("t_rich24_v3.bmp"));
  EXPECT_EQ(ConvertGraphImageToDib(&bmp.image, &info, &bits), 0);
  EXPECT_EQ(bits, bmp.image.pixels);
  EXPECT_EQ(info.header.size, 40u);
  EXPECT_EQ(info.header.width, kW);
  EXPECT_EQ(info.header.height, -kH);
  EXPECT_EQ(info.header.bitCount, 24);
  EXPECT_EQ(info.header.compression, 0u);

  // Every other picture: a new padded 24-bit block of the same colours.
  for (const char* file : {"g_rich24_td.tga", "n_rich32.tga", "t_rich8_v3.bmp"}) {
    SCOPED_TRACE(file);
    Decoded d(ReadFixture(file));
    ASSERT_EQ(ConvertGraphImageToDib(&d.image, &info, &bits), 1);
    GraphImage dib{};
    MakeFormatRGB24(&dib.format);
    dib.width = kW;
    dib.height = kH;
    dib.pitch = (kW * 3 + 3) / 4 * 4;
    dib.pixels = bits;
    EXPECT_TRUE(HoldsPicture(dib, Rich));
    FreeMemory(bits);
  }
}

}  // namespace
}  // namespace qor
