// The font stand-in with whatever a caller could pass: face name bytes,
// heights and widths of any value, weights, italic, any character code and
// outline format, and buffers from empty to exactly the size asked for
// (allocated to that size, so a write past it is caught).
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz_support.h"
#include "platform/gdi/gdi_font.h"

using fuzz::Take;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace plat::gdi;
  // Heights are kept to a few hundred pixels so that a run stays quick; the
  // unit tests cover the limits.
  const int height = Take<int16_t>(data, size) % 300;
  const int width = Take<int16_t>(data, size) % 300;
  const int weight = Take<int16_t>(data, size);
  const uint8_t italic = Take<uint8_t>(data, size);
  const uint8_t nameLength = Take<uint8_t>(data, size) % 40;
  std::vector<char> name(data, data + (nameLength < size ? nameLength : size));
  data += name.size();
  size -= name.size();
  // A face name is read no further than 31 bytes: a longer one need not end.
  if (name.size() < 31) name.push_back('\0');
  Hfont font = CreateFontA(height, width, 0, 0, weight, italic & 1, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0,
                           name.size() <= 1 ? nullptr : name.data());
  if (font == nullptr) return 0;
  TextMetricA tm;
  GetTextMetricsForFont(font, &tm);
  for (int i = 0; i < 8 && size > 0; ++i) {
    const uint32_t code = Take<uint32_t>(data, size);
    const uint32_t format = Take<uint8_t>(data, size) % 8;
    const uint8_t shortBy = Take<uint8_t>(data, size) % 4;
    GlyphMetrics gm;
    const uint32_t need = GetGlyphOutlineForFont(font, code, format, &gm, 0, nullptr, &kIdentityMat2);
    if (need == GDI_ERROR || need == 0 || need > (1u << 22)) continue;
    const uint32_t given = need > shortBy ? need - shortBy : need;
    std::vector<uint8_t> buffer(given);
    GetGlyphOutlineForFont(font, code, format, &gm, given, buffer.data(), &kIdentityMat2);
  }
  DeleteFontObject(font);
  return 0;
}
