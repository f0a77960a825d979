// Drawing a 40-character line (ASCII, half-width katakana, kana and kanji)
// with a 16-pixel edged font into a 32-bit memory image: from a warm glyph
// cache, and from a cold one (emptied before every line, so each glyph is
// rasterised again). Glyphs per second for each; the cold run also reports
// how many times faster the warm one was.
#include <benchmark/benchmark.h>

#include <time.h>

#include "framework/graphics/fonts/font_handles.h"
#include "framework/graphics/screen/screen.h"
#include "framework/graphics/fonts/text_draw.h"

namespace {

// 40 characters: 16 ASCII, 8 half-width katakana, 8 kana, 8 kanji.
const char kLine[] =
    "Orbworld Text 40"
    "\xB1\xB2\xB3\xB4\xB5\xB6\xB7\xB8"
    "\x82\xA0\x82\xA2\x82\xA4\x82\xA6\x82\xA8\x82\xA9\x82\xAB\x82\xAD"
    "\x88\x9F\x89\x40\x8A\xBF\x8E\x9A\x90\x6C\x93\xFA\x96\x7B\x8C\xEA";
constexpr int kGlyphs = 40;
double g_warmRate = 0;

void DrawLine(benchmark::State& state) {
  const bool cold = state.range(0) != 0;
  qor::GetScreenState().directDrawUnusable = 1;
  qor::GetScreenState().softwareRendering = 1;
  const int32_t font = qor::CreateFontHandle(nullptr, 16, 6, 3, -1, 1, 0, -1, -1);
  qor::MemImage image{};
  if (font == -1 || qor::CreateScreenMemImg(&image, 800, 24, 1) != 0) {
    state.SkipWithError("no font or image");
    return;
  }
  qor::DrawTextCached(1, 0, 0, 0, 1, 1, kLine, 0xFFFFFF, &image, nullptr, 1, font, 0, -1, 0, nullptr);
  timespec start{}, end{};
  clock_gettime(CLOCK_MONOTONIC, &start);
  for (auto _ : state) {
    if (cold) qor::ResetFontCache(font);
    benchmark::DoNotOptimize(
        qor::DrawTextCached(1, 0, 0, 0, 1, 1, kLine, 0xFFFFFF, &image, nullptr, 1, font, 0, -1, 0, nullptr));
  }
  clock_gettime(CLOCK_MONOTONIC, &end);
  const double seconds = static_cast<double>(end.tv_sec - start.tv_sec) + (end.tv_nsec - start.tv_nsec) * 1e-9;
  const double rate = seconds > 0 ? static_cast<double>(state.iterations()) * kGlyphs / seconds : 0;
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kGlyphs);
  if (!cold) g_warmRate = rate;
  if (cold && rate > 0) state.counters["warm_over_cold"] = g_warmRate / rate;
  qor::ReleaseMemImg(&image);
  qor::ResetFontModule();
}

}  // namespace

BENCHMARK(DrawLine)->Arg(0)->Arg(1)->ArgNames({"cold"});
