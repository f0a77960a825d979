// Image decoding: 1024 x 1024 PNG and JPEG pictures decoded from memory
// through the loader table against libpng and libjpeg called directly with
// the same settings, and a 512 x 512 24-bit BMP loaded from a file against
// reading the file's bytes. The ratio benchmarks report our time over the
// other road's as the counter "ratio".
#include <benchmark/benchmark.h>
#include <png.h>
#include <stdlib.h>
#include <time.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

#include "framework/core/files/file_access.h"
#include "framework/core/files/memory_stream.h"
#include "framework/graphics/images/image_loader.h"
#include "platform/kernel/path_map.h"
#include "tests/framework/graphics/image_writers.h"
#include "bench_clock.h"

namespace {

constexpr int kSide = 1024;
constexpr int kBmpSide = 512;

// Picture-like content: smooth gradients with some texture.
uint8_t Sample(int x, int y, int c) {
  return static_cast<uint8_t>((x * (c + 1) / 4 + y / (c + 2) + ((x ^ y) & 15)) & 0xFF);
}

std::vector<uint8_t> MakePng() {
  std::vector<uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, imagetest::AppendPngBytes, imagetest::NoPngFlush);
  png_set_IHDR(png, info, kSide, kSide, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<uint8_t> row(kSide * 3);
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide * 3; ++x) row[x] = Sample(x / 3, y, x % 3);
    png_write_row(png, row.data());
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

std::vector<uint8_t> MakeJpeg() {
  return imagetest::WriteJpeg(kSide, kSide, 3, false, JCS_RGB, [](int i, int y) { return Sample(i / 3, y, i % 3); });
}

struct PngReadState {
  const std::vector<uint8_t>* data;
  size_t position;
};
void ReadBytes(png_structp png, png_bytep out, size_t length) {
  auto* s = static_cast<PngReadState*>(png_get_io_ptr(png));
  if (s->position + length > s->data->size()) png_error(png, "short");
  std::copy_n(s->data->data() + s->position, length, out);
  s->position += length;
}

// libpng with the reader's transformations, rows straight into one block.
bool DirectPng(const std::vector<uint8_t>& file, std::vector<uint8_t>* pixels) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  PngReadState state{&file, 0};
  png_set_read_fn(png, &state, ReadBytes);
  png_read_info(png, info);
  png_set_strip_16(png);
  png_set_packing(png);
  png_set_packswap(png);
  png_set_bgr(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const size_t rowBytes = png_get_rowbytes(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  pixels->resize(rowBytes * height);
  std::vector<png_bytep> rows(height);
  for (png_uint_32 y = 0; y < height; ++y) rows[y] = pixels->data() + rowBytes * y;
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

// libjpeg with blue, green, red output, rows straight into one block.
bool DirectJpeg(const std::vector<uint8_t>& file, std::vector<uint8_t>* pixels) {
  jpeg_decompress_struct d{};
  jpeg_error_mgr err{};
  d.err = jpeg_std_error(&err);
  jpeg_create_decompress(&d);
  jpeg_mem_src(&d, file.data(), file.size());
  jpeg_read_header(&d, TRUE);
  d.out_color_space = JCS_EXT_BGR;
  jpeg_start_decompress(&d);
  const size_t row = static_cast<size_t>(d.output_width) * d.output_components;
  pixels->resize(row * d.output_height);
  while (d.output_scanline < d.output_height) {
    JSAMPROW p = pixels->data() + row * d.output_scanline;
    jpeg_read_scanlines(&d, &p, 1);
  }
  jpeg_finish_decompress(&d);
  jpeg_destroy_decompress(&d);
  return true;
}

bool OursFromMemory(const std::vector<uint8_t>& file) {
  qor::GraphImage image{};
  const bool ok = qor::LoadImageToGraphImage(nullptr, file.data(), file.size(), 1, 0, &image) == 0;
  benchmark::DoNotOptimize(image.pixels);
  qor::FreeGraphImage(&image);
  return ok;
}

const std::vector<uint8_t>& Picture(int kind) {
  static const std::vector<uint8_t> png = MakePng();
  static const std::vector<uint8_t> jpeg = MakeJpeg();
  return kind == 0 ? png : jpeg;
}

// Both roads alternate in each iteration so they see the same machine state.
void BM_DecodeRatio(benchmark::State& state) {
  const std::vector<uint8_t>& file = Picture(static_cast<int>(state.range(0)));
  std::vector<uint8_t> pixels;
  double ours = 0, direct = 0;
  for (auto _ : state) {
    const double t0 = MonotonicSeconds();
    const bool a = OursFromMemory(file);
    const double t1 = MonotonicSeconds();
    const bool b = state.range(0) == 0 ? DirectPng(file, &pixels) : DirectJpeg(file, &pixels);
    const double t2 = MonotonicSeconds();
    if (!a || !b) state.SkipWithError("decode failed");
    ours += t1 - t0;
    direct += t2 - t1;
  }
  state.counters["ratio"] = direct > 0 ? ours / direct : 0;
  state.SetLabel(state.range(0) == 0 ? "PNG: table / libpng" : "JPEG: table / libjpeg");
}
BENCHMARK(BM_DecodeRatio)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

struct BmpFile {
  std::string host;
  std::string z;
  BmpFile() {
    char tmpl[] = "/tmp/orb_bench_image_XXXXXX";
    host = mkdtemp(tmpl);
    char buffer[1024];
    plat::HostPathToCp932(host.c_str(), buffer, sizeof buffer);
    z = std::string(buffer) + "\\picture.bmp";
    const uint32_t rowBytes = kBmpSide * 3;
    const uint32_t size = 54 + rowBytes * kBmpSide;
    std::vector<uint8_t> b(54, 0);
    auto put32 = [&](size_t at, uint32_t v) {
      for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, size);
    put32(10, 54);
    put32(14, 40);
    put32(18, kBmpSide);
    put32(22, kBmpSide);
    b[26] = 1;
    b[28] = 24;
    for (int y = 0; y < kBmpSide; ++y) {
      for (int x = 0; x < kBmpSide * 3; ++x) b.push_back(Sample(x / 3, y, x % 3));
    }
    std::FILE* f = std::fopen((host + "/picture.bmp").c_str(), "wb");
    if (f != nullptr) {
      std::fwrite(b.data(), 1, b.size(), f);
      std::fclose(f);
    }
  }
  ~BmpFile() { std::system(("rm -rf '" + host + "'").c_str()); }
};

size_t ReadFileBytes(const std::string& path, std::vector<uint8_t>* buffer) {
  const qor::FileHandle f = qor::FileOpenDispatch(path.c_str(), 0, 1, 0);
  if (f == 0) return 0;
  size_t total = 0;
  for (size_t got; (got = qor::FileReadDispatch(buffer->data(), 1, buffer->size(), f)) > 0;) total += got;
  qor::FileCloseDispatch(f);
  benchmark::DoNotOptimize(buffer->data());
  return total;
}

void BM_BmpLoadToReadRatio(benchmark::State& state) {
  static BmpFile file;
  std::vector<uint8_t> buffer(64 << 10);
  double load = 0, read = 0;
  for (auto _ : state) {
    const double t0 = MonotonicSeconds();
    qor::GraphImage image{};
    const bool ok = qor::LoadImageFileToGraphImage(file.z.c_str(), &image, 0) == 0;
    qor::FreeGraphImage(&image);
    const double t1 = MonotonicSeconds();
    const bool readOk = ReadFileBytes(file.z, &buffer) > 0;
    const double t2 = MonotonicSeconds();
    if (!ok || !readOk) state.SkipWithError("load failed");
    load += t1 - t0;
    read += t2 - t1;
  }
  state.counters["ratio"] = read > 0 ? load / read : 0;
  state.SetLabel("512 x 512 24-bit BMP: load / read bytes");
}
BENCHMARK(BM_BmpLoadToReadRatio)->Unit(benchmark::kMillisecond);

}  // namespace
