#include "game/graph_calls.h"

#include "framework/qorlib.h"
#include "game/stage_load.h"

namespace orb {

GraphCalls graphCalls;

void ResetGraphCalls() { graphCalls = GraphCalls{}; }

namespace {

int DestroyThroughFramework(int graph) { return qor::DestroyGraphPublic(graph); }

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
  graphCalls.destroyGraph = DestroyThroughFramework;
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

int ClampBlend(int64_t value) { return value < 0 ? 0 : value > 255 ? 255 : static_cast<int>(value); }

}  // namespace orb
