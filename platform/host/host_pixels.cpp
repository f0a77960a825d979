// Picture checks, pixel conversion and fitting, shared by both back-ends.
#include <bit>
#include <cstring>

#include "platform/host/host_backend.h"

namespace plat {

namespace {

int BytesPerPixel(HostPixelFormat format) { return format == HostPixelFormat::Rgb565 ? 2 : 4; }

static_assert(std::endian::native == std::endian::little, "pixels are read low byte first");

// The widening splits into a part from each byte of the pixel, ORed together
// (green's bits straddle the two), so two small tables do it a row at a time.
struct Widen565 {
  uint32_t low[256], high[256];
  Widen565() {
    for (uint32_t b = 0; b < 256; ++b) {
      low[b] = HostRgb565ToXrgb(static_cast<uint16_t>(b));
      high[b] = HostRgb565ToXrgb(static_cast<uint16_t>(b << 8));
    }
  }
};

}  // namespace

int HostDepthFromFormat(int bytesPerPixel, int significantBits) {
  if (bytesPerPixel >= 1 && bytesPerPixel <= 4) return bytesPerPixel * 8;
  return significantBits;
}

bool HostPictureValid(const void* pixels, int pitch, int width, int height, HostPixelFormat format) {
  if (!pixels || width <= 0 || height <= 0) return false;
  if (width > kHostMaxPictureSide || height > kHostMaxPictureSide) return false;
  if (format != HostPixelFormat::Rgb565 && format != HostPixelFormat::Xrgb8888) return false;
  const long long row = static_cast<long long>(width) * BytesPerPixel(format);
  const long long absPitch = pitch < 0 ? -static_cast<long long>(pitch) : pitch;
  return absPitch >= row;
}

void HostConvertToXrgb(const void* pixels, int pitch, int width, int height, HostPixelFormat format,
                       uint32_t* dst, int dstPitch) {
  const auto* src = static_cast<const unsigned char*>(pixels);
  auto* out = reinterpret_cast<unsigned char*>(dst);
  for (int y = 0; y < height; ++y) {
    const unsigned char* s = src + static_cast<std::ptrdiff_t>(y) * pitch;
    auto* d = reinterpret_cast<uint32_t*>(out + static_cast<std::ptrdiff_t>(y) * dstPitch);
    if (format == HostPixelFormat::Rgb565) {
      static const Widen565 widen;
      for (int x = 0; x < width; ++x) {  // bytes, so rows need not be aligned
        d[x] = widen.low[s[2 * x]] | widen.high[s[2 * x + 1]];
      }
    } else {
      for (int x = 0; x < width; ++x) {
        uint32_t p;
        std::memcpy(&p, s + 4 * x, 4);
        d[x] = p & 0x00FFFFFFu;
      }
    }
  }
}

void HostFoldHatIntoStick(HostPadState* state) {
  const int hat = state->hats[0];
  if (hat & 8) state->axes[0] = -32768;
  if (hat & 2) state->axes[0] = 32767;
  if (hat & 1) state->axes[1] = -32768;
  if (hat & 4) state->axes[1] = 32767;
}

HostRect HostFitPicture(int outWidth, int outHeight, int picWidth, int picHeight, bool* integral) {
  HostRect r;
  bool whole = false;
  if (outWidth > 0 && outHeight > 0 && picWidth > 0 && picHeight > 0) {
    const int scale = outWidth / picWidth < outHeight / picHeight ? outWidth / picWidth : outHeight / picHeight;
    // A whole-number scale keeps pixels square and sharp, but only while it
    // fills most of the room: the largest fit's share on one side or the other.
    const long long share = kHostWholeScaleSharePercent;
    const bool fills = static_cast<long long>(scale) * picWidth * 100 >= share * outWidth ||
                       static_cast<long long>(scale) * picHeight * 100 >= share * outHeight;
    long long w, h;
    if (scale >= 1 && fills) {
      whole = true;
      w = static_cast<long long>(picWidth) * scale;
      h = static_cast<long long>(picHeight) * scale;
    } else if (static_cast<long long>(outWidth) * picHeight <= static_cast<long long>(outHeight) * picWidth) {
      w = outWidth;  // width is the tighter side
      h = static_cast<long long>(outWidth) * picHeight / picWidth;
    } else {
      h = outHeight;
      w = static_cast<long long>(outHeight) * picWidth / picHeight;
    }
    if (w < 1) w = 1;
    if (h < 1) h = 1;
    r.left = static_cast<int>((outWidth - w) / 2);
    r.top = static_cast<int>((outHeight - h) / 2);
    r.right = r.left + static_cast<int>(w);
    r.bottom = r.top + static_cast<int>(h);
  }
  if (integral) *integral = whole;
  return r;
}

}  // namespace plat
