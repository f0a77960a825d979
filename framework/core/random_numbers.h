// The framework's Mersenne-Twister state (MT19937). Start-up seeds it from
// the millisecond clock; the program never draws from it.
#pragma once

#include <cstdint>

namespace qor {

constexpr int kRandomStateWords = 624;

struct RandomState {
  uint32_t words[kRandomStateWords] = {};
  int index = 0;
  int mmx = 0;  // the MMX test's result when seeded
};

const RandomState& GetRandomState();
void ResetRandomNumbers();

// Fills the state from the seed with the 69069 congruential generator (each
// word takes the upper halves of two successive values), then regenerates it
// once.
void SeedRandomNumber(uint32_t seed);
// 1: the processor's MMX instructions are taken as usable on every machine,
// so that results never depend on the machine.
int DetectMmxSupport();
// One regeneration of the whole state by the MT19937 recurrence. The MMX
// form works on two words at a time and gives the same state.
void RefillRandomState(uint32_t* words);
void RefillRandomStateMmx(uint32_t* words);

}  // namespace qor
