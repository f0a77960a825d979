// Picture checks, pixel conversion and fitting, shared by both back-ends.
#include <bit>
#include <cstring>

#include "platform/host/host_backend.h"
#include "platform/kernel/row_clones.h"

namespace plat {

namespace {

int BytesPerPixel(HostPixelFormat format) { return format == HostPixelFormat::Rgb565 ? 2 : 4; }

static_assert(std::endian::native == std::endian::little, "pixels are read low byte first");

// Eight pixels go through at a time as one vector (loads and stores through
// memcpy, so rows need not be aligned), the rest one by one with the same
// formula.
using Lanes = uint32_t __attribute__((vector_size(32)));
using HalfLanes = uint16_t __attribute__((vector_size(16)));
constexpr int kLanes = 8;

template <typename T>
inline T Widen565(T p) {
  const T r = (p >> 11) & 31u, g = (p >> 5) & 63u, b = p & 31u;
  return ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
}

PLAT_ROW_CLONES void Rgb565RowToXrgb(const unsigned char* s, int width, uint32_t* d) {
  int x = 0;
  for (; x + kLanes <= width; x += kLanes) {
    HalfLanes half;
    std::memcpy(&half, s + 2 * x, sizeof half);
    const Lanes out = Widen565(__builtin_convertvector(half, Lanes));
    std::memcpy(d + x, &out, sizeof out);
  }
  for (; x < width; ++x) {
    uint16_t p;
    std::memcpy(&p, s + 2 * x, 2);
    d[x] = Widen565<uint32_t>(p);
  }
}

PLAT_ROW_CLONES void XrgbRowToXrgb(const unsigned char* s, int width, uint32_t* d) {
  int x = 0;
  for (; x + kLanes <= width; x += kLanes) {
    Lanes p;
    std::memcpy(&p, s + 4 * x, sizeof p);
    p &= 0x00FFFFFFu;
    std::memcpy(d + x, &p, sizeof p);
  }
  for (; x < width; ++x) {
    uint32_t p;
    std::memcpy(&p, s + 4 * x, 4);
    d[x] = p & 0x00FFFFFFu;
  }
}

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
      Rgb565RowToXrgb(s, width, d);
    } else {
      XrgbRowToXrgb(s, width, d);
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
