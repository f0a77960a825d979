#include "framework/sound/vorbis_setup_check.h"

#include <cmath>
#include <cstring>

namespace qor {

namespace {

constexpr uint32_t kCodebookSync = 0x564342;
constexpr int kLongestCodeword = 32;

// Vorbis packs its fields from the lowest bit of each byte up.
struct BitReader {
  const uint8_t* bytes;
  uint64_t bitCount;
  uint64_t at;
};

// `count` (at most 32) bits into `value`; false when the packet ends first.
bool ReadBits(BitReader* r, int count, uint32_t* value) {
  if (r->bitCount - r->at < static_cast<uint64_t>(count)) return false;
  uint32_t v = 0;
  for (int i = 0; i < count; ++i, ++r->at) {
    v |= static_cast<uint32_t>((r->bytes[r->at >> 3] >> (r->at & 7)) & 1) << i;
  }
  *value = v;
  return true;
}

bool SkipBits(BitReader* r, uint64_t count) {
  if (r->bitCount - r->at < count) return false;
  r->at += count;
  return true;
}

// The number of bits needed to write `x` (0 for 0).
int BitsOf(uint32_t x) {
  int n = 0;
  for (; x != 0; x >>= 1) ++n;
  return n;
}

// Whether base^exponent <= limit, without overflowing.
bool PowerAtMost(uint64_t base, uint32_t exponent, uint64_t limit) {
  uint64_t acc = 1;
  for (uint32_t i = 0; i < exponent; ++i) {
    if (base != 0 && acc > limit / base) return false;
    acc *= base;
  }
  return acc <= limit;
}

// The values of a lookup type 1 table: the largest r with r^dimensions <=
// entries (dimensions >= 1).
uint64_t Lookup1Values(uint32_t entries, uint32_t dimensions) {
  uint64_t r = static_cast<uint64_t>(std::floor(std::pow(static_cast<double>(entries), 1.0 / dimensions)));
  while (r > 0 && !PowerAtMost(r, dimensions, entries)) --r;
  while (PowerAtMost(r + 1, dimensions, entries)) ++r;
  return r;
}

// The lengths must fill the code tree exactly, as the decoder hands out
// codewords: neither more codewords than fit (the sum of 2^-length over 1)
// nor gaps left (under 1), except the single codeword of length 1 a codebook
// of one used entry has. A codebook with no used entry is never decoded from.
struct PrefixCode {
  uint64_t space;  // sum of 2^(32 - length) over the used entries
  uint32_t used;
  uint32_t lastLength;
};

bool AddCodeword(PrefixCode* code, uint32_t length) {
  if (length > kLongestCodeword) return false;
  code->space += uint64_t{1} << (kLongestCodeword - length);
  ++code->used;
  code->lastLength = length;
  return code->space <= uint64_t{1} << kLongestCodeword;
}

bool PrefixCodeWhole(const PrefixCode& code) {
  if (code.used == 0) return true;
  if (code.used == 1 && code.lastLength == 1) return true;
  return code.space == uint64_t{1} << kLongestCodeword;
}

VorbisSetupFault ReadLengths(BitReader* r, uint32_t entries) {
  PrefixCode code{};
  uint32_t ordered = 0;
  if (!ReadBits(r, 1, &ordered)) return kVorbisSetupCut;
  if (ordered == 0) {
    uint32_t sparse = 0;
    if (!ReadBits(r, 1, &sparse)) return kVorbisSetupCut;
    for (uint32_t i = 0; i < entries; ++i) {
      uint32_t present = 1;
      if (sparse != 0 && !ReadBits(r, 1, &present)) return kVorbisSetupCut;
      if (present == 0) continue;
      uint32_t length = 0;
      if (!ReadBits(r, 5, &length)) return kVorbisSetupCut;
      if (!AddCodeword(&code, length + 1)) return kVorbisSetupLengths;
    }
  } else {
    // Runs of entries sharing one length, the length rising by one a run.
    uint32_t length = 0;
    if (!ReadBits(r, 5, &length)) return kVorbisSetupCut;
    ++length;
    for (uint32_t entry = 0; entry < entries; ++length) {
      uint32_t run = 0;
      if (!ReadBits(r, BitsOf(entries - entry), &run)) return kVorbisSetupCut;
      if (run > entries - entry || length > kLongestCodeword) return kVorbisSetupLengths;
      for (uint32_t k = 0; k < run; ++k) {
        if (!AddCodeword(&code, length)) return kVorbisSetupLengths;
      }
      entry += run;
    }
  }
  return PrefixCodeWhole(code) ? kVorbisSetupSound : kVorbisSetupLengths;
}

VorbisSetupFault ReadCodebook(BitReader* r) {
  uint32_t sync = 0, dimensions = 0, entries = 0;
  if (!ReadBits(r, 24, &sync)) return kVorbisSetupCut;
  if (sync != kCodebookSync) return kVorbisSetupSync;
  if (!ReadBits(r, 16, &dimensions) || !ReadBits(r, 24, &entries)) return kVorbisSetupCut;
  if (dimensions == 0) return kVorbisSetupDimension;
  const VorbisSetupFault lengths = ReadLengths(r, entries);
  if (lengths != kVorbisSetupSound) return lengths;
  uint32_t lookup = 0;
  if (!ReadBits(r, 4, &lookup)) return kVorbisSetupCut;
  if (lookup == 0) return kVorbisSetupSound;
  if (lookup > 2) return kVorbisSetupLookup;
  // Minimum and delta (32 bits each), the value width, the sequence flag.
  uint32_t valueBits = 0, sequence = 0;
  if (!SkipBits(r, 64) || !ReadBits(r, 4, &valueBits) || !ReadBits(r, 1, &sequence)) return kVorbisSetupCut;
  const uint64_t values = lookup == 1 ? Lookup1Values(entries, dimensions) : uint64_t{entries} * dimensions;
  return SkipBits(r, values * (valueBits + 1)) ? kVorbisSetupSound : kVorbisSetupCut;
}

}  // namespace

int CheckVorbisSetupHeader(const uint8_t* packet, size_t size, VorbisSetupCheck* check) {
  *check = VorbisSetupCheck{kVorbisSetupSound, -1};
  if (size < 7 || packet[0] != 5 || std::memcmp(packet + 1, "vorbis", 6) != 0) {
    check->fault = kVorbisSetupNotSetup;
    return -1;
  }
  BitReader r{packet, uint64_t{size} * 8, 7 * 8};
  uint32_t count = 0;
  if (!ReadBits(&r, 8, &count)) {
    check->fault = kVorbisSetupCut;
    return -1;
  }
  for (uint32_t i = 0; i <= count; ++i) {
    check->codebook = static_cast<int>(i);
    check->fault = ReadCodebook(&r);
    if (check->fault != kVorbisSetupSound) return -1;
  }
  check->codebook = -1;
  return 0;
}

const char* VorbisSetupFaultName(VorbisSetupFault fault) {
  switch (fault) {
    case kVorbisSetupSound: return "sound";
    case kVorbisSetupNotSetup: return "not a setup header";
    case kVorbisSetupCut: return "codebook cut short";
    case kVorbisSetupSync: return "codebook sync";
    case kVorbisSetupDimension: return "codebook dimension 0";
    case kVorbisSetupLengths: return "codeword lengths";
    case kVorbisSetupLookup: return "codebook lookup type";
  }
  return "?";
}

}  // namespace qor
