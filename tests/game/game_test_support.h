// Shared by the game's tests: a clean game state, and a scratch start
// directory for the game's own files.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "framework/core/core_test_support.h"
#include "game/game_reset.h"

namespace orb::test {

using testsupport::ReadBytes;

// Each test runs in its own empty directory with every game module reset.
class GameFilesTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetGameModules(); }

  static void WriteBytes(const char* path, const std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path, "wb");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
    std::fclose(f);
  }

  static bool EnsureFolder() { return mkdir("file", 0777) == 0; }

  coretest::ScratchDir dir_;  // the current directory while the test runs
};

// Little-endian stores for the test-side file writers.
inline void Le32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
inline uint32_t FloatBits(float f) {
  uint32_t u;
  std::memcpy(&u, &f, 4);
  return u;
}

}  // namespace orb::test
