// The LZ decoder of compressed archive entries, on any bytes: the header
// decides the destination size (capped, as archives cap it by their size).
#include <cstdint>
#include <vector>

#include "framework/core/archives/lz_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int64_t claimed = qor::DecompressLz(data, size, nullptr, 0);
  if (claimed < 0 || claimed > (1 << 22)) return 0;
  std::vector<uint8_t> out(static_cast<size_t>(claimed));
  qor::DecompressLz(data, size, out.data(), out.size());
  // A destination of another length must be refused without writing past it.
  if (!out.empty()) qor::DecompressLz(data, size, out.data(), out.size() - 1);
  return 0;
}
