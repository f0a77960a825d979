#include "game/graph_calls.h"

#include <cstdint>

#include "framework/qorlib.h"
#include "game/world/stage_load.h"

namespace orb {

GraphCalls graphCalls;

void ResetGraphCalls() { graphCalls = GraphCalls{}; }

namespace {

// The framework's entries in the table's shapes (the game never asks for
// 3D-free graphs nor draws part of a graph mirrored).
int FwOpenGraphFile(const char* file) { return qor::OpenGraphFilePublic(file, 0); }
int FwOpenDivided(const char* file, int pieces, int across, int down, int width, int height, int* handles) {
  return qor::OpenDividedGraphPublic(file, pieces, across, down, width, height, handles, 0);
}
int FwCreateBlank(int width, int height) { return qor::CreateBlankGraphPublic(width, height, 0); }
int FwBlitPart(int x, int y, int srcX, int srcY, int width, int height, int graph, int transparent) {
  return qor::BlitGraphPartPublic(x, y, srcX, srcY, width, height, graph, transparent, 0);
}
int FwPaintBox(int x1, int y1, int x2, int y2, uint32_t colour, int filled) {
  return qor::PaintBoxPublic(x1, y1, x2, y2, static_cast<int>(colour), filled);
}

void DestroyForStage(int graph) { DestroyGraph(graph); }
int OpenForStage(const char* file) { return OpenGraphFile(file); }
int OpenMapPicture(const char* file) { return graphCalls.openSoftImage ? graphCalls.openSoftImage(file) : -1; }
int ReadMapPixel(int picture, int x, int y, int* r, int* g, int* b) {
  int a = 0;
  return graphCalls.getSoftImagePixel ? graphCalls.getSoftImagePixel(picture, x, y, r, g, b, &a) : -1;
}
void CloseMapPicture(int picture) {
  if (graphCalls.deleteSoftImage) graphCalls.deleteSoftImage(picture);
}

}  // namespace

void InstallFrameworkGraphCalls() {
  graphCalls.openGraphFile = FwOpenGraphFile;
  graphCalls.openDividedGraph = FwOpenDivided;
  graphCalls.createBlankGraph = FwCreateBlank;
  graphCalls.destroyGraph = qor::DestroyGraphPublic;
  graphCalls.blitGraph = qor::BlitGraphPublic;
  graphCalls.blitGraphPart = FwBlitPart;
  graphCalls.blitGraphMirrored = qor::BlitGraphMirroredPublic;
  graphCalls.blitGraphRotatedInt = qor::BlitGraphRotatedIntPublic;
  graphCalls.paintBox = FwPaintBox;
  graphCalls.captureScreenToGraph = qor::CaptureScreenToGraphPublic;
  graphCalls.openSoftImage = qor::CreateSoftImageFromFilePublic;
  graphCalls.getSoftImagePixel = qor::GetSoftImagePixel;
  graphCalls.deleteSoftImage = qor::DeleteSoftImageHandlePublic;
  StageLoadHooks hooks{};
  hooks.openGraph = OpenForStage;
  hooks.destroyGraph = DestroyForStage;
  hooks.openMapPicture = OpenMapPicture;
  hooks.readMapPixel = ReadMapPixel;
  hooks.closeMapPicture = CloseMapPicture;
  SetStageLoadHooks(hooks);
}

int OpenGraphFile(const char* file) { return graphCalls.openGraphFile ? graphCalls.openGraphFile(file) : -1; }

int OpenDividedGraph(const char* file, int pieces, int across, int down, int width, int height, int* handles) {
  if (graphCalls.openDividedGraph) return graphCalls.openDividedGraph(file, pieces, across, down, width, height, handles);
  for (int i = 0; i < pieces; ++i) handles[i] = -1;
  return -1;
}

int CreateBlankGraph(int width, int height) {
  return graphCalls.createBlankGraph ? graphCalls.createBlankGraph(width, height) : -1;
}

int DestroyGraph(int graph) {
  if (graph == -1) return -1;
  return graphCalls.destroyGraph ? graphCalls.destroyGraph(graph) : -1;
}

int BlitGraph(int x, int y, int graph, int transparent) {
  return graphCalls.blitGraph ? graphCalls.blitGraph(x, y, graph, transparent) : -1;
}

int BlitGraphPart(int x, int y, int srcX, int srcY, int width, int height, int graph, int transparent) {
  return graphCalls.blitGraphPart ? graphCalls.blitGraphPart(x, y, srcX, srcY, width, height, graph, transparent)
                                  : -1;
}

int BlitGraphMirrored(int x, int y, int graph, int transparent) {
  return graphCalls.blitGraphMirrored ? graphCalls.blitGraphMirrored(x, y, graph, transparent) : -1;
}

int BlitGraphRotatedInt(int x, int y, double scale, double angle, int graph, int transparent, int turn) {
  return graphCalls.blitGraphRotatedInt
             ? graphCalls.blitGraphRotatedInt(x, y, scale, angle, graph, transparent, turn)
             : -1;
}

int PaintBox(int x1, int y1, int x2, int y2, uint32_t colour, int filled) {
  return graphCalls.paintBox ? graphCalls.paintBox(x1, y1, x2, y2, colour, filled) : -1;
}

int CaptureScreenToGraph(int x1, int y1, int x2, int y2, int graph, int flag) {
  return graphCalls.captureScreenToGraph ? graphCalls.captureScreenToGraph(x1, y1, x2, y2, graph, flag) : -1;
}

int PaintBoxRGB(int x1, int y1, int x2, int y2, int r, int g, int b) {
  return PaintBox(x1, y1, x2, y2, static_cast<uint32_t>(qor::PackColorRGBPublic(r, g, b)), 1);
}

int ToInt(double value) {
  if (!(value > -2147483648.0)) return value < 0 ? INT32_MIN : 0;  // NaN reads as 0
  return value < 2147483647.0 ? static_cast<int>(value) : INT32_MAX;
}

int ClampBlend(int64_t value) { return value < 0 ? 0 : value > 255 ? 255 : static_cast<int>(value); }

}  // namespace orb
