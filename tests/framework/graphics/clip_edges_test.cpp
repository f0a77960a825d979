// Mirrored, flipped, partial and stretched partial draws through the public
// draw entries, clipped at each of the four edges of the draw area, swept
// from wholly inside through touching the edge and one pixel past it to
// wholly outside, on the software and the DirectDraw roads. Every pixel
// around the draw is compared with a plain per-pixel loop written here:
// each entry becomes a destination rectangle with its directions and a
// narrowed area, and each covered pixel shows the source pixel the
// nearest-pixel walk picks (k x 65536 / scale, counted from the far side
// when mirrored).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "framework/graphics/graphs/draw_entries.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_image.h"
#include "framework/graphics/screen/screen_size.h"
#include "graphics_test_support.h"

using namespace qor;

namespace {

constexpr int kW = 9, kH = 6;                              // the graph
constexpr Rect kArea{40, 30, 200, 150};                    // the draw area
constexpr Rect kSeen{kArea.left - 30, kArea.top - 30, kArea.right + 30, kArea.bottom + 30};
constexpr int kPartX = 2, kPartY = 1, kPartW = 5, kPartH = 4;  // source rectangle of the partial draws

// A graph whose pixels all differ: red by column, green by row.
int32_t MakeDistinctGraph() {
  GraphCreateSettings settings{};
  settings.softwareRendering = IsSoftwareRendering();
  GraphRecord* g = nullptr;
  const int32_t handle = AddGraphRecord(kW, kH, 0, &g, 0, 0, &settings);
  EXPECT_EQ(CreateGraphSurface2D(g), 0);
  GraphImage image{};
  EXPECT_EQ(CreateRgb24GraphImage(kW, kH, &image), 0);
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      uint8_t* p = image.pixels + y * image.pitch + x * 3;
      p[0] = 0, p[1] = static_cast<uint8_t>(40 + 24 * y), p[2] = static_cast<uint8_t>(16 + 24 * x);
    }
  }
  const Rect all{0, 0, kW, kH};
  EXPECT_EQ(BlitImageToGraphPieces(&image, nullptr, &all, 0, 0, g, 0), 0);
  FreeGraphImage(&image);
  return handle;
}

// The graph's pixels as stored, in the screen's format.
std::vector<uint32_t> StoredPixels(int32_t graph) {
  const Surface2DPiece* piece = LookupSurface2D(LookupGraph(graph)->pieceHandles[0]);
  const SurfaceDataRecord* data = LookupSurfaceData(piece->surfaceData);
  const uint8_t* base = data->memImageMode ? data->image.pixels : data->surface->memory();
  const int32_t pitch = data->memImageMode ? data->image.buffer->pitch : data->surface->pitch();
  const int32_t bytes = GetScreenColorBits() / 8;
  std::vector<uint32_t> out;
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      uint32_t v = 0;
      std::memcpy(&v, base + (piece->surfaceY + y) * pitch + (piece->surfaceX + x) * bytes, bytes);
      out.push_back(v);
    }
  }
  return out;
}

// One draw as the reference sees it: the corners as the stretched walk gets
// them (left > right mirrors) and the area after any narrowing.
struct Walk {
  Rect corners;
  Rect area;
};

Rect Intersect(const Rect& a, const Rect& b) {
  return Rect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

// Source index along one axis for destination pixel p, or -1 when outside.
int SourceAt(int p, int from, int to, int size) {
  const bool mirrored = to < from;
  const int lo = std::min(from, to), hi = std::max(from, to);
  if (p < lo || p >= hi) return -1;
  const uint32_t scale = static_cast<uint32_t>((static_cast<int64_t>(hi - lo) * 65536) / size);
  const int k = static_cast<int>((static_cast<int64_t>(p - lo) * 65536) / scale);
  return mirrored ? size - 1 - k : k;
}

std::vector<uint32_t> Expected(const std::vector<uint32_t>& before, const std::vector<uint32_t>& source, const Walk& w) {
  std::vector<uint32_t> out = before;
  const int seenW = kSeen.right - kSeen.left;
  for (int py = kSeen.top; py < kSeen.bottom; ++py) {
    for (int px = kSeen.left; px < kSeen.right; ++px) {
      if (px < w.area.left || px >= w.area.right || py < w.area.top || py >= w.area.bottom) continue;
      const int sx = SourceAt(px, w.corners.left, w.corners.right, kW);
      const int sy = SourceAt(py, w.corners.top, w.corners.bottom, kH);
      if (sx >= 0 && sy >= 0) out[(py - kSeen.top) * seenW + px - kSeen.left] = source[sy * kW + sx];
    }
  }
  return out;
}

// The entries, each placed with its box's top-left at (x, y).
enum Entry { kMirrored, kFlippedBoth, kPart, kPartMirrored, kPartStretched, kPartStretchedMirrored, kEntries };
const char* const kNames[] = {"mirrored", "flipped both ways", "part", "part mirrored", "part stretched x2",
                              "part 1:1 mirrored"};

// The box a draw covers, for placing it across an edge.
void BoxSize(Entry e, int* w, int* h) {
  *w = e <= kFlippedBoth ? kW : e == kPartStretched ? 2 * kPartW : kPartW;
  *h = e <= kFlippedBoth ? kH : e == kPartStretched ? 2 * kPartH : kPartH;
}

// Draws through the public entry and returns the reference's view of it,
// from the entry's rules: a mirrored draw is the stretched draw from
// (x + w, y) to (x, y + h); a partial draw narrows the area to its box and
// draws the whole graph so the source rectangle lands on the box; a
// stretched partial draw scales the whole graph by the box over the source
// rectangle, mirrored when the box's corners come reversed.
Walk Draw(Entry e, int32_t g, int x, int y) {
  const Rect area = kArea;
  switch (e) {
    case kMirrored:
      EXPECT_EQ(BlitGraphMirrored(x, y, g, 0), 0);
      return {{x + kW, y, x, y + kH}, area};
    case kFlippedBoth:
      EXPECT_EQ(BlitGraphStretched(x + kW, y + kH, x, y, g, 0), 0);
      return {{x + kW, y + kH, x, y}, area};
    case kPart:
    case kPartMirrored: {
      const bool mirror = e == kPartMirrored;
      EXPECT_EQ(BlitGraphPart(x, y, kPartX, kPartY, kPartW, kPartH, g, 0, mirror ? 1 : 0), 0);
      const Rect narrowed = Intersect(area, Rect{x, y, x + kPartW, y + kPartH});
      const int left = mirror ? x + kPartX + kPartW : x - kPartX;
      const int right = mirror ? left - kW : left + kW;
      return {{left, y - kPartY, right, y - kPartY + kH}, narrowed};
    }
    case kPartStretched:
    case kPartStretchedMirrored: {
      const int s = e == kPartStretched ? 2 : 1;
      const bool mirror = e == kPartStretchedMirrored;
      const int xlo = x, xhi = x + s * kPartW, ylo = y, yhi = y + s * kPartH;
      if (mirror)
        EXPECT_EQ(BlitGraphPartStretched(xhi, ylo, xlo, yhi, kPartX, kPartY, kPartW, kPartH, g, 0), 0);
      else
        EXPECT_EQ(BlitGraphPartStretched(xlo, ylo, xhi, yhi, kPartX, kPartY, kPartW, kPartH, g, 0), 0);
      const Rect narrowed = Intersect(area, Rect{xlo, ylo, xhi, yhi});
      const int left = mirror ? xhi + s * kPartX : xlo - s * kPartX;
      const int right = mirror ? xhi - s * (kW - kPartX) : xlo + s * (kW - kPartX);
      return {{left, ylo - s * kPartY, right, ylo + s * (kH - kPartY)}, narrowed};
    }
    default:
      return {};
  }
}

void SweepEdges(bool software) {
  SCOPED_TRACE(software ? "soft" : "ddraw");
  gfxtest::Road road(software, 16);
  ASSERT_EQ(SelectDrawTarget(kBackScreen), 0);
  const int32_t g = MakeDistinctGraph();
  const std::vector<uint32_t> source = StoredPixels(g);
  const uint32_t background = PackColorRGB(0, 0, 255);
  const int seenW = kSeen.right - kSeen.left, seenH = kSeen.bottom - kSeen.top;
  for (int entry = 0; entry < kEntries; ++entry) {
    const Entry e = static_cast<Entry>(entry);
    int w = 0, h = 0;
    BoxSize(e, &w, &h);
    // The edge: 0 left, 1 right, 2 top, 3 bottom. The offset moves the box
    // from one pixel inside the edge, through touching it, to wholly past it.
    for (int edge = 0; edge < 4; ++edge) {
      const int span = edge < 2 ? w : h;
      for (int past = -1; past <= span + 1; ++past) {
        SCOPED_TRACE(testing::Message() << kNames[e] << " edge " << edge << " past " << past);
        int x = (kArea.left + kArea.right - w) / 2, y = (kArea.top + kArea.bottom - h) / 2;
        if (edge == 0) x = kArea.left - past;
        if (edge == 1) x = kArea.right - w + past;
        if (edge == 2) y = kArea.top - past;
        if (edge == 3) y = kArea.bottom - h + past;
        SetClipArea(0, 0, 640, 480);
        ASSERT_EQ(PaintBoxFilled(kSeen.left, kSeen.top, kSeen.right, kSeen.bottom, background), 0);
        SetClipArea(kArea.left, kArea.top, kArea.right, kArea.bottom);
        const std::vector<uint32_t> before = gfxtest::TargetPixels(kSeen.left, kSeen.top, seenW, seenH);
        const Walk walk = Draw(e, g, x, y);
        const std::vector<uint32_t> after = gfxtest::TargetPixels(kSeen.left, kSeen.top, seenW, seenH);
        const std::vector<uint32_t> want = Expected(before, source, walk);
        int wrong = 0;
        for (size_t i = 0; i < want.size(); ++i) {
          if (after[i] != want[i] && ++wrong <= 3) {
            ADD_FAILURE() << "pixel " << kSeen.left + static_cast<int>(i) % seenW << ","
                          << kSeen.top + static_cast<int>(i) / seenW << ": " << std::hex << after[i] << " want "
                          << want[i];
          }
        }
        ASSERT_EQ(wrong, 0);
        // The area as it was before the call.
        const Rect now = GetDrawState().drawArea;
        EXPECT_TRUE(now.left == kArea.left && now.top == kArea.top && now.right == kArea.right &&
                    now.bottom == kArea.bottom);
      }
    }
  }
}

}  // namespace

TEST(ClipEdges, MirroredAndPartialDrawsClipAtEveryEdgeOfTheDrawArea) {
  SweepEdges(true);
  SweepEdges(false);
}
