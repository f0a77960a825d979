// The graph operations the game draws and loads with, reached through one
// table. The framework's public graph entries fill it at start-up; tests may
// fill it with their own recorders. An empty slot does nothing and loads
// nothing (-1), as drawing a missing picture does.
#pragma once

#include <cstdint>

namespace orb {

struct GraphCalls {
  int (*openGraphFile)(const char* file);
  int (*openDividedGraph)(const char* file, int pieces, int across, int down, int width, int height, int* handles);
  int (*createBlankGraph)(int width, int height);
  int (*destroyGraph)(int graph);
  int (*blitGraph)(int x, int y, int graph, int transparent);
  int (*blitGraphPart)(int x, int y, int srcX, int srcY, int width, int height, int graph, int transparent);
  int (*blitGraphMirrored)(int x, int y, int graph, int transparent);
  int (*blitGraphRotatedInt)(int x, int y, double scale, double angle, int graph, int transparent, int turn);
  int (*paintBox)(int x1, int y1, int x2, int y2, uint32_t colour, int filled);
  int (*captureScreenToGraph)(int x1, int y1, int x2, int y2, int graph, int flag);
  int (*openSoftImage)(const char* file);
  int (*getSoftImagePixel)(int image, int x, int y, int* r, int* g, int* b, int* a);
  int (*deleteSoftImage)(int image);
};

extern GraphCalls graphCalls;

// Every slot empty.
void ResetGraphCalls();

// Fills the table from the framework's public entries and plugs the stage
// loader's picture and collision-map hooks into them.
void InstallFrameworkGraphCalls();

// Thin callers of the table, named after the operations.
int OpenGraphFile(const char* file);
int OpenDividedGraph(const char* file, int pieces, int across, int down, int width, int height, int* handles);
int CreateBlankGraph(int width, int height);
int DestroyGraph(int graph);
int BlitGraph(int x, int y, int graph, int transparent);
int BlitGraphPart(int x, int y, int srcX, int srcY, int width, int height, int graph, int transparent);
int BlitGraphMirrored(int x, int y, int graph, int transparent);
int BlitGraphRotatedInt(int x, int y, double scale, double angle, int graph, int transparent, int turn);
int PaintBox(int x1, int y1, int x2, int y2, uint32_t colour, int filled);
int CaptureScreenToGraph(int x1, int y1, int x2, int y2, int graph, int flag);

// PaintBox with a colour given as RGB, packed for the screen.
int PaintBoxRGB(int x1, int y1, int x2, int y2, int r, int g, int b);

// A blend parameter from a value that may run far outside 0..255 (frame
// counters): clamped, as the framework would.
int ClampBlend(int64_t value);

// A screen or world coordinate truncated toward zero, saturated to the int
// range (a position or time far out of range draws off screen instead of
// being undefined).
int ToInt(double value);

}  // namespace orb
