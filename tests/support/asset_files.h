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

}  // namespace testsupport
