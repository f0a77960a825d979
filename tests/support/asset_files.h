// Reading what the asset tool writes, without the framework or the game:
// little-endian fields, game file names as paths, and the collision pictures
// decoded with the tile colours typed in here.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "support/scratch_folder.h"

namespace testsupport {

inline uint32_t Le(const std::vector<uint8_t>& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b[at + i];
  return v;
}

// A game file name ("stage\001.bmp") as a path here.
inline std::string LocalPath(const char* gameName) {
  std::string s = gameName;
  for (char& c : s) c = c == '\\' ? '/' : c;
  return s;
}

// A 320 x 15 collision picture (24-bit, rows bottom first) as tile codes;
// false when the file is not one or a pixel is no tile's colour.
inline bool ReadCollisionMap(const std::string& path, int8_t (&tiles)[15][320]) {
  static const uint8_t kColours[11][3] = {{0, 0, 0},     {255, 255, 255}, {0, 255, 0}, {127, 0, 0},
                                          {0, 0, 127},   {255, 0, 0},     {0, 0, 255}, {255, 0, 255},
                                          {0, 255, 255}, {0, 127, 0},     {200, 0, 0}};
  const std::vector<uint8_t> b = ReadBytes(path);
  if (b.size() < 54 || Le(b, 18, 4) != 320 || Le(b, 22, 4) != 15 || Le(b, 28, 2) != 24) return false;
  const size_t data = Le(b, 10, 4);
  if (b.size() < data + 960 * 15) return false;
  for (int y = 0; y < 15; ++y) {
    for (int x = 0; x < 320; ++x) {
      const uint8_t* p = &b[data + (14 - y) * 960 + x * 3];
      int code = -1;
      for (int c = 0; c < 11; ++c) {
        if (kColours[c][0] == p[2] && kColours[c][1] == p[1] && kColours[c][2] == p[0]) code = c;
      }
      if (code < 0) return false;
      tiles[y][x] = static_cast<int8_t>(code);
    }
  }
  return true;
}

// An 8-bit run-length coded BMP as palette indexes, top row first, with its
// palette (0x00RRGGBB); false when the file is not one or a run leaves the
// picture. Escapes: end of line, end of picture, delta and literal runs.
struct IndexedBmp {
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;
  uint32_t palette[256] = {};
  uint8_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

inline bool ReadRle8Bmp(const std::string& path, IndexedBmp* out) {
  const std::vector<uint8_t> b = ReadBytes(path);
  if (b.size() < 54 + 1024 || b[0] != 'B' || b[1] != 'M' || Le(b, 28, 2) != 8 || Le(b, 30, 4) != 1) return false;
  const int w = static_cast<int>(Le(b, 18, 4)), h = static_cast<int>(Le(b, 22, 4));
  if (w <= 0 || h <= 0 || w > 8192 || h > 8192) return false;
  for (int i = 0; i < 256; ++i) out->palette[i] = Le(b, 54 + 4 * i, 3);
  out->width = w;
  out->height = h;
  out->pixels.assign(static_cast<size_t>(w) * h, 0);
  size_t at = Le(b, 10, 4);
  int x = 0, row = 0;  // row counts from the bottom
  while (at + 1 < b.size()) {
    const uint8_t n = b[at], v = b[at + 1];
    at += 2;
    if (n > 0) {
      for (int k = 0; k < n; ++k, ++x) {
        if (x >= w || row >= h) return false;
        out->pixels[static_cast<size_t>(h - 1 - row) * w + x] = v;
      }
    } else if (v == 0) {
      x = 0, ++row;
    } else if (v == 1) {
      return true;
    } else if (v == 2) {
      if (at + 1 >= b.size()) return false;
      x += b[at], row += b[at + 1];
      at += 2;
    } else {
      for (int k = 0; k < v; ++k, ++x) {
        if (at + k >= b.size() || x >= w || row >= h) return false;
        out->pixels[static_cast<size_t>(h - 1 - row) * w + x] = b[at + k];
      }
      at += (v + 1) / 2 * 2;
    }
  }
  return false;
}

}  // namespace testsupport
