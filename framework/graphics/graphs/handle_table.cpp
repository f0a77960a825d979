#include "framework/graphics/graphs/handle_table.h"

#include <cstring>

namespace qor {

namespace {

uint32_t RecordCheck(const void* record) {
  uint32_t check;
  std::memcpy(&check, record, sizeof check);
  return check;
}

}  // namespace

void InitHandleTable(HandleTable* table, int32_t kindTag, int32_t maximum, void** slots) {
  table->kindTag = kindTag;
  table->maximum = maximum;
  table->slots = slots;
  table->liveCount = 0;
  table->usedEnd = 0;
  table->checkCounter = 0;
  std::memset(slots, 0, sizeof(void*) * static_cast<size_t>(maximum));
}

int IsHandleTableFull(const HandleTable* table) { return table->liveCount >= table->maximum ? 1 : 0; }

int32_t AddHandleEntry(HandleTable* table, void* record) {
  if (IsHandleTableFull(table)) return -1;
  int32_t slot = table->usedEnd;
  if (slot >= table->maximum) {
    slot = 0;
    while (table->slots[slot] != nullptr) ++slot;
  }
  table->slots[slot] = record;

  uint32_t check = static_cast<uint32_t>(table->checkCounter);
  std::memcpy(record, &check, sizeof check);
  table->checkCounter = (table->checkCounter + 1) % kHandleCheckLimit;

  ++table->liveCount;
  if (slot == table->usedEnd) ++table->usedEnd;
  return table->kindTag | static_cast<int32_t>(check << 16) | slot;
}

void* LookupHandleEntry(const HandleTable* table, int32_t handle) {
  // For the kinds with 65536 slots the index test always passes, which makes
  // this the same test as their tag-only one.
  if (handle < 0) return nullptr;
  if ((handle & kHandleKindMask) != table->kindTag) return nullptr;
  int32_t slot = handle & kHandleIndexMask;
  if (slot >= table->maximum) return nullptr;
  void* record = table->slots[slot];
  if (record == nullptr) return nullptr;
  if (static_cast<int32_t>(RecordCheck(record) << 16) != (handle & kHandleCheckMask)) return nullptr;
  return record;
}

int RemoveHandleEntry(HandleTable* table, int32_t handle) {
  if (LookupHandleEntry(table, handle) == nullptr) return -1;
  int32_t slot = handle & kHandleIndexMask;
  table->slots[slot] = nullptr;
  --table->liveCount;
  if (slot == table->usedEnd - 1) {
    if (table->liveCount == 0) {
      table->usedEnd = 0;
    } else {
      while (table->usedEnd > 0 && table->slots[table->usedEnd - 1] == nullptr) --table->usedEnd;
    }
  }
  return 0;
}

int32_t HandleOfSlot(const HandleTable* table, int32_t slot) {
  if (slot < 0 || slot >= table->maximum || table->slots[slot] == nullptr) return -1;
  return table->kindTag | static_cast<int32_t>(RecordCheck(table->slots[slot]) << 16) | slot;
}

}  // namespace qor
