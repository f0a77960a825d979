// Rotated draws of 32 x 32 and 256 x 256 sprites onto a 640 x 480 R5G6B5
// image, turning a little each draw, in blend modes 0, 1 and 2. Counters:
// pixels of the scanned boxes and pixels drawn, per second.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "framework/softrender/blend_tables.h"
#include "framework/softrender/mem_image.h"
#include "framework/softrender/xform_draw.h"
#include "framework/softrender/xform_rotate_setup.h"
#include "framework/softrender/xform_span.h"

namespace {

constexpr int kAngles = 64;

struct Counts {
  int64_t scanned = 0;
  int64_t drawn = 0;
};

// What one draw scans and draws, by the draw's own set-up.
Counts CountDraw(int size, float angle, const qor::Rect& area) {
  Counts n;
  qor::RotateSetup r;
  if (qor::PrepareRotation(320, 240, angle, 1.0f, size, size, false, area, &r) != qor::kRotateScan) return n;
  qor::XformSurface s = {};
  s.srcWidth = size;
  s.srcHeight = size;
  qor::ForEachRotatedSpan(r, [&](int32_t, int32_t, int32_t count, int64_t u, int64_t v) {
    n.scanned += count;
    qor::WalkSourceSpan(s, 0, 0, count, u, v, r.ux, r.vx, [&](uint8_t*, int32_t, int32_t) { ++n.drawn; });
  });
  return n;
}

void RotateSprite(benchmark::State& state, int size, int mode) {
  qor::ResetMemImageFormats();
  qor::BuildBlendTables();
  qor::MemImage screen = {}, sprite = {};
  qor::CreateMemImg(&screen, 640, 480, -1, 0, qor::kMemImgKindRgb565, 0, 0, 0, nullptr);
  qor::CreateMemImg(&sprite, size, size, -1, 0xF81F, qor::kMemImgKindRgb565, 0, 0, 0, nullptr);
  std::mt19937 rng(1);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      reinterpret_cast<uint16_t*>(sprite.pixels + y * sprite.buffer->pitch)[x] = static_cast<uint16_t>(rng());
  qor::SoftDrawSettings settings = {{0, 0, 640, 480}, mode, 160, 0xFFFFFF};

  std::vector<Counts> counts(kAngles);
  for (int i = 0; i < kAngles; ++i) counts[i] = CountDraw(size, 0.1f * static_cast<float>(i), settings.drawArea);
  Counts total;
  int i = 0;
  for (auto _ : state) {
    float angle = 0.1f * static_cast<float>(i);
    qor::DrawMemImgRotated(&screen, &sprite, 320, 240, angle, 1.0f, 1, 0, nullptr, &settings);
    benchmark::ClobberMemory();
    total.scanned += counts[i].scanned;
    total.drawn += counts[i].drawn;
    i = (i + 1) % kAngles;
  }
  state.counters["scanned_px_per_s"] = benchmark::Counter(static_cast<double>(total.scanned), benchmark::Counter::kIsRate);
  state.counters["drawn_px_per_s"] = benchmark::Counter(static_cast<double>(total.drawn), benchmark::Counter::kIsRate);
  qor::ReleaseMemImg(&sprite);
  qor::ReleaseMemImg(&screen);
}

void BM_Rotate32(benchmark::State& state) { RotateSprite(state, 32, static_cast<int>(state.range(0))); }
void BM_Rotate256(benchmark::State& state) { RotateSprite(state, 256, static_cast<int>(state.range(0))); }

BENCHMARK(BM_Rotate32)->Arg(0)->Arg(1)->Arg(2);
BENCHMARK(BM_Rotate256)->Arg(0)->Arg(1)->Arg(2);

}  // namespace
