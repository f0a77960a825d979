// Placeholder pictures: sprite sheets as numbered shapes on the key colour,
// backgrounds as framed gradients, stage pictures painted from their maps.
#include "pictures.h"

#include <cstring>

namespace mkassets {

namespace {

// A colour cube entry from a hash, never dark and never the key.
uint8_t ShapeColour(uint32_t h) {
  return CubeIndex(1 + static_cast<int>(h % 5), static_cast<int>((h >> 8) % 5), 1 + static_cast<int>((h >> 16) % 5));
}

void DrawPiece(IndexedPicture& pic, int x0, int y0, int w, int h, uint32_t hash, int index) {
  const uint8_t body = ShapeColour(hash + static_cast<uint32_t>(index) * 2654435761u);
  const uint8_t edge = GreyIndex(4);
  // A filled ellipse inside the piece, with a dark rim.
  const float cx = (w - 1) / 2.0f, cy = (h - 1) / 2.0f;
  const float rx = w / 2.0f - 1.0f, ry = h / 2.0f - 1.0f;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const float dx = (x - cx) / rx, dy = (y - cy) / ry;
      const float d = dx * dx + dy * dy;
      if (d <= 1.0f) pic.At(x0 + x, y0 + y) = d > 0.8f ? edge : body;
    }
  }
  // The piece number as a row of small white marks.
  const int mark = w >= 16 && h >= 16 ? 3 : 1;
  for (int k = 0; k <= index && (k + 1) * (mark + 1) < w; ++k) {
    const int mx = x0 + 1 + k * (mark + 1);
    pic.Box(mx, y0 + h / 2 - mark / 2, mx + mark, y0 + h / 2 - mark / 2 + mark, GreyIndex(38));
  }
}

}  // namespace

IndexedPicture SheetPicture(const std::string& name, int pieces, int across, int down, int w, int h) {
  IndexedPicture pic;
  pic.width = across * w;
  pic.height = down * h;
  pic.Fill(kKeyIndex);
  const uint32_t hash = HashText(name);
  for (int i = 0; i < pieces && i < across * down; ++i) DrawPiece(pic, (i % across) * w, (i / across) * h, w, h, hash, i);
  return pic;
}

IndexedPicture BackdropPicture(const std::string& name, int width, int height) {
  IndexedPicture pic;
  pic.width = width;
  pic.height = height;
  pic.Fill(kKeyIndex);
  const uint32_t hash = HashText(name);
  const int hue = static_cast<int>(hash % 3);
  for (int y = 0; y < height; ++y) {
    const int level = 1 + y * 4 / (height > 0 ? height : 1);
    const uint8_t c = hue == 0 ? CubeIndex(0, level / 2, level) : hue == 1 ? CubeIndex(level, 0, level / 2)
                                                                           : CubeIndex(level / 2, level / 3, level);
    pic.Box(0, y, width, y + 1, c);
  }
  const uint8_t frame = GreyIndex(30);
  pic.Box(0, 0, width, 4, frame);
  pic.Box(0, height - 4, width, height, frame);
  pic.Box(0, 0, 4, height, frame);
  pic.Box(width - 4, 0, width, height, frame);
  // A few stripes so scrolling shows.
  for (int x = 32; x < width; x += 96) pic.Box(x, height / 3, x + 16, height / 3 + 16, GreyIndex(36));
  return pic;
}

IndexedPicture StagePicture(const StageMap& map, int firstColumn, int columns) {
  IndexedPicture pic;
  pic.width = columns * 32;
  pic.height = kRows * 32;
  pic.Fill(kKeyIndex);
  for (int y = 0; y < pic.height; ++y) {
    // Sky: light at the top, deeper lower down.
    const uint8_t sky = CubeIndex(2 + (y < 160 ? 1 : 0), 4, 5);
    pic.Box(0, y, pic.width, y + 1, sky);
  }
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < columns; ++c) {
      const int x0 = c * 32, y0 = r * 32;
      switch (map.tiles[r][firstColumn + c]) {
        case 1: pic.Box(x0, y0, x0 + 32, y0 + 32, CubeIndex(3, 2, 1)); pic.Box(x0, y0, x0 + 32, y0 + 2, CubeIndex(4, 3, 2)); break;
        case 2: pic.Box(x0, y0, x0 + 32, y0 + 6, CubeIndex(1, 4, 1)); break;
        case 3: pic.Box(x0, y0, x0 + 32, y0 + 32, CubeIndex(2, 0, 0)); break;
        case 4: pic.Box(x0, y0, x0 + 32, y0 + 32, CubeIndex(3, 4, 5)); break;
        case 5: case 6: case 7: case 8:
          for (int k = 0; k < 4; ++k) pic.Box(x0 + k * 8, y0 + 24 - k * 8, x0 + k * 8 + 8, y0 + 32, CubeIndex(5, 4, 1));
          break;
        case 9: pic.Box(x0, y0 + 16, x0 + 32, y0 + 32, CubeIndex(0, 2, 0)); break;
        case 10: pic.Box(x0, y0, x0 + 32, y0 + 32, CubeIndex(4, 0, 0)); break;
        default: break;
      }
    }
  }
  return pic;
}

}  // namespace mkassets
