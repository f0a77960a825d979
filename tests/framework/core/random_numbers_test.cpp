#include "framework/core/random_numbers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <sstream>

using namespace qor;

namespace {

uint32_t Temper(uint32_t y) {
  y ^= y >> 11;
  y ^= (y << 7) & 0x9D2C5680u;
  y ^= (y << 15) & 0xEFC60000u;
  return y ^ (y >> 18);
}

}  // namespace

TEST(RandomNumbers, RefillMatchesTheReferenceGenerator) {
  // The standard initialisation of seed 5489; its 10,000th output is known.
  for (int mmx = 0; mmx < 2; ++mmx) {
    uint32_t words[kRandomStateWords];
    words[0] = 5489u;
    for (uint32_t i = 1; i < kRandomStateWords; ++i) words[i] = 1812433253u * (words[i - 1] ^ (words[i - 1] >> 30)) + i;
    for (int round = 0; round < 17; ++round) mmx ? RefillRandomStateMmx(words) : RefillRandomState(words);
    EXPECT_EQ(Temper(words[9999 - 16 * kRandomStateWords]), 4123659995u) << "mmx " << mmx;
  }
}

TEST(RandomNumbers, SeedingFillsFromThe69069GeneratorThenRefills) {
  ResetRandomNumbers();
  const uint32_t seed = 0xDEADBEEFu;
  SeedRandomNumber(seed);

  // The unrefilled state, loaded into the library's engine: its next 624
  // outputs are the tempered words of one refill.
  std::ostringstream state;
  uint32_t s = seed;
  for (int i = 0; i < kRandomStateWords; ++i) {
    const uint32_t high = s & 0xFFFF0000u;
    s = s * 69069u + 1u;
    state << (high | (s >> 16)) << ' ';
    s = s * 69069u + 1u;
  }
  state << kRandomStateWords;
  std::mt19937 engine;
  std::istringstream in(state.str());
  in >> engine;
  ASSERT_FALSE(in.fail());
  uint32_t words[kRandomStateWords];
  for (int i = 0; i < kRandomStateWords; ++i) {
    words[i] = GetRandomState().words[i];
    ASSERT_EQ(Temper(words[i]), engine()) << i;
  }
  // And the plain form agrees with it on the round after.
  RefillRandomState(words);
  for (int i = 0; i < kRandomStateWords; ++i) ASSERT_EQ(Temper(words[i]), engine()) << i;
  ResetRandomNumbers();
}
