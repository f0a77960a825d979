// Pictures written with libpng and libjpeg themselves, for the image
// reader tests and the decoding benchmark.
#pragma once

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

namespace imagetest {

// libpng output into a byte vector (the write structure's I/O pointer).
inline void AppendPngBytes(png_structp png, png_bytep data, size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}
inline void NoPngFlush(png_structp) {}

// A JPEG of `components` components in `space`, quality 85, baseline or
// progressive; byte i of row y is sample(i, y).
template <typename Sample>
std::vector<uint8_t> WriteJpeg(int width, int height, int components, bool progressive, J_COLOR_SPACE space,
                               Sample sample) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &buffer, &size);
  c.image_width = width;
  c.image_height = height;
  c.input_components = components;
  c.in_color_space = space;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 85, TRUE);
  if (progressive) jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  std::vector<uint8_t> row(static_cast<size_t>(width) * components);
  while (c.next_scanline < c.image_height) {
    for (int i = 0; i < width * components; ++i) row[i] = sample(i, static_cast<int>(c.next_scanline));
    JSAMPROW p = row.data();
    jpeg_write_scanlines(&c, &p, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::vector<uint8_t> out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

}  // namespace imagetest
