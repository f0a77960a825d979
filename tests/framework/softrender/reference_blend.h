// A reference model of the image draws, written channel by channel from the
// blend rules in 64-bit arithmetic, without the blend tables and without the
// packed-word tricks: sums and differences of modes 2 and 3 are spelled out
// as the per-channel carries and borrows. The renderer must agree with it
// bit for bit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qor::ref {

// kTransformed: the triangle, four-corner and rotated draws, which class
// pixels like the stretched draw and take none of its forms.
enum class Road { kAtSize, kRuns, kStretched, kTransformed };

constexpr int kPalette = 0;
constexpr int kDirect = 1;
constexpr int kAlpha = 2;

struct Draw {
  int kind;       // 0: R5G6B5, 1: X8R8G8B8
  int mode;       // blend mode
  int p;          // blend parameter 0..255
  uint32_t tint;  // 0x00RRGGBB
  Road road;
  int source;     // kPalette, kDirect, kAlpha
  int flag;       // transparent flag
  bool graph;
};

// One source pixel.
struct Sample {
  uint32_t stored;  // palette index, or the 16- or 32-bit pixel (alpha cells: the colour part for 16-bit)
  uint32_t color;   // palette entry or pixel colour (32-bit: byte 3 included)
  int alpha;        // alpha sources
  int runType;      // run class on Road::kRuns: 0 transparent, 1 opaque, 2 translucent
};

// The destination value after `s` is drawn onto `d`; `f` is the blend-graph
// factor (0..255) when the draw has a graph.
uint32_t Pixel(const Draw& draw, uint32_t key, const Sample& s, int f, uint32_t d);

// Blend modes 2 and 3 in 16-bit at full strength on the 1:1 walk take pixels
// in pairs.
bool UsesPairs(const Draw& draw);
// Both pixels of a pair (left, right), both drawn.
void Pair(const Draw& draw, uint32_t sLeft, uint32_t sRight, uint32_t* dLeft, uint32_t* dRight);

// Images for the reference draws: width x height values, row by row.
struct Grid {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> values;
  uint32_t& at(int x, int y) { return values[static_cast<size_t>(y) * width + x]; }
  uint32_t at(int x, int y) const { return values[static_cast<size_t>(y) * width + x]; }
};

struct Source {
  int width = 0;
  int height = 0;
  std::vector<Sample> samples;  // runType filled by the draw
  uint32_t key = 0;
  bool runTableUsable = false;  // valid run table and a view of the whole buffer
  const Sample& at(int x, int y) const { return samples[static_cast<size_t>(y) * width + x]; }
};

struct Area {
  int64_t left, top, right, bottom;
};

// `draw.road` is chosen inside; `graph` is null or holds one factor per
// source pixel; `area` is the draw area already cut to the destination.
void DrawAt(Draw draw, const Source& src, const Grid* graph, Grid* dst, Area area, int64_t x, int64_t y);
void DrawStretched(Draw draw, const Source& src, const Grid* graph, Grid* dst, Area area, int64_t left,
                   int64_t top, int64_t right, int64_t bottom);

}  // namespace qor::ref
