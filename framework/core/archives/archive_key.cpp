#include "framework/core/archives/archive_key.h"

#include <cstring>

namespace qor {

namespace {

// The fixed bytes of the key making. They are a property of the archive
// files this program reads and writes, chosen once here.
constexpr uint8_t kNoKeyFill = 0xA7;
constexpr uint8_t kFallbackKeyByte = 0x3C;
constexpr uint8_t kTransformXor[5] = {0x6B, 0xD2, 0x91, 0x4E, 0x1F};

uint8_t SwapNibbles(uint8_t b) { return static_cast<uint8_t>((b << 4) | (b >> 4)); }
uint8_t RotateRight3(uint8_t b) { return static_cast<uint8_t>((b >> 3) | (b << 5)); }
uint8_t RotateLeft3(uint8_t b) { return static_cast<uint8_t>((b << 3) | (b >> 5)); }

}  // namespace

void ExpandArchiveKey(const char* keyString, uint8_t key[kArchiveKeyBytes]) {
  const size_t length = keyString == nullptr ? 0 : std::strlen(keyString);
  if (length == 0) {
    // An empty string has nothing to repeat: it counts as no key.
    std::memset(key, kNoKeyFill, kArchiveKeyBytes);
  } else {
    for (int i = 0; i < kArchiveKeyBytes; ++i) key[i] = static_cast<uint8_t>(keyString[static_cast<size_t>(i) % length]);
  }
  key[0] = static_cast<uint8_t>(~key[0]);
  key[1] = SwapNibbles(key[1]);
  key[2] ^= kTransformXor[0];
  key[3] = static_cast<uint8_t>(~SwapNibbles(key[3]));
  key[4] = static_cast<uint8_t>(~key[4]);
  key[5] ^= kTransformXor[1];
  key[6] = static_cast<uint8_t>(~key[6]);
  key[7] = static_cast<uint8_t>(~RotateRight3(key[7]));
  key[8] = RotateLeft3(key[8]);
  key[9] ^= kTransformXor[2];
  key[10] = static_cast<uint8_t>(SwapNibbles(key[10]) ^ kTransformXor[3]);
  key[11] ^= kTransformXor[4];
}

void MakeFallbackArchiveKey(uint8_t key[kArchiveKeyBytes]) { std::memset(key, kFallbackKeyByte, kArchiveKeyBytes); }

void ScrambleArchiveBytes(void* data, size_t count, uint64_t fileOffset, const uint8_t key[kArchiveKeyBytes]) {
  uint8_t* p = static_cast<uint8_t*>(data);
  size_t k = static_cast<size_t>(fileOffset % kArchiveKeyBytes);
  size_t i = 0;
  // Up to the next key start byte by byte, then whole 12-byte groups.
  for (; i < count && k != 0; ++i) {
    p[i] ^= key[k];
    k = (k + 1) % kArchiveKeyBytes;
  }
  uint64_t words[3];  // two keys back to back: 24 bytes
  uint8_t doubled[kArchiveKeyBytes * 2];
  std::memcpy(doubled, key, kArchiveKeyBytes);
  std::memcpy(doubled + kArchiveKeyBytes, key, kArchiveKeyBytes);
  std::memcpy(words, doubled, sizeof words);
  for (; i + 24 <= count; i += 24) {
    uint64_t chunk[3];
    std::memcpy(chunk, p + i, 24);
    chunk[0] ^= words[0];
    chunk[1] ^= words[1];
    chunk[2] ^= words[2];
    std::memcpy(p + i, chunk, 24);
  }
  for (k = 0; i < count; ++i) {
    p[i] ^= key[k];
    k = (k + 1) % kArchiveKeyBytes;
  }
}

}  // namespace qor
