// 2D surface pieces: rectangles of surface data placed in a graph. A graph
// made by the framework has one piece over the whole graph; a carved graph
// has one piece sharing its parent's surface data at an offset. Also the 2D
// back-end draws (surface_draw.cpp) and the blend work they share.
#pragma once

#include <cstdint>

#include "framework/graphics/graphs/graph_image.h"
#include "framework/graphics/graphs/graph_record.h"
#include "framework/graphics/graphs/rect.h"
#include "framework/graphics/surfaces/surface_data.h"
#include "framework/softrender/soft_primitives.h"

namespace qor {

struct Surface2DPiece {
  uint32_t check;
  int32_t* diedFlag;
  uint16_t graphX, graphY;
  uint16_t surfaceX, surfaceY;
  uint16_t width, height;
  int32_t owner;
  int32_t surfaceData;
};

void ResetSurface2DTable();
int32_t AddSurface2D(int32_t width, int32_t height, int32_t graphX, int32_t graphY, int32_t owner,
                     const Surface2DPiece* share, int32_t sharedX, int32_t sharedY, const SurfaceFlags* flags);
Surface2DPiece* LookupSurface2D(int32_t handle);
int RegisterSurface2DDiedFlag(int32_t handle, int32_t* flag);
int CreateGraphSurface2D(GraphRecord* graph);
int DeriveGraphSurface2D(GraphRecord* graph, int32_t x, int32_t y, int32_t width, int32_t height,
                         const GraphRecord* parent);
// Transfers the source rectangle of `image` (with an optional alpha image)
// to (x, y) of the graph, into every piece it overlaps.
int BlitImageToGraphPieces(const GraphImage* image, const GraphImage* alphaImage, const Rect* source, int32_t x,
                           int32_t y, GraphRecord* graph, int32_t transparent);
int BlitImageToSurface2D(const GraphImage* image, const GraphImage* alphaImage, const Rect* source, int32_t x,
                         int32_t y, int32_t piece, int32_t transparent);
// One piece's own rectangle (x, y, x + piece width, y + piece height) of
// the image, into the piece; -1 for a bad handle.
int BlitImageToOnePiece(const GraphImage* image, const GraphImage* alphaImage, int32_t x, int32_t y, int32_t piece,
                        int32_t transparent);
// Every piece takes its rectangle of the image at (x, y) plus its place in
// the graph; -1 at the first bad piece.
int BlitImageIntoGraph(const GraphImage* image, const GraphImage* alphaImage, int32_t x, int32_t y,
                       GraphRecord* graph, int32_t transparent);
int RestoreGraphPieces(GraphRecord* graph);
int RestoreAllPieces();
int FillGraphPieces(GraphRecord* graph, int32_t r, int32_t g, int32_t b, int32_t a);
int SetSoftBlendGraph(const GraphRecord* graph, int32_t parameter1, int32_t parameter2);
int DeleteSurface2D(int32_t piece);
int DeleteGraphSurfaces2D(GraphRecord* graph);
int DeleteAllSurface2D();
int ReleaseAllPieceSurfaces();
int RecreateAllPieceSurfaces();

// --- 2D draws (surface_draw.cpp) -------------------------------------------------
int DrawSurface2DAt(int32_t x, int32_t y, int32_t piece, int32_t transparent);
int DrawGraphDirectDraw(int32_t x, int32_t y, GraphRecord* graph, int32_t transparent);
int DrawSurface2DStretched(int32_t x1, int32_t y1, int32_t x2, int32_t y2, GraphRecord* graph, int32_t transparent);
int DrawSurface2DRotated(float cx, float cy, double scale, double angle, GraphRecord* graph, int32_t transparent,
                         int32_t turn);
// One triangle of three (x, y, u, v): the graph's first piece mapped onto
// it, or, with no graph, a flat triangle of `colour` (a pixel value).
int DrawSurface2DQuad(const int32_t* vertices, GraphRecord* graph, int32_t transparent, uint32_t colour);
int DrawSurface2DQuadSplit(const int32_t* corners, GraphRecord* graph, int32_t transparent);
int DrawGraphQuadDirectDraw(const float* corners, GraphRecord* graph, int32_t transparent);
int FillBoxDirectDraw(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t color);
int DrawLinesDirectDraw(const LineRecord* lines, int32_t count);
int DrawBoxFrameDirectDraw(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t color);
const MemImage* BlendGraphMemImage();
// Copies the rectangle of the draw target (the graph's exact size, inside the
// target) into the graph at (0, 0). 0 or -1.
int CaptureScreenRectDirectDraw(int32_t x1, int32_t y1, int32_t x2, int32_t y2, GraphRecord* graph);

}  // namespace qor
