// Shared by the screen tests: log lines expected in an order, mask records
// put in the table the way a creator would (the program has none), and a
// bitmap file of a known pattern for graphs that reload after a loss.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/core/life/framework_life.h"
#include "framework/core/memory.h"
#include "framework/qorlib.h"
#include "framework/graphics/screen/mask_screen.h"

namespace screentest {

// Starts the framework on a road without a scratch folder of its own: the
// fatal tests start it in the child process (whose thread the window must
// belong to) and read the log from the parent's folder.
inline void StartRoad(bool software, int bits, bool windowed, const char* road = nullptr) {
  setenv("ORB_GFX", road != nullptr ? road : software ? "soft" : "ddraw", 1);
  if (!windowed) qor::SwitchWindowModePublic(0);
  qor::RequestScreenModePublic(640, 480, bits, -1);
  const int started = qor::InitFramework();
  unsetenv("ORB_GFX");
  if (started != 0) _exit(3);
}

// Empty when every needle appears after the previous one; else the first
// needle not found in its place.
inline std::string MissingInOrder(const std::string& log, const std::vector<const char*>& needles) {
  size_t at = 0;
  for (const char* n : needles) {
    const size_t found = log.find(n, at);
    if (found == std::string::npos) return n;
    at = found + 1;
  }
  return "";
}

// A live mask record of w x h in the slot the table gives next, as the
// handle rules place it; -1 when the table is full.
inline int32_t AddMask(int32_t w, int32_t h) {
  qor::MaskScreenState& m = qor::GetMaskScreenState();
  int32_t slot = m.table.usedEnd;
  if (slot >= qor::kMaskHandleMax) {
    slot = 0;
    while (slot < qor::kMaskHandleMax && m.slots[slot] != nullptr) ++slot;
  }
  if (slot >= qor::kMaskHandleMax) return -1;
  qor::MaskData& r = m.records[slot];
  const int32_t handle = qor::AddHandleEntry(&m.table, &r);
  if (handle == -1) return -1;
  r.width = w;
  r.height = h;
  r.pitch = (w + 3) / 4 * 4;
  r.pixels = static_cast<uint8_t*>(qor::AllocMemoryZeroed(static_cast<size_t>(r.pitch * h), __FILE__, __LINE__));
  r.inUse = 1;
  return handle;
}

// A 24-bit bottom-up BMP of w x h whose colours are all exact on 16-bit
// screens.
inline void WriteBmp(const char* path, int w, int h) {
  const int pitch = (w * 3 + 3) & ~3;
  std::vector<uint8_t> f(54 + static_cast<size_t>(pitch) * h, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) f[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  f[0] = 'B', f[1] = 'M';
  put32(2, static_cast<uint32_t>(f.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(w));
  put32(22, static_cast<uint32_t>(h));
  f[26] = 1, f[28] = 24;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &f[54 + static_cast<size_t>(h - 1 - y) * pitch + x * 3];
      p[0] = static_cast<uint8_t>((x * 24) & 0xF8), p[1] = static_cast<uint8_t>((y * 40) & 0xF8),
      p[2] = static_cast<uint8_t>(((x ^ y) * 56) & 0xF8);
    }
  FILE* out = std::fopen(path, "wb");
  ASSERT_NE(out, nullptr);
  std::fwrite(f.data(), 1, f.size(), out);
  std::fclose(out);
}

}  // namespace screentest
