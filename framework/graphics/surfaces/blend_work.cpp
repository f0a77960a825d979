#include "framework/graphics/surfaces/blend_work.h"

#include <cstring>
#include <vector>

#include "framework/graphics/images/convert_pixels.h"
#include "framework/graphics/images/whole_block_copy.h"
#include "framework/graphics/graphs/draw_state.h"
#include "framework/graphics/screen/screen.h"
#include "framework/graphics/screen/screen_size.h"
#include "framework/graphics/surfaces/surface_data.h"

namespace qor {

namespace {

BlendWork g_work;

PixelBlock LockedBlock(uint8_t* pixels, int32_t pitch, int32_t w, int32_t h, const PixelFormatInfo* f) {
  return PixelBlock{pixels, pitch, w, h, f};
}

bool DrawBlends(const SurfaceDataRecord* source) {
  const DrawState& d = GetDrawState();
  return !(d.blendMode == 0 || (d.blendMode == 1 && d.blendParam == 255)) ||
         (source != nullptr && source->flags.alpha) || d.blendGraph != -1;
}

// Wraps locked memory as a work image of the screen's kind; with conversion
// the pixels (laid out in `format`) go into a separate image of that kind
// instead.
int WrapLocked(MemImage* wrap, MemImage* converted, uint8_t* pixels, int32_t pitch, int32_t w, int32_t h,
               uint32_t key, int convert, int32_t kind, const PixelFormatInfo* format, MemImage** out) {
  if (!convert) {
    std::memset(wrap, 0, sizeof *wrap);
    if (CreateMemImg(wrap, w, h, pitch, key, kind, 0, 0, 0, pixels) != 0) return -1;
    *out = wrap;
    return 0;
  }
  std::memset(converted, 0, sizeof *converted);
  if (CreateMemImg(converted, w, h, -1, key, kind, 0, 0, 0, nullptr) != 0) return -1;
  const PixelBlock to = PixelBlockOfMemImg(converted);
  const PixelBlock from = LockedBlock(pixels, pitch, w, h, format);
  ConvertWholeBlock(&to, &from);
  *out = converted;
  return 0;
}

void ReleaseImage(MemImage* image) {
  if (IsMemImgValid(image)) ReleaseMemImg(image);
}

// A draw changes colours only: the converted copy goes back through the
// pixel conversion into the target's layout, and of that only the colour
// bits of the pixels the draw changed reach the target; each keeps its own
// bits outside the colour masks (alpha, spare bits), and every other pixel
// is left as it was.
void WriteBackChanged(const BlendWork& w) {
  const PixelFormatInfo* own = &w.dstFormat;
  const int32_t width = w.dstConverted.width, height = w.dstConverted.height;
  const int32_t workBytes = w.dstConverted.buffer->format->bytesPerPixel, ownBytes = own->bytesPerPixel;
  std::vector<uint8_t> back(static_cast<size_t>(width) * static_cast<size_t>(height) * static_cast<size_t>(ownBytes));
  const PixelBlock to{back.data(), width * ownBytes, width, height, own};
  const PixelBlock from = PixelBlockOfMemImg(&w.dstConverted);
  ConvertWholeBlock(&to, &from);
  const uint32_t colour = own->masks[0] | own->masks[1] | own->masks[2];
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* now = w.dstConverted.pixels + y * w.dstConverted.buffer->pitch;
    const uint8_t* before = w.dstPrepared.pixels + y * w.dstPrepared.buffer->pitch;
    const uint8_t* converted = back.data() + static_cast<size_t>(y) * static_cast<size_t>(to.pitch);
    uint8_t* texel = w.dstLockPixels + y * w.dstLockPitch;
    for (int32_t x = 0; x < width; ++x, now += workBytes, before += workBytes, texel += ownBytes) {
      if (std::memcmp(now, before, static_cast<size_t>(workBytes)) == 0) continue;
      uint32_t value = 0, old = 0;
      std::memcpy(&value, converted + x * ownBytes, static_cast<size_t>(ownBytes));
      std::memcpy(&old, texel, static_cast<size_t>(ownBytes));
      value = (old & ~colour) | (value & colour);
      std::memcpy(texel, &value, static_cast<size_t>(ownBytes));
    }
  }
}

}  // namespace

BlendWork& GetBlendWork() { return g_work; }

int32_t ScreenWorkKind() { return GetScreenColorBits() == 16 ? kMemImgKindRgb565 : kMemImgKindXrgb8888; }

int PrepareBlendWork(const Surface2DPiece* piece, int32_t directAllowed, const Rect* sourceRect,
                     const Rect* destinationRect, int32_t plainWrite, uint32_t* color1, uint32_t* color2) {
  ScreenState& s = GetScreenState();
  DrawState& d = GetDrawState();
  BlendWork& w = g_work;
  CommitBlendWork();
  w = BlendWork{};
  w.srcLockedData = -1;
  const SurfaceDataRecord* source = piece != nullptr ? LookupSurfaceData(piece->surfaceData) : nullptr;
  const bool blends = DrawBlends(source);
  const bool tinted = CurrentTint() != 0xFFFFFF;
  w.convert = s.formatClass == kScreenClass555 || s.formatClass == kScreenClassOther ? 1 : 0;
  const int32_t placeX = s.targetOffsetX + (d.drawTarget == kFrontScreen ? d.screenPlacement.left : 0);
  const int32_t placeY = s.targetOffsetY + (d.drawTarget == kFrontScreen ? d.screenPlacement.top : 0);

  // Every road cuts the destination to the draw area first.
  w.clipped = *destinationRect;
  ClipRect(&w.clipped, &d.drawArea);
  if (w.clipped.left >= w.clipped.right || w.clipped.top >= w.clipped.bottom) {
    w.empty = 1;
    return 0;
  }

  // The target keeps its own layout (a texture's is any of the device's);
  // surfaces of 2D graphs are in the screen's.
  const bool eightBit = GetScreenColorBits() == 8;
  w.dstFormat = s.format;
  if (s.targetSurface != nullptr && !eightBit) {
    plat::DDPixelFormat own;
    s.targetSurface->GetPixelFormat(&own);
    MakeFormatFromDirectDraw(&own, &w.dstFormat);
  }
  if (directAllowed && source != nullptr && !blends && !tinted && source->surface != nullptr &&
      s.targetSurface != nullptr && IsSamePixelFormat(&w.dstFormat, &s.format) &&
      (s.targetInVideo ? !source->flags.systemMemory : source->flags.systemMemory)) {
    w.direct = 1;
    w.srcSurface = source->surface;
    w.dstSurface = s.targetSurface;
    // The source rectangle shrinks with the destination's cut.
    w.srcRect = plat::Rect{sourceRect->left + piece->surfaceX + (w.clipped.left - destinationRect->left),
                           sourceRect->top + piece->surfaceY + (w.clipped.top - destinationRect->top),
                           sourceRect->right + piece->surfaceX - (destinationRect->right - w.clipped.right),
                           sourceRect->bottom + piece->surfaceY - (destinationRect->bottom - w.clipped.bottom)};
    w.dstX = w.clipped.left + placeX;
    w.dstY = w.clipped.top + placeY;
    return 0;
  }

  // The software routines draw 16- and 32-bit pixels only: an 8-bit screen
  // has the plain copy and the plain writes of strings, whose palette
  // indices go into the locked memory as they are.
  if (eightBit && (piece != nullptr || !plainWrite || (s.targetImage != nullptr && IsMemImgValid(s.targetImage))))
    return -1;
  if (eightBit) w.convert = 0;
  const int32_t kind = eightBit ? kMemImgKindOne8 : ScreenWorkKind();
  const PixelFormatInfo* kindFormat = GetMemImgColorFormat(kind, 0, 0);
  const int32_t cw = w.clipped.right - w.clipped.left, ch = w.clipped.bottom - w.clipped.top;
  if (s.targetImage != nullptr && IsMemImgValid(s.targetImage)) {
    if (s.targetOffsetX != 0 || s.targetOffsetY != 0) {
      MakeMemImgView(&w.dstImage, s.targetImage, s.targetOffsetX, s.targetOffsetY,
                     s.targetImage->width - s.targetOffsetX, s.targetImage->height - s.targetOffsetY);
      w.dstWork = &w.dstImage;
    } else {
      w.dstWork = s.targetImage;
    }
  } else {
    if (s.targetSurface == nullptr) return -1;
    const plat::Rect lockRect{w.clipped.left + placeX, w.clipped.top + placeY, w.clipped.right + placeX,
                              w.clipped.bottom + placeY};
    if (s.targetSurface->Lock(&lockRect, &w.dstLockPitch, &w.dstLockPixels, plat::DDLOCK_WAIT) != plat::DD_OK)
      return -1;
    w.dstLocked = s.targetSurface;
    // A target of another layout than the work's is drawn on a converted
    // copy; a second copy keeps what the first held before the draw.
    const int32_t convertTarget = eightBit ? 0 : !IsSamePixelFormat(&w.dstFormat, kindFormat);
    if (WrapLocked(&w.dstImage, &w.dstConverted, w.dstLockPixels, w.dstLockPitch, cw, ch, 0, convertTarget, kind,
                   &w.dstFormat, &w.dstWork) != 0 ||
        (convertTarget && (CreateMemImg(&w.dstPrepared, cw, ch, -1, 0, kind, 0, 0, 0, nullptr) != 0 ||
                           CopyMemImgRect(&w.dstPrepared, &w.dstConverted, nullptr, 0, 0) != 0))) {
      CommitBlendWork();
      return -1;
    }
    w.shiftX = -w.clipped.left;
    w.shiftY = -w.clipped.top;
  }
  // The caller's colours are the screen's pixel values; every work image
  // is of the kind's format.
  if (w.convert) {
    if (color1 != nullptr) *color1 = ConvertColorBetweenFormats(kindFormat, &s.format, *color1);
    if (color2 != nullptr) *color2 = ConvertColorBetweenFormats(kindFormat, &s.format, *color2);
  }

  if (piece != nullptr) {
    if (source == nullptr) {
      CommitBlendWork();
      return -1;
    }
    if (source->memImageMode) {
      if (piece->surfaceX == 0 && piece->surfaceY == 0 && piece->width == source->width &&
          piece->height == source->height) {
        w.srcWork = &source->image;
      } else {
        MakeMemImgView(&w.srcImage, &source->image, piece->surfaceX, piece->surfaceY, piece->width, piece->height);
        w.srcWork = &w.srcImage;
      }
    } else {
      const Rect pieceRect{piece->surfaceX, piece->surfaceY, piece->surfaceX + piece->width,
                           piece->surfaceY + piece->height};
      int32_t pitch = 0;
      uint8_t* pixels = nullptr;
      if (LockSurfaceDataPixels(piece->surfaceData, &pitch, &pixels, 0, &pieceRect, nullptr) < 0) {
        CommitBlendWork();  // releases the destination lock taken above
        return -1;
      }
      w.srcLockedData = piece->surfaceData;
      const uint32_t t = d.transparentColor;
      const uint32_t key = PackColorForFormat(GetMemImgColorFormat(ScreenWorkKind(), 0, 0), (t >> 16) & 255,
                                              (t >> 8) & 255, t & 255, 255);
      MemImage* out = nullptr;
      if (WrapLocked(&w.srcImage, &w.srcConverted, pixels, pitch, piece->width, piece->height, key, w.convert,
                     ScreenWorkKind(), &s.format, &out) != 0) {
        CommitBlendWork();
        return -1;
      }
      w.srcWork = out;
    }
  }
  return 0;
}

int CommitBlendWork() {
  BlendWork& w = g_work;
  ReleaseImage(&w.srcImage);
  ReleaseImage(&w.srcConverted);
  if (w.srcLockedData != -1) UnlockSurfaceDataPixels(w.srcLockedData, nullptr);
  w.srcLockedData = -1;
  w.srcWork = nullptr;
  if (IsMemImgValid(&w.dstPrepared) && w.dstLocked != nullptr) WriteBackChanged(w);
  ReleaseImage(&w.dstPrepared);
  ReleaseImage(&w.dstConverted);
  ReleaseImage(&w.dstImage);
  if (w.dstLocked != nullptr) w.dstLocked->Unlock(nullptr);
  w.dstLocked = nullptr;
  w.dstWork = nullptr;
  return 0;
}

}  // namespace qor
