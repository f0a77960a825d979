// Matches of every short distance and length, at the end of the output and
// before more of it: each byte must equal the one `distance` back, as if
// copied one at a time, whatever the words the decoder moves.
#include <gtest/gtest.h>

#include <vector>

#include "framework/core/archives/archive_format.h"
#include "framework/core/archives/lz_codec.h"

namespace qor {
namespace {

TEST(LzMatchCopy, OverlappingMatchesRepeatTheirSource) {
  const std::vector<uint8_t> literals = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L'};
  for (int tail : {0, 12}) {  // 12: room for the decoder to move whole words
    for (uint32_t distance = 1; distance <= literals.size(); ++distance) {
      for (uint32_t length = 4; length <= 24; ++length) {
        std::vector<uint8_t> code = literals;
        code.insert(code.end(), {0xFF, static_cast<uint8_t>((length - 4) << 3), static_cast<uint8_t>(distance - 1)});
        std::vector<uint8_t> expected = literals;
        for (uint32_t i = 0; i < length; ++i) expected.push_back(expected[expected.size() - distance]);
        for (int i = 0; i < tail; ++i) {
          code.push_back(static_cast<uint8_t>(0x60 + i));
          expected.push_back(static_cast<uint8_t>(0x60 + i));
        }
        std::vector<uint8_t> stream(kLzHeaderBytes);
        WriteLe32(stream.data(), static_cast<uint32_t>(expected.size()));
        WriteLe32(stream.data() + 4, static_cast<uint32_t>(kLzHeaderBytes + code.size()));
        stream[8] = 0xFF;
        stream.insert(stream.end(), code.begin(), code.end());
        std::vector<uint8_t> out(expected.size(), 0);
        ASSERT_EQ(DecompressLz(stream.data(), stream.size(), out.data(), out.size()),
                  static_cast<int64_t>(expected.size()));
        ASSERT_EQ(out, expected) << "distance " << distance << " length " << length << " tail " << tail;
      }
    }
  }
}

}  // namespace
}  // namespace qor
