#include "asset_files.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

namespace mkassets {

namespace {

void Put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

bool WriteAll(const std::string& path, const std::vector<uint8_t>& bytes) {
  if (!MakeParentFolders(path)) return false;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

// File header and the 40-byte info header.
void BmpHeaders(std::vector<uint8_t>& b, int width, int height, int bits, uint32_t compression, uint32_t dataSize,
                uint32_t paletteEntries) {
  const uint32_t dataOffset = 14 + 40 + paletteEntries * 4;
  b.push_back('B');
  b.push_back('M');
  Put32(b, dataOffset + dataSize);
  Put32(b, 0);
  Put32(b, dataOffset);
  Put32(b, 40);
  Put32(b, static_cast<uint32_t>(width));
  Put32(b, static_cast<uint32_t>(height));  // bottom-up
  Put16(b, 1);
  Put16(b, static_cast<uint32_t>(bits));
  Put32(b, compression);
  Put32(b, dataSize);
  Put32(b, 2835);
  Put32(b, 2835);
  Put32(b, paletteEntries);
  Put32(b, 0);
}

struct PaletteTable {
  Rgb entries[256];
  PaletteTable() {
    entries[0] = {0, 255, 0};
    int i = 1;
    for (int r = 0; r < 6; ++r) {
      for (int g = 0; g < 6; ++g) {
        for (int b = 0; b < 6; ++b) {
          Rgb c{static_cast<uint8_t>(r * 51), static_cast<uint8_t>(g * 51), static_cast<uint8_t>(b * 51)};
          if (c.r == 0 && c.g == 255 && c.b == 0) c.g = 240;  // would pack to the key
          entries[i++] = c;
        }
      }
    }
    for (int level = 0; i < 256; ++i, ++level) {
      const uint8_t v = static_cast<uint8_t>(level * 255 / 38);
      entries[i] = {v, v, v};
    }
  }
};

}  // namespace

const Rgb* Palette() {
  static const PaletteTable table;
  return table.entries;
}

uint8_t CubeIndex(int r, int g, int b) { return static_cast<uint8_t>(1 + r * 36 + g * 6 + b); }
uint8_t GreyIndex(int level) { return static_cast<uint8_t>(217 + (level < 0 ? 0 : level > 38 ? 38 : level)); }

void IndexedPicture::Box(int x0, int y0, int x1, int y1, uint8_t index) {
  if (x0 < 0) x0 = 0;
  if (y0 < 0) y0 = 0;
  if (x1 > width) x1 = width;
  if (y1 > height) y1 = height;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) At(x, y) = index;
  }
}

bool WriteBmpRle8(const std::string& path, const IndexedPicture& picture) {
  std::vector<uint8_t> data;
  for (int y = picture.height - 1; y >= 0; --y) {
    const uint8_t* row = picture.pixels.data() + static_cast<size_t>(y) * picture.width;
    for (int x = 0; x < picture.width;) {
      int run = 1;
      while (x + run < picture.width && run < 255 && row[x + run] == row[x]) ++run;
      data.push_back(static_cast<uint8_t>(run));
      data.push_back(row[x]);
      x += run;
    }
    data.push_back(0);
    data.push_back(y == 0 ? 1 : 0);  // end of line, or of the picture
  }
  std::vector<uint8_t> bytes;
  BmpHeaders(bytes, picture.width, picture.height, 8, 1, static_cast<uint32_t>(data.size()), 256);
  for (int i = 0; i < 256; ++i) {
    const Rgb& c = Palette()[i];
    bytes.push_back(c.b);
    bytes.push_back(c.g);
    bytes.push_back(c.r);
    bytes.push_back(0);
  }
  bytes.insert(bytes.end(), data.begin(), data.end());
  return WriteAll(path, bytes);
}

bool WriteBmp24(const std::string& path, int width, int height, const std::vector<Rgb>& pixels) {
  const int rowBytes = (width * 3 + 3) / 4 * 4;
  std::vector<uint8_t> bytes;
  BmpHeaders(bytes, width, height, 24, 0, static_cast<uint32_t>(rowBytes * height), 0);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const Rgb& c = pixels[static_cast<size_t>(y) * width + x];
      bytes.push_back(c.b);
      bytes.push_back(c.g);
      bytes.push_back(c.r);
    }
    for (int pad = width * 3; pad < rowBytes; ++pad) bytes.push_back(0);
  }
  return WriteAll(path, bytes);
}

bool WriteWav16(const std::string& path, int rate, const std::vector<int16_t>& samples) {
  std::vector<uint8_t> bytes;
  const uint32_t dataSize = static_cast<uint32_t>(samples.size() * 2);
  for (char c : {'R', 'I', 'F', 'F'}) bytes.push_back(static_cast<uint8_t>(c));
  Put32(bytes, 36 + dataSize);
  for (char c : {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '}) bytes.push_back(static_cast<uint8_t>(c));
  Put32(bytes, 16);
  Put16(bytes, 1);  // PCM
  Put16(bytes, 1);  // mono
  Put32(bytes, static_cast<uint32_t>(rate));
  Put32(bytes, static_cast<uint32_t>(rate * 2));
  Put16(bytes, 2);
  Put16(bytes, 16);
  for (char c : {'d', 'a', 't', 'a'}) bytes.push_back(static_cast<uint8_t>(c));
  Put32(bytes, dataSize);
  for (int16_t s : samples) Put16(bytes, static_cast<uint16_t>(s));
  return WriteAll(path, bytes);
}

uint32_t HashText(const std::string& text) {
  uint32_t h = 2166136261u;
  for (unsigned char c : text) h = (h ^ c) * 16777619u;
  return h;
}

bool MakeParentFolders(const std::string& path) {
  for (size_t i = 1; i < path.size(); ++i) {
    if (path[i] != '/') continue;
    const std::string folder = path.substr(0, i);
    if (mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) return false;
  }
  return true;
}

}  // namespace mkassets
