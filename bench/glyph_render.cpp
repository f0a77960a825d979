// Glyph outlines per second through the font stand-in: a mixed run of
// ASCII, half-width katakana, kana and kanji at a 16- and a 32-pixel cell,
// monochrome (GGO_BITMAP) and grey (GGO_GRAY4_BITMAP), each glyph asked for
// its size and then its bits as the framework's glyph cache does.
#include <benchmark/benchmark.h>

#include <vector>

#include "platform/gdi/gdi_font.h"

namespace {

using namespace plat::gdi;

const uint32_t kCodes[] = {'A', 'g', '5', 0xB1, 0xDF, 0x82A0, 0x82F1, 0x8341, 0x8396,
                           0x889F, 0x8CBE, 0x93FA, 0x967B, 0x9F40, 0xE040, 0xEAA4};

void RenderGlyphs(benchmark::State& state, uint32_t format) {
  ResetGdiFontStandIn();
  const int cell = static_cast<int>(state.range(0));
  Hfont font = CreateFontA(cell, 0, 0, 0, FW_BOLD, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, NONANTIALIASED_QUALITY,
                           FIXED_PITCH, nullptr);
  if (font == nullptr) {
    state.SkipWithError("no font");
    return;
  }
  std::vector<uint8_t> buffer(1 << 20);
  GlyphMetrics gm;
  size_t i = 0;
  for (auto _ : state) {
    const uint32_t code = kCodes[i++ % std::size(kCodes)];
    const uint32_t size = GetGlyphOutlineForFont(font, code, format, &gm, 0, nullptr, &kIdentityMat2);
    benchmark::DoNotOptimize(
        GetGlyphOutlineForFont(font, code, format, &gm, size, buffer.data(), &kIdentityMat2));
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
  ResetGdiFontStandIn();
}

void Mono(benchmark::State& state) { RenderGlyphs(state, GGO_BITMAP); }
void Grey(benchmark::State& state) { RenderGlyphs(state, GGO_GRAY4_BITMAP); }

}  // namespace

BENCHMARK(Mono)->Arg(16)->Arg(32);
BENCHMARK(Grey)->Arg(16)->Arg(32);
