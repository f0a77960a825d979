#include "framework/core/ring_buffer.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <deque>
#include <vector>

#include "core_test_support.h"
#include "framework/core/memory.h"

using namespace qor;
using coretest::ScratchDir;

TEST(RingBuffer, WrapsAndGrowsKeepingOrder) {
  ScratchDir dir;
  RingBuffer ring;
  ring.data = static_cast<uint8_t*>(AllocMemory(8, nullptr, 0));
  ring.capacity = 8;
  ring.readIndex = 5;
  ring.writeIndex = 3;
  ring.stored = 6;
  for (int i = 0; i < 6; ++i) ring.data[(5 + i) % 8] = static_cast<uint8_t>('a' + i);

  uint8_t out[16] = {};
  EXPECT_EQ(ReadRingBuffer(&ring, out, 6, 1), 0);  // peek across the wrap point
  EXPECT_EQ(std::memcmp(out, "abcdef", 6), 0);
  EXPECT_EQ(ring.stored, 6);
  EXPECT_EQ(ReadRingBuffer(&ring, out, 7, 0), -1);

  EXPECT_EQ(AppendRingBuffer("0123456789", 10, &ring), 0);
  EXPECT_EQ(ring.capacity, 1016);
  EXPECT_EQ(ring.stored, 16);
  EXPECT_EQ(ReadRingBuffer(&ring, out, 16, 0), 0);
  EXPECT_EQ(std::memcmp(out, "abcdef0123456789", 16), 0);
  EXPECT_EQ(ring.stored, 0);
  EXPECT_EQ(FreeAndClear(&ring), 0);
  EXPECT_EQ(ring.data, nullptr);
  EXPECT_EQ(ring.capacity, 0);
  EXPECT_EQ(GetAllocatorState().liveCount, 0);
}

TEST(RingBuffer, FailedGrowthKeepsTheContents) {
  ScratchDir dir;
  OpenLogFile();
  RingBuffer ring;
  ASSERT_EQ(AppendRingBuffer("keep", 4, &ring), 0);
  uint8_t* before = ring.data;
  EXPECT_EQ(ReserveRingBuffer(INT_MAX - 2, &ring), -1);  // stored + n + 1,000 passes any int
  EXPECT_EQ(AppendRingBuffer("x", -1, &ring), -1);
  EXPECT_EQ(ring.data, before);
  EXPECT_EQ(ring.stored, 4);
  uint8_t out[4];
  EXPECT_EQ(ReadRingBuffer(&ring, out, 4, 0), 0);
  EXPECT_EQ(std::memcmp(out, "keep", 4), 0);
  EXPECT_NE(dir.Read("Log.txt").find("リングバッファの再確保に失敗しました(確保しようとしたサイズ 2147484649 byte)"),
            std::string::npos);
  FreeAndClear(&ring);
}

TEST(RingBuffer, AgreesWithAQueueOverManyOperations) {
  ScratchDir dir;
  RingBuffer ring;
  std::deque<uint8_t> model;
  uint32_t rng = 12345;
  auto next = [&rng](uint32_t range) {
    rng = rng * 1103515245u + 12345u;
    return (rng >> 8) % range;
  };
  uint8_t counter = 0;
  for (int step = 0; step < 4000; ++step) {
    const int n = static_cast<int>(next(700));
    if (next(2) == 0) {
      std::vector<uint8_t> bytes(static_cast<size_t>(n));
      for (uint8_t& b : bytes) b = counter++;
      ASSERT_EQ(AppendRingBuffer(bytes.data(), n, &ring), 0);
      model.insert(model.end(), bytes.begin(), bytes.end());
    } else {
      std::vector<uint8_t> out(static_cast<size_t>(n) + 1);
      const int peek = static_cast<int>(next(2));
      const int r = ReadRingBuffer(&ring, out.data(), n, peek);
      ASSERT_EQ(r, static_cast<int>(model.size()) < n ? -1 : 0);
      if (r != 0) continue;
      for (int i = 0; i < n; ++i) ASSERT_EQ(out[static_cast<size_t>(i)], model[static_cast<size_t>(i)]);
      if (!peek) model.erase(model.begin(), model.begin() + n);
    }
    ASSERT_EQ(ring.stored, static_cast<int>(model.size()));
  }
  FreeAndClear(&ring);
}
