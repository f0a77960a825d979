// Graph loading and creation: graphs from image files (with the "_a" alpha
// companion), files cut into equal pieces, blank graphs, images in memory,
// rectangles carved out of other graphs and copies of the screen. Graphs
// made from files keep the file name and directory they came from, which is
// what the reload after device loss works from.
#pragma once

#include <cstdint>

#include "framework/graphics/graphs/graph_image.h"
#include "framework/graphics/graphs/graph_record.h"
#include "framework/graphics/graphs/rect.h"

namespace qor {

// The creation settings the draw state and the screen give a new graph now.
GraphCreateSettings CurrentGraphCreateSettings();

int32_t OpenGraphFile(const char* path, int32_t no3D);
int OpenDividedGraph(const char* path, int32_t count, int32_t xCount, int32_t yCount, int32_t width, int32_t height,
                     int32_t* outHandles, int32_t no3D);
int32_t CreateBlankGraph(int32_t width, int32_t height, int32_t no3D);
int CaptureScreenToGraph(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t graph, int32_t flag);

int32_t LoadGraphFromFile(const char* path, int32_t want3D, int32_t mirror, int32_t movieOption);
int OpenDividedGraphFile(const char* path, int32_t count, int32_t xCount, int32_t yCount, int32_t width,
                         int32_t height, int32_t* outHandles, int32_t want3D, int32_t mirror);
int CreateDividedGraphFromImage(GraphImage* image, GraphImage* alphaImage, int32_t count, int32_t xCount,
                                int32_t yCount, int32_t width, int32_t height, int32_t* outHandles, int32_t want3D,
                                int32_t mirror, int32_t mirrorInside);
int32_t BuildGraphFromImage(GraphImage* image, GraphImage* alphaImage, int32_t want3D, int32_t mirror,
                            int32_t mirrorInside);
int32_t BuildGraphFromSingleImage(GraphImage* image);
int32_t CreateGraphForImage(const GraphImage* image, const GraphImage* alphaImage, int32_t want3D);
// A graph of the size with its pieces; -1 (and no record left behind) when
// the pieces cannot be made.
int32_t CreateSizedGraph(int32_t width, int32_t height, int32_t want3D, int32_t alpha, uint8_t paletteSource);
// A graph showing the rectangle of the parent and sharing its surfaces. The
// rectangle must start inside the parent and have a positive size; it is
// cut to the parent's edges.
int32_t CarveSubGraph(int32_t x, int32_t y, int32_t width, int32_t height, int32_t parent);
int WriteImageToGraph(int32_t x, int32_t y, int32_t transparent, const char* sourceName, const GraphImage* image,
                      const GraphImage* alphaImage, int32_t sourceX, int32_t sourceY, int32_t graph,
                      uint32_t sourceOption);
// A rectangle of `image` into the graph at (x, y); the rectangle's left and
// top are kept as the source position.
int StoreImageInGraph(const GraphImage* image, int32_t x, int32_t y, int32_t transparent, const char* sourceName,
                      const Rect* rect, int32_t graph, uint32_t sourceOption);
int RecordGraphSource(int32_t graph, const char* name, int32_t from);

}  // namespace qor
