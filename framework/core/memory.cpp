#include "framework/core/memory.h"

#include <cstdlib>
#include <cstring>

#include "framework/core/log.h"
#include "framework/core/string_helpers.h"

namespace qor {

namespace {

AllocatorState g_alloc = {{}, &g_alloc.sentinel, 0, 0, 0, 0, 0, 0, 0};

constexpr size_t kHalf = offsetof(MemBlockHeader, copy);

void RefreshCopy(MemBlockHeader* h) {
  if (h != nullptr) std::memcpy(h->copy, h, kHalf);
}

bool HeaderIntact(const MemBlockHeader* h) { return std::memcmp(h, h->copy, kHalf) == 0; }

void* UserPointer(MemBlockHeader* h) { return reinterpret_cast<uint8_t*>(h) + sizeof(MemBlockHeader); }

MemBlockHeader* HeaderOf(void* block) {
  return reinterpret_cast<MemBlockHeader*>(static_cast<uint8_t*>(block) - sizeof(MemBlockHeader));
}

void FillTag(MemBlockHeader* h, const char* file, int line) {
  std::memset(h->file, 0, sizeof h->file);
  if (file != nullptr) {
    const size_t length = std::strlen(file);
    const size_t keep = sizeof h->file - 1;
    std::memcpy(h->file, file + (length > keep ? length - keep : 0), length > keep ? keep : length);
  }
  h->line = static_cast<uint16_t>(line);
  h->id = g_alloc.nextId++;
}

// "\tsize:...  data:<chars> [hex]" for one block. The size field comes from
// the header, which may be the one found overwritten, so at most the smaller
// of the two recorded sizes is read from the data.
void LogAllocBlock(MemBlockHeader* h) {
  uint32_t size = h->size;
  uint32_t copied;
  std::memcpy(&copied, h->copy + offsetof(MemBlockHeader, size), sizeof copied);
  const uint32_t readable = size < copied ? size : copied;
  const int shown = static_cast<int>(readable < 16 ? readable : 16);
  const uint8_t* data = static_cast<const uint8_t*>(UserPointer(h));

  char file[sizeof h->file + 1];
  std::memcpy(file, h->file, sizeof h->file);
  file[sizeof h->file] = '\0';

  char line[512];
  int at = FormatString(line, sizeof line, "\tsize:%u(%.3fkb)  file:%s  line:%d  ID:%d  addr:%08llx  data:<", size,
                        size / 1024.0, file, static_cast<int>(h->line), static_cast<int>(h->id),
                        static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(data)));
  for (int i = 0; i < shown; ++i) line[at++] = (data[i] < 0x20 || data[i] >= 0x80) ? '.' : static_cast<char>(data[i]);
  at += FormatString(line + at, sizeof line - static_cast<size_t>(at), "> [");
  for (int i = 0; i < shown; ++i) at += FormatString(line + at, sizeof line - static_cast<size_t>(at), "%02x ", data[i]);
  if (shown > 0) --at;  // the last space becomes the closing bracket
  FormatString(line + at, sizeof line - static_cast<size_t>(at), "]\n");
  LogOutput(line);
}

void AfterCall() {
  if (g_alloc.totalsEachCall != 0) LogAllocTotals();
}

void Trace(const char* what, MemBlockHeader* h) {
  if (g_alloc.traceSize < 0 || static_cast<int64_t>(g_alloc.traceSize) == h->size || g_alloc.traceAll == 1) {
    LogOutput(what);
    LogAllocBlock(h);
  }
}

// One log line: the notice, then the block's own line.
void ReportCorrupted(MemBlockHeader* h) {
  LogOutput("以下のメモリ確保情報が破損しました");
  LogAllocBlock(h);
}

// A block whose own header was overwritten is reported and left alone: its
// links cannot be trusted for unlinking.
bool RefuseCorrupted(MemBlockHeader* h) {
  if (HeaderIntact(h)) return false;
  ReportCorrupted(h);
  return true;
}

}  // namespace

const AllocatorState& GetAllocatorState() { return g_alloc; }

void ResetAllocator() {
  std::memset(&g_alloc.sentinel, 0, sizeof g_alloc.sentinel);
  g_alloc.head = &g_alloc.sentinel;
  g_alloc.nextId = 0;
  g_alloc.totalSize = 0;
  g_alloc.liveCount = 0;
  g_alloc.traceSize = 0;
  g_alloc.traceAll = 0;
  g_alloc.totalsEachCall = 0;
  g_alloc.checkEachCall = 0;
}

void* AllocMemory(size_t size, const char* file, int line) {
  MemBlockHeader* h = nullptr;
  if (size <= kMaxAllocSize) h = static_cast<MemBlockHeader*>(std::malloc(size + sizeof(MemBlockHeader)));
  if (h == nullptr) {
    DumpAllocations();
    CheckAllocations();
    return nullptr;
  }
  FillTag(h, file, line);
  h->size = static_cast<uint32_t>(size);

  MemBlockHeader* old = g_alloc.head;
  old->prev = h;
  h->next = old;
  h->prev = nullptr;
  g_alloc.head = h;
  RefreshCopy(h);
  RefreshCopy(old);

  g_alloc.totalSize += static_cast<int64_t>(size);
  ++g_alloc.liveCount;

  Trace("mem alloc  ", h);
  AfterCall();
  if (g_alloc.checkEachCall != 0) CheckAllocations();
  return UserPointer(h);
}

void* AllocMemoryZeroed(size_t size, const char* file, int line) {
  void* block = AllocMemory(size, file, line);
  if (block != nullptr) std::memset(block, 0, size);
  return block;
}

void FreeMemory(void* block) {
  if (block == nullptr) return;
  MemBlockHeader* h = HeaderOf(block);
  if (RefuseCorrupted(h)) return;
  g_alloc.totalSize -= h->size;
  --g_alloc.liveCount;
  if (g_alloc.checkEachCall != 0) CheckAllocations();

  MemBlockHeader* next = h->next;
  MemBlockHeader* prev = h->prev;
  next->prev = prev;
  if (prev != nullptr) prev->next = next;
  if (g_alloc.head == h) g_alloc.head = next;
  RefreshCopy(next);
  RefreshCopy(prev);

  Trace("mem free  ", h);
  AfterCall();
  std::free(h);
}

void* ReallocMemory(void* block, size_t size, const char* file, int line) {
  if (block == nullptr) return AllocMemory(size, file, line);
  MemBlockHeader* h = HeaderOf(block);
  if (RefuseCorrupted(h)) return nullptr;
  const uint32_t oldSize = h->size;
  MemBlockHeader* moved = nullptr;
  if (size <= kMaxAllocSize) moved = static_cast<MemBlockHeader*>(std::realloc(h, size + sizeof(MemBlockHeader)));
  if (moved == nullptr) {
    DumpAllocations();
    return nullptr;
  }
  h = moved;
  if (size > oldSize) std::memset(static_cast<uint8_t*>(UserPointer(h)) + oldSize, 0, size - oldSize);
  FillTag(h, file, line);
  h->size = static_cast<uint32_t>(size);

  // The neighbours still point at the old address; point them here.
  h->next->prev = h;
  if (h->prev != nullptr) h->prev->next = h;
  else g_alloc.head = h;
  RefreshCopy(h);
  RefreshCopy(h->next);
  RefreshCopy(h->prev);

  g_alloc.totalSize += static_cast<int64_t>(size) - oldSize;

  Trace("mem realloc  ", h);
  AfterCall();
  if (g_alloc.checkEachCall != 0) CheckAllocations();
  return UserPointer(h);
}

int CheckAllocations() {
  for (MemBlockHeader* h = g_alloc.head; h != &g_alloc.sentinel; h = h->next) {
    if (!HeaderIntact(h)) {
      ReportCorrupted(h);
      return -1;
    }
  }
  return 0;
}

void DumpAllocations() {
  LogOutput("\n");
  LogOutput("Alloc memory dump\n");
  for (MemBlockHeader* h = g_alloc.head; h != &g_alloc.sentinel; h = h->next) {
    // An overwritten header ends the walk: its link cannot be followed.
    if (RefuseCorrupted(h)) break;
    LogAllocBlock(h);
  }
  LogAllocTotals();
  LogOutput("\n");
}

void LogAllocTotals() {
  LogPrintf("\tTotal size:%lld(%.3fkb)  Alloc num:%d", static_cast<long long>(g_alloc.totalSize),
            static_cast<double>(g_alloc.totalSize) / 1024.0, g_alloc.liveCount);
}

void SetAllocTraceSize(int size) { g_alloc.traceSize = size; }
void SetAllocTraceAll(int on) { g_alloc.traceAll = on; }
void SetAllocTotalsEachCall(int on) { g_alloc.totalsEachCall = on; }
void SetAllocCheckEachCall(int on) { g_alloc.checkEachCall = on; }

}  // namespace qor
