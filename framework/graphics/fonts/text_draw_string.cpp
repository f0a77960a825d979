// The 2D string draw and the framework's own string entry: straight into
// the destination when nothing blends, else through the font's work
// surface, drawn onto the target like any 2D piece.
#include <algorithm>

#include "framework/core/log.h"
#include "framework/core/window/main_window.h"
#include "framework/graphics/surfaces/blend_work.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/fonts/font_handles.h"
#include "framework/graphics/screen/mask_screen.h"
#include "framework/graphics/screen/screen.h"
#include "framework/graphics/surfaces/surface_2d.h"
#include "framework/graphics/fonts/text_draw.h"

namespace qor {

namespace {

bool DirectDrawMissing() {
  const ScreenState& s = GetScreenState();
  return !s.directDrawUnusable && s.directDraw == nullptr;
}

bool DrawBlends() {
  const DrawState& ds = GetDrawState();
  return !(ds.blendMode == 0 || (ds.blendMode == 1 && ds.blendParam == 255)) || ds.blendGraph != -1;
}

// Straight into the target: its memory image, or the locked surface.
int DrawStraight(int32_t x, int32_t y, const char* text, uint32_t color, uint32_t edge, int32_t handle,
                 int32_t vertical, const Rect& box) {
  ScreenState& s = GetScreenState();
  if (IsMemImageScreen()) {
    if (s.targetImage == nullptr || !IsMemImgValid(s.targetImage)) return -1;
    const Rect area = GetDrawState().drawArea;
    const int32_t ox = s.targetOffsetX, oy = s.targetOffsetY;
    const Rect clip{area.left + ox, area.top + oy, area.right + ox, area.bottom + oy};
    return DrawTextCachedTinted(1, x + ox, y + oy, text, color, s.targetImage, &clip, 1, handle, edge, -1, vertical,
                                nullptr) < 0
               ? -1
               : 0;
  }
  BlendWork& w = GetBlendWork();
  if (PrepareBlendWork(nullptr, 1, nullptr, &box, 1, &color, &edge) != 0) return -1;
  if (w.empty || w.dstWork == nullptr) return 0;
  const Rect clip{w.clipped.left + w.shiftX, w.clipped.top + w.shiftY, w.clipped.right + w.shiftX,
                  w.clipped.bottom + w.shiftY};
  DrawTextCachedTinted(1, x + w.shiftX, y + w.shiftY, text, color, w.dstWork, &clip, 1, handle, edge, -1, vertical,
                       nullptr);
  CommitBlendWork();
  return 0;
}

// Through the work surface: the string's box at (0, 0) of its image over a
// key (or clear) background, then that box drawn at its place.
int DrawThroughWork(int32_t x, int32_t y, const char* text, uint32_t color, uint32_t edge, int32_t handle,
                    int32_t vertical, const Rect& ink) {
  FontRecord* f = GetFontRecord(handle);
  if (RebuildFontCacheSurface(handle) != 0) return -1;
  const Surface2DPiece* piece = LookupSurface2D(f->workSurface);
  SurfaceDataRecord* data = piece != nullptr ? LookupSurfaceData(piece->surfaceData) : nullptr;
  if (data == nullptr || !IsMemImgValid(&data->image)) return -1;
  MemImage* image = &data->image;
  MemImgBuffer* buffer = image->buffer;
  // Screen pixel values in the work image's own format.
  const PixelFormatInfo* kind = GetMemImgColorFormat(buffer->formatKind, 0, 0);
  color = ConvertColorBetweenFormats(kind, &GetScreenState().format, color);
  edge = ConvertColorBetweenFormats(kind, &GetScreenState().format, edge);
  const Rect box{0, 0, std::min(ink.right - ink.left, image->width), std::min(ink.bottom - ink.top, image->height)};
  x += ink.left;
  y += ink.top;
  if (box.right <= 0 || box.bottom <= 0) return 0;
  // The key stays within the format's bits and is neither colour.
  uint32_t key = 0;
  if (!buffer->alphaFlag) {
    const PixelFormatInfo* fmt = buffer->format;
    const uint32_t bits = fmt->masks[0] | fmt->masks[1] | fmt->masks[2];
    key = buffer->keyColor & bits;
    for (int i = 0; i < 3 && (key == (color & bits) || key == (edge & bits)); ++i) key = (key + 1) & bits;
    buffer->keyColor = key;
  }
  FillMemImgRect(image, &box, key);
  const int r =
      DrawTextCachedTinted(1, -ink.left, -ink.top, text, color, image, &box, 1, handle, edge, -1, vertical, nullptr);
  RebuildMemImgRunTable(buffer);

  const KeptDrawSettings kept = KeepDrawSettings();
  if (r >= 0) {
    const Rect area = kept.area;
    SetTintRGB(255, 255, 255);
    SetClipArea(std::max(x, area.left), std::max(y, area.top), std::min(x + box.right, area.right),
                 std::min(y + box.bottom, area.bottom));
    if (x < area.right && y < area.bottom && x + box.right > area.left && y + box.bottom > area.top) {
      DrawSurface2DAt(x, y, f->workSurface, 1);
    }
  }
  PutBackDrawSettings(kept);
  return r < 0 ? -1 : 0;
}

}  // namespace

KeptDrawSettings KeepDrawSettings() {
  const DrawState& ds = GetDrawState();
  KeptDrawSettings k{ds.drawArea, ds.clipRequest, {}, ds.drawAreaEmpty, ds.blendMode, ds.blendParam,
                     {ds.tintRed, ds.tintGreen, ds.tintBlue}};
  std::copy(ds.drawAreaF, ds.drawAreaF + 4, k.areaF);
  return k;
}

void PutBackDrawSettings(const KeptDrawSettings& k) {
  DrawState& ds = GetDrawState();
  ds.drawArea = k.area;
  ds.clipRequest = k.request;
  std::copy(k.areaF, k.areaF + 4, ds.drawAreaF);
  ds.drawAreaEmpty = k.areaEmpty;
  SelectBlend(k.blendMode, k.blendParam);
  SetTintRGB(k.tint[0], k.tint[1], k.tint[2]);
}

int DrawStringDirectDraw(int32_t x, int32_t y, const char* text, uint32_t color, int32_t handle,
                         uint32_t edgeColor, int32_t vertical) {
  if (DirectDrawMissing()) return -1;
  FontRecord* f = GetFontRecord(handle);
  if (f == nullptr) return -1;
  if (f->textureCache) return DrawStringD3D(x, y, text, color, handle, edgeColor, vertical);
  // The string's box holds every pixel of its glyphs (edges, slants and
  // overhangs too), not only the advance, so both roads draw them all.
  Rect ink{};
  if (DrawTextCachedTinted(0, 0, 0, text, 0, nullptr, nullptr, 1, handle, 0, -1, vertical, nullptr, &ink) < 0)
    return -1;
  const uint32_t c = TintScreenColor(color), e = TintScreenColor(edgeColor);
  int32_t bits = 0;
  QueryScreenState(nullptr, nullptr, &bits);
  if (bits == 8 || (!DrawBlends() && (f->type & kFontTypeAntialiased) == 0)) {
    return DrawStraight(x, y, text, c, e, handle, vertical,
                        Rect{x + ink.left, y + ink.top, x + ink.right, y + ink.bottom});
  }
  return DrawThroughWork(x, y, text, c, e, handle, vertical, ink);
}

int DrawStringWithFont(int32_t x, int32_t y, const char* text, uint32_t color, int32_t handle, uint32_t edgeColor,
                       int32_t vertical) {
  if (text == nullptr || text[0] == '\0' || IsTextDrawingOff()) return 0;
  if (GetFontRecord(handle) == nullptr) {
    LogOutput("フォントハンドル値が異常です\n");
    return -1;
  }
  if (!IsWindowActive()) WaitWhileInactive();
  const DrawState& ds = GetDrawState();
  const bool texture = GetFontRecord(handle)->textureCache != 0;
  const bool wrap3 = texture && ds.blendMode == 3 && !GetD3D().drawingSuspended;
  const bool mask = ds.maskInUse != 0;
  Rect work{};  // the string's work rectangle
  if (mask || ds.drawTarget == kFrontScreen || wrap3) {
    if (x >= ds.drawArea.right) return 0;
    const int32_t size = QueryFontSize(handle);
    work = vertical ? Rect{x, y, x + size + 3, ds.drawArea.bottom} : Rect{x, y, ds.drawArea.right, y + size + 3};
  }
  Rect ink{};
  const int advance = DrawTextCachedTinted(0, 0, 0, text, 0, nullptr, nullptr, 1, handle, 0, -1, vertical, nullptr, &ink);
  // Edges and overhangs can pass the rectangle's size + 3: the mode-3 wrap
  // grows it to hold them, since what mode 3 draws outside the inverted part
  // would add.
  const Rect hook{std::min(work.left, x + ink.left), std::min(work.top, y + ink.top),
                  std::max(work.right, x + ink.right), std::max(work.bottom, y + ink.bottom)};
  if (mask) BeginMaskDraw(work.left, work.top, work.right, work.bottom, 0);
  if (ds.drawTarget == kFrontScreen && IsSoftwareRendering()) CaptureWindowToSoftBuffer();
  if (wrap3) EnterWhiteBlend3(hook);
  const int drawn = texture ? DrawStringD3D(x, y, text, color, handle, edgeColor, vertical)
                            : DrawStringDirectDraw(x, y, text, color, handle, edgeColor, vertical);
  if (wrap3) LeaveWhiteBlend3(hook);
  if (mask) EndMaskDraw(work.left, work.top, work.right, work.bottom, 0);
  if (drawn != 0) return -1;
  return advance;
}

}  // namespace qor
