// The archive key: 12 bytes derived from the key string, XORed over every
// byte of an archive by its file offset.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qor {

constexpr int kArchiveKeyBytes = 12;

// With no key string (or an empty one): a fixed fill byte; a longer string
// than 12 bytes: its first 12; otherwise the string repeated and cut at 12.
// Then a fixed per-position transform.
void ExpandArchiveKey(const char* keyString, uint8_t key[kArchiveKeyBytes]);
// The second key tried when the header does not read with the first: 12
// copies of one fixed byte, used without the transform.
void MakeFallbackArchiveKey(uint8_t key[kArchiveKeyBytes]);
// XORs `count` bytes that sit at `fileOffset` in the archive with the key;
// the same call scrambles and descrambles.
void ScrambleArchiveBytes(void* data, size_t count, uint64_t fileOffset, const uint8_t key[kArchiveKeyBytes]);

}  // namespace qor
