// Graph loading and creation on both roads (2D pieces or texture pieces); a
// file no image reader takes is tried as a movie.
#include "framework/graphics/graphs/graph_load.h"

#include "framework/core/files/file_access.h"
#include "framework/core/log.h"
#include "framework/core/window/main_window.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_movie.h"
#include "framework/graphics/images/image_loader.h"
#include "framework/graphics/screen/screen.h"
#include "framework/graphics/surfaces/surface_2d.h"

namespace qor {

namespace {

// Loads the picture and its "_a" companion, mirrored when asked. -1 when no
// reader took the file; otherwise `*withAlpha` tells whether the companion
// came too.
int LoadPictures(const char* path, int32_t mirror, GraphImage* image, GraphImage* alphaImage, bool* withAlpha) {
  *image = GraphImage{};
  *alphaImage = GraphImage{};
  const int result = LoadImageWithAlphaFile(path, nullptr, 0, 0, nullptr, 0, 0, image, alphaImage, 0);
  if (result == -1) return -1;
  *withAlpha = result == 0;
  if (mirror == 1) {
    MirrorImageHorizontally(image);
    if (*withAlpha) MirrorImageHorizontally(alphaImage);
  }
  return 0;
}

void MirrorBoth(GraphImage* image, GraphImage* alphaImage) {
  MirrorImageHorizontally(image);
  if (alphaImage != nullptr) MirrorImageHorizontally(alphaImage);
}

// CreateDividedGraphFromImage's work; `*made` counts the handles written.
int DivideImage(GraphImage* image, GraphImage* alphaImage, int32_t count, int32_t xCount, int32_t yCount, int32_t width,
                int32_t height, int32_t* outHandles, int32_t want3D, int32_t mirror, int32_t mirrorInside,
                int32_t* made) {
  *made = 0;
  const int32_t base = BuildGraphFromImage(image, alphaImage, want3D, mirror, mirrorInside);
  if (base == -1) return -1;
  const int64_t firstX = mirror == 1 ? static_cast<int64_t>(xCount - 1) * width : 0;
  const int64_t stepX = mirror == 1 ? -static_cast<int64_t>(width) : width;
  int32_t n = 0;
  for (int32_t row = 0; n < count; ++row) {
    if (row >= yCount || xCount < 1) break;  // no columns: no piece would ever be made
    int64_t x = firstX;
    for (int32_t column = 0; column < xCount && n < count; ++column, x += stepX) {
      const int64_t y = static_cast<int64_t>(row) * height;
      const int32_t piece = (x < 0 || x > INT32_MAX || y > INT32_MAX)
                                ? -1
                                : CarveSubGraph(static_cast<int32_t>(x), static_cast<int32_t>(y), width, height, base);
      if (piece == -1) {
        LogOutput("グラフィックの分割に失敗しました in CreateDividedGraphFromImage\n");
        for (int32_t i = 0; i < n; ++i) DestroyGraph(outHandles[i], 0);
        DestroyGraph(base, 0);
        return -1;
      }
      outHandles[n++] = piece;
      *made = n;
    }
  }
  DestroyGraph(base, 0);
  return 0;
}

}  // namespace

GraphCreateSettings CurrentGraphCreateSettings() {
  const DrawState& d = GetDrawState();
  const ScreenState& s = GetScreenState();
  GraphCreateSettings settings{};
  settings.newGraphColorBits = d.newGraphColorBits;
  settings.use3DGraphs = d.use3DGraphs;
  settings.newGraphDrawable = d.newGraphDrawable;
  settings.newGraphAlphaTest = d.newGraphAlphaTest;
  settings.newGraphSystemMemory = d.newGraphSystemMemory;
  settings.newGraphTextureOption = d.newGraphTextureOption;
  settings.direct3DInUse = s.direct3DInUse;
  settings.softwareRendering = s.softwareRendering;
  settings.directDrawUnusable = s.directDrawUnusable;
  return settings;
}

int32_t OpenGraphFile(const char* path, int32_t no3D) { return LoadGraphFromFile(path, no3D == 0 ? 1 : 0, 0, 0); }

int OpenDividedGraph(const char* path, int32_t count, int32_t xCount, int32_t yCount, int32_t width, int32_t height,
                     int32_t* outHandles, int32_t no3D) {
  return OpenDividedGraphFile(path, count, xCount, yCount, width, height, outHandles, no3D == 0 ? 1 : 0, 0);
}

int32_t CreateBlankGraph(int32_t width, int32_t height, int32_t no3D) {
  return CreateSizedGraph(width, height, no3D == 0 ? 1 : 0, GetDrawState().newGraphAlpha, 0);
}

int CaptureScreenToGraph(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t graph, int32_t flag) {
  GraphRecord* record = LookupGraph(graph);
  if (record == nullptr) return -1;
  WaitWhileInactive();
  EndSceneCurrentDevice();
  if (record->is3D) return CaptureScreenRectD3D(x1, y1, x2, y2, record, flag);
  return CaptureScreenRectDirectDraw(x1, y1, x2, y2, record);
}

int32_t LoadGraphFromFile(const char* path, int32_t want3D, int32_t mirror, int32_t movieOption) {
  if (!GetScreenState().managerStarted || path == nullptr) return -1;
  // What the device holds lands before the new graph's surfaces are made
  // and written.
  EndSceneCurrentDevice();
  WaitWhileInactive();
  GraphImage image, alphaImage;
  bool withAlpha = false;
  if (LoadPictures(path, mirror, &image, &alphaImage, &withAlpha) != 0) {
    const FileHandle file = FileOpenDispatch(path, 0, 1, 0);
    if (file == 0) {
      LogPrintf("グラフィックファイル %s がありません", path);
      return -1;
    }
    FileCloseDispatch(file);
    return LoadMovieGraph(path, want3D, movieOption);
  }
  const int32_t graph = BuildGraphFromImage(&image, withAlpha ? &alphaImage : nullptr, want3D, mirror, 0);
  if (graph != -1) RecordGraphSource(graph, path, -1);
  FreeGraphImage(&image);
  FreeGraphImage(&alphaImage);
  return graph;
}

int OpenDividedGraphFile(const char* path, int32_t count, int32_t xCount, int32_t yCount, int32_t width,
                         int32_t height, int32_t* outHandles, int32_t want3D, int32_t mirror) {
  if (!GetScreenState().managerStarted || path == nullptr) return -1;
  // What the device holds lands before the new graph's surfaces are made
  // and written.
  EndSceneCurrentDevice();
  WaitWhileInactive();
  GraphImage image, alphaImage;
  bool withAlpha = false;
  if (LoadPictures(path, mirror, &image, &alphaImage, &withAlpha) != 0) {
    LogPrintf("右記のグラフィックファイルのロードに失敗しました：%s", path);
    return -1;
  }
  int32_t made = 0;
  const int result = DivideImage(&image, withAlpha ? &alphaImage : nullptr, count, xCount, yCount, width, height,
                                 outHandles, want3D, mirror, 0, &made);
  // Only the handles this call wrote: the rest of the array may name other
  // graphs.
  for (int32_t i = 0; i < made; ++i) RecordGraphSource(outHandles[i], path, -1);
  FreeGraphImage(&image);
  FreeGraphImage(&alphaImage);
  return result;
}

int CreateDividedGraphFromImage(GraphImage* image, GraphImage* alphaImage, int32_t count, int32_t xCount,
                                int32_t yCount, int32_t width, int32_t height, int32_t* outHandles, int32_t want3D,
                                int32_t mirror, int32_t mirrorInside) {
  int32_t made = 0;
  return DivideImage(image, alphaImage, count, xCount, yCount, width, height, outHandles, want3D, mirror,
                     mirrorInside, &made);
}

int32_t BuildGraphFromImage(GraphImage* image, GraphImage* alphaImage, int32_t want3D, int32_t mirror,
                            int32_t mirrorInside) {
  ComputeUnusedMask(&image->format);
  if (alphaImage != nullptr) ComputeUnusedMask(&alphaImage->format);
  EndSceneCurrentDevice();
  const bool flip = mirrorInside == 1 && mirror == 1;
  if (flip) MirrorBoth(image, alphaImage);
  int32_t graph = CreateGraphForImage(image, alphaImage, want3D);
  if (graph != -1 && WriteImageToGraph(0, 0, 1, nullptr, image, alphaImage, 0, 0, graph, 0) != 0) {
    DestroyGraph(graph, 0);
    graph = -1;
  }
  if (flip) MirrorBoth(image, alphaImage);
  return graph;
}

int32_t BuildGraphFromSingleImage(GraphImage* image) { return BuildGraphFromImage(image, nullptr, 1, 0, 1); }

int32_t CreateGraphForImage(const GraphImage* image, const GraphImage* alphaImage, int32_t want3D) {
  EndSceneCurrentDevice();
  WaitWhileInactive();
  if (alphaImage != nullptr && (alphaImage->width != image->width || alphaImage->height != image->height)) return -1;
  const bool hasAlphaChannel = image->format.widths[kAlpha] != 0;
  const uint8_t paletteSource =
      (image->format.bytesPerPixel == 1 && !hasAlphaChannel && alphaImage == nullptr) ? 1 : 0;
  const int32_t alpha = (hasAlphaChannel || alphaImage != nullptr) ? 1 : 0;
  return CreateSizedGraph(image->width, image->height, want3D, alpha, paletteSource);
}

int32_t CreateSizedGraph(int32_t width, int32_t height, int32_t want3D, int32_t alpha, uint8_t paletteSource) {
  if (width < 1 || height < 1) return -1;
  const GraphCreateSettings settings = CurrentGraphCreateSettings();
  GraphRecord* record = nullptr;
  const int32_t graph = AddGraphRecord(width, height, want3D, &record, alpha, paletteSource, &settings);
  if ((record->is3D ? CreateGraphPieces3D(record) : CreateGraphSurface2D(record)) != 0) {
    LogOutput("グラフィックの作成に失敗しました\n");
    DestroyGraph(graph, 0);
    return -1;
  }
  return graph;
}

int32_t CarveSubGraph(int32_t x, int32_t y, int32_t width, int32_t height, int32_t parent) {
  const GraphRecord* from = LookupGraph(parent);
  if (from == nullptr) return -1;
  if (x < 0 || y < 0 || x >= from->width || y >= from->height || width < 1 || height < 1) return -1;
  if (width > from->width - x) width = from->width - x;
  if (height > from->height - y) height = from->height - y;
  GraphCreateSettings settings = CurrentGraphCreateSettings();
  GraphRecord* record = nullptr;
  const int32_t graph = AddGraphRecord(width, height, from->is3D, &record, from->alpha, from->paletteSource, &settings);
  record->movieHandle = from->movieHandle;
  SetGraphSourceNames(record, from->fileName, from->loadDirectory);
  record->sourceNamesCut = from->sourceNamesCut;
  record->is3D = from->is3D;
  record->alpha = from->alpha;
  record->drawable = from->drawable;
  record->systemMemory = from->systemMemory;
  record->textureOption = from->textureOption;
  record->alphaTest = from->alphaTest;
  record->colorBits = from->colorBits;
  record->memImageOption = from->memImageOption;
  record->paletteSource = from->paletteSource;
  record->sourceOption = from->sourceOption;
  record->sourceX = from->sourceX + x;
  record->sourceY = from->sourceY + y;
  if ((record->is3D ? DeriveGraphPieces3D(record, x, y, width, height, from)
                    : DeriveGraphSurface2D(record, x, y, width, height, from)) != 0) {
    LogOutput("グラフィックの派生に失敗しました終了します");
    record->movieHandle = -1;  // the movie stays the parent's
    DestroyGraph(graph, 0);
    return -1;
  }
  return graph;
}

int WriteImageToGraph(int32_t x, int32_t y, int32_t transparent, const char* sourceName, const GraphImage* image,
                      const GraphImage* alphaImage, int32_t sourceX, int32_t sourceY, int32_t graph,
                      uint32_t sourceOption) {
  if (RecordGraphSource(graph, sourceName, -1) != 0) return -1;
  GraphRecord* record = LookupGraph(graph);
  record->sourceOption = sourceOption;
  record->sourceX = sourceX;
  record->sourceY = sourceY;
  // The graph's top-left corner takes the image's pixel (x, y).
  if (record->is3D) return BlitImageToGraphPieces3D(image, alphaImage, x, y, record, transparent);
  return BlitImageIntoGraph(image, alphaImage, x, y, record, transparent);
}

int StoreImageInGraph(const GraphImage* image, int32_t x, int32_t y, int32_t transparent, const char* sourceName,
                      const Rect* rect, int32_t graph, uint32_t sourceOption) {
  if (RecordGraphSource(graph, sourceName, -1) != 0) return -1;
  GraphRecord* record = LookupGraph(graph);
  record->sourceOption = sourceOption;
  record->sourceX = rect->left;
  record->sourceY = rect->top;
  if (record->is3D) return BlitImageRectToGraphPieces3D(image, nullptr, rect, x, y, record, transparent);
  return BlitImageToGraphPieces(image, nullptr, rect, x, y, record, transparent);
}

int RecordGraphSource(int32_t graph, const char* name, int32_t from) {
  GraphRecord* record = LookupGraph(graph);
  if (record == nullptr) return -1;
  char directory[kFileNameCapacity] = "";
  if (name == nullptr && from != -1) {
    const GraphRecord* other = LookupGraph(from);
    if (other == nullptr) return -1;
    if (other->loadDirectory[0] != '\0') {
      SetGraphSourceNames(record, other->fileName, other->loadDirectory);
      return 0;
    }
    GetCurrentDirDispatch(directory, sizeof directory);
    SetGraphSourceNames(record, other->fileName, directory);
    return 0;
  }
  GetCurrentDirDispatch(directory, sizeof directory);
  SetGraphSourceNames(record, name != nullptr ? name : "", directory);
  return 0;
}

}  // namespace qor
