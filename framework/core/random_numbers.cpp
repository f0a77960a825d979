#include "framework/core/random_numbers.h"

namespace qor {

namespace {

RandomState g_random;

constexpr int kN = kRandomStateWords;
constexpr int kM = 397;
constexpr uint32_t kMatrix = 0x9908B0DFu;
constexpr uint32_t kUpper = 0x80000000u;
constexpr uint32_t kLower = 0x7FFFFFFFu;

uint32_t Twist(uint32_t current, uint32_t following, uint32_t distant) {
  const uint32_t y = (current & kUpper) | (following & kLower);
  return distant ^ (y >> 1) ^ ((y & 1u) != 0 ? kMatrix : 0u);
}

}  // namespace

const RandomState& GetRandomState() { return g_random; }

void ResetRandomNumbers() { g_random = RandomState{}; }

int DetectMmxSupport() { return 1; }

void RefillRandomState(uint32_t* words) {
  for (int i = 0; i < kN; ++i) words[i] = Twist(words[i], words[(i + 1) % kN], words[(i + kM) % kN]);
}

void RefillRandomStateMmx(uint32_t* words) {
  // Two words per step in the lanes of one 64-bit value, as a 64-bit MMX
  // register holds them. Both lanes read their inputs before either is
  // written; the distant words of the second half are already new, as in
  // the one-word form.
  const uint64_t upper = (static_cast<uint64_t>(kUpper) << 32) | kUpper;
  const uint64_t lower = (static_cast<uint64_t>(kLower) << 32) | kLower;
  const uint64_t matrix = (static_cast<uint64_t>(kMatrix) << 32) | kMatrix;
  const uint64_t lowBits = 0x0000000100000001ull;
  auto pack = [](uint32_t lo, uint32_t hi) { return (static_cast<uint64_t>(hi) << 32) | lo; };
  for (int i = 0; i < kN; i += 2) {
    const uint64_t current = pack(words[i], words[i + 1]);
    const uint64_t following = pack(words[(i + 1) % kN], words[(i + 2) % kN]);
    const uint64_t distant = pack(words[(i + kM) % kN], words[(i + 1 + kM) % kN]);
    const uint64_t y = (current & upper) | (following & lower);
    // Shift each lane right by one: the high lane's low bit must not fall
    // into the low lane.
    const uint64_t halved = (y >> 1) & lower;
    // All ones in each lane whose low bit is set.
    const uint64_t select = (y & lowBits) * 0xFFFFFFFFull;
    const uint64_t result = distant ^ halved ^ (matrix & select);
    words[i] = static_cast<uint32_t>(result);
    words[i + 1] = static_cast<uint32_t>(result >> 32);
  }
}

void SeedRandomNumber(uint32_t seed) {
  for (int i = 0; i < kN; ++i) {
    const uint32_t high = seed & 0xFFFF0000u;
    seed = seed * 69069u + 1u;
    g_random.words[i] = high | (seed >> 16);
    seed = seed * 69069u + 1u;
  }
  g_random.mmx = DetectMmxSupport();
  if (g_random.mmx != 0) RefillRandomStateMmx(g_random.words);
  else RefillRandomState(g_random.words);
  g_random.index = 0;
}

}  // namespace qor
