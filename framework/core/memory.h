// The framework's debug allocator: every block carries a header that tags it
// (source name, id, line, size) and links it into the list of live blocks,
// so that overwrites can be found and what is left can be dumped at the end.
//
// The header's first half (tag and links) is repeated in its second half;
// a difference between the two means something wrote over the header. With
// pointer-sized links the header is 80 bytes, which keeps the blocks handed
// out 16-byte aligned.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qor {

struct MemBlockHeader {
  char file[16];         // last 15 characters of the source name given, zero-terminated
  uint16_t id;           // allocation counter, wraps at 65,536
  uint16_t line;
  uint32_t size;         // bytes asked for
  MemBlockHeader* next;  // allocated before this one (older); the sentinel ends the list
  MemBlockHeader* prev;  // allocated after this one (newer); none for the newest
  uint8_t copy[40];      // bytes 0-39 again
};
static_assert(sizeof(MemBlockHeader) == 80, "header layout");
static_assert(offsetof(MemBlockHeader, copy) == 40, "mirror is the second half");

// Sizes above this are refused, so a size and its header never wrap and a
// block's size always fits the header's 32-bit field.
constexpr size_t kMaxAllocSize = 0x7FFFFFFFu - sizeof(MemBlockHeader);

struct AllocatorState {
  MemBlockHeader sentinel;   // ends every walk; the head while no block lives
  MemBlockHeader* head;      // the newest block
  uint16_t nextId;
  int64_t totalSize;
  int liveCount;
  int traceSize;             // a block of this size is logged; negative: every block
  int traceAll;
  int totalsEachCall;
  int checkEachCall;
};

const AllocatorState& GetAllocatorState();
// Back to the load state: empty list, counters and switches 0. Blocks still
// alive are forgotten, not freed: they must not be passed to FreeMemory or
// ReallocMemory afterwards (their links point into the old list). Tests free
// their blocks before resetting.
void ResetAllocator();

// Null when the size is refused or memory runs out (the live blocks are then
// dumped and checked).
void* AllocMemory(size_t size, const char* file, int line);
void* AllocMemoryZeroed(size_t size, const char* file, int line);
// No block: as AllocMemory. Bytes beyond the old size are zero. On failure
// the old block stays valid and null is returned.
void* ReallocMemory(void* block, size_t size, const char* file, int line);
void FreeMemory(void* block);

// 0, or -1 (with a log line) at the first block whose header was overwritten.
int CheckAllocations();
// Logs every live block from the newest to the oldest, then the totals.
void DumpAllocations();
// Logs the total size and count of the live blocks.
void LogAllocTotals();

// The trace and check switches; nothing in the program sets them.
void SetAllocTraceSize(int size);
void SetAllocTraceAll(int on);
void SetAllocTotalsEachCall(int on);
void SetAllocCheckEachCall(int on);

}  // namespace qor
