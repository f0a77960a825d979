#include <cstring>

#include "framework/core/archives/archive_format.h"
#include "framework/core/archives/lz_codec.h"

namespace qor {

namespace {

constexpr uint32_t kMinMatch = 4;
constexpr uint32_t kMaxMatch = 8191 + kMinMatch;
constexpr size_t kMaxDistance = size_t{1} << 24;
constexpr int kHashBits = 16;
constexpr int kChainDepth = 48;

uint32_t Hash4(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return (v * 2654435761u) >> (32 - kHashBits);
}

// Bytes a copy code takes: escape, code byte, optional length byte, 1-3
// distance bytes.
uint32_t CopyCost(uint32_t length, size_t distance) {
  const size_t field = distance - 1;
  const uint32_t fieldBytes = field < 0x100 ? 1 : field < 0x10000 ? 2 : 3;
  return 2 + (length - kMinMatch > 31 ? 1 : 0) + fieldBytes;
}

void EmitCopy(std::vector<uint8_t>* out, uint8_t escape, uint32_t length, size_t distance) {
  const uint32_t l = length - kMinMatch;
  const size_t field = distance - 1;
  const uint32_t kind = field < 0x100 ? 0 : field < 0x10000 ? 1 : 2;
  uint32_t c = ((l & 31) << 3) | kind | (l > 31 ? 4 : 0);
  // The code byte may not read as the escape: values from the escape up
  // are stored one higher (the largest code, 254, still fits).
  if (c >= escape) c += 1;
  out->push_back(escape);
  out->push_back(static_cast<uint8_t>(c));
  if (l > 31) out->push_back(static_cast<uint8_t>(l >> 5));
  for (uint32_t i = 0; i <= kind; ++i) out->push_back(static_cast<uint8_t>(field >> (8 * i)));
}

}  // namespace

int CompressLz(const uint8_t* data, size_t length, std::vector<uint8_t>* out) {
  if (length > 0xFFFFFFFFu - 64) return -1;
  // The rarest byte is the escape, so literal escapes cost least.
  size_t counts[256] = {};
  for (size_t i = 0; i < length; ++i) ++counts[data[i]];
  uint8_t escape = 0;
  for (int b = 1; b < 256; ++b) {
    if (counts[b] < counts[escape]) escape = static_cast<uint8_t>(b);
  }
  out->assign(kLzHeaderBytes, 0);
  out->reserve(length / 2 + 64);

  std::vector<int64_t> head(size_t{1} << kHashBits, -1);
  std::vector<int64_t> previous(length, -1);
  auto insert = [&](size_t at) {
    if (at + kMinMatch > length) return;
    const uint32_t h = Hash4(data + at);
    previous[at] = head[h];
    head[h] = static_cast<int64_t>(at);
  };

  size_t at = 0;
  while (at < length) {
    uint32_t bestLength = 0;
    size_t bestDistance = 0;
    if (at + kMinMatch <= length) {
      const size_t limit = length - at < kMaxMatch ? length - at : kMaxMatch;
      int64_t candidate = head[Hash4(data + at)];
      for (int depth = 0; candidate >= 0 && depth < kChainDepth; ++depth) {
        const size_t distance = at - static_cast<size_t>(candidate);
        if (distance > kMaxDistance) break;
        const uint8_t* a = data + candidate;
        const uint8_t* b = data + at;
        uint32_t n = 0;
        while (n < limit && a[n] == b[n]) ++n;
        if (n > bestLength) {
          bestLength = n;
          bestDistance = distance;
          if (n == limit) break;
        }
        candidate = previous[static_cast<size_t>(candidate)];
      }
    }
    if (bestLength >= kMinMatch && CopyCost(bestLength, bestDistance) < bestLength) {
      EmitCopy(out, escape, bestLength, bestDistance);
      for (uint32_t i = 0; i < bestLength; ++i) insert(at + i);
      at += bestLength;
    } else {
      out->push_back(data[at]);
      if (data[at] == escape) out->push_back(escape);
      insert(at);
      ++at;
    }
  }
  if (out->size() > 0xFFFFFFFFu) return -1;
  WriteLe32(out->data(), static_cast<uint32_t>(length));
  WriteLe32(out->data() + 4, static_cast<uint32_t>(out->size()));
  (*out)[8] = escape;
  return 0;
}

}  // namespace qor
