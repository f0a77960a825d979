// The 2D back-end draws behind the draw entry points. In software rendering
// they run the software renderer on the target's memory image; otherwise on
// DirectDraw surfaces: a plain 1:1 copy by BltFast, anything else through the
// work images of blend_work.cpp and the same software routine.
#include <algorithm>
#include <cmath>
#include <vector>

#include "framework/graphics/surfaces/blend_work.h"
#include "framework/graphics/images/convert_pixels.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/screen/screen.h"
#include "framework/graphics/surfaces/surface_2d.h"
#include "framework/softrender/image_draw.h"
#include "framework/softrender/xform_draw.h"

namespace qor {

namespace {

// What one draw does on its destination: the images, the shift from target
// to destination coordinates and the settings (draw area already shifted).
struct DrawJob {
  MemImage* destination;
  const MemImage* source;
  int32_t dx, dy;
  SoftDrawSettings settings;
  const MemImage* blend;
};

bool DirectDrawMissing() {
  const ScreenState& s = GetScreenState();
  return !s.directDrawUnusable && s.directDraw == nullptr;
}

// Runs `draw` on the right destination for the current road.
template <typename Draw>
int RunDraw(const Surface2DPiece* piece, int32_t directAllowed, const Rect& sourceRect, const Rect& destinationRect,
            int32_t transparent, uint32_t* color1, uint32_t* color2, Draw draw) {
  if (DirectDrawMissing()) return -1;
  ScreenState& s = GetScreenState();
  DrawJob job{};
  job.settings = CurrentSoftSettings();
  job.blend = BlendGraphMemImage();
  if (IsMemImageScreen()) {
    if (s.targetImage == nullptr || !IsMemImgValid(s.targetImage)) return -1;
    MemImage targetView{}, sourceView{};
    job.destination = s.targetImage;
    if (s.targetOffsetX != 0 || s.targetOffsetY != 0) {
      MakeMemImgView(&targetView, s.targetImage, s.targetOffsetX, s.targetOffsetY,
                     s.targetImage->width - s.targetOffsetX, s.targetImage->height - s.targetOffsetY);
      job.destination = &targetView;
    }
    if (piece != nullptr) {
      const SurfaceDataRecord* data = LookupSurfaceData(piece->surfaceData);
      if (data == nullptr || !IsMemImgValid(&data->image)) return -1;
      job.source = &data->image;
      if (piece->width != data->width || piece->height != data->height) {
        MakeMemImgView(&sourceView, &data->image, piece->surfaceX, piece->surfaceY, piece->width, piece->height);
        job.source = &sourceView;
      }
    }
    draw(job);
    if (IsMemImgValid(&sourceView)) ReleaseMemImg(&sourceView);
    if (IsMemImgValid(&targetView)) ReleaseMemImg(&targetView);
    return 0;
  }
  BlendWork& w = GetBlendWork();
  if (PrepareBlendWork(piece, directAllowed, &sourceRect, &destinationRect, 0, color1, color2) != 0) return -1;
  if (w.empty) return 0;
  if (w.direct) {
    const uint32_t flags = plat::DDBLTFAST_WAIT | (transparent ? plat::DDBLTFAST_SRCCOLORKEY : 0);
    w.dstSurface->BltFast(w.dstX, w.dstY, w.srcSurface, &w.srcRect, flags);
    return 0;
  }
  job.destination = w.dstWork;
  job.source = w.srcWork;
  job.dx = w.shiftX;
  job.dy = w.shiftY;
  job.settings.drawArea = Rect{w.clipped.left + w.shiftX, w.clipped.top + w.shiftY, w.clipped.right + w.shiftX,
                               w.clipped.bottom + w.shiftY};
  draw(job);
  CommitBlendWork();
  return 0;
}

const Surface2DPiece* FirstPiece(const GraphRecord* graph) {
  return graph != nullptr && graph->pieceCount > 0 ? LookupSurface2D(graph->pieceHandles[0]) : nullptr;
}

}  // namespace

const MemImage* BlendGraphMemImage() {
  const int32_t blend = GetDrawState().blendGraph;
  if (blend == -1) return nullptr;
  const Surface2DPiece* p = FirstPiece(LookupGraph(blend));
  if (p == nullptr || LookupGraph(blend)->is3D) return nullptr;
  const SurfaceDataRecord* d = LookupSurfaceData(p->surfaceData);
  return d != nullptr && d->memImageMode && IsMemImgValid(&d->image) ? &d->image : nullptr;
}

int DrawSurface2DAt(int32_t x, int32_t y, int32_t pieceHandle, int32_t transparent) {
  const Surface2DPiece* piece = LookupSurface2D(pieceHandle);
  if (piece == nullptr) return -1;
  const Rect source{0, 0, piece->width, piece->height};
  const Rect destination{x, y, x + piece->width, y + piece->height};
  return RunDraw(piece, 1, source, destination, transparent, nullptr, nullptr, [&](DrawJob& j) {
    DrawMemImgAt(j.destination, j.source, x + j.dx, y + j.dy, transparent, j.blend, &j.settings);
  });
}

int DrawGraphDirectDraw(int32_t x, int32_t y, GraphRecord* graph, int32_t transparent) {
  if (graph == nullptr || graph->pieceCount < 1) return -1;
  return DrawSurface2DAt(x, y, graph->pieceHandles[0], transparent);
}

int DrawSurface2DStretched(int32_t x1, int32_t y1, int32_t x2, int32_t y2, GraphRecord* graph, int32_t transparent) {
  const Surface2DPiece* piece = FirstPiece(graph);
  if (piece == nullptr) return -1;
  if (!IsMemImageScreen() && x2 - x1 == graph->width && y2 - y1 == graph->height)
    return DrawGraphDirectDraw(x1, y1, graph, transparent);
  Rect box{x1, y1, x2, y2};
  NormalizeRect(&box);
  const Rect source{0, 0, piece->width, piece->height};
  return RunDraw(piece, 0, source, box, transparent, nullptr, nullptr, [&](DrawJob& j) {
    const Rect r{x1 + j.dx, y1 + j.dy, x2 + j.dx, y2 + j.dy};
    DrawMemImgStretched(j.destination, j.source, &r, transparent, j.blend, &j.settings);
  });
}

int DrawSurface2DRotated(float cx, float cy, double scale, double angle, GraphRecord* graph, int32_t transparent,
                         int32_t turn) {
  const Surface2DPiece* piece = FirstPiece(graph);
  if (piece == nullptr) return -1;
  const int32_t icx = static_cast<int32_t>(cx), icy = static_cast<int32_t>(cy);
  if (!std::isfinite(scale) || !std::isfinite(angle) || std::fabs(scale) > 8192.0) return 0;
  // The work box takes the rounded-out corners plus a pixel each way, so no
  // pixel the sprite touches falls outside it.
  const double hw = graph->width * scale * 0.5, hh = graph->height * scale * 0.5;
  const double c = std::cos(angle), sn = std::sin(angle);
  double minX = 1e18, minY = 1e18, maxX = -1e18, maxY = -1e18;
  const double corners[4][2] = {{-hw, -hh}, {hw, -hh}, {-hw, hh}, {hw, hh}};
  for (const auto& k : corners) {
    const double x = c * k[0] - sn * k[1] + icx, y = sn * k[0] + c * k[1] + icy;
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
  }
  const Rect box{static_cast<int32_t>(std::max(-16384.0, std::floor(minX) - 1)),
                 static_cast<int32_t>(std::max(-16384.0, std::floor(minY) - 1)),
                 static_cast<int32_t>(std::min(16384.0, std::ceil(maxX) + 2)),
                 static_cast<int32_t>(std::min(16384.0, std::ceil(maxY) + 2))};
  const Rect source{0, 0, piece->width, piece->height};
  return RunDraw(piece, 0, source, box, transparent, nullptr, nullptr, [&](DrawJob& j) {
    DrawMemImgRotated(j.destination, j.source, icx + j.dx, icy + j.dy, static_cast<float>(angle),
                      static_cast<float>(scale), transparent, turn, j.blend, &j.settings);
  });
}

// The work box holds the triangle's right and bottom pixels too: a vertex
// on a pixel's centre draws that pixel.
int DrawSurface2DQuad(const int32_t* vertices, GraphRecord* graph, int32_t transparent, uint32_t colour) {
  const Surface2DPiece* piece = graph != nullptr ? FirstPiece(graph) : nullptr;
  if (graph != nullptr && piece == nullptr) return -1;
  Rect box{vertices[0], vertices[1], vertices[0], vertices[1]};
  Rect source{vertices[2], vertices[3], vertices[2], vertices[3]};
  for (int i = 1; i < 3; ++i) {
    const int32_t* v = vertices + 4 * i;
    box = Rect{std::min(box.left, v[0]), std::min(box.top, v[1]), std::max(box.right, v[0]), std::max(box.bottom, v[1])};
    source = Rect{std::min(source.left, v[2]), std::min(source.top, v[3]), std::max(source.right, v[2]),
                  std::max(source.bottom, v[3])};
  }
  box.right += 1;
  box.bottom += 1;
  return RunDraw(piece, 0, source, box, transparent, &colour, nullptr, [&](DrawJob& j) {
    int32_t moved[12];
    std::copy(vertices, vertices + 12, moved);
    for (int i = 0; i < 3; ++i) {
      moved[4 * i] += j.dx;
      moved[4 * i + 1] += j.dy;
    }
    DrawMemImgTriangle(j.destination, j.source, moved, transparent, j.blend, colour, &j.settings);
  });
}

int DrawSurface2DQuadSplit(const int32_t* corners, GraphRecord* graph, int32_t transparent) {
  if (FirstPiece(graph) == nullptr) return -1;
  const int32_t w = graph->width, h = graph->height;
  const int32_t first[12] = {corners[0], corners[1], 0, 0, corners[2], corners[3], w, 0, corners[4], corners[5], 0, h};
  const int32_t second[12] = {corners[2], corners[3], w, 0, corners[4], corners[5], 0, h, corners[6], corners[7], w, h};
  if (DrawSurface2DQuad(first, graph, transparent, 0) != 0) return -1;
  return DrawSurface2DQuad(second, graph, transparent, 0);
}

int DrawGraphQuadDirectDraw(const float* corners, GraphRecord* graph, int32_t transparent) {
  int32_t whole[8];
  for (int i = 0; i < 8; ++i) {
    if (!std::isfinite(corners[i]) || std::fabs(corners[i]) > 1e6f) return 0;
    whole[i] = static_cast<int32_t>(corners[i]);
  }
  return DrawSurface2DQuadSplit(whole, graph, transparent);
}

int FillBoxDirectDraw(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t color) {
  Rect box{x1, y1, x2, y2};
  NormalizeRect(&box);
  return RunDraw(nullptr, 0, Rect{}, box, 0, &color, nullptr, [&](DrawJob& j) {
    const Rect r{box.left + j.dx, box.top + j.dy, box.right + j.dx, box.bottom + j.dy};
    PaintMemImgRect(j.destination, &r, color, &j.settings);
  });
}

// Line colours reach the work image in its format, as box colours do.
int DrawLinesDirectDraw(const LineRecord* lines, int32_t count) {
  if (count <= 0) return 0;
  Rect box{lines[0].x1, lines[0].y1, lines[0].x1, lines[0].y1};
  for (int32_t i = 0; i < count; ++i) {
    box.left = std::min({box.left, lines[i].x1, lines[i].x2});
    box.top = std::min({box.top, lines[i].y1, lines[i].y2});
    box.right = std::max({box.right, lines[i].x1, lines[i].x2});
    box.bottom = std::max({box.bottom, lines[i].y1, lines[i].y2});
  }
  box.right += 1;
  box.bottom += 1;
  return RunDraw(nullptr, 0, Rect{}, box, 0, nullptr, nullptr, [&](DrawJob& j) {
    const bool converted = GetBlendWork().convert != 0;
    const PixelFormatInfo* kindFormat = GetMemImgColorFormat(ScreenWorkKind(), 0, 0);
    std::vector<LineRecord> moved(lines, lines + count);
    for (LineRecord& l : moved) {
      l.x1 += j.dx;
      l.x2 += j.dx;
      l.y1 += j.dy;
      l.y2 += j.dy;
      if (converted)
        l.color = static_cast<int32_t>(
            ConvertColorBetweenFormats(kindFormat, &GetScreenState().format, static_cast<uint32_t>(l.color)));
    }
    DrawMemImgLineList(j.destination, moved.data(), count, &j.settings);
  });
}

int DrawBoxFrameDirectDraw(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t color) {
  const int32_t c = static_cast<int32_t>(color);
  const LineRecord lines[4] = {{x1, y1, x2 - 1, y1, c, 0},
                               {x2 - 1, y1, x2 - 1, y2 - 1, c, 0},
                               {x2 - 1, y2 - 1, x1, y2 - 1, c, 0},
                               {x1, y2 - 1, x1, y1, c, 0}};
  return DrawLinesDirectDraw(lines, 4);
}

}  // namespace qor

namespace qor {

int CaptureScreenRectDirectDraw(int32_t x1, int32_t y1, int32_t x2, int32_t y2, GraphRecord* graph) {
  ScreenState& s = GetScreenState();
  const DrawState& d = GetDrawState();
  const Surface2DPiece* piece = FirstPiece(graph);
  if (piece == nullptr || DirectDrawMissing()) return -1;
  int32_t tw = 0, th = 0;
  QueryTargetSize(d.drawTarget, &tw, &th);
  if (x1 >= x2 || y1 >= y2 || x2 - x1 != graph->width || y2 - y1 != graph->height || x1 < 0 || y1 < 0 || x2 > tw ||
      y2 > th)
    return -1;
  SurfaceDataRecord* data = LookupSurfaceData(piece->surfaceData);
  if (data == nullptr) return -1;
  const int32_t w = x2 - x1, h = y2 - y1;
  const Rect into{piece->surfaceX, piece->surfaceY, piece->surfaceX + w, piece->surfaceY + h};
  if (IsMemImageScreen() || s.targetSurface == nullptr) {
    if (d.drawTarget == kFrontScreen) CaptureWindowToSoftBuffer();
    if (s.targetImage == nullptr || !IsMemImgValid(s.targetImage)) return -1;
    const Rect from{x1 + s.targetOffsetX, y1 + s.targetOffsetY, x2 + s.targetOffsetX, y2 + s.targetOffsetY};
    if (data->memImageMode) return CopyMemImgRect(&data->image, s.targetImage, &from, into.left, into.top) < 0 ? -1 : 0;
    // A memory image into a graph surface: converted to the surface's
    // format, its spare bits set.
    int32_t pitch = 0;
    uint8_t* pixels = nullptr;
    const PixelFormatInfo* format = nullptr;
    if (LockSurfaceDataPixels(piece->surfaceData, &pitch, &pixels, 0, &into, &format) < 0 || format == nullptr)
      return -1;
    const PixelBlock to{pixels, pitch, w, h, format};
    const PixelBlock source = PixelBlockOfMemImg(s.targetImage);
    const Rect all{0, 0, w, h};
    ConvertPixelsBlt(&to, &source, nullptr, 0, 0, &from, nullptr);
    if (format->spareMask != 0) FillUnusedPixelBits(pixels, pitch, format, &all);
    UnlockSurfaceDataPixels(piece->surfaceData, &into);
    return 0;
  }
  Rect from{x1 + s.targetOffsetX, y1 + s.targetOffsetY, x2 + s.targetOffsetX, y2 + s.targetOffsetY};
  if (d.drawTarget == kFrontScreen) {
    Rect onDesktop;
    GetScreenRectOnDesktop(&onDesktop);
    from = Rect{from.left + onDesktop.left, from.top + onDesktop.top, from.right + onDesktop.left,
                from.bottom + onDesktop.top};
  }
  int32_t pitch = 0;
  uint8_t* pixels = nullptr;
  const plat::Rect lock{from.left, from.top, from.right, from.bottom};
  if (data->memImageMode) {
    // Screen pixels into a memory image: converted from the screen's format.
    if (s.targetSurface->Lock(&lock, &pitch, &pixels, plat::DDLOCK_WAIT) != plat::DD_OK) return -1;
    const PixelBlock source{pixels, pitch, w, h, &s.format};
    const PixelBlock target = PixelBlockOfMemImg(&data->image);
    const Rect all{0, 0, w, h};
    ConvertPixelsBlt(&target, &source, nullptr, into.left, into.top, &all, nullptr);
    s.targetSurface->Unlock(nullptr);
    return 0;
  }
  const plat::Rect to{into.left, into.top, into.right, into.bottom};
  if (data->surface->Blt(&to, s.targetSurface, &lock, plat::DDBLT_WAIT, nullptr) != plat::DD_OK) return -1;
  if (s.format.spareMask != 0 &&
      LockSurfaceDataPixels(piece->surfaceData, &pitch, &pixels, 0, &into, nullptr) >= 0) {
    const Rect all{0, 0, w, h};
    FillUnusedPixelBits(pixels, pitch, &s.format, &all);
    UnlockSurfaceDataPixels(piece->surfaceData, &into);
  }
  return 0;
}

}  // namespace qor
