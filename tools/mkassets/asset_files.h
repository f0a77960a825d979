// Writers of the placeholder asset set: pictures as BMP files (24-bit, or
// 8-bit run-length coded over one fixed palette) and sounds as 16-bit WAV.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mkassets {

// An 8-bit picture over the shared palette.
struct IndexedPicture {
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;  // top row first
  void Fill(uint8_t index) { pixels.assign(static_cast<size_t>(width) * height, index); }
  void Box(int x0, int y0, int x1, int y1, uint8_t index);  // right and bottom exclusive, clipped
  uint8_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The palette every 8-bit picture carries: entry 0 is the key colour
// (0, 255, 0); no other entry packs to it in 5:6:5.
struct Rgb {
  uint8_t r, g, b;
};
const Rgb* Palette();
constexpr uint8_t kKeyIndex = 0;
// The palette entry of a colour cube level (0-5 each).
uint8_t CubeIndex(int r, int g, int b);
uint8_t GreyIndex(int level);  // 0-38

// Both create the file's folders; false on any write failure.
bool WriteBmpRle8(const std::string& path, const IndexedPicture& picture);
bool WriteBmp24(const std::string& path, int width, int height, const std::vector<Rgb>& pixels);
bool WriteWav16(const std::string& path, int rate, const std::vector<int16_t>& samples);

// Deterministic 32-bit hash of a text, for colours and tones.
uint32_t HashText(const std::string& text);

// Creates every folder on the way to a file.
bool MakeParentFolders(const std::string& path);

}  // namespace mkassets
