#include "framework/graphics/graphs/graph_movie.h"

#include <algorithm>

#include "framework/core/log.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/graphs/graph_load.h"
#include "framework/graphics/images/convert_pixels.h"
#include "framework/graphics/screen/screen.h"
#include "framework/graphics/screen/screen_size.h"
#include "framework/graphics/surfaces/surface_2d.h"
#include "framework/graphics/surfaces/surface_data.h"
#include "framework/sound/movie/movie.h"

namespace qor {

namespace {

// The frame as colour and, for a movie of alpha halves, its right half as
// the alpha image. False when there is no picture to copy.
bool FrameImages(MovieData* m, GraphImage* colour, GraphImage* alpha) {
  const GraphImage* frame = m->currentImage;
  if (frame == nullptr || frame->pixels == nullptr) return false;
  *colour = *frame;
  if (!m->alphaHalves) return true;
  colour->width = frame->width / 2;
  *alpha = *colour;
  alpha->pixels = frame->pixels + static_cast<intptr_t>(colour->width) * frame->format.bytesPerPixel;
  return true;
}

int64_t g_yuvFrameCopies = 0;

// The frame into each texture piece by a Blt from the decoder's YUV surface,
// the display converting. False when the RGB road must take the frame: no
// YUV surface, a movie of alpha halves (YUV has no alpha to give), or a
// surface that could not be written (its update was skipped) or blitted.
bool CopyYuvFrameToPieces(MovieData* m, GraphRecord* record) {
  if (GetTheoraYuvSurface(m->decoder) == nullptr || m->alphaHalves) return false;
  const int updated = UpdateTheoraFrame(m->decoder, 0, 1);
  // A lock that failed may have made the surface again.
  plat::DDSurface* yuv = static_cast<plat::DDSurface*>(GetTheoraYuvSurface(m->decoder));
  if (yuv == nullptr || m->decoder->yuvDone == 0) return false;
  if (updated == 0) return true;  // the surface already holds the frame
  FlushCurrentVertexBatch();
  for (int32_t i = 0; i < record->pieceCount; ++i) {
    const Surface3DData* p = LookupSurface3DData(record->pieceHandles[i]);
    SurfaceDataRecord* t = p != nullptr ? LookupSurfaceData(p->texture) : nullptr;
    if (t == nullptr || t->surface == nullptr) return false;
    const int32_t w = std::min<int32_t>(p->width, yuv->width() - p->x);
    const int32_t h = std::min<int32_t>(p->height, yuv->height() - p->y);
    if (w <= 0 || h <= 0) continue;
    const plat::Rect from{p->x, p->y, p->x + w, p->y + h};
    const plat::Rect to{p->textureX, p->textureY, p->textureX + w, p->textureY + h};
    if (t->surface->Blt(&to, yuv, &from, plat::DDBLT_WAIT, nullptr) != plat::DD_OK) return false;
    ApplySurfaceColorKey(p->texture);
  }
  ++g_yuvFrameCopies;
  return true;
}

}  // namespace

int64_t MovieYuvFrameCopies() { return g_yuvFrameCopies; }

int32_t LoadMovieGraph(const char* path, int32_t want3D, int32_t movieOption) {
  DrawState& d = GetDrawState();
  const int32_t colorBits = d.newGraphColorBits;
  const int32_t systemMemory = d.newGraphSystemMemory;
  const int32_t use3D = GetUse3DGraphs();
  const int32_t textureOption = d.newGraphTextureOption;
  int32_t width = 0, height = 0;
  const int32_t movie = OpenMovie(path, &width, &height, movieOption);
  if (movie < 0) {
    LogPrintf("右記のグラフィックファイルのロードに失敗しました：%s \n", path);
    return -1;
  }
  MovieData* m = GetMovieData(movie);
  if (IsMovieDirect(m)) {
    if (GetScreenState().directDraw == nullptr) SetDirect3DOffFlag(1);
    SetUse3DGraphs(0);
  }
  const int32_t screenBits = GetScreenColorBits();
  d.newGraphColorBits = screenBits != 0 ? screenBits : 16;
  d.newGraphSystemMemory = 1;
  d.newGraphTextureOption = 1;
  const int32_t graph = CreateSizedGraph(width, height, want3D, m->alphaHalves, 0);
  if (graph == -1) LogPrintf("右記のグラフィックファイルの格納用グラフィック領域の作成に失敗しました：%s", path);
  d.newGraphTextureOption = textureOption;
  d.newGraphColorBits = colorBits;
  d.newGraphSystemMemory = systemMemory;
  SetUse3DGraphs(use3D);
  if (graph == -1) {
    CloseMovie(movie);  // nothing would ever close it
    return -1;
  }
  GraphRecord* record = LookupGraph(graph);
  record->movieHandle = movie;
  SetMovieCallback(movie, record->is3D ? CopyMovieFrameToGraph3D : CopyMovieFrameToGraph, record);
  return graph;
}

// A memory-image store takes the frame through the piece transfer; a
// DirectDraw surface is locked and converted into straight from the frame.
void CopyMovieFrameToGraph(MovieData* m, void* graph) {
  GraphRecord* record = static_cast<GraphRecord*>(graph);
  if (record->is3D) {
    CopyMovieFrameToGraph3D(m, graph);
    return;
  }
  if (m->theora) UpdateTheoraFrame(m->decoder, 1, 0);
  GraphImage colour{}, alpha{};
  if (!FrameImages(m, &colour, &alpha)) return;
  const GraphImage* alphaImage = m->alphaHalves ? &alpha : nullptr;
  for (int32_t i = 0; i < record->pieceCount; ++i) {
    const Surface2DPiece* p = LookupSurface2D(record->pieceHandles[i]);
    const SurfaceDataRecord* d = p != nullptr ? LookupSurfaceData(p->surfaceData) : nullptr;
    if (d == nullptr) return;
    // The piece's own rectangle of the frame, cut to the frame.
    const Rect from{p->graphX, p->graphY, std::min<int32_t>(p->graphX + p->width, colour.width),
                    std::min<int32_t>(p->graphY + p->height, colour.height)};
    if (from.left >= from.right || from.top >= from.bottom) continue;
    if (d->memImageMode) {
      BlitImageToSurface2D(&colour, alphaImage, &from, 0, 0, record->pieceHandles[i], 0);
      continue;
    }
    if (d->surface == nullptr) return;
    int32_t pitch = 0;
    uint8_t* pixels = nullptr;
    if (d->surface->Lock(nullptr, &pitch, &pixels, plat::DDLOCK_WAIT | plat::DDLOCK_WRITEONLY) != plat::DD_OK) {
      LogOutput("ムービーグラフィック転送先サーフェスのロックに失敗しました");
      return;
    }
    plat::DDPixelFormat ddFormat;
    d->surface->GetPixelFormat(&ddFormat);
    PixelFormatInfo format{};
    MakeFormatFromDirectDraw(&ddFormat, &format);
    const PixelBlock to{pixels, pitch, d->surface->width(), d->surface->height(), &format};
    const PixelBlock frame = PixelBlockOfImage(&colour);
    const PixelBlock frameAlpha = alphaImage != nullptr ? PixelBlockOfImage(alphaImage) : PixelBlock{};
    ConvertPixelsBlt(&to, &frame, alphaImage != nullptr ? &frameAlpha : nullptr, p->surfaceX, p->surfaceY, &from,
                     nullptr);
    d->surface->Unlock(nullptr);
  }
}

void CopyMovieFrameToGraph3D(MovieData* m, void* graph) {
  GraphRecord* record = static_cast<GraphRecord*>(graph);
  if (!record->is3D) {
    CopyMovieFrameToGraph(m, graph);
    return;
  }
  // Theora frames come through the display's YUV surface when the decoder
  // has one, else through the RGB image; a frame that did not change is not
  // copied again.
  if (m->theora && CopyYuvFrameToPieces(m, record)) return;
  if (m->theora && UpdateTheoraFrame(m->decoder, 1, 0) == 0) return;
  GraphImage colour{}, alpha{};
  if (!FrameImages(m, &colour, &alpha)) return;
  BlitImageToGraphPieces3D(&colour, m->alphaHalves ? &alpha : nullptr, 0, 0, record, 0);
}

int UpdateGraphMovie(const GraphRecord* graph) {
  if (graph->movieHandle == -1) return 0;
  const MovieData* m = GetMovieData(graph->movieHandle);
  if (m == nullptr) return 0;
  UpdateMovie(graph->movieHandle, 0);
  return IsMovieDirect(m);
}

int DrawGraphMovieDirect(int32_t x, int32_t y, int32_t scale, const GraphRecord* graph) {
  return DrawMovieDirect(x, y, scale, graph->movieHandle, 1);
}

void CloseGraphMovie(GraphRecord* graph) {
  const MovieData* m = GetMovieData(graph->movieHandle);
  // A graph carved from a movie graph shares the movie but does not own it.
  if (m != nullptr && m->callbackData == graph) CloseMovie(graph->movieHandle);
  graph->movieHandle = -1;
}

}  // namespace qor
