// The LZ code of compressed archive entries: a 9-byte header (u32
// decompressed size, u32 compressed size including the header, u8 escape
// byte), then literal bytes and escape-led copy codes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qor {

// Decodes `source` (exactly `sourceLength` bytes, header included) into
// `destination` of exactly `destinationLength` bytes. With no destination,
// checks the header and returns the decompressed size. Returns the
// decompressed size, or -1 when the header disagrees with the lengths, a
// code is cut off, a copy reaches before the start or past the end, a code
// uses distance kind 3, or the output comes out short.
int64_t DecompressLz(const uint8_t* source, size_t sourceLength, uint8_t* destination, size_t destinationLength);

// Encodes `length` bytes into `out` (header included). Returns 0, or -1 when
// the input is too large for the format's 32-bit sizes.
int CompressLz(const uint8_t* data, size_t length, std::vector<uint8_t>* out);

}  // namespace qor
