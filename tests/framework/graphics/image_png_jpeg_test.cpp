#include <gtest/gtest.h>
#include <zlib.h>

#include <csetjmp>
#include <cstring>

#include "image_test_support.h"
#include "image_writers.h"

namespace qor {
namespace {

using namespace imagetest;

// ---- PNG files written here with libpng ----

struct PngSpec {
  int colorType;
  int depth;
  bool interlaced = false;
  bool transparency = false;  // a tRNS chunk
};

// Sample c of pixel (x, y) in the file's range.
uint32_t Sample(const PngSpec& s, int x, int y, int c) {
  const uint32_t max = (1u << s.depth) - 1;
  return static_cast<uint32_t>(x * 37 + y * 101 + c * 59 + (x * y) * 13) % (max + 1);
}
int Channels(int colorType) {
  switch (colorType) {
    case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
    case PNG_COLOR_TYPE_RGB: return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
    default: return 1;
  }
}
// The colour libpng is asked to keep transparent (a grey or RGB value), and
// a palette whose entry i has alpha (i x 40) % 256 in tRNS.
uint32_t TransparentSample(const PngSpec& s, int c) { return Sample(s, 2, 1, c); }
png_color PaletteColor(int i) {
  return {static_cast<png_byte>(i * 7), static_cast<png_byte>(255 - i * 3), static_cast<png_byte>(i * 11 + 5)};
}

std::vector<uint8_t> WritePng(const PngSpec& s, int width, int height) {
  std::vector<uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &out, AppendPngBytes, NoPngFlush);
  png_set_IHDR(png, info, width, height, s.depth, s.colorType, s.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  const int entries = 1 << std::min(s.depth, 8);
  if (s.colorType == PNG_COLOR_TYPE_PALETTE) {
    std::vector<png_color> palette;
    for (int i = 0; i < entries; ++i) palette.push_back(PaletteColor(i));
    png_set_PLTE(png, info, palette.data(), entries);
  }
  if (s.transparency) {
    if (s.colorType == PNG_COLOR_TYPE_PALETTE) {
      std::vector<png_byte> alpha;
      for (int i = 0; i < entries; ++i) alpha.push_back(static_cast<png_byte>(i * 40));
      png_set_tRNS(png, info, alpha.data(), entries, nullptr);
    } else {
      png_color_16 key{};
      key.gray = static_cast<png_uint_16>(TransparentSample(s, 0));
      key.red = static_cast<png_uint_16>(TransparentSample(s, 0));
      key.green = static_cast<png_uint_16>(TransparentSample(s, 1));
      key.blue = static_cast<png_uint_16>(TransparentSample(s, 2));
      png_set_tRNS(png, info, nullptr, 0, &key);
    }
  }
  png_write_info(png, info);
  const int channels = Channels(s.colorType);
  const size_t rowBytes = (static_cast<size_t>(width) * channels * s.depth + 7) / 8;
  std::vector<std::vector<png_byte>> rows(height, std::vector<png_byte>(rowBytes, 0));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      for (int c = 0; c < channels; ++c) {
        const uint32_t v = Sample(s, x, y, c);
        const size_t bit = (static_cast<size_t>(x) * channels + c) * s.depth;
        if (s.depth == 16) {
          rows[y][bit / 8] = static_cast<png_byte>(v >> 8);
          rows[y][bit / 8 + 1] = static_cast<png_byte>(v);
        } else {
          rows[y][bit / 8] |= static_cast<png_byte>(v << (8 - s.depth - bit % 8));  // first pixel in the high bits
        }
      }
    }
  }
  std::vector<png_bytep> pointers;
  for (auto& r : rows) pointers.push_back(r.data());
  png_write_image(png, pointers.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

// What the reader must make of a sample: 8 bits kept whole, 16 bits by the
// high byte, fewer scaled up (grey) as libpng's expansion does.
uint32_t To8(const PngSpec& s, uint32_t v) {
  if (s.depth == 16) return v >> 8;
  if (s.depth == 8) return v;
  return v * 255 / ((1u << s.depth) - 1);
}

// The expected colour and alpha of a pixel.
Rgba Expected(const PngSpec& s, int x, int y) {
  if (s.colorType == PNG_COLOR_TYPE_PALETTE) {
    const uint32_t i = Sample(s, x, y, 0);
    const png_color c = PaletteColor(static_cast<int>(i));
    return {c.red, c.green, c.blue, s.transparency ? (i * 40) & 0xFF : 255};
  }
  const int channels = Channels(s.colorType);
  const bool rgb = channels >= 3;
  Rgba out{};
  out.r = To8(s, Sample(s, x, y, 0));
  out.g = rgb ? To8(s, Sample(s, x, y, 1)) : out.r;
  out.b = rgb ? To8(s, Sample(s, x, y, 2)) : out.r;
  out.a = 255;
  if (channels == 2 || channels == 4) out.a = To8(s, Sample(s, x, y, channels - 1));
  if (s.transparency) {
    bool match = Sample(s, x, y, 0) == TransparentSample(s, 0);
    if (rgb) match = match && Sample(s, x, y, 1) == TransparentSample(s, 1) && Sample(s, x, y, 2) == TransparentSample(s, 2);
    out.a = match ? 0 : 255;
  }
  return out;
}

// Every colour type at every depth it allows, palettes with and without
// transparency, grey with it, interlaced files: each decodes to the written
// pixels after the reader's transformations.
TEST(ImagePngReader, EveryColourTypeAndDepthDecodesToWhatWasWritten) {
  std::vector<PngSpec> specs;
  for (int d : {1, 2, 4, 8, 16}) specs.push_back({PNG_COLOR_TYPE_GRAY, d});
  for (int d : {1, 2, 4, 8}) specs.push_back({PNG_COLOR_TYPE_PALETTE, d});
  for (int d : {1, 2, 4, 8}) specs.push_back({PNG_COLOR_TYPE_PALETTE, d, false, true});
  for (int d : {8, 16}) {
    specs.push_back({PNG_COLOR_TYPE_GRAY_ALPHA, d});
    specs.push_back({PNG_COLOR_TYPE_RGB, d});
    specs.push_back({PNG_COLOR_TYPE_RGB_ALPHA, d});
    specs.push_back({PNG_COLOR_TYPE_RGB, d, false, true});
  }
  for (int d : {2, 8, 16}) specs.push_back({PNG_COLOR_TYPE_GRAY, d, false, true});
  specs.push_back({PNG_COLOR_TYPE_GRAY, 4, true});
  specs.push_back({PNG_COLOR_TYPE_PALETTE, 2, true});
  specs.push_back({PNG_COLOR_TYPE_RGB_ALPHA, 16, true});
  specs.push_back({PNG_COLOR_TYPE_GRAY_ALPHA, 8, true});

  for (const PngSpec& s : specs) {
    SCOPED_TRACE(::testing::Message() << "type " << s.colorType << " depth " << s.depth << " interlaced "
                                      << s.interlaced << " tRNS " << s.transparency);
    const std::vector<uint8_t> file = WritePng(s, kW, kH);
    ASSERT_FALSE(file.empty());
    Decoded d(file);  // through the whole loader table
    ASSERT_EQ(d.result, 0);
    const bool alpha = s.transparency || s.colorType == PNG_COLOR_TYPE_GRAY_ALPHA ||
                       s.colorType == PNG_COLOR_TYPE_RGB_ALPHA;
    const bool palettised = s.colorType == PNG_COLOR_TYPE_PALETTE && !s.transparency;
    const bool grey = s.colorType == PNG_COLOR_TYPE_GRAY && !s.transparency;
    // Grey with alpha stays grey: a grey byte and an alpha byte.
    const bool greyAlpha = alpha && (s.colorType == PNG_COLOR_TYPE_GRAY || s.colorType == PNG_COLOR_TYPE_GRAY_ALPHA);
    const int bytes = greyAlpha ? 2 : alpha ? 4 : (palettised || grey) ? 1 : 3;
    EXPECT_EQ(d.image.format.bytesPerPixel, bytes);
    EXPECT_EQ(d.image.pitch, kW * bytes);
    EXPECT_EQ(d.image.format.masks[kAlpha], greyAlpha ? 0xFF00u : alpha ? 0xFF000000u : 0u);
    EXPECT_EQ(IsPaletteFormat(&d.image.format), palettised || grey ? 1 : 0);
    EXPECT_TRUE(HoldsPicture(d.image, [&](int x, int y) { return Expected(s, x, y); }, 0, true));
    if (grey) {
      EXPECT_EQ(d.image.format.palette[77].green, 77);
    }
  }
  // A 16-bit RGB picture lies blue, green, red in memory.
  const PngSpec rgb16{PNG_COLOR_TYPE_RGB, 16};
  Decoded d(WritePng(rgb16, kW, kH), LoadPngImage);
  ASSERT_EQ(d.result, 0);
  EXPECT_EQ(d.image.pixels[0], Sample(rgb16, 0, 0, 2) >> 8);
  EXPECT_EQ(d.image.pixels[2], Sample(rgb16, 0, 0, 0) >> 8);
}

TEST(ImagePngReader, CutAndLyingFilesFailCleanly) {
  const std::vector<uint8_t> file = WritePng({PNG_COLOR_TYPE_RGB_ALPHA, 8}, 40, 30);
  const int live = GetAllocatorState().liveCount;
  GraphImage image{};
  EXPECT_EQ(Decode(std::vector<uint8_t>(file.begin(), file.end() - 20), &image, LoadPngImage), -1);
  EXPECT_EQ(image.pixels, nullptr);
  EXPECT_EQ(GetAllocatorState().liveCount, live);
  // An IDAT whose length claims more than the file holds.
  std::vector<uint8_t> lying = file;
  size_t at = 8;
  while (at + 8 < lying.size() && std::memcmp(&lying[at + 4], "IDAT", 4) != 0) {
    at += 12 + ((lying[at] << 24) | (lying[at + 1] << 16) | (lying[at + 2] << 8) | lying[at + 3]);
  }
  ASSERT_LT(at + 8, lying.size());
  lying[at] = 0x10;
  EXPECT_EQ(Decode(lying, &image, LoadPngImage), -1);
  EXPECT_EQ(GetAllocatorState().liveCount, live);
  // A picture past the size limit is refused before its block is made.
  std::vector<uint8_t> huge = WritePng({PNG_COLOR_TYPE_RGB, 8}, 1, 1);
  const uint32_t side = 20000;
  for (int i = 0; i < 4; ++i) huge[16 + i] = huge[20 + i] = static_cast<uint8_t>(side >> (24 - 8 * i));
  const uint32_t crc = static_cast<uint32_t>(crc32(0, &huge[12], 17));
  for (int i = 0; i < 4; ++i) huge[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
  EXPECT_EQ(Decode(huge, &image, LoadPngImage), -1);
  EXPECT_EQ(GetAllocatorState().liveCount, live);
}

// ---- JPEG files written here with libjpeg ----

std::vector<uint8_t> WriteJpeg(int width, int height, int components, bool progressive, J_COLOR_SPACE space) {
  return imagetest::WriteJpeg(width, height, components, progressive, space, [](int i, int y) {
    return static_cast<uint8_t>(i * 29 + y * 47 + (i * y) % 31);
  });
}

// libjpeg's own decode with its default output, rows unpadded, colour
// pixels turned from red, green, blue into blue, green, red.
std::vector<uint8_t> LibjpegDecode(const std::vector<uint8_t>& file, int* components) {
  jpeg_decompress_struct d{};
  jpeg_error_mgr err{};
  d.err = jpeg_std_error(&err);
  jpeg_create_decompress(&d);
  jpeg_mem_src(&d, file.data(), file.size());
  jpeg_read_header(&d, TRUE);
  jpeg_start_decompress(&d);
  *components = d.output_components;
  const size_t row = static_cast<size_t>(d.output_width) * d.output_components;
  std::vector<uint8_t> out(row * d.output_height);
  while (d.output_scanline < d.output_height) {
    JSAMPROW p = &out[row * d.output_scanline];
    jpeg_read_scanlines(&d, &p, 1);
  }
  jpeg_finish_decompress(&d);
  jpeg_destroy_decompress(&d);
  if (*components == 3) {
    for (size_t i = 0; i < out.size(); i += 3) std::swap(out[i], out[i + 2]);
  }
  return out;
}

TEST(ImageJpegReader, DecodesAsLibjpegDoesByteForByte) {
  for (int components : {1, 3}) {
    for (bool progressive : {false, true}) {
      for (int width : {5, 13, 33}) {
        SCOPED_TRACE(::testing::Message() << components << " components, progressive " << progressive << ", width "
                                          << width);
        const std::vector<uint8_t> file =
            WriteJpeg(width, 9, components, progressive, components == 1 ? JCS_GRAYSCALE : JCS_RGB);
        int libComponents = 0;
        const std::vector<uint8_t> reference = LibjpegDecode(file, &libComponents);
        Decoded d(file);  // through the whole loader table
        ASSERT_EQ(d.result, 0);
        EXPECT_EQ(d.image.pitch, width * components);
        EXPECT_EQ(d.image.format.bytesPerPixel, components);
        if (components == 1) {
          EXPECT_EQ(d.image.format.palette[200].red, 200);
        }
        ASSERT_EQ(static_cast<size_t>(d.image.pitch) * d.image.height, reference.size());
        EXPECT_EQ(std::vector<uint8_t>(d.image.pixels, d.image.pixels + reference.size()), reference);
      }
    }
  }
}

TEST(ImageJpegReader, CutEmptyAndFourComponentFiles) {
  const std::vector<uint8_t> file = WriteJpeg(24, 24, 3, false, JCS_RGB);
  // Cut after its header: decodes, the rest made of an end-of-image marker.
  size_t sos = 2;
  while (sos + 1 < file.size() && !(file[sos] == 0xFF && file[sos + 1] == 0xDA)) ++sos;
  Decoded cut(std::vector<uint8_t>(file.begin(), file.begin() + sos + 20), LoadJpegImage);
  EXPECT_EQ(cut.result, 0);
  EXPECT_EQ(cut.image.width, 24);
  EXPECT_EQ(Decoded(std::vector<uint8_t>{}, LoadJpegImage).result, -1);
  EXPECT_EQ(Decoded(std::vector<uint8_t>{0xFF, 0xD8}, LoadJpegImage).result, -1);
  EXPECT_EQ(Decoded(WriteJpeg(8, 8, 4, false, JCS_CMYK), LoadJpegImage).result, -1);
}

}  // namespace
}  // namespace qor
