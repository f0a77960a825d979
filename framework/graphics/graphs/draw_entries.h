// The draw entry points: graphs plain, stretched, mirrored, rotated, on four
// corners and in parts, and boxes, each run through one fixed sequence of
// checks and hooks around the 2D back-end's draw.
#pragma once

#include <cstdint>

namespace qor {

int BlitGraph(int32_t x, int32_t y, int32_t graph, int32_t transparent);
int BlitGraphStretched(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t graph, int32_t transparent);
int BlitGraphMirrored(int32_t x, int32_t y, int32_t graph, int32_t transparent);
int BlitGraphRotated(float centerX, float centerY, double scale, double angle, int32_t graph, int32_t transparent,
                     int32_t turn);
int BlitGraphRotatedInt(int32_t x, int32_t y, double scale, double angle, int32_t graph, int32_t transparent,
                        int32_t turn);
// Corners top-left, top-right, bottom-left, bottom-right.
int BlitGraphQuad(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4, int32_t graph,
                  int32_t transparent);
int BlitGraphPart(int32_t x, int32_t y, int32_t sourceX, int32_t sourceY, int32_t width, int32_t height,
                  int32_t graph, int32_t transparent, int32_t mirror);
// -1 for a bad handle or a source width or height below 1.
int BlitGraphPartStretched(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t sourceX, int32_t sourceY,
                           int32_t sourceWidth, int32_t sourceHeight, int32_t graph, int32_t transparent);
int PaintBox(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t color, int32_t fill);
int PaintBoxFilled(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t color);
int PaintBoxOutline(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t color);
int FillGraphColor(int32_t graph, int32_t r, int32_t g, int32_t b, int32_t a);

// A double as an i32, saturated at the ends; NaN gives 0 and sets `*bad`.
int32_t SaturateToInt(double value, bool* bad);

}  // namespace qor
