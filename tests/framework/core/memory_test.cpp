#include "framework/core/memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "core_test_support.h"
#include "framework/core/log.h"

using namespace qor;
using coretest::ScratchDir;

namespace {

uint8_t* HeaderBytes(void* block) { return static_cast<uint8_t*>(block) - sizeof(MemBlockHeader); }

std::string Addr(const void* p) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%08llx", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(p)));
  return buf;
}

// The log written so far, without stamps; the log starts without them.
struct LoggedDir : ScratchDir {
  LoggedDir() {
    OpenLogFile();
    GetLogState().noTimeStamp = 1;
  }
  std::string Log() const { return Read("Log.txt"); }
};

}  // namespace

TEST(Allocator, CountsLinksAndDumpsNewestFirst) {
  LoggedDir dir;
  char* a = static_cast<char*>(AllocMemory(20, "some/long/path/alloc_test.cpp", 42));
  std::memcpy(a, "Hello\x01\xff world, more than 16", 20);
  char* b = static_cast<char*>(AllocMemoryZeroed(3, nullptr, 70000));  // line keeps 16 bits
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(a) % 16, 0u);
  EXPECT_EQ(GetAllocatorState().liveCount, 2);
  EXPECT_EQ(GetAllocatorState().totalSize, 23);
  EXPECT_EQ(CheckAllocations(), 0);

  DumpAllocations();
  const std::string expect =
      "\r\nAlloc memory dump\r\n"
      "\tsize:3(0.003kb)  file:  line:4464  ID:1  addr:" + Addr(b) + "  data:<...> [00 00 00]\r\n"
      "\tsize:20(0.020kb)  file:/alloc_test.cpp  line:42  ID:0  addr:" + Addr(a) +
      "  data:<Hello.. world, m> [48 65 6c 6c 6f 01 ff 20 77 6f 72 6c 64 2c 20 6d]\r\n"
      "\tTotal size:23(0.022kb)  Alloc num:2\r\n\r\n";
  EXPECT_EQ(dir.Log(), expect);

  FreeMemory(a);  // the older one first: the newer stays the head
  FreeMemory(nullptr);
  EXPECT_EQ(CheckAllocations(), 0);
  FreeMemory(b);
  EXPECT_EQ(GetAllocatorState().liveCount, 0);
  EXPECT_EQ(GetAllocatorState().totalSize, 0);
  EXPECT_EQ(GetAllocatorState().head, &GetAllocatorState().sentinel);
}

TEST(Allocator, OverwrittenHeaderIsFoundAndNotTrusted) {
  LoggedDir dir;
  void* a = AllocMemory(8, "a", 1);
  void* b = AllocMemory(7, "b", 2);
  void* c = AllocMemory(9, "c", 3);
  // Any byte of the first half counts, the links included.
  for (size_t offset : {0u, 17u, 25u, 39u}) {
    HeaderBytes(b)[offset] ^= 0x40;
    EXPECT_EQ(CheckAllocations(), -1) << offset;
    HeaderBytes(b)[offset] ^= 0x40;
  }
  EXPECT_EQ(CheckAllocations(), 0);
  const std::string report = dir.Log();
  EXPECT_NE(report.find("以下のメモリ確保情報が破損しました\tsize:7(0.007kb)  file:b  line:2"), std::string::npos);

  // The notice and the block are one line, from the check and from a free
  // or reallocation that meets the broken header alike.
  std::memcpy(b, "bravo\x7f\x80", 7);
  const std::string line = "以下のメモリ確保情報が破損しました\tsize:7(0.007kb)  file:b  line:2  ID:1  addr:" +
                           Addr(b) + "  data:<bravo\x7f.> [62 72 61 76 6f 7f 80]\r\n";
  for (int road = 0; road < 3; ++road) {
    OpenLogFile();
    GetLogState().noTimeStamp = 1;
    HeaderBytes(b)[39] ^= 0x20;  // the copy differs; the header itself reads true
    if (road == 0) {
      EXPECT_EQ(CheckAllocations(), -1);
    } else if (road == 1) {
      FreeMemory(b);
    } else {
      EXPECT_EQ(ReallocMemory(b, 100, nullptr, 0), nullptr);
    }
    HeaderBytes(b)[39] ^= 0x20;
    EXPECT_EQ(dir.Log(), line) << road;
  }

  // Freeing, reallocating or dumping through a broken header leaves it alone.
  HeaderBytes(b)[30] ^= 0x01;
  FreeMemory(b);
  EXPECT_EQ(ReallocMemory(b, 100, nullptr, 0), nullptr);
  EXPECT_EQ(GetAllocatorState().liveCount, 3);
  DumpAllocations();
  HeaderBytes(b)[30] ^= 0x01;
  FreeMemory(b);
  FreeMemory(c);
  FreeMemory(a);
  EXPECT_EQ(GetAllocatorState().liveCount, 0);
}

TEST(Allocator, HugeSizesAreRefusedWithoutWrapping) {
  LoggedDir dir;
  void* keep = AllocMemory(4, nullptr, 0);
  std::memcpy(keep, "keep", 4);
  EXPECT_EQ(AllocMemory(SIZE_MAX, nullptr, 0), nullptr);
  EXPECT_EQ(AllocMemory(SIZE_MAX - sizeof(MemBlockHeader) + 1, nullptr, 0), nullptr);
  EXPECT_EQ(AllocMemoryZeroed(kMaxAllocSize + 1, nullptr, 0), nullptr);
  EXPECT_EQ(ReallocMemory(keep, SIZE_MAX, nullptr, 0), nullptr);
  EXPECT_EQ(std::memcmp(keep, "keep", 4), 0);  // the old block stays valid
  EXPECT_NE(dir.Log().find("Alloc memory dump"), std::string::npos);
  EXPECT_EQ(GetAllocatorState().liveCount, 1);
  FreeMemory(keep);
}

TEST(Allocator, ReallocKeepsContentsZeroesGrowthAndRelinks) {
  ScratchDir dir;
  char* none = static_cast<char*>(ReallocMemory(nullptr, 5, "r", 9));  // as AllocMemory
  ASSERT_NE(none, nullptr);
  char* older = static_cast<char*>(AllocMemory(3, nullptr, 0));
  std::memcpy(none, "abcde", 5);
  void* newer = AllocMemory(1, nullptr, 0);
  // A block in the middle of the list moves; its neighbours must follow.
  char* grown = static_cast<char*>(ReallocMemory(older, 100000, nullptr, 0));
  ASSERT_NE(grown, nullptr);
  for (int i = 3; i < 100000; ++i) ASSERT_EQ(grown[i], 0) << i;
  EXPECT_EQ(GetAllocatorState().totalSize, 5 + 100000 + 1);
  EXPECT_EQ(CheckAllocations(), 0);
  char* shrunk = static_cast<char*>(ReallocMemory(none, 2, nullptr, 0));
  EXPECT_EQ(std::memcmp(shrunk, "ab", 2), 0);
  EXPECT_EQ(GetAllocatorState().totalSize, 2 + 100000 + 1);
  FreeMemory(newer);
  FreeMemory(shrunk);
  FreeMemory(grown);
  EXPECT_EQ(GetAllocatorState().liveCount, 0);
  EXPECT_EQ(GetAllocatorState().head, &GetAllocatorState().sentinel);
}

TEST(Allocator, TraceAndTotalsSwitches) {
  LoggedDir dir;
  // The trace size starts at 0, so a 0-byte block is logged and others not.
  void* empty = AllocMemory(0, nullptr, 0);
  void* quiet = AllocMemory(5, nullptr, 0);
  EXPECT_EQ(dir.Log(), "mem alloc  \tsize:0(0.000kb)  file:  line:0  ID:0  addr:" + Addr(empty) + "  data:<> []\r\n");
  SetAllocTraceSize(-1);
  SetAllocTotalsEachCall(1);
  FreeMemory(quiet);
  const std::string log = dir.Log();
  EXPECT_NE(log.find("mem free  \tsize:5(0.005kb)"), std::string::npos);
  EXPECT_NE(log.find("\tTotal size:0(0.000kb)  Alloc num:1\r\n"), std::string::npos);
  SetAllocTraceSize(0);
  SetAllocTotalsEachCall(0);
  FreeMemory(empty);
}
